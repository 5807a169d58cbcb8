// Engine start-up, sprites drawn through the software renderer, frame
// read-back, draw recording and missing or broken pictures.

#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine_fixture.h"

using namespace lumo_test;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                        kWhite = 0xFFFFFFFF;

// 8 x 2 bar: left half red, right half blue.
std::string Bar() {
    return MakePng("bar.png", 8, 2, [](int x, int) { return x < 4 ? kRed : kBlue; });
}

}  // namespace

TEST(EngineStart, HeadlessInitReportsSizeAndDrawsNothingBeforeAScene) {
    HENGINE e = _Interface_Get();
    System_SetState_b(e, LUMO_HEADLESS, true);
    System_SetState_i(e, LUMO_SCREENWIDTH, 320);
    System_SetState_i(e, LUMO_SCREENHEIGHT, 200);
    System_SetState_s(e, LUMO_TITLE, "Lumo");
    ASSERT_TRUE(System_Initiate_e(e));
    EXPECT_EQ(System_GetWidth_e(e), 320);
    EXPECT_EQ(System_GetHeight_e(e), 200);
    EXPECT_EQ(System_GetState_i(e, LUMO_HEADLESS), 1);
    EXPECT_EQ(Harness_ReadPixel(e, 0, 0), 0u);  // no finished scene yet
    Harness_BeginFrame(e);
    EXPECT_FLOAT_EQ(Timer_GetDelta_e(e), 1.0f / 60.0f);
    Release_e(e);
    // A released engine handle is dead: calls on it do nothing.
    EXPECT_EQ(System_GetWidth_e(e), 0);
    Gfx_Clear_e(e, kRed);
}

TEST(EngineStart, NoVideoDeviceFailsCleanlyAndEverythingStaysHarmless) {
    const char* old = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    HENGINE e = _Interface_Get();
    System_SetState_b(e, LUMO_USESOUND, false);
    EXPECT_FALSE(System_Initiate_e(e));
    EXPECT_EQ(Texture_Load_e(e, Bar().c_str()), 0u);
    HSPRITE spr = Spr_Interface_Get(0, 0, 0, 4, 4);
    Spr_Render_e(spr, 1, 1);
    Gfx_Clear_e(e, kRed);
    EXPECT_FALSE(Gfx_BeginScene_e(e, 0));
    Gfx_EndScene_e(e);
    EXPECT_FALSE(System_Start_e(e, 166));
    EXPECT_FALSE(Harness_Screenshot(e, (TempDir() / "none.png").c_str()));
    Release_e(e);
    if (old) setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else unsetenv("SDL_VIDEODRIVER");
}

TEST_F(EngineTest, SpritePlacementTintAlphaAndPictureRect) {
    HTEXTURE white = Texture_Load_e(e, Solid("white.png", 4, 4, kWhite).c_str());
    HTEXTURE bar = Texture_Load_e(e, Bar().c_str());
    ASSERT_NE(white, 0u);
    ASSERT_NE(bar, 0u);
    EXPECT_EQ(Texture_GetWidth_e(e, bar), 8);
    EXPECT_EQ(Texture_GetHeight_e(e, bar), 2);

    HSPRITE plain = Spr_Interface_Get(bar, 0, 0, 8, 2);
    HSPRITE tinted = Spr_Interface_Get(white, 0, 0, 4, 4);
    Spr_SetColor_e(tinted, kGreen);
    HSPRITE faded = Spr_Interface_Get(white, 0, 0, 4, 4);
    Spr_SetColor_e(faded, 0x80FFFFFF);
    HSPRITE rightHalf = Spr_Interface_Get(bar, 4, 0, 4, 2);
    HSPRITE hot = Spr_Interface_Get(white, 0, 0, 4, 4);
    Spr_SetHotSpot_e(hot, 2, 2);
    EXPECT_FLOAT_EQ(Spr_GetWidth_e(rightHalf), 4);
    EXPECT_EQ(Spr_GetTexture_e(rightHalf), bar);

    Frame([&] {
        Spr_Render_e(plain, 10, 10);
        Spr_Render_e(tinted, 30, 10);
        Spr_Render_e(faded, 40, 10);
        Spr_Render_e(rightHalf, 50, 10);
        Spr_Render_e(hot, 70, 70);
    });
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(17, 11), kBlue);
    EXPECT_EQ(Pixel(18, 10), kBlack);
    EXPECT_EQ(Pixel(31, 11), kGreen);
    EXPECT_LE(ColorDistance(Pixel(41, 11), 0xFF808080), 2);
    EXPECT_EQ(Pixel(50, 10), kBlue);
    EXPECT_EQ(Pixel(54, 10), kBlack);
    EXPECT_EQ(Pixel(68, 68), kWhite);  // the hot spot sits on (70, 70)
    EXPECT_EQ(Pixel(67, 68), kBlack);
    EXPECT_EQ(Pixel(71, 71), kWhite);
    EXPECT_EQ(Pixel(72, 72), kBlack);
}

