#pragma once
// The text side of bitmap fonts, free of SDL: reading a BMFont text file
// into glyphs, kerning and page names, and walking a line of GBK text glyph
// by glyph. The engine loads the pages and draws; the fuzz target reads
// hostile files through the same code.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct SDL_Texture;

namespace lumo {

struct BmGlyph {
    std::int16_t x = 0, y = 0, w = 0, h = 0;
    std::int16_t xoff = 0, yoff = 0, xadvance = 0;
    std::uint8_t page = 0;
    bool present = false;
};

struct BmFont {
    int lineHeight = 0;
    int base = 0;
    bool unicode = true;
    std::vector<SDL_Texture*> pages;
    std::vector<BmGlyph> low;                             // ids below 256
    std::unordered_map<std::uint32_t, BmGlyph> high;      // the rest
    std::unordered_map<std::uint64_t, int> kerning;       // (first << 32 | second)
    std::uint32_t color = 0xFFFFFFFF;
    float scale = 1.0f;
};

// The longest .fnt file read.
inline constexpr std::size_t kMaxBmFontFileBytes = 4u << 20;
inline constexpr int kMaxBmFontPages = 64;

// Reads the text of a .fnt file into `font` (glyphs, kerning, line height)
// and the page file names (by page id). False for anything that is not a
// well-formed, bounded BMFont text file; `font` is then unusable.
bool ParseBmFontText(const std::string& data, BmFont& font, std::vector<std::string>& pageFiles);

// The character code at text[i] (Unicode when the font is Unicode, else the
// GBK code with the lead byte high); moves i past it.
std::uint32_t NextBmCode(const BmFont& f, std::string_view text, std::size_t& i);
// The glyph of a code, or nullptr.
const BmGlyph* BmGlyphOf(const BmFont& f, std::uint32_t code);

// Walks one line, calling fn(glyph, penX) per glyph (a missing glyph is
// drawn as '?', or skipped); returns the width.
template <class Fn>
float WalkBmLine(const BmFont& f, std::string_view line, Fn&& fn) {
    float pen = 0;
    std::uint32_t prev = 0;
    for (std::size_t i = 0; i < line.size();) {
        const std::uint32_t code = NextBmCode(f, line, i);
        const BmGlyph* gl = BmGlyphOf(f, code);
        if (!gl) gl = BmGlyphOf(f, '?');
        if (!gl) continue;
        if (prev && !f.kerning.empty()) {
            auto k = f.kerning.find((static_cast<std::uint64_t>(prev) << 32) | code);
            if (k != f.kerning.end()) pen += static_cast<float>(k->second);
        }
        fn(*gl, pen);
        pen += gl->xadvance;
        prev = code;
    }
    return pen;
}

}  // namespace lumo
