#pragma once
// The per-NPC records scripts keep their progress in: one record per row of
// the NPC table, in row order, created zeroed with the row and kept for the
// whole run (they survive map changes).

#include <cstdint>
#include <vector>

struct NpcStateRecord {
    std::int32_t variable = 0;       // free value for the NPC's script
    std::int32_t questState = 0;     // 0 none, 1 quest available, 2 can be handed in
    std::int32_t questVariable = 0;  // free value for quest progress
};

class NpcState {
public:
    // Appends one zeroed record (called with every NPC table row).
    void Append() { m_records.emplace_back(); }

    int Count() const { return static_cast<int>(m_records.size()); }
    const std::vector<NpcStateRecord>& records() const { return m_records; }

    // Record of NPC `npc` (1-based), or nullptr outside 1..Count().
    NpcStateRecord* At(int npc) {
        return npc >= 1 && npc <= Count() ? &m_records[static_cast<std::size_t>(npc - 1)] : nullptr;
    }
    const NpcStateRecord* At(int npc) const {
        return npc >= 1 && npc <= Count() ? &m_records[static_cast<std::size_t>(npc - 1)] : nullptr;
    }

private:
    std::vector<NpcStateRecord> m_records;
};
