// Whole runs of the game on the headless engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "app/game.h"
#include "shared/gbk.h"
#include "shared/wdm_map.h"
#include "test_dirs.h"

namespace {

// A game without its first map ends at start-up, so every data folder gets
// one: a single square across an 800 x 600 map.
void WriteFirstMap(const std::filesystem::path& data) {
    wdm::MapData map;
    map.header.startGround = 1;
    map.squares.push_back({0, 500, 800, 100, 0});
    auto maps = data / gbk::ToUtf8(gbk::Lit("地图"));
    std::filesystem::create_directories(maps);
    wdm::WriteMap((maps / gbk::ToUtf8(gbk::Lit("新手村1.Wdm"))).string(), map);
}

std::filesystem::path TempDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() /
               ("lumo_game_" + name + "_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    WriteFirstMap(dir);
    return dir;
}

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct TextDraw {
    long frame;
    int phase;
    float x, y;
    std::string text;
};

// Runs a game and records every text it draws, with the frame it was drawn in.
struct RecordedRun {
    Game game;
    std::vector<TextDraw> texts;
    bool listening = false;

    explicit RecordedRun(GameOptions o) : game(std::move(o)) {
        game.trace = [this](std::string_view) {
            if (!listening) {
                listening = true;
                game.engine.SetDrawListener(&RecordedRun::OnDraw, this);
            }
        };
    }
    static void OnDraw(void* user, const LumoDrawRecord* r) {
        auto* self = static_cast<RecordedRun*>(user);
        if (r->kind == LUMO_DRAW_TEXT && r->text)
            self->texts.push_back({self->game.frameCount, self->game.phase, r->x, r->y, r->text});
    }
};

GameOptions Headless(const std::filesystem::path& data, long frames) {
    GameOptions o;
    o.headless = true;
    o.dataDir = data.string();
    o.frames = frames;
    o.seed = 1;
    return o;
}

TEST(GameRun, LoadingMessagesAreCentredAndShownInOrder) {
    auto data = TempDir("empty");
    RecordedRun run(Headless(data, 8));
    float expectedX = -1;
    run.game.trace = [&](std::string_view step) {
        if (!run.listening) {
            run.listening = true;
            run.game.engine.SetDrawListener(&RecordedRun::OnDraw, &run);
        }
        if (step == "loader.draw" && run.game.frameCount == 1) {
            const std::string& m = run.game.loader.message();
            expectedX = (static_cast<float>(run.game.engine.Width()) - run.game.fonts.loading.TextWidth(m)) / 2;
        }
    };
    ASSERT_EQ(run.game.Run(), 0);
    EXPECT_EQ(run.game.phase, kPhasePlaying);

    std::vector<std::string> loading;
    for (const TextDraw& t : run.texts) {
        if (t.phase != kPhaseLoading) continue;
        EXPECT_FLOAT_EQ(t.y, 300) << gbk::ToUtf8(t.text);
        if (loading.empty() || loading.back() != t.text) loading.push_back(t.text);
    }
    ASSERT_FALSE(run.texts.empty());
    EXPECT_EQ(run.texts.front().frame, 1);
    EXPECT_EQ(run.texts.front().text, gbk::Lit("加载Loading资源..."));
    EXPECT_GT(expectedX, 0);
    EXPECT_FLOAT_EQ(run.texts.front().x, expectedX);
    const std::vector<std::string> expected = {gbk::Lit("加载Loading资源..."), gbk::Lit(" 创建游戏字体.."),
                                               gbk::Lit("创建游戏界面...."), gbk::Lit("创建游戏角色..."),
                                               gbk::Lit("正在载入音效...")};
    EXPECT_EQ(loading, expected);
    std::filesystem::remove_all(data);
}

TEST(GameRun, EscReleasedDuringLoadingEndsBeforeTheNextStage) {
    auto data = TempDir("esc");
    Game game(Headless(data, 50));
    game.scriptedInput = ParseInputScript("1 key down Esc\n2 key up Esc\n", "esc").events;
    ASSERT_EQ(game.Run(), 0);
    EXPECT_EQ(game.frameCount, 2);
    EXPECT_EQ(game.phase, kPhaseLoading);
    EXPECT_EQ(game.loader.stage(), 2);  // stage 1 ran in frame 1, stage 2 never did
    std::filesystem::remove_all(data);
}

TEST(GameRun, BrokenPicturesAndInfoFilesStillLoadAndPlay) {
    auto data = TempDir("broken");
    auto fx = data / gbk::ToUtf8(gbk::Lit("效果")) / gbk::ToUtf8(gbk::Lit("传送门"));
    auto other = data / gbk::ToUtf8(gbk::Lit("其它"));
    std::filesystem::create_directories(fx);
    std::filesystem::create_directories(other);
    std::ofstream(fx / "0.png") << "not a png";
    std::ofstream(fx / "0.png.info.txt") << "\xff\xfe,,";
    std::ofstream(fx / "1.png.info.txt") << "1,2";
    std::ofstream(other / "font1.fnt") << "garbage";
    std::ofstream(other / "指针1.png") << "";
    Game game(Headless(data, 20));
    ASSERT_EQ(game.Run(), 0);
    EXPECT_EQ(game.phase, kPhasePlaying);
    EXPECT_EQ(game.frameCount, 20);
    EXPECT_TRUE(game.effectLibrary.loaded());
    std::filesystem::remove_all(data);
}

TEST(GameRun, TheProgramRunsHeadlessAndDumpsItsState) {
    auto dir = TempDir("binary");
    auto dump = dir / "state.json";
    auto shot = dir / "first.png";
    std::string cmd = test_dirs::Bin() + "/game --headless --no-render --frames 30 --seed 7 --screenshot 1:" +
                      shot.string() + " --dump-state " + dump.string() + " > " + (dir / "out.txt").string() +
                      " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string json = ReadAll(dump);
    EXPECT_NE(json.find("\"phase\": 31"), std::string::npos) << json.substr(0, 200);
    EXPECT_NE(json.find("\"frame\": 30"), std::string::npos);
    // The welcome line, in UTF-8.
    EXPECT_NE(json.find("[\xe6\xac\xa2\xe8\xbf\x8e\xe8\xbf\x9b\xe5\x85\xa5\xe9\xa3\x8e\xe9\x93\x83\xe8\xb0\xb7]"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(shot));
    std::filesystem::remove_all(dir);
}

TEST(GameRun, BadInputFileExitsWithStatus2AndNamesTheLine) {
    auto dir = TempDir("badinput");
    std::ofstream(dir / "input.txt") << "1 key down A\n2 key sideways B\n";
    std::string out = (dir / "err.txt").string();
    std::string cmd = test_dirs::Bin() + "/game --headless --no-render --frames 5 --input " +
                      (dir / "input.txt").string() + " 2> " + out;
    int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    const std::string err = ReadAll(out);
    EXPECT_NE(err.find("input.txt:2: "), std::string::npos) << err;
    std::filesystem::remove_all(dir);
}

// The bundled town: walking left into the portal and pressing Up takes the
// player to the second village, through the real program and content.
TEST(GameRun, WalkingThroughTheTownPortalReachesTheNextMap) {
    auto dir = TempDir("portal");
    std::ofstream(dir / "walk.txt") << "10 key down Left\n75 key up Left\n80 key down Up\n82 key up Up\n";
    auto dump = dir / "state.json";
    std::string cmd = test_dirs::Bin() + "/game --headless --no-render --frames 120 --seed 3 --input " +
                      (dir / "walk.txt").string() + " --dump-state " + dump.string() + " > " +
                      (dir / "out.txt").string() + " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadAll(dir / "out.txt");
    const std::string json = ReadAll(dump);
    EXPECT_NE(json.find("\"name\": \"" + gbk::ToUtf8(gbk::Lit("新手村2.Wdm")) + "\""), std::string::npos)
        << json.substr(0, 400);
    // The bundled tables and scripts load without a single error box.
    EXPECT_NE(json.find("\"messageBoxes\": []"), std::string::npos);
    std::filesystem::remove_all(dir);
}

// A data table with a syntax error shows the script error box, and the game
// still loads the rest and plays.
TEST(GameRun, ABrokenDataTableShowsItsBoxAndTheGamePlaysOn) {
    auto dir = TempDir("brokentable");
    auto scripts = dir / gbk::ToUtf8(gbk::Lit("脚本"));
    std::filesystem::create_directories(scripts);
    std::ofstream(scripts / "Goods.csv") << gbk::Lit("初始物品(1,\"坏的\"") << "\n";
    auto dump = dir / "state.json";
    std::string cmd = test_dirs::Bin() + "/game --headless --no-render --frames 20 --data " + dir.string() +
                      " --dump-state " + dump.string() + " > " + (dir / "out.txt").string() + " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadAll(dir / "out.txt");
    const std::string json = ReadAll(dump);
    EXPECT_NE(json.find("\"phase\": 31"), std::string::npos);
    EXPECT_NE(json.find(gbk::ToUtf8(gbk::Lit("脚本错误"))), std::string::npos) << json;
    EXPECT_NE(json.find(gbk::ToUtf8(gbk::Lit("预编译时句法错误！"))), std::string::npos);
    std::filesystem::remove_all(dir);
}

// A runtime error in one data table keeps the rows before it, and every
// later table and Main.lua still run: each chunk has its own Lua thread.
TEST(GameRun, ARuntimeErrorInATableLeavesLaterScriptsRunning) {
    auto dir = TempDir("runtimeerror");
    auto scripts = dir / gbk::ToUtf8(gbk::Lit("脚本"));
    std::filesystem::create_directories(scripts);
    std::ofstream(scripts / "Goods.csv")
        << gbk::Lit("初始物品(1,\"扫把\",1,3,0,0,0,0,0,0,0,0,0,0,0,0,10,1,\"扫把\",1)\n"
                    "没有这个命令()\n"
                    "初始物品(2,\"丢失\",1,3,0,0,0,0,0,0,0,0,0,0,0,0,10,1,\"丢失\",1)\n");
    std::ofstream(scripts / "Map.csv") << gbk::Lit("初始地图(1,\"新手村1.Wdm\",\"新手村\",0)\n");
    std::ofstream(scripts / "Main.lua") << gbk::Lit("初始任务(1,\"主脚本\",\"a\",\"b\",\"c\",\"d\",0)\n");
    auto dump = dir / "state.json";
    std::string cmd = test_dirs::Bin() + "/game --headless --no-render --frames 20 --data " + dir.string() +
                      " --dump-state " + dump.string() + " > " + (dir / "out.txt").string() + " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadAll(dir / "out.txt");
    const std::string json = ReadAll(dump);
    EXPECT_NE(json.find("\"phase\": 31"), std::string::npos);
    EXPECT_NE(json.find("\"items\": 1,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"itemTemplates\": 1,"), std::string::npos);
    EXPECT_NE(json.find("\"maps\": 1,"), std::string::npos);   // the next table ran
    EXPECT_NE(json.find("\"quests\": 1,"), std::string::npos); // and so did Main.lua
    EXPECT_NE(json.find("\"pendingFunction\": \"" + gbk::ToUtf8(gbk::Lit("无")) + "\""), std::string::npos);
    EXPECT_NE(json.find(gbk::ToUtf8(gbk::Lit("运行时出错"))), std::string::npos);
    EXPECT_NE(json.find(gbk::ToUtf8(gbk::Lit("运行错误！"))), std::string::npos);
    // Exactly one box: nothing after the failing table reports the thread dead.
    EXPECT_EQ(json.find("\"caption\""), json.rfind("\"caption\""));
    std::filesystem::remove_all(dir);
}

}  // namespace
