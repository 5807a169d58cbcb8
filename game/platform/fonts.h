#pragma once
// Small wrappers, each holding one engine font handle, and the set of fonts
// the game creates while loading. Empty handles draw nothing.

#include <cstdint>
#include <string>

#include "core/asset_log.h"
#include "lumo/lumo.h"

// A font chosen by face name (GBK face, pixel size, and the three style
// flags bold, italic and smooth (antialiased) edges).
class GdiFont {
public:
    GdiFont() = default;
    ~GdiFont();
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;
    GdiFont(GdiFont&& o) noexcept : m_handle(o.m_handle) { o.m_handle = 0; }
    GdiFont& operator=(GdiFont&& o) noexcept;

    void Create(const std::string& gbkFace, int size, int bold, int italic, int smooth, std::uint32_t argb);
    bool empty() const { return m_handle == 0; }
    HFONT handle() const { return m_handle; }
    void SetColour(std::uint32_t argb) { Font_SetColor(m_handle, argb); }
    // An empty text is sent as " " (the engine expects something to draw).
    void Print(float x, float y, const std::string& gbkText) const;
    float TextWidth(const std::string& gbkText) const { return Font_GetTextWidth(m_handle, gbkText.c_str()); }
    // The height of the block Print draws; "A" gives one line's height.
    float TextHeight(const std::string& gbkText) const { return Font_GetTextHeight(m_handle, gbkText.c_str()); }

private:
    HFONT m_handle = 0;
};

// A TrueType font loaded from a file (the chat font).
class TrueTypeFont {
public:
    void Create(HENGINE engine, const std::string& fsPath, int size);
    bool loaded() const { return m_loaded; }
    HFONTM handle() const { return m_handle; }
    void Print(float x, float y, const std::string& gbkText) const { FontN_printf(m_handle, x, y, gbkText.c_str()); }
    void SetColour(std::uint32_t argb) { FontN_setColor(m_handle, argb); }
    float TextWidth(const std::string& gbkText) const { return FontN_getTextWidth(m_handle, gbkText.c_str()); }
    float TextHeight(const std::string& gbkText) const { return FontN_getTextHeight(m_handle, gbkText.c_str()); }

private:
    HFONTM m_handle = 0;
    bool m_loaded = false;
};

// A bitmap font from a .fnt file.
class BitmapFont {
public:
    void Create(const std::string& fsPath) {
        m_handle = hFont_Interface_Get(fsPath.c_str());
        if (m_handle == 0) asset_log::CannotLoad("font", fsPath);
    }
    bool empty() const { return m_handle == 0; }
    HBMFONT handle() const { return m_handle; }
    void Print(float x, float y, int align, const std::string& gbkText) const {
        hFont_printf_e(m_handle, x, y, align, gbkText.c_str());
    }
    void SetColour(std::uint32_t argb) { hFont_SetColor_e(m_handle, argb); }
    // Drawing and measuring scale (the level number is drawn at 0.7).
    void SetScale(float scale) { hFont_SetScale_e(m_handle, scale); }
    float TextWidth(const std::string& gbkText) const { return hFont_GetTextWidth_e(m_handle, gbkText.c_str()); }
    float TextHeight(const std::string& gbkText) const { return hFont_GetTextHeight_e(m_handle, gbkText.c_str()); }

private:
    HBMFONT m_handle = 0;
};

// The fonts created at loading, by role.
struct GameFonts {
    GdiFont loading;   // "宋体" 12: the loading-screen line
    GdiFont small;     // "宋体" 12: window texts and tooltips
    GdiFont game;      // "幼圆" 13: names, prompts, choices
    TrueTypeFont chat; // SIMHEI.TTF 12: the chat log
    BitmapFont digits; // font1.fnt: numbers on the HUD
    GdiFont large;     // "幼圆" 25: banners
    GdiFont banner;    // "黑体" 20: the map name
};
