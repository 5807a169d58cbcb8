// The script command set: registration, argument reading and what each
// command does to the game through the services.

#include "script_test_support.h"

#include "script/script_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ScriptCommandsTest : public ::testing::Test, public ScriptFixtureBase {
protected:
    // Two items, the second one twice under the same name.
    void LoadItems() {
        ASSERT_TRUE(RunMain(R"(
            初始物品(1,"扫把",1,3,0,0,0,0,0,0,0,0,0,0,0,0,10,1,"扫地用的",1)
            初始物品(2,"小红药水",30,0,0,0,0,0,0,0,0,0,0,0,0,0,20,17,"回复生命",13)
            初始物品(3,"小红药水",50,0,0,0,0,0,0,0,0,0,0,0,0,0,40,18,"同名的第二行",13)
        )"));
        runtime.BuildTemplates();
    }
    void LoadNpcs(int count) {
        for (int i = 1; i <= count; ++i) {
            ASSERT_TRUE(RunMain("初始NPC(" + std::to_string(i) + ",\"n\",\"f\",\"s.lua\",4,30,0)"));
        }
    }
};

TEST_F(ScriptCommandsTest, RegistersThirtyEightMainAndNineLevelUpCommands) {
    EXPECT_EQ(MainStateCommands().size(), 38u);
    EXPECT_EQ(LevelUpStateCommands().size(), 9u);
    for (const ScriptCommandEntry& e : MainStateCommands()) EXPECT_EQ(TypeOf(e.utf8Name), "function") << e.utf8Name;
    ScriptState* levelUp = &runtime.levelUpState();
    for (const ScriptCommandEntry& e : LevelUpStateCommands()) {
        EXPECT_EQ(TypeOf(e.utf8Name, levelUp), "function") << e.utf8Name;
    }
    EXPECT_EQ(TypeOf("取NPC任务状态"), "nil");  // level-up state only
    EXPECT_EQ(TypeOf("初始物品", levelUp), "nil");
    EXPECT_EQ(TypeOf("ARGB", levelUp), "nil");
}

TEST_F(ScriptCommandsTest, ArgbBuildsSigned32BitColours) {
    ASSERT_TRUE(RunMain("red = ARGB(255,255,0,0) green = ARGB(255,0,255,0) half = ARGB(127,1,2,3)"));
    EXPECT_EQ(Number("red"), -65536.0);
    EXPECT_EQ(static_cast<std::uint32_t>(ScriptState::TruncateToInt(Number("green"))), 0xFF00FF00u);
    EXPECT_EQ(Number("half"), double(0x7F010203));
}

