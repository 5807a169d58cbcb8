#pragma once
// The chat box's one-line input (an engine edit box): Enter gives it the
// focus; Enter while it has the focus sends the typed text (a text of one
// byte or less is dropped) and lets the focus go. While it has the focus no
// game key acts (the game clears them from the frame's controls).

#include <string>

#include "lumo/lumo.h"

class Engine;
class GdiFont;

class ChatInput {
public:
    static constexpr float kX = 22, kY = 452, kWidth = 379, kHeight = 16;
    static constexpr int kMaxBytes = 80;

    ChatInput() = default;
    ~ChatInput();
    ChatInput(const ChatInput&) = delete;
    ChatInput& operator=(const ChatInput&) = delete;

    void Create(Engine& engine, const GdiFont& font);
    // Once a frame with the frame's Enter press and elapsed time. Returns
    // the text to send (GBK), empty when nothing is sent.
    std::string Update(bool enterPressed, float dt);
    // Drawn only while it has the focus.
    void Draw() const;
    bool focused() const;
    const std::string& text() const { return m_text; }
    // For tests without an engine GUI: focus and text by hand.
    void SetFocus(bool on);
    void SetText(const std::string& gbkText);

private:
    HGUI m_gui = 0;
    HCTRL m_edit = 0;
    bool m_focusedNoEngine = false;
    std::string m_text;  // the edit's text as of the last update
};
