#include "gameplay/ground_item.h"

#include "core/json_writer.h"

void GroundItem::Update() {}

bool GroundItem::Draw() { return m_gone; }

bool GroundItem::PickUp() { return false; }

void GroundItem::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("name", m_name);
    w.Field("x", m_x);
    w.Field("y", m_y);
    w.Field("gone", m_gone);
    w.EndObject();
}
