// The running program with the bundled content: script commands reach the
// game, the command line's failures have their own exit statuses, focus
// loss is harmless, F12 saves a picture, --map starts on a map file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "app/game.h"
#include "run_support.h"
#include "shared/gbk.h"
#include "shared/wdm_map.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;
fs::path TempDir(const std::string& name) { return run_support::TempDir("groundwork", name); }
int RunGame(const fs::path& dir, const std::string& args, const std::string& env = "") {
    return run_support::RunProgram(dir, args, env);
}

Json ReadDump(const fs::path& p) { return Json::parse(ReadAll(p)); }

void WriteInput(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }

TEST(GroundworkRun, TheBundledMainLuaReachesTheRunningGame) {
    auto dir = TempDir("main");
    ASSERT_EQ(RunGame(dir, "--headless --no-render --frames 30 --seed 1 --dump-state " + (dir / "s.json").string()), 0)
        << ReadAll(dir / "out.txt");
    Json s = ReadDump(dir / "s.json");
    // "屏幕信息" with the default yellow, still on screen half a second in.
    ASSERT_EQ(s["banners"].size(), 1u) << s["banners"];
    EXPECT_EQ(s["banners"][0]["text"], "欢迎来到新手村!");
    EXPECT_EQ(s["banners"][0]["colour"], 0xFFFFFF00u);
    // "系统消息": red label "[系统]" in the chat log.
    bool systemLine = false;
    for (const Json& line : s["chatLog"]) {
        if (line["label"] == "[系统]" && line["text"].get<std::string>().find("方向键移动") != std::string::npos)
            systemLine = line["labelColour"] == 0xFFFF0000u;
    }
    EXPECT_TRUE(systemLine) << s["chatLog"];
    // "装备物品" puts the broom in the weapon slot; "增加物品" fills the bag.
    EXPECT_NE(s["equipment"][10], 0);
    int bagged = 0;
    for (const Json& slot : s["bag"]) bagged += slot != 0 ? 1 : 0;
    EXPECT_EQ(bagged, 8);  // 5 + 2 + 1
    // "NPC任务更新" on NPCs 1 and 3.
    EXPECT_EQ(s["npcStates"][0]["questState"], 1);
    EXPECT_EQ(s["npcStates"][2]["questState"], 1);
    fs::remove_all(dir);
}

TEST(GroundworkRun, CommandLineFailuresHaveTheirOwnStatus) {
    auto dir = TempDir("cli");
    // A dump that cannot be written is a failed run, not a silent success.
    EXPECT_EQ(RunGame(dir, "--headless --no-render --frames 5 --dump-state " +
                               (dir / "no" / "such" / "x.json").string()),
              4);
    EXPECT_NE(ReadAll(dir / "out.txt").find("cannot write the state dump"), std::string::npos);
    EXPECT_EQ(RunGame(dir, "--headless --no-render --frames 5 --screenshot 2:" + (dir / "no" / "x.png").string()), 4);
    // A data folder that does not exist is named at start.
    EXPECT_EQ(RunGame(dir, "--headless --no-render --frames 5 --data " + (dir / "missing").string()), 2);
    EXPECT_NE(ReadAll(dir / "out.txt").find((dir / "missing").string()), std::string::npos);
    EXPECT_EQ(RunGame(dir, "--frames 0"), 2);
    EXPECT_EQ(RunGame(dir, "--version"), 0);
    EXPECT_EQ(ReadAll(dir / "out.txt").rfind("game ", 0), 0u);
    fs::remove_all(dir);
}

TEST(GroundworkRun, LosingTheFocusWhileEscIsHeldDoesNotEndTheGame) {
    auto dir = TempDir("focus");
    WriteInput(dir / "in.txt",
               "10 key down Esc\n"
               "15 focus lost\n"
               "16 key up Esc\n"   // the release arrives after the focus went
               "20 focus gained\n");
    ASSERT_EQ(RunGame(dir, "--headless --no-render --frames 40 --seed 1 --input " + (dir / "in.txt").string() +
                               " --dump-state " + (dir / "s.json").string()),
              0)
        << ReadAll(dir / "out.txt");
    Json s = ReadDump(dir / "s.json");
    EXPECT_EQ(s["frame"], 40);  // Esc released only by the focus loss: the game went on
    EXPECT_EQ(s["logicActive"], 1);
    fs::remove_all(dir);
}

