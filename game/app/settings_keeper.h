#pragma once
// The settings of a run: read from settings.json at start, applied to the
// engine and the controls, changed by the settings page and F11, written
// back (atomically) whenever they change, and the window's place and size
// kept at the end.
//
// A headless run without --config neither reads nor writes the user's
// settings: it plays with the defaults, so tests never depend on them.

#include <string>

#include "platform/settings.h"

class ChatLog;
class JsonWriter;
class ControlsReader;
class Engine;
struct GameOptions;

class SettingsKeeper {
public:
    // Decides the file from the options and reads it (no engine needed).
    void Load(const GameOptions& options);
    // After the engine started: the window (place and size or scale, full
    // screen), vsync, the volumes; and the bindings to the reader.
    void ApplyAtStart(Engine& engine, ControlsReader& reader) const;
    // A damaged or hand-edited file is told once in the chat log.
    void ReportProblem(ChatLog& chat);

    const GameSettings& settings() const { return m_settings; }
    // Takes `s` as the new settings: what changed is applied at once (keys,
    // volumes, mute, window) and the file is written. Returns "" or the
    // write's failure (English).
    std::string Change(Engine& engine, ControlsReader& reader, const GameSettings& s);

    // The window lost or regained the focus: muted meanwhile when the
    // option is on.
    void FocusChanged(Engine& engine, bool focused);
    // The game ends: the window's place and size (in a window) and whether
    // it is fullscreen are kept.
    void GameEnding(Engine& engine);

    // "settings": the file, its problem, the values, the writes so far, and
    // the mixer's volume of the music channel as the engine applies it.
    void DumpState(JsonWriter& w, int musicMixerVolume) const;

    const std::string& path() const { return m_path; }   // "" when not kept
    const std::string& problem() const { return m_problem; }
    int writes() const { return m_writes; }

private:
    void ApplyWindow(Engine& engine, const GameSettings& s, bool sizeChanged) const;
    std::string Write();

    GameSettings m_settings;
    std::string m_path;
    std::string m_problem;
    bool m_reported = false;
    bool m_headless = false;
    int m_writes = 0;
};
