#pragma once
// The player's settings, kept between runs in settings.json (see
// settings_file.h): keys, sound volumes, and the window.

#include "platform/key_bindings.h"

enum class WindowScale { k1, k1_5, k2, kLast };

struct WindowRect {
    int x = 0, y = 0, w = 0, h = 0;  // w = 0: none remembered
    bool operator==(const WindowRect&) const = default;
};

struct GameSettings {
    KeyBindings keys;
    int musicVolume = 100;    // 0..100
    int effectVolume = 100;   // 0..100
    bool muteOnFocusLoss = true;
    bool fullscreen = false;
    WindowScale windowScale = WindowScale::k1;
    bool vsync = true;
    WindowRect window;        // the window's last place and size in a window

    bool operator==(const GameSettings&) const = default;

    // The window's size for the scale over a `w` x `h` picture (kLast: the
    // remembered size, else the picture's).
    void WindowSize(int w, int h, int* outW, int* outH) const;
};

// "1", "1.5", "2", "last"; FromText false when unknown.
const char* WindowScaleText(WindowScale s);
bool WindowScaleFromText(const std::string& text, WindowScale& out);
