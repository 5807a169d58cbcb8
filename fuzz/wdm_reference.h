#pragma once
// The map reader and writer as first written (one split per level), kept as
// the reference the one-pass ones are compared with by the map fuzzer and
// the tests.

#include <string>
#include <string_view>

#include "shared/wdm_map.h"

namespace wdm_reference {

wdm::ReadResult ParseMapText(std::string_view text, wdm::SectionRule rule = wdm::SectionRule::Exactly10);
wdm::WriteResult BuildMapText(const wdm::MapData& map, std::string_view programFolder, std::string& text);
// The cipher, one key byte at a time.
std::string Encipher(std::string_view plain);

}  // namespace wdm_reference
