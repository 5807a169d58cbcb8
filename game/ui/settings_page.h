#pragma once
// The settings page ("设置"): every key binding (click one, then press the
// new key; a key used elsewhere is refused with a line saying where; a right
// click empties it), "恢复默认", the music and effect volumes, muting while
// the window is in the background, the window (window or full screen, its
// scale, vsync) and a close button. It is modal: while it shows it takes
// every click and every key, and Esc closes it (or stops waiting for a key).
// Without a mouse: Up/Down (arrows, d-pad, stick) move a highlight over its
// boxes, Confirm (Enter, pad A) clicks the highlighted one, Cancel (pad B)
// closes the page.
//
// The page edits a copy of the settings; the game takes each change with
// TakeChange() after the input pass and applies it (and tells the page the
// settings it now runs with by SetCurrent).

#include <optional>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "platform/sprite.h"
#include "ui/ui_layer.h"

class Engine;
class GdiFont;
class JsonWriter;

class SettingsPage final : public UiLayer {
public:
    static constexpr float kX = 60, kY = 36, kWidth = 680, kHeight = 528;
    static constexpr int kVolumeStep = 10;

    SettingsPage(Engine& engine, GdiFont& font) : m_engine(engine), m_font(font) {}

    void Open(const GameSettings& current);
    void Close();
    bool open() const { return m_open; }
    // The settings in force (after the game applied a change, or F11).
    void SetCurrent(const GameSettings& current) { m_settings = current; }
    // The settings as the player changed them this frame, once.
    std::optional<GameSettings> TakeChange();

    // ---- UiLayer
    std::string_view Name() const override { return "settings"; }
    bool Shown() const override { return m_open; }
    bool Takes(const PointerEvent&) const override { return true; }
    bool HasFocus() const override { return m_open; }
    void Keys(Controls& controls) override;
    void Update(const Controls& input) override;
    void Draw() override;

    // What a click on the page can hit.
    struct Hit {
        enum Kind {
            kBinding, kMusicDown, kMusicUp, kEffectDown, kEffectUp, kMute, kVsync, kWindowed, kFullscreen,
            kScale, kDefaults, kClose
        };
        Kind kind = kClose;
        int action = 0;  // kBinding: the action; kScale: the WindowScale
        int slot = 0;    // kBinding: 0 or 1
        float x = 0, y = 0, w = 0, h = 0;
        bool Contains(float px, float py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    };
    // Every clickable box, where it is drawn.
    static std::vector<Hit> Layout();

    // The binding waiting for a key: action index, or -1.
    int waitingAction() const { return m_waitAction; }
    int highlighted() const { return m_highlight; }  // index into Layout(), -1 = none
    const std::string& message() const { return m_message; }  // GBK
    const GameSettings& settings() const { return m_settings; }
    void DumpState(JsonWriter& w) const;  // "settingsPage"

private:
    void Click(const Hit& hit, bool right);
    void KeyForBinding(int vk);
    void Changed() { m_changed = true; }
    void Box(float x, float y, float w, float h, std::uint32_t fill, std::uint32_t edge) const;
    std::string HitCaption(const Hit& hit) const;  // GBK
    bool HitLit(const Hit& hit) const;

    Engine& m_engine;
    GdiFont& m_font;
    mutable Sprite m_white;
    bool m_open = false;
    bool m_changed = false;
    GameSettings m_settings;
    int m_waitAction = -1;
    int m_waitSlot = 0;
    int m_highlight = -1;
    std::string m_message;  // GBK
    float m_mouseX = -1, m_mouseY = -1;
};
