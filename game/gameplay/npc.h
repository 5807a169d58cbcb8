#pragma once
// An NPC of the current map (created from the NPC table by the map load,
// owned by the map's actors). Update and Draw run once a frame in list order.

#include "shared/wdm_map.h"

class JsonWriter;
struct NpcRow;

class Npc {
public:
    Npc() = default;
    virtual ~Npc() = default;

    // Map load: the NPC of table row `number` stands on `ground` at `offset`
    // from its left edge. The row exists (the map skips events without one).
    // For now this keeps the placement; the NPC work loads the rest.
    virtual void CreateFromRow(int number, const NpcRow& row, const wdm::GroundRecord& ground, double offset);

    virtual void Update();
    virtual void Draw();
    virtual void DumpState(JsonWriter& w) const;

    int number() const { return m_number; }
    float x() const { return m_x; }
    float y() const { return m_y; }

protected:
    int m_number = 0;
    float m_x = 0, m_y = 0;  // left edge on the ground, the ground's top
};
