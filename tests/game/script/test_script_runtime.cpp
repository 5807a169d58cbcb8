// The script host as the game loads it: the data-file treatment, the six
// tables from a data folder with broken files among them, and the
// level-up and dialog entry points.

#include "script_test_support.h"

#include "shared/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ScriptRuntimeTest : public ::testing::Test, public ScriptFixtureBase {
protected:
    ScriptRuntimeTest() {
        root = fs::temp_directory_path() /
               ("script_runtime_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / fs::u8path("脚本"));
    }
    ~ScriptRuntimeTest() override { fs::remove_all(root); }

    // Writes UTF-8 source as a GBK data file under 脚本/.
    void WriteScript(const std::string& utf8Name, const std::string& utf8Source) {
        std::ofstream out(root / fs::u8path("脚本") / fs::u8path(utf8Name), std::ios::binary);
        out << gbk::FromUtf8(utf8Source);
    }
    paths::DataPaths Paths() const { return paths::DataPaths("/nonexistent", root.string()); }

    fs::path root;
};

TEST_F(ScriptRuntimeTest, DoubleCommasAreRemovedLeftToRightWithoutRescanning) {
    ASSERT_TRUE(runtime.RunScriptText("four = {1,,,,2}"));  // ",,,," vanishes: {12}
    ASSERT_TRUE(runtime.RunScriptText("three = {1,,,2}"));  // ",,," leaves one comma
    ASSERT_TRUE(runtime.RunScriptText("n4 = #four v4 = four[1] n3 = #three"));
    EXPECT_EQ(Number("n4"), 1.0);
    EXPECT_EQ(Number("v4"), 12.0);
    EXPECT_EQ(Number("n3"), 2.0);
    ASSERT_TRUE(runtime.RunScriptText(gbk::FromUtf8("初始地图(1,\"新手村1.Wdm\",\"新手村\",0),,,,\n,,")));
    EXPECT_EQ(runtime.tables().maps.Count(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ScriptRuntimeTest, MissingFilesRunAsEmptyScripts) {
    EXPECT_TRUE(runtime.RunScriptFile((root / "nothing.csv").string()));
    runtime.LoadDataTables(Paths());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(runtime.tables().items.Count(), 0);
    EXPECT_EQ(runtime.levelUpScript(), "");
}

TEST_F(ScriptRuntimeTest, BrokenTablesAreReportedAndLoadingGoesOn) {
    WriteScript("Goods.csv", "初始物品(1,\"扫把\",1,3,0,0,0,0,0,0,0,0,0,0,0,0,10,1,\"扫把\",1),,,,\n");
    // A syntax error on the last line: the whole file is rejected.
    WriteScript("Magic.csv", "初始技能(1,\"雷电术\",2,2,0,10,5,3,16,\"雷\",1)\n初始技能(2,\"坏\"\n");
    // A runtime error after one row: that row stays, the rest is lost.
    WriteScript("Map.csv", "初始地图(1,\"新手村1.Wdm\",\"新手村\",0)\n未定义的函数()\n初始地图(2,\"x.Wdm\",\"x\",0)\n");
    WriteScript("Npc.csv", "初始NPC(1,\"村长\",\"村长\",\"村长.lua\",4,30,0)\n初始NPC(2,\"铁匠\",\"铁匠\",\"铁匠.lua\",4,30,0)\n");
    WriteScript("Monster.csv", "初始怪物(1,\"野狗\",\"野狗\",\"野狗.lua\",60,50,30,5,2,0,12)\n");
    WriteScript("Quest.csv", "初始任务(1,\"送信\",\"描述\",\"提示\",\"奖励\",\"跟踪\",0)\n");
    WriteScript("Levelup.lua", "-- 升级,,不去逗号\n屏幕信息('升级')\n");

    runtime.LoadDataTables(Paths());

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, "脚本错误");
    EXPECT_EQ(messages[0].text.rfind("预编译时句法错误！,错误码 ==", 0), 0u) << messages[0].text;
    EXPECT_EQ(messages[1].caption, "运行时出错");
    EXPECT_EQ(messages[1].text.rfind("运行错误！,错误码 ==", 0), 0u) << messages[1].text;

    const DataTables& t = runtime.tables();
    EXPECT_EQ(t.items.Count(), 1);
    EXPECT_EQ(t.skills.Count(), 0);
    EXPECT_EQ(t.maps.Count(), 1);
    EXPECT_EQ(t.npcs.Count(), 2);  // the files after the failures still ran
    EXPECT_EQ(t.npcState.Count(), 2);
    EXPECT_EQ(t.monsters.Count(), 1);
    EXPECT_EQ(t.quests.Count(), 1);
    // The level-up text is kept as read, commas and all, and not run yet.
    EXPECT_EQ(gbk::ToUtf8(runtime.levelUpScript()), "-- 升级,,不去逗号\n屏幕信息('升级')\n");
    EXPECT_TRUE(services.banners.empty());

    EXPECT_TRUE(runtime.RunLevelUp());
    ASSERT_EQ(services.banners.size(), 1u);
    EXPECT_EQ(services.banners[0].text, "升级");
}

TEST_F(ScriptRuntimeTest, LevelUpStateIsSeparateFromTheMainState) {
    ASSERT_TRUE(RunMain("shared_name = 1"));
    runtime.SetLevelUpScript(gbk::FromUtf8("seen = shared_name == nil 屏幕信息(tostring(seen))"));
    EXPECT_TRUE(runtime.RunLevelUp());
    ASSERT_EQ(services.banners.size(), 1u);
    EXPECT_EQ(services.banners[0].text, "true");
}

TEST_F(ScriptRuntimeTest, DialogFunctionRunsTheNpcScriptThenTheNamedFunction) {
    ASSERT_TRUE(RunMain("for i = 1, 3 do 初始任务(i,'q','d','h','r','t',0) end"));
    const std::string npcScript = gbk::FromUtf8("次数 = (次数 or 0) + 1\nfunction 接受任务() 增加任务(3) end\n");
    EXPECT_TRUE(runtime.RunDialogFunction(npcScript, gbk::FromUtf8("接受任务")));
    EXPECT_EQ(services.quests[1], 3);
    EXPECT_EQ(Number("次数"), 1.0);
    EXPECT_FALSE(runtime.RunDialogFunction(npcScript, gbk::FromUtf8("没有这个函数")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "LUA_运行时错误\r\n运行错误！");
    EXPECT_EQ(Number("次数"), 2.0);
}

TEST_F(ScriptRuntimeTest, CreatingTwiceRegistersOnce) {
    ASSERT_TRUE(RunMain("初始NPC(1,'a','b','c',1,1,1) marker = 1"));
    runtime.CreateStates();
    EXPECT_EQ(Number("marker"), 1.0);
    EXPECT_EQ(runtime.tables().npcs.Count(), 1);
}

}  // namespace
