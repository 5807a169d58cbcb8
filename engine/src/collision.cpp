// Axis-aligned collision boxes.

#include "engine_internal.h"

using namespace lumo;

namespace {
Collision* Find(HCOLL c) { return g_engine ? g_engine->colls.Get(c) : nullptr; }
}  // namespace

HCOLL CCollision_e(HENGINE e, float x, float y, float w, float h) {
    Engine* g = Get(e);
    return g ? g->colls.Add(Collision{x, y, w, h}) : 0;
}

void CColl_SetPoint_e(HCOLL c, float x, float y) {
    if (Collision* b = Find(c)) {
        b->x = x;
        b->y = y;
    }
}

void CColl_SetWH_e(HCOLL c, float w, float h) {
    if (Collision* b = Find(c)) {
        b->w = w;
        b->h = h;
    }
}

void CColl_Move_e(HCOLL c, float dx, float dy) {
    if (Collision* b = Find(c)) {
        b->x += dx;
        b->y += dy;
    }
}

float CColl_GetX_e(HCOLL c) { const Collision* b = Find(c); return b ? b->x : 0.0f; }
float CColl_GetY_e(HCOLL c) { const Collision* b = Find(c); return b ? b->y : 0.0f; }
float CColl_GetW_e(HCOLL c) { const Collision* b = Find(c); return b ? b->w : 0.0f; }
float CColl_GetH_e(HCOLL c) { const Collision* b = Find(c); return b ? b->h : 0.0f; }

void CColl_Render_e(HCOLL c, std::uint32_t argb) {
    const Collision* b = Find(c);
    if (!b) return;
    const HENGINE e = reinterpret_cast<HENGINE>(g_engine);
    const float x2 = b->x + b->w, y2 = b->y + b->h;
    Gfx_RenderLine_e(e, b->x, b->y, x2, b->y, argb);
    Gfx_RenderLine_e(e, x2, b->y, x2, y2, argb);
    Gfx_RenderLine_e(e, x2, y2, b->x, y2, argb);
    Gfx_RenderLine_e(e, b->x, y2, b->x, b->y, argb);
}

// The left and top edges belong to the box, the right and bottom do not.
int CColl_TextPoint_e(HCOLL c, float x, float y) {
    const Collision* b = Find(c);
    if (!b) return 1;
    const bool inside = x >= b->x && x < b->x + b->w && y >= b->y && y < b->y + b->h;
    return inside ? 0 : 1;
}

void CColl_Del(HCOLL c) {
    if (g_engine) g_engine->colls.Remove(c);
}
