#pragma once
// A screenshot of the game read back pixel by pixel, through a headless
// engine of the screen's size: the picture is drawn once and its pixels
// kept as ARGB.

#include <cstdint>
#include <string>
#include <vector>

class ScreenPicture {
public:
    // Reads the PNG at `path` (800 x 600); empty when it cannot be read.
    explicit ScreenPicture(const std::string& path);
    bool empty() const { return m_pixels.empty(); }
    std::uint32_t At(int x, int y) const;
    // Brightness as the largest of red, green and blue (0..255).
    int Brightness(int x, int y) const;
    // Pixels in the rectangle whose colour passes `test` (ARGB).
    template <typename Test>
    int Count(int x0, int y0, int x1, int y1, Test test) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += test(At(x, y)) ? 1 : 0;
        return n;
    }

    static constexpr int kWidth = 800, kHeight = 600;

private:
    std::vector<std::uint32_t> m_pixels;
};

inline int Red(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Blue(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
