// Poison and curse, rest and regeneration, the hit flinch, death and revival.
#include <gtest/gtest.h>

#include <vector>

#include "player_fixture.h"

namespace {

using player_test::Keys;
using player_test::Stand;

TEST(PlayerCondition, PoisonHurtsOnceAtEachWholeSecondThenEnds) {
    Stand s;
    EXPECT_TRUE(s.player.StartPoison(4, 3));
    struct Tick {
        int frame;
        int damage;
        float hp;
    };
    std::vector<Tick> ticks;
    std::vector<int> states;
    for (int f = 1; f <= 280; ++f) {
        PlayerEvents e = s.Frame();
        if (e.poisonDamage != 0) {
            ticks.push_back({f, e.poisonDamage, s.player.hp});
            states.push_back(s.player.state);
        }
    }
    EXPECT_EQ(states, std::vector<int>(4, Player::kHit));
    ASSERT_EQ(ticks.size(), 4u);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i].damage, 3);
        EXPECT_EQ(ticks[i].hp, 20 - 3 * static_cast<float>(i + 1));
        // Seconds 1, 2, 3 and 4 of the run: frames 60, 120, 180, 240, give or take the float sum.
        EXPECT_NEAR(ticks[i].frame, 60 * static_cast<int>(i + 1), 1);
    }
    EXPECT_EQ(s.player.statusFlags[Player::kPoison], 0);
    EXPECT_EQ(s.player.statusRecords[Player::kPoison][Player::kDuration], 0);
    EXPECT_EQ(s.player.hp, 8);
}

TEST(PlayerCondition, AnotherPoisonWhilePoisonedLengthensAndStrengthensIt) {
    Player p;
    p.ResetToStart();
    EXPECT_TRUE(p.StartPoison(2, 0.25f));  // below 1 a tick: 1
    EXPECT_FLOAT_EQ(p.statusRecords[Player::kPoison][Player::kAmountPerTick], 1);
    p.UpdateStatus(1.5f);
    EXPECT_FALSE(p.StartPoison(3, 2));
    const auto& r = p.statusRecords[Player::kPoison];
    EXPECT_FLOAT_EQ(r[Player::kDuration], 5);
    EXPECT_FLOAT_EQ(r[Player::kAmountPerTick], 3);
    EXPECT_FLOAT_EQ(r[Player::kElapsed], 1.5f) << "the running poison keeps its clock";
}

TEST(PlayerCondition, APoisonTickToZeroKillsAndTheDeathClearsBothStatuses) {
    Stand s;
    s.player.hp = 2;
    s.player.StartPoison(10, 5);
    s.player.StartCurse(30);
    PlayerEvents died;
    int frames = s.FramesUntil([&] { return s.player.IsDead(); });
    EXPECT_NEAR(frames, 60, 1);
    EXPECT_EQ(s.player.hp, 0) << "never below 0";
    EXPECT_EQ(s.player.statusFlags[Player::kPoison], 0);
    EXPECT_EQ(s.player.statusFlags[Player::kCurse], 0);
    EXPECT_EQ(s.player.statusRecords[Player::kPoison][Player::kDuration], 0);
}

TEST(PlayerCondition, TheCurseRunsDownWithoutHurting) {
    Stand s;
    EXPECT_TRUE(s.player.StartCurse(1));
    EXPECT_FALSE(s.player.StartCurse(1));
    for (int f = 0; f < 119; ++f) s.Frame();
    EXPECT_EQ(s.player.statusFlags[Player::kCurse], 1);
    EXPECT_TRUE(s.player.cursed) << "the movement reads the walk keys swapped";
    s.Frame(Keys{}, 0.05f);
    EXPECT_EQ(s.player.statusFlags[Player::kCurse], 0);
    EXPECT_EQ(s.player.hp, 20);
}

TEST(PlayerCondition, RestingFiveSecondsReadiesAndRegeneratesEvery51Frames) {
    Stand s;
    s.player.hp = 10;
    s.player.mp = 400;
    int toReady = s.FramesUntil([&] { return s.player.state == Player::kReady; });
    EXPECT_NEAR(toReady, 300, 1);
    EXPECT_EQ(s.player.hp, 10);
    // The frame that readies is the first of regeneration; the first point
    // comes on its 51st, then one every 51 frames.
    EXPECT_EQ(s.player.regenCounter, 1);
    for (int f = 2; f <= 50; ++f) s.Frame();
    EXPECT_EQ(s.player.hp, 10);
    s.Frame();
    EXPECT_EQ(s.player.hp, 11);
    EXPECT_EQ(s.player.mp, 401);
    for (int f = 1; f <= 51 * 9; ++f) s.Frame();
    EXPECT_EQ(s.player.hp, 20);
    EXPECT_EQ(s.player.mp, 410);
    // HP full: MP stays where it is.
    for (int f = 1; f <= 51 * 3; ++f) s.Frame();
    EXPECT_EQ(s.player.hp, 20);
    EXPECT_EQ(s.player.mp, 410);
    EXPECT_EQ(s.player.state, Player::kReady);
}

