// Whole headless runs: scripted input walks the player into a touch link
// and the state dump names the map it led to; a tour of the bundled town.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "world_fixture.h"
#include "test_dirs.h"

namespace {

TEST(WorldRun, WalkingThroughALinkEndsOnTheOtherMap) {
    auto data = world_test::TempDataDir("run");
    wdm::MapData first = world_test::SimpleMap(800, 600);
    first.events.push_back(world_test::LinkEvent(200, 420, 200, 100, {2, 2, 30, true, 1}));
    ASSERT_TRUE(wdm::WriteMap(world_test::MapPath(data, "新手村1.Wdm").string(), first).ok);
    wdm::MapData second = world_test::SimpleMap(1200, 600);
    second.squares.push_back({600, 300, 200, 20, 0});
    ASSERT_TRUE(wdm::WriteMap(world_test::MapPath(data, "新手村2.Wdm").string(), second).ok);
    // The map table, as the data file gives it and as rows already in place.
    std::filesystem::create_directories(data / gbk::ToUtf8(gbk::Lit("脚本")));
    std::ofstream(data / gbk::ToUtf8(gbk::Lit("脚本")) / "Map.csv", std::ios::binary)
        << gbk::Lit("初始地图(1,\"新手村1.Wdm\",\"\",0)\n初始地图(2,\"新手村2.Wdm\",\"\",0)\n");
    std::ofstream(data / "input.txt") << "10 key down Right\n150 key up Right\n";

    GameOptions o;
    o.headless = true;
    o.noRender = true;
    o.dataDir = data.string();
    o.frames = 200;
    o.seed = 5;
    o.inputFile = (data / "input.txt").string();
    o.dumpStatePath = (data / "state.json").string();
    Game game(o);
    for (const char* name : {"新手村1.Wdm", "新手村2.Wdm"}) {
        MapRow row;
        row.number = game.dataTables().maps.Count() + 1;
        row.fileName = gbk::Lit(name);
        game.dataTables().maps.Append(row);
    }
    ASSERT_EQ(game.Run(), 0);

    std::ifstream in(data / "state.json");
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string json = ss.str();
    EXPECT_NE(json.find("\"name\": \"新手村2.Wdm\""), std::string::npos) << json.substr(0, 400);
    EXPECT_NE(json.find("\"displayName\": \"风铃谷 - 新手村2\""), std::string::npos);
    // Placed on ground 2 (600..800) at offset 30, then still walking right:
    // off its end and down to the floor.
    EXPECT_EQ(game.player.facing, 2);
    EXPECT_GT(game.player.x, 800);
    EXPECT_FLOAT_EQ(game.player.y + game.player.height, 502);
    std::filesystem::remove_all(data);
}

// The bundled town on foot: west through the portal (Up) to the fields and
// back, east up the ramp (a jump onto the terrace), over the stone wall, up
// the ladder to the lookout, off the deck and into the touch link at the
// east edge. The frames follow the town's geometry at 4 pixels a frame.
TEST(WorldRun, ATourOfTheBundledTownTakesBothLinksAndTheLadder) {
    const std::filesystem::path data = test_dirs::Pack();
    if (!std::filesystem::exists(world_test::MapPath(data, "新手村1.Wdm"))) GTEST_SKIP() << "content not built";
    auto dir = world_test::TempDataDir("tour");
    std::ofstream(dir / "tour.txt") << "10 key down Left\n75 key up Left\n80 key down Up\n82 key up Up\n"
                                       "100 key down Left\n138 key up Left\n145 key down Up\n147 key up Up\n"
                                       "160 key down Right\n308 key down X\n309 key up X\n"  // the ramp's top
                                       "527 key down X\n528 key up X\n"                       // the stone wall
                                       "676 key up Right\n678 key down Up\n796 key up Up\n"  // the ladder
                                       "800 key down X\n801 key up X\n810 key down Right\n";
    GameOptions o;
    o.headless = true;
    o.noRender = true;
    o.dataDir = data.string();
    o.frames = 920;
    o.seed = 3;
    o.inputFile = (dir / "tour.txt").string();
    Game game(o);
    std::set<std::string> maps;
    float highestClimb = 1e9f;
    bool stoodOnTheDeck = false, jumped = false;
    game.trace = [&](std::string_view step) {
        if (step != "damageNumbers.update") return;
        const Player& p = game.player;
        maps.insert(gbk::ToUtf8(game.map.fileName()));
        if (p.state == PlayerMotion::kClimbing) highestClimb = std::min(highestClimb, p.y + p.height);
        stoodOnTheDeck |= p.currentGround == 8;
        jumped |= p.jumping == 1;
    };
    ASSERT_EQ(game.Run(), 0);
    EXPECT_TRUE(game.messageBoxes.empty());
    EXPECT_EQ(maps, (std::set<std::string>{"新手村1.Wdm", "新手村2.Wdm", "林间小路.Wdm"}));
    EXPECT_TRUE(jumped);
    EXPECT_LE(highestClimb, 322) << "the ladder does not reach the lookout deck (top 320)";
    EXPECT_TRUE(stoodOnTheDeck);
    EXPECT_EQ(gbk::ToUtf8(game.map.fileName()), "林间小路.Wdm");
    EXPECT_EQ(game.player.facing, 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
