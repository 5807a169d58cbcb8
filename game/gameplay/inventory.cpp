#include "gameplay/inventory.h"

#include "core/json_writer.h"

namespace {

template <std::size_t N>
void DumpSlots(JsonWriter& w, const char* key, const ItemSlots<N>& slots) {
    w.Key(key);
    w.BeginArray();
    for (int n = 1; n <= slots.kSize; ++n) w.Int(slots.At(n).itemNumber);
    w.EndArray();
}

}  // namespace

void Inventory::DumpState(JsonWriter& w) const {
    DumpSlots(w, "bag", bag);
    DumpSlots(w, "equipment", equipment);
    DumpSlots(w, "shop", shop);
}

void QuestLog::DumpState(JsonWriter& w) const {
    w.BeginArray();
    for (int n = 1; n <= kSlots; ++n) w.Int(At(n));
    w.EndArray();
}
