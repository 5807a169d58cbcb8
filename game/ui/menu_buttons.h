#pragma once
// A column or row of picture buttons with printed captions, as the title
// screen, the system window and the question box use them: an entry is
// picked by a click, or by moving the highlight with the arrow keys (or the
// pad's d-pad) and choosing with Confirm (Enter, pad A). The pointer over an entry moves the highlight there.
// A disabled entry is drawn faded and cannot be picked.

#include <array>
#include <string>
#include <vector>

#include "platform/sprite.h"
#include "ui/button.h"

class Engine;
class GdiFont;
struct Controls;
namespace paths {
class DataPaths;
}

struct MenuEntry {
    std::string caption;  // GBK
    bool enabled = true;
};

class MenuButtons {
public:
    // The faces "<gbkFolder>\1.png" .. "3.png": normal, highlighted, pressed.
    void Load(Engine& engine, const paths::DataPaths& dataPaths, const std::string& gbkFolder);
    // Sets the size of the faces without pictures (tests).
    void SetFaceSize(float width, float height);
    // The entries, the first at (x, y), each next `step` lower (or further
    // right when `across`). The highlight goes to the first enabled entry.
    void Set(std::vector<MenuEntry> entries, float x, float y, float step, bool across = false);

    // The entry clicked this frame (the left button released over the entry
    // it went down on), else -1.
    int Update(const Controls& input);
    // Up and Down (Left and Right across) move the highlight over the
    // enabled entries; Confirm picks it. The keys used are consumed from
    // `controls`. Returns the entry picked, else -1.
    int Keys(Controls& controls);
    void Draw(GdiFont& font) const;

    bool Holds(float x, float y) const;
    int highlight() const { return m_highlight; }
    const std::vector<MenuEntry>& entries() const { return m_entries; }
    // The centre of entry i on the screen (tests and input files click there).
    float CentreX(int i) const;
    float CentreY(int i) const;

private:
    void Move(int direction);

    std::array<Sprite, 3> m_faces;
    Sprite m_faded;
    float m_width = 0, m_height = 0;
    std::vector<MenuEntry> m_entries;
    std::vector<Button> m_buttons;
    int m_highlight = -1;
};
