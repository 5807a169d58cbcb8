#pragma once
// The game: every process-wide object, created in dependency order and
// owned here, and the engine callbacks that drive them.
//
// Construction touches nothing outside the process (no engine, no files), so
// tests can build a Game and drive its parts by hand. Run() starts the
// engine, plays the frames and shuts down. While Run() is active, Game is the
// one instance the engine's C callbacks reach (see game.cpp).
//
// Members are declared (and so constructed) in dependency order: paths and
// the random generator, the engine, what is loaded through it, then the
// subsystems, each handed the few objects it works with. The Game is the
// map's host (it builds the map's NPCs, monsters and items) and installs
// its own script services before any script runs.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/damage_number.h"
#include "world/effect_library.h"
#include "platform/frame_cache.h"
#include "app/game_options.h"
#include "app/input_script.h"
#include "ui/mouse_pointer.h"
#include "core/random.h"
#include "world/running_effects.h"
#include "app/startup_loader.h"
#include "app/game_player_combat.h"
#include "app/game_script_services.h"
#include "app/game_items.h"
#include "app/game_skills.h"
#include "app/game_monsters.h"
#include "app/game_layers.h"
#include "app/game_saves.h"
#include "app/game_menus.h"
#include "app/settings_keeper.h"
#include "gameplay/data_tables.h"
#include "gameplay/inventory.h"
#include "gameplay/map_actors.h"
#include "gameplay/npc_picture_cache.h"
#include "gameplay/player.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "script/script_runtime.h"
#include "platform/sounds.h"
#include "shared/paths.h"
#include "ui/chat_log.h"
#include "ui/dialog_box.h"
#include "ui/hud.h"
#include "ui/game_interface.h"
#include "ui/interface_stack.h"
#include "ui/quest_window.h"
#include "ui/settings_page.h"
#include "ui/speech_bubble.h"
#include "world/camera.h"
#include "world/game_map.h"

class JsonWriter;

constexpr int kPhaseLoading = 30;
// Exit status of a run whose screenshot or state dump could not be written.
constexpr int kExitOutputFailed = 4;
constexpr int kPhasePlaying = 31;

// The state dump lists at most this many message boxes.
constexpr std::size_t kMaxMessageBoxRecords = 256;

struct MessageBoxRecord {
    std::string text;     // GBK
    std::string caption;  // GBK
    int flags = 0;
};

class Game final : public MapHost {
public:
    explicit Game(GameOptions options = {});
    ~Game() override;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Starts the engine, runs the frame loop to its end, shuts down, writes
    // the state dump. Returns the process exit status. An exception that
    // reaches the engine's callbacks never crosses the engine: it is
    // reported on stderr and ends the loop with status 1.
    int Run();

    // ---- the engine callbacks (also callable by tests)
    bool FrameFunc();   // true ends the loop
    bool RenderFunc();  // always false
    // Losing the focus pauses the player and lets every held key go without
    // a release (so neither Esc nor Up acts on it).
    // With the option on, the sound is muted while the focus is away.
    void FocusLost() {
        logicActive = 0;
        controlsReader.FocusLost();
        settingsKeeper.FocusChanged(engine, false);
    }
    void FocusGained() {
        logicActive = 1;
        settingsKeeper.FocusChanged(engine, true);
    }

    // ---- the script host's places in the loading sequence
    // Stage 3: register the script commands in both Lua states, run the six
    // data tables, read Levelup.lua into levelUpScript.
    void LoadScripts();
    // Stage 5: run "\data\脚本\Main.lua".
    void RunMainScript();

