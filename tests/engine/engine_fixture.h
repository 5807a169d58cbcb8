#pragma once
// A headless engine per test, with helpers to make pictures and run frames.

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "lumo/lumo.h"

namespace lumo_test {

constexpr std::uint32_t kBlack = 0xFF000000;

inline std::filesystem::path TempDir() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("lumo_engine_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

// Writes a w x h PNG whose pixel (x, y) is fn(x, y) as ARGB.
inline std::string MakePng(const std::string& name, int w, int h,
                           const std::function<std::uint32_t(int, int)>& fn) {
    const std::string path = (TempDir() / name).string();
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            static_cast<std::uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] = fn(x, y);
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

inline std::string Solid(const std::string& name, int w, int h, std::uint32_t argb) {
    return MakePng(name, w, h, [argb](int, int) { return argb; });
}

inline std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = (TempDir() / name).string();
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

// 0.2 s of 16-bit mono silence at 22050 Hz as a WAV file `name`.
inline std::string QuietWav(const std::string& name) {
    const std::uint32_t samples = 4410, dataBytes = samples * 2;
    std::string wav = "RIFF";
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) wav += static_cast<char>(v >> (8 * i)); };
    auto u16 = [&](std::uint16_t v) { wav += static_cast<char>(v); wav += static_cast<char>(v >> 8); };
    u32(36 + dataBytes);
    wav += "WAVEfmt ";
    u32(16); u16(1); u16(1); u32(22050); u32(44100); u16(2); u16(16);
    wav += "data";
    u32(dataBytes);
    wav.append(dataBytes, '\0');
    return WriteFile(name, wav);
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        e = _Interface_Get();
        System_SetState_b(e, LUMO_HEADLESS, true);
        System_SetState_i(e, LUMO_SCREENWIDTH, 160);
        System_SetState_i(e, LUMO_SCREENHEIGHT, 120);
        ASSERT_TRUE(System_Initiate_e(e));
    }
    void TearDown() override { Release_e(e); }

    // One frame: input, a cleared scene, the draws, the end of the scene.
    void Frame(const std::function<void()>& draw = [] {}) {
        Harness_BeginFrame(e);
        Gfx_BeginScene_e(e, 0);
        Gfx_Clear_e(e, kBlack);
        draw();
        Gfx_EndScene_e(e);
    }

    std::uint32_t Pixel(int x, int y) { return Harness_ReadPixel(e, x, y); }

    HENGINE e = 0;
};

// Channel distance of two ARGB colours (largest per channel).
inline int ColorDistance(std::uint32_t a, std::uint32_t b) {
    int d = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        d = std::max(d, ca > cb ? ca - cb : cb - ca);
    }
    return d;
}

}  // namespace lumo_test
