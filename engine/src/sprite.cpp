// Sprites: a picture rectangle drawn with a hot spot, colour, blend mode and
// z. The draw path does one table index per sprite and texture and no
// allocation.

#include <algorithm>
#include <cmath>

#include "engine_internal.h"

namespace lumo {
namespace {

// Clips the picture rectangle to the picture, then to the part of it the
// texture holds; what lies outside draws nothing.
void UpdateSource(Engine& g, Sprite& s) {
    s.src = SDL_Rect{0, 0, 0, 0};
    s.ox = s.oy = 0;
    s.fullW = s.fullH = 0;
    s.cutLeft = s.cutTop = 0;
    const Texture* t = g.textures.Get(s.tex);
    if (!t) return;
    const float x0 = std::fmax(s.rx, 0.0f), y0 = std::fmax(s.ry, 0.0f);
    const float x1 = std::fmin(s.rx + s.rw, static_cast<float>(t->w));
    const float y1 = std::fmin(s.ry + s.rh, static_cast<float>(t->h));
    if (x1 <= x0 || y1 <= y0) return;
    const SDL_Rect whole{static_cast<int>(x0), static_cast<int>(y0),
                         static_cast<int>(std::lround(x1 - static_cast<int>(x0))),
                         static_cast<int>(std::lround(y1 - static_cast<int>(y0)))};
    s.ox = whole.x - s.rx;
    s.oy = whole.y - s.ry;
    s.fullW = whole.w;
    s.fullH = whole.h;
    const int kx0 = std::max(whole.x, t->keepX), ky0 = std::max(whole.y, t->keepY);
    const int kx1 = std::min(whole.x + whole.w, t->keepX + t->keepW);
    const int ky1 = std::min(whole.y + whole.h, t->keepY + t->keepH);
    if (kx1 <= kx0 || ky1 <= ky0) return;  // only transparent pixels: src stays empty
    s.src = SDL_Rect{kx0 - t->keepX, ky0 - t->keepY, kx1 - kx0, ky1 - ky0};
    s.cutLeft = kx0 - whole.x;
    s.cutTop = ky0 - whole.y;
}

// True when the texture holds less than the whole clipped rectangle.
inline bool Cut(const Sprite& s) {
    return s.cutLeft != 0 || s.cutTop != 0 || s.src.w != s.fullW || s.src.h != s.fullH;
}

// True when the renderer draws the logical picture at its own size (a
// resized window scales it).
inline bool Unscaled(const Engine& g) {
    float sx = 1, sy = 1;
    SDL_RenderGetScale(g.renderer, &sx, &sy);
    return sx == 1.0f && sy == 1.0f;
}

// Where the kept part of a cut sprite goes when the whole rectangle would
// take the box `whole` (mirrored as flipX / flipY say). Drawn one to one by
// the software renderer, the whole box's corner is first put on the pixel
// the renderer would put it on (it drops the fraction), so every kept pixel
// lands exactly where it would have landed in the whole picture.
SDL_FRect PartBox(const Engine& g, const Sprite& s, const SDL_FRect& whole, bool flipX, bool flipY, bool turned) {
    const int left = flipX ? s.fullW - s.cutLeft - s.src.w : s.cutLeft;
    const int top = flipY ? s.fullH - s.cutTop - s.src.h : s.cutTop;
    if (g.softwareRenderer && !turned && static_cast<int>(whole.w) == s.fullW &&
        static_cast<int>(whole.h) == s.fullH && Unscaled(g)) {
        return SDL_FRect{std::trunc(whole.x) + static_cast<float>(left), std::trunc(whole.y) + static_cast<float>(top),
                         static_cast<float>(s.src.w), static_cast<float>(s.src.h)};
    }
    const float sx = whole.w / static_cast<float>(s.fullW), sy = whole.h / static_cast<float>(s.fullH);
    return SDL_FRect{whole.x + static_cast<float>(left) * sx, whole.y + static_cast<float>(top) * sy,
                     static_cast<float>(s.src.w) * sx, static_cast<float>(s.src.h) * sy};
}

// The texture ready to draw this sprite, with its colour and blend applied;
// nullptr when there is nothing to draw.
inline SDL_Texture* Prepare(Engine& g, Sprite& s) {
    if (s.src.w <= 0) return nullptr;
    Texture* t = g.textures.Get(s.tex);
    if (!t) return nullptr;
    if (t->appliedColor != s.color) {
        ApplyMod(t->tex, s.color);
        t->appliedColor = s.color;
    }
    const SDL_BlendMode blend = DrawnBlend(*t, s.blend, s.color);
    if (t->appliedBlend != blend) {
        SDL_SetTextureBlendMode(t->tex, blend);
        t->appliedBlend = blend;
    }
    return t->tex;
}

inline Sprite* Find(HSPRITE spr) { return g_engine ? g_engine->sprites.Get(spr) : nullptr; }

}  // namespace
}  // namespace lumo

