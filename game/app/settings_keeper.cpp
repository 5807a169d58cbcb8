#include "app/settings_keeper.h"

#include "app/game_options.h"
#include "core/json_writer.h"
#include "core/user_folders.h"
#include "platform/key_names.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/settings_file.h"
#include "shared/gbk.h"
#include "ui/chat_log.h"

namespace {
constexpr std::uint32_t kSystemRed = 0xFFFF0000;
}

void SettingsKeeper::Load(const GameOptions& options) {
    m_headless = options.headless;
    m_path.clear();
    m_settings = GameSettings{};
    if (options.headless && options.configDir.empty()) return;
    const std::string folder = user_folders::ConfigFolder(options.configDir);
    if (folder.empty()) return;
    m_path = settings_file::PathIn(folder);
    SettingsLoad loaded = settings_file::Load(m_path);
    m_settings = loaded.settings;
    m_problem = loaded.problem;
}

void SettingsKeeper::ApplyAtStart(Engine& engine, ControlsReader& reader) const {
    reader.SetBindings(m_settings.keys);
    engine.SetVolume(LUMO_SOUND_MUSIC, m_settings.musicVolume);
    engine.SetVolume(LUMO_SOUND_EFFECTS, m_settings.effectVolume);
    engine.SetVSync(m_settings.vsync);
    ApplyWindow(engine, m_settings, true);
}

void SettingsKeeper::ApplyWindow(Engine& engine, const GameSettings& s, bool sizeChanged) const {
    // A headless picture stays the game's own size: its screenshots are
    // what tests compare.
    if (m_headless) return;
    if (sizeChanged) {
        int w = 0, h = 0;
        s.WindowSize(engine.Width(), engine.Height(), &w, &h);
        const bool placed = s.window.w > 0;
        engine.SetWindowRect(placed ? s.window.x : LUMO_WINDOW_CENTERED, placed ? s.window.y : LUMO_WINDOW_CENTERED, w,
                             h);
    }
    if (engine.IsFullscreen() != s.fullscreen) engine.SetFullscreen(s.fullscreen);
}

void SettingsKeeper::ReportProblem(ChatLog& chat) {
    if (m_reported || m_problem.empty()) return;
    m_reported = true;
    chat.AddLine(gbk::Lit("[系统]"),
                 gbk::Lit("设置文件有误，有误的部分已使用默认值：") + gbk::FromUtf8(m_problem + " (" + m_path + ")"),
                 kSystemRed, true, 0, false);
}

std::string SettingsKeeper::Change(Engine& engine, ControlsReader& reader, const GameSettings& s) {
    if (s == m_settings) return {};
    const GameSettings old = m_settings;
    m_settings = s;
    if (!(s.keys == old.keys)) reader.SetBindings(s.keys);
    if (s.musicVolume != old.musicVolume) engine.SetVolume(LUMO_SOUND_MUSIC, s.musicVolume);
    if (s.effectVolume != old.effectVolume) engine.SetVolume(LUMO_SOUND_EFFECTS, s.effectVolume);
    if (s.vsync != old.vsync) engine.SetVSync(s.vsync);
    if (s.windowScale != old.windowScale || s.fullscreen != old.fullscreen) {
        GameSettings placed = s;
        if (!m_headless) engine.WindowRect(&placed.window.x, &placed.window.y, &placed.window.w, &placed.window.h);
        ApplyWindow(engine, placed, s.windowScale != old.windowScale);
    }
    return Write();
}

void SettingsKeeper::FocusChanged(Engine& engine, bool focused) {
    engine.SetMuted(!focused && m_settings.muteOnFocusLoss);
}

void SettingsKeeper::GameEnding(Engine& engine) {
    if (m_headless || m_path.empty()) return;
    GameSettings s = m_settings;
    WindowRect r;
    if (engine.WindowRect(&r.x, &r.y, &r.w, &r.h) && r.w > 0) s.window = r;
    s.fullscreen = engine.IsFullscreen();
    if (s == m_settings) return;
    m_settings = s;
    Write();
}

std::string SettingsKeeper::Write() {
    if (m_path.empty()) return {};
    ++m_writes;
    return settings_file::Save(m_path, m_settings);
}

void SettingsKeeper::DumpState(JsonWriter& w, int musicMixerVolume) const {
    w.Key("settings");
    w.BeginObject();
    w.Field("file", gbk::FromUtf8(m_path));
    w.Field("problem", gbk::FromUtf8(m_problem));
    w.Field("writes", m_writes);
    w.Field("musicVolume", m_settings.musicVolume);
    w.Field("effectVolume", m_settings.effectVolume);
    w.Field("muteOnFocusLoss", m_settings.muteOnFocusLoss);
    w.Field("fullscreen", m_settings.fullscreen);
    w.Field("windowScale", std::string(WindowScaleText(m_settings.windowScale)));
    w.Field("vsync", m_settings.vsync);
    w.Field("musicMixerVolume", musicMixerVolume);
    w.Key("keys");
    w.BeginObject();
    for (std::size_t i = 0; i < kActionCount; ++i) {
        const Action a = static_cast<Action>(i);
        if (!KeyBindings::Bindable(a)) continue;
        std::string names;
        for (int vk : m_settings.keys.KeysOf(a)) {
            if (vk == 0) continue;
            if (!names.empty()) names += " ";
            names += key_names::Name(vk);
        }
        w.Field(KeyBindings::Id(a), names);
    }
    w.EndObject();
    w.EndObject();
}
