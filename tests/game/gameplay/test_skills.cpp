// The skill list, the thunder spell's cast, targeting, cost and damage, and
// the skill bar's cells with cooldowns and carrying.
#include <gtest/gtest.h>

#include <set>

#include "core/random.h"
#include "gameplay/data_tables.h"
#include "gameplay/skill_bar_slots.h"
#include "gameplay/skills.h"
#include "gameplay/skills_heal.h"
#include "gameplay/thunder_cast.h"
#include "player_fixture.h"

using player_test::kFrame;
using player_test::Stand;

namespace {

constexpr int kThunderRow = 1;

// A player on flat ground who knows the thunder spell; x 300, y 432, box 40 x 70.
struct Caster : Stand {
    Random random{7};
    std::vector<SpellTarget> targets;
    Caster() { player.skills.Learn(kThunderRow, kThunderKey); }
    ThunderFrame Key(int key) { return thunder::SkillKey(player, key, targets, random, kFrame); }
    // Casts with V once and runs the cast to its end; returns every frame's outcome.
    std::vector<ThunderFrame> WholeCast(int limit = 600) {
        std::vector<ThunderFrame> frames{Key(kThunderKey)};
        while (player.state == Player::kCasting && static_cast<int>(frames.size()) < limit) frames.push_back(Key(0));
        return frames;
    }
    static int Count(const std::vector<ThunderFrame>& frames, bool ThunderFrame::*flag) {
        int n = 0;
        for (const ThunderFrame& f : frames) n += (f.*flag) ? 1 : 0;
        return n;
    }
    static const ThunderFrame* Fired(const std::vector<ThunderFrame>& frames) {
        for (const ThunderFrame& f : frames)
            if (f.fired) return &f;
        return nullptr;
    }
};

SpellTarget Target(float x, float y = 440, float w = 50, float h = 60) {
    SpellTarget t;
    t.drawX = x;
    t.y = y;
    t.width = w;
    t.height = h;
    t.hp = 100;
    return t;
}

}  // namespace

TEST(SkillList, LearningFillsTheFirstEmptySlotAndRefusesKnownSkillsAndAFullList) {
    SkillList list;
    EXPECT_EQ(list.Learn(3, 0), LearnOutcome::Learned);
    EXPECT_EQ(list.Learn(1, kThunderKey), LearnOutcome::Learned);
    EXPECT_EQ(list.At(1).skill, 3);
    EXPECT_EQ(list.At(1).level, 1);
    EXPECT_EQ(list.At(2).key, kThunderKey);
    EXPECT_EQ(list.Learn(1, kThunderKey), LearnOutcome::AlreadyKnown);
    EXPECT_EQ(list.Count(), 2);

    for (int n = 10; list.Count() < SkillList::kSize; ++n) ASSERT_EQ(list.Learn(n, 0), LearnOutcome::Learned);
    const auto before = list.entries;
    EXPECT_EQ(list.Learn(99, 0), LearnOutcome::ListFull);
    for (int i = 1; i <= SkillList::kSize; ++i) EXPECT_EQ(list.At(i).skill, before[static_cast<std::size_t>(i - 1)].skill);
    EXPECT_FALSE(list.Knows(99));
    EXPECT_EQ(list.At(0).skill, 0);
    EXPECT_EQ(list.At(11).skill, 0);
}

TEST(ThunderCast, ACastFiresOnceAtItsLastFrameAndEndsIdleWhileVAgainDoesNotRestartIt) {
    Caster c;
    c.player.mp = 5;
    std::vector<ThunderFrame> frames{c.Key(kThunderKey)};
    ASSERT_TRUE(frames[0].entered);
    EXPECT_EQ(c.player.state, Player::kCasting);
    // V pressed again on every other frame of the cast changes nothing.
    for (int i = 1; c.player.state == Player::kCasting && i < 600; ++i) frames.push_back(c.Key(i % 2 ? kThunderKey : 0));
    EXPECT_EQ(Caster::Count(frames, &ThunderFrame::entered), 1);
    EXPECT_EQ(Caster::Count(frames, &ThunderFrame::fired), 1);
    EXPECT_EQ(Caster::Count(frames, &ThunderFrame::ended), 1);
    EXPECT_TRUE(frames.back().ended);
    EXPECT_EQ(c.player.state, Player::kIdle);
    EXPECT_FALSE(c.player.spellFired);
    // MP has no lower bound.
    EXPECT_FLOAT_EQ(c.player.mp, -15);
    // Eight pictures of 0.1 s (a little more at 60 frames a second): the
    // spell fires when the last one shows, the cast ends when it has had
    // its time.
    std::size_t fired = 0;
    while (!frames[fired].fired) ++fired;
    const double end = static_cast<double>(frames.size() - 1) * kFrame;
    EXPECT_GE(end, 0.8 - 1e-6);
    EXPECT_LE(end, 1.0);
    EXPECT_NEAR(end - static_cast<double>(fired) * kFrame, end / 8, 0.02);
}

