#pragma once
// The game's menus: the title screen, the system window (the right panel's
// "系统" button), the save-slot list they open, and the yes/no question box
// (a damaged save's backup, overwriting a slot). Each is a layer of the
// interface stack; their choices are applied after the input pass, so no
// save is written or read inside a click.
//
// While any of them shows the world waits: no monster moves, no play time
// passes, F5 and F9 do nothing.

#include <memory>
#include <string>
#include <vector>

#include "app/game_saves.h"
#include "ui/menu_buttons.h"
#include "platform/sprite.h"

class Game;
class JsonWriter;
class UiLayer;

// What a question's yes does.
enum class MenuQuestion { kNone, kLoadBackup, kOverwrite };

class GameMenus {
public:
    explicit GameMenus(Game& game);
    ~GameMenus();
    GameMenus(const GameMenus&) = delete;
    GameMenus& operator=(const GameMenus&) = delete;

    // Loading: the pictures and the button faces.
    void Load();
    // The end of loading: the new game is kept (the title's "新游戏" goes
    // back to it).
    void KeepNewGame();

    void ShowTitle();
    void OpenSystemWindow();
    void CloseSystemWindow();
    // The slot list over the title or the system window: to save into
    // slots 1 to 3, or to load any slot.
    void OpenSlotList(bool saving);
    // A yes/no question over everything; yes does `what` to `slot`.
    void Ask(const std::string& gbkText, const std::string& gbkCaption, MenuQuestion what, std::string slot);

    // Whether the world waits this frame.
    bool Pauses() const { return m_title || m_system || m_slots || m_question.what != MenuQuestion::kNone; }
    bool titleShown() const { return m_title; }
    // The player chose "退出游戏".
    bool quitRequested() const { return m_quit; }
    // The choices of this frame's input pass.
    void Apply();

    // The layers, for the stack (GameLayers adds them at their places).
    UiLayer& systemLayer() { return *m_systemLayer; }
    UiLayer& titleLayer() { return *m_titleLayer; }
    UiLayer& slotLayer() { return *m_slotLayer; }
    UiLayer& questionLayer() { return *m_questionLayer; }

    // "menus": what shows, the highlighted entries, the slot list's rows.
    void DumpState(JsonWriter& w) const;

    // ---- what the layers use
    enum class Choice {
        kNone,
        kContinue, kNewGame, kLoadList, kQuit,              // title
        kSaveList, kSettings, kBackToTitle, kCloseSystem,   // system window
        kSlot, kCloseSlots,                                 // slot list
        kYes, kNo                                           // question
    };
    void Choose(Choice c, std::string slot = {}) {
        m_choice = c;
        m_choiceSlot = std::move(slot);
    }
    struct Question {
        std::string text, caption;  // GBK
        MenuQuestion what = MenuQuestion::kNone;
        std::string slot;
        std::vector<std::string> lines;  // the text wrapped to the box, once when asked
    };
    Game& game() { return m_game; }
    MenuButtons titleButtons, systemButtons, slotRows, slotBack, answers;
    Sprite titlePicture, systemPicture, slotPicture, questionPicture, rowHighlight;
    Button systemClose;
    Sprite closePicture;
    std::vector<SlotSummary> summaries;
    bool title() const { return m_title; }
    bool system() const { return m_system; }
    bool slots() const { return m_slots; }
    bool saving() const { return m_saving; }
    const Question& question() const { return m_question; }

private:
    void RefreshTitle();
    void RefreshSlots();
    void CloseAll();
    void SaveInto(const std::string& slot);
    void LoadFrom(const std::string& slot);

    Game& m_game;
    bool m_title = false, m_system = false, m_slots = false, m_saving = false, m_quit = false;
    Question m_question;
    Choice m_choice = Choice::kNone;
    std::string m_choiceSlot;
    std::unique_ptr<SaveGame> m_newGame;
    std::unique_ptr<UiLayer> m_systemLayer, m_titleLayer, m_slotLayer, m_questionLayer;
};
