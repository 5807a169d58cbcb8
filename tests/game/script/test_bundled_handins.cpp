// Every hand-in of the bundled NPC scripts checks the goods right before it
// takes them and pays: with the goods gone while the dialog was open, it
// pays nothing, takes nothing and says what is missing. A choice that takes
// a quest does nothing when the quest was taken meanwhile.

#include "script_test_support.h"
#include "test_dirs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadSource(const std::string& utf8RelativePath) {
    std::ifstream in(fs::path(test_dirs::ContentSource()) / "data" / fs::u8path("脚本") /
                         fs::u8path(utf8RelativePath),
                     std::ios::binary);
    EXPECT_TRUE(in.good()) << utf8RelativePath;
    std::ostringstream text;
    text << in.rdbuf();
    return gbk::FromUtf8(text.str());
}

class BundledHandInTest : public ::testing::Test, public ScriptFixtureBase {
protected:
    void SetUp() override {
        for (const char* file : {"Goods.csv", "Magic.csv", "Map.csv", "Npc.csv", "Monster.csv", "Quest.csv"})
            ASSERT_TRUE(runtime.RunScriptText(ReadSource(file))) << file;
        runtime.BuildTemplates();
        ASSERT_TRUE(runtime.RunScriptText(ReadSource("Main.lua")));
        for (int& slot : services.bag) slot = 0;  // the starting gifts out of the way
        services.chat.clear();
    }
    NpcStateRecord& Npc(int n) { return *runtime.tables().npcState.At(n); }
    int Item(const char* utf8Name) { return runtime.tables().FindItem(gbk::FromUtf8(utf8Name)); }
    void Give(const char* utf8Name, int count) {
        for (int slot = 1; slot <= ScriptServices::kBagSlots && count > 0; ++slot)
            if (services.bag[slot] == 0) {
                services.bag[slot] = Item(utf8Name);
                --count;
            }
    }
    int Held(const char* utf8Name) {
        int n = 0;
        for (int slot = 1; slot <= ScriptServices::kBagSlots; ++slot) n += services.bag[slot] == Item(utf8Name);
        return n;
    }
    // The dialog's choice: the NPC script again, then the function.
    void Choose(const char* utf8Script, const char* utf8Function) {
        ASSERT_TRUE(runtime.RunDialogFunction(ReadSource(utf8Script), gbk::FromUtf8(utf8Function)));
        EXPECT_TRUE(messages.empty()) << messages.front().text;
    }
    bool ChatHas(const std::string& text) {
        for (const ChatLine& line : services.chat)
            if (line.text == text) return true;
        return false;
    }
    void ExpectNothingPaid() {
        EXPECT_EQ(services.experience, 0);
        EXPECT_EQ(services.gold, 0);
        EXPECT_EQ(services.level, 1);
    }
    void AddQuest(int quest) {
        for (int slot = 1; slot <= ScriptServices::kQuestSlots; ++slot)
            if (services.quests[slot] == 0) {
                services.quests[slot] = quest;
                return;
            }
    }
};

TEST_F(BundledHandInTest, TheVillageHeadCountsTheSkinsBeforePaying) {
    AddQuest(1);
    Npc(1).variable = 1;
    Give("野狗皮", 1);  // two of the three were dropped while the dialog was open
    Choose("村长.lua", "村长_交任务");
    ExpectNothingPaid();
    EXPECT_EQ(Held("野狗皮"), 1);
    EXPECT_EQ(Npc(1).variable, 1);
    EXPECT_TRUE(ChatHas("交任务还差 2 张野狗皮"));
    EXPECT_NE(services.prompt.find("还差 2 张"), std::string::npos) << services.prompt;

    Give("野狗皮", 2);
    Choose("村长.lua", "村长_交任务");
    EXPECT_EQ(services.experience, 200);
    EXPECT_EQ(services.gold, 100);
    EXPECT_EQ(Held("野狗皮"), 0);
    EXPECT_EQ(Npc(1).variable, 2);
}

TEST_F(BundledHandInTest, TheHuntersTwoHandInsCountTheirGoodsBeforePaying) {
    AddQuest(2);
    Npc(4).variable = 1;
    Choose("猎人.lua", "猎人_交任务一");
    ExpectNothingPaid();
    EXPECT_EQ(Held("皮帽"), 0);
    EXPECT_TRUE(ChatHas("交任务还差 3 根树妖的枝条"));

    services.quests = {};
    AddQuest(4);
    Npc(4).variable = 3;
    Choose("猎人.lua", "猎人_交任务二");
    ExpectNothingPaid();
    EXPECT_EQ(Held("铁剑"), 0);
    EXPECT_EQ(Npc(4).variable, 3);
    EXPECT_TRUE(ChatHas("交任务还差 1 颗野猪獠牙"));

    Give("野猪獠牙", 1);
    Choose("猎人.lua", "猎人_交任务二");
    EXPECT_EQ(services.experience, 1000);
    EXPECT_EQ(Held("铁剑"), 1);
    EXPECT_EQ(Held("野猪獠牙"), 0);
}

TEST_F(BundledHandInTest, TheBankerPaysOnlyWhileTheGoldIsStillThere) {
    AddQuest(3);
    Npc(3).questVariable = 9000;  // the gold dropped below 10000 while the dialog was open
    Choose("掌柜.lua", "掌柜_交任务");
    EXPECT_EQ(Held("太阳神水"), 0);
    EXPECT_EQ(services.quests[1], 3);
    EXPECT_TRUE(ChatHas("领赏还差 1000 金币"));
}

TEST_F(BundledHandInTest, AQuestIsTakenOnceEvenFromAStaleChoice) {
    Choose("村长.lua", "村长_接任务");
    Choose("村长.lua", "村长_接任务");
    int taken = 0;
    for (int slot = 1; slot <= ScriptServices::kQuestSlots; ++slot) taken += services.quests[slot] == 1;
    EXPECT_EQ(taken, 1);
    Choose("猎人.lua", "猎人_接任务一");
    Choose("猎人.lua", "猎人_接任务一");
    Choose("商人.lua", "阿福_接任务");
    Choose("商人.lua", "阿福_接任务");
    taken = 0;
    for (int slot = 1; slot <= ScriptServices::kQuestSlots; ++slot)
        taken += services.quests[slot] == 2 || services.quests[slot] == 3;
    EXPECT_EQ(taken, 2);
}

}  // namespace
