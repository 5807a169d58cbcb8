#include "app/input_script.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>

#include "core/file_bytes.h"
#include "lumo/lumo.h"
#include "platform/key_names.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

template <typename T>
bool ParseNumber(const std::string& s, T& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size();
}

// Splits a line into words; a word starting with '"' runs to the closing
// quote. Stops at '#' outside quotes. Returns false on an unclosed quote.
bool Tokenise(const std::string& line, std::vector<std::string>& words, std::vector<bool>& quoted) {
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string w;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    w += line[i + 1];
                    i += 2;
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    w += line[i++];
                }
            }
            if (!closed) return false;
            words.push_back(w);
            quoted.push_back(true);
        } else {
            std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
            words.push_back(line.substr(start, i - start));
            quoted.push_back(false);
        }
    }
    return true;
}

int PadAxisFromName(const std::string& name) {
    static constexpr struct {
        const char* name;
        int axis;
    } kAxes[] = {
        {"leftx", LUMO_PAD_AXIS_LEFTX},   {"lefty", LUMO_PAD_AXIS_LEFTY}, {"rightx", LUMO_PAD_AXIS_RIGHTX},
        {"righty", LUMO_PAD_AXIS_RIGHTY}, {"lt", LUMO_PAD_AXIS_LEFT_TRIGGER}, {"rt", LUMO_PAD_AXIS_RIGHT_TRIGGER},
    };
    const std::string l = Lower(name);
    for (const auto& a : kAxes)
        if (l == a.name) return a.axis;
    return -1;
}

bool ParseDirection(const std::string& w, bool& down) {
    std::string l = Lower(w);
    if (l != "down" && l != "up") return false;
    down = l == "down";
    return true;
}

}  // namespace

int VirtualKeyFromName(const std::string& name) {
    struct Named {
        const char* name;
        int vk;
    };
    static constexpr Named kNames[] = {
        {"left", 37},  {"right", 39},     {"up", 38},    {"down", 40},  {"esc", 27},   {"escape", 27},
        {"enter", 13}, {"return", 13},    {"space", 32}, {"tab", 9},    {"shift", 16}, {"ctrl", 17},
        {"alt", 18},   {"backspace", 8},  {"f11", 122},  {"f12", 123},
        {"f5", 116},   {"f9", 120},
    };
    std::string l = Lower(name);
    for (const Named& n : kNames)
        if (l == n.name) return n.vk;
    if (l.size() == 1 && l[0] >= 'a' && l[0] <= 'z') return 'A' + (l[0] - 'a');
    if (l.size() == 1 && l[0] >= '0' && l[0] <= '9') return l[0];
    int vk = 0;
    if (l.size() > 1 && ParseNumber(l, vk) && vk >= 1 && vk <= 255) return vk;
    // Every other key by the name the settings file gives it (F10, Num4, PageUp ...).
    return key_names::FromName(name);
}

