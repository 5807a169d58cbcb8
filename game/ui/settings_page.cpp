#include "ui/settings_page.h"

#include <algorithm>

#include "core/json_writer.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "platform/key_names.h"
#include "shared/gbk.h"

namespace {

constexpr int kBindable = static_cast<int>(Action::MouseLeft);
constexpr int kRowsPerColumn = 14;
constexpr float kColumnX[2] = {SettingsPage::kX + 20, SettingsPage::kX + 350};
constexpr float kRowsTop = SettingsPage::kY + 44, kRowStep = 22, kBoxH = 18;
constexpr float kKeyBoxX[2] = {110, 212}, kKeyBoxW = 96;
constexpr float kMessageY = kRowsTop + kRowsPerColumn * kRowStep + 8;
constexpr float kOptionsTop = kMessageY + 28, kOptionStep = 28;
constexpr float kOptionX = 100;  // boxes start this far right of their label

// The game's window colours: a deep blue panel with a light edge, yellow
// headings, white text, red for what is picked.
constexpr std::uint32_t kPanel = 0xF0182436, kEdge = 0xFFB8C4D8, kBoxFill = 0xFF24344C, kBoxLit = 0xFF8A2A1E;
constexpr std::uint32_t kHeading = 0xFFFFFF00, kText = 0xFFFFFFFF, kHover = 0xFFFF6060, kNote = 0xFFFFFFCC;

SettingsPage::Hit Make(SettingsPage::Hit::Kind kind, float x, float y, float w, int action = 0, int slot = 0) {
    SettingsPage::Hit h;
    h.kind = kind;
    h.action = action;
    h.slot = slot;
    h.x = x;
    h.y = y;
    h.w = w;
    h.h = kBoxH;
    return h;
}

std::string Quoted(Action a) { return gbk::Lit("「") + gbk::FromUtf8(KeyBindings::Caption(a)) + gbk::Lit("」"); }

}  // namespace

std::vector<SettingsPage::Hit> SettingsPage::Layout() {
    std::vector<Hit> hits;
    for (int a = 0; a < kBindable; ++a) {
        const float x = kColumnX[a / kRowsPerColumn], y = kRowsTop + static_cast<float>(a % kRowsPerColumn) * kRowStep;
        for (int slot = 0; slot < kKeysPerAction; ++slot)
            hits.push_back(Make(Hit::kBinding, x + kKeyBoxX[slot], y, kKeyBoxW, a, slot));
    }
    const float l = kColumnX[0] + kOptionX, r = kColumnX[1] + kOptionX;
    float y = kOptionsTop;
    hits.push_back(Make(Hit::kMusicDown, l, y, 22));
    hits.push_back(Make(Hit::kMusicUp, l + 72, y, 22));
    hits.push_back(Make(Hit::kEffectDown, r, y, 22));
    hits.push_back(Make(Hit::kEffectUp, r + 72, y, 22));
    y += kOptionStep;
    hits.push_back(Make(Hit::kMute, l, y, 60));
    hits.push_back(Make(Hit::kVsync, r, y, 60));
    y += kOptionStep;
    hits.push_back(Make(Hit::kWindowed, l, y, 60));
    hits.push_back(Make(Hit::kFullscreen, l + 66, y, 60));
    const WindowScale scales[] = {WindowScale::k1, WindowScale::k1_5, WindowScale::k2, WindowScale::kLast};
    for (int i = 0; i < 4; ++i)
        hits.push_back(Make(Hit::kScale, r + static_cast<float>(i) * 50, y, 46, static_cast<int>(scales[i])));
    y += kOptionStep + 12;
    hits.push_back(Make(Hit::kDefaults, kColumnX[0], y, 96));
    hits.push_back(Make(Hit::kClose, kX + kWidth - 100, y, 80));
    hits.push_back(Make(Hit::kClose, kX + kWidth - 28, kY + 8, 20));  // the corner's ×
    return hits;
}

void SettingsPage::Open(const GameSettings& current) {
    m_settings = current;
    m_open = true;
    m_changed = false;
    m_waitAction = -1;
    m_highlight = -1;
    m_message = gbk::Lit("单击一个按键设置后按下新键；右键单击清除。");
}

void SettingsPage::Close() {
    m_open = false;
    m_waitAction = -1;
}

std::optional<GameSettings> SettingsPage::TakeChange() {
    if (!m_changed) return std::nullopt;
    m_changed = false;
    return m_settings;
}

