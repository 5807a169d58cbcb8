#pragma once
// An engine sprite owned by one game object. The wrapper remembers what it
// was given (texture, rectangle, colour, blend, z), so a copy is a new engine
// sprite showing the same thing that can then be tinted on its own. Without
// a live engine every call does nothing.

#include <cstdint>

#include "lumo/lumo.h"

class Sprite {
public:
    Sprite() = default;
    // A sprite showing the rectangle (x, y, w, h) of tex (tex may be 0).
    Sprite(HTEXTURE tex, float x, float y, float w, float h);
    ~Sprite();
    Sprite(const Sprite& other);
    Sprite& operator=(const Sprite& other);
    Sprite(Sprite&& other) noexcept;
    Sprite& operator=(Sprite&& other) noexcept;

    bool empty() const { return m_handle == 0; }
    HSPRITE handle() const { return m_handle; }
    HTEXTURE texture() const { return m_texture; }
    std::uint32_t colour() const { return m_colour; }

    void Render(float x, float y) const { Spr_Render_e(m_handle, x, y); }
    void RenderEx(float x, float y, float rot, float hscale, float vscale) const {
        Spr_RenderEx_e(m_handle, x, y, rot, hscale, vscale);
    }
    void RenderStretch(float x1, float y1, float x2, float y2) const { Spr_RenderStretch_e(m_handle, x1, y1, x2, y2); }
    void SetTexture(HTEXTURE tex);
    void SetTextureRect(float x, float y, float w, float h);
    void SetColour(std::uint32_t argb);
    void SetBlendMode(int blend);
    void SetZ(float z);
    float Width() const { return Spr_GetWidth_e(m_handle); }
    float Height() const { return Spr_GetHeight_e(m_handle); }

private:
    void Release();
    void CopyFrom(const Sprite& other);

    HSPRITE m_handle = 0;
    HTEXTURE m_texture = 0;
    float m_rect[4] = {0, 0, 0, 0};
    std::uint32_t m_colour = 0xFFFFFFFF;
    int m_blend = BLEND_DEFAULT;
    float m_z = 0.5f;
    bool m_zSet = false;
};
