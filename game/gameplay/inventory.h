#pragma once
// The player's belongings that outlive a map: the bag (36 slots), the
// equipment (12 slots), the shop's stock (48 cells) and the quest log
// (ActiveQuests, 10 quest numbers). Plain data: slots are 1-based as the
// game numbers them, and a slot outside its range reads as empty and
// ignores writes.

#include <array>

#include "gameplay/item_templates.h"

class JsonWriter;

template <std::size_t N>
class ItemSlots {
public:
    static constexpr int kSize = static_cast<int>(N);
    // The item in slot n (an empty ItemRef outside 1..N).
    const ItemRef& At(int n) const {
        static const ItemRef kEmpty{};
        return n >= 1 && n <= kSize ? m_slots[static_cast<std::size_t>(n - 1)] : kEmpty;
    }
    void Set(int n, const ItemRef& item) {
        if (n >= 1 && n <= kSize) m_slots[static_cast<std::size_t>(n - 1)] = item;
    }
    int Occupied() const {
        int count = 0;
        for (const ItemRef& r : m_slots) count += r.itemNumber != 0 ? 1 : 0;
        return count;
    }
    void Clear() { m_slots = {}; }

private:
    std::array<ItemRef, N> m_slots{};
};

struct Inventory {
    static constexpr int kWeaponSlot = 11;  // "武器"

    ItemSlots<36> bag;
    ItemSlots<12> equipment;
    ItemSlots<48> shop;

    // Writes the keys "bag", "equipment" and "shop": the item number of every
    // slot, 0 for an empty one.
    void DumpState(JsonWriter& w) const;
};

class QuestLog {
public:
    static constexpr int kSlots = 10;
    int At(int slot) const { return slot >= 1 && slot <= kSlots ? m_slots[static_cast<std::size_t>(slot - 1)] : 0; }
    void Set(int slot, int quest) {
        if (slot >= 1 && slot <= kSlots) m_slots[static_cast<std::size_t>(slot - 1)] = quest;
    }
    // An array of the ten slots.
    void DumpState(JsonWriter& w) const;

private:
    std::array<int, kSlots> m_slots{};
};
