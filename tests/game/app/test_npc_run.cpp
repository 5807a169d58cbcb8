// The NPC adventure through the running program: talking to the village
// head and taking his quest, the quest window, the smith's shop and a bought
// potion, and the gold-collection quest from 杂货商阿福 to the banker, who
// takes it back at exactly 10000 gold. One input file, a fixed seed, and a
// copy of the bundled data whose Main.lua hands the player 10020 gold (so
// the potion leaves exactly 10000).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "shared/gbk.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;
fs::path TempDir(const std::string& name) { return run_support::TempDir("npc", name); }
int RunGame(const fs::path& dir, const std::string& args) { return run_support::RunProgram(dir, args); }

// Frame by frame: the village head (map x 650) is clicked from the start
// place, his first choice taken and the follow-up closed; the quest panel
// button opens the quest window and its first row is selected; the player
// walks east (jumping onto the hill) to 铁匠老王, opens his shop, buys a
// 小红药水 from shop cell 1 into bag slot 9 and closes the trade window;
// walks on over the stone wall to 阿福, takes the gold quest, and walks to
// the banker, whose "?" shows, and takes his reward.
constexpr const char* kPlayThrough = R"(30 mouse 690 470
31 button left down
32 button left up
40 mouse 70 175
41 button left down
42 button left up
50 button left down
51 button left up
60 mouse 770 278
61 button left down
62 button left up
70 mouse 315 141
71 button left down
72 button left up
85 mouse 770 278
86 button left down
87 button left up
100 key down Right
105 key down X
108 key up X
135 key down X
138 key up X
165 key down X
168 key up X
195 key down X
198 key up X
225 key down X
228 key up X
255 key down X
258 key up X
285 key down X
288 key up X
315 key down X
318 key up X
343 key up Right
360 mouse 625 470
361 button left down
362 button left up
370 mouse 70 175
371 button left down
372 button left up
380 mouse 79 141
381 button left down
382 button left up
390 mouse 617 226
391 button left down
392 button left up
400 mouse 270 107
401 button left down
402 button left up
410 key down Right
505 key down X
508 key up X
560 key up Right
575 mouse 494 470
576 button left down
577 button left up
585 mouse 70 175
586 button left down
587 button left up
595 button left down
596 button left up
620 key down Right
670 key up Right
680 mouse 534 470
681 button left down
682 button left up
690 mouse 70 175
691 button left down
692 button left up
700 button left down
701 button left up
)";