TEST_F(EngineTest, MirrorStretchAndQuarterTurn) {
    HTEXTURE bar = Texture_Load_e(e, Bar().c_str());
    HSPRITE spr = Spr_Interface_Get(bar, 0, 0, 8, 2);
    HTEXTURE thickBar = Texture_Load_e(
        e, MakePng("thick.png", 8, 4, [](int x, int) { return x < 4 ? kRed : kBlue; }).c_str());
    HSPRITE thick = Spr_Interface_Get(thickBar, 0, 0, 8, 4);
    Frame([&] {
        Spr_RenderEx_e(spr, 30, 10, 0, -1, 1);                   // covers x 22..29, mirrored
        Spr_RenderStretch_e(spr, 40, 40, 56, 48);                // 2x horizontally, 4x vertically
        Spr_RenderEx_e(thick, 100, 60, static_cast<float>(M_PI / 2), 1, 0);
        Spr_RenderEx_e(spr, 120, 10, 0, 2, 0);                   // vscale 0 = hscale
    });
    EXPECT_EQ(Pixel(22, 10), kBlue);
    EXPECT_EQ(Pixel(29, 10), kRed);
    EXPECT_EQ(Pixel(30, 10), kBlack);

    EXPECT_EQ(Pixel(40, 40), kRed);
    EXPECT_EQ(Pixel(47, 47), kRed);
    EXPECT_EQ(Pixel(48, 47), kBlue);
    EXPECT_EQ(Pixel(55, 47), kBlue);
    EXPECT_EQ(Pixel(56, 47), kBlack);
    EXPECT_EQ(Pixel(55, 48), kBlack);

    // Clockwise quarter turn about the hot spot (0, 0): x runs down, y runs
    // left, so the 8 x 4 bar covers x 96..99, y 60..67. The software rotator
    // may be a pixel off at the edges, so only the inside is checked.
    EXPECT_EQ(Pixel(98, 61), kRed);
    EXPECT_EQ(Pixel(97, 62), kRed);
    EXPECT_EQ(Pixel(98, 66), kBlue);
    EXPECT_EQ(Pixel(101, 62), kBlack);
    EXPECT_EQ(Pixel(98, 70), kBlack);
    EXPECT_EQ(Pixel(94, 62), kBlack);
    EXPECT_EQ(Pixel(104, 58), kBlack);

    EXPECT_EQ(Pixel(120, 13), kRed);
    EXPECT_EQ(Pixel(135, 13), kBlue);
    EXPECT_EQ(Pixel(136, 13), kBlack);
    EXPECT_EQ(Pixel(120, 14), kBlack);
}