using namespace lumo;

HSPRITE Spr_Interface_Get(HTEXTURE tex, float x, float y, float w, float h) {
    Engine* g = g_engine;
    if (!g) return 0;
    Sprite s;
    s.tex = tex;
    s.rx = x;
    s.ry = y;
    s.rw = w;
    s.rh = h;
    UpdateSource(*g, s);
    return g->sprites.Add(s);
}

void Spr_Render_e(HSPRITE spr, float x, float y) {
    Engine* g = Drawable();
    Sprite* s = g ? g->sprites.Get(spr) : nullptr;
    if (!s) return;
    const float dx = x - s->hotX, dy = y - s->hotY;
    if (g->listener) Notify(*g, LUMO_DRAW_SPRITE, spr, s->tex, dx, dy, s->rw, s->rh, s->color, nullptr);
    if (g->drawingOff) return;
    SDL_Texture* t = Prepare(*g, *s);
    if (!t) return;
    SceneTouched(*g);
    SDL_FRect dst{dx + s->ox, dy + s->oy, static_cast<float>(s->fullW), static_cast<float>(s->fullH)};
    if (Cut(*s)) dst = PartBox(*g, *s, dst, false, false, false);
    SDL_RenderCopyF(g->renderer, t, &s->src, &dst);
}

void Spr_RenderStretch_e(HSPRITE spr, float x1, float y1, float x2, float y2) {
    Engine* g = Drawable();
    Sprite* s = g ? g->sprites.Get(spr) : nullptr;
    if (!s) return;
    if (g->listener)
        Notify(*g, LUMO_DRAW_SPRITE, spr, s->tex, x1, y1, x2 - x1, y2 - y1, s->color, nullptr);
    if (g->drawingOff) return;
    SDL_Texture* t = Prepare(*g, *s);
    if (!t || s->rw <= 0 || s->rh <= 0) return;
    SceneTouched(*g);
    const float sx = (x2 - x1) / s->rw, sy = (y2 - y1) / s->rh;
    SDL_FRect dst{x1 + s->ox * sx, y1 + s->oy * sy, s->fullW * sx, s->fullH * sy};
    int flip = SDL_FLIP_NONE;
    if (dst.w < 0) {
        dst.x += dst.w;
        dst.w = -dst.w;
        flip |= SDL_FLIP_HORIZONTAL;
    }
    if (dst.h < 0) {
        dst.y += dst.h;
        dst.h = -dst.h;
        flip |= SDL_FLIP_VERTICAL;
    }
    if (Cut(*s)) dst = PartBox(*g, *s, dst, flip & SDL_FLIP_HORIZONTAL, flip & SDL_FLIP_VERTICAL, false);
    if (flip == SDL_FLIP_NONE)
        SDL_RenderCopyF(g->renderer, t, &s->src, &dst);
    else
        SDL_RenderCopyExF(g->renderer, t, &s->src, &dst, 0.0, nullptr,
                          static_cast<SDL_RendererFlip>(flip));
}

