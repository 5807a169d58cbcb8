// Fuzzer bytes -> the text of an input file (the scripted input of headless
// runs and tests), parsed as the game loads it.
//
// Properties checked besides "no crash, no leak, no hang": a file either
// fails with a message naming its line and no events, or gives events whose
// frames start at 1 and never go backwards, whose keys are 1..255, whose
// buttons are left or right, whose wheel steps are -100..100 and whose
// pointer positions are finite and on a sane scale (the game turns them
// into whole pixels).

#include "app/input_script.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, double value) {
    std::fprintf(stderr, "fuzz_input_script: %s (%g)\n", what, value);
    std::abort();
}

void CheckPosition(float v) {
    if (!std::isfinite(v) || std::fabs(v) > kMaxInputPointer) Fail("pointer position", v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const InputScript script = ParseInputScript(text, "fuzz.txt");
    if (!script.error.empty()) {
        if (!script.events.empty()) Fail("events kept beside an error", static_cast<double>(script.events.size()));
        if (script.error.rfind("fuzz.txt:", 0) != 0) Fail("error without the file name", 0);
        return 0;
    }
    long last = 1;
    int lastLine = 0;
    for (const InputEvent& ev : script.events) {
        if (ev.frame < last) Fail("frame goes backwards", static_cast<double>(ev.frame));
        last = ev.frame;
        if (ev.line <= lastLine) Fail("line numbers out of order", ev.line);
        lastLine = ev.line;
        switch (ev.kind) {
        case InputEvent::Kind::Key:
            if (ev.code < 1 || ev.code > 255) Fail("key code", ev.code);
            break;
        case InputEvent::Kind::Button:
            if (ev.code != 1 && ev.code != 2) Fail("button", ev.code);
            break;
        case InputEvent::Kind::Wheel:
            if (ev.code < -100 || ev.code > 100) Fail("wheel steps", ev.code);
            break;
        case InputEvent::Kind::Mouse:
            CheckPosition(ev.x);
            CheckPosition(ev.y);
            break;
        case InputEvent::Kind::Text:
        case InputEvent::Kind::Focus:
            break;
        }
    }
    return 0;
}
