#include "gameplay/held_item.h"

#include "gameplay/data_tables.h"
#include "shared/gbk.h"

namespace item_slots {

namespace {
constexpr int kCategories[12] = {4, 3, 2, 5, 10, 6, 11, 9, 8, 7, 1, 12};
constexpr const char* kNames[12] = {"头盔", "项链", "盔甲", "手套", "盾牌", "戒指",
                                    "面具", "披风", "裤子", "鞋子", "武器", "饰品"};
}  // namespace

int EquipmentCategory(int slot) { return slot >= 1 && slot <= 12 ? kCategories[slot - 1] : -1; }

const std::string& EquipmentName(int slot) {
    static const std::string kNone;
    return slot >= 1 && slot <= 12 ? gbk::Lit(kNames[slot - 1]) : kNone;
}

}  // namespace item_slots

namespace {

int Category(const ItemWorld& world, int itemNumber) {
    const ItemRow* row = world.Row(itemNumber);
    return row != nullptr ? row->category : 0;
}

// Puts `ref` into cell `slot` of `slots`; the hand takes the cell's former
// item (source = cellId) or ends.
template <std::size_t N>
void PutOrSwap(HeldItem& held, ItemSlots<N>& slots, int slot, int cellId, const ItemRef& ref) {
    ItemRef former = slots.At(slot);
    ItemRef placed = ref;
    placed.sourceSlot = 0;
    slots.Set(slot, placed);
    if (former.itemNumber == 0) {
        held.Clear();
    } else {
        held.Take(former, cellId);
    }
}

int FirstEmptyBagCell(const Inventory& inv) {
    for (int n = 1; n <= ItemSlots<36>::kSize; ++n)
        if (inv.bag.At(n).itemNumber == 0) return n;
    return 0;
}

bool CellEmpty(const Inventory& inv, int cellId) {
    if (item_slots::IsBag(cellId)) return inv.bag.At(cellId).itemNumber == 0;
    if (item_slots::IsEquipment(cellId))
        return inv.equipment.At(cellId - item_slots::kEquipmentFirst + 1).itemNumber == 0;
    return false;
}

}  // namespace

int ItemHand::Price(const ItemRow* row) { return row != nullptr && row->price > 0 ? row->price : 0; }

bool ItemHand::Pay(ItemWorld& world, const ItemRow* row) {
    const int price = Price(row);
    if (world.Gold() < price) {
        world.Banner(gbk::Lit("金币不足!!"), kYellow);
        world.PlaySound(ItemSound::Refuse);
        return false;
    }
    world.ChangeGold(-price);
    return true;
}

bool ItemHand::Accepts(int home, int category) {
    if (item_slots::IsBag(home)) return true;
    return item_slots::IsEquipment(home) &&
           item_slots::EquipmentCategory(home - item_slots::kEquipmentFirst + 1) == category;
}

int ItemHand::HomeAfterSwap(const Inventory& inv, int category) const {
    // A shop item has no home; the item it swaps out needs a free bag cell.
    if (!held.FromShop() && held.home != 0 && CellEmpty(inv, held.home) && Accepts(held.home, category))
        return held.home;
    return FirstEmptyBagCell(inv);
}

void ItemHand::RefuseFull(ItemWorld& world) {
    world.Banner(gbk::Lit("包裹已满!!"), kYellow);
    world.PlaySound(ItemSound::Refuse);
}

int ItemHand::HomeBagSlot() const {
    return held.holding && !held.FromShop() && item_slots::IsBag(held.home) ? held.home : 0;
}

int ItemHand::HomeEquipmentSlot() const {
    return held.holding && !held.FromShop() && item_slots::IsEquipment(held.home)
               ? held.home - item_slots::kEquipmentFirst + 1
               : 0;
}

void ItemHand::HomeCellWritten(const Inventory& inv) {
    if (!held.holding || held.FromShop() || held.home == 0) return;
    if (CellEmpty(inv, held.home)) {
        held.Clear();  // the cell was emptied: what the hand held went with it
        return;
    }
    held.home = FirstEmptyBagCell(inv);
}

