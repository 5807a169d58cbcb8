// The running program: the player walks up to a stray dog penned on its own
// square, swings Z until it dies, and the dump shows the experience, the
// gone monster in its slot, the last-hit target and the drops on the ground;
// the drop is picked up with C where it fell; a dog walking right on an
// open field faces right.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;
fs::path TempDir(const std::string& name) { return run_support::TempDir("monster", name); }

using run_support::Shell;

// A flat map; the dog's home square is barely wider than the dog, so it
// stands where it was put.
const char* kArena =
    "header width=1200 height=600 startGround=1 startOffset=300 background=\"\\data\\map\\48.png\" "
    "floatInterval=0 townMap=1 townGround=1 facing=2\n"
    "square left=0 top=512 width=420 height=88 kind=0\n"
    "square left=420 top=512 width=72 height=88 kind=0\n"
    "square left=492 top=512 width=708 height=88 kind=0\n"
    "monster left=421 top=462 width=70 height=50 id=1 ground=2 offset=1\n";

// The arena packed into dir/arena.Wdm.
bool PackArena(const fs::path& dir) { return !run_support::PackMap(dir, "arena", kArena).empty(); }

// Walks up to the dog and swings Z every 40 frames until frame 500.
std::string SwingAtTheDog() {
    std::string input = "10 key down Right\n40 key up Right\n";
    for (int f = 50; f < 500; f += 40)
        input += std::to_string(f) + " key down Z\n" + std::to_string(f + 1) + " key up Z\n";
    return input;
}

// Plays dir/in.txt on the arena for `frames` frames with the extra options;
// the state dump goes to dir/s.json. The exit status.
int PlayArena(const fs::path& dir, int frames, const std::string& extra) {
    return Shell("SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " + test_dirs::Bin() +
                 "/game --headless --no-render --frames " + std::to_string(frames) + " --seed 1 --map " +
                 (dir / "arena.Wdm").string() + " --input " + (dir / "in.txt").string() + extra + " --dump-state " +
                 (dir / "s.json").string() + " > " + (dir / "out.txt").string() + " 2>&1");
}

TEST(MonsterRun, ZSwingsKillAStrayDogForExperienceAndDrops) {
    const fs::path dir = TempDir("fight");
    ASSERT_TRUE(PackArena(dir));
    std::ofstream(dir / "in.txt") << SwingAtTheDog();
    ASSERT_EQ(PlayArena(dir, 800, " --screenshot 100:" + (dir / "hit.png").string()), 0) << ReadAll(dir / "out.txt");
    const Json s = Json::parse(ReadAll(dir / "s.json"));
    ASSERT_EQ(s["monsters"].size(), 1u);
    const Json& dog = s["monsters"][0];
    EXPECT_EQ(dog["name"], "野狗");
    EXPECT_EQ(dog["hp"], 0);
    EXPECT_EQ(dog["gone"], 1);  // still in its slot
    EXPECT_EQ(s["player"]["experience"], 20);
    EXPECT_EQ(s["combat"]["lastHitMonster"], 1);
    // The gold line is 1/1 with a count of 5..9.
    bool gold = false;
    for (const Json& item : s["groundItems"]) {
        if (item["name"] == "金币") {
            gold = true;
            EXPECT_GE(item["count"].get<int>(), 5);
            EXPECT_LE(item["count"].get<int>(), 9);
        }
    }
    EXPECT_TRUE(gold) << s["groundItems"];
    int hits = 0;
    for (const Json& line : s["chatLog"])
        if (line["text"].get<std::string>().rfind("你对野狗造成 ", 0) == 0) ++hits;
    EXPECT_GE(hits, 2);
    EXPECT_TRUE(fs::exists(dir / "hit.png"));
}

// The fight, then C held while walking left over the drop spots and back:
// the gold reaches the purse and nothing is left on the ground, with
// pictures of the fight, the kill and the pick-up.
TEST(MonsterRun, TheKilledDogsDropIsPickedUpWithC) {
    const fs::path dir = TempDir("pickup");
    ASSERT_TRUE(PackArena(dir));
    // The drops fall within 75 pixels either side of the dog.
    std::ofstream(dir / "in.txt") << SwingAtTheDog()
                                  << "520 key down C\n520 key down Left\n560 key up Left\n561 key down Right\n"
                                     "640 key up Right\n650 key up C\n";
    ASSERT_EQ(PlayArena(dir, 700,
                        " --screenshot 100:" + (dir / "fight.png").string() + " --screenshot 525:" +
                            (dir / "kill.png").string() + " --screenshot 700:" + (dir / "picked.png").string()),
              0)
        << ReadAll(dir / "out.txt");
    const Json s = Json::parse(ReadAll(dir / "s.json"));
    ASSERT_EQ(s["monsters"].size(), 1u);
    EXPECT_EQ(s["monsters"][0]["gone"], 1);
    EXPECT_EQ(s["player"]["experience"], 20);
    EXPECT_TRUE(s["groundItems"].empty()) << s["groundItems"];
    // Seed 1 drops the gold line (5..9 coins) beside the sure skin; the purse took it all.
    const int gold = s["player"]["gold"].get<int>();
    EXPECT_GE(gold, 5);
    EXPECT_LE(gold, 9);
    bool logged = false;
    for (const Json& line : s["chatLog"])
        if (line["text"] == "获得金币 +" + std::to_string(gold)) logged = true;
    EXPECT_TRUE(logged) << s["chatLog"];
    for (const char* shot : {"fight.png", "kill.png", "picked.png"}) EXPECT_TRUE(fs::exists(dir / shot)) << shot;
}

