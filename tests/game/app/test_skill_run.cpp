// The skills in the running game: the thunder book read from the bag at
// level 2 (raised by Main.lua), the skill window, a skill carried onto the
// bar, V next to a monster, the bar's key with its cooldown refusal, the
// state dump and screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "app/game.h"
#include "run_support.h"
#include "shared/gbk.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// Screenshots stay for a look in this folder.
const fs::path kShots = "/tmp/skill-shots";

using run_support::Click;
using run_support::DataWith;
using run_support::ReadAll;
fs::path TempDir(const std::string& name) {
    fs::create_directories(kShots);
    return run_support::TempDir("skill", name);
}

fs::path MapFile(const fs::path& data, const char* utf8Name) {
    return data / gbk::ToUtf8(gbk::Lit("地图")) / utf8Name;
}

std::string Key(int frame, const char* key) {
    return std::to_string(frame) + " key down " + key + "\n" + std::to_string(frame + 2) + " key up " + key + "\n";
}

std::vector<std::string> Texts(const Json& list) {
    std::vector<std::string> texts;
    for (const Json& e : list) texts.push_back(e.is_string() ? e.get<std::string>() : e["text"].get<std::string>());
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& t) {
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

constexpr const char* kMain = "增加等级(1)\n增加物品(\"雷电术书\", 1)\n";

}  // namespace

TEST(SkillRun, TheBookTeachesTheThunderSpellThatVCastsOnTheMonsterBesideThePlayer) {
    auto dir = TempDir("thunder");
    auto data = DataWith(dir, kMain);
    const float bookX = GameInterface::BagCellX(1) + 15, bookY = GameInterface::BagCellY(1) + 15;
    std::string input = Click(20, 770, 215) +                       // 物品: the item window
                        Click(30, bookX, bookY, "right") +          // read the book
                        Click(40, 770, 245) +                       // 技能: the skill window
                        Click(50, SkillWindow::kRowsX + 8, SkillWindow::kRowsY + 8) +  // pick the spell up
                        Click(60, SkillBar::CellX(1) + 10, SkillBar::kY + 10) +        // onto cell A
                        Click(70, 770, 245) +                       // close the skill window
                        Key(80, "V") + Key(100, "V") +              // V again while casting changes nothing
                        Key(160, "A") + Key(170, "A") +             // the cell's cast, then its refusal
                        "175 mouse " + std::to_string(SkillBar::CellX(1) + 10) + " 560\n";
    // Logic-only: the screenshot frames are still drawn.
    GameOptions o = run_support::LogicOnly(data, MapFile(data, "新手村2.Wdm"), 190);
    o.dumpStatePath = (dir / "state.json").string();
    o.screenshots = {{55, (kShots / "skill_window.png").string()},
                     {75, (kShots / "skill_bar.png").string()},
                     {180, (kShots / "skill_tooltip.png").string()}};
    Game game(o);
    game.scriptedInput = ParseInputScript(input, "input").events;
    int firedFrame = 0, castFrames = 0;
    float monsterHpBefore = 0;
    game.trace = [&](std::string_view step) {
        if (step != "player.update" || game.actors.monsters.empty()) return;
        // From V on, the player stands 80 px left of the first monster,
        // facing it, and the monsters leave the player alone.
        Monster& m = *game.actors.monsters[0];
        for (auto& other : game.actors.monsters) other->detectRange = 0;
        if (game.frameCount >= 78 && game.frameCount < 150) {
            if (game.frameCount == 78) monsterHpBefore = m.HP();
            game.player.x = m.x + m.flipOffset - game.player.width - 80;
            game.player.y = m.y + static_cast<float>(m.height) - game.player.height;
            game.player.Face(Player::kFacingRight);
        }
        if (game.player.state == Player::kCasting) ++castFrames;
        if (game.player.spellFired && firedFrame == 0) firedFrame = static_cast<int>(game.frameCount);
    };
    ASSERT_EQ(game.Run(), 0);
    ASSERT_GT(firedFrame, 0);

    Json s = Json::parse(ReadAll(dir / "state.json"));
    const Json& skills = s["skills"];
    EXPECT_EQ(skills["list"][0]["skill"], 1);
    EXPECT_EQ(skills["list"][0]["key"], 0x56);
    EXPECT_EQ(skills["list"][1]["skill"], 0);
    EXPECT_EQ(skills["bar"][0]["skill"], 1);
    EXPECT_EQ(skills["bar"][0]["key"], "A");
    EXPECT_FALSE(skills["carried"]["carrying"]);
    EXPECT_EQ(s["bag"][0], 0) << s["bag"];  // the book is used up
    EXPECT_EQ(s["player"]["level"], 2);
    EXPECT_EQ(s["player"]["mp"], 480.0);  // one cast: V twice started one
    EXPECT_EQ(s["player"]["state"], Player::kIdle);
    EXPECT_LT(castFrames, 70);
    // The first monster was struck.
    EXPECT_LT(s["monsters"][0]["hp"].get<float>(), monsterHpBefore);
    EXPECT_EQ(s["combat"]["lastHitMonster"], 1);
    const auto chat = Texts(s["chatLog"]);
    EXPECT_TRUE(Has(chat, "你已经学会了雷电术 按键:V 使用"));
    bool damageLine = false;
    for (const std::string& t : chat) damageLine = damageLine || t.rfind("你对" + s["monsters"][0]["name"].get<std::string>() + "造成 ", 0) == 0;
    EXPECT_TRUE(damageLine);
    const auto bubble = Texts(s["bubbleMessages"]);
    EXPECT_TRUE(Has(bubble, "[系统]:发动技能:雷电术 成功!")) << s["bubbleMessages"];
    EXPECT_TRUE(Has(bubble, "[系统]:技能还没准备好!")) << s["bubbleMessages"];
    // The bar's cast spent no MP and started the row's two-second cooldown.
    EXPECT_GT(skills["bar"][0]["cooldownLeft"].get<double>(), 1.0);
    EXPECT_EQ(skills["bar"][0]["cooldownTotal"], 2.0);
    for (const char* shot : {"skill_window.png", "skill_bar.png", "skill_tooltip.png"})
        EXPECT_TRUE(fs::exists(kShots / shot)) << shot;
    fs::remove_all(dir);
}

