#include "platform/sprite.h"

#include <utility>

Sprite::Sprite(HTEXTURE tex, float x, float y, float w, float h)
    : m_handle(Spr_Interface_Get(tex, x, y, w, h)), m_texture(tex), m_rect{x, y, w, h} {}

Sprite::~Sprite() { Release(); }

Sprite::Sprite(const Sprite& other) { CopyFrom(other); }

Sprite& Sprite::operator=(const Sprite& other) {
    if (this != &other) {
        Release();
        CopyFrom(other);
    }
    return *this;
}

Sprite::Sprite(Sprite&& other) noexcept
    : m_handle(std::exchange(other.m_handle, 0)),
      m_texture(other.m_texture),
      m_rect{other.m_rect[0], other.m_rect[1], other.m_rect[2], other.m_rect[3]},
      m_colour(other.m_colour),
      m_blend(other.m_blend),
      m_z(other.m_z),
      m_zSet(other.m_zSet) {}

Sprite& Sprite::operator=(Sprite&& other) noexcept {
    if (this != &other) {
        Release();
        m_handle = std::exchange(other.m_handle, 0);
        m_texture = other.m_texture;
        for (int i = 0; i < 4; ++i) m_rect[i] = other.m_rect[i];
        m_colour = other.m_colour;
        m_blend = other.m_blend;
        m_z = other.m_z;
        m_zSet = other.m_zSet;
    }
    return *this;
}

void Sprite::Release() {
    if (m_handle != 0) Spr_Del(m_handle);
    m_handle = 0;
}

void Sprite::CopyFrom(const Sprite& other) {
    m_texture = other.m_texture;
    for (int i = 0; i < 4; ++i) m_rect[i] = other.m_rect[i];
    m_colour = other.m_colour;
    m_blend = other.m_blend;
    m_z = other.m_z;
    m_zSet = other.m_zSet;
    m_handle = other.m_handle == 0 ? 0 : Spr_Interface_Get(m_texture, m_rect[0], m_rect[1], m_rect[2], m_rect[3]);
    if (m_handle == 0) return;
    if (m_colour != 0xFFFFFFFF) Spr_SetColor_e(m_handle, m_colour);
    if (m_blend != BLEND_DEFAULT) Spr_SetBlendMode_e(m_handle, m_blend);
    if (m_zSet) Spr_Set_Z_e(m_handle, m_z, -1);
}

void Sprite::SetTexture(HTEXTURE tex) {
    m_texture = tex;
    Spr_SetTexture_e(m_handle, tex);
}

void Sprite::SetTextureRect(float x, float y, float w, float h) {
    m_rect[0] = x;
    m_rect[1] = y;
    m_rect[2] = w;
    m_rect[3] = h;
    Spr_SetTextureRect_e(m_handle, x, y, w, h);
}

void Sprite::SetColour(std::uint32_t argb) {
    m_colour = argb;
    Spr_SetColor_e(m_handle, argb);
}

void Sprite::SetBlendMode(int blend) {
    m_blend = blend;
    Spr_SetBlendMode_e(m_handle, blend);
}

void Sprite::SetZ(float z) {
    m_z = z;
    m_zSet = true;
    Spr_Set_Z_e(m_handle, z, -1);
}
