// The title screen, the system window, the save-slot list and the question
// box through the real program: clicks and keys from input files, the
// state dump, and the saves folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "run_support.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;
using run_support::ReadAll;

namespace {

// Screen places of the menus' entries (centres).
constexpr int kMenuX = 400;
constexpr int kTitleContinueY = 324, kTitleNewY = 368, kTitleLoadY = 412, kTitleQuitY = 456;
constexpr int kSystemButtonX = 774, kSystemButtonY = 309;  // the right panel's "系统"
constexpr int kSystemSaveY = 221, kSystemLoadY = 265, kSystemTitleY = 353, kSystemQuitY = 397;
constexpr int kRowX = 400, kRowFirstY = 180, kRowStep = 56;
constexpr int kYesX = 340, kNoX = 460, kAnswerY = 372;

std::string Click(int frame, int x, int y) {
    return std::to_string(frame) + " mouse " + std::to_string(x) + " " + std::to_string(y) + "\n" +
           std::to_string(frame) + " button left down\n" + std::to_string(frame + 1) + " button left up\n";
}
std::string Key(int frame, const char* name) {
    return std::to_string(frame) + " key down " + name + "\n" + std::to_string(frame + 1) + " key up " + name + "\n";
}
int Row(int i) { return kRowFirstY + kRowStep * i; }

// A small valid save: level `level` on 新手村2 at `savedAt`.
Json SaveAt(int level, const std::string& savedAt) {
    Json bag = Json::array(), equipment = Json::array(), shop = Json::array(), skills = Json::array(),
         bar = Json::array(), npcs = Json::array();
    const Json empty{{"number", 0}, {"name", ""}};
    for (int i = 0; i < 36; ++i) bag.push_back(empty);
    for (int i = 0; i < 12; ++i) equipment.push_back(empty);
    for (int i = 0; i < 48; ++i) shop.push_back(empty);
    for (int i = 0; i < 10; ++i) skills.push_back({{"number", 0}, {"name", ""}, {"level", 0}, {"key", 0}});
    for (int i = 0; i < 8; ++i) bar.push_back(empty);
    for (int i = 0; i < 6; ++i) npcs.push_back({{"variable", 0}, {"questState", 0}, {"questVariable", 0}});
    const Json status{{"active", false}, {"elapsed", 0.0}, {"duration", 0.0}, {"amountPerTick", 0.0}, {"lastTick", 0.0}};
    return Json{{"format", 1},
                {"gameVersion", "0.0.1"},
                {"savedAt", savedAt},
                {"playSeconds", 3725.0},
                {"player", {{"map", "新手村2.Wdm"}, {"x", 700.0}, {"y", 380.0}, {"ground", 1}, {"facing", 1},
                            {"level", level}, {"experience", 0}, {"gold", 10}, {"hp", 20.0}, {"maxHp", 20.0},
                            {"mp", 500.0}, {"maxMp", 500.0}, {"restTimer", 0.0}, {"regenCounter", 0}}},
                {"poison", status},
                {"curse", status},
                {"doubleExperience", {{"elapsed", 0.0}, {"total", 0.0}, {"multiplier", 1.0}}},
                {"bag", bag},
                {"equipment", equipment},
                {"shop", shop},
                {"skills", skills},
                {"skillBar", bar},
                {"quests", Json::array({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
                {"npcs", npcs},
                {"chat", Json::array()},
                {"mapRandomState", ""}};
}

using run_support::WriteAll;

class MenuRun : public run_support::ProgramRun {
protected:
    // Runs the game with its saves in `saves`; the state dump. `status`
    // receives the exit status.
    Json Run(const std::string& name, const std::string& args, const std::string& input, int* status = nullptr) {
        const std::string text = RunNamed(name, "--save-dir " + saves.string() + " " + args, input, status);
        return text.empty() ? Json() : Json::parse(text);
    }
};

bool ChatHas(const Json& s, const std::string& text) {
    for (const Json& l : s["chatLog"])
        if (l["text"].get<std::string>().find(text) != std::string::npos) return true;
    return false;
}

TEST_F(MenuRun, TheTitleScreenListsTheSavesAndContinuesTheNewest) {
    // An empty folder: only a new game or quitting.
    const Json empty = Run("empty", "--title --frames 10", "");
    ASSERT_TRUE(empty["menus"]["title"].get<bool>());
    EXPECT_EQ(empty["interfaceStack"]["hovered"], "title");
    const Json& entries = empty["menus"]["titleEntries"];
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0]["label"], "继续游戏");
    EXPECT_FALSE(entries[0]["enabled"].get<bool>());
    EXPECT_FALSE(entries[2]["enabled"].get<bool>());
    EXPECT_EQ(empty["menus"]["titleHighlight"], 1);  // 新游戏

    WriteAll(saves / "1.json", SaveAt(6, "2026-05-06 07:08:09").dump());
    WriteAll(saves / "quick.json", SaveAt(7, "2026-06-01 10:00:00").dump());  // the newest
    WriteAll(saves / "2.json", "{\"format\": 1, \"player\"");                  // damaged
    const Json cont = Run("continue", "--title --frames 14", Click(10, kMenuX, kTitleContinueY));
    EXPECT_FALSE(cont["menus"]["title"].get<bool>());
    EXPECT_EQ(cont["saves"]["lastLoaded"], "quick");
    EXPECT_EQ(cont["player"]["level"], 7);
    EXPECT_EQ(cont["map"]["name"], "新手村2.Wdm");
    // The list the title read: level, map name, play time and date of each.
    const Json& slots = cont["menus"]["slots"];
    ASSERT_EQ(slots.size(), 5u);
    EXPECT_EQ(slots[0]["level"], 6);
    EXPECT_EQ(slots[0]["map"], "风铃谷 - 新手村2");
    EXPECT_EQ(slots[0]["savedAt"], "2026-05-06 07:08:09");
    EXPECT_EQ(slots[0]["playSeconds"], 3725.0);
    EXPECT_TRUE(slots[1]["present"].get<bool>());
    EXPECT_FALSE(slots[1]["readable"].get<bool>());
    EXPECT_FALSE(slots[2]["present"].get<bool>());
}

TEST_F(MenuRun, TheLoadListLoadsTheRowPickedByMouseOrKeys) {
    WriteAll(saves / "1.json", SaveAt(6, "2026-05-06 07:08:09").dump());
    WriteAll(saves / "3.json", SaveAt(8, "2026-05-07 07:08:09").dump());
    // 读取进度, then the third row.
    const Json byMouse =
        Run("mouse", "--title --frames 20", Click(10, kMenuX, kTitleLoadY) + Click(14, kRowX, Row(2)));
    EXPECT_EQ(byMouse["saves"]["lastLoaded"], "3");
    EXPECT_EQ(byMouse["player"]["level"], 8);
    EXPECT_FALSE(byMouse["menus"]["title"].get<bool>());
    EXPECT_EQ(byMouse["menus"]["slotList"], "");

    // Keys: with saves there the title lights 继续游戏; Down twice to
    // 读取进度, Enter; in the list the first loadable row is lit, Down
    // skips the empty second, Enter loads the third.
    const Json byKeys = Run("keys", "--title --frames 26",
                            Key(8, "Down") + Key(10, "Down") + Key(12, "Enter") + Key(16, "Down") + Key(20, "Enter"));
    EXPECT_EQ(byKeys["saves"]["lastLoaded"], "3");
    EXPECT_EQ(byKeys["player"]["level"], 8);

    // The back button returns to the title, which still shows.
    const Json back = Run("back", "--title --frames 20", Click(10, kMenuX, kTitleLoadY) + Click(14, 400, 464));
    EXPECT_TRUE(back["menus"]["title"].get<bool>());
    EXPECT_EQ(back["menus"]["slotList"], "");
    EXPECT_EQ(back["saves"]["lastLoaded"], "");
}

TEST_F(MenuRun, TheSystemWindowSavesIntoASlotAndTheWorldWaitsWhileItShows) {
    // Right held from frame 8; the system window opens on 10: the player
    // stops while it shows.
    const std::string walk = "8 key down Right\n";
    const Json open = Run("open", "--frames 30", walk + Click(10, kSystemButtonX, kSystemButtonY));
    ASSERT_TRUE(open["menus"]["system"].get<bool>());
    const Json early = Run("early", "--frames 12", walk + Click(10, kSystemButtonX, kSystemButtonY));
    EXPECT_EQ(open["player"]["x"], early["player"]["x"]);
    EXPECT_EQ(open["saves"]["playSeconds"], early["saves"]["playSeconds"]);

    // 保存进度, the second row: written, announced, the window closed.
    const Json saved = Run("save", "--frames 24",
                           Click(10, kSystemButtonX, kSystemButtonY) + Click(13, kMenuX, kSystemSaveY) +
                               Click(16, kRowX, Row(1)));
    EXPECT_FALSE(saved["menus"]["system"].get<bool>());
    EXPECT_EQ(saved["saves"]["lastSaved"], "2");
    EXPECT_TRUE(fs::is_regular_file(saves / "2.json"));
    EXPECT_TRUE(ChatHas(saved, "已保存到 存档2 ("));
    // The quick and auto rows take no save by hand.
    EXPECT_FALSE(saved["menus"]["slots"].empty());
}

TEST_F(MenuRun, SavingOverASlotAsksFirst) {
    WriteAll(saves / "1.json", SaveAt(6, "2026-05-06 07:08:09").dump());
    const std::string toRow = Click(10, kSystemButtonX, kSystemButtonY) + Click(13, kMenuX, kSystemSaveY) +
                              Click(16, kRowX, Row(0));
    // Down while the question shows moves nothing under it.
    const Json asked = Run("asked", "--frames 20", toRow + Key(18, "Down"));
    EXPECT_EQ(asked["menus"]["question"], "覆盖 存档1 中的存档?");
    EXPECT_EQ(asked["menus"]["slotHighlight"], 0);
    const Json no = Run("no", "--frames 24", toRow + Click(20, kNoX, kAnswerY));
    EXPECT_EQ(no["menus"]["question"], "");
    EXPECT_EQ(no["saves"]["lastSaved"], "");
    EXPECT_EQ(Json::parse(ReadAll(saves / "1.json"))["player"]["level"], 6);
    const Json yes = Run("yes", "--frames 24", toRow + Click(20, kYesX, kAnswerY));
    EXPECT_EQ(yes["saves"]["lastSaved"], "1");
    EXPECT_EQ(Json::parse(ReadAll(saves / "1.json"))["player"]["level"], 1);
}

TEST_F(MenuRun, BackToTitleKeepsTheGameInAutoAndNewGameStartsAfresh) {
    WriteAll(saves / "1.json", SaveAt(6, "2026-05-06 07:08:09").dump());
    // Loaded, then 系统 → 返回标题 (autosave), then 新游戏.
    const std::string input = Click(10, kSystemButtonX, kSystemButtonY) + Click(13, kMenuX, kSystemTitleY);
    const Json atTitle = Run("title", "--load 1 --frames 18", input);
    EXPECT_TRUE(atTitle["menus"]["title"].get<bool>());
    ASSERT_TRUE(fs::is_regular_file(saves / "auto.json"));
    EXPECT_EQ(Json::parse(ReadAll(saves / "auto.json"))["player"]["level"], 6);
    EXPECT_TRUE(atTitle["menus"]["titleEntries"][0]["enabled"].get<bool>());
    // Nothing of the game left behind is drawn over the title (an item in the hand).
    for (const Json& layer : atTitle["interfaceStack"]["layers"]) {
        if (layer["name"] == "held") {
            EXPECT_FALSE(layer["shown"].get<bool>());
        }
    }

    fs::remove(saves / "auto.json");
    const Json fresh = Run("new", "--load 1 --frames 24", input + Click(18, kMenuX, kTitleNewY));
    EXPECT_FALSE(fresh["menus"]["title"].get<bool>());
    EXPECT_EQ(fresh["player"]["level"], 1);
    EXPECT_EQ(fresh["map"]["name"], "新手村1.Wdm");
    EXPECT_LT(fresh["saves"]["playSeconds"].get<double>(), 1.0);
}

TEST_F(MenuRun, QuittingFromTheTitleEndsTheRunAndSavesNothing) {
    int status = -1;
    const Json s = Run("quit", "--title --frames 100", Click(10, kMenuX, kTitleQuitY), &status);
    EXPECT_EQ(status, 0);
    EXPECT_LT(s["frame"].get<long>(), 20);
    EXPECT_FALSE(fs::exists(saves / "auto.json"));
    // From the system window: the game is kept in "auto" as it ends.
    const Json sys = Run("sysquit", "--frames 100",
                         Click(10, kSystemButtonX, kSystemButtonY) + Click(13, kMenuX, kSystemQuitY), &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fs::is_regular_file(saves / "auto.json"));
}

TEST_F(MenuRun, APadDrivesTheTitleAndTheSystemWindowWithoutActingInTheWorld) {
    WriteAll(saves / "1.json", SaveAt(6, "2026-05-06 07:08:09").dump());
    auto pad = [](int frame, const char* button) {
        return std::to_string(frame) + " pad " + button + " down\n" + std::to_string(frame + 1) + " pad " + button +
               " up\n";
    };
    // The title lights 继续游戏; the d-pad's down moves to 新游戏 and A
    // chooses it: a new game, and A jumps no one.
    const Json fresh = Run("title", "--title --frames 14", pad(8, "down") + pad(10, "A"));
    EXPECT_FALSE(fresh["menus"]["title"].get<bool>());
    EXPECT_EQ(fresh["player"]["level"], 1);
    EXPECT_EQ(fresh["player"]["jumping"], 0);
    // Start opens the system window, B closes it.
    const Json open = Run("start", "--frames 13", pad(10, "start"));
    EXPECT_TRUE(open["menus"]["system"].get<bool>());
    const Json closed = Run("back", "--frames 17", pad(10, "start") + pad(14, "B"));
    EXPECT_FALSE(closed["menus"]["system"].get<bool>());
}

}  // namespace
