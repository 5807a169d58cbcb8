// Fights in the running game on small maps of our own: the struck monster
// is drawn on every frame and its hit spark centres on it; the thunder
// spell never heals a monster with a strong defence; one skill in two bar
// cells shares its cooldown; an old strike's long effect does not cut the
// boar king's next strike short.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <nlohmann/json.hpp>

#include "app/game.h"
#include "lumo/lumo.h"
#include "run_support.h"
#include "shared/gbk.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::Click;
using run_support::LitPixels;
using run_support::ReadAll;

// Removes the PNG pictures (not their info files) under data/<gbk folder>.
void RemovePictures(const fs::path& data, const char* utf8Folder) {
    const fs::path folder = data / utf8Folder;
    std::error_code ec;
    std::vector<fs::path> pictures;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->path().extension() == ".png") pictures.push_back(it->path());
    for (const fs::path& p : pictures) fs::remove(p);
}

std::string Key(int frame, const char* key) {
    return std::to_string(frame) + " key down " + key + "\n" + std::to_string(frame + 1) + " key up " + key + "\n";
}

// Writes a content file (UTF-8 text) into the data copy as the game reads it: GBK.
void WriteScript(const fs::path& data, const std::string& utf8Name, const std::string& utf8Text) {
    std::ofstream(data / "脚本" / utf8Name, std::ios::binary | std::ios::trunc) << gbk::FromUtf8(utf8Text);
}

// The game on `map` with the data copy and the input, logic-only; the dump
// goes to dir/s.json.
GameOptions Options(const fs::path& dir, const fs::path& data, const fs::path& map, int frames) {
    GameOptions o = run_support::LogicOnly(data, map, frames);
    o.dumpStatePath = (dir / "s.json").string();
    return o;
}

// Main.lua of the spell runs: level 2 and the thunder book in bag cell 1.
constexpr const char* kThunderMain = "增加等级(1)\n增加物品(\"雷电术书\", 1)\n";
// Reads the book from bag cell 1 through the item window (frames 20..45).
std::string ReadTheBook() {
    return Click(20, 770, 215) + Click(30, GameInterface::BagCellX(1) + 15, GameInterface::BagCellY(1) + 15, "right") +
           Click(40, 770, 215);
}

// A black field (its background picture does not exist) 800 x 600, so the
// camera stays put; the dog is penned on the middle square.
const char* kDogField =
    "header width=800 height=600 startGround=1 startOffset=470 background=\"\\data\\map\\none.png\" "
    "floatInterval=0 townMap=1 townGround=1 facing=2\n"
    "square left=0 top=400 width=520 height=200 kind=0\n"
    "square left=520 top=400 width=72 height=200 kind=0\n"
    "square left=592 top=400 width=208 height=200 kind=0\n"
    "monster left=521 top=350 width=70 height=50 id=1 ground=2 offset=1\n";

