// Monsters: loading their files, the health bar, hurt and immunity, facing,
// engaging, ranged strikes, damage bounds, the player's death and kills.
#include <gtest/gtest.h>

#include <set>

#include "gameplay/combat_rules.h"
#include "monster_fixture.h"
#include "player_fixture.h"
#include "shared/gbk.h"

namespace {

using monster_test::Arena;

TEST(MonsterFiles, ShortOrBareLineFeedFilesFallBackAndBadDropLinesAreSkipped) {
    Arena a(0);
    a.monster.InitFromTexts("12\n8", "55\n2", "", "1/3 金币\r\nab\nnoslash 金币\n1/2\n2/x 金币\n1/1 药水 5 9\r\n");
    EXPECT_EQ(a.monster.frameDuration[1], 12);
    EXPECT_EQ(a.monster.frameDuration[2], 8);
    EXPECT_EQ(a.monster.frameDuration[3], 10);  // missing lines: 10
    EXPECT_EQ(a.monster.detectRange, 55);
    EXPECT_EQ(a.monster.hitFrameFirst, 2);
    EXPECT_EQ(a.monster.hitFrameLast, 0);  // missing: 0
    ASSERT_EQ(a.monster.dropLines.size(), 2u);
    EXPECT_EQ(a.monster.dropLines[0].name, "金币");
    EXPECT_FALSE(a.monster.dropLines[0].counted);
    EXPECT_EQ(a.monster.dropLines[1].name, "药水");  // "\r" stripped
    EXPECT_TRUE(a.monster.dropLines[1].counted);
}

TEST(MonsterHealth, TheBarShowsOnlyBelowMaximumAndNotWhileDying) {
    Arena a(0);
    EXPECT_FALSE(a.monster.ShowsHealthBar());
    MonsterFrame f = a.Frame();
    a.monster.ChangeHP(-1, f);
    EXPECT_EQ(a.monster.hp[0], 39);
    EXPECT_TRUE(a.monster.ShowsHealthBar());
    a.monster.ChangeHP(+500, f);
    EXPECT_EQ(a.monster.hp[0], 40);  // healing stops at the maximum
    EXPECT_FALSE(a.monster.ShowsHealthBar());
    a.monster.ChangeHP(-40, f);
    EXPECT_EQ(a.monster.state, Monster::kDying);
    EXPECT_FALSE(a.monster.ShowsHealthBar());
}

TEST(MonsterDrops, AOneInOneLineWithCountsAlwaysDropsFiveToNine) {
    std::set<int> counts;
    for (int i = 0; i < 200; ++i) {
        Arena a(0, 600, "1/1 金币 5 9\n");
        a.random.Seed(static_cast<std::uint32_t>(i));
        MonsterFrame f = a.Frame();
        a.monster.ChangeHP(-100, f);
        ASSERT_EQ(a.host.drops.size(), 1u);
        EXPECT_EQ(a.host.drops[0].counted, 1);
        EXPECT_GE(a.host.drops[0].count, 5);
        EXPECT_LE(a.host.drops[0].count, 9);
        counts.insert(a.host.drops[0].count);
    }
    EXPECT_EQ(counts.size(), 5u);
}

TEST(MonsterDeath, AKillGivesExperienceDropsAndRunsTheDeathScriptOnce) {
    Arena a(0, 600, "1/1 皮帽\n");
    MonsterFrame f = a.Frame();
    a.monster.TakeHit(100, f);
    a.monster.TakeHit(100, f);  // a dying monster takes nothing more
    EXPECT_EQ(a.host.experience, 20);
    ASSERT_EQ(a.host.drops.size(), 1u);
    EXPECT_EQ(a.host.drops[0].name, "皮帽");
    EXPECT_EQ(a.host.drops[0].count, 0);
    EXPECT_FLOAT_EQ(a.host.drops[0].y, a.monster.y + 50 - 25);
    ASSERT_EQ(a.host.scripts.size(), 1u);
    EXPECT_EQ(a.host.scripts[0], "death()");
    // Death animation done (no pictures) and 3 s more: gone, still in its slot.
    a.Step(170);
    EXPECT_EQ(a.monster.gone, 0);
    a.Step(20);
    EXPECT_EQ(a.monster.gone, 1);
}

TEST(MonsterDeath, ACasterDropsItsSpellBookOnceAfterItsDeathAnimation) {
    Arena a(1);
    MonsterFrame f = a.Frame();
    a.monster.ChangeHP(-100, f);
    EXPECT_TRUE(a.host.drops.empty());
    a.Step(200);
    ASSERT_EQ(a.host.drops.size(), 1u);
    EXPECT_EQ(a.host.drops[0].name, gbk::Lit("雷电术书"));
    EXPECT_EQ(a.host.drops[0].count, 1);
}

TEST(MonsterHurt, ASecondHitDuringTheHurtAndTheImmunityAfterIsRefused) {
    Arena a(0);
    MonsterFrame f = a.Frame();
    ASSERT_TRUE(a.monster.CanBeHit());
    a.monster.TakeHit(1, f);
    EXPECT_EQ(a.monster.state, Monster::kHurt);
    EXPECT_FALSE(a.monster.CanBeHit());
    a.Step();  // the hurt state ends (no pictures); the immunity runs on
    EXPECT_NE(a.monster.state, Monster::kHurt);
    int frames = 0;
    while (!a.monster.CanBeHit() && frames < 100) {
        a.Step();
        ++frames;
    }
    // 0.1 .. 0.5 s at 1/60 s.
    EXPECT_GE(frames, 22);
    EXPECT_LE(frames, 26);
}

TEST(MonsterFacing, StandingAfterMovingRightKeepsTheRightFacingOffset) {
    Arena a(0);
    a.monster.direction = 1;
    a.monster.behaviourDuration = 100;
    a.Step();
    EXPECT_EQ(a.monster.lastDirection, 1);
    EXPECT_FLOAT_EQ(a.monster.flipOffset, 0);
    a.monster.direction = 2;
    a.Step();
    EXPECT_EQ(a.monster.state, Monster::kStand);
    EXPECT_FLOAT_EQ(a.monster.flipOffset, 0);
    a.monster.direction = 0;
    a.Step();
    a.monster.direction = 2;
    a.Step();
    EXPECT_FLOAT_EQ(a.monster.flipOffset, 70);
}

// Frames until a walker with the player beside it first attacks (0: not
// within `limit`).
int FramesToEngage(std::uint32_t seed, int limit) {
    Arena a(0);
    a.random.Seed(seed);
    a.PlayerBeside();
    for (int i = 1; i <= limit; ++i) {
        a.Step();
        a.PlayerBeside();  // the walker wanders; the player stays beside it
        if (a.monster.state == Monster::kAttack) return i;
    }
    return 0;
}

TEST(MonsterEngage, AWalkerNextToThePlayerAttacksWithinTenSecondsAtSixtyFrames) {
    // The decision is a roll a few times in each wander period: nearly
    // every walker attacks within 10 s, and every one within 40 s.
    int within10 = 0;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        if (FramesToEngage(seed, 600) != 0) ++within10;
        EXPECT_NE(FramesToEngage(seed, 2400), 0) << "seed " << seed;
    }
    EXPECT_GE(within10, 16);
}