void Spr_RenderEx_e(HSPRITE spr, float x, float y, float rot, float hscale, float vscale) {
    Engine* g = Drawable();
    Sprite* s = g ? g->sprites.Get(spr) : nullptr;
    if (!s) return;
    if (vscale == 0) vscale = hscale;
    if (g->listener)
        Notify(*g, LUMO_DRAW_SPRITE, spr, s->tex, x - s->hotX * hscale, y - s->hotY * vscale,
               s->rw * hscale, s->rh * vscale, s->color, nullptr);
    if (g->drawingOff) return;
    SDL_Texture* t = Prepare(*g, *s);
    if (!t) return;
    SceneTouched(*g);
    // The picture point u maps to x + (u - hotX) * hscale before rotation; the
    // box is laid out that way and SDL flips inside it, then turns about the
    // hot spot.
    // The size is scaled, not taken as the difference of the two edges: at
    // some fractional places that difference falls a hair short of the
    // picture and the renderer would squeeze it by a row or a column.
    const float ax = x + (s->ox - s->hotX) * hscale;
    const float ay = y + (s->oy - s->hotY) * vscale;
    const float w = s->fullW * std::fabs(hscale), h = s->fullH * std::fabs(vscale);
    SDL_FRect dst{hscale < 0 ? ax - w : ax, vscale < 0 ? ay - h : ay, w, h};
    int flip = SDL_FLIP_NONE;
    if (hscale < 0) flip |= SDL_FLIP_HORIZONTAL;
    if (vscale < 0) flip |= SDL_FLIP_VERTICAL;
    // Turning is about the hot spot, which the centre below keeps wherever the box is.
    if (Cut(*s)) dst = PartBox(*g, *s, dst, hscale < 0, vscale < 0, rot != 0);
    if (rot == 0 && flip == SDL_FLIP_NONE) {
        SDL_RenderCopyF(g->renderer, t, &s->src, &dst);
        return;
    }
    const SDL_FPoint center{x - dst.x, y - dst.y};
    SDL_RenderCopyExF(g->renderer, t, &s->src, &dst, rot * (180.0 / M_PI), &center,
                      static_cast<SDL_RendererFlip>(flip));
}

void Spr_SetTexture_e(HSPRITE spr, HTEXTURE tex) {
    Sprite* s = Find(spr);
    if (!s) return;
    // A sprite made without a picture takes the whole new one.
    if (s->tex == 0 && s->rw == 0 && s->rh == 0) {
        const Texture* t = g_engine->textures.Get(tex);
        if (t) {
            s->rw = static_cast<float>(t->w);
            s->rh = static_cast<float>(t->h);
        }
    }
    s->tex = tex;
    UpdateSource(*g_engine, *s);
}

void Spr_SetTextureRect_e(HSPRITE spr, float x, float y, float w, float h) {
    Sprite* s = Find(spr);
    if (!s) return;
    s->rx = x;
    s->ry = y;
    s->rw = w;
    s->rh = h;
    UpdateSource(*g_engine, *s);
}

void Spr_SetHotSpot_e(HSPRITE spr, float x, float y) {
    Sprite* s = Find(spr);
    if (!s) return;
    s->hotX = x;
    s->hotY = y;
}

void Spr_SetColor_e(HSPRITE spr, std::uint32_t argb) {
    Sprite* s = Find(spr);
    if (s) s->color = argb;
}

void Spr_SetBlendMode_e(HSPRITE spr, int blend) {
    Sprite* s = Find(spr);
    if (!s) return;
    s->blendFlags = blend;
    s->blend = (blend & BLEND_ALPHAADD) ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND;
}

void Spr_Set_Z_e(HSPRITE spr, float z, int /*i*/) {
    Sprite* s = Find(spr);
    if (s) s->z = z < 0 ? 0 : (z > 1 ? 1 : z);
}

float Spr_GetWidth_e(HSPRITE spr) {
    Sprite* s = Find(spr);
    return s ? s->rw : 0.0f;
}

float Spr_GetHeight_e(HSPRITE spr) {
    Sprite* s = Find(spr);
    return s ? s->rh : 0.0f;
}

HTEXTURE Spr_GetTexture_e(HSPRITE spr) {
    Sprite* s = Find(spr);
    return s ? s->tex : 0;
}

void Spr_Del(HSPRITE spr) {
    if (g_engine) g_engine->sprites.Remove(spr);
}
