// Scenes, lines, textures, and the frame read-back used by the harness.

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine_internal.h"

namespace lumo {

void Notify(Engine& g, int kind, std::uint32_t spr, std::uint32_t tex, float x, float y, float w,
            float h, std::uint32_t color, const char* text) {
    if (!g.listener) return;
    const LumoDrawRecord rec{kind, spr, tex, x, y, w, h, color, text};
    g.listener(g.listenerUser, &rec);
}

namespace {

constexpr std::size_t kMaxPictureBytes = 64u << 20;
constexpr std::uint32_t kMaxSide = 16384;

std::uint32_t BigEndian32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

// A PNG whose chunks do not fit the file, or whose size is absurd, is refused
// before the decoder sees it (a bogus chunk length costs the decoder dearly).
bool PlausiblePng(const std::vector<unsigned char>& d) {
    static const unsigned char kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (d.size() < 8 || !std::equal(kSig, kSig + 8, d.begin())) return true;  // not a PNG
    std::size_t at = 8;
    bool first = true;
    while (at + 12 <= d.size()) {
        const std::uint32_t len = BigEndian32(&d[at]);
        if (len > d.size() - at - 12) return false;
        if (first) {
            if (std::memcmp(&d[at + 4], "IHDR", 4) != 0 || len < 8) return false;
            const std::uint32_t w = BigEndian32(&d[at + 8]), h = BigEndian32(&d[at + 12]);
            if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return false;
            first = false;
        }
        if (std::memcmp(&d[at + 4], "IEND", 4) == 0) return true;
        at += 12 + len;
    }
    return false;
}

bool ReadWhole(const char* path, std::vector<unsigned char>& out) {
    SDL_RWops* rw = SDL_RWFromFile(path, "rb");
    if (!rw) return false;
    const Sint64 size = SDL_RWsize(rw);
    bool ok = size > 0 && static_cast<std::uint64_t>(size) <= kMaxPictureBytes;
    if (ok) {
        out.resize(static_cast<std::size_t>(size));
        ok = SDL_RWread(rw, out.data(), 1, out.size()) == out.size();
    }
    SDL_RWclose(rw);
    return ok;
}

// The decoded picture, or nullptr when missing, corrupt or of an absurd size.
SDL_Surface* LoadSurface(Engine& g, const char* path) {
    if (!g.renderer || !path || !*path) return nullptr;
    std::vector<unsigned char> bytes;
    if (!ReadWhole(path, bytes) || !PlausiblePng(bytes)) return nullptr;
    SDL_Surface* surf = IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (surf && (surf->w <= 0 || surf->h <= 0 || surf->w > 16384 || surf->h > 16384)) {
        SDL_FreeSurface(surf);
        surf = nullptr;
    }
    return surf;
}

SDL_Texture* TextureFromSurface(Engine& g, SDL_Surface* surf) {
    SDL_Texture* tex = SDL_CreateTextureFromSurface(g.renderer, surf);
    if (tex) SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_BLEND);
    return tex;
}

// What a picture's alpha says: `shown`, the smallest rectangle holding every
// pixel that is not fully transparent (the whole picture when it has no
// transparency to go by, one pixel when nothing shows at all: SDL has no
// empty texture), and whether every pixel is fully opaque.
struct Coverage {
    SDL_Rect shown;
    bool opaque;
};

Coverage ScanArgb(const std::uint32_t* pixels, int w, int h, int pitchBytes) {
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    bool opaque = true;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(pixels) +
                                                                 static_cast<std::ptrdiff_t>(y) * pitchBytes);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t alpha = row[x] >> 24;
            if (alpha != 0xFF) opaque = false;
            if (alpha == 0) continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = y;
        }
    }
    if (x1 < 0) return Coverage{SDL_Rect{0, 0, 1, 1}, false};
    return Coverage{SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1}, opaque};
}

Coverage Scan(SDL_Surface* surf) {
    const SDL_Rect whole{0, 0, surf->w, surf->h};
    if (!surf->format->Amask && !surf->format->palette && !SDL_HasColorKey(surf)) return Coverage{whole, true};
    // Colour keys and palette alpha become plain alpha in the copy.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surf, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb) return Coverage{whole, false};
    const Coverage c = ScanArgb(static_cast<const std::uint32_t*>(argb->pixels), argb->w, argb->h, argb->pitch);
    SDL_FreeSurface(argb);
    return c;
}