TEST(ThunderCast, WithoutMpTheCastEndsWithoutFiringAndThePlayerIsFreeAgain) {
    for (float mp : {0.0f, -15.0f}) {
        Caster c;
        c.player.mp = mp;
        const auto frames = c.WholeCast();
        EXPECT_EQ(Caster::Count(frames, &ThunderFrame::fired), 0);
        EXPECT_TRUE(frames.back().ended);
        EXPECT_EQ(c.player.state, Player::kIdle);
        EXPECT_FLOAT_EQ(c.player.mp, mp);
    }
}

TEST(ThunderCast, ACastStartsOnlyOnTheGroundFromIdleWalkingOrReadyAndOnlyWithABoundKey) {
    for (int state : {Player::kIdle, Player::kWalking, Player::kReady}) {
        Caster c;
        c.player.state = state;
        EXPECT_TRUE(c.Key(kThunderKey).entered) << state;
    }
    for (int state : {Player::kAttacking, Player::kClimbing, Player::kHit}) {
        Caster c;
        c.player.state = state;
        EXPECT_FALSE(c.Key(kThunderKey).handled) << state;
        EXPECT_EQ(c.player.state, state);
    }
    Caster rising;
    rising.player.jumping = 1;
    EXPECT_FALSE(rising.Key(kThunderKey).handled);
    Caster inAir;
    inAir.player.jumpFrame = 1;
    EXPECT_FALSE(inAir.Key(kThunderKey).handled);
    EXPECT_EQ(inAir.player.state, Player::kIdle);
    // A key no skill is bound to, and V before the spell is learned.
    Caster other;
    EXPECT_FALSE(other.Key('A').handled);
    Stand unlearned;
    Random r;
    EXPECT_FALSE(thunder::SkillKey(unlearned.player, kThunderKey, {}, r, kFrame).handled);
}

TEST(ThunderCast, WithNothingInReachTheLightningStrikesAheadAtReachLessOneHundredToFifty) {
    for (int facing : {Player::kFacingRight, Player::kFacingLeft}) {
        std::set<int> distances;
        for (int cast = 0; cast < 60; ++cast) {
            Caster c;
            c.random.Seed(static_cast<std::uint32_t>(cast));
            c.player.Face(facing);
            c.targets = {Target(900), Target(-400)};  // far beyond the reach on both sides
            const auto frames = c.WholeCast();
            const ThunderFrame* f = Caster::Fired(frames);
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->target, 0);
            EXPECT_EQ(f->damage, 0);
            EXPECT_FLOAT_EQ(f->effectY, c.player.y);
            const int d = static_cast<int>(f->effectX - c.player.x);
            distances.insert(d);
            if (facing == Player::kFacingRight) {
                EXPECT_GE(d, 100);
                EXPECT_LE(d, 150);
            } else {
                EXPECT_GE(d, -150);
                EXPECT_LE(d, -100);
            }
        }
        EXPECT_GT(distances.size(), 10u);  // drawn, not fixed
    }
}

