#include "app/game_options.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include <CLI/CLI.hpp>

#include "core/save_store.h"

namespace {

template <typename T>
bool ParseNumber(const std::string& s, T& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size();
}

// Checks a value and says what was expected; "" when it is good.
std::string CheckFrames(const std::string& v) {
    long n = 0;
    return ParseNumber(v, n) && n >= 1 ? "" : "expected a positive whole number, got '" + v + "'";
}
std::string CheckSeed(const std::string& v) {
    std::uint32_t n = 0;
    return ParseNumber(v, n) ? "" : "expected a whole number from 0 to 4294967295, got '" + v + "'";
}
std::string CheckSlot(const std::string& v) {
    return save_store::IsSlot(v) ? "" : "expected a save slot 1, 2, 3, quick or auto, got '" + v + "'";
}
std::string CheckScreenshot(const std::string& v) {
    std::size_t colon = v.find(':');
    long frame = 0;
    bool ok = colon != std::string::npos && ParseNumber(v.substr(0, colon), frame) && frame >= 1 &&
              colon + 1 < v.size();
    return ok ? "" : "expected FRAME:PATH with FRAME >= 1, got '" + v + "'";
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine r;
    GameOptions& o = r.options;
    std::string frames, seed;
    std::vector<std::string> screenshots;

    CLI::App app{"game", "game"};
    // --help prints the game's own usage text, not the parser's.
    app.set_help_flag();
    app.allow_extras(false);
    app.add_flag("-h,--help", o.help);
    app.add_flag("--version", o.version);
    app.add_flag("--headless", o.headless);
    app.add_flag("--no-render", o.noRender);
    app.add_flag("--title", o.title);
    app.add_option("--data", o.dataDir);
    app.add_option("--input", o.inputFile);
    app.add_option("--dump-state", o.dumpStatePath);
    app.add_option("--map", o.mapFile);
    app.add_option("--save-dir", o.saveDir);
    app.add_option("--config", o.configDir);
    app.add_option("--load", o.loadSlot)->check(CheckSlot, "SLOT");
    app.add_option("--frames", frames)->check(CheckFrames, "N");
    app.add_option("--seed", seed)->check(CheckSeed, "N");
    app.add_option("--screenshot", screenshots)->check(CheckScreenshot, "F:PATH")->take_all();
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        r.error = e.what();
        if (r.error.empty()) r.error = "bad command line";
        r.error += " (try --help)";
        return r;
    }
    if (o.noRender && !o.headless) {
        r.error = "--no-render needs --headless (try --help)";
        return r;
    }
    if (!frames.empty()) ParseNumber(frames, o.frames);
    if (!seed.empty()) {
        std::uint32_t value = 0;
        ParseNumber(seed, value);
        o.seed = value;
    }
    for (const std::string& v : screenshots) {
        std::size_t colon = v.find(':');
        ScreenshotRequest shot;
        ParseNumber(v.substr(0, colon), shot.frame);
        shot.path = v.substr(colon + 1);
        o.screenshots.push_back(shot);
    }
    return r;
}

ParsedCommandLine ParseCommandLine(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return ParseCommandLine(args);
}

std::string FindDataFolder(const std::string& programFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path program(programFolder);
    const fs::path beside = program / "data";
    if (fs::is_directory(beside, ec)) return beside.string();
    // An installed game: <prefix>/bin/game with its data in <prefix>/share.
    const fs::path installed = program.parent_path() / "share" / "lumo-rpg" / "data";
    if (fs::is_directory(installed, ec)) return installed.string();
    return beside.string();
}

std::string UsageText() {
    return "usage: game [options]\n"
           "\n"
           "  --data DIR             the data folder (default: data beside the program)\n"
           "  --headless             offscreen video, software renderer, dummy audio and a\n"
           "                         fixed frame time of 1/60 s (no display needed)\n"
           "  --no-render            with --headless: run the draw code but draw no pixels,\n"
           "                         except on the frames a --screenshot asks for; the\n"
           "                         game's state is the same as when drawn\n"
           "  --frames N             run N frames, then exit with status 0\n"
           "  --input FILE           play scripted input from FILE (one command a line):\n"
           "                           F key down|up NAME_OR_VK   e.g. 12 key down Left\n"
           "                           F mouse X Y                e.g. 30 mouse 400 300\n"
           "                           F button left|right down|up\n"
           "                           F text \"UTF-8 text\"\n"
           "                         F is the frame the event is applied at (from 1);\n"
           "                         '#' starts a comment; blank lines are skipped\n"
           "  --screenshot F:PATH    save frame F as a PNG (repeatable)\n"
           "  --dump-state PATH      write the game state as JSON at exit\n"
           "  --seed N               seed the random generator (default: the clock)\n"
           "  --map FILE             start on this map file (on its start ground) instead of\n"
           "                         the first map; used by the map editor to play-test\n"
           "  --save-dir DIR         the saves folder (default: $XDG_DATA_HOME/lumo-rpg/saves,\n"
           "                         else ~/.local/share/lumo-rpg/saves)\n"
           "  --load SLOT            start from a save: 1, 2, 3, quick or auto\n"
           "  --title                show the title screen (a windowed start always does)\n"
           "  --config DIR           the settings folder (default: $XDG_CONFIG_HOME/lumo-rpg,\n"
           "                         else ~/.config/lumo-rpg); headless runs use it only when given\n"
           "  --version              print the version and exit\n"
           "  --help                 show this text\n"
           "\n"
           "Exit status: 0 normal end, 1 the engine could not start or the game stopped on\n"
           "an error, 2 bad command line, input file or data folder, 3 no display (run\n"
           "with --headless), 4 a screenshot or the state dump could not be written.\n";
}