void SettingsPage::Keys(Controls& c) {
    if (!m_open) return;
    const int vk = c.keyboardKeyPressed;
    if (m_waitAction >= 0 && vk != 0) {
        if (vk == 27) {
            m_waitAction = -1;
            m_message = gbk::Lit("已取消。");
        } else {
            KeyForBinding(vk);
        }
    } else if (vk == 27 || c.Pressed(Action::Cancel)) {
        Close();
    } else {
        const std::vector<Hit> hits = Layout();
        const int n = static_cast<int>(hits.size());
        if (c.Pressed(Action::Down) || c.Pressed(Action::WalkRight)) m_highlight = (m_highlight + 1) % n;
        if (c.Pressed(Action::Up) || c.Pressed(Action::WalkLeft)) m_highlight = m_highlight <= 0 ? n - 1 : m_highlight - 1;
        if (c.Pressed(Action::Confirm) && m_highlight >= 0 && m_highlight < n)
            Click(hits[static_cast<std::size_t>(m_highlight)], false);
    }
    // Modal: no key reaches the game, and a key held now acts only from its
    // next press (Esc's release ends no game).
    for (int a = 0; a < kBindable; ++a) {
        const Action action = static_cast<Action>(a);
        if (c.Held(action) || c.Pressed(action) || c.Released(action)) c.Consume(action);
        c[action] = ActionState{};
    }
    c.keyPressed = 0;
}

void SettingsPage::KeyForBinding(int vk) {
    const Action a = static_cast<Action>(m_waitAction);
    const BindResult r = m_settings.keys.Bind(a, m_waitSlot, vk);
    m_waitAction = -1;
    const std::string name = key_names::Name(vk);
    if (r.ok) {
        m_message = Quoted(a) + gbk::Lit(" 设为 ") + name;
        Changed();
    } else if (r.badKey) {
        m_message = name + gbk::Lit(" 不能设为按键。");
    } else {
        m_message = name + gbk::Lit(" 已用于") + Quoted(r.usedBy) + gbk::Lit("，未更改。");
    }
}

void SettingsPage::Update(const Controls& input) {
    if (!m_open) return;
    m_mouseX = input.mouseX;
    m_mouseY = input.mouseY;
    const bool left = input.Pressed(Action::MouseLeft), right = input.Pressed(Action::MouseRight);
    if (!left && !right) return;
    for (const Hit& hit : Layout()) {
        if (hit.Contains(input.mouseX, input.mouseY)) {
            Click(hit, right);
            return;
        }
    }
    m_waitAction = -1;  // a click elsewhere stops waiting
}

void SettingsPage::Click(const Hit& hit, bool right) {
    GameSettings& s = m_settings;
    const int before = m_waitAction;
    m_waitAction = -1;
    switch (hit.kind) {
        case Hit::kBinding: {
            const Action a = static_cast<Action>(hit.action);
            if (right) {
                s.keys.Clear(a, hit.slot);
                m_message = Quoted(a) + gbk::Lit(" 的按键已清除。");
                Changed();
            } else if (!(before == hit.action && m_waitSlot == hit.slot)) {
                m_waitAction = hit.action;
                m_waitSlot = hit.slot;
                m_message = gbk::Lit("请按下") + Quoted(a) + gbk::Lit("的新按键（Esc 取消）。");
            }
            return;
        }
        case Hit::kMusicDown: s.musicVolume = std::max(0, s.musicVolume - kVolumeStep); break;
        case Hit::kMusicUp: s.musicVolume = std::min(100, s.musicVolume + kVolumeStep); break;
        case Hit::kEffectDown: s.effectVolume = std::max(0, s.effectVolume - kVolumeStep); break;
        case Hit::kEffectUp: s.effectVolume = std::min(100, s.effectVolume + kVolumeStep); break;
        case Hit::kMute: s.muteOnFocusLoss = !s.muteOnFocusLoss; break;
        case Hit::kVsync: s.vsync = !s.vsync; break;
        case Hit::kWindowed: s.fullscreen = false; break;
        case Hit::kFullscreen: s.fullscreen = true; break;
        case Hit::kScale: s.windowScale = static_cast<WindowScale>(hit.action); break;
        case Hit::kDefaults:
            s.keys.RestoreDefaults();
            m_message = gbk::Lit("按键已恢复默认。");
            break;
        case Hit::kClose: Close(); return;
    }
    Changed();
}

std::string SettingsPage::HitCaption(const Hit& hit) const {
    const GameSettings& s = m_settings;
    switch (hit.kind) {
        case Hit::kBinding: {
            if (hit.action == m_waitAction && hit.slot == m_waitSlot) return gbk::Lit("按下新键...");
            const int vk = s.keys.KeysOf(static_cast<Action>(hit.action))[static_cast<std::size_t>(hit.slot)];
            return vk != 0 ? key_names::Name(vk) : gbk::Lit("—");
        }
        case Hit::kMusicDown:
        case Hit::kEffectDown: return "-";
        case Hit::kMusicUp:
        case Hit::kEffectUp: return "+";
        case Hit::kMute: return gbk::Lit(s.muteOnFocusLoss ? "开" : "关");
        case Hit::kVsync: return gbk::Lit(s.vsync ? "开" : "关");
        case Hit::kWindowed: return gbk::Lit("窗口");
        case Hit::kFullscreen: return gbk::Lit("全屏");
        case Hit::kScale: {
            const char* names[] = {"1倍", "1.5倍", "2倍", "上次"};
            return gbk::Lit(names[std::clamp(hit.action, 0, 3)]);
        }
        case Hit::kDefaults: return gbk::Lit("恢复默认");
        case Hit::kClose: return hit.w < 30 ? gbk::Lit("×") : gbk::Lit("关闭");
    }
    return {};
}