    // ---- services used across subsystems
    // Shows a modal message box (GBK text and caption) and records it for
    // the state dump. Headless runs answer at once.
    int ShowMessageBox(const std::string& gbkText, const std::string& gbkCaption, int flags);
    // Records a box shown by the game's own interface (the state dump lists
    // it with the engine's boxes).
    void RecordMessageBox(const std::string& gbkText, const std::string& gbkCaption, int flags);
    // Starts library effect n (1..20) on the current map; an empty handle
    // when n is out of range.
    EffectHandle SpawnEffect(int mode, int n, float x, float y, int repeat, int backAndForth, std::uint32_t colour,
                             int behind) {
        return map.SpawnEffect(mode, n, x, y, repeat, backAndForth, colour, behind);
    }
    // ---- the player (game_player.cpp)
    // The player's add-experience operation: multiplier, the "[经验]" notice
    // and the log line, and at most one level-up: the level-up script runs
    // in the level-up state while the level is still the old one, then the
    // effect, the sound, the log line, the carry-over and the new level. A
    // failing script is reported and the level-up still completes.
    void AddExperience(int amount);
    // "增加等级" and "增加金币" land here: the level never below 1.
    void SetPlayerLevel(int level) { player.SetLevel(level); }
    void SetPlayerGold(int gold) { player.SetGold(gold); }
    // The double-experience item's effect: one more minute, and the log
    // line with the total in minutes.
    void StartDoubleExperience();
    // The death box's button: the click sound, the player revived, and the
    // map's return to town.
    void RevivePlayer();
    // Whether the player may use items, cast skills, pick up and read the
    // return scroll: not while dead.
    bool PlayerCanAct() const { return !player.IsDead(); }
    // A ground item of the first item row named `gbkName` at map (x, y);
    // nothing when no row has that name.
    void DropItem(const std::string& gbkName, float x, float y, int count, int counted);
    // The interface's part of the frame (after the HUD's update): the
    // gold-collection rule, the one input pass of the interface stack (every
    // press goes to the top layer under the pointer, keys to the chat input
    // first), the commands it gathered, and the speech bubble's messages.
    void UpdateInterface(float dt);
    // Steps 1 to 11 of the render: the map, characters, effects, damage
    // numbers and ground items (the world layer's picture).
    void DrawWorld();
    // A rising damage number at map position (x, y).
    void ShowDamageNumber(float value, int x, int y);
    // What running effects need from the world this frame.
    EffectContext MakeEffectContext(float dt);
    // Whether a ground item at (ix, iy) lies in the player's pick-up reach.
    static bool InPickUpReach(const Player& p, float ix, float iy);
    // The data tables (items, skills, maps, NPCs, monsters, quests) by row.
    DataTables& dataTables() { return scripts.tables(); }
    const DataTables& dataTables() const { return scripts.tables(); }
    // Ends the frame loop after the current loading step; Run then returns
    // `status` (non-zero: the game could not go on).
    void RequestExit(int status) { m_exitStatus = status; }
    int exitStatus() const { return m_exitStatus; }
    // A "\data\..." GBK path as a file-system path.
    std::string Resolve(std::string_view gbkPath) const { return dataPaths.Resolve(gbkPath); }

    // ---- NPCs, dialog and quests (game_npcs.cpp)
    static constexpr int kQuestMarkFrames = 8;
    // Loading: the speech bubble, the dialog box, the quest window, the name
    // plate and quest mark pictures, and the NPC picture loader.
    void LoadDialogs();
    // After a map load: each NPC gets its pictures (through the NPC picture
    // cache), its size and place, and its script text.
    void SetUpNpcs();
    // A map change closes the dialog.
    void CloseDialogForMapChange();
    // The number of the NPC under screen (x, y) when NPCs can be clicked
    // (play area, no window open, no dialog); 0 when none.
    int NpcUnderPointer(float x, float y) const;
    // Opens the dialog on NPC `npcNumber` of the map and runs its script.
    void TalkTo(int npcNumber);
    // "[系统]:" + text onto the speech bubble's message list.
    void SystemMessage(const std::string& gbkText);
    // A line onto the speech bubble's message list, broken into pieces of
    // at most 42 bytes.
    void SayInBubble(const std::string& gbkLine);
    void DrawNpcOverlays();

    // ---- MapHost
    std::string MapFileOfRow(int row) const override;
    void CreateActors(const std::vector<wdm::EventRecord>& events, const Terrain& terrain) override;
    void ClearActors() override;
    void MapLoadFailed(const std::string& gbkText, bool fatal) override;

    // The whole state as one JSON object; each subsystem writes its own keys.
    void DumpState(JsonWriter& w) const;
    bool WriteStateDump(const std::string& fsPath) const;

    // Test hook: called with the name of each step of the two callbacks, in order.
    std::function<void(std::string_view)> trace;
    void Trace(std::string_view step) {
        if (trace) trace(step);
    }

    // ---- process-wide objects, in construction order
    GameOptions options;
    paths::DataPaths dataPaths;
    Random random;
    Engine engine;
    // The two Lua states with their commands, the data tables and the
    // level-up script; script errors go to ShowMessageBox.
    ScriptRuntime scripts{random, [this](const std::string& text, const std::string& caption) {
                              ShowMessageBox(text, caption, 0);
                          }};
    FrameCache frameCache{engine, dataPaths};
    GameFonts fonts;
    GameSounds sounds;

