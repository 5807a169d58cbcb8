#include "gameplay/npc.h"

#include "core/json_writer.h"
#include "gameplay/data_tables.h"

void Npc::CreateFromRow(int number, const NpcRow&, const wdm::GroundRecord& ground, double offset) {
    m_number = number;
    m_x = static_cast<float>(ground.left + offset);
    m_y = static_cast<float>(ground.top);
}

void Npc::Update() {}

void Npc::Draw() {}

void Npc::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("number", m_number);
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.EndObject();
}
