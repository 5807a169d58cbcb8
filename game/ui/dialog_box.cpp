#include "ui/dialog_box.h"

#include <algorithm>
#include <cmath>

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
    // The grown box: the picture's top and bottom as they are, a band of
    // its middle stretched between them.
    const HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbk::Lit("\\data\\其它\\npc交互框.png")));
    const float w = m_window.Width(), h = m_window.Height();
    m_windowTop = Sprite(t, 0, 0, w, h / 2 - 10);
    m_windowMiddle = Sprite(t, 0, h / 2 - 10, w, 20);
    m_windowBottom = Sprite(t, 0, h / 2 + 10, w, h / 2 - 10);
    m_closePicture = WholePicture(engine, dataPaths, "\\data\\其它\\关闭.png");
    // Without a font (no engine) the rows keep a usable default size.
    const float cw = gameFont.TextWidth("A"), ch = gameFont.TextHeight("A");
    if (cw > 0) m_charWidth = cw;
    if (ch > 0) m_lineHeight = ch;
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
    m_selected = 0;
    m_justOpened = true;
    m_close.Release();
}

float DialogBox::Width() const { return m_window.Width() > 0 ? m_window.Width() : kPictureWidth; }

std::vector<std::string> DialogBox::PromptLines() const {
    std::vector<std::string> lines = WrapText(prompt, kPromptBytes);
    // The room the prompt may take: the tallest box less the choices.
    const float rows = static_cast<float>(choices.size());
    const float room = kMaxBottom - kBottomMargin - rows * kRowStep - kPromptGap - kPromptY;
    const auto fit = static_cast<std::size_t>(std::max(1.0f, std::floor(room / PromptStep())));
    if (lines.size() > fit) {
        lines.resize(fit);
        // The last line shown ends in "...", cut on a character boundary.
        std::string& last = lines.back();
        last = WrapText(last, kPromptBytes - 3).front() + "...";
    }
    return lines;
}

float DialogBox::ChoiceTop() const {
    const float promptBottom = kPromptY + static_cast<float>(PromptLines().size()) * PromptStep();
    return std::max(kChoiceY + kRowStep, promptBottom + kPromptGap);
}

float DialogBox::Height() const {
    const float picture = m_window.Height() > 0 ? m_window.Height() : kPictureHeight;
    const float lastRowBottom = ChoiceTop() + kRowStep * static_cast<float>(choices.size());
    const float needed = lastRowBottom + kBottomMargin - kY;
    return std::min(std::max(picture, needed), kMaxBottom - kY);
}

bool DialogBox::Holds(float x, float y) const {
    if (dialogOpen == 0) return false;
    if (x >= kX && x < kX + Width() && y >= kY && y < kY + Height()) return true;
    const float px = kX + Width() + 4, py = kY + Height() - m_portraitHeight;
    return m_portraitWidth > 0 && x >= px && x < px + m_portraitWidth && y >= py && y < py + m_portraitHeight;
}

DialogBox::Box DialogBox::ChoiceBox(int row) const {
    if (row < 1 || static_cast<std::size_t>(row) > choices.size()) return {};
    const DialogChoice& c = choices[static_cast<std::size_t>(row - 1)];
    return {kChoiceX, ChoiceTop() + kRowStep * static_cast<float>(row - 1),
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
    for (int row = 1; static_cast<std::size_t>(row) <= choices.size(); ++row) {
        if (!ChoiceBox(row).Contains(controls.mouseX, controls.mouseY)) continue;
        m_hovered = row;
        if (controls.Pressed(Action::MouseLeft)) return Pick(row);
        break;
    }
    return command;
}

DialogCommand DialogBox::Pick(int row) {
    DialogCommand command;
    // The action is copied: a function that sets new choices cannot pull
    // the list from under it.
    const std::string picked = choices[static_cast<std::size_t>(row - 1)].action;
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

DialogCommand DialogBox::Keys(bool up, bool down, bool confirm, bool cancel) {
    DialogCommand command;
    if (dialogOpen == 0) return command;
    const int n = static_cast<int>(choices.size());
    if (n > 0 && down) m_selected = m_selected >= n ? 1 : m_selected + 1;
    if (n > 0 && up) m_selected = m_selected <= 1 ? n : m_selected - 1;
    if (cancel || (confirm && n == 0)) {
        Close();
        command.kind = DialogCommand::kClosed;
        command.click = true;
        return command;
    }
    if (confirm) return Pick(m_selected >= 1 && m_selected <= n ? m_selected : 1);
    return command;
}

void DialogBox::Draw(GdiFont& f) const {
    if (dialogOpen == 0) return;
    const float h = Height();
    if (h <= m_window.Height()) {
        m_window.Render(kX, kY);
    } else {
        const float top = m_windowTop.Height(), bottom = m_windowBottom.Height();
        m_windowTop.Render(kX, kY);
        m_windowMiddle.RenderStretch(kX, kY + top, kX + Width(), kY + h - bottom);
        m_windowBottom.Render(kX, kY + h - bottom);
    }
    if (m_portraitWidth > 0) {
        // The speaker stands at the window's right edge, feet on its bottom line.
        m_portrait.Render(kX + Width() + 4, kY + h - m_portraitHeight);
    }
    m_closePicture.Render(kCloseX, kCloseY);
    f.SetColour(kTextColour);
    f.Print(kNameX, kNameY, npcName);
    float y = kPromptY;
    for (const std::string& line : PromptLines()) {
        f.Print(kPromptX, y, line);
        y += PromptStep();
    }
    for (int row = 1; static_cast<std::size_t>(row) <= choices.size(); ++row) {
        const Box box = ChoiceBox(row);
        const bool lit = m_hovered != 0 ? row == m_hovered : row == m_selected;
        f.SetColour(lit ? kHoverColour : kChoiceColour);
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
    w.Field("selectedRow", m_selected);
    w.Field("height", Height());
    w.Field("choiceTop", ChoiceTop());
    w.Field("promptLines", static_cast<int>(PromptLines().size()));
    w.EndObject();
}
