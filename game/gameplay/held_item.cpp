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

void ItemHand::ClickBag(Inventory& inv, int slot, ItemWorld& world) {
    if (slot < item_slots::kBagFirst || slot > item_slots::kBagLast) return;
    if (held.FromShop()) {
        if (inv.bag.Occupied() >= ItemSlots<36>::kSize) {
            world.Banner(gbk::Lit("包裹已满!!"), kYellow);
            world.PlaySound(ItemSound::Refuse);
            return;
        }
        if (!Pay(world, world.Row(held.item.itemNumber))) return;
        PutOrSwap(held, inv.bag, slot, slot, held.item);
        return;
    }
    if (held.holding) {
        PutOrSwap(held, inv.bag, slot, slot, held.item);
        return;
    }
    const ItemRef& cell = inv.bag.At(slot);
    if (cell.itemNumber == 0) return;
    held.Take(cell, slot);
    inv.bag.Set(slot, ItemRef{});
}

void ItemHand::ClickEquipment(Inventory& inv, int slot, ItemWorld& world) {
    const int category = item_slots::EquipmentCategory(slot);
    if (category < 0) return;
    const int cellId = item_slots::kEquipmentFirst + slot - 1;
    if (held.holding) {
        if (Category(world, held.item.itemNumber) != category) return;
        // A shop item is paid for exactly as in the bag: a free buy would be an exploit.
        if (held.FromShop() && !Pay(world, world.Row(held.item.itemNumber))) return;
        PutOrSwap(held, inv.equipment, slot, cellId, held.item);
        return;
    }
    const ItemRef& cell = inv.equipment.At(slot);
    if (cell.itemNumber == 0) return;
    held.Take(cell, cellId);
    inv.equipment.Set(slot, ItemRef{});
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
    if (item_slots::IsBag(held.source) && inv.bag.At(held.source).itemNumber == 0) {
        inv.bag.Set(held.source, ref);
    } else if (item_slots::IsEquipment(held.source) &&
               inv.equipment.At(held.source - item_slots::kEquipmentFirst + 1).itemNumber == 0) {
        inv.equipment.Set(held.source - item_slots::kEquipmentFirst + 1, ref);
    } else {
        int free = 0;
        for (int n = 1; n <= ItemSlots<36>::kSize && free == 0; ++n) {
            if (inv.bag.At(n).itemNumber == 0) free = n;
        }
        if (free != 0) {
            inv.bag.Set(free, ref);
        } else {
            world.DropAtFeet(ref.itemNumber);
        }
    }
    held.Clear();
}
