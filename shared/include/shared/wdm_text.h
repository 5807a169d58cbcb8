#pragma once
// The text form of a map: a readable, stable UTF-8 text, one record a line,
// that turns back into the same records. wdmtool dumps and packs it, and the
// content pack keeps its maps in it. kMapTextHelp describes the syntax.

#include "shared/wdm_map.h"

#include <string>
#include <string_view>

namespace wdm {

// The syntax, for --help texts and for people writing maps by hand.
extern const char* const kMapTextHelp;

// The map as text. The same map always gives the same text; texts are
// converted from GBK to UTF-8 (bytes UTF-8 cannot carry are written as x"..").
std::string MapToText(const MapData& map);

struct TextResult {
    bool ok = true;
    int line = 0;          // 1-based line of the first error; 0 when ok
    std::string error;     // UTF-8 message, "line N: ..."
    MapData map;           // valid only when ok
    explicit operator bool() const { return ok; }
};

// Reads a map text. Stops at the first error and names its line. Never
// throws. MapFromText(MapToText(m)).map gives the records of m back (the
// header's fieldCount becomes 9).
TextResult MapFromText(std::string_view utf8Text);

}  // namespace wdm
