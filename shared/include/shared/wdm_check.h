#pragma once
// Consistency checks of one map: ground numbers, link targets, pictures and
// boxes too small to be saved. wdmtool check, the editor's "检查地图" and the
// content tests all run these.

#include "shared/wdm_map.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wdm {

// The file names of the map table (a Lua chunk of 初始地图(number, "file",
// ...) calls), by row: row n is element n - 1. Calls inside "--" line
// comments are skipped; ",," is removed first, as the game does.
std::vector<std::string> ScanMapTable(std::string_view gbkText);

struct CheckOptions {
    std::string dataDir;                               // UTF-8; empty: pictures are not checked
    std::optional<std::vector<std::string>> mapTable;  // GBK file names by row
};

// Which record a problem is about.
enum class ProblemPlace { Header, Sprite, Square, Slope, Stair, Event };

enum class ProblemKind {
    GroundNumber,  // a ground number names no square of this map
    LinkTarget,    // a target map or a ground on it does not exist
    Picture,       // a picture file is missing
    SmallBox,      // a box under kMinSavedBoxSize, dropped when saved
    EventKind,     // an event of an unknown kind
};

struct MapProblem {
    ProblemKind kind = ProblemKind::GroundNumber;
    ProblemPlace place = ProblemPlace::Header;
    // Sprite: index into MapData::sprites; otherwise 0.
    int section = 0;
    // 0-based index into the record's list; 0 for the header.
    int index = 0;
    std::string text;     // one UTF-8 line, English (wdmtool)
    std::string chinese;  // the same line in Chinese, UTF-8 (the editor)
};

// Every problem, in a fixed order: header grounds, events, pictures, small
// boxes. Ground numbers count the squares as the map is saved.
std::vector<MapProblem> CheckMap(const MapData& map, const CheckOptions& options);

}  // namespace wdm
