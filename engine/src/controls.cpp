// Simple GUI controls: picture buttons, a one-line text box and a slider.
// A GUI feeds its controls the engine's input for the frame and draws them
// in the order they were added.

#include <algorithm>
#include <cmath>

#include "engine_internal.h"
#include "shared/gbk.h"

namespace lumo {
namespace {

Control* Find(HCTRL c) { return g_engine ? g_engine->ctrls.Get(c) : nullptr; }

bool Inside(const Control& c, float x, float y) {
    return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
}

void DrawTexture(Engine& g, std::uint32_t handle, float x, float y, float w, float h) {
    Texture* t = g.textures.Get(handle);
    if (!t || !g.renderer) return;
    if (w <= 0) w = static_cast<float>(t->w);
    if (h <= 0) h = static_cast<float>(t->h);
    Notify(g, LUMO_DRAW_SPRITE, 0, handle, x, y, w, h, 0xFFFFFFFF, nullptr);
    if (g.drawingOff) return;
    if (t->appliedColor != 0xFFFFFFFF) {
        ApplyMod(t->tex, 0xFFFFFFFF);
        t->appliedColor = 0xFFFFFFFF;
    }
    const SDL_BlendMode blend = DrawnBlend(*t, SDL_BLENDMODE_BLEND, 0xFFFFFFFF);
    if (t->appliedBlend != blend) {
        SDL_SetTextureBlendMode(t->tex, blend);
        t->appliedBlend = blend;
    }
    SceneTouched(g);
    SDL_FRect dst{x, y, w, h};
    if (t->keepW != t->w || t->keepH != t->h) {
        // A trimmed texture holds only part of the picture, placed to scale.
        const float sx = w / static_cast<float>(t->w), sy = h / static_cast<float>(t->h);
        dst = SDL_FRect{x + static_cast<float>(t->keepX) * sx, y + static_cast<float>(t->keepY) * sy,
                        static_cast<float>(t->keepW) * sx, static_cast<float>(t->keepH) * sy};
    }
    SDL_RenderCopyF(g.renderer, t->tex, nullptr, &dst);
}

// Removes the last whole GBK character.
void Backspace(std::string& text) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += gbk::CharLength(text, i)) last = i;
    text.resize(text.empty() ? 0 : last);
}

// Appends typed GBK text, whole characters only, up to maxBytes.
void Type(Control& c, const std::string& typed) {
    for (std::size_t i = 0; i < typed.size();) {
        const std::size_t len = gbk::CharLength(typed, i);
        const unsigned char first = static_cast<unsigned char>(typed[i]);
        if (len == 1 && (first < 0x20 || first == 0x7F)) {
            ++i;
            continue;
        }
        if (c.maxBytes > 0 && c.text.size() + len > static_cast<std::size_t>(c.maxBytes)) break;
        c.text.append(typed, i, len);
        i += len;
    }
}

int UpdateButton(Engine& g, Control& c) {
    const bool in = Inside(c, g.mouseX, g.mouseY);
    int clicked = 0;
    if (g.wentDown[1] && in) c.pressed = true;
    if (g.wentUp[1] || !g.held[1]) {
        if (g.wentUp[1] && c.pressed && in) clicked = c.id;
        c.pressed = false;
    }
    c.state = (c.pressed && in) ? 2 : (in ? 1 : 0);
    return clicked;
}

void UpdateEdit(Engine& g, Control& c, std::uint32_t handle) {
    if (g.wentDown[1]) {
        if (Inside(c, g.mouseX, g.mouseY)) g.focus = handle;
        else if (g.focus == handle) g.focus = 0;
    }
    if (g.focus != handle) return;
    if (!g.charsGbk.empty()) Type(c, g.charsGbk);
    if (g.repeated[8]) Backspace(c.text);
}

void SetSliderFromMouse(Engine& g, Control& c) {
    const float span = c.vertical ? c.h : c.w;
    if (span <= 0) return;
    const float t = ((c.vertical ? g.mouseY - c.y : g.mouseX - c.x) / span);
    c.value = c.minV + std::clamp(t, 0.0f, 1.0f) * (c.maxV - c.minV);
}

void UpdateSlider(Engine& g, Control& c) {
    if (g.wentDown[1] && Inside(c, g.mouseX, g.mouseY)) c.dragging = true;
    if (!g.held[1] && !g.wentDown[1]) c.dragging = false;
    if (c.dragging) SetSliderFromMouse(g, c);
}

