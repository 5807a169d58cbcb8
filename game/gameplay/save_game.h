#pragma once
// A saved game as a value: everything of the player's progress that outlives
// a map, copied out of the models and put back whole. Monsters, ground
// items, effects, open windows and cooldowns are not part of it: they come
// back as a fresh load of the saved map makes them.
//
// Texts (names, chat lines, the map file) are GBK here, as in the models;
// the file format converts them to UTF-8.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/npc_state.h"

// An item or skill by table number, with the name the table gave it when the
// game was saved (GBK). A number of 0 is an empty cell.
struct SavedRef {
    int number = 0;
    std::string name;
};

struct SavedSkill {
    SavedRef skill;
    int level = 0;
    int key = 0;  // the key that casts it (a virtual-key code); 0 = none
};

struct SavedChatLine {
    std::string label;  // GBK
    std::string text;   // GBK
    std::uint32_t labelColour = 0xFF00FFFF;
    std::uint32_t textColour = 0xFFFFFFFF;
};

// Elapsed, duration, amount per tick and last tick of a poison or curse.
using SavedStatus = std::array<float, 4>;

struct SaveGame {
    // The file format this build writes; a file with a larger number is
    // refused as coming from a newer game.
    static constexpr int kFormat = 1;
    static constexpr int kBagCells = 36, kEquipmentSlots = 12, kShopCells = 48;
    static constexpr int kSkillSlots = 10, kBarCells = 8, kQuestSlots = 10;
    static constexpr std::size_t kChatLines = 50;

    int format = kFormat;
    std::string gameVersion;  // the game that wrote it
    std::string savedAt;      // local time, "YYYY-MM-DD HH:MM:SS"
    double playSeconds = 0;   // time played, in seconds of game frames

    // Where the player stands.
    std::string mapFile;  // GBK file name under \data\地图
    float x = 0, y = 0;
    int ground = 0;  // n > 0 square n, -n slope n, 0 none
    int facing = 2;  // 1 left, 2 right

    int level = 1, experience = 0, gold = 0;
    float hp = 20, maxHp = 20, mp = 500, maxMp = 500;
    bool poisoned = false, cursed = false;
    SavedStatus poison{}, curse{};
    float doubleExpElapsed = 0, doubleExpTotal = 0, doubleExpMultiplier = 0;
    float restTimer = 0;
    int regenCounter = 0;

    std::array<SavedRef, kBagCells> bag{};
    std::array<SavedRef, kEquipmentSlots> equipment{};
    std::array<SavedRef, kShopCells> shop{};
    std::array<SavedSkill, kSkillSlots> skills{};
    std::array<SavedRef, kBarCells> bar{};  // cooldowns start ready
    std::array<int, kQuestSlots> quests{};
    std::vector<NpcStateRecord> npcs;   // one per NPC table row, in row order
    std::vector<SavedChatLine> chat;    // the newest kChatLines, oldest first

    // The random generator's state when the saved map began loading, so a
    // load of the map draws its monsters as the saved game did.
    std::string mapRandomState;
};