// The player beats the penned dog with Z. The player, the swing's trail and
// the spark have no pictures, so whatever lights the dog's box is the dog.
// In every frame from the first swing until the dog is gone its pictures
// fill the lower half of its box, and each spark is centred inside the box.
TEST(FightRun, TheStruckDogIsDrawnOnEveryFrameAndEachSparkCentresOnIt) {
    const fs::path dir = run_support::TempDir("fight", "spark");
    const fs::path data = run_support::DataWith(dir, "装备物品(\"武器\", \"扫把\")\n");
    for (const char* folder : {"人物", "武器", "魔法", "效果/命中"}) RemovePictures(data, folder);
    const fs::path map = run_support::PackMap(dir, "field", kDogField);
    ASSERT_FALSE(map.empty());

    std::string input;
    for (int f = 20; f < 600; f += 40) input += Key(f, "Z");
    GameOptions o = run_support::LogicOnly(data, map, 900);
    o.noRender = false;  // the dog's pixels are looked at
    Game game(o);
    game.scriptedInput = ParseInputScript(input, "input").events;

    int checkedFrames = 0, hitFrames = 0, sparks = 0, fewestLit = 1 << 30;
    long fewestFrame = 0, firstHit = 0;
    std::vector<std::string> badSparks;
    std::set<std::uint32_t> seen;
    int lastHp = -1;
    game.trace = [&](std::string_view step) {
        if (step != "esc" || game.phase != kPhasePlaying || game.actors.monsters.empty()) return;
        // At the start of a frame the state is what the last frame drew.
        const Monster& dog = *game.actors.monsters[0];
        if (dog.gone != 0 || game.frameCount < 22) return;
        const float sx = dog.x + game.camera.offsetX, sy = dog.y + game.camera.offsetY;
        const int lit = LitPixels(game, sx, sy + static_cast<float>(dog.height) / 2, static_cast<float>(dog.width),
                                  static_cast<float>(dog.height) / 2);
        ++checkedFrames;
        if (lit < fewestLit) {
            fewestLit = lit;
            fewestFrame = game.frameCount - 1;
        }
        if (lastHp >= 0 && dog.hp[0] != lastHp) {
            ++hitFrames;
            if (firstHit == 0) firstHit = game.frameCount - 1;
        }
        lastHp = dog.hp[0];
        for (int i = 1; i <= game.map.effects.size(); ++i) {
            const Effect& e = game.map.effects.At(i);
            // Each spark once, in the frame after it was spawned (the dog has not moved since).
            if (e.name() != gbk::Lit("命中") || !seen.insert(game.map.effects.HandleAt(i).id).second) continue;
            ++sparks;
            const float cx = e.x() + 59.5f, cy = e.y() + 59.5f;
            if (!(cx > dog.x && cx < dog.x + static_cast<float>(dog.width) && cy > dog.y &&
                  cy < dog.y + static_cast<float>(dog.height)))
                badSparks.push_back(std::to_string(cx) + "," + std::to_string(cy));
        }
    };
    ASSERT_EQ(game.Run(), 0);
    ASSERT_GT(hitFrames, 2) << "the dog was not beaten";
    EXPECT_EQ(game.actors.monsters[0]->gone, 1);
    EXPECT_GT(checkedFrames, 200);
    EXPECT_GE(sparks, hitFrames);
    EXPECT_TRUE(badSparks.empty()) << "sparks centred outside the dog: " << ::testing::PrintToString(badSparks);
    // The lower half of the dog's box is 70 x 25 pixels; its pictures light
    // a good part of it on every frame, the hit frames included.
    EXPECT_GT(fewestLit, 150) << "frame " << fewestFrame << " (first hit at " << firstHit << ")";
}

}  // namespace

