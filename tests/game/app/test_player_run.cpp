// The player inside the game: experience and level-ups with the level-up
// script, double experience, the script commands that change the player,
// the Z swing and the death box with revival, in a game driven by hand and
// in the running program.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "app/game.h"
#include "run_support.h"
#include "shared/gbk.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

const std::string& L(const char* utf8) { return gbk::Lit(utf8); }

// A game whose engine never started, with its Lua states and a player.
struct HandGame {
    Game game;
    HandGame() {
        game.scripts.CreateStates();
        game.player.ResetToStart();
    }
    void Run(const char* utf8Lua) { game.scripts.RunScriptText(gbk::FromUtf8(utf8Lua)); }
    // The chat texts in order, as UTF-8.
    std::vector<std::string> ChatTexts() const {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < game.chatLog.size(); ++i) texts.push_back(gbk::ToUtf8(game.chatLog.Line(i).text));
        return texts;
    }
    const ChatLine& LastLine() const { return game.chatLog.Line(game.chatLog.size() - 1); }
    std::vector<std::string> Texts(const ScreenMessages& list) const {
        std::vector<std::string> texts;
        for (const ScreenMessage& m : list.entries())
            if (!m.text.empty()) texts.push_back(gbk::ToUtf8(m.text));
        return texts;
    }
};

TEST(PlayerInGame, TheLevelUpScriptRunsBeforeTheLevelChanges) {
    HandGame h;
    h.game.scripts.SetLevelUpScript(
        gbk::FromUtf8("屏幕信息(\"等级\" .. 取主角属性(\"等级\") .. \" 经验\" .. 取主角属性(\"经验\"))"));
    h.game.player.experience = 190;
    h.game.AddExperience(10);
    EXPECT_EQ(h.Texts(h.game.hud.banners), std::vector<std::string>{"等级1 经验200"});
    EXPECT_EQ(h.game.player.level, 2);
    EXPECT_EQ(h.game.player.experience, 0);
    EXPECT_EQ(h.Texts(h.game.hud.notices), std::vector<std::string>{"[经验] + 10"});
    EXPECT_EQ(h.game.hud.notices.entries()[0].colour, 0xFFFFFF00u);
    const std::vector<std::string> chat = h.ChatTexts();
    ASSERT_EQ(chat.size(), 2u);
    EXPECT_EQ(chat[0], "获得经验 +10");
    EXPECT_EQ(chat[1], "恭喜你,升级了!");
    EXPECT_EQ(h.game.chatLog.Line(0).label, L("[系统]"));
    EXPECT_EQ(h.game.chatLog.Line(0).labelColour, 0xFFFF0000u);
    EXPECT_EQ(h.game.chatLog.Line(0).textColour, 0xFFFFFFFFu);
    EXPECT_EQ(h.game.chatLog.Line(1).textColour, 0xFFFFFF00u);

    // Below the need: messages, no script, no level.
    h.game.AddExperience(449);
    EXPECT_EQ(h.game.player.level, 2);
    EXPECT_EQ(h.Texts(h.game.hud.banners).size(), 1u);
    EXPECT_TRUE(h.game.messageBoxes.empty());
}

TEST(PlayerInGame, AFailingLevelUpScriptIsReportedAndTheLevelUpCompletes) {
    for (const char* script : {"error(\"坏了\")", "这不是 Lua (", "取主角属性 = nil 取主角属性(\"等级\")"}) {
        HandGame h;
        h.game.scripts.SetLevelUpScript(gbk::FromUtf8(script));
        h.game.AddExperience(1000);
        EXPECT_EQ(h.game.messageBoxes.size(), 1u) << script;
        EXPECT_EQ(h.game.player.level, 2) << script;
        EXPECT_EQ(h.game.player.experience, 800) << script;
        EXPECT_EQ(h.ChatTexts().back(), "恭喜你,升级了!") << script;
    }
}