void RenderEdit(Engine& g, Control& c, std::uint32_t handle) {
    if (c.backColor >> 24) FillRect(g, c.x, c.y, c.w, c.h, c.backColor);
    TtfFont* f = g.fonts.Get(c.font);
    float textW = 0;
    float textH = static_cast<float>(c.h);
    if (f && f->font) {
        textW = TtfWidth(g, *f, c.text.c_str());
        textH = static_cast<float>(TTF_FontHeight(f->font));
    }
    const float ty = c.y + (c.h - textH) / 2;
    // Long text scrolls so that its end stays visible.
    const float tx = c.x + 2 - std::max(0.0f, textW - (c.w - 6));
    if (g.drawingOff) {
        // Nothing reaches the renderer: a clip change is a queued command
        // too, and with nothing drawn the queue is not emptied until the next
        // drawn frame. The draw listener still hears of the text.
        if (f && !c.text.empty()) TtfPrint(g, *f, tx, ty, c.text.c_str(), c.textColor);
        return;
    }
    SDL_Rect oldClip;
    SDL_RenderGetClipRect(g.renderer, &oldClip);
    const SDL_Rect clip{static_cast<int>(c.x), static_cast<int>(c.y), static_cast<int>(c.w),
                        static_cast<int>(c.h)};
    SDL_RenderSetClipRect(g.renderer, &clip);
    if (f && !c.text.empty()) TtfPrint(g, *f, tx, ty, c.text.c_str(), c.textColor);
    if (g.focus == handle && std::fmod(g.time, 1.0f) < 0.5f) {
        const float cx = tx + textW + 1;
        FillRect(g, cx, ty, 1, textH, c.textColor);
    }
    SDL_RenderSetClipRect(g.renderer, SDL_RectEmpty(&oldClip) ? nullptr : &oldClip);
}

void RenderSlider(Engine& g, Control& c) {
    const Texture* t = g.textures.Get(c.tex[0]);
    const float range = c.maxV - c.minV;
    const float frac = range != 0 ? std::clamp((c.value - c.minV) / range, 0.0f, 1.0f) : 0.0f;
    const float tw = t ? static_cast<float>(t->w) : 8.0f, th = t ? static_cast<float>(t->h) : 8.0f;
    const float cx = c.vertical ? c.x + c.w / 2 : c.x + frac * c.w;
    const float cy = c.vertical ? c.y + frac * c.h : c.y + c.h / 2;
    if (t) DrawTexture(g, c.tex[0], cx - tw / 2, cy - th / 2, tw, th);
    else FillRect(g, cx - tw / 2, cy - th / 2, tw, th, 0xFFC0C0C0);
}

HCTRL AddControl(Control c) { return g_engine ? g_engine->ctrls.Add(std::move(c)) : 0; }

void Detach(Engine& g, HCTRL handle, std::uint32_t gui) {
    if (Gui* owner = g.guis.Get(gui)) {
        auto& v = owner->ctrls;
        v.erase(std::remove(v.begin(), v.end(), handle), v.end());
    }
}

}  // namespace
}  // namespace lumo

using namespace lumo;

HGUI Gui_Interface_Get(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->guis.Add(Gui{}) : 0;
}

void Gui_AddCtrl_e(HGUI gui, HCTRL ctrl) {
    Engine* g = g_engine;
    Gui* owner = g ? g->guis.Get(gui) : nullptr;
    Control* c = g ? g->ctrls.Get(ctrl) : nullptr;
    if (!owner || !c || c->gui == gui) return;
    if (c->gui) Detach(*g, ctrl, c->gui);
    c->gui = gui;
    owner->ctrls.push_back(ctrl);
}

int Gui_Update_e(HGUI gui, float /*dt*/) {
    Engine* g = g_engine;
    Gui* owner = g ? g->guis.Get(gui) : nullptr;
    if (!owner) return 0;
    int clicked = 0;
    for (std::uint32_t h : owner->ctrls) {
        Control* c = g->ctrls.Get(h);
        if (!c || !c->visible) continue;
        switch (c->kind) {
            case CtrlKind::Button: {
                const int id = UpdateButton(*g, *c);
                if (id && !clicked) clicked = id;
                break;
            }
            case CtrlKind::Edit: UpdateEdit(*g, *c, h); break;
            case CtrlKind::Slider: UpdateSlider(*g, *c); break;
        }
    }
    return clicked;
}

void Gui_Render_e(HGUI gui) {
    Engine* g = Drawable();
    Gui* owner = g ? g->guis.Get(gui) : nullptr;
    if (!owner) return;
    for (std::uint32_t h : owner->ctrls) {
        Control* c = g->ctrls.Get(h);
        if (!c || !c->visible) continue;
        switch (c->kind) {
            case CtrlKind::Button: {
                std::uint32_t tex = c->tex[std::clamp(c->state, 0, 2)];
                if (!g->textures.Get(tex)) tex = c->tex[0];
                DrawTexture(*g, tex, c->x, c->y, c->w, c->h);
                break;
            }
            case CtrlKind::Edit: RenderEdit(*g, *c, h); break;
            case CtrlKind::Slider: RenderSlider(*g, *c); break;
        }
    }
}

