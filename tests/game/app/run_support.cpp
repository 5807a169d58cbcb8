#include "run_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "shared/gbk.h"

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
    fs::copy(fs::path(LUMO_BIN_DIR) / "data", data, fs::copy_options::recursive);
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
                            (dir / "xdg_config").string() + " " + env + " " + std::string(LUMO_BIN_DIR) + "/game " + args + " > " +
                            (dir / "out.txt").string() + " 2>&1";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace run_support
