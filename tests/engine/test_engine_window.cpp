// The logical picture scaled into a resized window: black bars, square
// pixels, mouse positions mapped back, fullscreen and window screenshots.

#include <cstdio>
#include <vector>

#include "engine_fixture.h"

using namespace lumo_test;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// A headless engine drawing the game's 800 x 600 picture.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        e = _Interface_Get();
        System_SetState_b(e, LUMO_HEADLESS, true);
        System_SetState_i(e, LUMO_SCREENWIDTH, 800);
        System_SetState_i(e, LUMO_SCREENHEIGHT, 600);
        ASSERT_TRUE(System_Initiate_e(e));
        const std::uint32_t red = kRed, blue = kBlue;
        redDot = Spr_Interface_Get(Texture_Create_e(e, 1, 1, &red), 0, 0, 1, 1);
        blueDot = Spr_Interface_Get(Texture_Create_e(e, 1, 1, &blue), 0, 0, 1, 1);
        std::vector<std::uint32_t> pattern(16 * 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                pattern[y * 16 + x] = 0xFF000000u | (x * 16u << 16) | (y * 16u << 8) | ((x + y) % 2 ? 0xFFu : 0u);
        patch = Spr_Interface_Get(Texture_Create_e(e, 16, 16, pattern.data()), 0, 0, 16, 16);
    }
    void TearDown() override { Release_e(e); }

    // Green picture, a red first pixel, a blue last pixel, patterned patches.
    void Frame() {
        Harness_BeginFrame(e);
        Gfx_BeginScene_e(e, 0);
        Gfx_Clear_e(e, kGreen);
        Spr_Render_e(patch, 100, 100);
        Spr_Render_e(patch, 392, 292);
        Spr_Render_e(patch, 784, 584);
        Spr_Render_e(redDot, 0, 0);
        Spr_Render_e(blueDot, 799, 599);
        Gfx_EndScene_e(e);
    }

    std::uint32_t Pixel(int x, int y) { return Harness_ReadPixel(e, x, y); }

    // The engine's one window, for events that come from it.
    static SDL_Window* TheWindow() {
        for (Uint32 id = 1; id < 256; ++id)
            if (SDL_Window* w = SDL_GetWindowFromID(id)) return w;
        return nullptr;
    }

    // A pointer move as the window reports it, in window pixels.
    void MoveMouseInWindow(int x, int y) {
        SDL_Event ev{};
        ev.type = SDL_MOUSEMOTION;
        ev.motion.windowID = SDL_GetWindowID(TheWindow());
        ev.motion.x = x;
        ev.motion.y = y;
        SDL_PushEvent(&ev);
        Harness_BeginFrame(e);
    }

    HENGINE e = 0;
    HSPRITE redDot = 0, blueDot = 0, patch = 0;
};

}  // namespace

TEST_F(WindowTest, WiderOrTallerWindowsLetterboxThePictureInBlack) {
    Frame();
    EXPECT_EQ(Pixel(0, 0), kRed);
    EXPECT_EQ(Pixel(799, 599), kBlue);
    EXPECT_EQ(Pixel(600, 300), kGreen);

    // Wider: 100-pixel bars left and right.
    ASSERT_TRUE(Harness_SetWindowSize(e, 1000, 600));
    Frame();
    EXPECT_EQ(System_GetWidth_e(e), 800);
    EXPECT_EQ(System_GetHeight_e(e), 600);
    for (int y : {0, 300, 599}) {
        EXPECT_EQ(Pixel(0, y), kBlack) << y;
        EXPECT_EQ(Pixel(99, y), kBlack) << y;   // the clear colour stays inside the picture
        EXPECT_EQ(Pixel(900, y), kBlack) << y;
        EXPECT_EQ(Pixel(999, y), kBlack) << y;
    }
    EXPECT_EQ(Pixel(100, 0), kRed);
    EXPECT_EQ(Pixel(899, 599), kBlue);
    EXPECT_EQ(Pixel(101, 300), kGreen);
    EXPECT_EQ(Pixel(898, 300), kGreen);

    // Taller: 100-pixel bars above and below.
    ASSERT_TRUE(Harness_SetWindowSize(e, 800, 800));
    Frame();
    for (int x : {0, 400, 799}) {
        EXPECT_EQ(Pixel(x, 0), kBlack) << x;
        EXPECT_EQ(Pixel(x, 99), kBlack) << x;
        EXPECT_EQ(Pixel(x, 700), kBlack) << x;
        EXPECT_EQ(Pixel(x, 799), kBlack) << x;
    }
    EXPECT_EQ(Pixel(0, 100), kRed);
    EXPECT_EQ(Pixel(799, 699), kBlue);
    EXPECT_EQ(Pixel(400, 101), kGreen);
}

