// Rules mended after play: a skill's cooldown belongs to the skill; a
// strike's end notice reaches only the strike that owns the effect; poison
// and curse strikes make the player flinch; a blocked walker that stands
// still has last direction 2; an item in the hand keeps its home cell.
#include <gtest/gtest.h>

#include "gameplay/data_tables.h"
#include "gameplay/held_item.h"
#include "gameplay/skill_bar_slots.h"
#include "monster_fixture.h"
#include "shared/gbk.h"

namespace {

using monster_test::Arena;

TEST(SkillCooldown, BelongsToTheSkillInEveryCellAndMovesWithIt) {
    SkillBarSlots bar;
    bar.Set(1, SkillRef{3, 3});
    bar.Set(2, SkillRef{3, 3});
    bar.Set(4, SkillRef{1, 1});
    EXPECT_EQ(bar.Cast(1, 6), SlotCast::Cast);
    EXPECT_EQ(bar.Cast(2, 6), SlotCast::NotReady);  // the same skill in another cell
    EXPECT_FLOAT_EQ(bar.ShadeHeight(2, 25), 25);
    EXPECT_EQ(bar.Cast(4, 2), SlotCast::Cast);  // another skill cools on its own
    bar.Tick(3);
    EXPECT_FLOAT_EQ(bar.At(1).cooldownLeft, 3);
    EXPECT_FLOAT_EQ(bar.At(2).cooldownLeft, 3);
    // Carried to cell 5 (and the other copy cleared off the bar), it still cools.
    bar.LeftPress(1);
    bar.LeftPress(5);
    bar.RightPress(2);
    EXPECT_FLOAT_EQ(bar.At(5).cooldownLeft, 3);
    EXPECT_EQ(bar.Cast(5, 6), SlotCast::NotReady);
    bar.Set(2, SkillRef{3, 3});  // put back on the bar: the same cooldown
    EXPECT_FLOAT_EQ(bar.ShadeTop(2, 25), 12.5f);
    bar.Tick(3);
    EXPECT_EQ(bar.Cast(2, 6), SlotCast::Cast);
}

TEST(MonsterStrike, AnOldEffectsEndLeavesTheCurrentStrikeActive) {
    Arena a(2);
    a.monster.strikeLaunched = 1;
    a.monster.strikeActive = 1;
    a.monster.strikeEffect = EffectHandle{9};
    a.monster.SpellEnded(EffectHandle{4});  // a strike before this one
    EXPECT_EQ(a.monster.strikeActive, 1);
    a.monster.SpellEnded(EffectHandle{9});
    EXPECT_EQ(a.monster.strikeActive, 0);
}

// A poison (variant 1) and a curse (variant 2) strike on the player.
TEST(MonsterStrike, PoisonAndCurseStrikesMakeThePlayerFlinchAsAHitDoes) {
    for (int variant : {1, 2}) {
        Arena a(2);
        a.player.state = Player::kIdle;
        a.monster.attackVariant = variant;
        a.monster.strikeActive = 1;
        a.monster.strike = {static_cast<int>(a.player.x), static_cast<int>(a.player.y), 60, 60};
        MonsterFrame f = a.Frame();
        a.monster.RangedHitCheck(f);
        EXPECT_EQ(a.player.state, Player::kHit) << variant;
        EXPECT_EQ(a.player.statusFlags[static_cast<std::size_t>(variant)], 1) << variant;
    }
}

TEST(MonsterWalk, ABlockedWalkerReRolledToStandingHasLastDirectionTwo) {
    // Seeds whose re-roll, walking left into the end of the home square,
    // stands the monster still.
    for (std::uint32_t seed : {4u, 6u}) {
        Arena a(0, 0);
        a.random.Seed(seed);
        a.monster.direction = 0;
        a.monster.behaviourDuration = 100;
        a.monster.behaviourTimer = 1;
        a.Step();
        ASSERT_EQ(a.monster.direction, 2) << seed;
        EXPECT_EQ(a.monster.lastDirection, 2) << seed;
        EXPECT_FLOAT_EQ(a.monster.flipOffset, 0) << seed;  // the facing rule's "else"
    }
}

class HandWorld final : public ItemWorld {
public:
    HandWorld() {
        for (int n = 1; n <= 16; ++n) {
            ItemRow r;
            r.category = n == 14 ? ItemRow::kQuestItem : (n == 5 ? 4 : 15);
            r.price = 10;
            tables.items.Append(r);
        }
    }
    const ItemRow* Row(int n) const override { return tables.items.At(n); }
    int Gold() const override { return gold; }
    void ChangeGold(int d) override { gold += d; }
    void Banner(const std::string& t, std::uint32_t) override { banners.push_back(t); }
    void SystemLine(const std::string&) override {}
    void PlaySound(ItemSound) override {}
    void DropAtFeet(int n) override { drops.push_back(n); }
    DataTables tables;
    int gold = 100;
    std::vector<std::string> banners;
    std::vector<int> drops;
};

TEST(ItemHome, AHeldItemKeepsAFreeCellToGoBackToWhateverIsClicked) {
    HandWorld w;
    Inventory inv;
    for (int n = 1; n <= 36; ++n) inv.bag.Set(n, ItemRef{n == 1 ? 14 : 15, 1, 0});
    inv.equipment.Set(1, ItemRef{5, 5, 0});  // a helmet
    ItemHand hand;
    hand.ClickBag(inv, 1, w);  // the quest letter into the hand
    EXPECT_EQ(hand.HomeBagSlot(), 1);
    // Swapped with a skin, the skin's home is the letter's old cell.
    hand.ClickBag(inv, 2, w);
    EXPECT_EQ(inv.bag.At(2).itemNumber, 14);
    EXPECT_EQ(hand.held.item.itemNumber, 15);
    EXPECT_EQ(hand.HomeBagSlot(), 1);
    hand.ReturnHome(inv, w);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 15);
    EXPECT_TRUE(w.drops.empty());

    // The helmet taken from its slot with a full bag: a swap with a skin
    // would leave the skin nowhere to go, so it is refused.
    hand.ClickEquipment(inv, 1, w);
    EXPECT_EQ(hand.HomeEquipmentSlot(), 1);
    hand.ClickBag(inv, 3, w);
    EXPECT_EQ(inv.bag.At(3).itemNumber, 15);
    EXPECT_EQ(hand.held.item.itemNumber, 5);
    EXPECT_EQ(w.banners.size(), 1u);
    hand.ReturnHome(inv, w);
    EXPECT_EQ(inv.equipment.At(1).itemNumber, 5);

    // Its home taken all the same, a quest item stays in the hand rather
    // than lie on the ground.
    hand.ClickBag(inv, 2, w);
    inv.bag.Set(2, ItemRef{15, 1, 0});
    hand.ReturnHome(inv, w);
    EXPECT_TRUE(hand.held.holding);
    EXPECT_TRUE(w.drops.empty());
}

}  // namespace