TEST(PlayerInGame, DoubleExperienceShowsTheDoubledGainAndLogsTheMinutes) {
    HandGame h;
    h.game.StartDoubleExperience();
    h.game.StartDoubleExperience();
    EXPECT_FLOAT_EQ(h.game.player.doubleExpTotal, 120);
    h.game.player.UpdateDoubleExperience(15);
    h.game.StartDoubleExperience();  // 105 whole seconds left + 60
    h.game.AddExperience(15);
    const std::vector<std::string> expected = {"双倍经验一共时间为:1分钟", "双倍经验一共时间为:2分钟",
                                               "双倍经验一共时间为:2.75分钟", "获得经验 +30"};
    EXPECT_EQ(h.ChatTexts(), expected);
    EXPECT_EQ(h.Texts(h.game.hud.notices), std::vector<std::string>{"[经验] + 30"});
    EXPECT_EQ(h.game.player.experience, 30);
}

TEST(PlayerInGame, ScriptCommandsChangeThePlayerAndNeverWrap) {
    HandGame h;
    h.Run("增加金币(-50)");
    EXPECT_EQ(h.game.player.gold, -50);
    EXPECT_EQ(h.ChatTexts().back(), "金币-50");
    h.Run("增加金币(2147483000) 增加金币(1000)");
    EXPECT_EQ(h.game.player.gold, INT_MAX);
    EXPECT_EQ(h.ChatTexts().back(), "获得金币 +1000");
    h.Run("增加金币(-3000000000) 增加金币(-3000000000)");
    EXPECT_EQ(h.game.player.gold, INT_MIN);

    h.Run("增加等级(4)");
    EXPECT_EQ(h.game.player.level, 5);
    EXPECT_EQ(h.Texts(h.game.hud.banners), std::vector<std::string>{"[奖励]:等级 +4"});
    EXPECT_EQ(h.game.player.experience, 0) << "no experience and no level-up script";
    h.Run("增加等级(-40)");
    EXPECT_EQ(h.game.player.level, 1) << "the level never drops below 1";
    h.Run("增加等级(3000000000)");
    EXPECT_EQ(h.game.player.level, INT_MAX);

    HandGame e;
    e.Run("增加经验(3000000000)");
    EXPECT_EQ(e.ChatTexts().front(), "获得经验 +2147483647");
    EXPECT_EQ(e.game.player.level, 2);
    EXPECT_EQ(e.game.player.experience, INT_MAX - 200);
}

TEST(PlayerInGame, TheAttributesFollowTheEquipmentOnlyWhileAlive) {
    HandGame h;
    h.game.phase = kPhasePlaying;
    h.game.logicActive = 0;  // the attributes do not wait for the focus
    h.Run("初始物品(1,\"木剑\",2,5,0,0,0,0,0,0,3,0,0,0,0,0,10,1,\"\",11) 装备物品(\"武器\", \"木剑\")");
    h.game.scripts.BuildTemplates();
    h.Run("装备物品(\"武器\", \"木剑\")");
    h.game.FrameFunc();
    EXPECT_EQ(h.game.player.minPhysAttack, 3);
    EXPECT_EQ(h.game.player.maxPhysAttack, 6);
    EXPECT_EQ(h.game.player.strength, 3);
    EXPECT_TRUE(h.game.player.weaponEquipped);
    h.game.player.hp = 0;
    h.game.player.state = Player::kDead;
    h.game.inventory.equipment.Clear();
    h.game.FrameFunc();
    EXPECT_EQ(h.game.player.maxPhysAttack, 6) << "a dead player's values stay as they were";
    EXPECT_FALSE(h.game.player.weaponEquipped);
}

// ---- the running program

fs::path TempDir(const std::string& name) { return run_support::TempDir("player", name); }

// Output kept for a look when LUMO_KEEP_TEST_OUTPUT is set.
void Discard(const fs::path& dir) {
    if (std::getenv("LUMO_KEEP_TEST_OUTPUT") == nullptr) {
        fs::remove_all(dir);
    } else {
        std::cout << "kept " << dir << "\n";
    }
}

using run_support::ReadAll;
using run_support::RunProgram;
fs::path DataWith(const fs::path& dir, const std::string& mainLua, const std::string& levelUpLua) {
    return run_support::DataWith(dir, mainLua, levelUpLua);
}

