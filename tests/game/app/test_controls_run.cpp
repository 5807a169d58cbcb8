// Controls through the real program: the adventure played with a gamepad
// ends as the keyboard's, dialogs chosen by keys, a settings file's keys,
// a damaged settings file, and typing in the chat.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;

fs::path Adventure() {
    const char* testData = std::getenv("LUMO_TEST_DATA");
    return testData ? fs::path(testData) / "game" / "adventure.txt" : fs::path();
}

// The adventure's keys as a gamepad plays them: walking right with the
// left stick, left and up with the d-pad, A jumps, X attacks, B picks up.
std::string AsGamepad(const std::string& keyboard) {
    std::istringstream in(keyboard);
    std::ostringstream out;
    const std::regex key(R"(^(\d+) key (down|up) (\w+)(.*)$)");
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        if (!std::regex_match(line, m, key)) {
            out << line << "\n";
            continue;
        }
        const std::string f = m[1], dir = m[2], k = m[3];
        const bool down = dir == "down";
        if (k == "Right") out << f << " pad axis LeftX " << (down ? 30000 : 0) << "\n";
        else if (k == "Left") out << f << " pad Left " << dir << "\n";
        else if (k == "Up") out << f << " pad axis LeftY " << (down ? -30000 : 0) << "\n";
        else if (k == "X") out << f << " pad A " << dir << "\n";
        else if (k == "Z") out << f << " pad X " << dir << "\n";
        else if (k == "C") out << f << " pad B " << dir << "\n";
        else ADD_FAILURE() << "a key the gamepad version has no button for: " << line;
    }
    return out.str();
}

std::string Data() { return test_dirs::Pack(); }

Json RunGame(const fs::path& dir, const std::string& input, long frames, const std::string& extra = "") {
    fs::create_directories(dir);
    std::ofstream(dir / "input.txt") << input;
    const std::string args = "--headless --no-render --seed 1 --frames " + std::to_string(frames) + " --data " + Data() +
                             " --input " + (dir / "input.txt").string() + " --dump-state " + (dir / "s.json").string() +
                             " " + extra;
    EXPECT_EQ(run_support::RunProgram(dir, args), 0) << ReadAll(dir / "out.txt");
    return Json::parse(ReadAll(dir / "s.json"), nullptr, false);
}

int CountLines(const Json& s, const std::string& text) {
    int n = 0;
    for (const Json& line : s["chatLog"]) n += line["text"].get<std::string>().find(text) != std::string::npos;
    return n;
}

TEST(ControlsRun, TheAdventurePlayedWithAGamepadEndsAsTheKeyboardsDoes) {
    ASSERT_TRUE(fs::is_regular_file(Adventure()));
    const std::string keyboard = ReadAll(Adventure());
    const fs::path dir = run_support::TempDir("controls", "pad_adventure");
    const Json k = RunGame(dir / "keyboard", keyboard, 2080);
    const Json p = RunGame(dir / "pad", AsGamepad(keyboard), 2080);
    ASSERT_FALSE(k.is_discarded());
    ASSERT_FALSE(p.is_discarded());
    // Walked, jumped, fought, picked up: the quest handed in, level 2.
    EXPECT_EQ(p["player"]["level"], 2);
    EXPECT_EQ(p["player"]["gold"], 96);
    EXPECT_EQ(p["map"]["name"], "新手村1.Wdm");
    EXPECT_EQ(p, k);
}

