#include "app/game_options.h"

#include <charconv>

namespace {

template <typename T>
bool ParseNumber(const std::string& s, T& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size();
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine r;
    GameOptions& o = r.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                r.error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--data") {
            if (!value(o.dataDir)) return r;
        } else if (a == "--input") {
            if (!value(o.inputFile)) return r;
        } else if (a == "--dump-state") {
            if (!value(o.dumpStatePath)) return r;
        } else if (a == "--frames") {
            if (!value(v)) return r;
            if (!ParseNumber(v, o.frames) || o.frames < 1) {
                r.error = "--frames: expected a positive whole number, got '" + v + "'";
                return r;
            }
        } else if (a == "--seed") {
            if (!value(v)) return r;
            std::uint32_t seed = 0;
            if (!ParseNumber(v, seed)) {
                r.error = "--seed: expected a whole number from 0 to 4294967295, got '" + v + "'";
                return r;
            }
            o.seed = seed;
        } else if (a == "--screenshot") {
            if (!value(v)) return r;
            std::size_t colon = v.find(':');
            ScreenshotRequest s;
            if (colon == std::string::npos || !ParseNumber(v.substr(0, colon), s.frame) || s.frame < 1 ||
                colon + 1 >= v.size()) {
                r.error = "--screenshot: expected FRAME:PATH with FRAME >= 1, got '" + v + "'";
                return r;
            }
            s.path = v.substr(colon + 1);
            o.screenshots.push_back(s);
        } else {
            r.error = "unknown option '" + a + "' (try --help)";
            return r;
        }
    }
    return r;
}

ParsedCommandLine ParseCommandLine(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return ParseCommandLine(args);
}

std::string UsageText() {
    return "usage: game [options]\n"
           "\n"
           "  --data DIR             the data folder (default: data beside the program)\n"
           "  --headless             offscreen video, software renderer, dummy audio and a\n"
           "                         fixed frame time of 1/60 s (no display needed)\n"
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
           "  --help                 show this text\n"
           "\n"
           "Exit status: 0 normal end, 1 the engine could not start, 2 bad command line or\n"
           "input file, 3 no display (run with --headless).\n";
}
