// Bitmap fonts in the BMFont text format: "info", "common", "page", "chars",
// "char" and "kerning" lines of key=value pairs; pages are pictures beside
// the .fnt file. Every number is bounded and a broken file gives no font.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine_internal.h"
#include "shared/gbk.h"

namespace lumo {
namespace {

constexpr std::size_t kMaxFileBytes = 4u << 20;
constexpr int kMaxPages = 64;
constexpr int kMaxChars = 70000;
constexpr int kMaxKernings = 200000;
constexpr float kMaxScale = 64.0f;

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

bool ParseFnt(const std::string& data, BmFont& font, std::vector<std::string>& pageFiles) {
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
std::uint32_t NextCode(const BmFont& f, const std::string_view text, std::size_t& i) {
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

const BmGlyph* GlyphOf(const BmFont& f, std::uint32_t code) {
    if (code < 256) return f.low[code].present ? &f.low[code] : nullptr;
    auto it = f.high.find(code);
    return it != f.high.end() ? &it->second : nullptr;
}

// Walks one line, calling fn(glyph, penX) per glyph; returns the width.
template <class Fn>
float WalkLine(const BmFont& f, std::string_view line, Fn&& fn) {
    float pen = 0;
    std::uint32_t prev = 0;
    for (std::size_t i = 0; i < line.size();) {
        const std::uint32_t code = NextCode(f, line, i);
        const BmGlyph* gl = GlyphOf(f, code);
        if (!gl) gl = GlyphOf(f, '?');
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

}  // namespace
}  // namespace lumo

using namespace lumo;

HBMFONT hFont_Interface_Get(const char* fntPath) {
    Engine* g = g_engine;
    if (!g || !fntPath || !*fntPath) return 0;
    std::ifstream file(fntPath, std::ios::binary);
    if (!file) return 0;
    std::string data(kMaxFileBytes + 1, '\0');
    file.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(file.gcount()));
    if (data.size() > kMaxFileBytes || data.find('\0') != std::string::npos) return 0;
    BmFont font;
    std::vector<std::string> pageFiles;
    try {
        if (!ParseFnt(data, font, pageFiles)) return 0;
    } catch (...) {
        return 0;
    }
    std::string dir = fntPath;
    const std::size_t slash = dir.find_last_of('/');
    dir = slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
    int loaded = 0;
    for (const std::string& name : pageFiles) {
        SDL_Texture* tex = nullptr;
        int w = 0, h = 0;
        if (!name.empty() && name[0] != '/') tex = LoadTexture(*g, (dir + name).c_str(), &w, &h);
        font.pages.push_back(tex);
        loaded += tex != nullptr;
    }
    if (g->renderer && loaded == 0) return 0;
    const std::uint32_t h = g->bmFonts.Add(std::move(font));
    return h;
}

void hFont_printf_e(HBMFONT handle, float x, float y, int align, const char* text) {
    Engine* g = Drawable();
    BmFont* f = g ? g->bmFonts.Get(handle) : nullptr;
    if (!f || !text) return;
    const std::string_view all(text);
    const float scale = f->scale;
    const float lineHeight = static_cast<float>(f->lineHeight) * scale;
    // Only alignment and the draw listener need a line's width before it is drawn.
    const bool measure = align == LUMO_ALIGN_RIGHT || align == LUMO_ALIGN_CENTER || g->listener;
    // Every page takes the colour once per call, not once per glyph.
    for (SDL_Texture* page : f->pages)
        if (page) ApplyMod(page, f->color);
    float lineY = y;
    for (std::size_t start = 0; start <= all.size();) {
        std::size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = all.substr(start, end - start);
        const float width =
            measure ? WalkLine(*f, line, [](const BmGlyph&, float) {}) * scale : 0.0f;
        float lineX = x;
        if (align == LUMO_ALIGN_RIGHT) lineX -= width;
        else if (align == LUMO_ALIGN_CENTER) lineX -= width / 2;
        if (g->listener && !line.empty()) {
            const std::string copy(line);
            Notify(*g, LUMO_DRAW_TEXT, 0, 0, lineX, lineY, width, lineHeight, f->color,
                   copy.c_str());
        }
        if (g->drawingOff) {
            lineY += lineHeight;
            start = end + 1;
            continue;
        }
        SceneTouched(*g);
        WalkLine(*f, line, [&](const BmGlyph& gl, float pen) {
            if (gl.page >= f->pages.size() || !f->pages[gl.page] || gl.w <= 0 || gl.h <= 0) return;
            SDL_Texture* page = f->pages[gl.page];
            const SDL_Rect src{gl.x, gl.y, gl.w, gl.h};
            const SDL_FRect dst{lineX + (pen + gl.xoff) * scale, lineY + gl.yoff * scale,
                                gl.w * scale, gl.h * scale};
            SDL_RenderCopyF(g->renderer, page, &src, &dst);
        });
        lineY += lineHeight;
        start = end + 1;
    }
}

void hFont_SetColor_e(HBMFONT handle, std::uint32_t argb) {
    BmFont* f = g_engine ? g_engine->bmFonts.Get(handle) : nullptr;
    if (f) f->color = argb;
}

float hFont_GetTextWidth_e(HBMFONT handle, const char* text) {
    BmFont* f = g_engine ? g_engine->bmFonts.Get(handle) : nullptr;
    if (!f || !text) return 0;
    float widest = 0;
    const std::string_view all(text);
    for (std::size_t start = 0; start <= all.size();) {
        std::size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        widest = std::max(widest, WalkLine(*f, all.substr(start, end - start),
                                           [](const BmGlyph&, float) {}));
        start = end + 1;
    }
    return widest * f->scale;
}

float hFont_GetTextHeight_e(HBMFONT handle, const char* text) {
    BmFont* f = g_engine ? g_engine->bmFonts.Get(handle) : nullptr;
    if (!f || !text || !*text) return 0;
    const std::string_view all(text);
    const auto lines = std::count(all.begin(), all.end(), '\n') + 1;
    return static_cast<float>(lines) * static_cast<float>(f->lineHeight) * f->scale;
}

void hFont_SetScale_e(HBMFONT handle, float scale) {
    BmFont* f = g_engine ? g_engine->bmFonts.Get(handle) : nullptr;
    // Past kMaxScale a glyph rectangle no longer fits the renderer's integer coordinates.
    if (f && std::isfinite(scale) && scale > 0 && scale <= kMaxScale) f->scale = scale;
}
