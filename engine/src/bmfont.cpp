// Bitmap fonts in the BMFont text format (read by bmfont_text.cpp); pages are
// pictures beside the .fnt file. A broken file gives no font.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "engine_internal.h"

namespace lumo {
namespace {

constexpr float kMaxScale = 64.0f;

}  // namespace
}  // namespace lumo

using namespace lumo;

HBMFONT hFont_Interface_Get(const char* fntPath) {
    Engine* g = g_engine;
    if (!g || !fntPath || !*fntPath) return 0;
    std::ifstream file(fntPath, std::ios::binary);
    if (!file) return 0;
    std::string data(kMaxBmFontFileBytes + 1, '\0');
    file.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(file.gcount()));
    if (data.size() > kMaxBmFontFileBytes || data.find('\0') != std::string::npos) return 0;
    BmFont font;
    std::vector<std::string> pageFiles;
    try {
        if (!ParseBmFontText(data, font, pageFiles)) return 0;
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
            measure ? WalkBmLine(*f, line, [](const BmGlyph&, float) {}) * scale : 0.0f;
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
        WalkBmLine(*f, line, [&](const BmGlyph& gl, float pen) {
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
        widest = std::max(widest, WalkBmLine(*f, all.substr(start, end - start),
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
