#pragma once
// The interface drawn over the map: bottom bar, chat box, right panel,
// player panel, the open game window, banners and notices. Build runs once
// while loading; Update and Draw run every playing frame.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sprite.h"

class Game;
class JsonWriter;

// A text shown for about a second: banners across the screen ("屏幕信息"),
// notices next to the player ("普通信息").
struct ScreenMessage {
    std::string text;  // GBK
    std::uint32_t colour = 0xFFFFFFFF;
    int counter = 0;   // grows by 2 every frame
    float age = 0;     // seconds since added
};

class Hud {
public:
    explicit Hud(Game& game) : m_game(game) {}

    void Build();
    void Update(float dt);
    void Draw();
    // Closes every window, then opens the one named (GBK); "无" closes all.
    void ShowWindow(const std::string& gbkName);
    const std::string& openWindow() const { return m_openWindow; }

    void AddBanner(const std::string& gbkText, std::uint32_t colour);
    void AddNotice(const std::string& gbkText, std::uint32_t colour);

    // Writes the keys "hud", "banners" and "notices".
    void DumpState(JsonWriter& w) const;

    // ---- pictures loaded by the loading stages
    struct PlayerPanel {
        Sprite portrait, portraitShow, base, hpFront, hpBack, smallFront, smallBack;
    } panel;
    Sprite mapNameBackdrop;  // 271 x 92

    std::vector<ScreenMessage> banners;
    std::vector<ScreenMessage> notices;

private:
    Game& m_game;
    std::string m_openWindow;
    bool m_built = false;
};
