#pragma once
// Damage numbers: the digits that rise where a hit landed. Each record holds
// one frame animation per character of the number; its ten frames are the
// ten glyph sets of that digit. A record plays its ten frames once (about
// one second) and is removed by the draw that shows its tenth frame.

#include <vector>

#include "platform/frame_animation.h"

class JsonWriter;

// The number glyphs: table[style][digit], 10 x 10, loaded at start.
using GlyphTable = std::vector<std::vector<FrameInfo>>;

struct DamageNumber {
    std::vector<FrameAnimation> digits;
    std::vector<int> digitX;  // relative to the camera offsets
    std::vector<int> digitY;
    int value = 0;
};

class DamageNumbers {
public:
    // Appends a record for value (truncated toward zero) at (x, y): digits
    // 25 px apart, the first 20 px right of x, x taken relative to the
    // camera's x offset. A character that is not a digit shows nothing.
    void Show(float value, int x, int y, const GlyphTable& glyphs, float cameraX);
    // Anchors every digit at camera + its position and steps it (0.1 s per
    // frame, frames 1..10).
    void Update(float dt, float cameraX, float cameraY);
    // Draws every record and then removes those whose first digit shows
    // frame 10, all in the same frame.
    void Draw();

    void Clear() { m_list.clear(); }
    int size() const { return static_cast<int>(m_list.size()); }
    const DamageNumber& At(int i) const { return m_list[static_cast<std::size_t>(i - 1)]; }
    void DumpState(JsonWriter& w) const;

private:
    std::vector<DamageNumber> m_list;
};
