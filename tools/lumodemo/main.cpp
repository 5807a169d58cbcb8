// lumodemo: tinted, turning and mirrored sprites, Chinese text and a button.
//   lumodemo                                  opens an 800 x 600 window; Esc or the button quits
//   lumodemo --headless --screenshot out.png  draws the same scene offscreen into a PNG

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lumo/lumo.h"
#include "shared/gbk.h"

namespace {

struct Demo {
    HENGINE e = 0;
    HSPRITE ball = 0;
    HSPRITE arrow = 0;
    HFONT font = 0;
    HFONT small = 0;
    HGUI gui = 0;
    HCTRL quit = 0;
    bool headless = false;
    std::string screenshot;
    bool screenshotOk = false;
};

Demo demo;

// A soft disc, white in the middle, for tinting.
HTEXTURE MakeBall(HENGINE e) {
    constexpr int n = 64;
    std::vector<std::uint32_t> px(n * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float dx = x - n / 2 + 0.5f, dy = y - n / 2 + 0.5f;
            const float d = std::sqrt(dx * dx + dy * dy) / (n / 2);
            const int a = d >= 1 ? 0 : static_cast<int>(255 * (1 - d * d));
            const int shade = 255 - static_cast<int>(80 * d);
            px[y * n + x] = (std::uint32_t(a) << 24) | (std::uint32_t(shade) << 16) |
                            (std::uint32_t(shade) << 8) | std::uint32_t(shade);
        }
    return Texture_Create_e(e, n, n, px.data());
}

// An arrow pointing right, so turning and mirroring can be seen.
HTEXTURE MakeArrow(HENGINE e) {
    constexpr int w = 96, h = 48;
    std::vector<std::uint32_t> px(w * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool shaft = x < 60 && y >= 18 && y < 30;
            const bool head = x >= 60 && std::abs(y - h / 2) < (w - x) * h / 2 / 36;
            if (shaft || head) px[y * w + x] = x < 60 ? 0xFFFFD040 : 0xFFFF6020;
        }
    return Texture_Create_e(e, w, h, px.data());
}

HTEXTURE MakeFlat(HENGINE e, std::uint32_t top, std::uint32_t bottom) {
    constexpr int w = 120, h = 40;
    std::vector<std::uint32_t> px(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[y * w + x] = (x == 0 || y == 0 || x == w - 1 || y == h - 1) ? 0xFFFFFFFF
                                                                            : (y < h / 2 ? top : bottom);
    return Texture_Create_e(e, w, h, px.data());
}

bool Frame() {
    if (Input_KeyUp_e(demo.e, 27)) return true;
    if (Gui_Update_e(demo.gui, Timer_GetDelta_e(demo.e)) == 1) return true;
    if (demo.headless && Harness_FrameCount(demo.e) > 3) {
        demo.screenshotOk = Harness_Screenshot(demo.e, demo.screenshot.c_str());
        return true;
    }
    return false;
}

bool Render() {
    HENGINE e = demo.e;
    const float t = Timer_GetTime_e(e);
    Gfx_BeginScene_e(e, 0);
    Gfx_Clear_e(e, 0xFF182030);
    for (int x = 0; x < 800; x += 40) Gfx_RenderLine_e(e, float(x), 560, float(x) + 20, 580, 0xFF405070);

    const std::uint32_t tints[] = {0xFFFF4040, 0xFF40FF40, 0xFF4080FF, 0x80FFFFFF};
    for (int i = 0; i < 4; ++i) {
        Spr_SetColor_e(demo.ball, tints[i]);
        Spr_Render_e(demo.ball, 120.0f + i * 80, 120);
    }
    Spr_SetBlendMode_e(demo.ball, BLEND_ALPHAADD);
    Spr_SetColor_e(demo.ball, 0xFFFF8000);
    Spr_RenderEx_e(demo.ball, 600, 120, 0, 1.6f, 0);
    Spr_RenderEx_e(demo.ball, 640, 120, 0, 1.6f, 0);
    Spr_SetBlendMode_e(demo.ball, BLEND_DEFAULT);

    Spr_RenderEx_e(demo.arrow, 200, 260, 0.6f + t, 1, 1);       // turning
    Spr_RenderEx_e(demo.arrow, 420, 260, 0, -1, 1);             // mirrored
    Spr_RenderStretch_e(demo.arrow, 520, 230, 760, 290);        // stretched

    Font_Printf(demo.font, 400 - Font_GetTextWidth(demo.font, gbk::Lit("你好，世界").c_str()) / 2, 340,
                gbk::Lit("你好，世界").c_str());
    Gui_Render_e(demo.gui);
    const std::string& label = gbk::Lit("退出");
    Font_Printf(demo.small, 400 - Font_GetTextWidth(demo.small, label.c_str()) / 2, 460, label.c_str());
    Gfx_EndScene_e(e);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) demo.headless = true;
        else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) demo.screenshot = argv[++i];
        else {
            std::fprintf(stderr, "usage: lumodemo [--headless --screenshot out.png]\n");
            return 2;
        }
    }
    if (demo.headless && demo.screenshot.empty()) demo.screenshot = "lumodemo.png";

    HENGINE e = demo.e = _Interface_Get();
    System_SetState_b(e, LUMO_HEADLESS, demo.headless);
    System_SetState_b(e, LUMO_WINDOWED, true);
    System_SetState_i(e, LUMO_SCREENWIDTH, 800);
    System_SetState_i(e, LUMO_SCREENHEIGHT, 600);
    System_SetState_i(e, LUMO_FPS, 60);
    System_SetState_s(e, LUMO_TITLE, gbk::Lit("Lumo 演示").c_str());
    System_SetState_func(e, LUMO_FRAMEFUNC, Frame);
    System_SetState_func(e, LUMO_RENDERFUNC, Render);
    if (!System_Initiate_e(e)) {
        std::fprintf(stderr, "lumodemo: no display (try --headless --screenshot out.png)\n");
        Release_e(e);
        return 1;
    }

    demo.ball = Spr_Interface_Get(MakeBall(e), 0, 0, 64, 64);
    Spr_SetHotSpot_e(demo.ball, 32, 32);
    demo.arrow = Spr_Interface_Get(MakeArrow(e), 0, 0, 96, 48);
    Spr_SetHotSpot_e(demo.arrow, 48, 24);
    demo.font = Font_Interface_Get(gbk::Lit("宋体").c_str(), 32, 0, 0, 0);
    Font_SetColor(demo.font, 0xFFFFF0C0);
    demo.small = Font_Interface_Get(gbk::Lit("黑体").c_str(), 18, 1, 0, 0);
    demo.gui = Gui_Interface_Get(e);
    demo.quit = GUIButton_Interface_Get(1, 340, 450, 120, 40, MakeFlat(e, 0xFF305080, 0xFF203860),
                                        MakeFlat(e, 0xFF4070B0, 0xFF305090),
                                        MakeFlat(e, 0xFF203050, 0xFF102030));
    Gui_AddCtrl_e(demo.gui, demo.quit);

    System_Start_e(e, 166);
    const bool ok = !demo.headless || demo.screenshotOk;
    System_Shutdown_e(e);
    Release_e(e);
    if (demo.headless) std::printf("%s %s\n", ok ? "wrote" : "could not write", demo.screenshot.c_str());
    return ok ? 0 : 1;
}
