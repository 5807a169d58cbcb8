#pragma once
// A three-state picture button: normal, hover (the pointer is over it) and
// pressed (the left button is held over it). Its pictures are "1.png",
// "2.png" and "3.png" of one folder, in that state order; its size is the
// first picture's. A button without pictures has no size and is never hit.
//
// Update reads the frame's controls and answers a click: the left button
// released over the button after it went down there.

#include <array>
#include <string>

#include "platform/sprite.h"

class Engine;
struct Controls;
namespace paths {
class DataPaths;
}

class Button {
public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2 };

    // Loads "<gbkFolder>\<gbkName>\1.png" .. "3.png" and places the button
    // at screen (x, y).
    void Init(Engine& engine, const paths::DataPaths& dataPaths, float x, float y, const std::string& gbkFolder,
              const std::string& gbkName);
    // Sets the size without pictures (tests, buttons drawn by someone else).
    void SetBox(float x, float y, float width, float height);
    // True in the frame a click completes.
    bool Update(const Controls& controls);
    void Draw() const;
    // Forgets a press in progress (the button was hidden meanwhile).
    void Release() { m_armed = false; m_state = kNormal; }

    bool Contains(float px, float py) const;
    State state() const { return m_state; }
    float x() const { return m_x; }
    float y() const { return m_y; }
    float width() const { return m_width; }
    float height() const { return m_height; }

private:
    std::array<Sprite, 3> m_pictures;
    float m_x = 0, m_y = 0, m_width = 0, m_height = 0;
    State m_state = kNormal;
    bool m_armed = false;  // the left button went down over it
};
