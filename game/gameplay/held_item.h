#pragma once
// The held-item (drag) model: the hand, and the click rules of
// the bag, equipment and shop cells, the right-button return of a shop item,
// the drop outside the item window and the return of a held item when its
// window closes. Plain logic: what it needs from the game (gold, messages,
// sounds, the drop at the player's feet) comes through ItemWorld.
//
// Invariants: the hand keeps one source id, set to
// the cell on every take and swap; a stocked shop cell replaces the hand only
// when the hand is empty or holds a shop item; a held shop item is never
// dropped; quest items (category 14) are neither dropped nor sold. No click
// sequence loses, duplicates or mints an item or gold.
//
// An item from the belongings always has a place to go back to: its home,
// an empty bag or equipment cell that stays reserved while it is held (the
// cell it was taken from, or after a swap a free cell that accepts it).
// Pick-ups and "增加物品" skip the home; the game's scripts see the held
// item in it. A click that would leave the hand without a home is refused.

#include <cstdint>
#include <string>

#include "gameplay/inventory.h"

struct ItemRow;

// Slot ids as the cells carry them.
namespace item_slots {
constexpr int kBagFirst = 1, kBagLast = 36;
constexpr int kEquipmentFirst = 37, kEquipmentLast = 48;
constexpr int kShopBase = 100;  // shop cell n (1..48) has id 100 + n
constexpr int kShopFirst = 101, kShopLast = 148;
inline bool IsBag(int id) { return id >= kBagFirst && id <= kBagLast; }
inline bool IsEquipment(int id) { return id >= kEquipmentFirst && id <= kEquipmentLast; }
inline bool IsShop(int id) { return id >= kShopFirst && id <= kShopLast; }
// The item category each equipment slot (1..12) accepts, and its name.
int EquipmentCategory(int slot);
const std::string& EquipmentName(int slot);  // GBK "头盔" .. "饰品"
}  // namespace item_slots

enum class ItemSound { Refuse, Drink, Use };

// What the item rules need from the game.
class ItemWorld {
public:
    virtual ~ItemWorld() = default;
    // The item table row of number n, or nullptr.
    virtual const ItemRow* Row(int itemNumber) const = 0;
    virtual int Gold() const = 0;
    // The gold operation of "增加金币": the change and its log line.
    virtual void ChangeGold(int delta) = 0;
    // A banner (the list of "屏幕信息").
    virtual void Banner(const std::string& gbkText, std::uint32_t colour) = 0;
    // A chat log line with the label "[系统]" in red.
    virtual void SystemLine(const std::string& gbkText) = 0;
    virtual void PlaySound(ItemSound sound) = 0;
    // A ground item of that number at the player's feet.
    virtual void DropAtFeet(int itemNumber) = 0;
};

struct HeldItem {
    bool holding = false;
    ItemRef item;    // item.sourceSlot == source while holding
    int source = 0;  // the cell id it was taken from
    int home = 0;    // the reserved empty cell it goes back to; 0 for a shop item

    bool FromShop() const { return holding && item_slots::IsShop(source); }
    bool FromBelongings() const { return holding && source >= 1 && source <= 99; }
    // Takes `ref` from cell `cellId`; an item of the belongings has that
    // (now empty) cell as its home.
    void Take(const ItemRef& ref, int cellId) {
        holding = true;
        item = ref;
        item.sourceSlot = cellId;
        source = cellId;
        home = item_slots::IsShop(cellId) ? 0 : cellId;
    }
    void Clear() { *this = HeldItem{}; }
};

class ItemHand {
public:
    static constexpr std::uint32_t kYellow = 0xFFFFFF00;

    // Left click on bag cell `slot` (1..36).
    void ClickBag(Inventory& inv, int slot, ItemWorld& world);
    // Left click on equipment slot `slot` (1..12): EquipClick of its category.
    void ClickEquipment(Inventory& inv, int slot, ItemWorld& world);
    // Left click on shop cell `cell` (1..48): sell what the hand holds, then
    // take the cell's item when the hand is free for it.
    void ClickShop(Inventory& inv, int cell, ItemWorld& world);
    // The right button: a held shop item goes back (the shop cell never lost
    // it, so the hand just lets go). True when something was let go.
    bool RightClick();
    // A left click outside the windows: a shop item is let go, a quest item
    // is refused with its line, anything else is dropped at the player's
    // feet.
    void ClickOutside(ItemWorld& world);
    // The window the item came from closed: back to its home (else the
    // first empty bag cell, else onto the ground, never for a quest item,
    // which then stays in the hand); a shop item is let go.
    void ReturnHome(Inventory& inv, ItemWorld& world);

    // The reserved home of the held item: a bag slot (1..36) or an
    // equipment slot (1..12); 0 when the hand holds none there.
    int HomeBagSlot() const;
    int HomeEquipmentSlot() const;
    // Something other than the hand wrote into the home cell: the held item
    // was taken from it when the cell is now empty (a script took the goods),
    // else it looks for another free bag cell.
    void HomeCellWritten(const Inventory& inv);

    // The hand's item price as the rules read it (a negative price is 0).
    static int Price(const ItemRow* row);

    HeldItem held;

private:
    // Pays for the held shop item; false (with the banner and the sound)
    // when the gold is short.
    bool Pay(ItemWorld& world, const ItemRow* row);
    // Whether an item of `category` can go back to cell id `home` (any item
    // into a bag cell, the matching category into an equipment cell).
    static bool Accepts(int home, int category);
    // The home for an item of `category` the hand is about to take in a
    // swap: the current home when it is free and fits, else the first empty
    // bag cell, else 0 (no place: the swap is refused).
    int HomeAfterSwap(const Inventory& inv, int category) const;
    // The refusal of a click that would leave the hand without a home.
    static void RefuseFull(ItemWorld& world);
};
