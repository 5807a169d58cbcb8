#pragma once
// Consistency checks of one map: ground numbers, link targets, pictures and
// boxes too small to be saved.

#include "shared/wdm_map.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wdmtool {

// The file names of the map table (a Lua chunk of 初始地图(number, "file",
// ...) calls), by row: row n is element n - 1. Calls inside "--" line
// comments are skipped; ",," is removed first, as the game does.
std::vector<std::string> ScanMapTable(std::string_view gbkText);

struct CheckOptions {
    std::string dataDir;                               // UTF-8; empty: pictures are not checked
    std::optional<std::vector<std::string>> mapTable;  // GBK file names by row
};

// One UTF-8 line per problem, in a fixed order.
std::vector<std::string> CheckMap(const wdm::MapData& map, const CheckOptions& options);

}  // namespace wdmtool
