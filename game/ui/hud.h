#pragma once
// The interface drawn over the map: the chat log, the player panel, the
// map-name banner, the open game window, banners and notices, and the death
// box. Its pictures are loaded by the loading stages through LoadPanel and
// LoadMapNameBackdrop; Build runs once while loading; Update and Draw run
// every playing frame. The HUD reads the player and answers clicks as
// commands; the game applies them.

#include <cstdint>
#include <string>

#include "platform/sprite.h"
#include "ui/button.h"
#include "ui/screen_messages.h"

class ChatLog;
class GdiFont;
class Engine;
struct Controls;
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
    // The death box: the message box picture, centred on the screen, and
    // its button at a fixed screen position.
    static constexpr float kMessageBoxWidth = 265, kMessageBoxHeight = 171;
    static constexpr float kDeathButtonX = 370, kDeathButtonY = 332;

    static constexpr std::uint32_t kBannerYellow = 0xFFFFFF00;
    static constexpr std::uint32_t kNoticeWhite = 0xFFFFFFFF;

    Hud(Engine& engine, GameFonts& fonts, ChatLog& chatLog) : m_engine(engine), m_fonts(fonts), m_chatLog(chatLog) {}

    // The player panel's pictures (portrait, panel base, bars) and the
    // death box (message box and its "确定" button).
    void LoadPanel(const paths::DataPaths& dataPaths);
    // The map-name banner's backdrop, 271 x 92, fading in from nothing.
    void LoadMapNameBackdrop(const paths::DataPaths& dataPaths);
    void Build();
    // Once a playing frame: the banner and notice lists age; the death
    // box's button forgets a press when the box has gone.
    void Update(float dt, const Player& player);
    // Whether the death box shows: the player is dead and the death
    // animation has reached its last frame.
    static bool DeathBoxShown(const Player& player);
    // The death box's button with the input its layer took; true when
    // "确定" was clicked.
    bool UpdateDeathBox(const Controls& input);
    // The keys while the box shows: confirm presses "确定" (its one
    // button, always the highlighted one). True when it was pressed.
    bool DeathBoxKeys(bool confirm);
    // The chat log's lines and the player panel.
    void DrawPanels(const Player& player);
    // The map-name banner, the banners and the notices, each text with a
    // dark outline so it reads over anything.
    void DrawBanners(const HudView& view);
    void DrawDeathBox(const Player& player);
    // Prints `text` with a one-pixel dark outline of the same alpha.
    static void PrintOutlined(GdiFont& font, float x, float y, const std::string& gbkText, std::uint32_t colour);
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
    Sprite messageBox;       // 265 x 171
    Button deathButton;      // "确定"

    ScreenMessages banners;
    ScreenMessages notices;

private:
    Sprite WholePicture(const paths::DataPaths& dataPaths, const char* utf8Path);
    void DrawPlayerPanel(const Player& player);

    Engine& m_engine;
    GameFonts& m_fonts;
    ChatLog& m_chatLog;
    std::string m_openWindow;
    bool m_built = false;
    bool m_deathBoxShown = false;  // as of the last update
};
