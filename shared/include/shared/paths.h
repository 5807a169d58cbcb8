#pragma once
// Mapping of the programs' GBK relative paths to file-system paths.
//
// Inside the programs a file is named by a GBK path relative to the program
// folder, beginning with "\data\" ("\data\地图\新手村1.Wdm"). On disk, file
// names are UTF-8 with '/' separators. The conversion happens here and only
// here, at the file-system boundary.

#include <string>
#include <string_view>

namespace paths {

// The folder holding the running executable (never the current directory).
// Returns an empty string when it cannot be found.
std::string ProgramFolder();

// Turns a GBK path into a UTF-8 path with '/' separators. Only real '\'
// characters are turned; a 0x5C trail byte of a Chinese character is kept
// as part of that character.
std::string GbkPathToFs(std::string_view gbkPath);

// Resolves the programs' "\data\..." paths.
class DataPaths {
public:
    // programFolder: where the executable lives. dataFolder: when not empty,
    // replaces "<programFolder>/data" (the --data option).
    explicit DataPaths(std::string programFolder = ProgramFolder(), std::string dataFolder = {});

    // "\data\x\y.png" (GBK) -> "<data folder>/x/y.png" (UTF-8). A path that
    // does not begin with "\data\" is taken relative to the program folder.
    std::string Resolve(std::string_view gbkRelative) const;

    const std::string& programFolder() const { return m_programFolder; }
    const std::string& dataFolder() const { return m_dataFolder; }

private:
    std::string m_programFolder;
    std::string m_dataFolder;
};

}  // namespace paths
