#pragma once
// What the whole-program tests share: scratch folders, copies of the
// content pack with test scripts, and runs of the game binary.

#include <filesystem>
#include <optional>
#include <string>

namespace run_support {

namespace fs = std::filesystem;

// An empty scratch folder "lumo_<prefix>_<name>_<seed>" under the temp folder.
fs::path TempDir(const std::string& prefix, const std::string& name);
// The whole file; empty when it cannot be read.
std::string ReadAll(const fs::path& p);
// Writes `text` as the whole file, creating its folders.
void WriteAll(const fs::path& p, const std::string& text);
// A copy of the built content pack in dir/data whose Main.lua (and, when
// given, Levelup.lua) is replaced by UTF-8 text written as GBK.
fs::path DataWith(const fs::path& dir, const std::string& mainLuaUtf8,
                  const std::optional<std::string>& levelUpUtf8 = std::nullopt);
// Runs the game binary with `args` (and `env` assignments before it), its
// XDG_DATA_HOME and XDG_CONFIG_HOME (so its default saves and settings
// folders) inside `dir`;
// stdout and stderr go to dir/out.txt. The exit status, -1 when it did not
// exit normally.
int RunProgram(const fs::path& dir, const std::string& args, const std::string& env = "");

}  // namespace run_support
