#pragma once
// The interface drawn over the map: the chat log, the player panel, the
// map-name banner, the open game window, banners and notices. Its pictures
// are loaded by the loading stages through LoadPanel and
// LoadMapNameBackdrop; Build runs once while loading; Update and Draw run
// every playing frame.

#include <cstdint>
#include <string>

#include "platform/sprite.h"
#include "ui/screen_messages.h"

class ChatLog;
class Engine;
class JsonWriter;
class MapNameBanner;
class Player;
struct Camera;
struct GameFonts;
namespace paths {
class DataPaths;
}

// What one HUD draw shows besides the HUD's own state.
struct HudView {
    const Player& player;
    const Camera& camera;
    MapNameBanner& banner;      // advances while it draws
    const std::string& mapName; // GBK display name
    float dt = 0;
};

class Hud {
public:
    static constexpr std::uint32_t kBannerYellow = 0xFFFFFF00;
    static constexpr std::uint32_t kNoticeWhite = 0xFFFFFFFF;

    Hud(Engine& engine, GameFonts& fonts, ChatLog& chatLog) : m_engine(engine), m_fonts(fonts), m_chatLog(chatLog) {}

    // The player panel's pictures (portrait, panel base, bars).
    void LoadPanel(const paths::DataPaths& dataPaths);
    // The map-name banner's backdrop, 271 x 92, fading in from nothing.
    void LoadMapNameBackdrop(const paths::DataPaths& dataPaths);
    void Build();
    // Once a playing frame: the banner and notice lists age.
    void Update(float dt);
    void Draw(const HudView& view);
    // Closes every window, then opens the one named (GBK); "无" closes all.
    void ShowWindow(const std::string& gbkName);
    const std::string& openWindow() const { return m_openWindow; }

    // Into the banner / notice list at the engine clock's time; dropped
    // when the list's five entries are taken.
    void AddBanner(const std::string& gbkText, std::uint32_t colour);
    void AddNotice(const std::string& gbkText, std::uint32_t colour);

    // Writes the keys "hud", "banners" and "notices".
    void DumpState(JsonWriter& w) const;

    // ---- pictures
    struct PlayerPanel {
        Sprite portrait, portraitShow, base, hpFront, hpBack, smallFront, smallBack;
    } panel;
    Sprite mapNameBackdrop;  // 271 x 92

    ScreenMessages banners;
    ScreenMessages notices;

private:
    Sprite WholePicture(const paths::DataPaths& dataPaths, const char* utf8Path);
    void DrawMessages(const HudView& view);

    Engine& m_engine;
    GameFonts& m_fonts;
    ChatLog& m_chatLog;
    std::string m_openWindow;
    bool m_built = false;
};
