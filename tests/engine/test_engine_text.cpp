// TrueType text through the render cache, and bitmap fonts.

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine_fixture.h"
#include "shared/gbk.h"

using namespace lumo_test;

namespace {

// Pixels in the box that differ from the background.
int LitPixels(HENGINE e, int x, int y, int w, int h) {
    int lit = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) lit += Harness_ReadPixel(e, i, j) != kBlack;
    return lit;
}

}  // namespace

TEST_F(EngineTest, ChineseTextDrawsAndUnchangedTextIsNotRasterisedAgain) {
    HFONT font = Font_Interface_Get(gbk::Lit("宋体").c_str(), 16, 0, 0, 0);
    ASSERT_NE(font, 0u);
    const std::string& hello = gbk::Lit("你好，世界");
    const float width = Font_GetTextWidth(font, hello.c_str());
    EXPECT_GT(width, 60);  // five full-width characters at 16 pixels
    EXPECT_LT(width, 100);

    Frame([&] { Font_Printf(font, 10, 10, hello.c_str()); });
    const long afterFirst = Harness_RasterCount(e);
    EXPECT_EQ(afterFirst, 1);
    EXPECT_GT(LitPixels(e, 10, 10, static_cast<int>(width), 20), 40);
    EXPECT_EQ(LitPixels(e, 110, 10, 40, 20), 0);

    Font_SetColor(font, 0xFFFF0000);  // colour comes from modulation, not a new raster
    for (int i = 0; i < 3; ++i) Frame([&] { Font_Printf(font, 10, 10, hello.c_str()); });
    EXPECT_EQ(Harness_RasterCount(e), afterFirst);
    bool sawRed = false;
    for (int x = 10; x < 10 + width; ++x)
        for (int y = 10; y < 30; ++y) {
            const std::uint32_t p = Pixel(x, y);
            EXPECT_EQ(p & 0x0000FFFF, 0u);  // no green, no blue
            sawRed = sawRed || ((p >> 16) & 0xFF) > 200;
        }
    EXPECT_TRUE(sawRed);
    EXPECT_FLOAT_EQ(Font_GetTextWidth(font, hello.c_str()), width);
}

TEST_F(EngineTest, StyledFacesDifferAndAnyFaceFallsBackToChinese) {
    HFONT plain = Font_Interface_Get(gbk::Lit("幼圆").c_str(), 13, 0, 0, 0);
    HFONT bold = Font_Interface_Get(gbk::Lit("幼圆").c_str(), 13, 1, 0, 1);
    HFONT unknown = Font_Interface_Get("No Such Face At All", 20, 0, 0, 0);
    ASSERT_NE(plain, 0u);
    ASSERT_NE(bold, 0u);
    ASSERT_NE(unknown, 0u);
    const std::string& text = gbk::Lit("攻击");
    Frame([&] {
        Font_Printf(plain, 0, 0, text.c_str());
        Font_Printf(bold, 0, 40, text.c_str());
        Font_Printf(unknown, 0, 80, text.c_str());
    });
    EXPECT_EQ(Harness_RasterCount(e), 3);  // one per font: the cache keys on the font
    const int plainLit = LitPixels(e, 0, 0, 40, 20);
    EXPECT_GT(plainLit, 10);
    EXPECT_GT(LitPixels(e, 0, 40, 40, 20), plainLit);  // bold
    EXPECT_GT(LitPixels(e, 0, 80, 50, 30), 10);
    // An unknown face gets the same Chinese font, not a Latin one with empty boxes.
    HFONT known = Font_Interface_Get(gbk::Lit("黑体").c_str(), 20, 0, 0, 0);
    EXPECT_FLOAT_EQ(Font_GetTextWidth(unknown, text.c_str()), Font_GetTextWidth(known, text.c_str()));
    EXPECT_FLOAT_EQ(Font_GetTextWidth(unknown, text.c_str()), 40);
}