namespace {

// A dog whose defence (300) is far above the spell's reach: every thunder
// hit does the spell's lower bound, 100, and never heals it.
TEST(FightRun, ThunderOnAStrongDefenceDoesItsLowerBoundAndNeverHeals) {
    const fs::path dir = run_support::TempDir("fight", "thunder");
    const fs::path data = run_support::DataWith(dir, kThunderMain);
    WriteScript(data, "Monster.csv",
                "初始怪物(1,\"野狗\",\"野狗\",\"野狗.lua\",70,50,1000,3,300,0,20)\n"
                "初始怪物(2,\"树妖\",\"树妖\",\"树妖.lua\",60,90,80,6,3,1,45)\n"
                "初始怪物(3,\"野猪王\",\"野猪王\",\"野猪王.lua\",120,90,400,12,6,2,300)\n");
    std::string field = kDogField;
    field.replace(field.find("startOffset=470"), 15, "startOffset=400");
    const fs::path map = run_support::PackMap(dir, "field", field);
    ASSERT_FALSE(map.empty());
    Game game(Options(dir, data, map, 330));
    game.scriptedInput = ParseInputScript(ReadTheBook() + Key(60, "V") + Key(150, "V") + Key(240, "V"), "input").events;
    ASSERT_EQ(game.Run(), 0);
    const Json s = Json::parse(ReadAll(dir / "s.json"));
    std::vector<std::string> hits;
    for (const Json& line : s["chatLog"]) {
        const std::string text = line["text"];
        if (text.rfind("你对野狗造成 ", 0) == 0) hits.push_back(text);
    }
    ASSERT_EQ(hits.size(), 3u) << s["chatLog"];
    for (const std::string& h : hits) EXPECT_EQ(h, "你对野狗造成 100 点伤害");
    EXPECT_EQ(s["monsters"][0]["hp"], 700);
    EXPECT_EQ(s["player"]["mp"], 440.0);
}

// The thunder spell in bar cells A and S: a press on S right after A is
// refused and both show the same shade; carried from A to D the skill keeps
// its cooldown, and D refuses too.
TEST(FightRun, OneSkillInTwoBarCellsSharesItsCooldownAndKeepsItWhenMoved) {
    const fs::path dir = run_support::TempDir("fight", "cooldown");
    const fs::path data = run_support::DataWith(dir, kThunderMain);
    const fs::path map = run_support::PackMap(dir, "field", kDogField);
    ASSERT_FALSE(map.empty());
    const float row = SkillWindow::kRowsY + 8, rowX = SkillWindow::kRowsX + 8, barY = SkillBar::kY + 10;
    auto cell = [](int n) { return SkillBar::CellX(n) + 10; };
    std::string input = ReadTheBook() + Click(50, 770, 245) +           // the skill window
                        Click(56, rowX, row) + Click(62, cell(1), barY) +  // the spell onto A
                        Click(68, rowX, row) + Click(74, cell(2), barY) +  // and onto S
                        Click(80, 770, 245) +                              // closed
                        Key(100, "A") + Key(106, "S") +                    // S within ten frames of A
                        Click(112, cell(1), barY) + Click(118, cell(3), barY) +  // A carried to D
                        Key(126, "D") + "130 mouse 400 300\n";
    Game game(Options(dir, data, map, 140));
    game.scriptedInput = ParseInputScript(input, "input").events;
    ASSERT_EQ(game.Run(), 0);
    const Json s = Json::parse(ReadAll(dir / "s.json"));
    int cast = 0, refused = 0;
    for (const Json& m : s["bubbleMessages"]) {
        cast += m == "[系统]:发动技能:雷电术 成功!" ? 1 : 0;
        refused += m == "[系统]:技能还没准备好!" ? 1 : 0;
    }
    EXPECT_EQ(cast, 1) << s["bubbleMessages"];
    EXPECT_EQ(refused, 2) << s["bubbleMessages"];
    const Json& bar = s["skills"]["bar"];
    EXPECT_EQ(bar[0]["skill"], 0);  // A was carried away
    EXPECT_EQ(bar[1]["skill"], 1);
    EXPECT_EQ(bar[2]["skill"], 1);
    EXPECT_GT(bar[1]["cooldownLeft"].get<double>(), 1.0);
    EXPECT_EQ(bar[1]["cooldownLeft"], bar[2]["cooldownLeft"]);
    EXPECT_EQ(bar[2]["cooldownTotal"], 2.0);
}

// The boar king strikes again and again at a player who stands still (kept
// alive by the test). Its poison and curse effects outlast the 80-frame
// strike; when one ends during a later strike, that strike stays able to hit.
TEST(FightRun, AnOldStrikesLongEffectNeverCutsTheBoarKingsNextStrikeShort) {
    const fs::path dir = run_support::TempDir("fight", "boar");
    const fs::path data = run_support::DataWith(dir, "");
    const fs::path map = run_support::PackMap(dir, "arena",
                              "header width=800 height=600 startGround=1 startOffset=300 "
                              "background=\"\\data\\map\\none.png\" floatInterval=0 townMap=1 townGround=1 facing=2\n"
                              "square left=0 top=500 width=800 height=100 kind=0\n"
                              "monster left=420 top=410 width=120 height=90 id=3 ground=1 offset=420\n");
    ASSERT_FALSE(map.empty());
    Game game(Options(dir, data, map, 2400));
    int launches = 0, overlapping = 0, cutShort = 0;
    int lastLaunched = 0;
    game.trace = [&](std::string_view step) {
        if (game.phase != kPhasePlaying || game.actors.monsters.empty()) return;
        Player& p = game.player;
        // The player never falls: healed after the monsters' blows, before its own update.
        if (step == "pickup") p.hp = p.maxHp;
        if (step != "esc") return;
        Monster& boar = *game.actors.monsters[0];
        // Enraged: it keeps chasing and striking.
        boar.chaseTimer = std::max(boar.chaseTimer, 0.1f);
        boar.behaviourDuration = 100;
        boar.behaviourTimer = 50;
        // An older strike effect of the boar still playing?
        bool oldPlaying = false;
        for (int i = 1; i <= game.map.effects.size(); ++i) {
            const Effect& e = game.map.effects.At(i);
            if (e.ownerKind() == static_cast<int>(EffectOwner::MonsterSpell) && e.playing() &&
                !(game.map.effects.HandleAt(i) == boar.strikeEffect))
                oldPlaying = true;
        }
        const Effect* own = game.map.effects.Find(boar.strikeEffect);
        if (boar.strikeLaunched != 0 && lastLaunched == 0) {
            ++launches;
            if (oldPlaying) ++overlapping;
        }
        lastLaunched = boar.strikeLaunched;
        if (boar.strikeLaunched != 0 && own != nullptr && own->playing() && boar.strikeActive == 0) ++cutShort;
    };
    ASSERT_EQ(game.Run(), 0);
    EXPECT_GE(launches, 8);
    EXPECT_GE(overlapping, 2) << "no strike met an older one's effect";
    EXPECT_EQ(cutShort, 0) << "frames in which a strike with its effect playing could not hit";
}

}  // namespace