void Gui_Del(HGUI gui) {
    Engine* g = g_engine;
    Gui* owner = g ? g->guis.Get(gui) : nullptr;
    if (!owner) return;
    for (std::uint32_t h : owner->ctrls) {
        if (g->focus == h) g->focus = 0;
        g->ctrls.Remove(h);
    }
    g->guis.Remove(gui);
}

HCTRL GUIButton_Interface_Get(int id, float x, float y, float w, float h, HTEXTURE normal,
                              HTEXTURE hover, HTEXTURE pressed) {
    Control c;
    c.kind = CtrlKind::Button;
    c.id = id;
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.tex[0] = normal;
    c.tex[1] = hover;
    c.tex[2] = pressed;
    if ((w <= 0 || h <= 0) && g_engine) {
        if (const Texture* t = g_engine->textures.Get(normal)) {
            c.w = static_cast<float>(t->w);
            c.h = static_cast<float>(t->h);
        }
    }
    return AddControl(std::move(c));
}

void Button_SetPos_e(HCTRL ctrl, float x, float y) {
    if (Control* c = Find(ctrl)) {
        c->x = x;
        c->y = y;
    }
}

int Button_GetState_e(HCTRL ctrl) {
    const Control* c = Find(ctrl);
    return c && c->kind == CtrlKind::Button ? c->state : 0;
}

void Button_SetVisible_e(HCTRL ctrl, bool visible) {
    Control* c = Find(ctrl);
    if (!c) return;
    c->visible = visible;
    if (!visible) {
        c->pressed = false;
        c->state = 0;
    }
}

HCTRL Edit_Interface_Get(int id, float x, float y, float w, float h, HFONT font, int maxBytes) {
    Control c;
    c.kind = CtrlKind::Edit;
    c.id = id;
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.font = font;
    c.maxBytes = std::max(0, maxBytes);
    return AddControl(std::move(c));
}

const char* Edit_GetText_e(HCTRL ctrl) {
    const Control* c = Find(ctrl);
    return c && c->kind == CtrlKind::Edit ? c->text.c_str() : "";
}

void Edit_SetText_e(HCTRL ctrl, const char* text) {
    Control* c = Find(ctrl);
    if (!c || c->kind != CtrlKind::Edit) return;
    c->text.clear();
    if (text) Type(*c, text);
}

void Edit_SetColor_e(HCTRL ctrl, std::uint32_t textArgb, std::uint32_t backArgb) {
    if (Control* c = Find(ctrl)) {
        c->textColor = textArgb;
        c->backColor = backArgb;
    }
}

HCTRL GUISlider_Interface_Get(int id, float x, float y, float w, float h, HTEXTURE thumb,
                              bool vertical) {
    Control c;
    c.kind = CtrlKind::Slider;
    c.id = id;
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.tex[0] = thumb;
    c.vertical = vertical;
    return AddControl(std::move(c));
}

void GUISlider_SetRange_e(HCTRL ctrl, float min, float max) {
    Control* c = Find(ctrl);
    if (!c || c->kind != CtrlKind::Slider) return;
    c->minV = min;
    c->maxV = max;
    c->value = std::clamp(c->value, std::min(min, max), std::max(min, max));
}

void GUISlider_SetValue_e(HCTRL ctrl, float value) {
    Control* c = Find(ctrl);
    if (!c || c->kind != CtrlKind::Slider) return;
    c->value = std::clamp(value, std::min(c->minV, c->maxV), std::max(c->minV, c->maxV));
}

float GUISlider_GetValue_e(HCTRL ctrl) {
    const Control* c = Find(ctrl);
    return c && c->kind == CtrlKind::Slider ? c->value : 0.0f;
}

void SetFocus_e(HCTRL ctrl) {
    if (Find(ctrl)) g_engine->focus = ctrl;
}

void KillFocus_e(HCTRL ctrl) {
    if (g_engine && g_engine->focus == ctrl) g_engine->focus = 0;
}

HCTRL GetFocus_e() {
    return g_engine && g_engine->ctrls.Get(g_engine->focus) ? g_engine->focus : 0;
}

void Ctrl_Del(HCTRL ctrl) {
    Engine* g = g_engine;
    Control* c = g ? g->ctrls.Get(ctrl) : nullptr;
    if (!c) return;
    if (c->gui) Detach(*g, ctrl, c->gui);
    if (g->focus == ctrl) g->focus = 0;
    g->ctrls.Remove(ctrl);
}