// A copy of `part` of surf in surf's own format, palette and colour key, so
// the texture made from it holds exactly the pixels the whole one would.
SDL_Surface* CopyPart(SDL_Surface* surf, const SDL_Rect& part) {
    const SDL_PixelFormat* f = surf->format;
    if (f->BitsPerPixel < 8) return nullptr;
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, part.w, part.h, f->BitsPerPixel, f->format);
    if (!out) return nullptr;
    if (f->palette && out->format->palette)
        SDL_SetPaletteColors(out->format->palette, f->palette->colors, 0, f->palette->ncolors);
    Uint32 key = 0;
    if (SDL_GetColorKey(surf, &key) == 0) SDL_SetColorKey(out, SDL_TRUE, key);
    const int bytes = f->BytesPerPixel;
    for (int y = 0; y < part.h; ++y) {
        std::memcpy(static_cast<unsigned char*>(out->pixels) + static_cast<std::ptrdiff_t>(y) * out->pitch,
                    static_cast<const unsigned char*>(surf->pixels) +
                        static_cast<std::ptrdiff_t>(part.y + y) * surf->pitch + part.x * bytes,
                    static_cast<std::size_t>(part.w) * bytes);
    }
    return out;
}

}  // namespace

SDL_Texture* LoadTexture(Engine& g, const char* path, int* w, int* h, bool* opaque) {
    SDL_Surface* surf = LoadSurface(g, path);
    if (!surf) return nullptr;
    SDL_Texture* tex = TextureFromSurface(g, surf);
    if (tex) {
        *w = surf->w;
        *h = surf->h;
        if (opaque) *opaque = Scan(surf).opaque;
    }
    SDL_FreeSurface(surf);
    return tex;
}

bool LoadTrimmedTexture(Engine& g, const char* path, Texture& t) {
    SDL_Surface* surf = LoadSurface(g, path);
    if (!surf) return false;
    const Coverage coverage = Scan(surf);
    SDL_Rect keep = coverage.shown;
    SDL_Surface* part = nullptr;
    if (keep.w != surf->w || keep.h != surf->h) {
        part = CopyPart(surf, keep);
        if (!part) keep = SDL_Rect{0, 0, surf->w, surf->h};
    }
    t.tex = TextureFromSurface(g, part ? part : surf);
    t.w = surf->w;
    t.h = surf->h;
    t.keepX = keep.x;
    t.keepY = keep.y;
    t.keepW = keep.w;
    t.keepH = keep.h;
    t.opaque = coverage.opaque;
    if (part) SDL_FreeSurface(part);
    SDL_FreeSurface(surf);
    return t.tex != nullptr;
}

void FillRect(Engine& g, float x, float y, float w, float h, std::uint32_t argb) {
    if (!g.renderer || g.drawingOff) return;
    SceneTouched(g);
    SDL_SetRenderDrawBlendMode(g.renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(g.renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                           argb >> 24);
    const SDL_FRect r{x, y, w, h};
    SDL_RenderFillRectF(g.renderer, &r);
}

namespace {

// Reads the renderer's current picture as ARGB rows: the whole window,
// bars included, at the window's size.
bool ReadRenderer(Engine& g, std::vector<std::uint32_t>& out, int& w, int& h) {
    if (!g.renderer || SDL_GetRendererOutputSize(g.renderer, &w, &h) != 0 || w <= 0 || h <= 0)
        return false;
    out.resize(static_cast<std::size_t>(w) * h);
    // With a logical size SDL reads only the picture inside the bars.
    int logicalW = 0, logicalH = 0;
    SDL_RenderGetLogicalSize(g.renderer, &logicalW, &logicalH);
    if (logicalW > 0) SDL_RenderSetLogicalSize(g.renderer, 0, 0);
    const bool ok = SDL_RenderReadPixels(g.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, out.data(),
                                         w * 4) == 0;
    if (logicalW > 0) SDL_RenderSetLogicalSize(g.renderer, logicalW, logicalH);
    return ok;
}

// True when the window is not exactly the logical picture, so bars show.
bool Letterboxed(Engine& g) {
    int w = 0, h = 0;
    return SDL_GetRendererOutputSize(g.renderer, &w, &h) == 0 && (w != g.width || h != g.height);
}

// Writes the kept frame as PNG through a temporary file beside the target,
// so a failed write never leaves half a picture under the real name.
bool SaveFrame(Engine& g, const char* path) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(g.lastFrame.data(), g.lastFrameW,
                                                        g.lastFrameH, 32, g.lastFrameW * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (!s) return false;
    const std::string temp = std::string(path) + ".part";
    bool ok = IMG_SavePNG(s, temp.c_str()) == 0;
    SDL_FreeSurface(s);
    ok = ok && std::rename(temp.c_str(), path) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok;
}

// Makes lastFrame hold the last finished scene, when that is still known.
bool FinishedFrame(Engine& g) {
    if (!g.lastFrame.empty()) return true;
    if (!g.frameInRenderer) return false;
    if (!ReadRenderer(g, g.lastFrame, g.lastFrameW, g.lastFrameH)) {
        g.lastFrame.clear();
        return false;
    }
    return true;
}

}  // namespace

void WindowResized(Engine& g) {
    // The window surface behind a software renderer is replaced on a resize.
    SceneTouched(g);
}

}  // namespace lumo

