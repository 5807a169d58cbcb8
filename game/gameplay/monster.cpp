#include "gameplay/monster.h"

#include "core/json_writer.h"

void Monster::Update(float) {}

void Monster::Draw() {}

void Monster::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.EndObject();
}
