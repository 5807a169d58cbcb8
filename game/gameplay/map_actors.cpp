#include "gameplay/map_actors.h"

#include "core/json_writer.h"
#include "core/random.h"
#include "gameplay/data_tables.h"
#include "gameplay/npc_state.h"
#include "world/terrain.h"

void MapActors::Create(const std::vector<wdm::EventRecord>& events, const Terrain& terrain,
                       const DataTables& tables, int startGround, Random* random) {
    for (const wdm::EventRecord& e : events) {
        switch (e.kind) {
            case wdm::kEventNpc: {
                wdm::NpcDetail d = wdm::ParseNpcDetail(e.detail);
                const NpcRow* row = tables.npcs.At(d.npcId);
                const wdm::GroundRecord* g = terrain.Square(d.ground == 0 ? startGround : d.ground);
                if (row == nullptr || g == nullptr) break;
                double offset = d.offset;
                if (offset == -1 && random != nullptr) offset = random->Int(0, g->width > 0 ? g->width - 1 : 0);
                auto npc = std::make_unique<Npc>();
                npc->CreateFromRow(d.npcId, *row, *g, offset);
                npcs.push_back(std::move(npc));
                break;
            }
            case wdm::kEventMonster: {
                wdm::MonsterDetail d = wdm::ParseMonsterDetail(e.detail);
                const MonsterRow* row = tables.monsters.At(d.monsterId);
                // Ground 0 is the start ground; offset -1 a random place on it.
                if (d.ground == 0) d.ground = startGround;
                const wdm::GroundRecord* g = terrain.Square(d.ground);
                if (row == nullptr || g == nullptr) break;
                if (d.offset == -1 && random != nullptr) d.offset = random->Int(0, g->width > 0 ? g->width - 1 : 0);
                auto monster = std::make_unique<Monster>();
                monster->CreateFromRow(d.monsterId, *row, d.ground, *g, d);
                monsters.push_back(std::move(monster));
                break;
            }
            case wdm::kEventItem: {
                wdm::ItemDetail d = wdm::ParseItemDetail(e.detail);
                // Dropped like any item: a name with no item row drops nothing.
                if (tables.FindItem(d.name) == 0) break;
                auto item = std::make_unique<GroundItem>(static_cast<float>(e.left), static_cast<float>(e.top + 10));
                item->SetName(d.name);
                groundItems.push_back(std::move(item));
                break;
            }
            default: break;
        }
    }
}

void MapActors::Clear() {
    monsters.clear();
    npcs.clear();
    groundItems.clear();
}

void MapActors::DumpState(JsonWriter& w, const NpcState& npcStates) const {
    w.Key("npcs");
    w.BeginArray();
    for (const auto& n : npcs) n->DumpState(w, npcStates.At(n->number()));
    w.EndArray();
    w.Key("monsters");
    w.BeginArray();
    for (const auto& m : monsters) m->DumpState(w);
    w.EndArray();
    w.Key("groundItems");
    w.BeginArray();
    for (const auto& g : groundItems) g->DumpState(w);
    w.EndArray();
}
