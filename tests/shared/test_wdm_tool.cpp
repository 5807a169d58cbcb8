// wdmtool as a program: exit codes, dump of a packed text, check reports.

#include "shared/gbk.h"
#include "test_dirs.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int code = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Spit(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

class WdmTool : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                (std::string("wdmtool_test_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        const char* d = std::getenv("LUMO_TEST_DATA");
        ASSERT_NE(d, nullptr);
        m_data = fs::path(d) / "wdm";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    ToolRun Tool(const std::string& args) {
        const fs::path out = m_dir / "stdout", err = m_dir / "stderr";
        const std::string command = "\"" + test_dirs::Bin() + "/wdmtool\" " + args + " >\"" + out.string() +
                                    "\" 2>\"" + err.string() + "\"";
        const int status = std::system(command.c_str());
        ToolRun r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = Slurp(out);
        r.err = Slurp(err);
        return r;
    }
    std::string Q(const fs::path& p) { return "\"" + p.string() + "\""; }

    fs::path m_dir, m_data;
};

TEST_F(WdmTool, HelpForEveryCommand) {
    for (const char* args : {"--help", "dump --help", "pack --help", "check --help"}) {
        ToolRun r = Tool(args);
        EXPECT_EQ(r.code, 0) << args;
        EXPECT_NE(r.out.find("Usage: wdmtool"), std::string::npos) << args;
    }
    EXPECT_NE(Tool("--help").out.find("sprite layer="), std::string::npos);
    EXPECT_NE(Tool("pack --help").out.find("link "), std::string::npos);
}

TEST_F(WdmTool, DumpOfPackedTextReproducesIt) {
    const fs::path map = m_dir / "map.Wdm";
    ToolRun pack = Tool("pack " + Q(m_data / "hand_made.expected.txt") + " " + Q(map));
    ASSERT_EQ(pack.code, 0) << pack.err;
    ToolRun dump = Tool("dump " + Q(map));
    ASSERT_EQ(dump.code, 0) << dump.err;
    EXPECT_EQ(dump.out, Slurp(m_data / "hand_made.expected.txt"));
    // The hand-made source packs to the same file.
    ASSERT_EQ(Tool("pack " + Q(m_data / "hand_made.txt") + " " + Q(m_dir / "second.Wdm")).code, 0);
    EXPECT_EQ(Slurp(m_dir / "second.Wdm"), Slurp(map));
}

TEST_F(WdmTool, ExitCodes) {
    ToolRun missing = Tool("dump " + Q(m_dir / "missing.Wdm"));
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("missing.Wdm"), std::string::npos) << missing.err;

    ToolRun notMap = Tool("dump " + Q(m_data / "hand_made.txt"));
    EXPECT_EQ(notMap.code, 2);
    EXPECT_NE(notMap.err.find("hand_made.txt"), std::string::npos);
    EXPECT_NE(notMap.err.find("check value"), std::string::npos);

    EXPECT_EQ(Tool("").code, 2);
    EXPECT_EQ(Tool("frobnicate").code, 2);
    EXPECT_EQ(Tool("dump").code, 2);
    EXPECT_EQ(Tool("pack only-one.txt").code, 2);
    EXPECT_EQ(Tool("check " + Q(m_data / "hand_made.txt") + " --data").code, 2);

    ToolRun badText = Tool("pack " + Q(m_data / "broken" / "unknown_key.txt") + " " + Q(m_dir / "x.Wdm"));
    EXPECT_EQ(badText.code, 2);
    EXPECT_NE(badText.err.find("unknown_key.txt:3:"), std::string::npos) << badText.err;
    EXPECT_FALSE(fs::exists(m_dir / "x.Wdm"));

    // A text the file format cannot carry: refused, the old file stays.
    const fs::path out = m_dir / "keep.Wdm";
    ASSERT_EQ(Tool("pack " + Q(m_data / "hand_made.txt") + " " + Q(out)).code, 0);
    const std::string before = Slurp(out);
    Spit(m_dir / "bar.txt", "sprite layer=0 left=0 top=0 width=5 height=5 picture=\"\\a|b.png\"\n");
    ToolRun refused = Tool("pack " + Q(m_dir / "bar.txt") + " " + Q(out));
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("sprite 1 of section 1"), std::string::npos) << refused.err;
    EXPECT_EQ(Slurp(out), before);
}

