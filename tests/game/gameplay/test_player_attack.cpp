// The Z swing: start conditions, the hit check's frames and the end of a swing.
#include <gtest/gtest.h>

#include "player_fixture.h"

namespace {

using player_test::Keys;
using player_test::Stand;

const Keys kPress{.attackPressed = true, .attackHeld = true};
const Keys kHold{.attackPressed = false, .attackHeld = true};

TEST(PlayerAttack, AHeldZSwingsOnceAndTheNextSwingNeedsANewPress) {
    Stand s;
    PlayerEvents e = s.Frame(kPress);
    EXPECT_TRUE(e.swingStarted);
    EXPECT_EQ(s.player.state, Player::kAttacking);
    int frames = s.FramesUntil([&] { return s.player.state != Player::kAttacking; }, kHold, 200);
    EXPECT_EQ(s.player.state, Player::kIdle);
    // Seven body frames of a little over 0.1 s each.
    EXPECT_GT(frames, 42);
    EXPECT_LT(frames, 56);
    for (int f = 0; f < 120; ++f) {
        EXPECT_FALSE(s.Frame(kHold).swingStarted);
        EXPECT_NE(s.player.state, Player::kAttacking);
    }
    EXPECT_TRUE(s.Frame(kPress).swingStarted);
    EXPECT_EQ(s.player.state, Player::kAttacking);
}

TEST(PlayerAttack, ASwingEndsOnItsLastFrameEvenWhenZIsLetGo) {
    Stand s;
    s.Frame(kPress);
    int frames = s.FramesUntil([&] { return s.player.state != Player::kAttacking; }, Keys{}, 200);
    EXPECT_EQ(s.player.state, Player::kIdle);
    EXPECT_LT(frames, 56);
    EXPECT_TRUE(s.Frame(kPress).swingStarted);
}

TEST(PlayerAttack, TheHitCheckRunsFromFrameFiveUntilItHits) {
    // Never hitting: asked on every frame from body frame 5 to the end.
    Stand miss;
    miss.Frame(kPress);
    int framesBeforeFive = 0;
    while (miss.player.state == Player::kAttacking) {
        const int before = miss.combat.checks;
        miss.Frame(kHold);
        const int frame = miss.player.body[Player::kAttacking].CurrentFrame();
        if (miss.player.state == Player::kAttacking && frame < Player::kFirstHittingFrame) {
            ++framesBeforeFive;
            EXPECT_EQ(miss.combat.checks, before) << "frame " << frame;
        }
    }
    EXPECT_GT(framesBeforeFive, 20);
    EXPECT_GT(miss.combat.checks, 10);
    EXPECT_FALSE(miss.player.swingHit);

    // Hitting on the second check: never asked again in that swing, asked
    // afresh in the next one.
    Stand hit;
    hit.combat.hitOnCheck = 2;
    hit.Frame(kPress);
    hit.FramesUntil([&] { return hit.player.state != Player::kAttacking; }, kHold);
    EXPECT_EQ(hit.combat.checks, 2);
    hit.Frame();
    hit.Frame(kPress);
    EXPECT_FALSE(hit.player.swingHit);
    hit.FramesUntil([&] { return hit.player.state != Player::kAttacking; }, kHold);
    EXPECT_GT(hit.combat.checks, 3);
}

TEST(PlayerAttack, NoSwingInTheAirWhileClimbingOrCasting) {
    Stand air;
    air.Frame(Keys{.jump = true});
    air.Frame();
    ASSERT_EQ(air.player.jumping, 1);
    EXPECT_FALSE(air.Frame(kPress).swingStarted);
    EXPECT_NE(air.player.state, Player::kAttacking);

    for (int blocked : {Player::kClimbing, Player::kCasting}) {
        Stand s;
        s.player.state = blocked;
        EXPECT_FALSE(s.Frame(kPress).swingStarted) << blocked;
    }
}

TEST(PlayerAttack, ASwingFacesTheWayThePlayerLooksAndHoldsTheWalk) {
    Stand s;
    s.player.Face(Player::kFacingLeft);
    s.player.mirrorSign = 1;  // stale sign from an earlier draw
    const float x = s.player.x;
    s.Frame(Keys{.attackPressed = true, .attackHeld = true, .left = true});
    EXPECT_EQ(s.player.mirrorSign, -1);
    EXPECT_EQ(s.player.state, Player::kAttacking);
    EXPECT_EQ(s.player.x, x) << "no step in the frame a swing starts";
    s.Frame(Keys{.attackPressed = false, .attackHeld = true, .left = true});
    EXPECT_EQ(s.player.x, x) << "no walking during a swing";
}

}  // namespace
