// Map file bytes -> ReadMapBytes, with the properties every map that reads
// must have: what is written reads back, writing it again gives the same
// bytes, and its text form gives the same records.

#include "shared/wdm_map.h"
#include "shared/wdm_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

void Touch(const wdm::MapData& map) {
    for (const wdm::EventRecord& e : map.events) {
        (void)wdm::ParseNpcDetail(e.detail);
        (void)wdm::ParseMonsterDetail(e.detail);
        (void)wdm::ParseLinkDetail(e.detail);
        (void)wdm::ParseAnimationDetail(e.detail).backAndForth();
        (void)wdm::ParseItemDetail(e.detail);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The input as a file, and as the text of a file whose check value
    // holds (random bytes almost never pass the check).
    const std::string asText = wdm::Encipher(bytes);
    for (int pass = 0; pass < 4; ++pass) {
        const wdm::SectionRule rule = pass % 2 ? wdm::SectionRule::AtLeast10 : wdm::SectionRule::Exactly10;
        wdm::ReadResult read = wdm::ReadMapBytes(pass < 2 ? bytes : std::string_view(asText), rule);
        Check(read.ok() == read.reason.empty());
        if (!read.ok()) continue;
        Touch(read.map);

        std::string file;
        if (!wdm::EncodeMap(read.map, {}, file)) continue;  // a text the format cannot carry
        wdm::ReadResult again = wdm::ReadMapBytes(file);
        Check(again.ok());
        std::string file2;
        Check(static_cast<bool>(wdm::EncodeMap(again.map, {}, file2)));
        Check(file2 == file);

        wdm::TextResult text = wdm::MapFromText(wdm::MapToText(again.map));
        Check(text.ok);
        Check(text.map == again.map);
    }
    return 0;
}
