#include "core/user_folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace user_folders {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string();
}

// The value of XDG_PICTURES_DIR in a user-dirs file, "$HOME" expanded;
// empty when the file or the line is missing. Lines look like
//   XDG_PICTURES_DIR="$HOME/Pictures"
std::string FromUserDirs(const fs::path& file, const std::string& home) {
    std::ifstream in(file);
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        // A relative value or the bare home folder means "no pictures folder".
        if (value.empty() || value.front() != '/' || fs::path(value) == fs::path(home)) return {};
        return value;
    }
    return {};
}

}  // namespace

std::string PicturesFolder() {
    const std::string home = Env("HOME");
    if (home.empty()) return {};
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    std::string folder = FromUserDirs(fs::path(config) / "user-dirs.dirs", home);
    if (folder.empty()) folder = home + "/Pictures";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec) ? folder : std::string();
}

std::string FreeScreenshotPath(const std::string& folder, const std::string& stamp) {
    std::error_code ec;
    fs::path path = fs::path(folder) / ("lumo-" + stamp + ".png");
    for (int n = 2; fs::exists(path, ec) && n < 10000; ++n)
        path = fs::path(folder) / ("lumo-" + stamp + "-" + std::to_string(n) + ".png");
    return path.string();
}

std::string ConfigFolder(const std::string& overrideFolder) {
    if (!overrideFolder.empty()) return overrideFolder;
    const std::string config = Env("XDG_CONFIG_HOME");
    // A relative XDG value is invalid and ignored.
    if (!config.empty() && config.front() == '/') return (fs::path(config) / "lumo-rpg").string();
    const std::string home = Env("HOME");
    if (home.empty()) return {};
    return (fs::path(home) / ".config" / "lumo-rpg").string();
}

}  // namespace user_folders