TEST(SkillRun, TheRealProgramCastsAheadWhenNothingIsInReachAndKeepsTheBookAtLevelOne) {
    auto dir = TempDir("binary");
    auto data = DataWith(dir, kMain);
    const float bookX = GameInterface::BagCellX(1) + 15, bookY = GameInterface::BagCellY(1) + 15;
    // Level 1: the book stays; then the level rises and it teaches.
    std::ofstream(dir / "input.txt") << Click(20, 770, 215) + Click(30, bookX, bookY, "right") + Key(60, "V") + Key(130, "V");
    auto dump = dir / "state.json";
    std::string cmd = test_dirs::Bin() + "/game --headless --no-render --frames 200 --seed 3 --data " +
                      data.string() +
                      " --input " + (dir / "input.txt").string() + " --screenshot 118:" +
                      (kShots / "thunder_ahead.png").string() + " --dump-state " + dump.string() + " > " +
                      (dir / "out.txt").string() + " 2>&1";
    // Main.lua raised the level: lower it again for this run.
    std::ofstream(data / gbk::ToUtf8(gbk::Lit("脚本")) / "Main.lua", std::ios::binary | std::ios::trunc)
        << gbk::FromUtf8("增加物品(\"雷电术书\", 1)\n");
    int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(dir / "out.txt");
    Json s = Json::parse(ReadAll(dump));
    EXPECT_EQ(s["player"]["level"], 1);
    EXPECT_EQ(s["bag"][0], 22) << s["bag"];
    EXPECT_TRUE(Has(Texts(s["chatLog"]), "雷电术需要等级2以上."));
    EXPECT_EQ(s["skills"]["list"][0]["skill"], 0);
    EXPECT_EQ(s["player"]["mp"], 500.0);  // V does nothing unlearned

    // Level 2: learned; V fires ahead with no monster on the first map.
    std::ofstream(data / gbk::ToUtf8(gbk::Lit("脚本")) / "Main.lua", std::ios::binary | std::ios::trunc)
        << gbk::FromUtf8(kMain);
    status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(dir / "out.txt");
    s = Json::parse(ReadAll(dump));
    EXPECT_EQ(s["skills"]["list"][0]["skill"], 1);
    EXPECT_EQ(s["player"]["mp"], 460.0);  // two casts, 20 each
    EXPECT_EQ(s["player"]["state"], 1);
    EXPECT_TRUE(fs::exists(kShots / "thunder_ahead.png"));
    fs::remove_all(dir);
}

