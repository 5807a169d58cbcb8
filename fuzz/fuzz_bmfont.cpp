// Fuzzer bytes -> a bitmap font file and a text to measure. The bytes up to
// the first NUL are the .fnt file (a file with a NUL is refused by the
// loader, as is one over its size limit); the rest is GBK text walked glyph
// by glyph as drawing and measuring do.
//
// Properties checked besides "no crash, no leak, no hang": a font that reads
// has a line height in 1..4096, 1..64 pages and glyphs on those pages only,
// and a line's width is finite and within what its glyphs can add up to.

#include "bmfont_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, double value) {
    std::fprintf(stderr, "fuzz_bmfont: %s (%g)\n", what, value);
    std::abort();
}

void CheckGlyph(const lumo::BmGlyph& g, std::size_t pages) {
    if (g.page >= lumo::kMaxBmFontPages) Fail("glyph page beyond the page limit", g.page);
    if (g.w < 0 || g.h < 0 || g.x < 0 || g.y < 0) Fail("negative glyph rectangle", g.w);
    (void)pages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = all.find('\0');
    const std::string file(all.substr(0, nul));
    const std::string_view text = nul == std::string_view::npos ? std::string_view() : all.substr(nul + 1);
    if (file.size() > lumo::kMaxBmFontFileBytes) return 0;

    lumo::BmFont font;
    std::vector<std::string> pages;
    if (!lumo::ParseBmFontText(file, font, pages)) return 0;
    if (font.lineHeight < 1 || font.lineHeight > 4096) Fail("line height", font.lineHeight);
    if (pages.empty() || pages.size() > static_cast<std::size_t>(lumo::kMaxBmFontPages))
        Fail("page count", static_cast<double>(pages.size()));
    if (font.low.size() != 256) Fail("low glyph table", static_cast<double>(font.low.size()));
    for (const lumo::BmGlyph& g : font.low)
        if (g.present) CheckGlyph(g, pages.size());
    for (const auto& [code, g] : font.high) {
        if (code < 256 || code > 0x10FFFF) Fail("glyph code", code);
        CheckGlyph(g, pages.size());
    }

    // Each line as drawing walks it: every glyph's pen position stays
    // within what the advances and kernings so far can reach.
    for (bool unicode : {true, false}) {
        font.unicode = unicode;
        for (std::size_t start = 0; start <= text.size();) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            const std::string_view line = text.substr(start, end - start);
            double bound = 0;
            std::size_t glyphs = 0;
            const float width = lumo::WalkBmLine(font, line, [&](const lumo::BmGlyph& g, float pen) {
                ++glyphs;
                if (!std::isfinite(pen)) Fail("pen position not finite", pen);
                if (g.w > 4096 || g.h > 4096) Fail("glyph size", g.w);
            });
            bound = static_cast<double>(glyphs) * (4096.0 * 2);
            if (!std::isfinite(width) || std::fabs(width) > bound) Fail("line width", width);
            if (glyphs > line.size()) Fail("more glyphs than bytes", static_cast<double>(glyphs));
            start = end + 1;
        }
    }
    return 0;
}