TEST(PlayerRun, MainLuaExperienceGoldAndLevelShowInTheDump) {
    auto dir = TempDir("main");
    auto data = DataWith(dir,
                         "增加经验(250)\n"
                         "增加金币(2147483000)\n增加金币(1000)\n"
                         "增加等级(3)\n",
                         "屏幕信息(\"升级前 \" .. 取主角属性(\"等级\"))\n");
    auto dump = dir / "state.json";
    ASSERT_EQ(RunProgram(dir, "--headless --no-render --frames 20 --seed 1 --data " + data.string() + " --dump-state " +
                                  dump.string()),
              0)
        << ReadAll(dir / "out.txt");
    Json s = Json::parse(ReadAll(dump));
    const Json& p = s["player"];
    EXPECT_EQ(p["level"], 5);  // 1, the level-up to 2, then 3 more
    EXPECT_EQ(p["experience"], 50);
    EXPECT_EQ(p["gold"], 2147483647);
    EXPECT_EQ(p["name"], "玩家001");
    EXPECT_EQ(p["state"], 1);
    EXPECT_EQ(p["doubleExp"]["total"], 0.0);
    EXPECT_EQ(p["poison"]["duration"], 0.0);
    EXPECT_EQ(p["attack"]["name"], "攻击1");
    std::vector<std::string> banners;
    for (const Json& b : s["banners"]) banners.push_back(b["text"]);
    EXPECT_EQ(banners, (std::vector<std::string>{"升级前 1", "[奖励]:等级 +3"}));
    std::vector<std::string> chat;
    for (const Json& line : s["chatLog"]) chat.push_back(line["text"]);
    EXPECT_NE(std::find(chat.begin(), chat.end(), "获得经验 +250"), chat.end());
    EXPECT_NE(std::find(chat.begin(), chat.end(), "恭喜你,升级了!"), chat.end());
    EXPECT_NE(std::find(chat.begin(), chat.end(), "获得金币 +1000"), chat.end());
    // The level-up effect plays on the player.
    bool levelUpEffect = false;
    for (const Json& e : s["effects"])
        levelUpEffect = levelUpEffect || (e["name"] == "特效2" && e["anchorMode"] == 2 && e["repeat"] == 2 && e["behind"] == 1);
    EXPECT_TRUE(levelUpEffect) << s["effects"];
    EXPECT_TRUE(s["messageBoxes"].empty()) << s["messageBoxes"];
    Discard(dir);
}

// A game run through the engine with scripted input, its player's state
// recorded at the end of every frame.
struct TracedRun {
    Game game;
    std::vector<int> states;  // index: frame - 1
    std::function<void(Game&)> atPlayerUpdate;

    TracedRun(const fs::path& data, long frames, const std::string& input) : game(Options(data, frames)) {
        InputScript script = ParseInputScript(input, "input");
        EXPECT_EQ(script.error, "");
        game.scriptedInput = std::move(script.events);
        game.trace = [this](std::string_view step) {
            if (step == "player.update" && atPlayerUpdate) atPlayerUpdate(game);
            if (step == "damageNumbers.update") {
                states.resize(static_cast<std::size_t>(game.frameCount));
                states.back() = game.player.state;
            }
        };
    }
    static GameOptions Options(const fs::path& data, long frames) { return run_support::LogicOnly(data, {}, frames); }
    int StateAt(long frame) const { return states.at(static_cast<std::size_t>(frame - 1)); }
};