TEST(PlayerCondition, AHeldKeyRestartsTheRestButTheChatInputCountsAsRest) {
    Stand s;
    s.player.hp = 10;
    for (int f = 0; f < 290; ++f) s.Frame();
    s.Frame(Keys{.attackPressed = false, .attackHeld = false, .left = false, .jump = true});
    EXPECT_EQ(s.player.restTimer, 0);
    // While the chat input has the focus, typed keys still count as rest.
    Keys typing{.attackPressed = false, .attackHeld = false, .left = true, .jump = false, .chatFocus = true};
    for (int f = 0; f < 301; ++f) s.Frame(typing);
    EXPECT_GE(s.player.restTimer, 5.0f);
}

TEST(PlayerCondition, PoisonStopsRegeneration) {
    Stand s;
    s.player.hp = 10;
    s.player.restTimer = 5;
    s.player.StartPoison(100, 1);
    s.player.hp = 10;
    for (int f = 0; f < 55; ++f) s.Frame();
    EXPECT_EQ(s.player.hp, 10) << "no tick yet, and no regeneration either";
    EXPECT_EQ(s.player.regenCounter, 0);
}

TEST(PlayerCondition, TheHitFlinchPlaysOnceThenTheIdleStateReturns) {
    Stand s;
    s.player.state = Player::kHit;
    // Two frames of 0.5 s: a little over one second at 60 frames.
    int frames = s.FramesUntil([&] { return s.player.state != Player::kHit; }, Keys{}, 200);
    EXPECT_EQ(s.player.state, Player::kIdle);
    EXPECT_GT(frames, 60);
    EXPECT_LT(frames, 70);
}

TEST(PlayerCondition, DeathPlaysOnceHoldsItsLastFrameAndIgnoresInput) {
    Stand s;
    s.player.hp = 0;
    PlayerEvents first = s.Frame();
    EXPECT_TRUE(first.died);
    EXPECT_EQ(s.player.state, Player::kDead);
    int diedEvents = 0;
    const float x = s.player.x;
    for (int f = 0; f < 300; ++f) {
        PlayerEvents e = s.Frame(Keys{.attackPressed = (f % 2) == 0, .attackHeld = true, .left = true, .jump = true});
        diedEvents += e.died ? 1 : 0;
    }
    EXPECT_EQ(diedEvents, 0) << "the death sound plays once";
    EXPECT_EQ(s.player.state, Player::kDead);
    EXPECT_EQ(s.player.x, x);
    EXPECT_TRUE(s.player.DeathAnimationDone());
    EXPECT_EQ(s.player.body[Player::kDead].CurrentFrame(), 5);
    EXPECT_EQ(s.player.hp, 0) << "resting does not bring a dead player back";
}

TEST(PlayerCondition, TheDeathBoxWaitsForTheLastDeathFrame) {
    Stand s;
    s.player.hp = 0;
    // Five frames of 0.1 s: the last shows after about four steps.
    int frames = s.FramesUntil([&] { return s.player.DeathAnimationDone(); }, Keys{}, 100);
    EXPECT_GT(frames, 24);
    EXPECT_LT(frames, 35);
}

TEST(PlayerCondition, ReviveGivesTenHpAndAFreshDeathNextTime) {
    Stand s;
    s.player.maxHp = 80;
    s.player.level = 6;
    s.player.gold = 33;
    s.player.experience = 12;
    s.player.hp = 0;
    s.FramesUntil([&] { return s.player.DeathAnimationDone(); });
    s.player.Revive();
    EXPECT_EQ(s.player.hp, 10);
    EXPECT_EQ(s.player.maxHp, 10);
    EXPECT_EQ(s.player.mp, 500);
    EXPECT_EQ(s.player.maxMp, 500);
    EXPECT_EQ(s.player.state, Player::kIdle);
    EXPECT_EQ(s.player.level, 6);
    EXPECT_EQ(s.player.gold, 33);
    EXPECT_EQ(s.player.experience, 12);
    EXPECT_FALSE(s.player.DeathAnimationDone());
    s.Frame();
    EXPECT_EQ(s.player.state, Player::kIdle);
    // Dying again plays the death from its first frame, with its sound.
    s.player.hp = 0;
    EXPECT_TRUE(s.Frame().died);
    EXPECT_EQ(s.player.body[Player::kDead].CurrentFrame(), 1);
    EXPECT_FALSE(s.player.DeathAnimationDone());
}

}  // namespace
