#include "platform/fonts.h"

#include <utility>

GdiFont::~GdiFont() {
    if (m_handle != 0) Font_Del(m_handle);
}

GdiFont& GdiFont::operator=(GdiFont&& o) noexcept {
    if (this != &o) {
        if (m_handle != 0) Font_Del(m_handle);
        m_handle = std::exchange(o.m_handle, 0);
    }
    return *this;
}

void GdiFont::Create(const std::string& gbkFace, int size, int bold, int italic, int smooth, std::uint32_t argb) {
    if (m_handle != 0) Font_Del(m_handle);
    m_handle = Font_Interface_Get(gbkFace.c_str(), size, bold, italic, smooth);
    Font_SetColor(m_handle, argb);
}

void GdiFont::Print(float x, float y, const std::string& gbkText) const {
    Font_Printf(m_handle, x, y, gbkText.empty() ? " " : gbkText.c_str());
}

void TrueTypeFont::Create(HENGINE engine, const std::string& fsPath, int size) {
    m_handle = FontM_Interface_Get();
    FontM_Initialize(m_handle, engine);
    m_loaded = FontM_loadFont(m_handle, fsPath.c_str(), size);
}