// Opaque pictures are copied rather than blended: the copy must look the
// same, and the same picture faded by its colour, drawn between two full
// draws of it in one scene, must still blend.
TEST_F(EngineTest, AnOpaquePictureCoversExactlyAndStillFadesByItsColour) {
    HTEXTURE red = Texture_Load_e(e, Solid("under.png", 4, 4, kRed).c_str());
    HTEXTURE blue = Texture_Load_e(e, Solid("over.png", 4, 4, kBlue).c_str());
    HTEXTURE seeThrough = Texture_Load_e(
        e, MakePng("glass.png", 4, 4, [](int x, int) { return x < 2 ? kBlue : 0x800000FFu; }).c_str());
    HSPRITE under = Spr_Interface_Get(red, 0, 0, 4, 4);
    HSPRITE full = Spr_Interface_Get(blue, 0, 0, 4, 4);
    HSPRITE faded = Spr_Interface_Get(blue, 0, 0, 4, 4);
    Spr_SetColor_e(faded, 0x80FFFFFF);
    HSPRITE glass = Spr_Interface_Get(seeThrough, 0, 0, 4, 4);
    Frame([&] {
        for (float x : {10.0f, 20.0f, 30.0f, 40.0f}) Spr_Render_e(under, x, 10);
        Spr_Render_e(full, 10, 10);
        Spr_Render_e(faded, 20, 10);
        Spr_Render_e(full, 30, 10);
        Spr_Render_e(glass, 40, 10);
    });
    EXPECT_EQ(Pixel(11, 11), kBlue);
    EXPECT_LE(ColorDistance(Pixel(21, 11), 0xFF7F0080), 2);
    EXPECT_EQ(Pixel(31, 11), kBlue);
    EXPECT_EQ(Pixel(40, 11), kBlue);
    EXPECT_LE(ColorDistance(Pixel(43, 11), 0xFF7F0080), 2);
}

TEST_F(EngineTest, AdditiveBlendAddsColours) {
    HTEXTURE red = Texture_Load_e(e, Solid("red.png", 4, 4, kRed).c_str());
    HTEXTURE blue = Texture_Load_e(e, Solid("blue.png", 4, 4, kBlue).c_str());
    HSPRITE a = Spr_Interface_Get(red, 0, 0, 4, 4);
    HSPRITE b = Spr_Interface_Get(blue, 0, 0, 4, 4);
    Spr_SetBlendMode_e(b, BLEND_COLORMUL | BLEND_ALPHAADD);
    Spr_Set_Z_e(b, 0.3f, -1);
    HSPRITE c = Spr_Interface_Get(blue, 0, 0, 4, 4);  // same texture, normal blend
    Frame([&] {
        Spr_Render_e(a, 10, 10);
        Spr_Render_e(b, 10, 10);
        Spr_Render_e(a, 20, 10);
        Spr_Render_e(c, 20, 10);
    });
    EXPECT_EQ(Pixel(11, 11), 0xFFFF00FFu);
    EXPECT_EQ(Pixel(21, 11), kBlue);
}

TEST_F(EngineTest, ScreenshotSavesTheFinishedSceneAsPng) {
    HTEXTURE red = Texture_Load_e(e, Solid("red.png", 4, 4, kRed).c_str());
    HSPRITE spr = Spr_Interface_Get(red, 0, 0, 4, 4);
    Frame([&] { Spr_Render_e(spr, 5, 6); });
    const std::string path = (TempDir() / "shot.png").string();
    ASSERT_TRUE(Harness_Screenshot(e, path.c_str()));
    SDL_Surface* shot = IMG_Load(path.c_str());
    ASSERT_NE(shot, nullptr);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(shot, SDL_PIXELFORMAT_ARGB8888, 0);
    EXPECT_EQ(argb->w, 160);
    EXPECT_EQ(argb->h, 120);
    const auto* px = static_cast<const std::uint32_t*>(argb->pixels);
    EXPECT_EQ(px[6 * (argb->pitch / 4) + 5], kRed);
    EXPECT_EQ(px[0], kBlack);
    SDL_FreeSurface(argb);
    SDL_FreeSurface(shot);
    EXPECT_EQ(Pixel(-1, 0), 0u);
    EXPECT_EQ(Pixel(160, 0), 0u);
}