TEST(ThunderCast, OnlyTheFirstMonsterInMapOrderThatCanBeHitIsStruck) {
    Caster c;
    c.player.minMagicAttack = 2;
    c.player.maxMagicAttack = 3;
    c.player.agility = 4;
    SpellTarget hurt = Target(360);
    hurt.hurtTimer = 0.2f;
    SpellTarget dead = Target(370);
    dead.hp = 0;
    SpellTarget behind = Target(200);    // facing right, it stands on the left
    SpellTarget high = Target(380, 200);  // above the reach's band (y 332 .. 602)
    SpellTarget first = Target(450);
    first.defence = 20;
    SpellTarget second = Target(400);  // nearer, but later in the list
    c.targets = {hurt, dead, behind, high, first, second};
    const ThunderFrame* f = nullptr;
    const auto frames = c.WholeCast();
    f = Caster::Fired(frames);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->target, 5);
    EXPECT_FLOAT_EQ(f->effectX, 450);
    EXPECT_FLOAT_EQ(f->effectY, 440);
    // 100 x 2 .. int(100 x 3 + 30 x 4 - 20)
    EXPECT_GE(f->damage, 200);
    EXPECT_LE(f->damage, 400);

    // Facing left the reach runs from x - R to x.
    c.player.Face(Player::kFacingLeft);
    EXPECT_EQ(thunder::FirstTargetInReach(c.player, {Target(40), Target(120), Target(300)}), 2);
    EXPECT_EQ(thunder::FirstTargetInReach(c.player, {Target(50, 440, 50)}), 0);  // its right edge at x - R
    c.player.Face(Player::kFacingRight);
    // Facing right: from the box's right edge to R beyond it.
    EXPECT_EQ(thunder::FirstTargetInReach(c.player, {Target(339), Target(540), Target(539)}), 3);
}

TEST(ThunderCast, DamageStaysInItsRange) {
    std::set<int> seen;
    for (int cast = 0; cast < 200; ++cast) {
        Caster c;
        c.random.Seed(static_cast<std::uint32_t>(cast));
        c.player.minMagicAttack = 1;
        c.player.maxMagicAttack = 2;
        c.player.agility = 1;
        SpellTarget m = Target(400);
        m.defence = 10;
        c.targets = {m};
        const auto frames = c.WholeCast();
        const ThunderFrame* f = Caster::Fired(frames);
        ASSERT_NE(f, nullptr);
        ASSERT_GE(f->damage, 100);
        ASSERT_LE(f->damage, 220);
        seen.insert(f->damage);
    }
    EXPECT_TRUE(seen.count(100) || seen.count(220) || seen.size() > 50);
}

TEST(SkillBar, ACellCastsOnlyWhenItsCooldownIsOverAndItsShadeShrinksDownwards) {
    SkillBarSlots bar;
    EXPECT_EQ(bar.Cast(1, 6), SlotCast::Empty);
    bar.Set(1, SkillRef{3, 3});
    EXPECT_EQ(bar.Cast(1, 6), SlotCast::Cast);
    EXPECT_FLOAT_EQ(bar.At(1).cooldownLeft, 6);
    EXPECT_FLOAT_EQ(bar.ShadeHeight(1, 25), 25);
    EXPECT_FLOAT_EQ(bar.ShadeTop(1, 25), 0);
    EXPECT_EQ(bar.Cast(1, 6), SlotCast::NotReady);
    EXPECT_FLOAT_EQ(bar.At(1).cooldownLeft, 6);  // a refused cast does not restart it
    bar.Tick(1.5f);
    EXPECT_FLOAT_EQ(bar.ShadeHeight(1, 25), 18.75f);
    EXPECT_FLOAT_EQ(bar.ShadeTop(1, 25), 6.25f);
    EXPECT_EQ(bar.Cast(1, 6), SlotCast::NotReady);
    for (int i = 0; i < 270; ++i) bar.Tick(kFrame);  // 4.5 s more
    EXPECT_FLOAT_EQ(bar.ShadeHeight(1, 25), 0);
    EXPECT_EQ(bar.Cast(1, 6), SlotCast::Cast);
    // Cells outside 1..8 do nothing.
    EXPECT_EQ(bar.Cast(0, 1), SlotCast::Empty);
    EXPECT_EQ(bar.Cast(9, 1), SlotCast::Empty);
}

