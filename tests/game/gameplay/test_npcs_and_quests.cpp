#include <gtest/gtest.h>

#include "core/random.h"
#include "gameplay/data_tables.h"
#include "gameplay/inventory.h"
#include "gameplay/map_actors.h"
#include "gameplay/npc.h"
#include "gameplay/npc_picture_cache.h"
#include "gameplay/npc_state.h"
#include "gameplay/quest_rules.h"
#include "shared/gbk.h"
#include "world/terrain.h"

namespace {

NpcPictureCache CountingCache(std::vector<std::string>& loaded) {
    return NpcPictureCache([&loaded](const std::string& folder, int count) {
        loaded.push_back(folder + "/" + std::to_string(count));
        NpcPictures p;
        // Frame k of a folder is (10 * count + k) wide, so a test sees which load it got.
        for (int k = 0; k < count; ++k) p.frames.push_back(FrameInfo{0, 0, 0, 10 * count + k, 90, 0, 0});
        return p;
    });
}

TEST(NpcPictureCache, OneFolderLoadsOnceAndDifferentFrameCountsLoadApart) {
    std::vector<std::string> loaded;
    NpcPictureCache cache = CountingCache(loaded);
    const NpcPictures& a = cache.Get("village", 4);
    const NpcPictures& b = cache.Get("village", 4);
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(cache.loads(), 1);
    // Same folder, more frames: never served from the four-frame entry.
    const NpcPictures& c = cache.Get("village", 6);
    ASSERT_EQ(c.frames.size(), 6u);
    EXPECT_EQ(c.frames[5].width, 65);
    EXPECT_EQ(cache.Get("village", 4).frames.size(), 4u);
    EXPECT_EQ(loaded, (std::vector<std::string>{"village/4", "village/6"}));
}

struct NpcFixture : ::testing::Test {
    DataTables tables;
    Terrain terrain;
    std::vector<std::string> loaded;
    NpcPictureCache cache = CountingCache(loaded);
    NpcArt art;

    void SetUp() override {
        tables.AppendNpc(NpcRow{1, gbk::Lit("村长"), "v", "v.lua", 4, 30, 0});
        tables.AppendNpc(NpcRow{2, gbk::Lit("铁匠"), "v", "s.lua", 4, 30, 12});
        terrain.squares = {{100, 500, 400, 20, 0}, {600, 300, 200, 20, 0}};
        art.plateWidth = {9, 4, 9};
        art.plateHeight = {18, 18, 18};
    }
    static wdm::EventRecord NpcEvent(int id, int ground, double offset) {
        return {0, 0, 20, 20, wdm::kEventNpc, wdm::FormatDetail(wdm::NpcDetail{id, ground, offset})};
    }
};

TEST_F(NpcFixture, PlacementUsesTheFirstFrameGroundZeroAndTheUpwardOffset) {
    MapActors actors;
    Random random(7);
    actors.Create({NpcEvent(1, 1, 30), NpcEvent(2, 0, 5), NpcEvent(1, 2, -1)}, terrain, tables, 2, &random);
    ASSERT_EQ(actors.npcs.size(), 3u);
    for (auto& npc : actors.npcs) {
        const NpcRow* row = tables.npcs.At(npc->number());
        npc->Init(cache.Get(row->folder, row->frameCount), art, "-- script", 7);
    }
    EXPECT_EQ(cache.loads(), 1);  // two NPCs of one folder load it once
    const Npc& head = *actors.npcs[0];
    EXPECT_FLOAT_EQ(head.x(), 130);
    EXPECT_EQ(head.width(), 40);  // the first frame's rectangle
    EXPECT_EQ(head.height(), 90);
    EXPECT_FLOAT_EQ(head.y(), 500 - 90);
    // Ground 0 is the start ground (2 here); the row raises the NPC 12 px.
    const Npc& smith = *actors.npcs[1];
    EXPECT_FLOAT_EQ(smith.x(), 605);
    EXPECT_FLOAT_EQ(smith.y(), 300 - 90 - 12);
    // Offset -1: somewhere on its square.
    const Npc& random1 = *actors.npcs[2];
    EXPECT_GE(random1.x(), 600);
    EXPECT_LT(random1.x(), 800);
    // The name plate's middle grows by a character width per byte.
    EXPECT_FLOAT_EQ(head.plateWidth(), 9 + 4 + 4 * 7 + 9);
    // The click box is the NPC's rectangle in map coordinates.
    EXPECT_TRUE(head.Contains(130, 410));
    EXPECT_TRUE(head.Contains(169.5f, 499));
    EXPECT_FALSE(head.Contains(170, 450));
    EXPECT_FALSE(head.Contains(150, 409));
}

TEST(QuestRules, TheGoldQuestCompletesAtExactlyTenThousand) {
    NpcState npcs;
    for (int i = 0; i < 5; ++i) npcs.Append();
    QuestLog log;
    // Not in the log: nothing follows the gold.
    EXPECT_FALSE(quest_rules::ApplyGoldQuest(log, 500, npcs));
    EXPECT_EQ(npcs.At(3)->questVariable, 0);
    log.Set(4, quest_rules::kGoldQuest);
    EXPECT_FALSE(quest_rules::ApplyGoldQuest(log, 9999, npcs));
    EXPECT_EQ(npcs.At(3)->questVariable, 9999);
    EXPECT_EQ(npcs.At(5)->questState, 0);
    EXPECT_TRUE(quest_rules::ApplyGoldQuest(log, 10000, npcs));
    EXPECT_EQ(npcs.At(5)->questState, 2);
    // More gold is capped at the target and reports no new change.
    EXPECT_FALSE(quest_rules::ApplyGoldQuest(log, 25000, npcs));
    EXPECT_EQ(npcs.At(3)->questVariable, 10000);
}

TEST(QuestRules, TheGoldRuleIsSkippedWithFewerThanFiveNpcs) {
    NpcState npcs;
    for (int i = 0; i < 4; ++i) npcs.Append();
    QuestLog log;
    log.Set(1, quest_rules::kGoldQuest);
    EXPECT_FALSE(quest_rules::ApplyGoldQuest(log, 20000, npcs));
    EXPECT_EQ(npcs.At(3)->questVariable, 0);
}

}  // namespace
