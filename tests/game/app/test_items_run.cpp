// Items and the HUD in the running program: the item window with Main.lua's
// starting gifts, a drag and a right click; buying and selling in the shop;
// the panel buttons' one-window switch; ground items with Alt, C and gold;
// the chat input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "shared/gbk.h"
#include "ui/chat_log.h"
#include "ui/game_interface.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;
fs::path TempDir(const std::string& name) { return run_support::TempDir("items", name); }
fs::path DataWithMain(const fs::path& dir, const std::string& mainUtf8) { return run_support::DataWith(dir, mainUtf8); }

// Runs the game for `frames` frames with the input file and returns its
// state dump; extra options (data folder, screenshots) go in `extra`.
Json RunGame(const fs::path& dir, int frames, const std::string& input, const std::string& extra = "") {
    const std::string dump = run_support::PlayInput(dir, frames, input, extra);
    return dump.empty() ? Json::object() : Json::parse(dump);
}

std::string Pos(float x, float y) {
    return std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y));
}

// A left click (or right with button "right") in the middle of the 30 x 30
// cell at (x, y): the pointer moves at `frame`, the button goes down and up
// in the next two frames.
std::string ClickAt(int frame, float x, float y, const char* button = "left") {
    return std::to_string(frame) + " mouse " + Pos(x + 15, y + 15) + "\n" + std::to_string(frame + 1) + " button " +
           button + " down\n" + std::to_string(frame + 2) + " button " + button + " up\n";
}
std::string ClickBag(int frame, int slot, const char* button = "left") {
    return ClickAt(frame, GameInterface::BagCellX(slot), GameInterface::BagCellY(slot), button);
}
std::string ClickShop(int frame, int cell) {
    return ClickAt(frame, GameInterface::ShopCellX(cell), GameInterface::ShopCellY(cell));
}
// The right panel's buttons: 0 状态, 1 物品, 2 技能, 3 任务, 4 系统.
std::string ClickPanel(int frame, int button) {
    constexpr float kY[5] = {170, 205, 235, 265, 295};
    return ClickAt(frame, 755, kY[button]);
}

int CountOf(const Json& slots, int item) {
    return static_cast<int>(std::count(slots.begin(), slots.end(), Json(item)));
}

bool LogHas(const Json& s, const std::string& label, const std::string& text) {
    for (const Json& line : s["chatLog"])
        if (line["label"] == label && line["text"] == text) return true;
    return false;
}

bool BannerHas(const Json& s, const std::string& text) {
    for (const Json& b : s["banners"])
        if (b["text"] == text) return true;
    return false;
}

constexpr int kRedPotion = 17, kBluePotion = 18, kScroll = 20, kBroom = 1, kSword = 2, kHelmet = 5, kTwig = 23;

TEST(ItemsRun, TheItemWindowShowsTheStartingGiftsAndADraggedPotionStaysInItsNewCell) {
    auto dir = TempDir("window");
    const std::string input = ClickPanel(10, 1) +  // 物品
                              ClickBag(20, 1) +    // take the first red potion
                              ClickBag(30, 9) +    // onto the empty ninth cell
                              ClickBag(40, 9, "right") + "50 mouse " +
                              Pos(GameInterface::BagCellX(9) + 18, GameInterface::BagCellY(9) + 18) + "\n";
    Json s = RunGame(dir, 60, input);
    // Main.lua's gifts: the broom in the weapon slot, 5 red and 2 blue potions, a scroll.
    EXPECT_EQ(s["equipment"][10], kBroom);
    EXPECT_EQ(CountOf(s["bag"], kRedPotion), 5) << s["bag"];
    EXPECT_EQ(CountOf(s["bag"], kBluePotion), 2);
    EXPECT_EQ(CountOf(s["bag"], kScroll), 1);
    // The potion moved: its old cell is empty, the new one holds it.
    EXPECT_EQ(s["bag"][0], 0);
    EXPECT_EQ(s["bag"][8], kRedPotion);
    EXPECT_FALSE(s["heldItem"]["holding"].get<bool>());
    // The right click used it at full HP: refused, nothing logged, still there.
    EXPECT_EQ(s["player"]["hp"], s["player"]["maxHp"]);
    for (const Json& line : s["chatLog"])
        EXPECT_EQ(line["text"].get<std::string>().find("药品发挥了疗效"), std::string::npos) << line;
    EXPECT_EQ(s["interface"]["openWindow"], "物品窗口");
    EXPECT_EQ(s["interface"]["clickSounds"], 1);
    // Cells drawn every frame share their template's icon sprite.
    EXPECT_LE(s["interface"]["iconSprites"].get<int>(), s["dataTables"]["items"].get<int>());
    fs::remove_all(dir);
}

