#pragma once
// The six content tables (items, skills, maps, NPCs, monsters, quests).
//
// The tables are filled by the row commands of the data files, one record per
// call; a record's row number is its 1-based position in call order, and that
// number is how the rest of the game refers to it. Nothing removes rows. Every
// lookup is bounds-checked: a row outside 1..Count() gives nullptr.

#include "gameplay/npc_state.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Item table row ("初始物品", 20 columns).
struct ItemRow {
    int number = 0;
    std::string name;
    int minPhysAttack = 0;  // category 13: HP restored
    int maxPhysAttack = 0;  // category 13: MP restored
    int minPhysDefence = 0;
    int maxPhysDefence = 0;
    int minMagicAttack = 0;
    int maxMagicAttack = 0;
    int minMagicDefence = 0;
    int maxMagicDefence = 0;
    int strength = 0;
    int agility = 0;
    int accuracy = 0;
    int intelligence = 0;
    int constitution = 0;
    int requiredLevel = 0;  // 0 = none
    int price = 0;
    int icon = 0;  // \data\道具\<icon>.png
    std::string description;
    int category = 0;  // 1..12 equipment, 13 consumable, 14 quest item, 15 material

    static constexpr int kConsumable = 13;
    static constexpr int kQuestItem = 14;
    static constexpr int kMaterial = 15;

    int hpRestored() const { return minPhysAttack; }
    int mpRestored() const { return maxPhysAttack; }
};

// Skill table row ("初始技能", 11 columns).
struct SkillRow {
    int number = 0;
    std::string name;
    int skillClass = 0;  // 1 shows as "[战士]"
    int requiredLevel = 0;
    int reserved5 = 0;
    int attackPercentPerPoint = 0;
    int staminaPerPoint = 0;
    int cooldown = 0;
    int reserved9 = 0;
    std::string description;
    int icon = 0;  // \data\魔法\<icon>.png
};

// Map table row ("初始地图", 4 columns; the fourth is not kept).
struct MapRow {
    int number = 0;
    std::string fileName;  // under \data\地图\ .
    std::string note;
};

// NPC table row ("初始NPC", 7 columns).
struct NpcRow {
    int number = 0;
    std::string name;
    std::string folder;      // \data\NPC\<folder>\ .
    std::string scriptFile;  // \data\脚本\<scriptFile>
    int frameCount = 0;
    int frameDuration = 0;  // hundredths of a second
    int yOffset = 0;        // pixels above the map event's y
};

// Monster table row ("初始怪物", 11 columns).
struct MonsterRow {
    int number = 0;
    std::string name;        // also the drop table \data\掉宝\<name>.txt
    std::string folder;      // \data\怪物\<folder>\ .
    std::string scriptFile;  // \data\脚本\Monster\<scriptFile>
    int width = 0;
    int height = 0;
    float hitPoints = 0;
    float attack = 0;
    float defence = 0;
    int kind = 0;  // 0, 1 or 2
    int experience = 0;
};

// Quest table row ("初始任务", 7 columns; the seventh is not kept).
struct QuestRow {
    int number = 0;
    std::string name;
    std::string description;  // "任务描述"
    std::string hint;         // "任务提示"
    std::string reward;       // "任务奖励"
    std::string tracking;     // "任务跟踪"
};

// An append-only list of rows numbered from 1.
template <typename Row>
class DataTable {
public:
    // Appends and returns the new row's number.
    int Append(Row row) {
        m_rows.push_back(std::move(row));
        return Count();
    }
    int Count() const { return static_cast<int>(m_rows.size()); }
    // Row k (1-based), or nullptr outside 1..Count().
    const Row* At(int k) const {
        return k >= 1 && k <= Count() ? &m_rows[static_cast<std::size_t>(k - 1)] : nullptr;
    }
    const std::vector<Row>& rows() const { return m_rows; }

private:
    std::vector<Row> m_rows;
};

class DataTables {
public:
    DataTable<ItemRow> items;
    DataTable<SkillRow> skills;
    DataTable<MapRow> maps;
    DataTable<NpcRow> npcs;
    DataTable<MonsterRow> monsters;
    DataTable<QuestRow> quests;
    // One record per NPC row; grows only through AppendNpc.
    NpcState npcState;

    // Appends an NPC row together with its zeroed state record, so the two
    // always have the same length. Returns the row number.
    int AppendNpc(NpcRow row);

    // Number of the first item row whose name equals `name` byte for byte,
    // or 0 when there is none.
    int FindItem(std::string_view name) const;

    // The item row of that name (first match), or nullptr.
    const ItemRow* ItemByName(std::string_view name) const { return items.At(FindItem(name)); }
};
