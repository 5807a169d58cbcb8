#include "gameplay/npc.h"

#include "core/json_writer.h"

void Npc::Update() {}

void Npc::Draw() {}

void Npc::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.EndObject();
}