bool SettingsPage::HitLit(const Hit& hit) const {
    const GameSettings& s = m_settings;
    switch (hit.kind) {
        case Hit::kBinding: return hit.action == m_waitAction && hit.slot == m_waitSlot;
        case Hit::kMute: return s.muteOnFocusLoss;
        case Hit::kVsync: return s.vsync;
        case Hit::kWindowed: return !s.fullscreen;
        case Hit::kFullscreen: return s.fullscreen;
        case Hit::kScale: return static_cast<int>(s.windowScale) == hit.action;
        default: return false;
    }
}

void SettingsPage::Box(float x, float y, float w, float h, std::uint32_t fill, std::uint32_t edge) const {
    if (m_white.handle() == 0 && m_engine.handle() != 0) {
        const std::uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
        m_white = Sprite(Texture_Create_e(m_engine.handle(), 2, 2, white), 0, 0, 2, 2);
    }
    m_white.SetColour(fill);
    m_white.RenderStretch(x, y, x + w, y + h);
    m_white.SetColour(edge);
    m_white.RenderStretch(x, y, x + w, y + 1);
    m_white.RenderStretch(x, y + h - 1, x + w, y + h);
    m_white.RenderStretch(x, y, x + 1, y + h);
    m_white.RenderStretch(x + w - 1, y, x + w, y + h);
}

void SettingsPage::Draw() {
    if (!m_open) return;
    Box(kX, kY, kWidth, kHeight, kPanel, kEdge);
    m_font.SetColour(kHeading);
    const std::string title = gbk::Lit("设置");
    m_font.Print(kX + (kWidth - m_font.TextWidth(title)) / 2, kY + 12, title);
    m_font.Print(kColumnX[0], kRowsTop - 18, gbk::Lit("按键"));
    m_font.Print(kColumnX[1] + kKeyBoxX[0], kRowsTop - 18, gbk::Lit("按键一 / 按键二"));
    m_font.SetColour(kText);
    for (int a = 0; a < kBindable; ++a) {
        const float x = kColumnX[a / kRowsPerColumn], y = kRowsTop + static_cast<float>(a % kRowsPerColumn) * kRowStep;
        m_font.Print(x, y + 3, gbk::FromUtf8(KeyBindings::Caption(static_cast<Action>(a))));
    }
    m_font.SetColour(kNote);
    m_font.Print(kColumnX[0], kMessageY, m_message);
    const float labelY = 3;
    const char* labels[][2] = {{"音乐音量", "音效音量"}, {"后台静音", "垂直同步"}, {"显示", "窗口大小"}};
    m_font.SetColour(kHeading);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 2; ++col)
            m_font.Print(kColumnX[col], kOptionsTop + static_cast<float>(row) * kOptionStep + labelY,
                         gbk::Lit(labels[row][col]));
    m_font.SetColour(kText);
    m_font.Print(kColumnX[0] + kOptionX + 34, kOptionsTop + labelY, std::to_string(m_settings.musicVolume));
    m_font.Print(kColumnX[1] + kOptionX + 34, kOptionsTop + labelY, std::to_string(m_settings.effectVolume));
    const std::vector<Hit> hits = Layout();
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const Hit& hit = hits[i];
        const bool hover = hit.Contains(m_mouseX, m_mouseY) || static_cast<int>(i) == m_highlight;
        Box(hit.x, hit.y, hit.w, hit.h, HitLit(hit) ? kBoxLit : kBoxFill, hover ? kHover : kEdge);
        const std::string caption = HitCaption(hit);
        m_font.SetColour(hover ? kHover : kText);
        m_font.Print(hit.x + (hit.w - m_font.TextWidth(caption)) / 2, hit.y + 3, caption);
    }
    m_font.SetColour(kText);
}

void SettingsPage::DumpState(JsonWriter& w) const {
    w.Key("settingsPage");
    w.BeginObject();
    w.Field("open", m_open);
    w.Field("waiting", m_waitAction >= 0 ? KeyBindings::Id(static_cast<Action>(m_waitAction)) : "");
    w.Field("waitingSlot", m_waitSlot);
    w.Field("highlighted", m_highlight);
    w.Field("message", m_message);
    w.EndObject();
}
