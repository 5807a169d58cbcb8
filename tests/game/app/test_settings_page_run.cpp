// The settings page through the real program: opened from the system
// window (the right panel's 系统, then 设置), a
// binding changed by a click and a key, a duplicate refused, the music
// turned down (as the mixer hears it), closed with Esc without ending the
// game; the next start finds it all again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

using run_support::ReadAll;

// 系统, 设置; Jump's first key box, Attack's, and the music's "-"; Esc
// back to the system window, whose close button (502, 173) ends it.
constexpr const char* kPageInput = R"(55 mouse 774 309
55 button left down
56 button left up
58 mouse 400 309
58 button left down
59 button left up
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
143 mouse 502 173
143 button left down
144 button left up
150 key down J
151 key up J
)";

Json RunWith(const fs::path& dir, const fs::path& config, const std::string& input, long frames,
             const std::string& extra = "") {
    fs::create_directories(dir);
    std::ofstream(dir / "input.txt") << input;
    const std::string args = "--headless --seed 1 --frames " + std::to_string(frames) + " --data " +
                             test_dirs::Pack() + " --config " + config.string() +
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

// Width and height of a PNG file (0, 0 when it is none).
std::pair<int, int> PngSize(const fs::path& p) {
    const std::string b = ReadAll(p);
    if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
    auto be = [&](std::size_t at) {
        return (static_cast<unsigned char>(b[at]) << 24) | (static_cast<unsigned char>(b[at + 1]) << 16) |
               (static_cast<unsigned char>(b[at + 2]) << 8) | static_cast<unsigned char>(b[at + 3]);
    };
    return {be(16), be(20)};
}

TEST(SettingsPageRun, TheWindowsScaleAndPlaceComeBackAtTheNextStart) {
    // A windowed run (on the offscreen video driver): the screenshot is the
    // window as it shows.
    const fs::path dir = run_support::TempDir("settings_page", "window");
    const fs::path config = dir / "config";
    fs::create_directories(config);
    // The software renderer over a plain window framebuffer keeps the GL
    // driver (and its own allocations) out of the run and the leak check.
    const std::string env =
        "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0";
    auto run = [&](const std::string& name) {
        const fs::path d = dir / name;
        fs::create_directories(d);
        const std::string args = "--frames 20 --data " + test_dirs::Pack() + " --config " +
                                 config.string() + " --screenshot 19:" + (d / "shot.png").string();
        EXPECT_EQ(run_support::RunProgram(d, args, env), 0) << ReadAll(d / "out.txt");
        return PngSize(d / "shot.png");
    };
    std::ofstream(config / "settings.json") << R"({"windowScale": "1.5"})";
    EXPECT_EQ(run("scaled"), (std::pair<int, int>{1200, 900}));
    Json kept = Json::parse(ReadAll(config / "settings.json"), nullptr, false);
    EXPECT_EQ(kept["window"]["w"], 1200);
    EXPECT_EQ(kept["window"]["h"], 900);

    // "last": the size and place the window had.
    std::ofstream(config / "settings.json", std::ios::trunc)
        << R"({"windowScale": "last", "window": {"x": 10, "y": 20, "w": 1000, "h": 700}})";
    EXPECT_EQ(run("last"), (std::pair<int, int>{1000, 700}));
    kept = Json::parse(ReadAll(config / "settings.json"), nullptr, false);
    EXPECT_EQ(kept["window"], Json::parse(R"({"x": 10, "y": 20, "w": 1000, "h": 700})"));
    EXPECT_EQ(kept["windowScale"], "last");
}

TEST(SettingsPageRun, TheSoundIsMutedInTheBackgroundWhenTheOptionIsOn) {
    const fs::path dir = run_support::TempDir("settings_page", "focus_mute");
    const fs::path on = dir / "on_config", off = dir / "off_config";
    fs::create_directories(on);
    fs::create_directories(off);
    std::ofstream(off / "settings.json") << R"({"muteOnFocusLoss": false})";
    const std::string lost = "50 focus lost\n";
    EXPECT_EQ(RunWith(dir / "on", on, lost, 60)["settings"]["musicMixerVolume"], 0);
    EXPECT_EQ(RunWith(dir / "off", off, lost, 60)["settings"]["musicMixerVolume"], 80 * 128 / 100);
    EXPECT_EQ(RunWith(dir / "back", on, lost + "55 focus gained\n", 60)["settings"]["musicMixerVolume"], 80 * 128 / 100);
}

}  // namespace
