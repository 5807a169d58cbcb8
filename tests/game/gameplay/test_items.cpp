// The held-item model, item use and ground items: the edge cases of the
// rules and the conservation of items and gold.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gameplay/data_tables.h"
#include "gameplay/ground_item.h"
#include "gameplay/held_item.h"
#include "gameplay/item_use.h"
#include "gameplay/player.h"
#include "shared/gbk.h"

namespace {

ItemRow MakeRow(const char* name, int category, int price, int col3 = 0, int col4 = 0) {
    ItemRow r;
    r.name = gbk::Lit(name);
    r.category = category;
    r.price = price;
    r.minPhysAttack = col3;
    r.maxPhysAttack = col4;
    return r;
}

class FakeWorld final : public ItemUseWorld, public GroundItemHost {
public:
    FakeWorld() {
        tables.items.Append(MakeRow("扫把", 1, 10));      // 1 weapon
        tables.items.Append(MakeRow("铁剑", 1, 15));      // 2 weapon, 15 gold
        tables.items.Append(MakeRow("皮帽", 4, 50));      // 3 helmet
        tables.items.Append(MakeRow("村长的信", 14, 0));  // 4 quest item
        tables.items.Append(MakeRow("野狗皮", 15, -8));   // 5 negative price
        for (int n = 6; n <= 15; ++n) tables.items.Append(MakeRow("杂物", 15, 1));
        tables.items.Append(MakeRow("金币", 0, 1));            // 16
        tables.items.Append(MakeRow("小红药水", 13, 20, 6, 0));  // 17
        tables.items.Append(MakeRow("小蓝药水", 13, 20, 0, 50)); // 18
        tables.items.Append(MakeRow("太阳神水", 13, 150, 6, 6)); // 19
        tables.items.Append(MakeRow("回城卷轴", 13, 50));       // 20
        tables.items.Append(MakeRow("双倍经验卷", 13, 500));    // 21
        tables.items.Append(MakeRow("雷电术书", 13, 800));      // 22
        thunder.name = gbk::Lit("雷电术");
        thunder.requiredLevel = 2;
    }
    const SkillRow* BookSkill(int n) const override { return n == 22 ? &thunder : nullptr; }
    const ItemRow* Row(int n) const override { return tables.items.At(n); }
    int Gold() const override { return gold; }
    void ChangeGold(int delta) override {
        gold += delta;
        lines.push_back(delta > 0 ? "+" + std::to_string(delta) : "gold" + std::to_string(delta));
    }
    void Banner(const std::string& t, std::uint32_t) override { banners.push_back(t); }
    void SystemLine(const std::string& t) override { lines.push_back(t); }
    void PlaySound(ItemSound s) override { sounds.push_back(s); }
    void DropAtFeet(int n) override { drops.push_back(n); }
    void StartDoubleExperience() override { ++doubleExp; }
    bool LearnSkill(int) override { return learnResult; }
    void ReturnToTown() override { ++returns; }
    void PlainLine(const std::string& t) override { plainLines.push_back(t); }

    int ItemNumber(const std::string& name) const override { return tables.FindItem(name); }
    bool BagFull() const override { return bagFull; }
    void ReportBagFull() override { lines.push_back(gbk::Lit("包裹已满!! ")); }
    void PlayerBox(float& x, float& y, float& w, float& h) const override {
        x = 100;
        y = 100;
        w = 40;
        h = 70;
    }
    bool ShowNames() const override { return false; }
    bool Deliver(const GroundItem& item) override {
        if (item.itemNumber() == 16) {
            gold += item.goldAmount();
            return true;
        }
        if (bagFull) return false;
        delivered.push_back(item.itemNumber());
        return true;
    }
    void DrawIcon(int, float, float) override {}
    void DrawName(const std::string&, float, float) override {}