namespace {

struct DrawnText {
    std::vector<float> heights;
    static void Listen(void* user, const LumoDrawRecord* rec) {
        if (rec->kind == LUMO_DRAW_TEXT) static_cast<DrawnText*>(user)->heights.push_back(rec->h);
    }
};

// Rows of the box in which at least 90% of the pixels are lit.
int FullRows(HENGINE e, int x, int y, int w, int h) {
    int rows = 0;
    for (int j = y; j < y + h; ++j) rows += LitPixels(e, x, j, w, 1) * 10 >= w * 9;
    return rows;
}

}  // namespace

TEST_F(EngineTest, SmoothFlagAntialiasesEdgesAndNeverUnderlines) {
    const std::string face = gbk::Lit("幼圆");
    HFONT hard = Font_Interface_Get(face.c_str(), 13, 1, 0, 0);
    HFONT smooth = Font_Interface_Get(face.c_str(), 13, 1, 0, 1);
    ASSERT_NE(hard, 0u);
    ASSERT_NE(smooth, 0u);
    const char* text = "i i i l";
    const int w = static_cast<int>(Font_GetTextWidth(smooth, text));
    const int h = static_cast<int>(Font_GetTextHeight(smooth, text));
    ASSERT_GT(w, 10);
    Frame([&] {
        Font_Printf(hard, 0, 0, text);
        Font_Printf(smooth, 0, 40, text);
    });
    EXPECT_EQ(Harness_RasterCount(e), 2);  // one raster per style
    int hardGrey = 0, hardLit = 0, smoothGrey = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t a = Pixel(x, y), b = Pixel(x, 40 + y);
            hardLit += a != kBlack;
            hardGrey += a != kBlack && a != 0xFFFFFFFFu;
            smoothGrey += b != kBlack && b != 0xFFFFFFFFu;
        }
    EXPECT_GT(hardLit, 10);
    EXPECT_EQ(hardGrey, 0);    // hard edges: only the text colour
    EXPECT_GT(smoothGrey, 5);  // antialiased edges blend into the background
    // Glyphs with gaps between them never light a whole row.
    EXPECT_EQ(FullRows(e, 0, 0, w, h + 4), 0);
    EXPECT_EQ(FullRows(e, 0, 40, w, h + 4), 0);
}

TEST_F(EngineTest, TextHeightCountsLinesAndMatchesTheDrawnBlock) {
    HFONT font = Font_Interface_Get(gbk::Lit("幼圆").c_str(), 13, 1, 0, 1);
    ASSERT_NE(font, 0u);
    const float one = Font_GetTextHeight(font, "A");
    EXPECT_GE(one, 13);
    EXPECT_LT(one, 26);
    const float two = Font_GetTextHeight(font, "A\nB");
    const float three = Font_GetTextHeight(font, gbk::Lit("中\n文\n字").c_str());
    EXPECT_GT(two, one);
    EXPECT_FLOAT_EQ(three - two, two - one);  // every further line adds the same
    EXPECT_FLOAT_EQ(Font_GetTextHeight(font, ""), 0);
    EXPECT_FLOAT_EQ(Font_GetTextHeight(font, nullptr), 0);
    EXPECT_FLOAT_EQ(Font_GetTextHeight(0, "A"), 0);

    // Measured before drawing, the height is that of the block drawn later.
    DrawnText drawn;
    Harness_SetDrawListener(e, &DrawnText::Listen, &drawn);
    Frame([&] {
        Font_Printf(font, 0, 0, "A");
        Font_Printf(font, 40, 0, "A\nB");
        Font_Printf(font, 80, 0, gbk::Lit("中\n文\n字").c_str());
    });
    Harness_SetDrawListener(e, nullptr, nullptr);
    ASSERT_EQ(drawn.heights.size(), 3u);
    EXPECT_FLOAT_EQ(drawn.heights[0], one);
    EXPECT_FLOAT_EQ(drawn.heights[1], two);
    EXPECT_FLOAT_EQ(drawn.heights[2], three);
    EXPECT_FLOAT_EQ(Font_GetTextHeight(font, "A\nB"), two);  // and the same once cached
    // The letter lies inside its measured box.
    EXPECT_GT(LitPixels(e, 0, 0, 20, static_cast<int>(one)), 10);
    EXPECT_EQ(LitPixels(e, 0, static_cast<int>(one), 20, 10), 0);

    HFONTM fm = FontM_Interface_Get();
    EXPECT_FLOAT_EQ(FontN_getTextHeight(fm, "A"), 0);  // nothing loaded yet
    ASSERT_TRUE(FontM_loadFont(fm, "SIMHEI.TTF", 12));
    const float small = FontN_getTextHeight(fm, gbk::Lit("经验").c_str());
    EXPECT_GE(small, 12);
    EXPECT_GT(FontN_getTextHeight(fm, "a\nb"), small);
    FontN_setSize(fm, 24);
    EXPECT_GT(FontN_getTextHeight(fm, gbk::Lit("经验").c_str()), small * 1.5f);
}