TEST(MonsterMelee, ABiteHurtsAndReversedBoundsNeverHeal) {
    Arena a(0);
    a.player.minPhysDefence = a.player.maxPhysDefence = 500;  // far above the attack
    a.player.hp = 100;
    a.player.x = a.monster.x + 10;
    MonsterFrame f = a.Frame();
    for (int i = 0; i < 50; ++i) {
        a.player.state = Player::kIdle;
        a.monster.MeleeHitCheck(f);
    }
    EXPECT_LE(a.player.hp, 100);
    EXPECT_GE(a.player.hp, 0);
    for (float n : a.host.numbers) EXPECT_GE(n, 0);
    EXPECT_EQ(a.host.lines.size(), 50u);
    EXPECT_EQ(a.player.state, Player::kHit);
    Random r(3);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(combat::Roll(r, 9, 2), 9);
        EXPECT_GE(combat::WeaponDamage(r, 1, 1, 0, 100), 0);
        EXPECT_GE(combat::RangedDamage(r, 5, 50, 50), 0);
    }
}

TEST(MonsterMelee, ABiteGivesThePlayerTimeToStrikeBack) {
    // Without the pause a walker biting at close range flinches every swing
    // before it reaches the frame that can hit.
    Arena a(0);
    Terrain terrain;
    terrain.squares.push_back({0, 500, 2000, 100, 0});
    a.player.currentGround = 1;
    player_test::CountingCombat combat;
    std::vector<int> bites;
    bool swung = false;
    int checksBeforeSecondBite = -1;
    for (int i = 0; i < 3600 && bites.size() < 3; ++i) {
        a.player.x = a.monster.x + 10;  // inside the walker's bite
        const float before = a.player.hp;
        a.Step();
        if (a.player.hp < before) {
            bites.push_back(i);
            if (bites.size() == 2) checksBeforeSecondBite = combat.checks;
        }
        Controls c;
        const bool strike = bites.size() == 1 && !swung && a.player.state == Player::kIdle;
        c[Action::Attack].pressed = c[Action::Attack].held = strike;
        swung = swung || strike;
        a.player.Update(PlayerFrame{monster_test::kStep, c, terrain, a.camera, combat, false});
    }
    ASSERT_EQ(bites.size(), 3u) << "the immunity runs out and the walker bites again";
    for (std::size_t k = 1; k < bites.size(); ++k) EXPECT_GE(bites[k] - bites[k - 1], 120) << "bite " << k;
    EXPECT_GT(checksBeforeSecondBite, 0) << "the swing after the first bite reached its hitting frame";
}

