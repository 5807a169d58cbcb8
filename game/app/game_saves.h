#pragma once
// The game's side of saving: a SaveGame captured from the models, written
// to a slot, and read back, checked and applied whole. F5 saves to "quick",
// F9 loads it; every map change and the end of the game (Esc, the window
// closed) save to "auto". A refused file leaves the running game unchanged.

#include <future>
#include <string>
#include <string_view>
#include <vector>

#include "gameplay/save_game.h"

class Game;
class JsonWriter;
struct Controls;

// What the load list shows of a slot.
struct SlotSummary {
    std::string slot;       // "1" "2" "3" "quick" "auto"
    bool present = false;   // a file is there
    bool readable = false;  // and it passed the checks
    int level = 0;
    std::string mapName;    // GBK, as the map's banner names it
    double playSeconds = 0;
    std::string savedAt;    // "YYYY-MM-DD HH:MM:SS"
};

class GameSaves {
public:
    explicit GameSaves(Game& game) : m_game(game) {}

    // The running game as a save (the item in the hand counted back in its
    // cell).
    SaveGame Capture() const;
    // Puts a checked save into the game: its map is loaded (the town map's
    // town ground when the file is gone), then the player and everything
    // else are set from it.
    void Apply(const SaveGame& save);

    // Captures the game and writes it to `slot`. The capture is taken now;
    // the disk work (the synced temporary file and the rename) runs beside
    // the frames, and its outcome is reported by a later Update or by
    // Finish. `announce`: a chat line says where, with the time. A failed
    // write says so in the chat log; the game goes on. False when the save
    // could not even start (no saves folder).
    bool Save(std::string_view slot, bool announce);
    // Waits for a write under way and reports it.
    void Finish();
    // Reads `slot` and, when it is good, applies it. A damaged file is
    // refused with a message box naming the file and its first bad field,
    // and its backup is offered (a question of the menus; LoadBackup is its
    // yes); a newer file is refused. False when nothing was loaded.
    bool Load(std::string_view slot);
    bool LoadBackup(std::string_view slot);

    // The five slots, "1" "2" "3" "quick" "auto", each read and checked.
    std::vector<SlotSummary> Summaries();
    // The slot of the newest readable save in `slots`; "" when none.
    static std::string Newest(const std::vector<SlotSummary>& slots);

    // Once a playing frame: F5 and F9, the play time, and the autosave of a
    // map change made in this frame.
    void Update(const Controls& controls, float dt);
    // A map began loading (its random draws start from here).
    void MapLoadStarting();
    // The map loaded in start-up or by a load is no change of map.
    void ForgetMapChange() { m_mapChanged = false; }
    // The game ends by the player's will: the autosave.
    void GameEnding();
    // Whether map changes and the game's end save to "auto": not while
    // play-testing a map file (--map), and headless only with --save-dir.
    bool AutosaveOn() const;

    double playSeconds() const { return m_playSeconds; }
    std::string folder() const;
    // Writes the key "saves": play time, the last save's slot and result.
    void DumpState(JsonWriter& w) const;

private:
    void Report(const std::string& error);
    bool LoadFile(const std::string& path, std::string_view slot, bool isBackup);
    void SystemLine(const std::string& gbkText);

    Game& m_game;
    double m_playSeconds = 0;
    bool m_mapChanged = false;
    bool m_applying = false;
    std::string m_mapRandomState;
    std::string m_lastSaved, m_lastLoaded;  // slots
    int m_writeFailures = 0;
    // The write under way: its outcome ("" or what failed), its slot and
    // whether it is announced.
    std::future<std::string> m_pending;
    std::string m_pendingSlot;
    bool m_pendingAnnounce = false;
};

// The slot's name as the player reads it (GBK): "存档1", "快速存档", "自动存档".
std::string SlotDisplayName(std::string_view slot);