InputScript ParseInputScript(const std::string& text, const std::string& name) {
    InputScript script;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    long lastFrame = 0;
    auto fail = [&](const std::string& what) {
        script.events.clear();
        script.error = name + ":" + std::to_string(lineNo) + ": " + what;
        return script;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<std::string> w;
        std::vector<bool> quoted;
        if (!Tokenise(line, w, quoted)) return fail("unclosed quote");
        if (w.empty()) continue;
        InputEvent ev;
        ev.line = lineNo;
        if (quoted[0] || !ParseNumber(w[0], ev.frame) || ev.frame < 1)
            return fail("expected a frame number (1 or more) at the start, got '" + w[0] + "'");
        if (ev.frame < lastFrame) return fail("frame " + w[0] + " comes before the previous line's frame");
        lastFrame = ev.frame;
        if (w.size() < 2) return fail("missing command after the frame number (key, mouse, button, wheel, focus or text)");
        std::string cmd = Lower(w[1]);
        if (cmd == "key") {
            if (w.size() != 4) return fail("expected: F key down|up NAME_OR_VK");
            if (!ParseDirection(w[2], ev.down)) return fail("expected down or up, got '" + w[2] + "'");
            ev.kind = InputEvent::Kind::Key;
            ev.code = VirtualKeyFromName(w[3]);
            if (ev.code == 0) return fail("unknown key '" + w[3] + "'");
        } else if (cmd == "mouse") {
            if (w.size() != 4) return fail("expected: F mouse X Y");
            ev.kind = InputEvent::Kind::Mouse;
            // "nan", "inf" and huge numbers parse as floats; the game turns
            // the position into whole pixels, so only a sane scale is taken.
            auto position = [](const std::string& word, float& out) {
                return ParseNumber(word, out) && std::isfinite(out) && std::fabs(out) <= kMaxInputPointer;
            };
            if (!position(w[2], ev.x) || !position(w[3], ev.y))
                return fail("mouse position must be two numbers within +-1000000, got '" + w[2] + " " + w[3] + "'");
        } else if (cmd == "button") {
            if (w.size() != 4) return fail("expected: F button left|right down|up");
            ev.kind = InputEvent::Kind::Button;
            std::string b = Lower(w[2]);
            if (b == "left") {
                ev.code = 1;
            } else if (b == "right") {
                ev.code = 2;
            } else {
                return fail("expected left or right, got '" + w[2] + "'");
            }
            if (!ParseDirection(w[3], ev.down)) return fail("expected down or up, got '" + w[3] + "'");
        } else if (cmd == "focus") {
            if (w.size() != 3) return fail("expected: F focus lost|gained");
            ev.kind = InputEvent::Kind::Focus;
            std::string f = Lower(w[2]);
            if (f != "lost" && f != "gained") return fail("expected lost or gained, got '" + w[2] + "'");
            ev.down = f == "gained";
        } else if (cmd == "wheel") {
            if (w.size() != 3) return fail("expected: F wheel N");
            ev.kind = InputEvent::Kind::Wheel;
            if (!ParseNumber(w[2], ev.code) || ev.code < -100 || ev.code > 100)
                return fail("wheel steps must be a whole number in -100..100, got '" + w[2] + "'");
        } else if (cmd == "pad" && w.size() >= 3 && Lower(w[2]) == "axis") {
            if (w.size() != 5) return fail("expected: F pad axis AXIS VALUE");
            ev.kind = InputEvent::Kind::PadAxis;
            ev.code = PadAxisFromName(w[3]);
            if (ev.code < 0) return fail("unknown pad axis '" + w[3] + "' (LeftX LeftY RightX RightY LT RT)");
            int value = 0;
            if (!ParseNumber(w[4], value) || value < -32768 || value > 32767)
                return fail("a pad axis value is a whole number in -32768..32767, got '" + w[4] + "'");
            ev.x = static_cast<float>(value);
        } else if (cmd == "pad") {
            if (w.size() != 4) return fail("expected: F pad BUTTON down|up");
            ev.kind = InputEvent::Kind::PadButton;
            ev.code = key_names::PadKeyFromName(w[2]);
            if (ev.code == 0) return fail("unknown pad button '" + w[2] + "'");
            if (!ParseDirection(w[3], ev.down)) return fail("expected down or up, got '" + w[3] + "'");
        } else if (cmd == "text") {
            if (w.size() != 3 || !quoted[2]) return fail("expected: F text \"UTF-8 text\"");
            ev.kind = InputEvent::Kind::Text;
            ev.text = w[2];
        } else {
            return fail("unknown command '" + w[1] + "' (key, mouse, button, wheel, focus, text or pad)");
        }
        script.events.push_back(ev);
    }
    return script;
}

InputScript LoadInputScript(const std::string& fsPath) {
    // An input file is a few lines a second of play; anything past this is
    // not one.
    constexpr std::size_t kMaxInputBytes = 16u * 1024 * 1024;
    std::optional<std::string> text = ReadFileBytes(fsPath, kMaxInputBytes);
    if (!text) {
        InputScript s;
        s.error = fsPath + ": cannot open the input file (missing, unreadable or over 16 MiB)";
        return s;
    }
    return ParseInputScript(*text, fsPath);
}
