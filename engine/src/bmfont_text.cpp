// Reading BMFont text files and walking GBK text glyph by glyph.

#include "bmfont_text.h"

#include <sstream>

#include "shared/gbk.h"

namespace lumo {
namespace {

constexpr int kMaxPages = kMaxBmFontPages;
constexpr int kMaxChars = 70000;
constexpr int kMaxKernings = 200000;

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Splits `key=value key="quoted value"` after the tag word.
bool ParseLine(const std::string& line, std::string& tag, Pairs& pairs) {
    pairs.clear();
    std::size_t i = 0;
    const std::size_t n = line.size();
    auto skip = [&] {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    };
    skip();
    const std::size_t t0 = i;
    while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    tag = line.substr(t0, i - t0);
    while (true) {
        skip();
        if (i >= n) return true;
        const std::size_t k0 = i;
        while (i < n && line[i] != '=' && line[i] != ' ' && line[i] != '\t') ++i;
        if (i >= n || line[i] != '=') return false;
        std::string key = line.substr(k0, i - k0);
        ++i;
        std::string value;
        if (i < n && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos) return false;
            value = line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const std::size_t v0 = i;
            while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
            value = line.substr(v0, i - v0);
        }
        pairs.emplace_back(std::move(key), std::move(value));
    }
}

// A whole decimal number within [lo, hi]; anything else fails.
bool Number(const Pairs& pairs, const char* key, long lo, long hi, long& out) {
    for (const auto& [k, v] : pairs) {
        if (k != key) continue;
        if (v.empty() || v.size() > 12) return false;
        std::size_t i = v[0] == '-' ? 1 : 0;
        if (i == v.size()) return false;
        long value = 0;
        for (; i < v.size(); ++i) {
            if (v[i] < '0' || v[i] > '9') {
                // "padding=1,1,1,1" style lists keep only their first number.
                if (v[i] == ',' && i > 0) break;
                return false;
            }
            value = value * 10 + (v[i] - '0');
        }
        if (v[0] == '-') value = -value;
        if (value < lo || value > hi) return false;
        out = value;
        return true;
    }
    return false;
}

long NumberOr(const Pairs& pairs, const char* key, long lo, long hi, long fallback, bool& ok) {
    long v = fallback;
    bool present = false;
    for (const auto& kv : pairs) present = present || kv.first == key;
    if (present && !Number(pairs, key, lo, hi, v)) ok = false;
    return v;
}

const std::string* Text(const Pairs& pairs, const char* key) {
    for (const auto& kv : pairs)
        if (kv.first == key) return &kv.second;
    return nullptr;
}

}  // namespace

bool ParseBmFontText(const std::string& data, BmFont& font, std::vector<std::string>& pageFiles) {
    std::istringstream in(data);
    std::string line, tag;
    Pairs pairs;
    bool sawCommon = false;
    int chars = 0, kernings = 0;
    font.low.assign(256, BmGlyph{});
    while (std::getline(in, line)) {
        if (!ParseLine(line, tag, pairs)) return false;
        bool ok = true;
        if (tag.empty()) continue;
        if (tag == "info") {
            font.unicode = NumberOr(pairs, "unicode", 0, 1, 1, ok) != 0;
        } else if (tag == "common") {
            long lh = 0;
            if (!Number(pairs, "lineHeight", 1, 4096, lh)) return false;
            font.lineHeight = static_cast<int>(lh);
            font.base = static_cast<int>(NumberOr(pairs, "base", 0, 4096, lh, ok));
            const long pages = NumberOr(pairs, "pages", 0, kMaxPages, 1, ok);
            pageFiles.resize(static_cast<std::size_t>(pages));
            sawCommon = true;
        } else if (tag == "page") {
            long id = 0;
            const std::string* file = Text(pairs, "file");
            if (!Number(pairs, "id", 0, kMaxPages - 1, id) || !file || file->empty()) return false;
            if (static_cast<std::size_t>(id) >= pageFiles.size()) pageFiles.resize(id + 1);
            pageFiles[id] = *file;
        } else if (tag == "chars") {
            // The count is advisory; the char lines themselves are bounded.
        } else if (tag == "char") {
            long id, x, y, w, h, xo, yo, xa;
            if (!Number(pairs, "id", 0, 0x10FFFF, id) || !Number(pairs, "x", 0, 16384, x) ||
                !Number(pairs, "y", 0, 16384, y) || !Number(pairs, "width", 0, 4096, w) ||
                !Number(pairs, "height", 0, 4096, h) ||
                !Number(pairs, "xoffset", -4096, 4096, xo) ||
                !Number(pairs, "yoffset", -4096, 4096, yo) ||
                !Number(pairs, "xadvance", -4096, 4096, xa))
                return false;
            const long page = NumberOr(pairs, "page", 0, kMaxPages - 1, 0, ok);
            if (++chars > kMaxChars) return false;
            BmGlyph gl;
            gl.x = static_cast<std::int16_t>(x);
            gl.y = static_cast<std::int16_t>(y);
            gl.w = static_cast<std::int16_t>(w);
            gl.h = static_cast<std::int16_t>(h);
            gl.xoff = static_cast<std::int16_t>(xo);
            gl.yoff = static_cast<std::int16_t>(yo);
            gl.xadvance = static_cast<std::int16_t>(xa);
            gl.page = static_cast<std::uint8_t>(page);
            gl.present = true;
            if (id < 256) font.low[id] = gl;
            else font.high[static_cast<std::uint32_t>(id)] = gl;
        } else if (tag == "kernings") {
        } else if (tag == "kerning") {
            long a, b, amount;
            if (!Number(pairs, "first", 0, 0x10FFFF, a) || !Number(pairs, "second", 0, 0x10FFFF, b) ||
                !Number(pairs, "amount", -4096, 4096, amount))
                return false;
            if (++kernings > kMaxKernings) return false;
            font.kerning[(static_cast<std::uint64_t>(a) << 32) | static_cast<std::uint64_t>(b)] =
                static_cast<int>(amount);
        } else {
            return false;  // not a BMFont text file
        }
        if (!ok) return false;
    }
    return sawCommon && chars > 0 && !pageFiles.empty();
}

// Next character code of GBK text: Unicode when the font is Unicode, else
// the GBK code itself (lead byte high).
std::uint32_t NextBmCode(const BmFont& f, std::string_view text, std::size_t& i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t len = gbk::CharLength(text, i);
    if (len == 1) {
        ++i;
        return c;
    }
    const std::uint32_t gbkCode = (static_cast<std::uint32_t>(c) << 8) |
                                  static_cast<unsigned char>(text[i + 1]);
    if (!f.unicode) {
        i += 2;
        return gbkCode;
    }
    const std::string u = gbk::ToUtf8(text.substr(i, 2));
    i += 2;
    if (u.size() == 3)
        return ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
    return 0xFFFD;
}

const BmGlyph* BmGlyphOf(const BmFont& f, std::uint32_t code) {
    if (code < 256) return f.low[code].present ? &f.low[code] : nullptr;
    auto it = f.high.find(code);
    return it != f.high.end() ? &it->second : nullptr;
}

}  // namespace lumo