void ItemHand::ClickBag(Inventory& inv, int slot, ItemWorld& world) {
    if (slot < item_slots::kBagFirst || slot > item_slots::kBagLast) return;
    const ItemRef& cell = inv.bag.At(slot);
    if (held.FromShop() && inv.bag.Occupied() >= ItemSlots<36>::kSize) {
        RefuseFull(world);
        return;
    }
    if (!held.holding) {
        if (cell.itemNumber == 0) return;
        held.Take(cell, slot);
        inv.bag.Set(slot, ItemRef{});
        return;
    }
    // A swap hands the cell's item to the hand, which needs a free cell to
    // go back to; without one the click is refused before anything is paid.
    int home = 0;
    if (cell.itemNumber != 0) {
        home = HomeAfterSwap(inv, Category(world, cell.itemNumber));
        if (home == 0) {
            RefuseFull(world);
            return;
        }
    }
    if (held.FromShop() && !Pay(world, world.Row(held.item.itemNumber))) return;
    PutOrSwap(held, inv.bag, slot, slot, held.item);
    if (held.holding) held.home = home;
}

void ItemHand::ClickEquipment(Inventory& inv, int slot, ItemWorld& world) {
    const int category = item_slots::EquipmentCategory(slot);
    if (category < 0) return;
    const int cellId = item_slots::kEquipmentFirst + slot - 1;
    if (!held.holding) {
        const ItemRef& cell = inv.equipment.At(slot);
        if (cell.itemNumber == 0) return;
        held.Take(cell, cellId);
        inv.equipment.Set(slot, ItemRef{});
        return;
    }
    if (Category(world, held.item.itemNumber) != category) return;
    int home = 0;
    if (inv.equipment.At(slot).itemNumber != 0) {
        home = HomeAfterSwap(inv, category);
        if (home == 0) {
            RefuseFull(world);
            return;
        }
    }
    // A shop item is paid for exactly as in the bag: a free buy would be an exploit.
    if (held.FromShop() && !Pay(world, world.Row(held.item.itemNumber))) return;
    PutOrSwap(held, inv.equipment, slot, cellId, held.item);
    if (held.holding) held.home = home;
}

void ItemHand::ClickShop(Inventory& inv, int cell, ItemWorld& world) {
    if (cell < 1 || cell > ItemSlots<48>::kSize) return;
    if (held.FromBelongings()) {
        const ItemRow* row = world.Row(held.item.itemNumber);
        if (row != nullptr && row->category == ItemRow::kQuestItem) {
            world.SystemLine(gbk::Lit("任务物品无法丢弃或交易!"));
            return;  // stays in the hand; the shop cell cannot replace it
        }
        world.ChangeGold(Price(row) / 2);
        held.Clear();
    }
    const ItemRef& stock = inv.shop.At(cell);
    if (stock.itemNumber != 0 && (!held.holding || held.FromShop())) {
        held.Take(stock, item_slots::kShopBase + cell);
    }
}

bool ItemHand::RightClick() {
    if (!held.FromShop()) return false;
    held.Clear();
    return true;
}

void ItemHand::ClickOutside(ItemWorld& world) {
    if (!held.holding) return;
    if (held.FromShop()) {
        held.Clear();
        return;
    }
    if (Category(world, held.item.itemNumber) == ItemRow::kQuestItem) {
        world.SystemLine(gbk::Lit("任务物品无法丢弃或交易!"));
        return;
    }
    world.DropAtFeet(held.item.itemNumber);
    held.Clear();
}

void ItemHand::ReturnHome(Inventory& inv, ItemWorld& world) {
    if (!held.holding) return;
    if (held.FromShop()) {
        held.Clear();
        return;
    }
    ItemRef ref = held.item;
    ref.sourceSlot = 0;
    const int category = Category(world, ref.itemNumber);
    int cellId = held.home != 0 && CellEmpty(inv, held.home) && Accepts(held.home, category) ? held.home : 0;
    // The home is kept free while the item is held; these are only the
    // fall-backs should it have been filled all the same.
    if (cellId == 0) cellId = FirstEmptyBagCell(inv);
    if (item_slots::IsBag(cellId)) {
        inv.bag.Set(cellId, ref);
    } else if (item_slots::IsEquipment(cellId)) {
        inv.equipment.Set(cellId - item_slots::kEquipmentFirst + 1, ref);
    } else if (category == ItemRow::kQuestItem) {
        return;  // never onto the ground: it stays in the hand
    } else {
        world.DropAtFeet(ref.itemNumber);
    }
    held.Clear();
}
