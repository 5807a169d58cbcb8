#pragma once
// The templates every item and skill put into a slot is copied from: one
// ItemRef per row of the item table and one SkillRef per row of the skill
// table, built after the data tables are loaded. Template k belongs to row
// k; a number outside the table has no template, and whatever asks for one
// must refuse the item (or skill) without failing.
//
// The templates follow the tables they were built from: a row appended
// later (by Main.lua or an NPC script) gets its template the first time it
// is asked for, so it can be put into any slot like the others.

#include <deque>

class DataTables;

// One item as the bag, the shop and the equipment hold it.
struct ItemRef {
    int itemNumber = 0;  // item table row; 0 = no item
    int icon = 0;        // icon column: \data\道具\<icon>.png
    int sourceSlot = 0;  // the slot id an item in the hand was taken from
    // The 30 x 30 icon sprite joins this record when the HUD creates the item
    // windows (it loads the icon pictures); a copy then duplicates it too.
};

// One skill as the skill bar holds it.
struct SkillRef {
    int skillNumber = 0;  // skill table row; 0 = no skill
    int icon = 0;         // icon column: \data\魔法\<icon>.png
    // The 25 x 25 icon sprite joins this record with the skill bar.
};

class ItemTemplates {
public:
    // Replaces the templates with one per row of the item and skill tables,
    // in row order: template k holds number k and row k's icon column. The
    // tables must outlive the templates: later rows are read from them.
    void Build(const DataTables& tables);

    // The template of item (skill) number n, or nullptr when n is outside
    // 1..rows of the table. The pointer stays valid while the templates live
    // (until the next Build).
    const ItemRef* Item(int n) const;
    const SkillRef* Skill(int n) const;

    int ItemCount() const;
    int SkillCount() const;

private:
    // Templates for rows appended since the last look.
    void Follow() const;

    const DataTables* m_tables = nullptr;
    // Deques: appending keeps the templates handed out where they are.
    mutable std::deque<ItemRef> m_items;
    mutable std::deque<SkillRef> m_skills;
};
