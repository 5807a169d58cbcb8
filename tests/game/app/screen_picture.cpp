#include "screen_picture.h"

#include <algorithm>

#include "lumo/lumo.h"

ScreenPicture::ScreenPicture(const std::string& path) {
    HENGINE e = _Interface_Get();
    System_SetState_b(e, LUMO_HEADLESS, true);
    System_SetState_i(e, LUMO_SCREENWIDTH, kWidth);
    System_SetState_i(e, LUMO_SCREENHEIGHT, kHeight);
    if (!System_Initiate_e(e)) {
        Release_e(e);
        return;
    }
    HTEXTURE t = Texture_Load_e(e, path.c_str());
    if (t != 0) {
        HSPRITE s = Spr_Interface_Get(t, 0, 0, kWidth, kHeight);
        Harness_BeginFrame(e);
        Gfx_BeginScene_e(e, 0);
        Gfx_Clear_e(e, 0xFF000000);
        Spr_Render_e(s, 0, 0);
        Gfx_EndScene_e(e);
        m_pixels.resize(static_cast<std::size_t>(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                m_pixels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] = Harness_ReadPixel(e, x, y);
        Spr_Del(s);
        Texture_Free_e(e, t);
    }
    Release_e(e);
}

std::uint32_t ScreenPicture::At(int x, int y) const {
    if (m_pixels.empty() || x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0;
    return m_pixels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)];
}

int ScreenPicture::Brightness(int x, int y) const {
    const std::uint32_t c = At(x, y);
    return std::max({Red(c), Green(c), Blue(c)});
}
