// Experience and level-ups, the double-experience timer, saturating values
// and the attributes derived from the equipment.
#include <gtest/gtest.h>

#include <climits>

#include "core/decimal_text.h"
#include "gameplay/data_tables.h"
#include "gameplay/inventory.h"
#include "player_fixture.h"
#include "shared/gbk.h"

namespace {

// AddExperience's model half: the gain, and the level-up when it is due.
int Gain(Player& p, int amount) {
    ExperienceGain g = p.GainExperience(amount);
    if (g.levelUpDue) p.CompleteLevelUp();
    return g.amount;
}

TEST(PlayerProgression, LevelUpNeedGrowsWithTheSquareOfTheNextLevel) {
    EXPECT_DOUBLE_EQ(Player::LevelUpNeed(1), 200);
    EXPECT_DOUBLE_EQ(Player::LevelUpNeed(2), 450);
    EXPECT_DOUBLE_EQ(Player::LevelUpNeed(3), 800);
    EXPECT_DOUBLE_EQ(Player::LevelUpNeed(10), 6050);
    // The top level does not overflow into a negative or zero need.
    EXPECT_GT(Player::LevelUpNeed(INT_MAX), 1e18);
}

TEST(PlayerProgression, ExactlyTheNeedLevelsUpAndLeavesNothing) {
    Player p;
    p.ResetToStart();
    p.experience = 190;
    ExperienceGain g = p.GainExperience(10);
    EXPECT_TRUE(g.levelUpDue);
    EXPECT_EQ(p.level, 1) << "the level changes only when the level-up completes";
    EXPECT_EQ(p.experience, 200);
    LevelUp up = p.CompleteLevelUp();
    EXPECT_EQ(up.newLevel, 2);
    EXPECT_EQ(p.level, 2);
    EXPECT_EQ(p.experience, 0);
    // One short of the need does not level.
    p.experience = 448;
    EXPECT_FALSE(p.GainExperience(1).levelUpDue);
}

TEST(PlayerProgression, OneLevelACallAndTheExcessCarriesToTheNextGain) {
    Player p;
    p.ResetToStart();
    Gain(p, 1000);
    EXPECT_EQ(p.level, 2);
    EXPECT_EQ(p.experience, 800);
    // 800 >= 450: even a gain of nothing checks again.
    Gain(p, 0);
    EXPECT_EQ(p.level, 3);
    EXPECT_EQ(p.experience, 350);
    Gain(p, 449);
    EXPECT_EQ(p.level, 3);
    EXPECT_EQ(p.experience, 799);
    Gain(p, 1);
    EXPECT_EQ(p.level, 4);
    EXPECT_EQ(p.experience, 0);
}

TEST(PlayerProgression, DoubleExperienceDoublesTheGainUntilItsTimeRunsOut) {
    Player p;
    p.ResetToStart();
    EXPECT_FLOAT_EQ(p.StartDoubleExperience(), 60);
    EXPECT_EQ(Gain(p, 15), 30);
    EXPECT_EQ(p.experience, 30);
    // A second use from the same moment adds one minute to what is left.
    EXPECT_FLOAT_EQ(p.StartDoubleExperience(), 120);
    // Whole seconds of the rest count: 30.5 s in, 89.5 s are left -> 89 + 60.
    for (int i = 0; i < 61; ++i) p.UpdateDoubleExperience(0.5f);
    EXPECT_FLOAT_EQ(p.doubleExpElapsed, 30.5f);
    EXPECT_FLOAT_EQ(p.StartDoubleExperience(), 149);
    p.UpdateDoubleExperience(148.9f);
    EXPECT_EQ(Gain(p, 7), 14);
    p.UpdateDoubleExperience(0.2f);
    EXPECT_EQ(p.doubleExpTotal, 0);
    EXPECT_EQ(p.doubleExpMultiplier, 0);
    EXPECT_EQ(p.doubleExpElapsed, 0);
    EXPECT_EQ(Gain(p, 7), 7);
}

TEST(PlayerProgression, ValuesSaturateInsteadOfWrapping) {
    Player p;
    p.ResetToStart();
    p.experience = INT_MAX - 5;
    p.level = 100000;  // need far beyond any int: no level-up
    EXPECT_FALSE(p.GainExperience(1000).levelUpDue);
    EXPECT_EQ(p.experience, INT_MAX);
    p.experience = INT_MIN + 5;
    p.GainExperience(-1000);
    EXPECT_EQ(p.experience, INT_MIN);
    // A doubled gain beyond the range stops at its end too.
    p.experience = 0;
    p.StartDoubleExperience();
    EXPECT_EQ(p.GainExperience(INT_MAX).amount, INT_MAX);

    p.level = INT_MAX;
    p.experience = INT_MAX;
    p.doubleExpMultiplier = 0;
    EXPECT_FALSE(p.GainExperience(0).levelUpDue);
    EXPECT_EQ(p.level, INT_MAX);

    p.SetLevel(0);
    EXPECT_EQ(p.level, 1);
    p.SetLevel(-40);
    EXPECT_EQ(p.level, 1);
    EXPECT_DOUBLE_EQ(Player::LevelUpNeed(p.level), 200);
}

TEST(PlayerProgression, AttributesComeFromTheEquippedItemsRows) {
    DataTables tables;
    ItemRow sword;
    sword.minPhysAttack = 3;
    sword.maxPhysAttack = 9;
    sword.strength = 2;
    sword.constitution = 1;
    ItemRow helmet;
    helmet.minPhysDefence = 4;
    helmet.maxPhysDefence = 5;
    helmet.minMagicDefence = 6;
    helmet.maxMagicDefence = 7;
    helmet.minMagicAttack = 1;
    helmet.maxMagicAttack = 2;
    helmet.agility = 3;
    helmet.accuracy = 4;
    helmet.intelligence = 5;
    tables.items.Append(sword);
    tables.items.Append(helmet);
    ItemSlots<12> equipment;

    Player p;
    p.ResetToStart();
    p.level = 9;
    p.RecomputeAttributes(equipment, tables);
    EXPECT_EQ(p.minPhysAttack, 1);
    EXPECT_EQ(p.maxMagicDefence, 1);
    EXPECT_EQ(p.strength, 0);
    EXPECT_EQ(p.constitution, 0);

    equipment.Set(11, ItemRef{1, 0, 0});
    equipment.Set(1, ItemRef{2, 0, 0});
    equipment.Set(5, ItemRef{99, 0, 0});  // no such row: ignored
    p.RecomputeAttributes(equipment, tables);
    EXPECT_EQ(p.minPhysAttack, 4);
    EXPECT_EQ(p.maxPhysAttack, 10);
    EXPECT_EQ(p.minPhysDefence, 5);
    EXPECT_EQ(p.maxPhysDefence, 6);
    EXPECT_EQ(p.minMagicAttack, 2);
    EXPECT_EQ(p.maxMagicAttack, 3);
    EXPECT_EQ(p.minMagicDefence, 7);
    EXPECT_EQ(p.maxMagicDefence, 8);
    EXPECT_EQ(p.strength, 2);
    EXPECT_EQ(p.agility, 3);
    EXPECT_EQ(p.accuracy, 4);
    EXPECT_EQ(p.intelligence, 5);
    EXPECT_EQ(p.constitution, 1);
    EXPECT_EQ(p.level, 9) << "the level is not an attribute of the equipment";

    // Taking the items off brings the base values back; nothing accumulates.
    equipment.Clear();
    p.RecomputeAttributes(equipment, tables);
    p.RecomputeAttributes(equipment, tables);
    EXPECT_EQ(p.maxPhysAttack, 1);
    EXPECT_EQ(p.intelligence, 0);
}

TEST(PlayerProgression, HugeItemColumnsSaturate) {
    DataTables tables;
    ItemRow big;
    big.maxPhysAttack = INT_MAX;
    big.strength = INT_MIN;
    tables.items.Append(big);
    ItemSlots<12> equipment;
    equipment.Set(1, ItemRef{1, 0, 0});
    equipment.Set(2, ItemRef{1, 0, 0});
    Player p;
    p.RecomputeAttributes(equipment, tables);
    EXPECT_EQ(p.maxPhysAttack, INT_MAX);
    EXPECT_EQ(p.strength, INT_MIN);
}

TEST(PlayerProgression, TheDefaultNameAndStartingValues) {
    Player p;
    p.hp = 3;
    p.level = 7;
    p.statusFlags[1] = 1;
    p.doubleExpTotal = 5;
    p.ResetToStart();
    EXPECT_EQ(p.name, gbk::Lit("玩家001"));
    EXPECT_EQ(p.hp, 20);
    EXPECT_EQ(p.maxHp, 20);
    EXPECT_EQ(p.mp, 500);
    EXPECT_EQ(p.level, 1);
    EXPECT_EQ(p.spellReach, 200);
    EXPECT_EQ(p.statusFlags[1], 0);
    EXPECT_EQ(p.doubleExpTotal, 0);
    EXPECT_EQ(p.currentAttack.Name(), gbk::Lit("攻击1"));
    EXPECT_EQ(p.attacks[1].Name(), gbk::Lit("攻击2"));
    EXPECT_EQ(p.attacks[1].xOffset(), -50);
}

}  // namespace

namespace {

TEST(MessageNumbers, TwoDecimalsDropTrailingZeros) {
    EXPECT_EQ(TwoDecimalsText(1), "1");
    EXPECT_EQ(TwoDecimalsText(0), "0");
    EXPECT_EQ(TwoDecimalsText(7.5), "7.5");
    EXPECT_EQ(TwoDecimalsText(2.75), "2.75");
    EXPECT_EQ(TwoDecimalsText(149.0 / 60), "2.48");
    EXPECT_EQ(TwoDecimalsText(1.005), "1.01");
    EXPECT_EQ(TwoDecimalsText(-0.001), "0");
    EXPECT_EQ(TwoDecimalsText(-1.5), "-1.5");
    EXPECT_EQ(TwoDecimalsText(1.0 / 0.0), "0");
}

}  // namespace
