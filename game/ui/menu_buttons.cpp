#include "ui/menu_buttons.h"

#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/paths.h"

namespace {
constexpr std::uint32_t kCaptionColour = 0xFFFFF3D6;
constexpr std::uint32_t kHighlightColour = 0xFFFFD04A;
constexpr std::uint32_t kDisabledColour = 0xFF8E8A9A;
}  // namespace

void MenuButtons::Load(Engine& engine, const paths::DataPaths& dataPaths, const std::string& gbkFolder) {
    const char* files[3] = {"\\1.png", "\\2.png", "\\3.png"};
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbkFolder + files[i]));
        m_faces[i] = Sprite(t, 0, 0, static_cast<float>(engine.TextureWidth(t)),
                            static_cast<float>(engine.TextureHeight(t)));
    }
    m_faded = m_faces[0];
    m_faded.SetColour(0x70FFFFFF);
    SetFaceSize(m_faces[0].Width(), m_faces[0].Height());
}

void MenuButtons::SetFaceSize(float width, float height) {
    m_width = width;
    m_height = height;
}

void MenuButtons::Set(std::vector<MenuEntry> entries, float x, float y, float step, bool across) {
    m_entries = std::move(entries);
    m_buttons.assign(m_entries.size(), Button{});
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const float offset = step * static_cast<float>(i);
        m_buttons[i].SetBox(across ? x + offset : x, across ? y : y + offset, m_width, m_height);
    }
    m_highlight = -1;
    Move(+1);
}

int MenuButtons::Update(const Controls& input) {
    int picked = -1;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (!m_entries[i].enabled) continue;
        const int index = static_cast<int>(i);
        if (m_buttons[i].Update(input)) picked = index;
        if (m_buttons[i].state() != Button::kNormal) m_highlight = index;
    }
    return picked;
}

int MenuButtons::Keys(Controls& controls) {
    int picked = -1;
    const bool across = m_buttons.size() > 1 && m_buttons[1].y() == m_buttons[0].y();
    const Action back = across ? Action::WalkLeft : Action::Up;
    const Action forward = across ? Action::WalkRight : Action::Down;
    if (controls.Pressed(back)) Move(-1);
    if (controls.Pressed(forward)) Move(+1);
    if (controls.Pressed(Action::Confirm) && m_highlight >= 0) picked = m_highlight;
    // The keys the menu used drive nothing else (Enter opens no chat, pad A
    // jumps no one), now or while they stay down.
    for (Action a : {back, forward, Action::Confirm})
        if (controls.Pressed(a)) controls.Consume(a);
    return picked;
}

void MenuButtons::Move(int direction) {
    const int n = static_cast<int>(m_entries.size());
    for (int step = 1; step <= n; ++step) {
        int i = m_highlight < 0 ? (direction > 0 ? step - 1 : n - step) : m_highlight + direction * step;
        i = ((i % n) + n) % n;
        if (m_entries[static_cast<std::size_t>(i)].enabled) {
            m_highlight = i;
            return;
        }
    }
}

void MenuButtons::Draw(GdiFont& font) const {
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const Button& b = m_buttons[i];
        const bool enabled = m_entries[i].enabled;
        const bool lit = enabled && static_cast<int>(i) == m_highlight;
        if (!enabled) {
            m_faded.Render(b.x(), b.y());
        } else if (b.state() == Button::kPressed) {
            m_faces[2].Render(b.x(), b.y());
        } else {
            m_faces[lit ? 1 : 0].Render(b.x(), b.y());
        }
        const std::string& text = m_entries[i].caption;
        font.SetColour(!enabled ? kDisabledColour : lit ? kHighlightColour : kCaptionColour);
        font.Print(b.x() + (m_width - font.TextWidth(text)) / 2, b.y() + (m_height - font.TextHeight(text)) / 2, text);
    }
    font.SetColour(0xFFFFFFFF);
}

bool MenuButtons::Holds(float x, float y) const {
    for (const Button& b : m_buttons)
        if (b.Contains(x, y)) return true;
    return false;
}

float MenuButtons::CentreX(int i) const { return m_buttons.at(static_cast<std::size_t>(i)).x() + m_width / 2; }
float MenuButtons::CentreY(int i) const { return m_buttons.at(static_cast<std::size_t>(i)).y() + m_height / 2; }
