// The interface stack in the running program: whatever is drawn on top
// takes the click. Each pair of overlapping layers gets one click and a
// check of which one acted (dialog over the item window, dialog over the
// quest window, the trade window over the world, the tooltip over the
// cells), and the pictures are checked where a fix must be seen: a refusal
// banner over the trade view, the blinking frame of the matching equipment
// cell, the chat lines inside their frame, the windows' buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "screen_picture.h"
#include "shared/gbk.h"
#include "ui/chat_log.h"
#include "ui/dialog_box.h"
#include "ui/game_interface.h"
#include "ui/quest_window.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;
fs::path TempDir(const std::string& name) { return run_support::TempDir("interface", name); }

// The bundled Main.lua with `extraUtf8` run after it.
fs::path DataWithExtra(const fs::path& dir, const std::string& extraUtf8) {
    const fs::path data = dir / "data";
    fs::copy(test_dirs::Pack(), data, fs::copy_options::recursive);
    std::ofstream(data / gbk::ToUtf8(gbk::Lit("脚本")) / "Main.lua", std::ios::app | std::ios::binary)
        << "\n" << gbk::FromUtf8(extraUtf8) << "\n";
    return data;
}

Json RunGame(const fs::path& dir, int frames, const std::string& input, const std::string& extra) {
    const std::string dump = run_support::PlayInput(dir, frames, input, extra);
    return dump.empty() ? Json::object() : Json::parse(dump);
}

// A left (or right) click at screen (x, y): the pointer moves at `frame`,
// the button goes down and up in the next two frames.
std::string Click(int frame, float x, float y, const char* button = "left") {
    const std::string pos = std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y));
    return std::to_string(frame) + " mouse " + pos + "\n" + std::to_string(frame + 1) + " button " + button +
           " down\n" + std::to_string(frame + 2) + " button " + button + " up\n";
}
std::string Move(int frame, float x, float y) {
    return std::to_string(frame) + " mouse " + std::to_string(static_cast<int>(x)) + " " +
           std::to_string(static_cast<int>(y)) + "\n";
}
// The middle of a 30 x 30 cell.
std::string ClickCell(int frame, float x, float y) { return Click(frame, x + 15, y + 15); }
std::string ClickBag(int frame, int slot) {
    return ClickCell(frame, GameInterface::BagCellX(slot), GameInterface::BagCellY(slot));
}
std::string ClickEquipment(int frame, int slot) {
    return ClickCell(frame, GameInterface::EquipmentCellX(slot), GameInterface::EquipmentCellY(slot));
}
// The right panel's buttons: 0 状态, 1 物品, 2 技能, 3 任务.
std::string ClickPanel(int frame, int button) {
    constexpr float kY[5] = {170, 205, 235, 265, 295};
    return Click(frame, 770, kY[button] + 10);
}
// The village head stands at screen (690, 470) on the first map.
std::string TalkToVillageHead(int frame) { return Click(frame, 690, 470); }
// The first choice row of the village head's greeting (two prompt lines).
std::string ClickFirstChoice(int frame) { return Click(frame, DialogBox::kChoiceX + 10, DialogBox::kChoiceY + 25); }

constexpr int kRedPotion = 17, kHelmet = 5, kSword = 2;
constexpr const char* kHelmetOn = "装备物品(\"头盔\", \"皮帽\")\n增加任务(1)\n";