// Runs a caster in its attack state with the player standing at the aim.
int StrikeHits(Arena& a, int frames) {
    a.monster.state = Monster::kAttack;
    a.monster.previousState = Monster::kAttack;
    a.monster.chaseTimer = 0.5f;
    a.monster.behaviourDuration = 100;
    a.monster.behaviourTimer = 50;
    int hits = 0;
    for (int i = 0; i < frames; ++i) {
        const float before = a.player.hp;
        a.Step();
        if (a.player.hp < before) ++hits;
        a.player.state = Player::kIdle;  // never shielded by the flinch or the pause after it
        a.player.hurtImmunity = 0;
    }
    return hits;
}

TEST(MonsterStrike, AStrikeHurtsAtMostOnceAndTheNextNeedsItsOwnLaunch) {
    Arena a(1);
    a.PlayerBeside();
    EXPECT_EQ(StrikeHits(a, 79), 1);
    EXPECT_EQ(a.host.effects.front(), monster_effects::kCasterStrike);
    EXPECT_EQ(StrikeHits(a, 81), 1);  // the counter ran out and a new strike launched
}

TEST(MonsterStrike, OnAScrolledMapTheStrikeHitsThePlayerAtTheAimPoint) {
    Arena a(1, 1500);
    a.camera.offsetX = -1200;
    a.camera.offsetY = -40;
    a.PlayerBeside();
    EXPECT_EQ(StrikeHits(a, 10), 1);
    EXPECT_EQ(a.monster.strike[0], static_cast<int>(a.player.x));
}

TEST(MonsterStrike, APlayerWhoMovedAwayFromTheAimIsMissed) {
    Arena a(1);
    a.PlayerBeside();
    a.monster.state = Monster::kAttack;
    a.monster.strike = {static_cast<int>(a.player.x) - 400, static_cast<int>(a.player.y), 0, 0};
    EXPECT_EQ(StrikeHits(a, 60), 0);
}

TEST(MonsterStrike, TheFlyersThirdAttackPoisonsAndItsSecondCurses) {
    Arena a(2);
    a.PlayerBeside();
    a.player.y = a.monster.y + a.monster.height - Player::kBoxHeight;
    a.monster.state = a.monster.previousState = Monster::kAttack3;
    a.monster.engaged = 1;  // keeps its chosen attack
    a.monster.chaseTimer = 0.5f;
    a.monster.behaviourDuration = 100;
    a.monster.behaviourTimer = 50;
    a.Step(3);
    EXPECT_EQ(a.player.statusFlags[Player::kPoison], 1);
    EXPECT_FLOAT_EQ(a.player.statusRecords[Player::kPoison][Player::kDuration], 12);
    EXPECT_FLOAT_EQ(a.player.statusRecords[Player::kPoison][Player::kAmountPerTick], 1.5f);
    Arena b(2);
    b.PlayerBeside();
    b.player.y = b.monster.y + b.monster.height - Player::kBoxHeight;
    b.monster.state = b.monster.previousState = Monster::kAttack2;
    b.monster.engaged = 1;
    b.monster.chaseTimer = 0.5f;
    b.monster.behaviourDuration = 100;
    b.monster.behaviourTimer = 50;
    b.Step(3);
    EXPECT_EQ(b.player.statusFlags[Player::kCurse], 1);
    EXPECT_EQ(b.host.effects.back(), monster_effects::kCurse);
}

TEST(MonsterReset, ThePlayersDeathCalmsAChasingMonster) {
    Arena a(0);
    a.player.x = a.monster.x + 400;  // outside the band: the monster chases
    a.monster.chaseTimer = 0.5f;
    a.monster.behaviourDuration = 10;
    a.monster.behaviourTimer = 5;
    a.Step();
    EXPECT_GT(a.monster.chaseTimer, 0.5f);
    a.player.hp = 0;
    a.player.state = Player::kDead;
    a.Step();
    EXPECT_FLOAT_EQ(a.monster.chaseTimer, 0);
    EXPECT_EQ(a.monster.engaged, 0);
    EXPECT_FLOAT_EQ(a.monster.behaviourDuration, 0);
}

}  // namespace