TEST_F(EngineTest, BadTextIsHarmless) {
    HFONT font = Font_Interface_Get("Sans", 14, 0, 0, 0);
    Frame([&] {
        Font_Printf(font, 0, 0, "");
        Font_Printf(font, 0, 0, nullptr);
        Font_Printf(0, 0, 0, "x");
        Font_Printf(font, 10, 20, "\x81");       // lead byte with no trail
        Font_Printf(font, 10, 40, "a\xFF\xFF" "b");
        Font_Printf(font, 10, 60, "two\nlines");
    });
    EXPECT_EQ(Harness_RasterCount(e), 3);
    EXPECT_GT(LitPixels(e, 10, 20, 20, 18), 0);  // a replacement mark is drawn
    EXPECT_EQ(Font_GetTextWidth(font, ""), 0.0f);
    EXPECT_GT(Font_GetTextWidth(font, "two\nlines"), Font_GetTextWidth(font, "two"));
    // The widest line counts, also when a line ends in a Chinese character.
    EXPECT_FLOAT_EQ(Font_GetTextWidth(font, gbk::Lit("中\n中中").c_str()),
                    Font_GetTextWidth(font, gbk::Lit("中中").c_str()));
    Font_Del(font);
    Frame([&] { Font_Printf(font, 0, 0, "x"); });
    EXPECT_EQ(Font_GetTextWidth(font, "x"), 0.0f);
}

TEST_F(EngineTest, TextCacheIsBoundedAndEvictsTheOldest) {
    HFONT font = Font_Interface_Get("Sans", 8, 0, 0, 0);
    Frame([&] {
        for (int i = 0; i < 1100; ++i) Font_Printf(font, 0, 0, std::to_string(i).c_str());
    });
    EXPECT_EQ(Harness_RasterCount(e), 1100);
    Frame([&] { Font_Printf(font, 0, 0, "1099"); });
    EXPECT_EQ(Harness_RasterCount(e), 1100);
    Frame([&] { Font_Printf(font, 0, 0, "0"); });
    EXPECT_EQ(Harness_RasterCount(e), 1101);
}

// Long, distinct texts (a stream of chat lines, the speech bubble's stacked
// lines) are bounded by their pixels as well: a hundred pictures of five long
// lines each (about 200 KB apiece) once stayed cached whole.
TEST_F(EngineTest, TextCacheIsBoundedByItsPixelsToo) {
    HFONT font = Font_Interface_Get("Sans", 16, 0, 0, 0);
    auto text = [](int i) {
        std::string line(60, 'W');
        std::string t = std::to_string(i);
        for (int k = 0; k < 5; ++k) t += "\n" + line;
        return t;
    };
    Frame([&] {
        for (int i = 0; i < 100; ++i) Font_Printf(font, 0, 0, text(i).c_str());
    });
    ASSERT_EQ(Harness_RasterCount(e), 100);
    // The newest stay cached; the oldest made room.
    Frame([&] {
        for (int i = 95; i < 100; ++i) Font_Printf(font, 0, 0, text(i).c_str());
    });
    EXPECT_EQ(Harness_RasterCount(e), 100);
    Frame([&] { Font_Printf(font, 0, 0, text(0).c_str()); });
    EXPECT_EQ(Harness_RasterCount(e), 101);
}