    DataTables tables;
    SkillRow thunder;
    int gold = 0;
    std::vector<std::string> lines, plainLines, banners;
    std::vector<ItemSound> sounds;
    std::vector<int> drops, delivered;
    int doubleExp = 0, returns = 0;
    bool learnResult = false, bagFull = false;
};

ItemRef Ref(int n) { return ItemRef{n, n, 0}; }

int CountItem(const Inventory& inv, int n) {
    int c = 0;
    for (int s = 1; s <= 36; ++s) c += inv.bag.At(s).itemNumber == n ? 1 : 0;
    for (int s = 1; s <= 12; ++s) c += inv.equipment.At(s).itemNumber == n ? 1 : 0;
    return c;
}

TEST(ItemUse, APotionHealsUpToTheMaximumAndStaysInItsCell) {
    FakeWorld w;
    Inventory inv;
    inv.bag.Set(1, Ref(17));
    Player p;
    p.hp = 10;
    p.maxHp = 20;
    EXPECT_TRUE(UseBagItem(inv, 1, p, w));
    EXPECT_FLOAT_EQ(p.hp, 16);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 17);
    p.hp = 17;
    UseBagItem(inv, 1, p, w);
    EXPECT_FLOAT_EQ(p.hp, 20);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 17);
    EXPECT_EQ(w.lines.back(), gbk::Lit("药品发挥了疗效! HP +") + "6");
    EXPECT_EQ(w.sounds.back(), ItemSound::Drink);
}

TEST(ItemUse, APotionWithHpIsRefusedAtFullHpEvenWhenMpIsNotFull) {
    FakeWorld w;
    Inventory inv;
    inv.bag.Set(1, Ref(19));
    Player p;
    p.hp = p.maxHp = 20;
    p.mp = 1;
    p.maxMp = 500;
    UseBagItem(inv, 1, p, w);
    EXPECT_FLOAT_EQ(p.mp, 1);
    ASSERT_EQ(w.sounds.size(), 1u);
    EXPECT_EQ(w.sounds[0], ItemSound::Refuse);
    EXPECT_TRUE(w.lines.empty());
}

TEST(ItemUse, ScrollBookAndDoubleExperience) {
    FakeWorld w;
    Inventory inv;
    inv.bag.Set(1, Ref(20));
    inv.bag.Set(2, Ref(21));
    inv.bag.Set(3, Ref(22));
    inv.bag.Set(4, Ref(1));
    Player p;
    UseBagItem(inv, 1, p, w);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 0);
    EXPECT_EQ(w.returns, 1);
    UseBagItem(inv, 2, p, w);
    EXPECT_EQ(w.doubleExp, 1);
    EXPECT_EQ(inv.bag.At(2).itemNumber, 21);
    p.level = 1;
    UseBagItem(inv, 3, p, w);
    // The level line is in the log's default colours, not the red of the system lines.
    ASSERT_EQ(w.plainLines.size(), 1u);
    EXPECT_EQ(w.plainLines.back(), gbk::Lit("雷电术需要等级2以上."));
    EXPECT_TRUE(w.lines.empty());
    EXPECT_EQ(inv.bag.At(3).itemNumber, 22);
    p.level = 2;
    UseBagItem(inv, 3, p, w);  // learning refused until the skills land
    EXPECT_EQ(w.sounds.back(), ItemSound::Refuse);
    EXPECT_EQ(inv.bag.At(3).itemNumber, 22);
    w.learnResult = true;
    UseBagItem(inv, 3, p, w);
    EXPECT_EQ(inv.bag.At(3).itemNumber, 0);
    EXPECT_FALSE(UseBagItem(inv, 4, p, w));  // not a consumable
}

TEST(ItemUse, ADeadPlayerUsesNothing) {
    FakeWorld w;
    Inventory inv;
    for (int n = 17; n <= 22; ++n) inv.bag.Set(n - 16, Ref(n));
    Player p;
    p.ResetToStart();
    p.level = 5;
    p.hp = 0;
    p.state = Player::kDead;
    w.learnResult = true;
    for (int slot = 1; slot <= 6; ++slot) EXPECT_TRUE(UseBagItem(inv, slot, p, w)) << slot;
    EXPECT_EQ(p.hp, 0);
    EXPECT_EQ(w.returns, 0);
    EXPECT_EQ(w.doubleExp, 0);
    for (int slot = 1; slot <= 6; ++slot) EXPECT_EQ(inv.bag.At(slot).itemNumber, slot + 16) << slot;
    EXPECT_EQ(w.sounds, std::vector<ItemSound>(6, ItemSound::Refuse));
}

