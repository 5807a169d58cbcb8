#pragma once
// The HUD around the player panel: the bottom bar with the
// experience bar and the skill bar's eight cells, the right panel with its
// five buttons, the chat box frame with its scroll track and the chat input,
// and the game windows (status, items, skills, quests, trade) with their
// cells, the held item and the tooltip. The exclusive window switch is the
// Hud's ShowWindow; this object reads and uses it.
//
// Each left or right press is handled by exactly one handler: window cells
// and buttons, then the HUD's controls, then the drop of a held item; a
// press on any part of the interface never reaches the world (the result
// says so, and the game clears the press from the frame's controls).

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gameplay/held_item.h"
#include "platform/sprite.h"
#include "ui/button.h"
#include "ui/chat_input.h"
#include "ui/tooltip.h"

class ChatLog;
class DataTables;
class Engine;
class Hud;
class ItemUseWorld;
class JsonWriter;
class Player;
struct Controls;
struct GameFonts;
namespace paths {
class DataPaths;
}

// One 30 x 30 icon sprite per icon picture, shared by every item that shows
// it; drawing creates no sprite.
class ItemIcons {
public:
    void Load(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables);
    // The icons of item rows appended since (cheap when there are none).
    void LoadNewRows(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables);
    // Draws the icon of item number n at (x, y); nothing for an unknown item.
    void Draw(int itemNumber, float x, float y) const;
    std::size_t SpriteCount() const { return m_sprites.size(); }

private:
    std::map<int, Sprite> m_sprites;  // by icon number
    std::vector<int> m_iconOfItem;    // index = item number
};

// A plain 20 x 20 picture button (close, help): hit on the press.
struct PictureButton {
    Sprite picture;
    float x = 0, y = 0, w = 20, h = 20;
    bool Contains(float px, float py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

struct InterfaceFrame {
    const Controls& controls;
    Inventory& inventory;
    Player& player;
    ItemUseWorld& world;
    const DataTables& tables;
    float dt = 0;
};

struct InterfaceResult {
    bool leftTaken = false;   // the left press belongs to the interface
    bool rightTaken = false;  // the right press belongs to the interface
    std::string chatLine;     // typed text sent with Enter (GBK)
};

class GameInterface {
public:
    // Screen layout: the item and trade windows side by side, never overlapping.
    static constexpr float kItemX = 245, kItemY = 50;            // the item window's origin
    static constexpr float kItemPicX = kItemX + 45, kItemPicY = kItemY + 40;
    static constexpr float kTradePicX = 52, kTradePicY = 90;    // trade window picture
    static constexpr float kWindowPicX = 290, kWindowPicY = 90;  // status, skills, quests
    static constexpr float kPlayAreaRight = 750, kPlayAreaBottom = 526;
    static constexpr float kExpBarX = 164, kExpBarWidth = 632;
    static constexpr int kSkillCells = 8;

    GameInterface(Engine& engine, GameFonts& fonts, ChatLog& chatLog, Hud& hud)
        : m_engine(engine), m_fonts(fonts), m_chatLog(chatLog), m_hud(hud) {}

    // Loads every picture, button and cell (once, after the data tables).
    void Build(const paths::DataPaths& dataPaths, const DataTables& tables);
    InterfaceResult Update(const InterfaceFrame& frame);
    // Bottom bar, right panel, chat frame and track, experience bar.
    void DrawBack(const Player& player);
    // The open window(s), the skill bar, the chat input, the held item and
    // the tooltip.
    void DrawFront(const Player& player, const Inventory& inventory, const DataTables& tables);
    void DumpState(JsonWriter& w) const;

    // ---- layout (screen positions)
    static float BagCellX(int slot);  // slot 1..36
    static float BagCellY(int slot);
    static float EquipmentCellX(int slot);  // slot 1..12
    static float EquipmentCellY(int slot);
    static float ShopCellX(int cell);  // cell 1..48
    static float ShopCellY(int cell);
    static float SkillCellX(int i) { return 418.0f + 33.0f * static_cast<float>(i - 1); }
    static constexpr float kSkillCellY = 550;
    // The cell id (1..36 bag, 37..48 equipment, 101..148 shop) under (x, y)
    // among the visible windows; 0 when none.
    int CellAt(float x, float y) const;
    // Whether (x, y) lies on any part of the interface.
    bool OverInterface(float x, float y) const;
    // The item window's area for the drop rule: 520 x 400 at origin + 20.
    static bool InItemArea(float x, float y);

    bool itemWindowVisible() const;
    bool tradeWindowVisible() const;
    // The experience bar's width (0..632) and its text ("12.5%").
    static float ExperienceWidth(const Player& player);
    static std::string ExperienceText(const Player& player);

    ItemHand hand;
    ChatInput chatInput;
    ItemIcons icons;
    std::array<Button, 5> panelButtons;  // 状态 物品 技能 任务 系统

private:
    void HandleLeftPress(const InterfaceFrame& f, InterfaceResult& r);
    void HandleRightPress(const InterfaceFrame& f, InterfaceResult& r);
    void ToggleWindow(const std::string& gbkName);
    void DrawWindowPicture(const Sprite& picture, float x, float y) const;
    void DrawCell(int itemNumber, float x, float y, bool highlight) const;
    void DrawItemWindow(const Player& player, const Inventory& inventory, const DataTables& tables) const;
    void DrawTradeWindow(const Inventory& inventory) const;
    void DrawStatusWindow(const Player& player) const;
    void DrawChatTrack() const;
    void PlayClick();

    Engine& m_engine;
    GameFonts& m_fonts;
    ChatLog& m_chatLog;
    Hud& m_hud;
    // The chat track and its slider, on screen.
    static constexpr float kTrackX = 24, kTrackY = 470, kTrackWidth = 20, kTrackHeight = 90;
    static constexpr float kSliderTop = 472, kSliderHeight = 24, kSliderTravel = 87 - kSliderHeight;
    int ScrollAtPointer(float y) const;
    bool m_draggingSlider = false;
    bool m_built = false;
    int m_blink = 0;     // shared highlight counter, 0..20
    int m_clicks = 0;    // click sounds played (for tests)
    HEFFECT m_clickSound = 0;
    float m_mouseX = 0, m_mouseY = 0;

    Sprite m_bottomBar, m_expFill, m_rightPanel, m_chatTop, m_chatMid, m_chatBottom, m_tile, m_slider;
    Sprite m_cellTile;  // tinted per frame for the highlight
    Sprite m_carry;     // 888.png under a held item
    Sprite m_statusPic, m_itemPic, m_skillPic, m_tradePic;
    std::array<PictureButton, 5> m_closeButtons;  // status, item, skill, quest, trade
    std::array<PictureButton, 5> m_helpButtons;
    // Each window's size (its picture's, or a fallback when it is missing).
    std::array<float, 5> m_windowW{240, 460, 240, 300, 236};
    std::array<float, 5> m_windowH{300, 340, 300, 320, 340};
    ItemTooltip m_tooltip;
};
