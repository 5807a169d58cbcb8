// Trimmed textures: the fully transparent border is dropped at load, and
// nothing a caller can see changes: sizes, sprite rectangles, and every
// pixel drawn, in each way the game draws its frames.

#include <vector>

#include "engine_fixture.h"

using namespace lumo_test;

namespace {

constexpr int kW = 40, kH = 30;

// A figure in the middle of a 40 x 30 picture with an empty border of
// uneven width: solid, half-transparent and clear pixels (a clear hole with
// a colour in it too), so blending, tinting and adding all show.
std::uint32_t Figure(int x, int y) {
    if (x < 7 || x > 29 || y < 5 || y > 21) return (x * 7) & 0xFF;  // clear, colour left in
    if (x == 15 && y == 12) return 0x00FFFFFF;                      // clear hole
    const std::uint32_t a = (x + y) % 3 == 0 ? 0xFF : static_cast<std::uint32_t>(40 + 9 * x);
    return (a << 24) | (static_cast<std::uint32_t>(x * 8) << 16) | (static_cast<std::uint32_t>(y * 11) << 8) | 0x90;
}

// A background that is different everywhere, so a picture one pixel off
// or blended wrongly changes what is read back.
std::uint32_t Backdrop(int x, int y) {
    return 0xFF000000 | (static_cast<std::uint32_t>(x * 3) << 16) | (static_cast<std::uint32_t>(y * 5) << 8) |
           static_cast<std::uint32_t>((x ^ y) & 0xFF);
}

struct Rect {
    float x, y, w, h;
};

// Picture rectangles: the whole picture, one reaching into the figure from
// the border, one inside the border only, one larger than the picture.
const Rect kRects[] = {{0, 0, kW, kH}, {3, 9, 20, 15}, {0, 0, 6, 4}, {-2, -3, kW + 6, kH + 5}};

class TrimmedTextureTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        const std::string figure = MakePng("figure.png", kW, kH, Figure);
        whole = Texture_Load_e(e, figure.c_str());
        trimmed = Texture_LoadTrimmed_e(e, figure.c_str());
        backdrop = Texture_Load_e(e, MakePng("backdrop.png", 160, 120, Backdrop).c_str());
        ASSERT_NE(whole, 0u);
        ASSERT_NE(trimmed, 0u);
        ASSERT_NE(backdrop, 0u);
    }

    // The scene drawn with pictures of `tex`, read back whole.
    std::vector<std::uint32_t> Scene(HTEXTURE tex, const std::function<void(HSPRITE, int)>& draw,
                                     bool overBackdrop = true) {
        std::vector<HSPRITE> sprites;
        for (const Rect& r : kRects) sprites.push_back(Spr_Interface_Get(tex, r.x, r.y, r.w, r.h));
        HSPRITE back = Spr_Interface_Get(backdrop, 0, 0, 160, 120);
        Frame([&] {
            if (overBackdrop) Spr_Render_e(back, 0, 0);
            for (std::size_t i = 0; i < sprites.size(); ++i) draw(sprites[i], static_cast<int>(i));
        });
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x) pixels.push_back(Pixel(x, y));
        for (HSPRITE s : sprites) Spr_Del(s);
        Spr_Del(back);
        return pixels;
    }

    // Where the two scenes differ, as "x,y" texts (empty when identical).
    static std::vector<std::string> Differences(const std::vector<std::uint32_t>& a,
                                                const std::vector<std::uint32_t>& b) {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < a.size() && out.size() < 8; ++i)
            if (a[i] != b[i]) out.push_back(std::to_string(i % 160) + "," + std::to_string(i / 160));
        return out;
    }

    HTEXTURE whole = 0, trimmed = 0, backdrop = 0;
};

}  // namespace

TEST_F(TrimmedTextureTest, SizesAndSpriteRectanglesAreThoseOfTheWholePicture) {
    EXPECT_EQ(Texture_GetWidth_e(e, trimmed), kW);
    EXPECT_EQ(Texture_GetHeight_e(e, trimmed), kH);
    for (const Rect& r : kRects) {
        HSPRITE s = Spr_Interface_Get(trimmed, r.x, r.y, r.w, r.h);
        EXPECT_FLOAT_EQ(Spr_GetWidth_e(s), r.w);
        EXPECT_FLOAT_EQ(Spr_GetHeight_e(s), r.h);
        Spr_Del(s);
    }
}