TEST(GroundworkRun, TheUnfocusedPlayerDoesNotWalk) {
    auto dir = TempDir("unfocused");
    WriteInput(dir / "in.txt",
               "10 focus lost\n"
               "11 key down Right\n"
               "60 key up Right\n");
    ASSERT_EQ(RunGame(dir, "--headless --no-render --frames 70 --seed 1 --input " + (dir / "in.txt").string() +
                               " --dump-state " + (dir / "s.json").string()),
              0);
    Json unfocused = ReadDump(dir / "s.json");
    EXPECT_EQ(unfocused["logicActive"], 0);
    WriteInput(dir / "in.txt", "11 key down Right\n60 key up Right\n");
    ASSERT_EQ(RunGame(dir, "--headless --no-render --frames 70 --seed 1 --input " + (dir / "in.txt").string() +
                               " --dump-state " + (dir / "s.json").string()),
              0);
    Json focused = ReadDump(dir / "s.json");
    EXPECT_GT(focused["player"]["x"].get<double>(), unfocused["player"]["x"].get<double>() + 50);
    fs::remove_all(dir);
}

TEST(GroundworkRun, F12SavesAPictureIntoTheUsersPicturesFolder) {
    auto dir = TempDir("f12");
    fs::create_directories(dir / "cfg");
    std::ofstream(dir / "cfg" / "user-dirs.dirs") << "# written by a test\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    WriteInput(dir / "in.txt", "20 key down F12\n21 key up F12\n");
    const std::string env = "HOME=" + dir.string() + " XDG_CONFIG_HOME=" + (dir / "cfg").string();
    ASSERT_EQ(RunGame(dir,
                      "--headless --frames 30 --seed 1 --input " + (dir / "in.txt").string() + " --dump-state " +
                          (dir / "s.json").string(),
                      env),
              0)
        << ReadAll(dir / "out.txt");
    std::vector<fs::path> pictures;
    for (const auto& e : fs::directory_iterator(dir / "Bilder")) pictures.push_back(e.path());
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].extension(), ".png");
    EXPECT_GT(fs::file_size(pictures[0]), 1000u);
    Json s = ReadDump(dir / "s.json");
    bool said = false;
    for (const Json& line : s["chatLog"])
        said = said || line["text"].get<std::string>().find(pictures[0].filename().string()) != std::string::npos;
    EXPECT_TRUE(said) << s["chatLog"];
    fs::remove_all(dir);
}

TEST(GroundworkRun, MapOptionStartsOnThatFilesStartGround) {
    auto dir = TempDir("map");
    wdm::MapData map;
    map.header.width = 1200;
    map.header.height = 600;
    map.header.startGround = 2;
    map.header.startOffset = 100;
    map.squares.push_back({0, 550, 1200, 50, 0});
    map.squares.push_back({400, 300, 300, 40, 0});
    ASSERT_TRUE(wdm::WriteMap((dir / "试玩.Wdm").string(), map).ok);
    ASSERT_EQ(RunGame(dir, "--headless --no-render --frames 20 --seed 1 --map " + (dir / "试玩.Wdm").string() +
                               " --dump-state " + (dir / "s.json").string()),
              0)
        << ReadAll(dir / "out.txt");
    Json s = ReadDump(dir / "s.json");
    EXPECT_EQ(s["map"]["name"], "试玩.Wdm");
    EXPECT_EQ(s["player"]["currentGround"], 2);
    EXPECT_DOUBLE_EQ(s["player"]["y"].get<double>() + s["player"]["height"].get<double>(), 300 + 2);
    EXPECT_EQ(RunGame(dir, "--headless --no-render --frames 5 --map " + (dir / "nothing.Wdm").string()), 2);
    fs::remove_all(dir);
}

}  // namespace