// A dog alone on a wide field, the player far away: every sampled frame
// draws it facing the way it goes (its pictures face left; moving right
// mirrors them and drops the left-facing offset), and standing keeps the
// facing of its last move.
TEST(MonsterRun, AWalkingDogFacesTheWayItGoes) {
    const fs::path dir = TempDir("facing");
    std::ofstream(dir / "field.txt")
        << "header width=800 height=600 startGround=1 startOffset=40 background=\"\\data\\map\\48.png\" "
           "floatInterval=0 townMap=1 townGround=1 facing=2\n"
           "square left=0 top=512 width=200 height=88 kind=0\n"
           "square left=300 top=512 width=480 height=88 kind=0\n"
           "monster left=400 top=462 width=70 height=50 id=1 ground=2 offset=100\n";
    const std::string bin = test_dirs::Bin();
    ASSERT_EQ(Shell(bin + "/wdmtool pack " + (dir / "field.txt").string() + " " + (dir / "field.Wdm").string() +
                  " > /dev/null"),
              0);
    // Seeded: at these frames it walks right, stands after it, walks left,
    // and walks right again (the last run also takes two pictures).
    int right = 0, left = 0;
    for (int frames : {60, 300, 540, 780}) {
        const fs::path dump = dir / ("s" + std::to_string(frames) + ".json");
        std::string args = " --headless --no-render --frames " + std::to_string(frames) + " --seed 3 --map " +
                           (dir / "field.Wdm").string() + " --dump-state " + dump.string();
        if (frames == 780)
            args += " --screenshot 60:" + (dir / "dog-right.png").string() + " --screenshot 540:" +
                    (dir / "dog-left.png").string();
        ASSERT_EQ(Shell("SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " + bin + "/game" + args + " > " +
                      (dir / "out.txt").string() + " 2>&1"),
                  0)
            << ReadAll(dir / "out.txt");
        const Json dog = Json::parse(ReadAll(dump))["monsters"][0];
        const int facing = dog["direction"] == 2 ? dog["lastDirection"].get<int>() : dog["direction"].get<int>();
        SCOPED_TRACE("frame " + std::to_string(frames) + ": " + dog.dump());
        if (facing == 1) {
            EXPECT_EQ(dog["mirrored"], true);
            EXPECT_EQ(dog["flipOffset"], 0);
        } else {
            EXPECT_EQ(dog["mirrored"], false);
            EXPECT_EQ(dog["flipOffset"], 70);
        }
        if (dog["direction"] == 1 && dog["state"] == 2) ++right;
        if (dog["direction"] == 0 && dog["state"] == 2) ++left;
    }
    EXPECT_EQ(right, 2);
    EXPECT_EQ(left, 1);
}

TEST(MonsterRun, ATreeSpiritStrikesBackUntilThePlayerFallsAndTheDeathBoxSendsItHome) {
    const char* testData = std::getenv("LUMO_TEST_DATA");
    ASSERT_NE(testData, nullptr);
    const fs::path input = fs::path(testData) / "game" / "struck_back.txt";
    const fs::path dir = TempDir("struck_back");
    const std::string bin = test_dirs::Bin();
    auto play = [&](int frames, const std::string& extra) {
        return Shell("SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " + bin +
                     "/game --headless --no-render --seed 1 --frames " +
                     std::to_string(frames) + " --data " + bin + "/data --map " + bin +
                     "/data/地图/山顶神社.Wdm --input " + input.string() + extra + " > " + (dir / "out.txt").string() +
                     " 2>&1");
    };
    // Fallen, before the box's button is clicked.
    ASSERT_EQ(play(1150, " --screenshot 1149:" + (dir / "death_box.png").string() + " --dump-state " +
                             (dir / "dead.json").string()),
              0)
        << ReadAll(dir / "out.txt");
    const Json dead = Json::parse(ReadAll(dir / "dead.json"));
    EXPECT_EQ(dead["player"]["state"], 11);
    EXPECT_EQ(dead["player"]["hp"], 0.0);
    EXPECT_TRUE(dead["hud"]["deathBoxShown"].get<bool>());
    int struck = 0;
    for (const Json& line : dead["chatLog"]) {
        const std::string text = line["text"];
        if (text.rfind("树妖对你造成 ", 0) == 0) ++struck;
    }
    EXPECT_GE(struck, 1) << dead["chatLog"];
    // Every monster has let the fallen player be: no attack under way, no strike in the air.
    for (const Json& m : dead["monsters"]) {
        EXPECT_EQ(m["engaged"], 0) << m;
        EXPECT_EQ(m["strikeLaunched"], 0) << m;
    }
    // 确定: home to the village with 10 HP.
    ASSERT_EQ(play(1260, " --dump-state " + (dir / "home.json").string()), 0) << ReadAll(dir / "out.txt");
    const Json home = Json::parse(ReadAll(dir / "home.json"));
    EXPECT_EQ(home["map"]["name"], "新手村1.Wdm");
    EXPECT_EQ(home["player"]["state"], 1);
    EXPECT_EQ(home["player"]["hp"], 10.0);
    EXPECT_FALSE(home["hud"]["deathBoxShown"].get<bool>());
}

}  // namespace