TEST(SkillBar, CarryingPicksUpDropsSwapsAndReturnsASkillLetGoOutsideTheBar) {
    SkillBarSlots bar;
    const SkillRef thunder{1, 1}, heal{3, 3};
    bar.TakeFromList(thunder);
    ASSERT_TRUE(bar.carrying());
    bar.LeftPress(2);
    EXPECT_EQ(bar.At(2).skill.skillNumber, 1);
    EXPECT_FALSE(bar.carrying());
    bar.TakeFromList(heal);
    bar.LeftPress(5);

    // Picked up from 2 and let go elsewhere: back in cell 2.
    bar.LeftPress(2);
    EXPECT_EQ(bar.At(2).skill.skillNumber, 0);
    EXPECT_EQ(bar.carriedFrom(), 2);
    bar.PressElsewhere();
    EXPECT_EQ(bar.At(2).skill.skillNumber, 1);
    EXPECT_FALSE(bar.carrying());

    // Onto a filled cell: the two change places and the carrying goes on.
    bar.LeftPress(2);
    bar.LeftPress(5);
    EXPECT_EQ(bar.At(5).skill.skillNumber, 1);
    ASSERT_TRUE(bar.carrying());
    EXPECT_EQ(bar.carried().skillNumber, 3);
    bar.PressElsewhere();
    EXPECT_EQ(bar.At(2).skill.skillNumber, 3);

    // From the window onto a filled cell, then let go: the displaced skill
    // is kept on the bar.
    bar.TakeFromList(thunder);
    bar.LeftPress(2);
    EXPECT_EQ(bar.At(2).skill.skillNumber, 1);
    bar.PressElsewhere();
    int heals = 0;
    for (int n = 1; n <= SkillBarSlots::kCells; ++n) heals += bar.At(n).skill.skillNumber == 3 ? 1 : 0;
    EXPECT_EQ(heals, 1);

    bar.RightPress(5);
    EXPECT_EQ(bar.At(5).skill.skillNumber, 0);
    bar.LeftPress(5);  // empty and not carrying: nothing
    EXPECT_FALSE(bar.carrying());
}

TEST(SkillBar, ReadyMeansAFilledCellWhoseCooldownHasRunOut) {
    SkillBarSlots bar;
    EXPECT_FALSE(bar.Ready(1));  // empty
    bar.Set(1, SkillRef{3, 3});
    EXPECT_TRUE(bar.Ready(1));
    bar.Cast(1, 6);
    EXPECT_FALSE(bar.Ready(1));
    bar.Tick(6.0f);
    EXPECT_TRUE(bar.Ready(1));
    EXPECT_FALSE(bar.Ready(0));
    EXPECT_FALSE(bar.Ready(9));
}

TEST(SkillHeal, TheRowsCapAndStaminaGiveTheHealAndItsCostAndHpStopsAtItsMaximum) {
    SkillRow row;  // 治愈术: proficiency cap 10, 6 stamina per point
    row.reserved5 = 10;
    row.staminaPerPoint = 6;
    const HealSpell spell = skill_heal::FromRow(row, 1);
    EXPECT_EQ(spell.hp, 10);
    EXPECT_EQ(spell.mpCost, 60);
    EXPECT_EQ(skill_heal::FromRow(row, 2).hp, 20);
    EXPECT_EQ(skill_heal::FromRow(row, 0).hp, 10);  // an unknown level counts as 1
    EXPECT_EQ(skill_heal::FromRow(row, 2).mpCost, 60);

    Player p;
    p.ResetToStart();
    p.maxHp = 20;
    p.hp = 20;
    p.mp = 500;
    EXPECT_EQ(skill_heal::Check(p, spell), HealCheck::FullHp);
    p.hp = 15;
    p.mp = 59;
    EXPECT_EQ(skill_heal::Check(p, spell), HealCheck::NotEnoughMp);
    p.mp = 60;
    ASSERT_EQ(skill_heal::Check(p, spell), HealCheck::Ready);
    Random random(1);
    EXPECT_EQ(skill_heal::Apply(p, spell, random), 5);  // only up to the maximum
    EXPECT_FLOAT_EQ(p.hp, 20);
    EXPECT_FLOAT_EQ(p.mp, 0);

    SkillRow odd;  // negative columns neither heal backwards nor pay MP back
    odd.reserved5 = -4;
    odd.staminaPerPoint = -3;
    EXPECT_EQ(skill_heal::FromRow(odd, 1).hp, 0);
    EXPECT_EQ(skill_heal::FromRow(odd, 1).mpCost, 0);
}

TEST(SkillList, LevelOfIsTheLearnedLevelAndZeroForAnUnknownSkill) {
    SkillList list;
    EXPECT_EQ(list.LevelOf(3), 0);
    list.Learn(3, 0);
    EXPECT_EQ(list.LevelOf(3), 1);
    EXPECT_EQ(list.LevelOf(0), 0);
}