TEST(ControlsRun, ADialogIsChosenByKeysAndTheKeysDoNothingElseMeanwhile) {
    // The village head's dialog opened with the mouse (as the adventure
    // does), then its first choice picked by the keyboard's Down and Enter,
    // or the pad's d-pad and A.
    const std::string open = "30 mouse 690 470\n31 button left down\n32 button left up\n";
    const std::string byMouse = open + "40 mouse 70 175\n41 button left down\n42 button left up\n";
    const std::string byKeys = open + "40 key down Down\n41 key up Down\n44 key down Enter\n45 key up Enter\n";
    const std::string byPad = open + "40 pad Down down\n41 pad Down up\n44 pad A down\n45 pad A up\n";
    const fs::path dir = run_support::TempDir("controls", "dialog_keys");
    const Json m = RunGame(dir / "mouse", byMouse, 70);
    const Json k = RunGame(dir / "keys", byKeys, 70);
    const Json p = RunGame(dir / "pad", byPad, 70);
    for (const Json* s : {&k, &p}) {
        // The quest was taken as by the click...
        EXPECT_EQ((*s)["quests"], m["quests"]);
        EXPECT_EQ((*s)["npcStates"], m["npcStates"]);
        EXPECT_EQ((*s)["dialog"]["prompt"], m["dialog"]["prompt"]);
        EXPECT_EQ((*s)["dialog"]["open"], 1);
        // ... and neither did Enter open the chat nor A jump.
        EXPECT_FALSE((*s)["interface"]["chatFocused"].get<bool>());
        EXPECT_EQ((*s)["player"]["y"], m["player"]["y"]);
        EXPECT_EQ((*s)["player"]["jumping"], m["player"]["jumping"]);
    }
    EXPECT_NE(m["quests"], Json::parse("[0,0,0,0,0,0,0,0,0,0]"));
}

TEST(ControlsRun, TheSettingsFilesKeysDriveTheGameAndTypingActsAsNoKey) {
    const fs::path dir = run_support::TempDir("controls", "settings_keys");
    const fs::path config = dir / "config";
    fs::create_directories(config);
    std::ofstream(config / "settings.json") << R"({"keys": {"Jump": ["J"], "Attack": ["K"]}, "musicVolume": 30})";
    const std::string cfg = "--config " + config.string();
    // Each run ends 10 frames after its key, in mid-air if it jumped.
    const Json byX = RunGame(dir / "x", "100 key down X\n101 key up X\n", 110, cfg);
    const Json byJ = RunGame(dir / "j", "100 key down J\n101 key up J\n", 110, cfg);
    // Typing "jk" into the chat: its keys act as no action.
    const Json typed = RunGame(dir / "typed",
                           "90 key down Enter\n91 key up Enter\n"
                           "100 key down J\n100 text \"j\"\n101 key up J\n"
                           "102 key down K\n102 text \"k\"\n103 key up K\n",
                           110, cfg);
    EXPECT_EQ(byJ["settings"]["problem"], "");
    EXPECT_EQ(byJ["settings"]["keys"]["Jump"], "J");
    EXPECT_EQ(byJ["settings"]["musicVolume"], 30);
    EXPECT_EQ(byJ["settings"]["writes"], 0);  // nothing changed: nothing written
    EXPECT_EQ(byX["player"]["jumping"], 0);
    EXPECT_NE(byJ["player"]["jumping"], 0);
    EXPECT_LT(byJ["player"]["y"].get<double>(), byX["player"]["y"].get<double>());
    EXPECT_TRUE(typed["interface"]["chatFocused"].get<bool>());
    EXPECT_EQ(typed["interface"]["chatText"], "jk");
    EXPECT_EQ(typed["player"]["jumping"], 0);
    EXPECT_EQ(typed["player"]["y"], byX["player"]["y"]);
    EXPECT_EQ(typed["player"]["state"], byX["player"]["state"]);  // no attack either
}

TEST(ControlsRun, ADamagedSettingsFileIsToldOnceAndTheDefaultsPlay) {
    const fs::path dir = run_support::TempDir("controls", "damaged_settings");
    const fs::path config = dir / "config";
    fs::create_directories(config);
    std::ofstream(config / "settings.json") << R"({"keys": {"Jump": ["X"]}, "musicVolume": "loud",)";
    const Json s = RunGame(dir / "run", "100 key down X\n101 key up X\n", 200, "--config " + config.string());
    EXPECT_NE(s["settings"]["problem"], "");
    EXPECT_EQ(CountLines(s, "设置文件有误"), 1) << s["chatLog"];
    EXPECT_EQ(s["settings"]["keys"]["Jump"], "X");
    EXPECT_EQ(s["settings"]["musicVolume"], 100);
    // The damaged file is left as it was until a setting changes.
    EXPECT_EQ(ReadAll(config / "settings.json"), R"({"keys": {"Jump": ["X"]}, "musicVolume": "loud",)");
}

}  // namespace