TEST(PlayerRun, AHeldZSwingsOnceAndAFreshPressSwingsAgain) {
    auto dir = TempDir("swing");
    auto data = DataWith(dir, "装备物品(\"武器\", \"扫把\")\n", "");
    TracedRun run(data, 200, "30 key down Z\n140 key up Z\n150 key down Z\n151 key up Z\n");
    run.game.options.screenshots.push_back({60, (dir / "swing.png").string()});
    ASSERT_EQ(run.game.Run(), 0);
    EXPECT_NE(run.StateAt(29), Player::kAttacking);
    EXPECT_EQ(run.StateAt(30), Player::kAttacking);
    EXPECT_EQ(run.StateAt(70), Player::kAttacking);
    int swingEnd = 30;
    while (run.StateAt(swingEnd) == Player::kAttacking) ++swingEnd;
    EXPECT_GT(swingEnd, 70);
    EXPECT_LT(swingEnd, 90);
    for (long f = swingEnd; f < 150; ++f) EXPECT_NE(run.StateAt(f), Player::kAttacking) << f;
    // Released after one frame: the second swing still runs to its end.
    EXPECT_EQ(run.StateAt(150), Player::kAttacking);
    EXPECT_EQ(run.StateAt(185), Player::kAttacking);
    EXPECT_NE(run.StateAt(200), Player::kAttacking);
    EXPECT_TRUE(fs::exists(dir / "swing.png"));
    Discard(dir);
}

TEST(PlayerRun, TheDeathBoxWaitsForItsButtonAndRevivalSendsThePlayerToTown) {
    auto dir = TempDir("death");
    auto data = DataWith(dir, "装备物品(\"武器\", \"扫把\")\n", "");
    // The button "确定" is 60 x 24 at (370, 332); a click on it at frames 150..152.
    TracedRun run(data, 220,
                  "60 key down Z\n61 key up Z\n70 key down Left\n100 mouse 400 344\n140 key up Left\n"
                  "150 button left down\n152 button left up\n");
    run.game.options.screenshots.push_back({140, (dir / "death_box.png").string()});
    run.game.options.screenshots.push_back({200, (dir / "revived.png").string()});
    std::size_t itemsOfTheMap = 0, itemsBeforeRevive = 0;
    float xDead = 0, xBeforeRevive = 0;
    bool deathBoxBeforeAnimationEnded = false;
    bool deathBoxSeen = false;
    run.atPlayerUpdate = [&](Game& g) {
        if (g.frameCount == 50) {
            g.player.hp = 0;
            g.player.level = 3;
            g.player.gold = 77;
        }
        if (g.frameCount == 55) {
            // Something of this map's visit: a map load clears it.
            itemsOfTheMap = g.actors.groundItems.size();
            g.DropItem(g.dataTables().items.At(1)->name, g.player.x + 10, g.player.y + g.player.height - 10, 0, 0);
            xDead = g.player.x;
        }
        if (g.frameCount == 149) {
            itemsBeforeRevive = g.actors.groundItems.size();
            xBeforeRevive = g.player.x;
        }
        if (g.frameCount > 50 && g.frameCount < 150) {
            deathBoxSeen = deathBoxSeen || g.player.DeathAnimationDone();
            if (g.player.body[Player::kDead].CurrentFrame() < 5 && g.player.DeathAnimationDone())
                deathBoxBeforeAnimationEnded = true;
        }
    };
    ASSERT_EQ(run.game.Run(), 0);
    EXPECT_TRUE(deathBoxSeen);
    EXPECT_FALSE(deathBoxBeforeAnimationEnded);
    for (long f = 51; f < 152; ++f) EXPECT_EQ(run.StateAt(f), Player::kDead) << f;
    EXPECT_EQ(run.StateAt(152), Player::kIdle);
    const Player& p = run.game.player;
    EXPECT_EQ(p.hp, 10);
    EXPECT_EQ(p.maxHp, 10);
    EXPECT_EQ(p.mp, 500);
    EXPECT_EQ(p.level, 3);
    EXPECT_EQ(p.gold, 77);
    EXPECT_EQ(xBeforeRevive, xDead) << "a dead player does not walk";
    // The town map (this same map here) was loaded again: what lay on the
    // ground is gone and the player stands on the town ground.
    EXPECT_EQ(itemsBeforeRevive, itemsOfTheMap + 1);
    EXPECT_EQ(run.game.actors.groundItems.size(), itemsOfTheMap);
    EXPECT_EQ(p.currentGround, 1);
    EXPECT_TRUE(run.game.messageBoxes.empty());
    EXPECT_TRUE(fs::exists(dir / "death_box.png"));
    Discard(dir);
}

}  // namespace
