// The one damage rule every fight goes through, in both directions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/random.h"
#include "gameplay/combat_rules.h"

namespace {

TEST(Damage, DrawsWithinOrderedBoundsTruncatedTowardZero) {
    Random random(7);
    for (int i = 0; i < 500; ++i) {
        const int d = combat::Damage(random, 3.9, 8.9);  // 3 .. 8
        EXPECT_GE(d, 3);
        EXPECT_LE(d, 8);
    }
}

TEST(Damage, ReversedBoundsGiveTheLowerBoundAndNothingIsEverNegative) {
    Random random(7);
    EXPECT_EQ(combat::Damage(random, 100, -200), 100);  // a defence far above the attack
    EXPECT_EQ(combat::Damage(random, 100, 99), 100);
    EXPECT_EQ(combat::Damage(random, -5, -50), 0);   // a negative lower bound
    for (int i = 0; i < 500; ++i) EXPECT_GE(combat::Damage(random, -30, 10), 0);
    EXPECT_EQ(combat::Damage(random, std::nan(""), std::nan("")), 0);
    EXPECT_EQ(combat::Damage(random, 1e300, 1e300), 1000000000);  // bounded, no overflow
}

// Every path goes through the rule: the weapon, the spell, the heal, the
// bite and the strike never heal and never flip their bounds.
TEST(Damage, EveryPathKeepsTheRule) {
    Random random(11);
    for (int i = 0; i < 300; ++i) {
        // Thunder with magic attack 1 / 1 against defence 300: exactly 100.
        EXPECT_EQ(combat::ThunderDamage(random, 1, 1, 0, 300), 100);
        // A weapon against a wall: its lower bound, 2 x the minimum attack.
        EXPECT_EQ(combat::WeaponDamage(random, 3, 6, 0, 500), 6);
        // A bite and a strike against a huge defence: their lower bounds.
        EXPECT_EQ(combat::MeleeDamage(random, 3, 400, 400), 3);
        EXPECT_EQ(combat::RangedDamage(random, 12, 400, 400), 24);
        EXPECT_EQ(combat::HealAmount(random, -10), 0);
        EXPECT_EQ(combat::HealAmount(random, 10), 10);
    }
    // Ordered thunder bounds: 100 x 2 .. 100 x 3 + 30 x 1 - 6.
    for (int i = 0; i < 300; ++i) {
        const int d = combat::ThunderDamage(random, 2, 3, 1, 6);
        EXPECT_GE(d, 200);
        EXPECT_LE(d, 324);
    }
}

}  // namespace