TEST(InterfaceRun, TheDialogOverTheItemWindowTakesItsClicksAndTheHiddenCellsNone) {
    auto dir = TempDir("dialog_items");
    const std::string opts = "--data " + DataWithExtra(dir, kHelmetOn).string();
    // The dialog opens, then the item window beside it; the helmet's cell
    // lies under the dialog.
    const std::string input = TalkToVillageHead(30) + ClickPanel(40, 1) +
                              ClickEquipment(50, 1) +  // hidden under the dialog: nothing
                              ClickBag(60, 1) +        // a potion into the hand
                              ClickFirstChoice(70) +   // the choice is taken, the potion stays in the hand
                              Click(80, DialogBox::kCloseX + 10, DialogBox::kCloseY + 10);  // and the close button
    Json s = RunGame(dir, 78, input, opts + " --screenshot 69:" + (dir / "dialog_items.png").string());
    EXPECT_EQ(s["dialog"]["open"], 1);
    EXPECT_EQ(s["dialog"]["pendingFunction"], "村长_接任务");
    EXPECT_EQ(s["equipment"][0], kHelmet);  // the hidden cell kept its helmet
    EXPECT_TRUE(s["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(s["heldItem"]["item"], kRedPotion);
    EXPECT_EQ(s["heldItem"]["source"], 1);
    EXPECT_EQ(s["interfaceStack"]["lastLeftPress"], "dialog");
    for (const Json& g : s["groundItems"]) EXPECT_NE(g["item"], kRedPotion) << g;

    Json closed = RunGame(dir, 90, input, opts);
    EXPECT_EQ(closed["dialog"]["open"], 0);
    EXPECT_TRUE(closed["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(closed["heldItem"]["item"], kRedPotion);
    for (const Json& g : closed["groundItems"]) EXPECT_NE(g["item"], kRedPotion) << g;
    fs::remove_all(dir);
}

TEST(InterfaceRun, AQuestRowUnderTheDialogIsNotSelected) {
    auto dir = TempDir("dialog_quests");
    const std::string opts = "--data " + DataWithExtra(dir, kHelmetOn).string();
    const float rowX = QuestWindow::kX + QuestWindow::kListX + 5, rowY = QuestWindow::kY + QuestWindow::kListY + 5;
    ASSERT_TRUE(DialogBox::kX + DialogBox::kPictureWidth > rowX);  // the row lies under the dialog
    const std::string input = TalkToVillageHead(30) + ClickPanel(40, 3) + Click(50, rowX, rowY);
    Json s = RunGame(dir, 60, input, opts);
    EXPECT_EQ(s["hud"]["openWindow"], "任务窗口");
    EXPECT_EQ(s["dialog"]["open"], 1);
    EXPECT_EQ(s["questWindow"]["selected"], 0);
    EXPECT_EQ(s["questWindow"]["hoveredRow"], 0);
    EXPECT_EQ(s["interfaceStack"]["lastLeftPress"], "dialog");
    // Closed, the dialog no longer covers it: the same click selects.
    Json open = RunGame(dir, 75, input + Click(60, DialogBox::kCloseX + 10, DialogBox::kCloseY + 10) +
                                     Click(68, rowX, rowY), opts);
    EXPECT_EQ(open["dialog"]["open"], 0);
    EXPECT_EQ(open["questWindow"]["selected"], 1);
    fs::remove_all(dir);
}

// "金币不足!!" in yellow over the item window of the trade view: yellow
// pixels where the window is.
int YellowOverTheItemWindow(const ScreenPicture& p) {
    return p.Count(300, 150, 740, 240, [](std::uint32_t c) { return Red(c) > 200 && Green(c) > 200 && Blue(c) < 90; });
}

TEST(InterfaceRun, ARefusalBannerShowsOverTheTradeViewWhichKeepsItsClicksFromTheWorld) {
    auto dir = TempDir("trade");
    const std::string opts =
        "--data " + DataWithExtra(dir, "增加商店物品(\"铁剑\", 1)\n打开商店()\n").string();
    const float shopX = GameInterface::ShopCellX(1), shopY = GameInterface::ShopCellY(1);
    // The sword (300 gold) taken from the shop and put into an empty bag
    // cell with no gold: refused with the banner.
    // (After the welcome banner has gone.)
    std::string input = ClickCell(70, shopX, shopY) + ClickBag(80, 9) + Move(84, 600, 420);
    const fs::path shot = dir / "refused.png";
    Json refused = RunGame(dir, 90, input, opts + " --screenshot 86:" + shot.string());
    ASSERT_EQ(refused["banners"].size(), 1u) << refused["banners"];
    EXPECT_EQ(refused["banners"][0]["text"], "金币不足!!");
    ScreenPicture picture(shot.string());
    ASSERT_FALSE(picture.empty());
    EXPECT_GT(YellowOverTheItemWindow(picture), 40);

    // A right press anywhere puts the sword back; a potion taken from the
    // bag and clicked on the trade window's title stays in the hand; a
    // click on the world below drops it.
    input += Click(90, 400, 300, "right") + ClickBag(100, 1) + Click(110, 100, 100) + Click(120, 150, 450);
    Json onTrade = RunGame(dir, 118, input, opts);
    EXPECT_EQ(onTrade["shop"][0], kSword);
    EXPECT_TRUE(onTrade["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(onTrade["heldItem"]["item"], kRedPotion);
    EXPECT_EQ(onTrade["interfaceStack"]["lastLeftPress"], "trade");
    Json dropped = RunGame(dir, 130, input, opts);
    EXPECT_FALSE(dropped["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(dropped["interfaceStack"]["lastLeftPress"], "world");
    bool onGround = false;
    for (const Json& g : dropped["groundItems"]) onGround = onGround || g["item"] == kRedPotion;
    EXPECT_TRUE(onGround) << dropped["groundItems"];
    fs::remove_all(dir);
}

TEST(InterfaceRun, TheTooltipLeavesTheClickToTheCellAndShowsOnlyForWhatIsOnTop) {
    auto dir = TempDir("tooltip");
    const std::string opts = "--data " + DataWithExtra(dir, kHelmetOn).string();
    // The pointer on the bag's last column: the tooltip stays left of the
    // right panel and on the screen, and a click there takes the cell's item.
    const float x = GameInterface::BagCellX(6) + 15, y = GameInterface::BagCellY(6) + 15;
    std::string input = ClickPanel(10, 1) + Move(20, x, y);
    Json hover = RunGame(dir, 25, input, opts + " --screenshot 24:" + (dir / "tooltip.png").string());
    const Json& tip = hover["interface"]["tooltip"];
    ASSERT_NE(tip["item"], 0) << tip;
    EXPECT_LE(tip["x"].get<double>() + tip["width"].get<double>(), 750.0) << tip;
    EXPECT_GE(tip["x"].get<double>(), 0.0);
    EXPECT_LE(tip["y"].get<double>() + tip["height"].get<double>(), 600.0);
    // Sized to its text: a potion's few lines make a short box.
    EXPECT_LT(tip["height"].get<double>(), 100.0) << tip;
    input += Click(25, x, y);
    Json taken = RunGame(dir, 30, input, opts);
    EXPECT_TRUE(taken["heldItem"]["holding"].get<bool>());
    EXPECT_EQ(taken["heldItem"]["source"], 6);

    // A cell hidden under the dialog shows no tooltip.
    const std::string hidden = TalkToVillageHead(10) + ClickPanel(20, 1) +
                               Move(30, GameInterface::EquipmentCellX(1) + 15, GameInterface::EquipmentCellY(1) + 15);
    Json under = RunGame(dir, 35, hidden, opts);
    EXPECT_EQ(under["interfaceStack"]["hovered"], "dialog");
    EXPECT_EQ(under["interface"]["tooltip"]["item"], 0);
    fs::remove_all(dir);
}

TEST(InterfaceRun, TheMatchingEquipmentCellBlinksWithABrightFrame) {
    auto dir = TempDir("blink");
    const std::string opts = "--data " + DataWithExtra(dir, kHelmetOn).string();
    // The helmet taken off: its empty cell is the one that matches. The
    // pictures are taken once the map's name has faded.
    const std::string input = ClickPanel(10, 1) + ClickEquipment(20, 1) + Move(24, 450, 425);
    std::string shots;
    for (int f = 300; f < 320; f += 5)
        shots += " --screenshot " + std::to_string(f) + ":" + (dir / (std::to_string(f) + ".png")).string();
    Json s = RunGame(dir, 320, input, opts + shots);
    ASSERT_EQ(s["heldItem"]["item"], kHelmet);
    const int cx = static_cast<int>(GameInterface::EquipmentCellX(1)), cy = static_cast<int>(GameInterface::EquipmentCellY(1));
    int low = 255, high = 0;
    for (int f = 300; f < 320; f += 5) {
        ScreenPicture p((dir / (std::to_string(f) + ".png")).string());
        ASSERT_FALSE(p.empty());
        // The frame's left strip, against the empty cell inside it and the
        // window outside it.
        const int frame = p.Brightness(cx - 2, cy + 15);
        EXPECT_GE(frame - p.Brightness(cx, cy + 15), 100) << f;
        EXPECT_GE(frame - p.Brightness(cx - 4, cy + 15), 100) << f;
        low = std::min(low, frame);
        high = std::max(high, frame);
    }
    EXPECT_GE(high - low, 100);  // the two phases of the blink
    fs::remove_all(dir);
}

TEST(InterfaceRun, ChatLinesStayInsideTheFrameAndAWrappedLineShowsItsLabelOnce) {
    auto dir = TempDir("chat");
    std::string extra;
    for (int i = 1; i <= 12; ++i) extra += "系统消息(\"第 " + std::to_string(i) + " 条\")\n";
    const fs::path few = dir / "few.png", many = dir / "many.png";
    Json s = RunGame(dir, 20, "", "--screenshot 19:" + few.string());
    const std::string opts = "--data " + DataWithExtra(dir, extra).string();
    RunGame(dir, 20, "", opts + " --screenshot 19:" + many.string());
    ScreenPicture a(few.string()), b(many.string());
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    // Under the frame's bottom edge (y 560) the bottom bar looks the same
    // however many lines the log holds.
    int differing = 0;
    for (int y = 561; y < 580; ++y)
        for (int x = 40; x < 400; ++x) differing += a.At(x, y) != b.At(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    // The newest line is the last one inside the frame.
    const float lastY = ChatLog::kFirstLineY + ChatLog::kLineHeight * (ChatLog::kVisibleLines - 1);
    EXPECT_LE(lastY + ChatLog::kLineHeight, 560.0f);

    // Main.lua's hint wraps: its label is written on its first line only.
    ASSERT_GE(s["chatLog"].size(), 3u);
    EXPECT_FALSE(s["chatLog"][1].contains("continued"));
    EXPECT_TRUE(s["chatLog"][2]["continued"].get<bool>());
    auto labelPixels = [&](int line) {
        const int y = static_cast<int>(ChatLog::kFirstLineY + ChatLog::kLineHeight * static_cast<float>(line));
        return a.Count(static_cast<int>(ChatLog::kLabelX), y, 95, y + 13, [](std::uint32_t c) {
            return (Red(c) > 180 && Green(c) < 90 && Blue(c) < 90) || (Red(c) < 90 && Green(c) > 180 && Blue(c) > 180);
        });
    };
    EXPECT_GT(labelPixels(1), 10);
    EXPECT_EQ(labelPixels(2), 0);
    fs::remove_all(dir);
}

// The help button: a blue round "?" at the window's top right.
int BluePixels(const ScreenPicture& p, float x, float y) {
    return p.Count(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + 20, static_cast<int>(y) + 20,
                   [](std::uint32_t c) { return Blue(c) > 150 && Red(c) < 140; });
}

TEST(InterfaceRun, EveryWindowDrawsItsCloseAndHelpButtonsAndHelpExplainsIt) {
    auto dir = TempDir("windows");
    struct Case {
        int button;
        const char* shot;
    };
    for (const Case c : {Case{0, "status.png"}, Case{2, "skills.png"}, Case{3, "quests.png"}}) {
        const fs::path shot = dir / c.shot;
        Json s = RunGame(dir, 30, ClickPanel(10, c.button) + Move(20, 600, 500), "--screenshot 25:" + shot.string());
        ScreenPicture p(shot.string());
        ASSERT_FALSE(p.empty());
        const float w = c.button == 3 ? 300 : 240;
        const float helpX = GameInterface::kWindowPicX + w - 51, helpY = GameInterface::kWindowPicY + 8;
        EXPECT_GT(BluePixels(p, helpX, helpY), 60) << c.shot;
        // Its help: a press on "?" shows it, another press puts it away.
        Json help = RunGame(dir, 30, ClickPanel(10, c.button) + Click(20, helpX + 10, helpY + 10), "");
        EXPECT_EQ(help["interface"]["helpShown"], c.button) << c.shot;
        Json away = RunGame(dir, 40, ClickPanel(10, c.button) + Click(20, helpX + 10, helpY + 10) +
                                         Click(30, helpX + 10, helpY + 10), "");
        EXPECT_EQ(away["interface"]["helpShown"], -1) << c.shot;
        // The close button closes it.
        Json closed = RunGame(dir, 30, ClickPanel(10, c.button) + Click(20, helpX + 33, helpY + 10), "");
        EXPECT_EQ(closed["hud"]["openWindow"], "") << c.shot;
    }
    fs::remove_all(dir);
}

}  // namespace
