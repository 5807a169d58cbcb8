#include "run_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "app/game.h"
#include "lumo/lumo.h"
#include "shared/gbk.h"
#include "test_dirs.h"

namespace run_support {

fs::path TempDir(const std::string& prefix, const std::string& name) {
    auto dir = fs::temp_directory_path() / ("lumo_" + prefix + "_" + name + "_" +
                                            std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

fs::path DataWith(const fs::path& dir, const std::string& mainLuaUtf8, const std::optional<std::string>& levelUpUtf8) {
    const fs::path data = dir / "data";
    fs::copy(test_dirs::Pack(), data, fs::copy_options::recursive);
    const fs::path scripts = data / gbk::ToUtf8(gbk::Lit("脚本"));
    std::ofstream(scripts / "Main.lua", std::ios::binary | std::ios::trunc) << gbk::FromUtf8(mainLuaUtf8);
    if (levelUpUtf8)
        std::ofstream(scripts / "Levelup.lua", std::ios::binary | std::ios::trunc) << gbk::FromUtf8(*levelUpUtf8);
    return data;
}

int RunProgram(const fs::path& dir, const std::string& args, const std::string& env) {
    // Autosaves and settings land in the scratch folder, never in the
    // user's own.
    const std::string cmd = "XDG_DATA_HOME=" + (dir / "xdg").string() + " XDG_CONFIG_HOME=" +
                            (dir / "xdg_config").string() + " " + env + " " + test_dirs::Bin() + "/game " + args + " > " +
                            (dir / "out.txt").string() + " 2>&1";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string PlayInput(const fs::path& dir, int frames, const std::string& input, const std::string& extra) {
    WriteAll(dir / "in.txt", input);
    const fs::path dump = dir / "s.json";
    fs::remove(dump);
    const int status = RunProgram(dir, "--headless --no-render --seed 1 --frames " + std::to_string(frames) +
                                           " --input " + (dir / "in.txt").string() + " --dump-state " + dump.string() +
                                           " " + extra);
    EXPECT_EQ(status, 0) << ReadAll(dir / "out.txt");
    return ReadAll(dump);
}

int Shell(const std::string& cmd) {
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

fs::path PackMap(const fs::path& dir, const std::string& name, const std::string& text) {
    const fs::path source = dir / (name + ".txt");
    const fs::path map = dir / (name + ".Wdm");
    WriteAll(source, text);
    const int rc = Shell(test_dirs::Bin() + "/wdmtool pack " + source.string() + " " + map.string() +
                         " > /dev/null");
    return rc == 0 ? map : fs::path();
}

GameOptions LogicOnly(const fs::path& data, const fs::path& map, long frames) {
    GameOptions o;
    o.headless = true;
    o.noRender = true;
    o.dataDir = data.string();
    if (!map.empty()) o.mapFile = map.string();
    o.frames = frames;
    o.seed = 1;
    return o;
}

std::string Click(int frame, float x, float y, const char* button) {
    std::ostringstream s;
    s << frame << " mouse " << x << " " << y << "\n"
      << frame + 1 << " button " << button << " down\n"
      << frame + 3 << " button " << button << " up\n";
    return s.str();
}

void ProgramRun::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = TempDir(info->test_suite_name(), info->name());
    saves = dir / "saves";
}

void ProgramRun::TearDown() {
    if (!HasFailure()) fs::remove_all(dir);
}

std::string ProgramRun::RunNamed(const std::string& name, const std::string& args, const std::string& input,
                                 int* status) {
    std::string line = "--headless --no-render --seed 1 --data " + test_dirs::Pack() +
                       " --dump-state " + (dir / (name + ".json")).string();
    if (!input.empty()) {
        WriteAll(dir / (name + ".txt"), input);
        line += " --input " + (dir / (name + ".txt")).string();
    }
    const int rc = RunProgram(dir, line + " " + args);
    if (status != nullptr) *status = rc;
    else EXPECT_EQ(rc, 0) << ReadAll(dir / "out.txt");
    return ReadAll(dir / (name + ".json"));
}

int LitPixels(Game& game, float x, float y, float w, float h) {
    int lit = 0;
    for (int py = static_cast<int>(y); py < static_cast<int>(y + h); ++py)
        for (int px = static_cast<int>(x); px < static_cast<int>(x + w); ++px)
            if ((Harness_ReadPixel(game.engine.handle(), px, py) & 0x00FFFFFF) != 0) ++lit;
    return lit;
}

}  // namespace run_support