TEST(ItemHand, BuyWithExactlyThePriceThenSellBackForHalf) {
    FakeWorld w;
    Inventory inv;
    inv.shop.Set(1, Ref(2));  // 15 gold
    w.gold = 15;
    ItemHand hand;
    hand.ClickShop(inv, 1, w);
    ASSERT_TRUE(hand.held.FromShop());
    EXPECT_EQ(hand.held.source, 101);
    hand.ClickBag(inv, 5, w);
    EXPECT_EQ(w.gold, 0);
    EXPECT_EQ(w.lines.back(), "gold-15");
    EXPECT_EQ(inv.bag.At(5).itemNumber, 2);
    EXPECT_FALSE(hand.held.holding);
    EXPECT_EQ(inv.shop.At(1).itemNumber, 2);  // the stock is not used up
    hand.ClickBag(inv, 5, w);
    EXPECT_EQ(hand.held.source, 5);
    hand.ClickShop(inv, 2, w);  // an empty shop cell: sold
    EXPECT_EQ(w.gold, 7);
    EXPECT_FALSE(hand.held.holding);
    EXPECT_EQ(CountItem(inv, 2), 0);
}

TEST(ItemHand, TooLittleGoldAndAFullBagRefuseTheBuy) {
    FakeWorld w;
    Inventory inv;
    inv.shop.Set(1, Ref(2));
    w.gold = 14;
    ItemHand hand;
    hand.ClickShop(inv, 1, w);
    hand.ClickBag(inv, 1, w);
    EXPECT_EQ(w.banners.back(), gbk::Lit("金币不足!!"));
    EXPECT_EQ(w.gold, 14);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 0);
    for (int s = 1; s <= 36; ++s) inv.bag.Set(s, Ref(5));
    w.gold = 100;
    hand.ClickBag(inv, 1, w);
    EXPECT_EQ(w.banners.back(), gbk::Lit("包裹已满!!"));
    EXPECT_EQ(w.gold, 100);
    EXPECT_TRUE(hand.RightClick());  // the right button lets the shop item go
    EXPECT_FALSE(hand.held.holding);
}

TEST(ItemHand, SwapInTheBagAndTheHelmetIsRefusedByTheWeaponCell) {
    FakeWorld w;
    Inventory inv;
    inv.bag.Set(1, Ref(3));
    inv.bag.Set(2, Ref(2));
    ItemHand hand;
    hand.ClickBag(inv, 1, w);
    hand.ClickBag(inv, 2, w);
    EXPECT_EQ(inv.bag.At(2).itemNumber, 3);
    EXPECT_EQ(hand.held.item.itemNumber, 2);
    EXPECT_EQ(hand.held.source, 2);  // the source follows every swap
    hand.ClickBag(inv, 1, w);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 2);
    EXPECT_FALSE(hand.held.holding);
    hand.ClickBag(inv, 2, w);  // the helmet
    hand.ClickEquipment(inv, 11, w);  // weapon cell
    EXPECT_TRUE(hand.held.holding);
    EXPECT_EQ(inv.equipment.At(11).itemNumber, 0);
    hand.ClickEquipment(inv, 1, w);  // helmet cell
    EXPECT_FALSE(hand.held.holding);
    EXPECT_EQ(inv.equipment.At(1).itemNumber, 3);
}

TEST(ItemHand, SellAndPickUpInOneClick) {
    FakeWorld w;
    Inventory inv;
    inv.bag.Set(1, Ref(3));  // 50 gold
    inv.shop.Set(4, Ref(17));
    ItemHand hand;
    hand.ClickBag(inv, 1, w);
    hand.ClickShop(inv, 4, w);
    EXPECT_EQ(w.gold, 25);
    EXPECT_EQ(hand.held.item.itemNumber, 17);
    EXPECT_EQ(hand.held.source, 104);
}

