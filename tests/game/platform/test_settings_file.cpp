// settings.json: a round trip of every field, a damaged file, a hand-edited
// one (the valid part kept), and where the file lives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "core/user_folders.h"
#include "platform/settings_file.h"

namespace fs = std::filesystem;

namespace {

fs::path Scratch(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("lumo_settings_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void Write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

TEST(SettingsFile, EveryFieldSurvivesARoundTripThroughTheFile) {
    GameSettings s;
    ASSERT_TRUE(s.keys.Bind(Action::Jump, 0, ' ').ok);
    ASSERT_TRUE(s.keys.Bind(Action::Jump, 1, 'X').ok);
    ASSERT_TRUE(s.keys.Bind(Action::SystemMenu, 0, 121).ok);
    ASSERT_TRUE(s.keys.Bind(Action::Cancel, 0, 8).ok);
    s.keys.Clear(Action::ShowNames, 0);
    s.musicVolume = 35;
    s.effectVolume = 0;
    s.muteOnFocusLoss = false;
    s.fullscreen = true;
    s.windowScale = WindowScale::k1_5;
    s.vsync = false;
    s.window = WindowRect{-40, 120, 1024, 768};
    ASSERT_FALSE(s == GameSettings{});

    const fs::path dir = Scratch("round_trip");
    const std::string path = settings_file::PathIn(dir.string());
    ASSERT_EQ(settings_file::Save(path, s), "");
    const SettingsLoad back = settings_file::Load(path);
    EXPECT_TRUE(back.found);
    EXPECT_EQ(back.problem, "");
    EXPECT_TRUE(back.settings == s);
    EXPECT_EQ(back.settings.keys.KeysOf(Action::Jump), (KeyBindings::Keys{' ', 'X'}));
    // Keys are stored by name, readable by hand.
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\"Jump\": [\n      \"Space\",\n      \"X\"\n    ]"), std::string::npos) << text;

    // No file: the defaults, not found, nothing to report.
    const SettingsLoad none = settings_file::Load((dir / "missing.json").string());
    EXPECT_FALSE(none.found);
    EXPECT_TRUE(none.settings == GameSettings{});
    EXPECT_EQ(none.problem, "");
}

TEST(SettingsFile, ADamagedFileGivesTheDefaultsAndSaysSo) {
    for (const char* text : {"{\"musicVolume\": 40,", "", "[1, 2]", "\xff\xfe garbage", "null"}) {
        const SettingsLoad l = settings_file::FromJson(text);
        EXPECT_TRUE(l.settings == GameSettings{}) << text;
        EXPECT_NE(l.problem, "") << text;
    }
    // A file cut short on the disk reads the same way.
    const fs::path dir = Scratch("damaged");
    Write(dir / "settings.json", "{\"keys\": {\"Jump\": [\"J\"");
    const SettingsLoad l = settings_file::Load((dir / "settings.json").string());
    EXPECT_TRUE(l.found);
    EXPECT_NE(l.problem, "");
    EXPECT_TRUE(l.settings == GameSettings{});
}

TEST(SettingsFile, AHandEditedFileKeepsItsValidPart) {
    const SettingsLoad l = settings_file::FromJson(R"({
        "format": 1,
        "musicVolume": 150, "effectVolume": 40, "muteOnFocusLoss": "yes",
        "windowScale": "2", "vsync": false, "fullscreen": 1,
        "window": {"x": 10, "y": 20, "w": 0, "h": 600},
        "keys": {"Jump": ["J", "Nonsense"], "Attack": ["J"], "PickUp": ["Z"], "Fly": ["K"],
                 "Quit": "Esc", "Enter": ["Enter"], "Confirm": ["Enter"]}
    })");
    EXPECT_NE(l.problem, "");
    const GameSettings& s = l.settings;
    EXPECT_EQ(s.musicVolume, 100);      // out of range: default
    EXPECT_EQ(s.effectVolume, 40);
    EXPECT_TRUE(s.muteOnFocusLoss);     // wrong type: default
    EXPECT_EQ(s.windowScale, WindowScale::k2);
    EXPECT_FALSE(s.vsync);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_EQ(s.window.w, 0);           // a window of no width is no window
    // J goes to the jump (first in action order); the attack, refused J,
    // falls back on its default Z, so the pick-up's Z is a duplicate and
    // the pick-up keeps its C.
    EXPECT_EQ(s.keys.KeysOf(Action::Jump), (KeyBindings::Keys{'J', 0}));
    EXPECT_EQ(s.keys.KeysOf(Action::Attack), (KeyBindings::Keys{'Z', 0}));
    EXPECT_EQ(s.keys.KeysOf(Action::PickUp), (KeyBindings::Keys{'C', 0}));
    EXPECT_EQ(s.keys.ActionOfKey('X', Action::Jump), Action::Count);  // the jump's old key is free
    EXPECT_EQ(s.keys.KeysOf(Action::Quit), (KeyBindings::Keys{27, 0}));  // not a list: default
    EXPECT_EQ(s.keys.KeysOf(Action::Confirm), (KeyBindings::Keys{13, 0}));
    EXPECT_EQ(s.keys.KeysOf(Action::WalkLeft), (KeyBindings::Keys{37, 0}));  // left out: default
}

TEST(SettingsFile, TheFolderFollowsXdgConfigHomeAndTheOverride) {
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = oldConfig ? oldConfig : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(user_folders::ConfigFolder(""), "/tmp/cfg/lumo-rpg");
    EXPECT_EQ(user_folders::ConfigFolder("/x/y"), "/x/y");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // invalid: the home folder's
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(user_folders::ConfigFolder(""), std::string(home) + "/.config/lumo-rpg");
    }
    if (oldConfig) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
