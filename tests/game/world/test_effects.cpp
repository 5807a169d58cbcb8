#include <gtest/gtest.h>

#include "world/effect_library.h"
#include "world/running_effects.h"
#include "platform/engine.h"
#include "shared/gbk.h"
#include "shared/paths.h"

namespace {

class EffectsTest : public ::testing::Test {
protected:
    Engine engine;  // not initiated: frames have no textures, timing still runs
    paths::DataPaths dataPaths{"/nonexistent", "/nonexistent/data"};
    FrameCache cache{engine, dataPaths};

    Effect Entry(int frames, int duration = 10) {
        Effect e;
        e.Create(cache, gbk::Lit("命中"), frames, 1, frames, duration, 1, 0, 0, 0);
        return e;
    }
    static EffectContext Ctx(float dt) {
        EffectContext c;
        c.dt = dt;
        return c;
    }
};

TEST_F(EffectsTest, TwoSpawnsOfOneEntryAreIndependent) {
    RunningEffects list;
    Effect entry = Entry(4);
    EffectHandle a = list.Spawn(entry, 1, 10, 20, 0, 0, 0, 0);
    EffectHandle b = list.Spawn(entry, 1, 30, 40, 0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) list.Find(a)->UpdateAndDraw(Ctx(0.2f));
    EXPECT_EQ(list.Find(a)->animation().CurrentFrame(), 4);
    EXPECT_EQ(list.Find(a)->cycleCount(), 1);
    EXPECT_EQ(list.Find(b)->cycleCount(), 0);
    EXPECT_EQ(list.Find(b)->animation().StepCounter(), 0);
    EXPECT_FLOAT_EQ(list.Find(b)->x(), 30);
}

TEST_F(EffectsTest, RepeatOneStopsWhenTheLastFrameIsFirstReachedAndTheNextPassRemovesIt) {
    RunningEffects list;
    EffectHandle h = list.Spawn(Entry(4), 1, 0, 0, 1, 0, 0, 0);
    list.RenderPass(false, Ctx(0.2f));  // frame 2
    list.RenderPass(false, Ctx(0.2f));  // frame 3
    EXPECT_TRUE(list.Find(h)->playing());
    list.RenderPass(false, Ctx(0.2f));  // frame 4: last reached
    ASSERT_NE(list.Find(h), nullptr);
    EXPECT_FALSE(list.Find(h)->playing());
    EXPECT_EQ(list.Find(h)->animation().CurrentFrame(), 4);
    list.RenderPass(true, Ctx(0.2f));  // the back pass does not visit it
    EXPECT_EQ(list.size(), 1);
    list.RenderPass(false, Ctx(0.2f));
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(list.Find(h), nullptr);
}

TEST_F(EffectsTest, BackAndForthCountsSweepsNotReturns) {
    RunningEffects list;
    EffectHandle h = list.Spawn(Entry(3), 1, 0, 0, 0, 1, 0, 0);
    // Frames: 2 3 2 1 1 2 3 -> the last frame is reached twice.
    for (int i = 0; i < 7; ++i) list.RenderPass(false, Ctx(0.2f));
    EXPECT_EQ(list.Find(h)->cycleCount(), 2);
    EXPECT_TRUE(list.Find(h)->playing());
}

TEST_F(EffectsTest, AtMostOneStoppedEffectIsRemovedPerPass) {
    RunningEffects list;
    EffectHandle a = list.Spawn(Entry(2), 1, 0, 0, 1, 0, 0, 0);
    EffectHandle b = list.Spawn(Entry(2), 1, 0, 0, 1, 0, 0, 0);
    list.RenderPass(false, Ctx(0.2f));  // both reach their last frame and stop
    EXPECT_FALSE(list.Find(a)->playing());
    EXPECT_FALSE(list.Find(b)->playing());
    list.RenderPass(false, Ctx(0.2f));
    EXPECT_EQ(list.size(), 1);
    list.RenderPass(false, Ctx(0.2f));
    EXPECT_EQ(list.size(), 0);
}

TEST_F(EffectsTest, AHandleSurvivesTheRemovalOfAnEarlierEffect) {
    RunningEffects list;
    EffectHandle a = list.Spawn(Entry(4), 1, 1, 1, 0, 0, 0, 0);
    EffectHandle b = list.Spawn(Entry(4), 1, 2, 2, 0, 0, 0, 0);
    EXPECT_EQ(list.IndexOf(b), 2);
    list.Find(a)->SetPlaying(false);
    list.RenderPass(false, Ctx(0.01f));
    EXPECT_EQ(list.Find(a), nullptr);
    EXPECT_EQ(list.IndexOf(a), 0);
    ASSERT_NE(list.Find(b), nullptr);
    EXPECT_FLOAT_EQ(list.Find(b)->x(), 2);
    EXPECT_EQ(list.IndexOf(b), 1);
    // A new effect never takes over an old handle.
    EffectHandle c = list.Spawn(Entry(4), 1, 3, 3, 0, 0, 0, 0);
    EXPECT_NE(c, a);
    EXPECT_EQ(list.Find(a), nullptr);
}

TEST_F(EffectsTest, OwnerRulesStopTheEffect) {
    RunningEffects list;
    EffectHandle mark = list.Spawn(Entry(4), Effect::kOnPlayer, 0, 0, 0, 0, 0, 0);
    EffectHandle spell = list.Spawn(Entry(2), 1, 0, 0, 1, 0, 0, 0);
    list.Find(mark)->SetOwnerKind(static_cast<int>(EffectOwner::PlayerStatus));
    list.Find(mark)->SetOwnerSlot(1);
    list.Find(spell)->SetOwnerKind(static_cast<int>(EffectOwner::MonsterSpell));
    list.Find(spell)->SetOwnerIndex(7);
    int status = 1, endedMonster = 0;
    std::uint32_t endedEffect = 0;
    EffectContext ctx = Ctx(0.2f);
    ctx.playerX = 100;
    ctx.playerY = 200;
    ctx.playerWidth = 40;
    ctx.playerHeight = 60;
    ctx.cameraX = -10;
    ctx.playerStatus = [&](int) { return status; };
    ctx.monsterSpellEnded = [&](int i, std::uint32_t id) {
        endedMonster = i;
        endedEffect = id;
    };
    list.RenderPass(false, ctx);
    EXPECT_TRUE(list.Find(mark)->playing());
    EXPECT_FLOAT_EQ(list.Find(mark)->animation().AnchorX(), -10 + 100 - 20);
    EXPECT_FLOAT_EQ(list.Find(mark)->animation().AnchorY(), 200 - 60);
    EXPECT_EQ(endedMonster, 7);  // the spell ended on reaching its last frame
    EXPECT_EQ(endedEffect, spell.id);  // and names its effect
    status = 0;
    list.RenderPass(false, ctx);  // stops the mark, then removes the spell
    EXPECT_EQ(list.IndexOf(spell), 0);
    EXPECT_FALSE(list.Find(mark)->playing());
}

TEST_F(EffectsTest, SpawnResetsPlacesAndTints) {
    RunningEffects list;
    Effect entry = Entry(4);
    for (int i = 0; i < 2; ++i) entry.UpdateAndDraw(Ctx(0.2f));
    EffectHandle h = list.Spawn(entry, 1, 5, 6, 3, 7, 0x80FF0000, 1);
    const Effect* e = list.Find(h);
    EXPECT_EQ(e->animation().StepCounter(), 0);
    EXPECT_EQ(e->repeatCount(), 3);
    EXPECT_EQ(e->backAndForth(), 1);
    EXPECT_EQ(e->drawnBehind(), 1);
    EXPECT_EQ(e->animation().Colour(), 0x80FF0000u);
    EXPECT_EQ(entry.animation().Colour(), 0xFFFFFFFFu);  // the entry keeps its own colour
}

TEST_F(EffectsTest, LibraryHoldsTheTwentyEntries) {
    EffectLibrary lib;
    lib.Load(cache);
    EXPECT_EQ(lib.Entry(0), nullptr);
    EXPECT_EQ(lib.Entry(21), nullptr);
    struct Row {
        int n;
        const char* name;
        int frames, duration, drawFlag, cached;
    };
    const Row rows[] = {
        {1, "特效1", 20, 10, 1, 0}, {3, "传送门", 16, 10, 1, 0},  {4, "命中", 4, 10, 1, 0},
        {7, "小鸟2", 29, 15, 0, 0}, {10, "蝴蝶", 29, 15, 0, 1},   {11, "按右_小", 2, 30, 0, 0},
        {14, "蝴蝶2", 29, 15, 0, 1}, {15, "远程魔法1", 5, 15, 1, 0}, {20, "诅咒", 20, 10, 1, 0},
    };
    for (const Row& r : rows) {
        const Effect* e = lib.Entry(r.n);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->name(), gbk::Lit(r.name)) << r.n;
        EXPECT_EQ(e->frameCount(), r.frames) << r.n;
        EXPECT_EQ(e->firstFrame(), 1) << r.n;
        EXPECT_EQ(e->lastFrame(), r.frames) << r.n;
        EXPECT_EQ(e->duration(), r.duration) << r.n;
        EXPECT_EQ(e->drawFlag(), r.drawFlag) << r.n;
        EXPECT_EQ(e->cachedFolder(), r.cached) << r.n;
        EXPECT_EQ(e->animation().folder(), gbk::Lit("\\data\\效果\\") + gbk::Lit(r.name) + "\\") << r.n;
    }
    // Only the two butterfly folders go through the cache.
    EXPECT_EQ(cache.size(), 2u);
}

}  // namespace