TEST(SkillRun, TheHealBookTeachesAHealThatTheBarCastsBesideTheThunderSpell) {
    auto dir = TempDir("heal");
    auto data = DataWith(dir, "增加等级(3)\n增加物品(\"雷电术书\", 1)\n增加物品(\"治愈术书\", 1)\n");
    auto bag = [](int cell) { return std::pair{GameInterface::BagCellX(cell) + 15, GameInterface::BagCellY(cell) + 15}; };
    const auto [book1X, book1Y] = bag(1);
    const auto [book2X, book2Y] = bag(2);
    const float rowX = SkillWindow::kRowsX + 8, rowY = SkillWindow::kRowsY + 8;
    std::string input = Click(20, 770, 215) + Click(30, book1X, book1Y, "right") +
                        Click(40, book2X, book2Y, "right") + Click(50, 770, 245) +
                        Click(60, rowX, rowY) + Click(70, SkillBar::CellX(1) + 10, SkillBar::kY + 10) +
                        Click(80, rowX, rowY + SkillWindow::kRowHeight) +
                        Click(90, SkillBar::CellX(2) + 10, SkillBar::kY + 10) + Click(100, 770, 245) +
                        Key(140, "S") +
                        // Held for a quarter of a second while cooling down: one refusal.
                        "150 key down S\n165 key up S\n" + "166 mouse " +
                        std::to_string(SkillBar::CellX(2) + 10) + " 560\n";
    GameOptions o = run_support::LogicOnly(data, {}, 180);  // screenshot frames still drawn
    o.dumpStatePath = (dir / "state.json").string();
    o.screenshots = {{105, (kShots / "skill_bar_two_kinds.png").string()},
                     {146, (kShots / "skill_heal.png").string()},
                     {175, (kShots / "skill_heal_tooltip.png").string()}};
    Game game(o);
    game.scriptedInput = ParseInputScript(input, "input").events;
    float hpBeforeHeal = -1, mpBeforeHeal = -1;
    game.trace = [&](std::string_view step) {
        if (step != "player.update") return;
        if (game.frameCount == 110) game.player.hp = 5;  // wounded before the heal
        if (game.frameCount == 139) {
            hpBeforeHeal = game.player.hp;
            mpBeforeHeal = game.player.mp;
        }
    };
    ASSERT_EQ(game.Run(), 0);

    Json s = Json::parse(ReadAll(dir / "state.json"));
    const Json& skills = s["skills"];
    EXPECT_EQ(s["player"]["level"], 4);
    EXPECT_EQ(s["bag"][0], 0) << s["bag"];
    EXPECT_EQ(s["bag"][1], 0) << s["bag"];
    // Both books taught their rows; the bar left the list's keys alone.
    EXPECT_EQ(skills["list"][0]["skill"], 1);
    EXPECT_EQ(skills["list"][0]["key"], 0x56);
    EXPECT_EQ(skills["list"][1]["skill"], 3);
    EXPECT_EQ(skills["list"][1]["key"], 0);
    EXPECT_EQ(skills["bar"][0]["skill"], 1);
    EXPECT_EQ(skills["bar"][1]["skill"], 3);
    const char* labels[] = {"A", "S", "D", "F", "Q", "W", "E", "R"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(skills["bar"][i]["key"], labels[i]) << i;

    // 治愈术: proficiency cap 10 x 1 HP, 10 x 6 MP, its six-second cooldown.
    ASSERT_FLOAT_EQ(hpBeforeHeal, 5);
    EXPECT_FLOAT_EQ(s["player"]["hp"].get<float>(), 15);
    EXPECT_FLOAT_EQ(s["player"]["mp"].get<float>(), mpBeforeHeal - 60);
    EXPECT_EQ(skills["bar"][1]["cooldownTotal"], 6.0);
    EXPECT_GT(skills["bar"][1]["cooldownLeft"].get<double>(), 5.0);
    EXPECT_EQ(skills["bar"][0]["cooldownLeft"], 0.0);  // the thunder cell was not touched
    const auto chat = Texts(s["chatLog"]);
    EXPECT_TRUE(Has(chat, "你已经学会了治愈术")) << s["chatLog"];
    EXPECT_TRUE(Has(chat, "治愈术发挥了疗效! HP +10")) << s["chatLog"];
    const auto bubble = Texts(s["bubbleMessages"]);
    EXPECT_TRUE(Has(bubble, "[系统]:发动技能:治愈术 成功!")) << s["bubbleMessages"];
    EXPECT_EQ(std::count(bubble.begin(), bubble.end(), "[系统]:技能还没准备好!"), 1) << s["bubbleMessages"];
    // Its effect, 光明祈福 (effect 5 of the library), runs on the player.
    bool blessing = false;
    for (const Json& e : s["effects"]) blessing = blessing || e["name"] == "光明祈福";
    EXPECT_TRUE(blessing) << s["effects"];
    for (const char* shot : {"skill_bar_two_kinds.png", "skill_heal.png", "skill_heal_tooltip.png"})
        EXPECT_TRUE(fs::exists(kShots / shot)) << shot;
    fs::remove_all(dir);
}

TEST(SkillRun, TheRealProgramKeepsTheHealBookBelowItsRowsLevel) {
    auto dir = TempDir("heal_binary");
    auto data = DataWith(dir, "增加等级(2)\n增加物品(\"治愈术书\", 1)\n");
    const float bookX = GameInterface::BagCellX(1) + 15, bookY = GameInterface::BagCellY(1) + 15;
    std::ofstream(dir / "input.txt") << Click(20, 770, 215) + Click(30, bookX, bookY, "right");
    auto dump = dir / "state.json";
    std::string cmd = test_dirs::Bin() + "/game --headless --no-render --frames 60 --seed 1 --data " +
                      data.string() +
                      " --input " + (dir / "input.txt").string() + " --dump-state " + dump.string() + " > " +
                      (dir / "out.txt").string() + " 2>&1";
    int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(dir / "out.txt");
    Json s = Json::parse(ReadAll(dump));
    EXPECT_EQ(s["player"]["level"], 3);
    EXPECT_EQ(s["bag"][0], 25) << s["bag"];  // the book stays
    EXPECT_TRUE(Has(Texts(s["chatLog"]), "治愈术需要等级4以上.")) << s["chatLog"];
    EXPECT_EQ(s["skills"]["list"][0]["skill"], 0);
    fs::remove_all(dir);
}
