#include "ui/dialog_box.h"

#include "core/json_writer.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "shared/paths.h"
#include "ui/text_wrap.h"

namespace {

Sprite WholePicture(Engine& engine, const paths::DataPaths& dataPaths, const char* utf8Path) {
    HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbk::Lit(utf8Path)));
    return Sprite(t, 0, 0, static_cast<float>(engine.TextureWidth(t)), static_cast<float>(engine.TextureHeight(t)));
}

}  // namespace

void DialogBox::Load(Engine& engine, const paths::DataPaths& dataPaths, const GdiFont& gameFont) {
    m_window = WholePicture(engine, dataPaths, "\\data\\其它\\npc交互框.png");
    m_closePicture = WholePicture(engine, dataPaths, "\\data\\其它\\关闭.png");
    // Without a font (no engine) the rows keep a usable default size.
    const float w = gameFont.TextWidth("A"), h = gameFont.TextHeight("A");
    if (w > 0) m_charWidth = w;
    if (h > 0) m_lineHeight = h;
}

void DialogBox::Open(int npcNumber, const std::string& gbkName, const std::string& script, HTEXTURE portrait,
                     int portraitWidth, int portraitHeight) {
    dialogOpen = 1;
    npc = npcNumber;
    npcName = gbkName;
    npcScript = script;
    choices.clear();
    m_portrait = Sprite(portrait, 0, 0, static_cast<float>(portraitWidth), static_cast<float>(portraitHeight));
    m_portraitWidth = static_cast<float>(portraitWidth);
    m_portraitHeight = static_cast<float>(portraitHeight);
    m_hovered = 0;
    m_justOpened = true;
    m_close.Release();
}

DialogBox::Box DialogBox::ChoiceBox(int row) const {
    if (row < 1 || static_cast<std::size_t>(row) > choices.size()) return {};
    const DialogChoice& c = choices[static_cast<std::size_t>(row - 1)];
    return {kChoiceX, kChoiceY + kRowStep * static_cast<float>(row),
            static_cast<float>(c.caption.size() + 4) * m_charWidth, m_lineHeight};
}

DialogCommand DialogBox::Update(const Controls& controls) {
    DialogCommand command;
    m_hovered = 0;
    if (dialogOpen == 0) return command;
    if (m_justOpened) {
        // The click that opened the dialog is not also a click inside it.
        m_justOpened = false;
        return command;
    }
    if (m_close.Update(controls)) {
        Close();
        command.kind = DialogCommand::kClosed;
        command.click = true;
        return command;
    }
    std::string picked;
    bool clicked = false;
    for (int row = 1; static_cast<std::size_t>(row) <= choices.size(); ++row) {
        if (!ChoiceBox(row).Contains(controls.mouseX, controls.mouseY)) continue;
        m_hovered = row;
        if (controls.Pressed(Action::MouseLeft)) {
            picked = choices[static_cast<std::size_t>(row - 1)].action;
            clicked = true;
        }
        break;
    }
    if (!clicked) return command;
    command.click = true;
    pendingFunction = picked;
    if (picked == "exit") {
        Close();
        command.kind = DialogCommand::kClosed;
    } else if (!picked.empty()) {
        command.kind = DialogCommand::kRunFunction;
        command.function = picked;
    }
    return command;
}

void DialogBox::Draw(GdiFont& f) const {
    if (dialogOpen == 0) return;
    m_window.Render(kX, kY);
    if (m_portraitWidth > 0) {
        // The speaker stands at the window's right edge, feet on its bottom line.
        m_portrait.Render(kX + m_window.Width() + 4, kY + m_window.Height() - m_portraitHeight);
    }
    m_closePicture.Render(kCloseX, kCloseY);
    f.SetColour(kTextColour);
    f.Print(kNameX, kNameY, npcName);
    float y = kPromptY;
    for (const std::string& line : WrapText(prompt, kPromptBytes)) {
        f.Print(kPromptX, y, line);
        y += m_lineHeight + 4;
    }
    for (int row = 1; static_cast<std::size_t>(row) <= choices.size(); ++row) {
        const Box box = ChoiceBox(row);
        f.SetColour(row == m_hovered ? kHoverColour : kChoiceColour);
        f.Print(box.x, box.y, std::to_string(row) + ". " + choices[static_cast<std::size_t>(row - 1)].caption);
    }
    f.SetColour(kTextColour);
}

void DialogBox::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("open", dialogOpen);
    w.Field("npc", npc);
    w.Field("npcName", npcName);
    w.Field("prompt", prompt);
    w.Key("choices");
    w.BeginArray();
    for (const DialogChoice& c : choices) {
        w.BeginObject();
        w.Field("caption", c.caption);
        w.Field("action", c.action);
        w.EndObject();
    }
    w.EndArray();
    w.Field("pendingFunction", pendingFunction);
    w.Field("hoveredRow", m_hovered);
    w.EndObject();
}
