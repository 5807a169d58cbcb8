#pragma once
// The NPC dialog box: the conversation state that scripts set through
// "提示", "选择项" and "exit", and the dialog window that shows it at
// (20, 60) with the NPC's name, the prompt and the numbered choices.
//
// The dialog keeps the NPC's number and script text by value, never a
// pointer to the NPC: a map change may delete the NPC while the dialog is
// open (and a map change closes it). Update turns a click into a command
// that the game applies after the interface step; the dialog never runs a
// script itself.

#include <string>
#include <vector>

#include "platform/sprite.h"
#include "ui/button.h"

class Engine;
class GdiFont;
class JsonWriter;
struct Controls;
namespace paths {
class DataPaths;
}

struct DialogChoice {
    std::string caption;  // GBK
    std::string action;   // "exit", the name of a script function, or empty
};

// What a dialog update asks of the game.
struct DialogCommand {
    enum Kind { kNone, kClosed, kRunFunction };
    Kind kind = kNone;
    std::string function;  // kRunFunction: the global function to call
    bool click = false;    // a choice or the close button was clicked (the click sound)
};

class DialogBox {
public:
    static constexpr float kX = 20, kY = 60;                  // the window
    static constexpr float kNameX = 60, kNameY = 80;          // the NPC's name
    static constexpr float kPromptX = 45, kPromptY = 112;     // the prompt's first line
    static constexpr float kChoiceX = 60, kChoiceY = 150;     // choice origin: row i at y + 20 * i
    static constexpr float kRowStep = 20;
    static constexpr float kCloseX = 372, kCloseY = 76;       // the 20 x 20 close button
    static constexpr std::uint32_t kChoiceColour = 0xFFFFFF00;
    static constexpr std::uint32_t kHoverColour = 0xFFFF0000;
    static constexpr std::uint32_t kTextColour = 0xFFFFFFFF;
    static constexpr std::size_t kPromptBytes = 52;           // about 340 px of the game font
    static constexpr float kPromptGap = 8;                    // between the prompt and the first choice
    static constexpr float kBottomMargin = 16;                // under the last choice
    static constexpr float kMaxBottom = 590;                  // the box never grows past this screen row
    static constexpr float kPictureWidth = 395, kPictureHeight = 220;  // when the picture is missing

    DialogBox() { m_close.SetBox(kCloseX, kCloseY, 20, 20); }

    // Loading: the window picture "npc交互框.png", the close button
    // "关闭.png" and the game font's metrics (a character's width and the
    // height of "A") that size the choice rows.
    void Load(Engine& engine, const paths::DataPaths& dataPaths, const GdiFont& gameFont);

    // An NPC was clicked: the dialog opens on it with an empty choice list
    // (the prompt stays until the next "提示"). Clicks in this frame are
    // ignored.
    void Open(int npcNumber, const std::string& gbkName, const std::string& script, HTEXTURE portrait,
              int portraitWidth, int portraitHeight);
    // DialogOpen := 0.
    void Close() { dialogOpen = 0; }
    // "选择项": replaces the choice list (and forgets the keys' highlight).
    void SetChoices(std::vector<DialogChoice> list) {
        choices = std::move(list);
        m_selected = 0;
    }

    // Once a frame while open: the hovered row, and a click on a row or the
    // close button. The row loop stops at the first hit and copies its
    // action, so a function that sets new choices cannot pull the list from
    // under it. "exit" closes the dialog, an empty action does nothing.
    DialogCommand Update(const Controls& controls);
    // The keys while open: up and down move a highlight over the choices
    // (round from the last to the first), confirm picks the highlighted
    // row (the first when none is), or closes a dialog without choices;
    // cancel closes it. Picking acts as clicking the row.
    DialogCommand Keys(bool up, bool down, bool confirm, bool cancel);
    int selectedRow() const { return m_selected; }

    // The window with its texts; nothing while closed.
    void Draw(GdiFont& gameFont) const;

    // The box grows to hold its prompt and choices: the prompt's lines
    // from kPromptY, the first choice row below the prompt (never above
    // kChoiceY + kRowStep), the box's bottom under the last row; within the
    // screen. When that is too tall the prompt shows fewer lines, its last
    // one ending in "...".
    std::vector<std::string> PromptLines() const;
    float PromptStep() const { return m_lineHeight + 4; }
    float ChoiceTop() const;  // row 1's y
    float Width() const;
    float Height() const;
    // Whether (x, y) lies on the open dialog: the box or the portrait.
    bool Holds(float x, float y) const;

    // Row i (1-based) of the current choices: its clickable box.
    struct Box {
        float x = 0, y = 0, width = 0, height = 0;
        bool Contains(float px, float py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    };
    Box ChoiceBox(int row) const;
    int hoveredRow() const { return m_hovered; }

    void DumpState(JsonWriter& w) const;  // an object

    // ---- conversation state
    int dialogOpen = 0;        // DialogOpen
    int npc = 0;               // the NPC being talked to
    std::string npcName;
    std::string npcScript;     // its script text, run again before a picked function
    std::string prompt;        // DialogPrompt
    std::vector<DialogChoice> choices;  // DialogChoices, row 1 first
    std::string pendingFunction;        // picked: the action of the last picked choice

private:
    Sprite m_window;  // the whole picture
    Sprite m_windowTop, m_windowMiddle, m_windowBottom;  // drawn so when the box grows
    Sprite m_closePicture;
    Button m_close;
    Sprite m_portrait;
    float m_portraitWidth = 0, m_portraitHeight = 0;
    float m_charWidth = 7, m_lineHeight = 13;
    DialogCommand Pick(int row);
    int m_hovered = 0;
    int m_selected = 0;  // highlighted by the keys, 0 = none
    bool m_justOpened = false;
};