    int phase = kPhaseLoading;  // GamePhase
    int logicActive = 0;        // LogicActive
    int screenWidth = 0, screenHeight = 0;
    long frameCount = 0;        // frame callbacks so far
    float mouseX = 0, mouseY = 0;
    Camera camera;
    ControlsReader controlsReader;
    Controls controls;  // this frame's, read at the start of the frame callback
    // The player's settings (keys, volumes, window), read at start and
    // written back when they change.
    SettingsKeeper settingsKeeper;

    ChatLog chatLog;
    MousePointer pointer;
    EffectLibrary effectLibrary;
    GlyphTable glyphs;
    DamageNumbers damageNumbers;
    std::string levelUpScript;  // GBK script text, run at each level-up
    std::vector<MessageBoxRecord> messageBoxes;

    StartupLoader loader{*this};
    Player player;
    Inventory inventory;
    QuestLog questLog;
    MapActors actors;
    GameMap map{MapContext{engine, dataPaths, random, camera, player, effectLibrary, *this}};
    DialogBox dialogBox;
    SpeechBubble speechBubble;
    BubbleMessages bubbleMessages;
    QuestWindow questWindow;
    NpcArt npcArt;
    NpcPictureCache npcPictures;  // outlives map changes
    Hud hud{engine, fonts, chatLog};
    // The rest of the HUD: bars, panel buttons, chat box, the game windows
    // with their cells, the held item and the tooltip (game_items.cpp).
    GameInterface gameInterface{engine, fonts, chatLog, hud};
    // What items need from the game (rules, use, ground items).
    GameItems items{*this};
    // The skill list's use: learning, the thunder spell, the skill bar and
    // the skill window (game_skills.cpp).
    GameSkills skills{*this};
    // The map's monsters: set-up, frames, drawing, hits and the last-hit one.
    GameMonsters monsters{*this};
    // The title screen, the system window, the slot list and the question
    // box (their layers join the stack below).
    GameMenus menus{*this};
    // The settings page (keys, volumes, window), a layer of the stack.
    SettingsPage settingsPage{engine, fonts.small};
    // Shows the settings page on the settings in force.
    void OpenSettings() { settingsPage.Open(settingsKeeper.settings()); }
    // The interface as one stack of layers: drawn bottom-up, each press
    // offered top-down (game_layers.cpp builds the layers).
    InterfaceStack interfaceStack;
    GameLayers layers{*this};
    float frameDt = 0;  // this frame's elapsed time, for the layers' input
    // Save slots: capture, write, read and apply, F5 / F9 and the autosave.
    GameSaves saves{*this};

    std::vector<InputEvent> scriptedInput;
    std::string lastUserScreenshot;  // the last F12 picture's path (UTF-8)

private:
    void PlayingFrame(float dt);
    // The player's part of the frame: attributes from the equipment, the
    // weapon overlay, the update and its events.
    void UpdatePlayer(float dt);
    void PresentPlayerEvents(const PlayerEvents& events);
    void PlayingRender();
    void InjectInputFor(long frame);
    // F11 switches fullscreen; F12 saves a picture into the user's pictures
    // folder and says where in the chat log.
    void HandleWindowKeys();
    void SaveUserScreenshot();
    // Pads plugged in or out, and joysticks without a mapping, in the chat log.
    void ReportPads();
    int m_padCount = 0;
    bool m_outputFailed = false;
    bool m_framesRanOut = false;  // --frames ended the run (no game end: no autosave)
    GameScriptServices m_scriptServices{*this};
    GamePlayerCombat m_playerCombat{*this};
    std::size_t m_nextInput = 0;
    int m_exitStatus = 0;
};

// The start record the program entry hands to the engine: hidden system
// pointer, the game's title, 60 frames a second, 800 x 600, keep running
// when inactive, sound and depth buffer on, and the game's frame, render
// and focus callbacks (which reach the Game while Run is active).
EngineStartRecord GameStartRecord(bool headless);

// Runs the game with these options; returns the process exit status.
int RunGame(const GameOptions& options);
// The whole program: parses the command line, prints help or errors, runs.
int GameMain(int argc, char** argv);
