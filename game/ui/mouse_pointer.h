#pragma once
// The game's own mouse pointer (the system pointer is hidden): eight frames
// "\data\其它\指针<n>.png", 30 x 30, of which 1 to 6 are shown.
// Mode 1 normal (frame 1), 2 pressed (frame 2), 4 busy (frames 3 to 6,
// animated by a counter that advances once per draw).

#include <array>

#include "platform/sprite.h"

class Engine;
namespace paths { class DataPaths; }

class MousePointer {
public:
    static constexpr int kNormal = 1;
    static constexpr int kPressed = 2;
    static constexpr int kBusy = 4;

    void Create(Engine& engine, const paths::DataPaths& dataPaths);

    // Once per playing frame: pressed while the left button is held (unless
    // busy); over the bottom bar (mouse y beyond 526) always normal.
    void Update(bool leftButtonHeld, float mouseY);
    // Draws at (x, y); returns the frame drawn (1..6), 0 when nothing.
    int Draw(float x, float y);

    int Mode() const { return m_mode; }
    void SetMode(int mode) { m_mode = mode; }
    int counter() const { return m_counter; }

private:
    std::array<Sprite, 8> m_frames;
    int m_mode = kNormal;
    int m_counter = 0;
};