TEST_F(WindowTest, DoubleSizedWindowDoublesEveryPixel) {
    Frame();
    std::vector<std::uint32_t> picture(800 * 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) picture[y * 800 + x] = Pixel(x, y);

    ASSERT_TRUE(Harness_SetWindowSize(e, 1600, 1200));
    Frame();
    int wrong = 0;
    for (int y = 0; y < 1200; ++y)
        for (int x = 0; x < 1600; ++x) wrong += Pixel(x, y) != picture[(y / 2) * 800 + x / 2];
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Pixel(1, 1), kRed);
    EXPECT_EQ(Pixel(2, 2), kGreen);
}

TEST_F(WindowTest, MousePositionsFromTheWindowAreInPictureCoordinates) {
    ASSERT_NE(TheWindow(), nullptr);
    ASSERT_TRUE(Harness_SetWindowSize(e, 1600, 1200));
    float x = -1, y = -1;
    MoveMouseInWindow(1000, 900);
    Input_GetMousePos_e(e, &x, &y);
    EXPECT_FLOAT_EQ(x, 500);
    EXPECT_FLOAT_EQ(y, 450);

    ASSERT_TRUE(Harness_SetWindowSize(e, 1000, 600));
    MoveMouseInWindow(600, 300);
    Input_GetMousePos_e(e, &x, &y);
    EXPECT_FLOAT_EQ(x, 500);
    EXPECT_FLOAT_EQ(y, 300);
    // Over a bar the pointer is held at the picture's edge.
    MoveMouseInWindow(20, 10);
    Input_GetMousePos_e(e, &x, &y);
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(y, 10);
    MoveMouseInWindow(990, 599);
    Input_GetMousePos_e(e, &x, &y);
    EXPECT_FLOAT_EQ(x, 799);
    EXPECT_FLOAT_EQ(y, 599);
}

TEST_F(WindowTest, ScreenshotIsTheWindowAsShownWithItsBars) {
    const std::string path = (TempDir() / "window_shot.png").string();
    std::remove(path.c_str());
    EXPECT_FALSE(System_SaveScreenshot_e(e, path.c_str()));  // no finished scene yet
    ASSERT_TRUE(Harness_SetWindowSize(e, 1000, 600));
    Frame();
    ASSERT_TRUE(System_SaveScreenshot_e(e, path.c_str()));
    SDL_Surface* loaded = IMG_Load(path.c_str());
    ASSERT_NE(loaded, nullptr);
    SDL_Surface* shot = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->w, 1000);
    EXPECT_EQ(shot->h, 600);
    auto at = [&](int x, int y) {
        return static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x];
    };
    EXPECT_EQ(at(50, 300), kBlack);
    EXPECT_EQ(at(950, 300), kBlack);
    EXPECT_EQ(at(100, 0), kRed);
    EXPECT_EQ(at(899, 599), kBlue);
    EXPECT_EQ(at(600, 300), kGreen);
    SDL_FreeSurface(shot);

    // A folder that does not exist: refused, and no partial file is left.
    EXPECT_FALSE(System_SaveScreenshot_e(e, "/nonexistent-lumo-dir/shot.png"));
    EXPECT_FALSE(System_SaveScreenshot_e(e, ""));
    EXPECT_FALSE(System_SaveScreenshot_e(e, nullptr));
    EXPECT_FALSE(System_SaveScreenshot_e(0, path.c_str()));
    // A target that cannot be replaced: refused, and the temporary file is gone.
    const auto folder = TempDir() / "shot_is_a_folder";
    std::filesystem::create_directories(folder / "inside");
    EXPECT_FALSE(System_SaveScreenshot_e(e, folder.c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder.string() + ".part"));
}

TEST_F(WindowTest, FullscreenFollowsItsSwitchAndBadCallsAreRefused) {
    EXPECT_FALSE(System_IsFullscreen_e(e));
    EXPECT_TRUE(System_SetFullscreen_e(e, true));
    EXPECT_TRUE(System_IsFullscreen_e(e));
    EXPECT_EQ(System_GetState_i(e, LUMO_WINDOWED), 0);
    EXPECT_TRUE(System_SetFullscreen_e(e, false));
    EXPECT_FALSE(System_IsFullscreen_e(e));
    EXPECT_EQ(System_GetState_i(e, LUMO_WINDOWED), 1);
    EXPECT_EQ(System_GetWidth_e(e), 800);

    EXPECT_FALSE(System_SetFullscreen_e(0, true));
    EXPECT_FALSE(System_IsFullscreen_e(0));
    EXPECT_FALSE(Harness_SetWindowSize(e, 0, 600));
    EXPECT_FALSE(Harness_SetWindowSize(e, 800, -1));
    EXPECT_FALSE(Harness_SetWindowSize(e, 20000, 600));
    EXPECT_FALSE(Harness_SetWindowSize(0, 800, 600));
}
