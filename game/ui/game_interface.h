#pragma once
// The HUD around the player panel: the bottom bar with the
// experience bar and the skill bar's eight cells, the right panel with its
// five buttons, the chat box frame with its scroll track and the chat input,
// and the game windows (status, items, skills, quests, trade) with their
// cells, the held item and the tooltip. The exclusive window switch is the
// Hud's ShowWindow; this object reads and uses it.
//
// It does not read the frame's input itself: the interface stack's layers
// (the HUD, the open window, the trade window, the world) hand it the
// presses they took, each with the controls as that layer sees them.

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

// The game windows by index, in the order of their names: 0 状态窗口,
// 1 物品窗口, 2 技能窗口, 3 任务窗口, 4 交易窗口.
enum GameWindow { kStatusWindow = 0, kItemWindow = 1, kSkillWindow = 2, kQuestWindow = 3, kTradeWindow = 4 };

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
    // The status window's text cells (drawn on its background): kStatusRows
    // rows of two cells, kStatusRowStep apart from kStatusTop; the left
    // cell's text spans the row when the right one is empty.
    static constexpr int kStatusRows = 9;
    static constexpr float kStatusTop = 40, kStatusRowStep = 24, kStatusLeftX = 12, kStatusRightX = 124;
    static constexpr float kStatusTextDx = 6, kStatusTextDy = 5;
    static float StatusCellX(int column);  // column 0 or 1, screen x
    static float StatusCellY(int row);     // row 0..8, screen y

    GameInterface(Engine& engine, GameFonts& fonts, ChatLog& chatLog, Hud& hud)
        : m_engine(engine), m_fonts(fonts), m_chatLog(chatLog), m_hud(hud) {}

    // Loads every picture, button and cell (once, after the data tables).
    void Build(const paths::DataPaths& dataPaths, const DataTables& tables);
    // Once a frame before the input pass: the blink counter, and a held
    // item whose window is gone goes home.
    void Tick(const InterfaceFrame& frame);

    // ---- the HUD layer: bottom bar, right panel, chat box
    // Whether (x, y) lies on the HUD: outside the play area, the player
    // panel, the chat box, the chat input while it shows.
    bool HudHolds(float x, float y) const;
    // The panel buttons, the chat log's wheel and slider. True when the
    // "系统" button was clicked (the game opens its system window).
    bool UpdateHud(const Controls& input);
    // The chat input's keys: Enter. Returns the text sent (GBK), empty when
    // none; while the input has the focus the game keys are cleared.
    std::string ChatKeys(Controls& controls, float dt);

    // ---- the window layers
    // Whether window w (GameWindow) shows: the item window also with the trade window.
    bool WindowShown(int w) const;
    // Whether (x, y) lies on window w's picture.
    bool WindowHolds(int w, float x, float y) const;
    // The presses window w took: its close and help buttons, its cells.
    // The skill and quest windows' rows are their own.
    void UpdateWindow(int w, const InterfaceFrame& frame);
    // A right press while a shop item is held: it goes back. True when so.
    bool RightPressLetsGo() { return hand.RightClick(); }
    // A left press on the world while an item is held: outside the item
    // window's area it goes to the ground (the hand's drop rules decide
    // what happens to it); inside, nothing. True when the hand acted.
    bool WorldPress(const InterfaceFrame& frame, float x, float y);

    // ---- drawing, one call per layer
    // Bottom bar, right panel, chat frame and track, experience bar.
    void DrawBack(const Player& player);
    // The panel buttons and the chat input.
    void DrawHudFront();
    // Window w with its content, its close and help buttons and, when asked
    // for, its help text (the skill and quest windows' rows are drawn by
    // their own objects, after this).
    void DrawWindow(int w, const Player& player, const Inventory& inventory, const DataTables& tables);
    void DrawWindowHelp(int w);
    // The tooltip of the cell under the pointer (nothing while an item is held).
    void DrawTooltip(const Inventory& inventory, const DataTables& tables);
    // The held item under the pointer.
    void DrawHeld();
    // Forgets the tooltip shown last frame (the tooltip layer calls it before drawing).
    void ForgetTooltip() { m_tooltipItem = 0; m_tooltipBox = {}; }
    // The last mouse position the interface saw.
    void SetPointer(float x, float y) {
        m_mouseX = x;
        m_mouseY = y;
    }
    void DumpState(JsonWriter& w) const;
    // The window whose help text shows; -1 when none.
    int helpShown() const { return m_helpShown; }
    // Help texts of the windows (GBK).
    static std::string HelpText(int w);
    // The highlight of the equipment cell matching a held item: a frame
    // this many pixels wide around the cell, drawn in the colour of the
    // blink phase.
    static constexpr float kFrameWidth = 3;
    static constexpr std::uint32_t kFrameDark = 0xFF0C0E16;
    std::uint32_t BlinkColour() const { return m_blink < 10 ? 0xFFFFFF00 : 0x88FFFFFF; }

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

    // Window w's picture: its top-left and size.
    float WindowX(int w) const;
    float WindowY(int w) const;
    float WindowWidth(int w) const { return m_windowW[static_cast<std::size_t>(w)]; }
    float WindowHeight(int w) const { return m_windowH[static_cast<std::size_t>(w)]; }

    // Opens the named window (closing the open one) or closes it.
    void ToggleWindow(const std::string& gbkName);

private:
    void DrawButtons(int w) const;
    void DrawCell(int itemNumber, float x, float y, bool highlight) const;
    void DrawItemWindow(const Player& player, const Inventory& inventory, const DataTables& tables) const;
    void DrawTradeWindow(const Inventory& inventory) const;
    void DrawStatusWindow(const Player& player) const;
    static constexpr std::size_t kHelpBytes = 32;  // a help line's width
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
    int m_helpShown = -1;  // the window whose help text shows
    int m_clicks = 0;    // click sounds played (for tests)
    HEFFECT m_clickSound = 0;
    float m_mouseX = 0, m_mouseY = 0;

    Sprite m_bottomBar, m_expFill, m_rightPanel, m_chatTop, m_chatMid, m_chatBottom, m_tile, m_slider;
    mutable Sprite m_white;  // a white texture: the highlight frame, tooltip and help boxes
    Sprite m_carry;     // 888.png under a held item
    Sprite m_statusPic, m_itemPic, m_skillPic, m_questPic, m_tradePic;
    std::array<PictureButton, 5> m_closeButtons;  // by GameWindow
    std::array<PictureButton, 5> m_helpButtons;
    // Each window's size (its picture's, or a fallback when it is missing).
    std::array<float, 5> m_windowW{240, 460, 240, 300, 236};
    std::array<float, 5> m_windowH{300, 340, 300, 320, 340};
    ItemTooltip m_tooltip;
    int m_tooltipItem = 0;    // the item whose tooltip shows (for the dump)
    TooltipBox m_tooltipBox;
};
