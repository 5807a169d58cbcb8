// The content pack's tables and scripts load cleanly and keep the item,
// NPC and quest numbers the game relies on.

#include "script_test_support.h"
#include "test_dirs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

fs::path ScriptFolder() { return fs::path(test_dirs::ContentSource()) / "data" / fs::u8path("脚本"); }

// A content source (UTF-8 on disk) as the game reads it after the build
// converted it: GBK.
std::string ReadSource(const std::string& utf8RelativePath) {
    std::ifstream in(ScriptFolder() / fs::u8path(utf8RelativePath), std::ios::binary);
    EXPECT_TRUE(in.good()) << utf8RelativePath;
    std::ostringstream text;
    text << in.rdbuf();
    return gbk::FromUtf8(text.str());
}

class BundledContentTest : public ::testing::Test, public ScriptFixtureBase {
protected:
    void SetUp() override {
        for (const char* file : {"Goods.csv", "Magic.csv", "Map.csv", "Npc.csv", "Monster.csv", "Quest.csv"}) {
            EXPECT_TRUE(runtime.RunScriptText(ReadSource(file))) << file;
        }
        runtime.BuildTemplates();  // as loading does after the six tables
        runtime.SetLevelUpScript(ReadSource("Levelup.lua"));
    }
    std::string ItemName(int k) {
        const ItemRow* row = runtime.tables().items.At(k);
        return row != nullptr ? gbk::ToUtf8(row->name) : std::string("<none>");
    }
};

TEST_F(BundledContentTest, TablesLoadWithoutAnyMessage) {
    EXPECT_TRUE(messages.empty()) << messages.front().text;
    const DataTables& t = runtime.tables();
    EXPECT_GE(t.items.Count(), 23);
    EXPECT_GE(t.skills.Count(), 1);
    EXPECT_EQ(t.maps.Count(), 4);
    EXPECT_GE(t.npcs.Count(), 5);  // the gold quest uses NPCs 3 and 5
    EXPECT_EQ(t.npcState.Count(), t.npcs.Count());
    EXPECT_EQ(t.monsters.Count(), 3);
    EXPECT_GE(t.quests.Count(), 3);
    // Every item and skill row can go into a slot.
    EXPECT_EQ(runtime.templates().ItemCount(), t.items.Count());
    EXPECT_EQ(runtime.templates().SkillCount(), t.skills.Count());
}

TEST_F(BundledContentTest, NumberColumnsEqualRowPositions) {
    // A row with a missing or extra column would shift its number too.
    const DataTables& t = runtime.tables();
    for (int k = 1; k <= t.items.Count(); ++k) EXPECT_EQ(t.items.At(k)->number, k) << ItemName(k);
    for (int k = 1; k <= t.skills.Count(); ++k) EXPECT_EQ(t.skills.At(k)->number, k);
    for (int k = 1; k <= t.maps.Count(); ++k) EXPECT_EQ(t.maps.At(k)->number, k);
    for (int k = 1; k <= t.npcs.Count(); ++k) EXPECT_EQ(t.npcs.At(k)->number, k);
    for (int k = 1; k <= t.monsters.Count(); ++k) EXPECT_EQ(t.monsters.At(k)->number, k);
    for (int k = 1; k <= t.quests.Count(); ++k) EXPECT_EQ(t.quests.At(k)->number, k);
    for (int k = 1; k <= t.items.Count(); ++k) {
        EXPECT_GE(t.items.At(k)->icon, 1);
        EXPECT_LE(t.items.At(k)->icon, 60);
    }
    for (int k = 1; k <= t.skills.Count(); ++k) {
        EXPECT_GE(t.skills.At(k)->icon, 1);
        EXPECT_LE(t.skills.At(k)->icon, 5);
    }
}

TEST_F(BundledContentTest, FixedItemNumbers) {
    const DataTables& t = runtime.tables();
    EXPECT_EQ(ItemName(16), "金币");
    for (int k : {17, 18, 19, 20, 21, 22}) {
        ASSERT_NE(t.items.At(k), nullptr) << k;
        EXPECT_EQ(t.items.At(k)->category, ItemRow::kConsumable) << ItemName(k);
    }
    for (int k : {17, 18, 19}) EXPECT_GT(t.items.At(k)->hpRestored() + t.items.At(k)->mpRestored(), 0) << k;
    EXPECT_EQ(ItemName(22), "雷电术书");
    EXPECT_NE(t.FindItem(gbk::FromUtf8("太阳神水")), 0);
    const int broom = t.FindItem(gbk::FromUtf8("扫把"));
    ASSERT_NE(broom, 0);
    EXPECT_EQ(t.items.At(broom)->category, 1);

    std::set<int> categories;
    for (const ItemRow& row : t.items.rows()) categories.insert(row.category);
    for (int category = 1; category <= 15; ++category) EXPECT_TRUE(categories.count(category)) << category;
    std::set<std::string> names;
    for (const ItemRow& row : t.items.rows()) EXPECT_TRUE(names.insert(row.name).second) << gbk::ToUtf8(row.name);
}

TEST_F(BundledContentTest, MapsMonstersAndSkills) {
    const DataTables& t = runtime.tables();
    EXPECT_EQ(t.maps.At(1)->fileName, gbk::FromUtf8("新手村1.Wdm"));
    EXPECT_EQ(t.maps.At(2)->fileName, gbk::FromUtf8("新手村2.Wdm"));
    EXPECT_EQ(t.maps.At(3)->fileName, gbk::FromUtf8("林间小路.Wdm"));
    EXPECT_EQ(t.maps.At(4)->fileName, gbk::FromUtf8("山顶神社.Wdm"));
    std::set<int> kinds;
    for (const MonsterRow& row : t.monsters.rows()) kinds.insert(row.kind);
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2}));
    bool thunder = false;
    for (const SkillRow& row : t.skills.rows()) thunder = thunder || row.name == gbk::FromUtf8("雷电术");
    EXPECT_TRUE(thunder);
}

TEST_F(BundledContentTest, MainScriptEquipsTheBroomAndMarksQuests) {
    ASSERT_TRUE(runtime.RunScriptText(ReadSource("Main.lua")));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(services.equipment[11], runtime.tables().FindItem(gbk::FromUtf8("扫把")));
    EXPECT_GT(services.OccupiedBagSlots(), 0);
    EXPECT_EQ(runtime.tables().npcState.At(1)->questState, 1);
    EXPECT_EQ(TypeOf("发奖励"), "function");
}

TEST_F(BundledContentTest, LevelUpScriptOffersTheHuntersQuests) {
    services.level = 1;  // the script runs before the level goes up
    ASSERT_TRUE(runtime.RunLevelUp());
    EXPECT_TRUE(messages.empty());
    ASSERT_FALSE(services.banners.empty());
    EXPECT_EQ(runtime.tables().npcState.At(4)->questState, 1);

    // Quest 2 done, level 4 -> 5: the boar quest becomes available.
    runtime.tables().npcState.At(4)->questState = 0;
    runtime.tables().npcState.At(4)->variable = 2;
    services.level = 4;
    ASSERT_TRUE(runtime.RunLevelUp());
    EXPECT_EQ(runtime.tables().npcState.At(4)->questState, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(BundledContentTest, MonsterDeathScriptsRun) {
    for (const char* file : {"Monster/野狗.lua", "Monster/树妖.lua", "Monster/野猪王.lua"}) {
        EXPECT_TRUE(runtime.mainState().RunText(ReadSource(file))) << file;
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
