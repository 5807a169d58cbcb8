#pragma once
// The templates every item and skill put into a slot is copied from: one
// ItemRef per row of the item table and one SkillRef per row of the skill
// table, built once after the data tables are loaded. Template k belongs to
// row k; a number outside the table has no template, and whatever asks for
// one must refuse the item (or skill) without failing.
//
// Rows appended after the build (by Main.lua or an NPC script) get no
// template: they load, but cannot be put into a slot.

#include <vector>

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
    // in row order: template k holds number k and row k's icon column.
    void Build(const DataTables& tables);

    // The template of item (skill) number n, or nullptr when n is outside
    // 1..count.
    const ItemRef* Item(int n) const;
    const SkillRef* Skill(int n) const;

    int ItemCount() const { return static_cast<int>(m_items.size()); }
    int SkillCount() const { return static_cast<int>(m_skills.size()); }

private:
    std::vector<ItemRef> m_items;
    std::vector<SkillRef> m_skills;
};
