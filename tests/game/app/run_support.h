#pragma once
// What the whole-program tests share: scratch folders, copies of the
// content pack with test scripts, and runs of the game binary.

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/game_options.h"

class Game;

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
// Runs the game binary logic-only (seed 1) for `frames` frames on the
// input-file text, with `extra` options after the others, and expects it to
// end with status 0. The state dump's text, empty when none was written.
std::string PlayInput(const fs::path& dir, int frames, const std::string& input, const std::string& extra);
// Runs a shell command: its exit status, -1 when it did not exit normally.
int Shell(const std::string& cmd);
// The map text packed by wdmtool into dir/<name>.Wdm: its path, empty when
// packing failed.
fs::path PackMap(const fs::path& dir, const std::string& name, const std::string& text);

// Options of an in-process logic-only run (seed 1) on `data`, starting on
// `map` when one is given.
GameOptions LogicOnly(const fs::path& data, const fs::path& map, long frames);

// Input-file lines of a click at (x, y): the pointer moves there at `frame`,
// the button goes down a frame later and up two frames after that.
std::string Click(int frame, float x, float y, const char* button = "left");

// Pixels of the last drawn scene inside the rectangle that are not black.
int LitPixels(Game& game, float x, float y, float w, float h);

// A test that runs the game binary in a scratch folder of its own (removed
// when the test passed), with a saves folder inside it.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the game headless and logic-only (seed 1) on the bundled pack with
    // its dump in dir/<name>.json and, when given, the input text in
    // dir/<name>.txt; `args` follow. The exit status goes to `status` when
    // asked for, else it is expected to be 0. The dump's text.
    std::string RunNamed(const std::string& name, const std::string& args, const std::string& input,
                         int* status = nullptr);

    fs::path dir, saves;
};

}  // namespace run_support
