// The settings page through the real program: opened with its key, a
// binding changed by a click and a key, a duplicate refused, the music
// turned down (as the mixer hears it), closed with Esc without ending the
// game; the next start finds it all again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "run_support.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;

// Jump's first key box, Attack's, and the music's "-".
constexpr const char* kPageInput = R"(60 key down F10
61 key up F10
70 mouse 238 199
71 button left down
72 button left up
80 key down J
81 key up J
90 mouse 191 433
91 button left down
92 button left up
93 button left down
94 button left up
100 mouse 238 221
101 button left down
102 button left up
110 key down J
111 key up J
140 key down Esc
141 key up Esc
150 key down J
151 key up J
)";

Json RunWith(const fs::path& dir, const fs::path& config, const std::string& input, long frames,
             const std::string& extra = "") {
    fs::create_directories(dir);
    std::ofstream(dir / "input.txt") << input;
    const std::string args = "--headless --seed 1 --frames " + std::to_string(frames) + " --data " +
                             (fs::path(LUMO_BIN_DIR) / "data").string() + " --config " + config.string() +
                             " --input " + (dir / "input.txt").string() + " --dump-state " +
                             (dir / "s.json").string() + " " + extra;
    EXPECT_EQ(run_support::RunProgram(dir, args), 0) << ReadAll(dir / "out.txt");
    return Json::parse(ReadAll(dir / "s.json"), nullptr, false);
}

TEST(SettingsPageRun, ClicksAndKeysChangeTheSettingsAndTheNextStartFindsThem) {
    const fs::path dir = run_support::TempDir("settings_page", "clicks");
    const fs::path config = dir / "config";
    const fs::path shot = dir / "page.png";
    const Json s = RunWith(dir / "first", config, kPageInput, 160, "--screenshot 125:" + shot.string());
    ASSERT_FALSE(s.is_discarded());
    // Esc closed the page and did not end the game.
    EXPECT_EQ(s["frame"], 160);
    EXPECT_FALSE(s["settingsPage"]["open"].get<bool>());
    EXPECT_EQ(s["settingsPage"]["message"], "J 已用于「跳跃」，未更改。");
    EXPECT_EQ(s["settings"]["keys"]["Jump"], "J");
    EXPECT_EQ(s["settings"]["keys"]["Attack"], "Z");
    EXPECT_EQ(s["settings"]["musicVolume"], 80);
    // The music channel (played at 80) at 80 % of it, as the mixer applies it.
    EXPECT_EQ(s["settings"]["musicMixerVolume"], 80 * 80 * 128 / 10000);
    // J jumps now (pressed at 150).
    EXPECT_NE(s["player"]["jumping"], 0);
    EXPECT_GT(ReadAll(shot).size(), 1000u);

    // The next start reads the file the page wrote.
    const Json again = RunWith(dir / "second", config, "", 30);
    EXPECT_EQ(again["settings"]["problem"], "");
    EXPECT_EQ(again["settings"]["keys"]["Jump"], "J");
    EXPECT_EQ(again["settings"]["musicVolume"], 80);
    EXPECT_EQ(again["settings"]["writes"], 0);
}

}  // namespace