TEST_F(EngineTest, FontManagerLoadsByBareNameOrPath) {
    HFONTM fm = FontM_Interface_Get();
    FontM_Initialize(fm, e);
    EXPECT_FALSE(FontM_loadFont(fm, "/no/such/font.ttf", 12));
    EXPECT_EQ(FontN_getTextWidth(fm, "abc"), 0.0f);
    ASSERT_TRUE(FontM_loadFont(fm, "SIMHEI.TTF", 12));  // not installed: the Chinese font stands in
    const float small = FontN_getTextWidth(fm, gbk::Lit("经验").c_str());
    FontN_setSize(fm, 24);
    EXPECT_GT(FontN_getTextWidth(fm, gbk::Lit("经验").c_str()), small * 1.5f);
    FontN_setColor(fm, 0xFF00FF00);
    Frame([&] { FontN_printf(fm, 0, 0, gbk::Lit("经验").c_str()); });
    EXPECT_GT(LitPixels(e, 0, 0, 50, 30), 20);
}

class BitmapFontTest : public EngineTest {
protected:
    // Copies the hand-made font beside a generated 16 x 8 white page.
    std::string Prepare() {
        const auto dir = TempDir() / "bm";
        std::filesystem::create_directories(dir);
        const char* testData = std::getenv("LUMO_TEST_DATA");
        if (testData == nullptr) ADD_FAILURE() << "LUMO_TEST_DATA is not set";
        std::filesystem::copy_file(std::filesystem::path(testData ? testData : "") / "engine" / "small.fnt",
                                   dir / "small.fnt",
                                   std::filesystem::copy_options::overwrite_existing);
        MakePng("bm/small_0.png", 16, 8, [](int, int) { return 0xFFFFFFFFu; });
        return (dir / "small.fnt").string();
    }
};

TEST_F(BitmapFontTest, ParsesGlyphsKerningAndDraws) {
    HBMFONT font = hFont_Interface_Get(Prepare().c_str());
    ASSERT_NE(font, 0u);
    EXPECT_FLOAT_EQ(hFont_GetTextWidth_e(font, "AB"), 9);  // 5 - 1 + 5
    EXPECT_FLOAT_EQ(hFont_GetTextWidth_e(font, "BA"), 10);
    EXPECT_FLOAT_EQ(hFont_GetTextWidth_e(font, gbk::Lit("A中").c_str()), 14);
    EXPECT_FLOAT_EQ(hFont_GetTextWidth_e(font, "AB\nA"), 9);
    hFont_SetColor_e(font, 0xFF00FF00);
    Frame([&] {
        hFont_printf_e(font, 10, 10, LUMO_ALIGN_LEFT, "AB");
        hFont_printf_e(font, 100, 40, LUMO_ALIGN_RIGHT, "A");
        hFont_printf_e(font, 100, 70, LUMO_ALIGN_CENTER, gbk::Lit("中").c_str());
        hFont_printf_e(font, 10, 90, LUMO_ALIGN_LEFT, "?Z\x81");  // unknown glyphs are skipped
    });
    EXPECT_EQ(Pixel(10, 11), 0xFF00FF00u);  // yoffset 1
    EXPECT_EQ(Pixel(10, 10), kBlack);
    EXPECT_EQ(Pixel(14, 11), 0xFF00FF00u);  // B pulled 1 pixel left by kerning
    EXPECT_EQ(Pixel(17, 11), 0xFF00FF00u);
    EXPECT_EQ(Pixel(18, 11), kBlack);
    EXPECT_EQ(Pixel(95, 41), 0xFF00FF00u);
    EXPECT_EQ(Pixel(94, 41), kBlack);
    EXPECT_EQ(Pixel(96, 71), 0xFF00FF00u);  // 9 wide, centred: starts at 95.5
    EXPECT_EQ(Pixel(104, 71), kBlack);
}

