// Items and hand-ins in the running game: a held quest item with a full bag
// goes back to its cell; a drop left of the player is picked up without a
// step; an item row added by Main.lua is shown, picked up and bought; the
// village head pays nothing for skins dropped while his dialog is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/game.h"
#include "lumo/lumo.h"
#include "run_support.h"
#include "shared/gbk.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::Click;
using run_support::LitPixels;
using run_support::ReadAll;

// A black field 800 x 600; the player stands at x 450 with its feet on 502.
fs::path Field(const fs::path& dir) {
    return run_support::PackMap(dir, "field",
                                "header width=800 height=600 startGround=1 startOffset=450 "
                                "background=\"\\data\\map\\none.png\" floatInterval=0 townMap=1 townGround=1 facing=2\n"
                                "square left=0 top=500 width=800 height=100 kind=0\n");
}

std::string ClickBag(int frame, int slot) {
    return Click(frame, GameInterface::BagCellX(slot) + 15, GameInterface::BagCellY(slot) + 15);
}
// The right panel's item button opens and closes the item window.
std::string ItemWindowButton(int frame) { return Click(frame, 770, 215); }
std::string HoldC(int from, int to) {
    return std::to_string(from) + " key down C\n" + std::to_string(to) + " key up C\n";
}

// Logic-only; the dump goes to dir/s.json.
GameOptions Options(const fs::path& dir, const fs::path& data, const fs::path& map, int frames) {
    GameOptions o = run_support::LogicOnly(data, map, frames);
    o.dumpStatePath = (dir / "s.json").string();
    return o;
}

Json Play(const fs::path& dir, const fs::path& data, const fs::path& map, int frames, const std::string& input) {
    Game game(Options(dir, data, map, frames));
    game.scriptedInput = ParseInputScript(input, "input").events;
    EXPECT_EQ(game.Run(), 0);
    return Json::parse(ReadAll(dir / "s.json"));
}

int Count(const Json& slots, int item) { return static_cast<int>(std::count(slots.begin(), slots.end(), Json(item))); }

bool LogHas(const Json& s, const std::string& text) {
    for (const Json& line : s["chatLog"])
        if (line["text"] == text) return true;
    return false;
}

constexpr int kLetter = 14, kSkin = 15, kRedPotion = 17;

