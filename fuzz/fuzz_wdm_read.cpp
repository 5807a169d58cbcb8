// Map file bytes -> ReadMapBytes, with the properties every map that reads
// must have: what is written reads back, writing it again gives the same
// bytes, and its text form gives the same records. The input as a map text
// also goes through the first reader and writer (wdm_reference.cpp), which
// the one-pass ones must match exactly.

#include "shared/wdm_map.h"
#include "shared/wdm_text.h"
#include "wdm_reference.h"

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

// The one-pass reader and writer against the first ones.
void Compare(std::string_view text) {
    for (wdm::SectionRule rule : {wdm::SectionRule::Exactly10, wdm::SectionRule::AtLeast10}) {
        const wdm::ReadResult mine = wdm::ParseMapText(text, rule);
        const wdm::ReadResult first = wdm_reference::ParseMapText(text, rule);
        Check(mine.error == first.error && mine.reason == first.reason);
        if (!mine.ok()) continue;
        Check(mine.map == first.map);
        for (std::string_view folder : {std::string_view{}, std::string_view{"\\d"}}) {
            std::string a, b;
            const wdm::WriteResult wa = wdm::BuildMapText(mine.map, folder, a);
            const wdm::WriteResult wb = wdm_reference::BuildMapText(first.map, folder, b);
            Check(wa.ok == wb.ok && wa.error == wb.error && a == b);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The input as a file, and as the text of a file whose check value
    // holds (random bytes almost never pass the check).
    const std::string asText = wdm::Encipher(bytes);
    Check(asText == wdm_reference::Encipher(bytes));
    Compare(bytes);
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