TEST_F(BitmapFontTest, MalformedFilesGiveNoFont) {
    Prepare();
    const std::string head =
        "info face=\"x\" size=8\ncommon lineHeight=10 base=8 pages=1\npage id=0 file=\"small_0.png\"\n";
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"garbage", "this is not a font\n"},
        {"no common", "page id=0 file=\"small_0.png\"\nchar id=65 x=0 y=0 width=4 height=8 "
                      "xoffset=0 yoffset=0 xadvance=5 page=0\n"},
        {"no chars", head},
        {"huge width", head + "char id=65 x=0 y=0 width=99999999999 height=8 xoffset=0 yoffset=0 "
                              "xadvance=5 page=0\n"},
        {"negative x", head + "char id=65 x=-5 y=0 width=4 height=8 xoffset=0 yoffset=0 xadvance=5\n"},
        {"id beyond unicode", head + "char id=2000000 x=0 y=0 width=4 height=8 xoffset=0 yoffset=0 "
                                     "xadvance=5\n"},
        {"open quote", "info face=\"x size=8\n" + head.substr(head.find('\n') + 1)},
        {"letters as number", head + "char id=A x=0 y=0 width=4 height=8 xoffset=0 yoffset=0 xadvance=5\n"},
        {"too many pages", "common lineHeight=10 base=8 pages=100000\n"},
        {"missing page file", "common lineHeight=10 base=8 pages=1\npage id=0 file=\"gone.png\"\n"
                              "char id=65 x=0 y=0 width=4 height=8 xoffset=0 yoffset=0 xadvance=5\n"},
        {"embedded nul", head + std::string("char id=65\0 x=0", 16) + "\n"},
    };
    for (const auto& c : cases) {
        const std::string path = WriteFile("bm/broken.fnt", c.text);
        EXPECT_EQ(hFont_Interface_Get(path.c_str()), 0u) << c.name;
    }
    EXPECT_EQ(hFont_Interface_Get("/no/such/font.fnt"), 0u);
    // Drawing with no font does nothing.
    Frame([&] { hFont_printf_e(0, 0, 0, 0, "A"); });
    EXPECT_EQ(hFont_GetTextWidth_e(0, "A"), 0.0f);
}

TEST_F(BitmapFontTest, ScaleAppliesToDrawingWidthAndHeight) {
    HBMFONT font = hFont_Interface_Get(Prepare().c_str());
    ASSERT_NE(font, 0u);
    EXPECT_FLOAT_EQ(hFont_GetTextHeight_e(font, "A"), 10);  // lineHeight
    EXPECT_FLOAT_EQ(hFont_GetTextHeight_e(font, "A\nB"), 20);
    EXPECT_FLOAT_EQ(hFont_GetTextHeight_e(font, ""), 0);
    EXPECT_FLOAT_EQ(hFont_GetTextHeight_e(0, "A"), 0);

    hFont_SetScale_e(font, 0.7f);
    EXPECT_FLOAT_EQ(hFont_GetTextWidth_e(font, "AB"), 9 * 0.7f);
    EXPECT_FLOAT_EQ(hFont_GetTextHeight_e(font, "A"), 7);
    hFont_SetScale_e(font, 2);
    for (float bad : {0.0f, -1.0f, std::nanf(""), INFINITY, 1000.0f}) hFont_SetScale_e(font, bad);
    EXPECT_FLOAT_EQ(hFont_GetTextWidth_e(font, "AB"), 18);
    EXPECT_FLOAT_EQ(hFont_GetTextHeight_e(font, "A\nB"), 40);

    hFont_SetColor_e(font, 0xFF00FF00);
    Frame([&] {
        hFont_printf_e(font, 10, 10, LUMO_ALIGN_LEFT, "A\nA");
        hFont_printf_e(font, 100, 70, LUMO_ALIGN_RIGHT, "A");
    });
    // A: 4 x 8 at yoffset 1 becomes 8 x 16 at yoffset 2.
    EXPECT_EQ(Pixel(10, 12), 0xFF00FF00u);
    EXPECT_EQ(Pixel(17, 27), 0xFF00FF00u);
    EXPECT_EQ(Pixel(10, 11), kBlack);
    EXPECT_EQ(Pixel(18, 12), kBlack);
    EXPECT_EQ(Pixel(10, 28), kBlack);
    // The second line starts two line heights lower.
    EXPECT_EQ(Pixel(10, 31), kBlack);
    EXPECT_EQ(Pixel(10, 32), 0xFF00FF00u);
    EXPECT_EQ(Pixel(17, 47), 0xFF00FF00u);
    // Right alignment uses the scaled width (10).
    EXPECT_EQ(Pixel(90, 72), 0xFF00FF00u);
    EXPECT_EQ(Pixel(89, 72), kBlack);
}