// The bag is full; the village head's letter (a quest item) is taken into
// the hand. Holding C next to a potion does not fill the letter's cell, and
// closing the window puts the letter back there.
TEST(ItemRun, AHeldQuestItemWithAFullBagGoesBackToItsCellWhenTheWindowCloses) {
    const fs::path dir = run_support::TempDir("itemfaults", "letter");
    const fs::path data = run_support::DataWith(
        dir, "增加物品(\"村长的信\", 1)\n增加物品(\"野狗皮\", 35)\n掉落物品(\"小红药水\", 460, 472)\n");
    const fs::path map = Field(dir);
    ASSERT_FALSE(map.empty());
    const Json s = Play(dir, data, map, 170,
                        ItemWindowButton(10) + ClickBag(20, 1) + HoldC(30, 90) + ItemWindowButton(100) +
                            HoldC(110, 150));
    EXPECT_FALSE(s["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(s["bag"][0], kLetter) << s["bag"];
    EXPECT_EQ(Count(s["bag"], kSkin), 35);
    EXPECT_TRUE(LogHas(s, "包裹已满!! ")) << s["chatLog"];
    ASSERT_EQ(s["groundItems"].size(), 1u) << s["groundItems"];
    EXPECT_EQ(s["groundItems"][0]["item"], kRedPotion);  // the potion stays where it fell
}

// A drop 25 pixels left of the player's x (as far left as a drop at the
// feet lands) is picked up with C where the player stands.
TEST(ItemRun, ADropLeftOfThePlayerIsPickedUpWithoutAStep) {
    const fs::path dir = run_support::TempDir("itemfaults", "left");
    const fs::path data = run_support::DataWith(dir, "掉落物品(\"小红药水\", 425, 472)\n");
    const fs::path map = Field(dir);
    ASSERT_FALSE(map.empty());
    const Json s = Play(dir, data, map, 90, HoldC(20, 80));
    EXPECT_EQ(s["player"]["x"], 450.0);  // no step
    EXPECT_EQ(Count(s["bag"], kRedPotion), 1) << s["bag"];
    EXPECT_TRUE(s["groundItems"].empty()) << s["groundItems"];
}

// Main.lua adds an item row after the tables were loaded, drops one on the
// ground and stocks one in the shop: the drop shows its icon (the player has
// no pictures here, so nothing else lights its place), C picks it up, and
// the shop's copy is bought into the bag.
TEST(ItemRun, AnItemRowAddedAfterLoadingIsShownPickedUpAndBought) {
    const fs::path dir = run_support::TempDir("itemfaults", "late");
    const fs::path data = run_support::DataWith(
        dir,
        "初始物品(26,\"迟来的剑\",6,12,0,0,0,0,0,0,0,0,0,0,0,0,30,2,\"载入之后才加的剑\",1)\n"
        "掉落物品(\"迟来的剑\", 460, 472)\n增加金币(100)\n增加商店物品(\"迟来的剑\", 1)\n打开商店()\n");
    for (const char* folder : {"人物", "武器"}) {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(data / folder, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            if (it->path().extension() == ".png") fs::remove(it->path(), ec);
    }
    const fs::path map = Field(dir);
    ASSERT_FALSE(map.empty());
    GameOptions drawn = Options(dir, data, map, 140);
    drawn.noRender = false;  // the ground is looked at
    Game game(drawn);
    game.scriptedInput =
        ParseInputScript(HoldC(30, 90) + Click(100, GameInterface::ShopCellX(1) + 15, GameInterface::ShopCellY(1) + 15) +
                             ClickBag(110, 36),
                         "input")
            .events;
    int litOnGround = -1;
    game.trace = [&](std::string_view step) {
        // Frame 20 shows the sword lying at (460, 472), bobbing up to 10 px.
        if (step == "esc" && game.frameCount == 21) litOnGround = LitPixels(game, 460, 462, 30, 40);
    };
    ASSERT_EQ(game.Run(), 0);
    const Json s = Json::parse(ReadAll(dir / "s.json"));
    EXPECT_GT(litOnGround, 100);
    EXPECT_EQ(Count(s["bag"], 26), 2) << s["bag"];
    EXPECT_EQ(s["player"]["gold"], 70);
    EXPECT_FALSE(LogHas(s, "包裹已满!! ")) << s["chatLog"];
    EXPECT_TRUE(s["groundItems"].empty()) << s["groundItems"];
}

// The content pack's Main.lua (its reward helpers) with a start of our own.
std::string BundledMain(const std::string& extraUtf8) {
    std::ifstream in(fs::path(test_dirs::ContentSource()) / fs::u8path("data/脚本/Main.lua"), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str() + "\n" + extraUtf8;
}

// The village head's quest under way with three skins in the bag: his
// dialog offers the hand-in; the skins are dropped on the ground while it is
// open; the hand-in then pays nothing, takes nothing and says what is
// missing.
TEST(ItemRun, TheVillageHeadPaysNothingForSkinsDroppedWhileHisDialogIsOpen) {
    const fs::path dir = run_support::TempDir("itemfaults", "skins");
    const fs::path data = run_support::DataWith(
        dir, BundledMain("增加任务(1)\n置NPC变量(1, 1)\nNPC任务更新(1, 0)\n增加物品(\"野狗皮\", 3)\n"));
    // The bundled gifts fill cells 1..8; the skins lie in 9..11.
    std::string input = Click(30, 690, 470) + ItemWindowButton(45);
    for (int k = 0; k < 3; ++k) input += ClickBag(55 + 20 * k, 9 + k) + Click(65 + 20 * k, 150, 420);
    input += Click(130, 70, 175);  // 1. 把野狗皮交给村长
    const Json s = Play(dir, data, fs::path(), 150, input);
    int skinsOnGround = 0;
    for (const Json& item : s["groundItems"]) skinsOnGround += item["item"] == kSkin ? 1 : 0;
    ASSERT_EQ(skinsOnGround, 3) << s["groundItems"];
    EXPECT_EQ(Count(s["bag"], kSkin), 0);
    EXPECT_EQ(s["player"]["experience"], 0);
    EXPECT_EQ(s["player"]["gold"], 0);
    EXPECT_EQ(s["player"]["level"], 1);
    EXPECT_EQ(s["npcStates"][0]["variable"], 1);  // still under way
    EXPECT_EQ(Count(s["quests"], 1), 1);
    EXPECT_FALSE(LogHas(s, "失去 野狗皮 x 3"));
    EXPECT_TRUE(LogHas(s, "交任务还差 3 张野狗皮")) << s["chatLog"];
    EXPECT_NE(s["dialog"]["prompt"].get<std::string>().find("还差 3 张"), std::string::npos) << s["dialog"];
}

}  // namespace
