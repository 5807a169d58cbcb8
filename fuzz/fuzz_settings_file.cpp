// Fuzzer bytes -> the text of settings.json, read as the game reads it at
// start.
//
// Properties checked besides "no crash, no leak, no hang": whatever the
// text, the settings read are ones the game can use (volumes 0..100, a known
// window scale, no key driving two actions of one group, no mouse button
// bound to an action), and they come back unchanged and without a problem when written
// and read again.

#include "platform/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_settings_file: %s\n", what);
    std::abort();
}

void CheckUsable(const GameSettings& s) {
    if (s.musicVolume < 0 || s.musicVolume > 100 || s.effectVolume < 0 || s.effectVolume > 100) Fail("volume");
    const int scale = static_cast<int>(s.windowScale);
    if (scale < 0 || scale > static_cast<int>(WindowScale::kLast)) Fail("window scale");
    for (std::size_t i = 0; i < kActionCount; ++i) {
        const Action a = static_cast<Action>(i);
        if (!KeyBindings::Bindable(a)) continue;  // the mouse buttons keep their own codes
        for (int vk : s.keys.KeysOf(a)) {
            if (vk == 0) continue;
            if (vk == 1 || vk == 2 || vk < 0 || vk > 255) Fail("a mouse button or a code past the keyboard");
            if (s.keys.ActionOfKey(vk, a) != a) Fail("a key driving two actions of one group");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const SettingsLoad first = settings_file::FromJson(text);
    CheckUsable(first.settings);
    const SettingsLoad again = settings_file::FromJson(settings_file::ToJson(first.settings));
    if (!again.problem.empty()) Fail(("written settings read back with a problem: " + again.problem).c_str());
    if (!(again.settings == first.settings)) Fail("written settings read back different");
    return 0;
}