TEST(NpcRun, TalkTakeAQuestBuyAPotionAndHandInTheGoldQuest) {
    auto dir = TempDir("adventure");
    const fs::path data = dir / "data";
    fs::copy(test_dirs::Pack(), data, fs::copy_options::recursive);
    {
        std::ofstream main(data / gbk::ToUtf8(gbk::Lit("脚本")) / "Main.lua", std::ios::app | std::ios::binary);
        main << "\n" << gbk::Lit("增加金币") << "(10020)\n";
    }
    std::ofstream(dir / "play.txt") << kPlayThrough;
    const std::string shots =
        " --screenshot 35:" + (dir / "dialog.png").string() + " --screenshot 80:" + (dir / "quests.png").string();
    // The dump after the village head's quest, before the walk.
    ASSERT_EQ(RunGame(dir, "--headless --no-render --frames 84 --seed 1 --data " + data.string() + " --input " +
                               (dir / "play.txt").string() + shots + " --dump-state " + (dir / "early.json").string()),
              0)
        << ReadAll(dir / "out.txt");
    Json early = Json::parse(ReadAll(dir / "early.json"));
    EXPECT_EQ(early["quests"][0], 1);
    EXPECT_EQ(early["questWindow"]["selected"], 1);
    EXPECT_EQ(early["hud"]["openWindow"], "任务窗口");
    const Json& head = early["npcs"][0];
    EXPECT_EQ(head["name"], "村长");
    EXPECT_EQ(head["questState"], 0);  // the "!" went with the quest
    EXPECT_EQ(head["variable"], 1);
    EXPECT_EQ(early["dialog"]["open"], 0);
    EXPECT_EQ(early["dialog"]["npc"], 1);
    EXPECT_EQ(early["dialog"]["prompt"], "太好了!带回 3 张野狗皮,我重重有赏。按 任务 按钮可以随时查看任务。");
    EXPECT_EQ(early["npcPictureLoads"], 5);  // the five NPCs of the village, each folder once
    for (const char* shot : {"dialog.png", "quests.png"}) EXPECT_TRUE(fs::is_regular_file(dir / shot)) << shot;

    ASSERT_EQ(RunGame(dir, "--headless --no-render --frames 710 --seed 1 --data " + data.string() + " --input " +
                               (dir / "play.txt").string() + " --screenshot 395:" + (dir / "trade.png").string() +
                               " --dump-state " + (dir / "s.json").string()),
              0)
        << ReadAll(dir / "out.txt");
    Json s = Json::parse(ReadAll(dir / "s.json"));
    EXPECT_TRUE(s["messageBoxes"].empty()) << s["messageBoxes"];
    // The shop was stocked by the smith's script and one potion bought.
    EXPECT_EQ(s["shop"][0], 17);
    EXPECT_EQ(s["bag"][8], 17);
    // The gold quest: taken from 阿福, ready at exactly 10000, handed in.
    EXPECT_EQ(s["player"]["gold"], 10000);
    EXPECT_EQ(s["quests"], Json::parse("[1,0,0,0,0,0,0,0,0,0]"));
    EXPECT_EQ(s["npcStates"][2]["questVariable"], 10000);
    EXPECT_EQ(s["npcStates"][2]["variable"], 2);
    EXPECT_EQ(s["npcStates"][4]["questState"], 0);
    EXPECT_EQ(s["bag"][9], 19);  // 太阳神水 x 3 and 双倍经验卷
    EXPECT_EQ(s["bag"][11], 19);
    EXPECT_EQ(s["bag"][12], 21);
    EXPECT_EQ(s["dialog"]["open"], 0);
    EXPECT_EQ(s["dialog"]["npcName"], "钱庄掌柜");
    EXPECT_TRUE(fs::is_regular_file(dir / "trade.png"));
    // The banker's reward plays a blessing on the player and a burst on the screen.
    bool onPlayer = false, onScreen = false;
    for (const Json& e : s["effects"]) {
        onPlayer = onPlayer || (e["name"] == "光明祈福" && e["anchorMode"] == 2);
        onScreen = onScreen || (e["name"] == "特效1" && e["anchorMode"] == 1 && e["x"] == 400.0);
    }
    EXPECT_TRUE(onPlayer) << s["effects"];
    EXPECT_TRUE(onScreen) << s["effects"];
}

TEST(NpcRun, ATypedLineShowsInTheBubbleOverThePlayerForThreeAndAHalfSeconds) {
    auto dir = TempDir("bubble");
    std::ofstream(dir / "chat.txt") << "30 key down Enter\n31 key up Enter\n35 text \"hi\"\n"
                                       "40 key down Enter\n41 key up Enter\n";
    for (int frames : {60, 41 + 212}) {
        const fs::path dump = dir / ("s" + std::to_string(frames) + ".json");
        ASSERT_EQ(RunGame(dir, "--headless --no-render --frames " + std::to_string(frames) + " --seed 1 --input " +
                                   (dir / "chat.txt").string() + " --dump-state " + dump.string()),
                  0)
            << ReadAll(dir / "out.txt");
        Json s = Json::parse(ReadAll(dump));
        if (frames == 60) {
            EXPECT_EQ(s["bubbleMessages"], Json::parse(R"(["玩家001:hi"])"));
            EXPECT_EQ(s["speechBubble"]["text"], "玩家001:hi");
            EXPECT_EQ(s["speechBubble"]["width"], 180);  // a narrow text still makes a 180 px bubble
            // Centred over the player.
            const double centre = s["speechBubble"]["x"].get<double>() + 90;
            const double player = s["player"]["x"].get<double>() + s["player"]["width"].get<double>() / 2 +
                                  s["camera"]["offsetX"].get<double>();
            EXPECT_NEAR(centre, player, 1.0);
        } else {
            EXPECT_TRUE(s["bubbleMessages"].empty()) << s["bubbleMessages"];
            EXPECT_EQ(s["speechBubble"]["text"], "");
        }
    }
}

}  // namespace