TEST_F(WdmTool, CheckReportsEveryProblem) {
    const fs::path data = m_dir / "data";
    Spit(data / "map" / "bg.png", "png");
    Spit(data / "map" / "有.png", "png");
    fs::create_directories(data / "地图");
    Spit(m_dir / "a.txt", "header startGround=2\nsquare left=0 top=500 width=800 height=40\nsquare left=0 top=300 width=80 height=40\n");
    Spit(m_dir / "b.txt", "square left=0 top=500 width=800 height=40\n");
    ASSERT_EQ(Tool("pack " + Q(m_dir / "a.txt") + " " + Q(data / "地图" / "a.Wdm")).code, 0);
    ASSERT_EQ(Tool("pack " + Q(m_dir / "b.txt") + " " + Q(data / "地图" / "b.Wdm")).code, 0);
    Spit(m_dir / "Map.csv", gbk::FromUtf8("-- 初始地图(99,\"commented.Wdm\",\"x\",0)\n"
                                          "初始地图(1,\"a.Wdm\",\"甲\",0)\n"
                                          "初始地图( 2, 'b.Wdm' ,\"乙\",,,,)\n"));
    Spit(m_dir / "bad.txt",
         "header startGround=1 townGround=5 background=\"\\data\\map\\bg.png\"\n"
         "sprite layer=0 left=0 top=0 width=10 height=10 picture=\"\\data\\map\\有.png\"\n"
         "sprite layer=0 left=0 top=0 width=10 height=10 picture=\"\\data\\map\\无.png\"\n"
         "square left=0 top=500 width=800 height=40\n"
         "square left=0 top=400 width=100 height=5\n"
         "npc left=0 top=0 width=20 height=20 id=1 ground=2 offset=0\n"
         "monster left=0 top=0 width=20 height=20 id=1 ground=1 offset=0\n"
         "link left=0 top=0 width=20 height=20 map=2 ground=3\n"
         "link left=0 top=0 width=20 height=20 map=-7\n"
         "link left=0 top=0 width=20 height=20 map=1 ground=2\n"
         "event left=0 top=0 width=20 height=20 kind=3 detail=\"5\"\n");
    ToolRun r = Tool("check " + Q(m_dir / "bad.txt") + " --data " + Q(data) + " --maps " + Q(m_dir / "Map.csv"));
    EXPECT_EQ(r.code, 1) << r.err;
    const char* expected[] = {
        "header townGround 5: no such square (the map has 1 squares)",
        "event 1 (NPC): ground 2: no such square",
        "event 3 (link) target map 2: ground 3: no such square on b.Wdm",
        "event 4 (link) target map 7: not in the map table (2 rows)",
        "event 6 (link): target map 0 leads nowhere",
        "sprite 2 of section 1: picture \\data\\map\\无.png not found",
        "square 2 (100x5) is under 10 pixels and is dropped when saved",
    };
    for (const char* line : expected) EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    std::istringstream lines(r.out);
    int count = 0;
    for (std::string l; std::getline(lines, l);) {
        ++count;
        EXPECT_EQ(l.rfind((m_dir / "bad.txt").string() + ": ", 0), 0u) << l;
    }
    EXPECT_EQ(count, 7) << r.out;

    // Without --maps and --data only the map's own numbers and boxes count.
    EXPECT_EQ(Tool("check " + Q(data / "地图" / "a.Wdm")).code, 0);
    ToolRun noFile = Tool("check " + Q(m_dir / "nope.Wdm"));
    EXPECT_EQ(noFile.code, 2);
    EXPECT_EQ(Tool("check " + Q(data / "地图" / "a.Wdm") + " --maps " + Q(m_dir / "nope.csv")).code, 2);
}

}  // namespace
