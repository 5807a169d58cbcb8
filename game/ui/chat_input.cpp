#include "ui/chat_input.h"

#include "platform/engine.h"
#include "platform/fonts.h"

ChatInput::~ChatInput() {
    if (m_gui != 0) Gui_Del(m_gui);
}

void ChatInput::Create(Engine& engine, const GdiFont& font) {
    if (engine.handle() == 0 || m_gui != 0) return;
    m_gui = Gui_Interface_Get(engine.handle());
    m_edit = Edit_Interface_Get(1, kX, kY, kWidth, kHeight, font.handle(), kMaxBytes);
    Edit_SetColor_e(m_edit, 0xFFFFFFFF, 0xC0101830);
    Gui_AddCtrl_e(m_gui, m_edit);
}

bool ChatInput::focused() const {
    if (m_edit == 0) return m_focusedNoEngine;
    return GetFocus_e() == m_edit;
}

void ChatInput::SetFocus(bool on) {
    if (m_edit == 0) {
        m_focusedNoEngine = on;
        return;
    }
    if (on) {
        SetFocus_e(m_edit);
    } else {
        KillFocus_e(m_edit);
    }
}

void ChatInput::SetText(const std::string& gbkText) {
    m_text = gbkText;
    if (m_edit != 0) Edit_SetText_e(m_edit, gbkText.c_str());
}

std::string ChatInput::Update(bool enterPressed, float dt) {
    const bool wasFocused = focused();
    if (m_gui != 0) Gui_Update_e(m_gui, dt);
    if (m_edit != 0) m_text = Edit_GetText_e(m_edit);
    // Only Enter gives the focus (a click on the hidden box does not).
    if (!wasFocused && !enterPressed && focused()) SetFocus(false);
    if (!enterPressed) return {};
    if (!wasFocused) {
        SetFocus(true);
        return {};
    }
    std::string sent = m_text.size() > 1 ? m_text : std::string();
    SetText({});
    SetFocus(false);
    return sent;
}

void ChatInput::Draw() const {
    if (m_gui != 0 && focused()) Gui_Render_e(m_gui);
}
