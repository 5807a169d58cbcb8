// Fuzzer bytes -> the three text files of a monster folder as the monster
// reads them: 怪物帧率.txt (one frame duration per state), 数据.txt (detect
// range, first and last hit frame) and its drop list (\data\掉宝\<name>.txt,
// "a/b name [min max]" lines). The parts are separated by NUL bytes.
//
// Properties checked besides "no crash, no leak, no hang": line numbers stay
// within +-1,000,000, a drop line has a name without spaces, and rolling a
// drop gives an offset in -5..5 and a count within its line's range.

#include "core/random.h"
#include "gameplay/combat_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, long value) {
    std::fprintf(stderr, "fuzz_monster_texts: %s (%ld)\n", what, value);
    std::abort();
}

std::string_view Part(std::string_view& rest) {
    const std::size_t nul = rest.find('\0');
    const std::string_view part = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    return part;
}

void CheckNumber(int value) {
    if (value < -1'000'000 || value > 1'000'000) Fail("line number out of bounds", value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The monster reads at most 256 KiB of each file.
    if (size > 3 * 256 * 1024) return 0;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view rates = Part(rest), numbers = Part(rest), drops = Part(rest);

    const std::vector<std::string> rateLines = combat::SplitLines(rates);
    for (std::size_t k = 0; k < 9; ++k) CheckNumber(combat::LineNumber(rateLines, k, 10));
    const std::vector<std::string> numberLines = combat::SplitLines(numbers);
    for (std::size_t k = 0; k < 3; ++k) CheckNumber(combat::LineNumber(numberLines, k, 0));
    for (const std::string& line : rateLines)
        if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos) Fail("line break kept", 0);

    Random random(static_cast<std::uint32_t>(size));
    for (const combat::DropLine& line : combat::ParseDropTable(drops)) {
        if (line.name.empty() || line.name.find(' ') != std::string::npos) Fail("drop name", 0);
        for (int roll = 0; roll < 4; ++roll) {
            const std::optional<combat::Drop> d = combat::RollDrop(random, line);
            if (!d) continue;
            if (d->offsetStep < -5 || d->offsetStep > 5) Fail("drop offset", d->offsetStep);
            if (d->counted != (line.counted ? 1 : 0)) Fail("counted flag", d->counted);
            if (line.counted && (d->count < line.countLow || d->count > std::max(line.countLow, line.countHigh)))
                Fail("drop count outside its range", d->count);
            if (d->name != line.name) Fail("drop name changed", 0);
        }
    }
    // One line on its own, as the table reads each.
    if (const std::optional<combat::DropLine> d = combat::ParseDropLine(drops)) {
        if (d->name.empty()) Fail("drop line without a name", 0);
    }
    return 0;
}
