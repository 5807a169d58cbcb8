// The data tables: row numbering, bounds-checked lookups, item lookup by
// name and the NPC state records that grow with the NPC table.

#include "gameplay/data_tables.h"
#include "gameplay/item_templates.h"

#include <gtest/gtest.h>

namespace {

TEST(DataTables, RowsAreNumberedFromOneInAppendOrder) {
    DataTables t;
    EXPECT_EQ(t.maps.Append({7, "a.Wdm", ""}), 1);
    EXPECT_EQ(t.maps.Append({3, "b.Wdm", ""}), 2);
    ASSERT_NE(t.maps.At(1), nullptr);
    EXPECT_EQ(t.maps.At(1)->fileName, "a.Wdm");  // by position, not by the number column
    EXPECT_EQ(t.maps.At(2)->number, 3);
}

TEST(DataTables, LookupsOutsideATableFindNothing) {
    DataTables t;
    t.items.Append(ItemRow{});
    t.skills.Append(SkillRow{});
    t.AppendNpc(NpcRow{});
    t.monsters.Append(MonsterRow{});
    t.quests.Append(QuestRow{});
    for (int k : {0, -1, 2, 1000000, -2147483647 - 1}) {
        EXPECT_EQ(t.items.At(k), nullptr) << k;
        EXPECT_EQ(t.skills.At(k), nullptr) << k;
        EXPECT_EQ(t.maps.At(k), nullptr) << k;
        EXPECT_EQ(t.npcs.At(k), nullptr) << k;
        EXPECT_EQ(t.monsters.At(k), nullptr) << k;
        EXPECT_EQ(t.quests.At(k), nullptr) << k;
        EXPECT_EQ(t.npcState.At(k), nullptr) << k;
    }
    EXPECT_NE(t.items.At(1), nullptr);
    EXPECT_EQ(t.maps.At(1), nullptr);  // empty table
}

TEST(DataTables, ItemsByNameTakeTheFirstMatch) {
    DataTables t;
    ItemRow a;
    a.name = "potion";
    a.price = 1;
    ItemRow b = a;
    b.price = 2;
    ItemRow c;
    c.name = "sword";
    t.items.Append(c);
    t.items.Append(a);
    t.items.Append(b);
    EXPECT_EQ(t.FindItem("potion"), 2);
    ASSERT_NE(t.ItemByName("potion"), nullptr);
    EXPECT_EQ(t.ItemByName("potion")->price, 1);
    EXPECT_EQ(t.FindItem("Potion"), 0);  // byte for byte
    EXPECT_EQ(t.FindItem(""), 0);
    EXPECT_EQ(t.ItemByName("shield"), nullptr);
}

TEST(DataTables, NpcStateGrowsWithTheNpcTableZeroed) {
    DataTables t;
    EXPECT_EQ(t.AppendNpc(NpcRow{}), 1);
    t.npcState.At(1)->variable = 5;
    EXPECT_EQ(t.AppendNpc(NpcRow{}), 2);
    EXPECT_EQ(t.npcs.Count(), t.npcState.Count());
    const NpcStateRecord* second = t.npcState.At(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->variable, 0);
    EXPECT_EQ(second->questState, 0);
    EXPECT_EQ(second->questVariable, 0);
    EXPECT_EQ(t.npcState.At(1)->variable, 5);
}

TEST(DataTables, ConsumablesReadRestoredPointsFromTheAttackColumns) {
    ItemRow potion;
    potion.minPhysAttack = 30;
    potion.maxPhysAttack = 15;
    EXPECT_EQ(potion.hpRestored(), 30);
    EXPECT_EQ(potion.mpRestored(), 15);
}

}  // namespace

namespace {

// Templates cover every row, however many, numbered by row position; no
// number outside the tables finds one.
TEST(ItemTemplates, OnePerRowBeyondTheOldFixedCountsAndNothingOutside) {
    DataTables t;
    for (int i = 1; i <= 30; ++i) {
        ItemRow row;
        row.number = 100 + i;  // a number column that disagrees with the row
        row.icon = 60 - i;
        t.items.Append(row);
    }
    for (int i = 1; i <= 7; ++i) {
        SkillRow row;
        row.icon = i * 2;
        t.skills.Append(row);
    }
    ItemTemplates templates;
    templates.Build(t);
    EXPECT_EQ(templates.ItemCount(), 30);
    EXPECT_EQ(templates.SkillCount(), 7);
    ASSERT_NE(templates.Item(30), nullptr);
    EXPECT_EQ(templates.Item(30)->itemNumber, 30);
    EXPECT_EQ(templates.Item(30)->icon, 30);
    EXPECT_EQ(templates.Item(24)->icon, 36);
    ASSERT_NE(templates.Skill(7), nullptr);
    EXPECT_EQ(templates.Skill(7)->skillNumber, 7);
    EXPECT_EQ(templates.Skill(7)->icon, 14);
    for (int n : {0, -1, 31, 1 << 30}) EXPECT_EQ(templates.Item(n), nullptr) << n;
    for (int n : {0, -5, 8}) EXPECT_EQ(templates.Skill(n), nullptr) << n;

    // A row appended after the build gets its template when asked, and the
    // templates handed out before stay where they were.
    const ItemRef* first = templates.Item(1);
    ItemRow late;
    late.icon = 77;
    t.items.Append(late);
    ASSERT_NE(templates.Item(31), nullptr);
    EXPECT_EQ(templates.Item(31)->itemNumber, 31);
    EXPECT_EQ(templates.Item(31)->icon, 77);
    EXPECT_EQ(templates.ItemCount(), 31);
    EXPECT_EQ(templates.Item(1), first);
    EXPECT_EQ(templates.Item(32), nullptr);

    // A rebuild replaces the old templates rather than adding to them.
    const DataTables empty;
    templates.Build(empty);
    EXPECT_EQ(templates.ItemCount(), 0);
    EXPECT_EQ(templates.Item(1), nullptr);
}

}  // namespace
