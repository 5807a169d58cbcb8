// The cipher's round trip + character-aligned splitting: the reader's splitter must give
// exactly the pieces gbk::Split gives, for every separator of the format.

#include "shared/gbk.h"
#include "shared/wdm_map.h"
#include "shared/wdm_split.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

void Compare(std::string_view text, std::string_view sep) {
    const std::vector<std::string> expected = gbk::Split(text, sep);
    const std::vector<std::string_view> pieces = wdm::SplitViews(text, sep);
    Check(pieces.size() == expected.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) Check(pieces[i] == expected[i]);
    // A limited split keeps the first pieces and leaves the rest whole.
    const std::vector<std::string_view> two = wdm::SplitViews(text, sep, 2);
    Check(two.size() == (expected.size() > 1 ? 2u : 1u));
    Check(two[0] == expected[0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // gbk::Split is the slow reference; keep the inputs small.
    if (size > 16384) return 0;
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    // The check value makes almost every input fail to decipher, so the
    // splitter is fed the raw bytes as text as well.
    std::string text;
    if (wdm::Decipher(raw, text)) {
        Check(wdm::Encipher(text) == raw);
    } else {
        text = std::string(raw);
    }
    std::string back;
    Check(wdm::Decipher(wdm::Encipher(raw), back) && back == raw);
    for (std::string_view sep : {wdm::kSectionMarker, wdm::kRecordEnd, wdm::kFieldSeparator, wdm::kSubFieldSeparator}) {
        Compare(text, sep);
        Compare(raw, sep);
    }
    Check(wdm::JoinDetail(wdm::DetailFields(text)) == text);
    return 0;
}