TEST_F(ScriptCommandsTest, ArgumentsAreReadFromTheTop) {
    // A missing leading argument shifts every column: the number reads 0 and
    // the rest still land; an extra leading argument is ignored.
    ASSERT_TRUE(RunMain(R"(
        初始地图("a.Wdm","甲",0)
        初始地图(9,2,"b.Wdm","乙",0)
        初始地图("3.7",{},true,0)
        初始地图(-4.9,nil,"丙",0)
    )"));
    const DataTables& t = runtime.tables();
    ASSERT_EQ(t.maps.Count(), 4);
    EXPECT_EQ(t.maps.At(1)->number, 0);
    EXPECT_EQ(t.maps.At(1)->fileName, "a.Wdm");
    EXPECT_EQ(gbk::ToUtf8(t.maps.At(1)->note), "甲");
    EXPECT_EQ(t.maps.At(2)->number, 2);
    EXPECT_EQ(t.maps.At(2)->fileName, "b.Wdm");
    EXPECT_EQ(t.maps.At(3)->number, 3);  // numeric text, truncated
    EXPECT_EQ(t.maps.At(3)->fileName, "");  // a table is no text
    EXPECT_EQ(t.maps.At(3)->note, "");      // nor a boolean
    EXPECT_EQ(t.maps.At(4)->number, -4);
    EXPECT_EQ(t.maps.At(4)->fileName, "");
}

TEST_F(ScriptCommandsTest, RowCommandsFillEveryColumnInOrder) {
    ASSERT_TRUE(RunMain(R"(
        初始物品(1,"铁剑",5,9,1,2,3,4,6,7,8,10,11,12,13,3,150,2,"锋利",1)
        初始技能(1,"雷电术",2,2,1,10,5,3,16,"召唤雷电",1)
        初始NPC(1,"村长","村长","村长.lua",6,20,15)
        初始怪物(1,"野狗","野狗","野狗.lua",60,50,30.5,6.25,2.75,0,12)
        初始任务(1,"任务名","描述","提示","奖励","跟踪",0)
    )"));
    const DataTables& t = runtime.tables();
    const ItemRow* item = t.items.At(1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(gbk::ToUtf8(item->name), "铁剑");
    const int itemInts[] = {item->minPhysAttack,  item->maxPhysAttack,   item->minPhysDefence, item->maxPhysDefence,
                            item->minMagicAttack, item->maxMagicAttack,  item->minMagicDefence,
                            item->maxMagicDefence, item->strength,       item->agility,        item->accuracy,
                            item->intelligence,   item->constitution,    item->requiredLevel,  item->price,
                            item->icon};
    const int expectedInts[] = {5, 9, 1, 2, 3, 4, 6, 7, 8, 10, 11, 12, 13, 3, 150, 2};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(itemInts[i], expectedInts[i]) << "column " << i + 3;
    EXPECT_EQ(gbk::ToUtf8(item->description), "锋利");
    EXPECT_EQ(item->category, 1);

    const SkillRow* skill = t.skills.At(1);
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(gbk::ToUtf8(skill->name), "雷电术");
    EXPECT_EQ(skill->skillClass, 2);
    EXPECT_EQ(skill->requiredLevel, 2);
    EXPECT_EQ(skill->attackPercentPerPoint, 10);
    EXPECT_EQ(skill->staminaPerPoint, 5);
    EXPECT_EQ(skill->cooldown, 3);
    EXPECT_EQ(skill->reserved9, 16);
    EXPECT_EQ(gbk::ToUtf8(skill->description), "召唤雷电");
    EXPECT_EQ(skill->icon, 1);

    const NpcRow* npc = t.npcs.At(1);
    ASSERT_NE(npc, nullptr);
    EXPECT_EQ(gbk::ToUtf8(npc->scriptFile), "村长.lua");
    EXPECT_EQ(npc->frameCount, 6);
    EXPECT_EQ(npc->frameDuration, 20);
    EXPECT_EQ(npc->yOffset, 15);
    EXPECT_EQ(t.npcState.Count(), 1);

    const MonsterRow* monster = t.monsters.At(1);
    ASSERT_NE(monster, nullptr);
    EXPECT_EQ(monster->width, 60);
    EXPECT_EQ(monster->height, 50);
    EXPECT_FLOAT_EQ(monster->hitPoints, 30.5f);  // float columns are not truncated
    EXPECT_FLOAT_EQ(monster->attack, 6.25f);
    EXPECT_FLOAT_EQ(monster->defence, 2.75f);
    EXPECT_EQ(monster->kind, 0);
    EXPECT_EQ(monster->experience, 12);

    const QuestRow* quest = t.quests.At(1);
    ASSERT_NE(quest, nullptr);
    EXPECT_EQ(gbk::ToUtf8(quest->description), "描述");
    EXPECT_EQ(gbk::ToUtf8(quest->hint), "提示");
    EXPECT_EQ(gbk::ToUtf8(quest->reward), "奖励");
    EXPECT_EQ(gbk::ToUtf8(quest->tracking), "跟踪");
}

TEST_F(ScriptCommandsTest, RandomNumberDrawsFromTheGamesGeneratorWithoutReseeding) {
    Random expected(1234);  // same seed as the fixture's generator
    ASSERT_TRUE(RunMain("r = {} for i = 1, 20 do r[i] = 取随机数(1, 1000) end same = 取随机数(5, 5)"));
    lua_State* L = runtime.mainState().lua();
    for (int i = 1; i <= 20; ++i) {
        ASSERT_TRUE(RunMain("v = r[" + std::to_string(i) + "]"));
        EXPECT_EQ(Number("v"), expected.Int(1, 1000)) << i;
    }
    EXPECT_EQ(Number("same"), 5.0);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptCommandsTest, MsgShowsAScriptDebugBox) {
    ASSERT_TRUE(RunMain("msg('你好')"));
    ASSERT_TRUE(RunLevelUpState("msg(42)"));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "你好");
    EXPECT_EQ(messages[0].caption, "脚本调试");
    EXPECT_EQ(messages[1].text, "42");
}

TEST_F(ScriptCommandsTest, DialogCommands) {
    ASSERT_TRUE(RunMain("提示('要接受任务吗?') 选择项('接受@接受任务1', '离开@exit', '闲聊') exit()"));
    EXPECT_EQ(services.prompt, "要接受任务吗?");
    ASSERT_EQ(services.choices.size(), 3u);
    EXPECT_EQ(gbk::ToUtf8(services.choices[0].caption), "接受");
    EXPECT_EQ(gbk::ToUtf8(services.choices[0].action), "接受任务1");
    EXPECT_EQ(services.choices[1].action, "exit");
    EXPECT_EQ(gbk::ToUtf8(services.choices[2].caption), "闲聊");
    EXPECT_EQ(services.choices[2].action, "");
    EXPECT_TRUE(services.dialogClosed);
}

TEST_F(ScriptCommandsTest, BannerAndNoticeColours) {
    ASSERT_TRUE(RunMain(R"(
        屏幕信息('只有文字')
        屏幕信息('绿色', ARGB(255,0,255,0))
        屏幕信息('零色', 0)
        屏幕信息('100')
        普通信息('白色')
        普通信息('红色', ARGB(255,255,0,0))
    )"));
    RunLevelUpState("屏幕信息('升级了')");
    ASSERT_EQ(services.banners.size(), 5u);
    EXPECT_EQ(services.banners[0].text, "只有文字");
    EXPECT_EQ(services.banners[0].colour, 0xFFFFFF00u);
    EXPECT_EQ(services.banners[1].text, "绿色");
    EXPECT_EQ(services.banners[1].colour, 0xFF00FF00u);
    EXPECT_EQ(services.banners[2].text, "零色");  // the text, not the digit 0
    EXPECT_EQ(services.banners[2].colour, 0xFFFFFF00u);  // a zero colour means none given
    EXPECT_EQ(services.banners[3].text, "100");          // a lone argument is the text
    EXPECT_EQ(services.banners[3].colour, 0xFFFFFF00u);
    EXPECT_EQ(services.banners[4].text, "升级了");
    ASSERT_EQ(services.notices.size(), 2u);
    EXPECT_EQ(services.notices[0].colour, 0xFFFFFFFFu);
    EXPECT_EQ(services.notices[1].colour, 0xFFFF0000u);
}

TEST_F(ScriptCommandsTest, PlayerAttributes) {
    services.gold = 321;
    ASSERT_TRUE(RunMain("名 = 取主角属性('角色名') 钱 = 取主角属性('金币') 力 = 取主角属性('武力') 无 = 取主角属性('飞行')"));
    EXPECT_EQ(Text("名"), "小明");
    EXPECT_EQ(Number("钱"), 321.0);
    EXPECT_EQ(Number("力"), 7.0);
    EXPECT_EQ(TypeOf("无"), "nil");
    ASSERT_TRUE(RunLevelUpState("lv = 取主角属性('等级')"));
    EXPECT_EQ(Text("lv", &runtime.levelUpState()), "1");
}

TEST_F(ScriptCommandsTest, ExperienceLevelAndGold) {
    ASSERT_TRUE(RunMain("增加经验(15.9) 增加等级(2) 增加金币(-50) 增加金币(120) 增加金币(0)"));
    EXPECT_EQ(services.experience, 15);
    EXPECT_EQ(services.level, 3);
    ASSERT_EQ(services.banners.size(), 1u);
    EXPECT_EQ(services.banners[0].text, "[奖励]:等级 +2");
    EXPECT_EQ(services.gold, 70);
    ASSERT_EQ(services.chat.size(), 3u);
    EXPECT_EQ(services.chat[0].label, "[系统]");
    EXPECT_EQ(services.chat[0].text, "金币-50");
    EXPECT_EQ(services.chat[0].labelColour, 0xFFFF0000u);
    EXPECT_EQ(services.chat[1].text, "获得金币 +120");
    EXPECT_EQ(services.chat[2].text, "金币0");
}

TEST_F(ScriptCommandsTest, BagCommands) {
    LoadItems();
    ASSERT_TRUE(RunMain("增加物品('扫把', 40) 满 = 取物品数() 有 = 检查物品('扫把', 36) 多 = 检查物品('扫把', 37)"));
    EXPECT_EQ(services.OccupiedBagSlots(), 36);  // four copies dropped
    EXPECT_EQ(Number("满"), 36.0);
    EXPECT_EQ(TypeOf("有"), "boolean");
    ASSERT_TRUE(RunMain("assert(有 == true and 多 == false)"));

    services.bag = {};
    ASSERT_TRUE(RunMain("增加物品('小红药水', 1) 减少物品('小红药水', 3) 减少物品('不存在', 1) 无 = 检查物品('不存在', 0)"));
    EXPECT_EQ(services.OccupiedBagSlots(), 0);
    ASSERT_EQ(services.chat.size(), 1u);  // nothing for an unknown item
    EXPECT_EQ(services.chat[0].text, "失去 小红药水 x 3");
    ASSERT_TRUE(RunMain("assert(无 == false)"));
}

TEST_F(ScriptCommandsTest, DuplicateItemNamesFindTheFirstRow) {
    LoadItems();
    ASSERT_TRUE(RunMain("增加物品('小红药水', 2) 增加商店物品('小红药水', 1)"));
    EXPECT_EQ(services.bag[1], 2);
    EXPECT_EQ(services.bag[2], 2);
    EXPECT_EQ(services.shop[1], 2);
    EXPECT_EQ(runtime.tables().FindItem(gbk::FromUtf8("小红药水")), 2);
}

TEST_F(ScriptCommandsTest, ShopCommands) {
    LoadItems();
    ASSERT_TRUE(RunMain("增加商店物品('扫把', 50) 增加商店物品('没有的', 1)"));
    for (int s = 1; s <= ScriptServices::kShopSlots; ++s) EXPECT_EQ(services.shop[s], 1) << s;
    ASSERT_TRUE(RunMain("重置商店() 增加商店物品('扫把', 2) 打开商店()"));
    EXPECT_EQ(services.shop[1], 1);
    EXPECT_EQ(services.shop[2], 1);
    EXPECT_EQ(services.shop[3], 0);
    EXPECT_EQ(services.shownWindow, "交易窗口");
}

TEST_F(ScriptCommandsTest, EquipItem) {
    LoadItems();
    ASSERT_TRUE(RunMain("装备物品('武器', '扫把') 装备物品('头盔', '小红药水') 装备物品('翅膀', '扫把') 装备物品('武器', '金箍棒')"));
    EXPECT_EQ(services.equipment[11], 1);
    EXPECT_EQ(services.equipment[1], 2);  // neither category nor level is checked
    ASSERT_EQ(services.chat.size(), 1u);
    EXPECT_EQ(services.chat[0].text, "道具 金箍棒 不存在!");
}

// Slots receive copies of the templates; an item row added after the
// templates were built gets its own on first use, so every slot command
// takes it like the rows loaded before.
TEST_F(ScriptCommandsTest, SlotsReceiveTemplateCopiesAlsoOfRowsAddedLater) {
    LoadItems();
    ASSERT_TRUE(RunMain(R"(
        初始物品(4,"迟来的剑",1,3,0,0,0,0,0,0,0,0,0,0,0,0,10,40,"模板之后才加的",1)
        增加物品('迟来的剑', 2) 增加商店物品('迟来的剑', 2) 装备物品('武器', '迟来的剑')
        增加物品('小红药水', 1) 增加商店物品('扫把', 1)
    )"));
    EXPECT_EQ(runtime.tables().items.Count(), 4);
    EXPECT_EQ(runtime.templates().ItemCount(), 4);
    EXPECT_EQ(services.OccupiedBagSlots(), 3);
    EXPECT_EQ(services.bag[1], 4);
    EXPECT_EQ(services.bag[2], 4);
    EXPECT_EQ(services.shop[2], 4);
    EXPECT_EQ(services.shop[3], 1);
    EXPECT_EQ(services.equipment[11], 4);
    EXPECT_TRUE(services.chat.empty());  // the item exists, so no "不存在" line
    ASSERT_EQ(services.placed.size(), 7u);
    // Number and icon column of the row the name found (icon 40 of row 4,
    // icon 17 of row 2).
    EXPECT_EQ(services.placed[0].itemNumber, 4);
    EXPECT_EQ(services.placed[0].icon, 40);
    EXPECT_EQ(services.placed[5].itemNumber, 2);
    EXPECT_EQ(services.placed[5].icon, 17);
    EXPECT_EQ(services.placed[6].itemNumber, 1);
    EXPECT_EQ(services.placed[6].icon, 1);
}

TEST_F(ScriptCommandsTest, NpcVariablesInBothStates) {
    LoadNpcs(2);
    ASSERT_TRUE(RunMain("a = 取NPC变量(1) 置NPC变量(2, 9) NPC任务更新(2, 1) 置任务变量(2, 5) 置任务变量(2, 5) "
                    "q = 取任务变量(2) 外 = 取NPC变量(3) 置NPC变量(0, 1) 置任务变量(99, 1)"));
    EXPECT_EQ(TypeOf("a"), "number");
    EXPECT_EQ(Number("a"), 0.0);
    EXPECT_EQ(Number("q"), 10.0);  // added, not assigned
    EXPECT_EQ(TypeOf("外"), "number");  // an NPC outside the table reads 0
    EXPECT_EQ(Number("外"), 0.0);
    const NpcStateRecord* npc2 = runtime.tables().npcState.At(2);
    ASSERT_NE(npc2, nullptr);
    EXPECT_EQ(npc2->variable, 9);
    EXPECT_EQ(npc2->questState, 1);

    ScriptState* levelUp = &runtime.levelUpState();
    ASSERT_TRUE(RunLevelUpState("a = 取NPC变量(1) b = 取NPC变量(2) s = 取NPC任务状态(2) 置NPC变量(1, 4) NPC任务更新(1, 2)"));
    EXPECT_EQ(TypeOf("a", levelUp), "string");
    EXPECT_EQ(Text("a", levelUp), "0");
    EXPECT_EQ(Text("b", levelUp), "9");
    EXPECT_EQ(Text("s", levelUp), "1");
    EXPECT_EQ(runtime.tables().npcState.At(1)->variable, 4);
    EXPECT_EQ(runtime.tables().npcState.At(1)->questState, 2);
}

TEST_F(ScriptCommandsTest, QuestLog) {
    // A quest outside the quest table never enters the log.
    ASSERT_TRUE(RunMain("增加任务(1) 增加任务(0) 外 = 取任务(1)"));
    ASSERT_TRUE(RunMain("assert(外 == false)"));
    ASSERT_TRUE(RunMain("for i = 1, 12 do 初始任务(i,'q','d','h','r','t',0) end"));
    ASSERT_TRUE(RunMain("增加任务(7) 增加任务(7) 结束任务(7) 有 = 取任务(7) 结束任务(7) 无 = 取任务(7)"));
    ASSERT_TRUE(RunMain("assert(有 == true and 无 == false)"));
    ASSERT_TRUE(RunMain("增加任务(13) for i = 1, 12 do 增加任务(i) end"));
    for (int s = 1; s <= ScriptServices::kQuestSlots; ++s) EXPECT_EQ(services.quests[s], s) << s;
    ASSERT_TRUE(RunLevelUpState("assert(取任务(10) == true and 取任务(11) == false)"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ScriptCommandsTest, EffectsAndDrops) {
    ASSERT_TRUE(RunMain("屏幕特效(100, 200.5, 3, 0, 1, ARGB(255,255,0,0)) 角色特效(2, 2, 0) 角色特效(5, 1, 1, 16) "
                    "掉落物品('扫把', 40, 50)"));
    ASSERT_EQ(services.effects.size(), 3u);
    const SpawnedEffect& screen = services.effects[0];
    EXPECT_EQ(screen.mode, 1);
    EXPECT_EQ(screen.effect, 3);
    EXPECT_FLOAT_EQ(screen.y, 200.5f);
    EXPECT_EQ(screen.repeat, 0);
    EXPECT_EQ(screen.backAndForth, 1);
    EXPECT_EQ(screen.colour, 0xFFFF0000u);
    EXPECT_EQ(services.effects[1].mode, 2);
    EXPECT_EQ(services.effects[1].effect, 2);
    EXPECT_EQ(services.effects[1].colour, 0u);
    EXPECT_EQ(services.effects[2].effect, 5);
    EXPECT_EQ(services.effects[2].backAndForth, 1);
    EXPECT_EQ(services.effects[2].colour, 16u);
    ASSERT_EQ(services.drops.size(), 1u);
    EXPECT_EQ(services.drops[0].text, "扫把@40,50");
}

TEST(ScriptCommandsDefaults, WithoutGameServicesCommandsDoNothing) {
    std::vector<std::string> shown;
    Random random(1);
    ScriptRuntime runtime(random, [&](const std::string& t, const std::string&) { shown.push_back(t); });
    runtime.CreateStates();
    ASSERT_TRUE(runtime.RunScriptText(gbk::FromUtf8(R"(
        初始物品(1,"扫把",1,3,0,0,0,0,0,0,0,0,0,0,0,0,10,1,"扫地用的",1)
        增加物品('扫把', 1e9) 增加商店物品('扫把', 1e9) 减少物品('扫把', 1e9)
        assert(取物品数() == 0 and 检查物品('扫把', 1) == false and 取主角属性('等级') == 0)
        增加金币(5) 增加任务(1) assert(取任务(1) == false)
        选择项('a@b') 提示('x') exit() 打开商店() 屏幕特效(1,2,3,4,5,6) 掉落物品('扫把', 1, 2)
    )")));
    EXPECT_TRUE(shown.empty());
}

}  // namespace