using namespace lumo;

void Gfx_Clear_e(HENGINE e, std::uint32_t argb) {
    Engine* g = Get(e);
    if (!g || !g->renderer) return;
    SceneTouched(*g);
    Notify(*g, LUMO_DRAW_CLEAR, 0, 0, 0, 0, 0, 0, argb, nullptr);
    if (g->drawingOff) return;
    if (!Letterboxed(*g)) {
        SDL_SetRenderDrawColor(g->renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                               argb >> 24);
        SDL_RenderClear(g->renderer);
        return;
    }
    // SDL clears the whole window: the bars are cleared black, then only the
    // picture takes the colour, written as it is like a clear.
    SDL_SetRenderDrawColor(g->renderer, 0, 0, 0, 0xFF);
    SDL_RenderClear(g->renderer);
    SDL_SetRenderDrawBlendMode(g->renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(g->renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                           argb >> 24);
    SDL_RenderFillRect(g->renderer, nullptr);
    SDL_SetRenderDrawBlendMode(g->renderer, SDL_BLENDMODE_BLEND);
}

bool Gfx_BeginScene_e(HENGINE e, HTARGET target) {
    Engine* g = Get(e);
    if (!g || !g->renderer || target != 0) return false;
    if (g->drawingOff) return true;
    SceneTouched(*g);
    g->lastFrame.clear();
    SDL_SetRenderTarget(g->renderer, nullptr);
    return true;
}

void Gfx_EndScene_e(HENGINE e) {
    Engine* g = Get(e);
    if (!g || !g->renderer || g->drawingOff) return;
    g->lastFrame.clear();
    // A software renderer keeps its picture after presenting, so it is read
    // back only when asked; other renderers are copied now when frames are
    // kept or a screenshot waits for this scene.
    const bool shotWaits = !g->pendingShot.empty();
    if ((g->keepFrames || shotWaits) && !g->softwareRenderer)
        if (!ReadRenderer(*g, g->lastFrame, g->lastFrameW, g->lastFrameH)) g->lastFrame.clear();
    if (shotWaits) {
        g->frameInRenderer = g->softwareRenderer;
        if (!FinishedFrame(*g) || !SaveFrame(*g, g->pendingShot.c_str()))
            LogLine(*g, "engine: screenshot %s not saved", g->pendingShot.c_str());
        g->pendingShot.clear();
        if (!g->keepFrames) g->lastFrame.clear();
    }
    SDL_RenderPresent(g->renderer);
    g->frameInRenderer = g->softwareRenderer;
}

void Gfx_RenderLine_e(HENGINE e, float x1, float y1, float x2, float y2, std::uint32_t argb) {
    Engine* g = Get(e);
    if (!g || !g->renderer) return;
    SceneTouched(*g);
    Notify(*g, LUMO_DRAW_LINE, 0, 0, x1, y1, x2, y2, argb, nullptr);
    if (g->drawingOff) return;
    SDL_SetRenderDrawBlendMode(g->renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(g->renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                           argb >> 24);
    SDL_RenderDrawLineF(g->renderer, x1, y1, x2, y2);
}

HTEXTURE Texture_Load_e(HENGINE e, const char* path) {
    Engine* g = Get(e);
    if (!g) return 0;
    Texture t;
    t.tex = LoadTexture(*g, path, &t.w, &t.h, &t.opaque);
    if (!t.tex) return 0;
    t.keepW = t.w;
    t.keepH = t.h;
    const std::uint32_t h = g->textures.Add(t);
    if (!h) SDL_DestroyTexture(t.tex);
    return h;
}

HTEXTURE Texture_LoadTrimmed_e(HENGINE e, const char* path) {
    Engine* g = Get(e);
    if (!g) return 0;
    Texture t;
    if (!LoadTrimmedTexture(*g, path, t)) return 0;
    const std::uint32_t h = g->textures.Add(t);
    if (!h) SDL_DestroyTexture(t.tex);
    return h;
}

HTEXTURE Texture_Create_e(HENGINE e, int w, int h, const std::uint32_t* argb) {
    Engine* g = Get(e);
    if (!g || !g->renderer || !argb || w <= 0 || h <= 0 || w > 16384 || h > 16384) return 0;
    Texture t;
    t.tex = SDL_CreateTexture(g->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, w, h);
    if (!t.tex) return 0;
    if (SDL_UpdateTexture(t.tex, nullptr, argb, w * 4) != 0) {
        SDL_DestroyTexture(t.tex);
        return 0;
    }
    SDL_SetTextureBlendMode(t.tex, SDL_BLENDMODE_BLEND);
    t.opaque = ScanArgb(argb, w, h, w * 4).opaque;
    t.w = t.keepW = w;
    t.h = t.keepH = h;
    const std::uint32_t handle = g->textures.Add(t);
    if (!handle) SDL_DestroyTexture(t.tex);
    return handle;
}

int Texture_GetWidth_e(HENGINE e, HTEXTURE tex) {
    Engine* g = Get(e);
    const Texture* t = g ? g->textures.Get(tex) : nullptr;
    return t ? t->w : 0;
}

int Texture_GetHeight_e(HENGINE e, HTEXTURE tex) {
    Engine* g = Get(e);
    const Texture* t = g ? g->textures.Get(tex) : nullptr;
    return t ? t->h : 0;
}

void Texture_Free_e(HENGINE e, HTEXTURE tex) {
    Engine* g = Get(e);
    Texture* t = g ? g->textures.Get(tex) : nullptr;
    if (!t) return;
    if (t->tex) SDL_DestroyTexture(t->tex);
    g->textures.Remove(tex);
}

bool System_SaveScreenshot_e(HENGINE e, const char* utf8Path) {
    Engine* g = Get(e);
    if (!g || !g->renderer || !utf8Path || !*utf8Path) return false;
    if (FinishedFrame(*g)) return SaveFrame(*g, utf8Path);
    if (g->softwareRenderer) return false;  // no scene has finished yet
    // A hardware renderer's picture is gone once presented: the scene in
    // progress is saved at its end, before it is shown.
    g->pendingShot = utf8Path;
    return true;
}

bool Harness_Screenshot(HENGINE e, const char* path) {
    Engine* g = Get(e);
    if (!g || !path || !*path || !FinishedFrame(*g)) return false;
    return SaveFrame(*g, path);
}

std::uint32_t Harness_ReadPixel(HENGINE e, int x, int y) {
    Engine* g = Get(e);
    if (!g || !FinishedFrame(*g)) return 0;
    if (x < 0 || y < 0 || x >= g->lastFrameW || y >= g->lastFrameH) return 0;
    return g->lastFrame[static_cast<std::size_t>(y) * g->lastFrameW + x];
}

void Harness_KeepFrames(HENGINE e, bool keep) {
    Engine* g = Get(e);
    if (g) g->keepFrames = keep;
}

long Harness_FrameCount(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->frameCount : 0;
}

long Harness_RasterCount(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->rasterCount : 0;
}

void Harness_SetDrawing(HENGINE e, bool on) {
    Engine* g = Get(e);
    if (g) g->drawingOff = !on;
}

void Harness_SetDrawListener(HENGINE e, LumoDrawListener fn, void* user) {
    Engine* g = Get(e);
    if (!g) return;
    g->listener = fn;
    g->listenerUser = user;
}
