#pragma once
// A growable table of objects named by 32-bit handles. The low 20 bits hold
// the slot index + 1, the high 12 bits a generation that changes whenever a
// slot is freed, so a stale handle never reaches the slot's next occupant.
// Lookup is one vector index and one compare.

#include <cstdint>
#include <utility>
#include <vector>

namespace lumo {

template <class T>
class SlotTable {
public:
    static constexpr std::uint32_t kIndexBits = 20;
    static constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;

    // Stores `value` and returns its handle, or 0 when the table is full.
    std::uint32_t Add(T value) {
        std::uint32_t index;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            if (m_slots.size() >= kIndexMask) return 0;
            index = static_cast<std::uint32_t>(m_slots.size());
            m_slots.emplace_back();
        }
        Slot& s = m_slots[index];
        s.value = std::move(value);
        s.alive = true;
        return (s.generation << kIndexBits) | (index + 1);
    }

    // The object named by `h`, or nullptr when h is 0, freed or stale.
    T* Get(std::uint32_t h) {
        const std::uint32_t index = (h & kIndexMask) - 1;
        if (index >= m_slots.size()) return nullptr;
        Slot& s = m_slots[index];
        if (!s.alive || s.generation != (h >> kIndexBits)) return nullptr;
        return &s.value;
    }

    // Frees the object (its destructor runs); false when h was not live.
    bool Remove(std::uint32_t h) {
        if (!Get(h)) return false;
        const std::uint32_t index = (h & kIndexMask) - 1;
        Slot& s = m_slots[index];
        s.value = T();
        s.alive = false;
        s.generation = (s.generation + 1) & ((1u << (32 - kIndexBits)) - 1);
        m_free.push_back(index);
        return true;
    }

    // Calls fn(handle, object) for every live object.
    template <class Fn>
    void ForEach(Fn&& fn) {
        for (std::uint32_t i = 0; i < m_slots.size(); ++i) {
            Slot& s = m_slots[i];
            if (s.alive) fn((s.generation << kIndexBits) | (i + 1), s.value);
        }
    }

    void Clear() {
        m_slots.clear();
        m_free.clear();
    }

private:
    struct Slot {
        T value{};
        std::uint32_t generation = 1;
        bool alive = false;
    };
    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_free;
};

}  // namespace lumo
