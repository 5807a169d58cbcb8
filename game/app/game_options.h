#pragma once
// The game's command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ScreenshotRequest {
    long frame = 0;
    std::string path;  // UTF-8
};

struct GameOptions {
    std::string dataDir;            // empty: "data" beside the program
    bool headless = false;          // offscreen video, dummy audio, fixed 1/60 s delta
    bool noRender = false;          // with headless: draw no pixels but on the screenshot frames
    long frames = -1;               // > 0: run this many frames, then exit 0
    std::string inputFile;          // scripted input, see input_script.h
    std::vector<ScreenshotRequest> screenshots;
    std::string dumpStatePath;      // write the state as JSON at exit
    std::optional<std::uint32_t> seed;
    std::string mapFile;            // start on this map file (UTF-8 path) instead of the first map
    std::string saveDir;            // the saves folder (empty: the user's data folder)
    std::string loadSlot;           // start from this save slot ("1" "2" "3" "quick" "auto")
    bool title = false;             // show the title screen (headless runs skip it otherwise)
    std::string configDir;          // the settings folder (empty: the user's config folder)
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    GameOptions options;
    std::string error;  // empty when the line was understood
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);  // args without the program name
ParsedCommandLine ParseCommandLine(int argc, char** argv);

// The text printed by --help.
std::string UsageText();

// The data folder when --data names none: "data" beside the program, else
// an installed game's "<prefix>/share/lumo-rpg/data", else "data" beside the
// program (reported missing at start).
std::string FindDataFolder(const std::string& programFolder);
