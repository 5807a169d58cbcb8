#include "shared/paths.h"

#include "shared/gbk.h"

#include <filesystem>
#include <system_error>

namespace paths {

std::string ProgramFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

std::string GbkPathToFs(std::string_view gbkPath) {
    std::string slashed;
    slashed.reserve(gbkPath.size());
    for (std::size_t i = 0; i < gbkPath.size();) {
        std::size_t n = gbk::CharLength(gbkPath, i);
        if (n == 1 && gbkPath[i] == '\\') {
            slashed += '/';
        } else {
            slashed.append(gbkPath.substr(i, n));
        }
        i += n;
    }
    return gbk::ToUtf8(slashed);
}

DataPaths::DataPaths(std::string programFolder, std::string dataFolder)
    : m_programFolder(std::move(programFolder)), m_dataFolder(std::move(dataFolder)) {
    if (m_dataFolder.empty()) m_dataFolder = m_programFolder.empty() ? std::string("data") : m_programFolder + "/data";
    while (m_dataFolder.size() > 1 && m_dataFolder.back() == '/') m_dataFolder.pop_back();
}

std::string DataPaths::Resolve(std::string_view gbkRelative) const {
    std::string fs = GbkPathToFs(gbkRelative);
    std::string_view rest = fs;
    while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
    // Windows paths are case-insensitive; stored files may say "\Data\".
    auto isData = [](std::string_view s) {
        return s.size() == 4 && (s[0] | 0x20) == 'd' && (s[1] | 0x20) == 'a' && (s[2] | 0x20) == 't' &&
               (s[3] | 0x20) == 'a';
    };
    if (rest.size() >= 5 && isData(rest.substr(0, 4)) && rest[4] == '/') {
        return m_dataFolder + "/" + std::string(rest.substr(5));
    }
    if (isData(rest)) return m_dataFolder;
    return (m_programFolder.empty() ? std::string(".") : m_programFolder) + "/" + std::string(rest);
}

}  // namespace paths