TEST(ItemHand, QuestItemsAreNeitherSoldNorDropped) {
    FakeWorld w;
    Inventory inv;
    inv.bag.Set(1, Ref(4));
    inv.shop.Set(1, Ref(17));
    ItemHand hand;
    hand.ClickBag(inv, 1, w);
    hand.ClickShop(inv, 1, w);
    EXPECT_EQ(w.lines.back(), gbk::Lit("任务物品无法丢弃或交易!"));
    EXPECT_EQ(hand.held.item.itemNumber, 4);  // the shop item did not replace it
    hand.ClickOutside(w);
    EXPECT_TRUE(w.drops.empty());
    EXPECT_TRUE(hand.held.holding);
    hand.ReturnHome(inv, w);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 4);
}

TEST(ItemHand, AShopItemIsPaidForOnAnEquipmentCellAndNeverDropped) {
    FakeWorld w;
    Inventory inv;
    inv.shop.Set(1, Ref(3));  // helmet, 50
    w.gold = 60;
    ItemHand hand;
    hand.ClickShop(inv, 1, w);
    hand.ClickOutside(w);  // released, not dropped
    EXPECT_TRUE(w.drops.empty());
    EXPECT_FALSE(hand.held.holding);
    hand.ClickShop(inv, 1, w);
    hand.ClickEquipment(inv, 1, w);
    EXPECT_EQ(w.gold, 10);
    EXPECT_EQ(inv.equipment.At(1).itemNumber, 3);
    // A negative price counts as 0 when sold.
    inv.bag.Set(1, Ref(5));
    hand.ClickBag(inv, 1, w);
    hand.ClickShop(inv, 2, w);
    EXPECT_EQ(w.gold, 10);
}

TEST(ItemHand, ADroppedItemGoesToTheFeetAndAClosedWindowSendsItHome) {
    FakeWorld w;
    Inventory inv;
    inv.bag.Set(3, Ref(2));
    ItemHand hand;
    hand.ClickBag(inv, 3, w);
    hand.ClickOutside(w);
    EXPECT_EQ(w.drops, std::vector<int>{2});
    inv.bag.Set(3, Ref(2));
    hand.ClickBag(inv, 3, w);
    inv.bag.Set(3, Ref(1));  // a script filled its cell meanwhile
    hand.ReturnHome(inv, w);
    EXPECT_EQ(inv.bag.At(1).itemNumber, 2);
}

TEST(GroundItem, GoldWithCountZeroGivesOneAndFliesToThePlayer) {
    FakeWorld w;
    GroundItem g(300, 100);
    g.SetHost(&w);
    g.SetName(gbk::Lit("金币"));
    g.SetItem(16, 0);
    w.bagFull = true;  // gold needs no bag cell
    EXPECT_TRUE(g.PickUp());
    EXPECT_FALSE(g.PickUp());  // already picked
    for (int i = 0; i < 200 && !g.gone(); ++i) g.Update();
    EXPECT_TRUE(g.gone());
    EXPECT_EQ(w.gold, 1);
}

TEST(GroundItem, BobsBetweenMinusTenAndZero) {
    GroundItem g(0, 0);
    float low = 0, high = -100;
    for (int i = 0; i < 400; ++i) {
        g.Update();
        low = std::min(low, g.bob());
        high = std::max(high, g.bob());
    }
    EXPECT_NEAR(low, -10, 0.13);
    EXPECT_NEAR(high, 0, 0.13);
}

TEST(GroundItem, AFullBagRefusesThePickUpAndAnArrivalAtAFullBagStays) {
    FakeWorld w;
    GroundItem g(120, 150);
    g.SetHost(&w);
    g.SetItem(2, 1);
    w.bagFull = true;
    EXPECT_FALSE(g.PickUp());
    EXPECT_EQ(w.lines.back(), gbk::Lit("包裹已满!! "));
    w.bagFull = false;
    EXPECT_TRUE(g.PickUp());
    w.bagFull = true;
    g.Update();  // inside the box: arrives, but the bag filled meanwhile
    EXPECT_FALSE(g.gone());
    EXPECT_FALSE(g.picked());
    w.bagFull = false;
    EXPECT_TRUE(g.PickUp());
    EXPECT_TRUE(g.DeliverNow());
    EXPECT_EQ(w.delivered, std::vector<int>{2});
}

}  // namespace