TEST_F(EngineTest, MissingAndBrokenPicturesGiveNoTextureAndDrawNothing) {
    const std::string corrupt = WriteFile("corrupt.png", "\x89PNG\r\n\x1a\nnot really a picture");
    EXPECT_EQ(Texture_Load_e(e, "/no/such/picture.png"), 0u);
    EXPECT_EQ(Texture_Load_e(e, corrupt.c_str()), 0u);
    EXPECT_EQ(Texture_Load_e(e, ""), 0u);
    EXPECT_EQ(Texture_Load_e(e, nullptr), 0u);

    HSPRITE empty = Spr_Interface_Get(0, 0, 0, 4, 4);
    ASSERT_NE(empty, 0u);
    HTEXTURE red = Texture_Load_e(e, Solid("red.png", 4, 4, kRed).c_str());
    HSPRITE freed = Spr_Interface_Get(red, 0, 0, 4, 4);
    Texture_Free_e(e, red);
    // A new texture may take the freed slot; the old handle must not reach it.
    HTEXTURE green = Texture_Load_e(e, Solid("green.png", 4, 4, kGreen).c_str());
    EXPECT_NE(green, red);
    EXPECT_EQ(Texture_GetWidth_e(e, red), 0);
    HSPRITE deleted = Spr_Interface_Get(green, 0, 0, 4, 4);
    Spr_Del(deleted);
    Frame([&] {
        Spr_Render_e(empty, 10, 10);
        Spr_Render_e(freed, 20, 10);
        Spr_Render_e(deleted, 30, 10);
        Spr_RenderEx_e(0, 1, 1, 1, 1, 1);
        Spr_RenderStretch_e(12345, 0, 0, 10, 10);
    });
    EXPECT_EQ(Pixel(11, 11), kBlack);
    EXPECT_EQ(Pixel(21, 11), kBlack);
    EXPECT_EQ(Pixel(31, 11), kBlack);
    EXPECT_EQ(Spr_GetWidth_e(deleted), 0.0f);
    const std::uint32_t pixels[2] = {kRed, kBlue};
    EXPECT_EQ(Texture_Create_e(e, 0, 1, pixels), 0u);
    EXPECT_EQ(Texture_Create_e(e, 2, 1, nullptr), 0u);
    HTEXTURE made = Texture_Create_e(e, 2, 1, pixels);
    ASSERT_NE(made, 0u);
    HSPRITE madeSprite = Spr_Interface_Get(made, 0, 0, 2, 1);
    Frame([&] { Spr_Render_e(madeSprite, 40, 40); });
    EXPECT_EQ(Pixel(40, 40), kRed);
    EXPECT_EQ(Pixel(41, 40), kBlue);
    // Setting a picture later makes the empty sprite draw.
    Spr_SetTexture_e(empty, green);
    Frame([&] { Spr_Render_e(empty, 10, 10); });
    EXPECT_EQ(Pixel(11, 11), kGreen);
}

TEST_F(EngineTest, DrawListenerSeesEveryDrawInOrder) {
    HTEXTURE red = Texture_Load_e(e, Solid("red.png", 4, 4, kRed).c_str());
    HSPRITE spr = Spr_Interface_Get(red, 0, 0, 4, 4);
    HFONT font = Font_Interface_Get("Sans", 12, 0, 0, 0);
    std::vector<LumoDrawRecord> seen;
    Harness_SetDrawListener(
        e, [](void* user, const LumoDrawRecord* r) {
            static_cast<std::vector<LumoDrawRecord>*>(user)->push_back(*r);
        },
        &seen);
    Frame([&] {
        Spr_Render_e(spr, 3, 4);
        Gfx_RenderLine_e(e, 0, 0, 10, 10, kWhite);
        Font_Printf(font, 5, 5, "hi");
    });
    Harness_SetDrawListener(e, nullptr, nullptr);
    Frame([&] { Spr_Render_e(spr, 3, 4); });
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].kind, LUMO_DRAW_CLEAR);
    EXPECT_EQ(seen[1].kind, LUMO_DRAW_SPRITE);
    EXPECT_EQ(seen[1].sprite, spr);
    EXPECT_EQ(seen[1].texture, red);
    EXPECT_FLOAT_EQ(seen[1].x, 3);
    EXPECT_FLOAT_EQ(seen[1].w, 4);
    EXPECT_EQ(seen[2].kind, LUMO_DRAW_LINE);
    EXPECT_FLOAT_EQ(seen[2].w, 10);
    EXPECT_EQ(seen[3].kind, LUMO_DRAW_TEXT);
    EXPECT_GT(seen[3].w, 0);
}