TEST_F(TrimmedTextureTest, DrawsTheSamePixelsAsTheWholePicture) {
    // Whole and fractional places, some partly off the screen's left and top
    // edges (where rounding to a pixel is easiest to get wrong), with hot
    // spots, plain and mirrored each way, tinted, faded, added as light, and
    // the glow's blend-then-add.
    struct Way {
        const char* name;
        std::function<void(HSPRITE, int)> draw;
    };
    const Way ways[] = {
        {"plain", [](HSPRITE s, int i) { Spr_Render_e(s, 10.0f + 37 * i, 8); }},
        {"fractions", [](HSPRITE s, int i) { Spr_Render_e(s, -9.6f + 41.3f * i, -7.35f + 29.9f * i); }},
        {"hot spot", [](HSPRITE s, int i) {
             Spr_SetHotSpot_e(s, 12.5f, 4);
             Spr_Render_e(s, 5.25f + 38 * i, 60.75f);
         }},
        {"mirrored", [](HSPRITE s, int i) { Spr_RenderEx_e(s, 45.4f + 38 * i, -3.7f + 31 * i, 0, -1, 1); }},
        {"upside down", [](HSPRITE s, int i) { Spr_RenderEx_e(s, -4.5f + 39 * i, 40.2f, 0, 1, -1); }},
        {"mirrored with hot spot", [](HSPRITE s, int i) {
             Spr_SetHotSpot_e(s, 20, 30);
             Spr_RenderEx_e(s, 18.8f + 40 * i, 100.5f, 0, -1, 1);
         }},
        {"tinted and faded", [](HSPRITE s, int i) {
             Spr_SetColor_e(s, i % 2 ? 0x80FF8040 : 0xFF40C0FF);
             Spr_Render_e(s, 3.3f + 40 * i, 30.6f);
         }},
        {"added", [](HSPRITE s, int i) {
             Spr_SetBlendMode_e(s, BLEND_COLORMUL | BLEND_ALPHAADD);
             Spr_RenderEx_e(s, 70.9f - 25 * i, 20.1f + 22 * i, 0, i % 2 ? -1.0f : 1.0f, 1);
         }},
        {"glow", [](HSPRITE s, int i) {
             Spr_Render_e(s, 2.5f + 39 * i, 44.5f);
             Spr_SetBlendMode_e(s, BLEND_COLORMUL | BLEND_ALPHAADD);
             Spr_Render_e(s, 2.5f + 39 * i, 44.5f);
         }},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.name);
        const std::vector<std::uint32_t> expected = Scene(whole, w.draw);
        const std::vector<std::uint32_t> got = Scene(trimmed, w.draw);
        EXPECT_NE(expected, Scene(backdrop, [](HSPRITE, int) {})) << "the pictures must show";
        EXPECT_EQ(Differences(expected, got), std::vector<std::string>{});
    }
}

TEST_F(TrimmedTextureTest, StretchedAndTurnedDrawsLandWithinAPixel) {
    // Scaled, the part kept is placed to scale: its pixels may round to the
    // neighbouring column or row, never further (over black, so that a
    // neighbour's colour is the picture's alone).
    const auto draw = [](HSPRITE s, int i) {
        if (i != 0) return;
        Spr_RenderStretch_e(s, 20, 10, 100, 55);
        Spr_RenderEx_e(s, 120, 80, 0.5f, 1, 1);
    };
    const std::vector<std::uint32_t> expected = Scene(whole, draw, false);
    const std::vector<std::uint32_t> got = Scene(trimmed, draw, false);
    ASSERT_NE(expected, Scene(whole, [](HSPRITE, int) {}, false)) << "the pictures must show";
    for (int y = 1; y < 119; ++y) {
        for (int x = 1; x < 159; ++x) {
            const std::uint32_t p = got[static_cast<std::size_t>(y * 160 + x)];
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = expected[static_cast<std::size_t>((y + dy) * 160 + x + dx)] == p;
            EXPECT_TRUE(near) << x << "," << y;
            if (!near) return;
        }
    }
}

TEST_F(TrimmedTextureTest, APictureWithNothingShowingLoadsAndDrawsNothing) {
    HTEXTURE clear = Texture_LoadTrimmed_e(e, MakePng("clear.png", 12, 9, [](int, int) { return 0x00FF0000u; }).c_str());
    ASSERT_NE(clear, 0u);
    EXPECT_EQ(Texture_GetWidth_e(e, clear), 12);
    EXPECT_EQ(Texture_GetHeight_e(e, clear), 9);
    HSPRITE s = Spr_Interface_Get(clear, 0, 0, 12, 9);
    Frame([&] { Spr_Render_e(s, 5, 5); });
    for (int y = 5; y < 14; ++y)
        for (int x = 5; x < 17; ++x) EXPECT_EQ(Pixel(x, y), kBlack);
    EXPECT_EQ(Texture_LoadTrimmed_e(e, (TempDir() / "missing.png").c_str()), 0u);
}
