#include "gameplay/monster.h"

#include "core/json_writer.h"
#include "gameplay/data_tables.h"

void Monster::CreateFromRow(int number, const MonsterRow&, int groundNumber, const wdm::GroundRecord& ground,
                            const wdm::MonsterDetail& detail) {
    m_number = number;
    m_homeGround = groundNumber;
    m_placement = detail;
    m_x = static_cast<float>(ground.left + detail.offset);
    m_y = static_cast<float>(ground.top);
}

void Monster::Update(float) {}

void Monster::Draw() {}

void Monster::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("number", m_number);
    w.Field("homeGround", m_homeGround);
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.EndObject();
}
