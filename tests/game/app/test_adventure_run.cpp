// The first adventure played from a new game by one input file: the village
// head's quest taken, three stray dogs beaten on the fields, their skins
// picked up, the quest handed in for its reward, and a potion bought from
// the smith. The bundled content pack, unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;

// The frames pictured (the dialog, the quest window, the fight, the reward,
// the trade), each saved as "<frame>.png".
constexpr const char* kShots[] = {"35", "62", "500", "1702", "2045"};
std::string ShotName(const char* frame) { return std::string(frame) + ".png"; }

int CountLines(const Json& s, const std::string& text) {
    return static_cast<int>(std::count_if(s["chatLog"].begin(), s["chatLog"].end(),
                                          [&](const Json& line) { return line["text"] == text; }));
}

TEST(AdventureRun, TheVillageHeadsQuestFromStartToRewardAndAPotionBought) {
    const char* testData = std::getenv("LUMO_TEST_DATA");
    ASSERT_NE(testData, nullptr);
    const fs::path input = fs::path(testData) / "game" / "adventure.txt";
    ASSERT_TRUE(fs::is_regular_file(input));
    const fs::path dir = run_support::TempDir("adventure", "village_head");
    const fs::path logicOnly = dir / "logic_only";
    fs::create_directories(logicOnly);
    // Drawn, then logic-only (drawing only the screenshot frames).
    for (const fs::path& d : {dir, logicOnly}) {
        std::string args = d == dir ? "--headless" : "--headless --no-render";
        args += " --frames 2080 --seed 1 --data " + test_dirs::Pack() + " --input " +
                input.string() + " --dump-state " + (d / "s.json").string();
        for (const char* f : kShots) args += " --screenshot " + std::string(f) + ":" + (d / ShotName(f)).string();
        ASSERT_EQ(run_support::RunProgram(d, args), 0) << ReadAll(d / "out.txt");
    }
    // The logic-only run ends in the same state, and its screenshot frames
    // are drawn whole.
    EXPECT_EQ(ReadAll(logicOnly / "s.json"), ReadAll(dir / "s.json"));
    for (const char* f : kShots) EXPECT_TRUE(ReadAll(logicOnly / ShotName(f)) == ReadAll(dir / ShotName(f))) << f;
    const Json s = Json::parse(ReadAll(dir / "s.json"));

    // Three dogs beaten (20 experience each) and their skins carried home.
    EXPECT_EQ(CountLines(s, "获得经验 +20"), 3) << s["chatLog"];
    EXPECT_EQ(CountLines(s, "失去 野狗皮 x 3"), 1);
    // The quest is finished: gone from the log, the head's progress 2, the
    // hunter's "!" lit by the head's script and the level-up.
    EXPECT_EQ(s["quests"], Json::parse("[0,0,0,0,0,0,0,0,0,0]"));
    EXPECT_EQ(s["npcStates"][0]["variable"], 2);
    EXPECT_EQ(s["npcStates"][3]["questState"], 1);
    // The reward: 60 + 200 experience makes level 2 with 60 over; 16 gold
    // picked up + 100, less the 20 of the potion.
    EXPECT_EQ(CountLines(s, "获得经验 +200"), 1);
    EXPECT_EQ(CountLines(s, "获得金币 +100"), 1);
    EXPECT_EQ(s["player"]["level"], 2);
    EXPECT_EQ(s["player"]["experience"], 60);
    EXPECT_EQ(s["player"]["gold"], 96);
    EXPECT_GT(s["player"]["hp"].get<double>(), 0);
    // The bought potion in bag slot 9, no skin left.
    EXPECT_EQ(s["bag"][8], 17);
    EXPECT_EQ(std::count(s["bag"].begin(), s["bag"].end(), Json(15)), 0);
    EXPECT_EQ(s["map"]["name"], "新手村1.Wdm");
    EXPECT_EQ(s["dialog"]["open"], 0);
    EXPECT_EQ(s["interface"]["openWindow"], "");
    for (const char* f : kShots) EXPECT_GT(ReadAll(dir / ShotName(f)).size(), 1000u) << f;
}

}  // namespace