TEST(ItemsRun, AHeldItemDroppedInThePlayAreaLandsAtTheFeetAndAWindowClickDropsNothing) {
    auto dir = TempDir("drop");
    const std::string input = ClickPanel(10, 1) + ClickBag(20, 8) +  // take the scroll
                              ClickAt(30, 385, 105) +                  // the item window's title: nothing
                              ClickAt(40, 100, 300);                   // the play area: dropped
    Json half = RunGame(dir, 38, input);
    EXPECT_TRUE(half["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(half["heldItem"]["source"], 8);
    Json s = RunGame(dir, 50, input);
    EXPECT_FALSE(s["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(CountOf(s["bag"], kScroll), 0);
    bool dropped = false;
    for (const Json& g : s["groundItems"]) {
        if (g["item"] != kScroll) continue;
        dropped = true;
        // x: the player's x + 5 x (-5..5); y: 30 above the feet.
        EXPECT_LE(std::abs(g["x"].get<double>() - s["player"]["x"].get<double>()), 25.0);
        EXPECT_DOUBLE_EQ(g["y"].get<double>(),
                         s["player"]["y"].get<double>() + s["player"]["height"].get<double>() - 30);
    }
    EXPECT_TRUE(dropped) << s["groundItems"];
    // The clicks on the window did not move the player.
    EXPECT_EQ(s["player"]["x"], half["player"]["x"]);
    fs::remove_all(dir);
}

TEST(ItemsRun, BuyWithExactlyThePriceSellBackForHalfAndTooLittleGoldIsRefused) {
    auto dir = TempDir("shop");
    const fs::path data = DataWithMain(dir,
                                       "增加商店物品(\"树妖的枝条\", 1)\n"
                                       "增加商店物品(\"铁剑\", 1)\n"
                                       "增加商店物品(\"皮帽\", 1)\n"
                                       "增加商店物品(\"小红药水\", 3)\n"
                                       "增加金币(15)\n"
                                       "打开商店()\n");
    const std::string opts = "--data " + data.string();
    // The shop opened by the script shows the trade and item windows together.
    Json open = RunGame(dir, 5, "", opts);
    EXPECT_EQ(open["interface"]["openWindow"], "交易窗口");
    EXPECT_TRUE(open["interface"]["itemWindow"].get<bool>());
    EXPECT_EQ(open["shop"][0], kTwig);
    EXPECT_EQ(CountOf(open["shop"], kRedPotion), 3);
    EXPECT_EQ(open["player"]["gold"], 15);

    std::string input = ClickShop(10, 1) + ClickBag(20, 1);  // buy the 15-gold twig with 15 gold
    Json bought = RunGame(dir, 25, input, opts);
    EXPECT_EQ(bought["player"]["gold"], 0);
    EXPECT_EQ(bought["bag"][0], kTwig);
    EXPECT_EQ(bought["shop"][0], kTwig);  // the stock stays
    EXPECT_FALSE(bought["heldItem"]["holding"].get<bool>());
    EXPECT_TRUE(LogHas(bought, "[系统]", "金币-15"));

    // Take it again and click the stocked sword cell: sold for trunc(15 / 2)
    // and the sword taken in the same click.
    input += ClickBag(30, 1) + ClickShop(40, 2);
    Json sold = RunGame(dir, 45, input, opts);
    EXPECT_EQ(sold["player"]["gold"], 7);
    EXPECT_TRUE(LogHas(sold, "[系统]", "获得金币 +7"));
    EXPECT_EQ(CountOf(sold["bag"], kTwig), 0);
    EXPECT_TRUE(sold["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(sold["heldItem"]["item"], kSword);
    EXPECT_EQ(sold["heldItem"]["source"], 102);

    // 7 gold for a 300-gold sword: refused, then the right button puts it back.
    input += ClickBag(50, 1) + "60 button right down\n61 button right up\n";
    Json refused = RunGame(dir, 65, input, opts);
    EXPECT_TRUE(BannerHas(refused, "金币不足!!")) << refused["banners"];
    EXPECT_EQ(refused["player"]["gold"], 7);
    EXPECT_EQ(CountOf(refused["bag"], kSword), 0);
    EXPECT_FALSE(refused["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(refused["shop"][1], kSword);

    // A shop item taken and clicked outside the windows is let go, never dropped.
    input += ClickShop(70, 3) + ClickAt(80, 400, 460);
    Json released = RunGame(dir, 85, input, opts);
    EXPECT_FALSE(released["heldItem"]["holding"].get<bool>());
    for (const Json& g : released["groundItems"]) EXPECT_NE(g["item"], kHelmet) << g;
    EXPECT_EQ(released["shop"][2], kHelmet);
    fs::remove_all(dir);
}

TEST(ItemsRun, ThePanelButtonsOpenOneWindowAtATimeAndSystemOpensTheSystemWindow) {
    auto dir = TempDir("panel");
    // 系统 opens the system window over the world; its close button
    // (502, 173; ClickAt adds 15) shuts it before the next panel click.
    const std::string input = ClickPanel(10, 0) + ClickPanel(20, 1) + ClickPanel(30, 1) + ClickPanel(40, 4) +
                              ClickAt(46, 487, 158) + ClickPanel(50, 3) + ClickPanel(60, 1);
    struct Step {
        int frames;
        const char* open;
        int clicks;
    };
    for (const Step& step : {Step{15, "状态窗口", 1}, Step{25, "物品窗口", 2}, Step{35, "", 3}, Step{45, "", 4},
                             Step{55, "任务窗口", 5}, Step{65, "物品窗口", 6}}) {
        Json s = RunGame(dir, step.frames, input);
        EXPECT_EQ(s["interface"]["openWindow"], step.open) << step.frames;
        EXPECT_EQ(s["interface"]["clickSounds"], step.clicks) << step.frames;
        EXPECT_EQ(s["menus"]["system"], step.frames == 45) << step.frames;
    }
    fs::remove_all(dir);
}

TEST(ItemsRun, GroundItemsShowTheirNamesWithAltAndCPicksUpOneAFrame) {
    auto dir = TempDir("ground");
    // Three items at the feet of the player standing on the start ground.
    const fs::path data = DataWithMain(dir,
                                       "掉落物品(\"金币\", 340, 500)\n"
                                       "掉落物品(\"小红药水\", 345, 500)\n"
                                       "掉落物品(\"皮帽\", 350, 500)\n");
    const std::string opts = "--data " + data.string();
    const std::string input =
        "20 key down Alt\n"
        "30 key up Alt\n"
        "40 key down C\n"
        "42 key up C\n";
    auto atFeet = [](const Json& s) {
        std::vector<Json> items;
        for (const Json& g : s["groundItems"])
            if (g["y"] != 266) items.push_back(g);  // the map's own item lies far away
        return items;
    };
    Json alt = RunGame(dir, 25, input, opts);
    ASSERT_EQ(atFeet(alt).size(), 3u) << alt["groundItems"];
    for (const Json& g : atFeet(alt)) EXPECT_TRUE(g["nameShown"].get<bool>()) << g;
    Json noAlt = RunGame(dir, 35, input, opts);
    for (const Json& g : atFeet(noAlt)) EXPECT_FALSE(g["nameShown"].get<bool>()) << g;

    // C held for two frames: two items in reach, one each frame, in list order.
    Json oneFrame = RunGame(dir, 40, input, opts);
    auto items = atFeet(oneFrame);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0]["picked"].get<bool>());
    EXPECT_FALSE(items[1]["picked"].get<bool>());
    Json done = RunGame(dir, 90, input, opts);
    ASSERT_EQ(atFeet(done).size(), 1u) << done["groundItems"];
    EXPECT_FALSE(atFeet(done)[0]["picked"].get<bool>());  // the third stays: C was let go
    // The gold item's count of 0 gives 1; the potion went into the bag.
    EXPECT_EQ(done["player"]["gold"], 1);
    EXPECT_TRUE(LogHas(done, "[系统]", "获得金币 +1"));
    EXPECT_EQ(CountOf(done["bag"], kRedPotion), 1);
    fs::remove_all(dir);
}

TEST(ItemsRun, TheChatInputTakesChineseTextSendsItWithEnterAndSilencesTheGameKeys) {
    auto dir = TempDir("chat");
    const std::string input =
        "30 key down Enter\n31 key up Enter\n"
        "35 text \"你好%s%n\"\n"
        "40 key down Right\n"
        "41 key down C\n"
        "60 key up Right\n"
        "61 key up C\n"
        "65 key down Enter\n66 key up Enter\n";
    Json still = RunGame(dir, 25, "");
    Json typing = RunGame(dir, 62, input);
    EXPECT_TRUE(typing["interface"]["chatFocused"].get<bool>());
    EXPECT_EQ(typing["interface"]["chatText"], "你好%s%n");
    EXPECT_EQ(typing["player"]["x"], still["player"]["x"]);  // Right did nothing
    Json sent = RunGame(dir, 70, input);
    EXPECT_FALSE(sent["interface"]["chatFocused"].get<bool>());
    EXPECT_EQ(sent["interface"]["chatText"], "");
    EXPECT_TRUE(LogHas(sent, "玩家001", "你好%s%n")) << sent["chatLog"];  // shown as typed
    // Enter on an empty input sends nothing.
    Json empty = RunGame(dir, 80, input + "70 key down Enter\n71 key up Enter\n75 key down Enter\n76 key up Enter\n");
    EXPECT_EQ(empty["chatLog"].size(), sent["chatLog"].size());
    EXPECT_FALSE(empty["interface"]["chatFocused"].get<bool>());
    fs::remove_all(dir);
}

TEST(ItemsRun, TheChatSliderIsDraggedAlongItsTrackAndTheWheelScrollsTheLog) {
    auto dir = TempDir("chat_slider");
    std::string main;
    for (int i = 1; i <= 30; ++i) main += "系统消息(\"第 " + std::to_string(i) + " 条\")\n";
    const std::string opts = "--data " + DataWithMain(dir, main).string();
    // Pressed at the slider (at the bottom: the newest lines), dragged to
    // the top of the track, then to its middle, let go, and the pointer
    // moved on: the log stays where the slider was left.
    Json top = RunGame(dir, 28, "20 mouse 34 540\n21 button left down\n25 mouse 34 470\n", opts);
    const int maxScroll = static_cast<int>(top["chatLog"].size()) - ChatLog::kVisibleLines;
    ASSERT_GT(maxScroll, 20);
    EXPECT_EQ(top["interface"]["chatScroll"], maxScroll);
    Json middle = RunGame(dir, 45,
                          "20 mouse 34 540\n21 button left down\n25 mouse 34 470\n30 mouse 34 515\n"
                          "35 button left up\n40 mouse 34 480\n",
                          opts);
    const int half = middle["interface"]["chatScroll"];
    EXPECT_NEAR(half, maxScroll / 2, 1);
    EXPECT_FALSE(middle["chatLog"].empty());
    // A press elsewhere in the chat box does not move it; the wheel over the box does.
    Json wheel = RunGame(dir, 45, "20 mouse 200 520\n21 button left down\n25 mouse 200 470\n30 button left up\n"
                                  "35 wheel 3\n", opts);
    EXPECT_EQ(wheel["interface"]["chatScroll"], 3);
}

}  // namespace
