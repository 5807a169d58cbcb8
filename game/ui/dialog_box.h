#pragma once
// The dialog box: the bubble that stands over the player (placed every frame
// by the frame loop) and the NPC conversation state that scripts set through
// "提示", "选择项" and "exit".

#include <string>
#include <vector>

class JsonWriter;

struct DialogChoice {
    std::string caption;  // GBK
    std::string action;   // "exit" or the name of a script function
};

class DialogBox {
public:
    DialogBox() = default;

    // Loading: the bubble's tiles for `style` (1 when 0) and its mode.
    void Create(int style, int mode);
    // Box size in pixels (positive once created).
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Top-left of the box and the pointer arrow's offset from its left edge.
    void SetPosition(int x, int y, int arrowOffset);
    void Draw();
    void DumpState(JsonWriter& w) const;  // an object

    int x() const { return m_x; }
    int y() const { return m_y; }
    int arrowOffset() const { return m_arrowOffset; }

    // ---- conversation state
    int dialogOpen = 0;
    int npc = 0;
    std::string npcName;
    std::string prompt;
    std::vector<DialogChoice> choices;
    std::string pendingFunction;  // the action of the last picked choice

private:
    int m_style = 1;
    int m_mode = 0;
    int m_width = 180;
    int m_height = 50;
    int m_x = 0, m_y = 0, m_arrowOffset = 0;
};
