#pragma once
// settings.json: the settings as readable JSON, written atomically. A file
// that cannot be parsed gives the defaults; a field of the wrong type, out
// of range or unknown gives that field's default and keeps the rest, and a
// key bound twice keeps its first use. Either way the reader says what it
// left out, so the game can report it once.

#include <string>

#include "platform/settings.h"

struct SettingsLoad {
    GameSettings settings;
    bool found = false;    // the file existed
    std::string problem;   // the first thing left out (English), "" when none
};

namespace settings_file {

constexpr const char* kFileName = "settings.json";
constexpr int kFormat = 1;

// "<folder>/settings.json".
std::string PathIn(const std::string& folder);
// The JSON text of `s`.
std::string ToJson(const GameSettings& s);
// Parses a settings text (see above).
SettingsLoad FromJson(const std::string& text);
// Reads the file at `path`: a missing file gives the defaults, not found.
SettingsLoad Load(const std::string& path);
// Writes atomically; "" on success, else what failed (English).
std::string Save(const std::string& path, const GameSettings& s);

}  // namespace settings_file
