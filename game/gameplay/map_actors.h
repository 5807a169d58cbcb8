#pragma once
// The NPCs, monsters and ground items of the current map, in creation order
// (the order of update and drawing). A map load creates them from the map's
// events; leaving the map clears them.

#include <memory>
#include <vector>

#include "gameplay/ground_item.h"
#include "gameplay/monster.h"
#include "gameplay/npc.h"

class DataTables;
class JsonWriter;
class NpcState;
class Random;
struct Terrain;

struct MapActors {
    std::vector<std::unique_ptr<Npc>> npcs;
    std::vector<std::unique_ptr<Monster>> monsters;
    std::vector<std::unique_ptr<GroundItem>> groundItems;

    // Creates the NPC, monster and item events of a map, in event order. An
    // event naming no table row (or no square) creates nothing.
    // An NPC on ground 0 stands on `startGround`; an NPC offset of -1 is a
    // random place on its square (drawn from `random` when given).
    void Create(const std::vector<wdm::EventRecord>& events, const Terrain& terrain, const DataTables& tables,
                int startGround = 0, Random* random = nullptr);
    // Monsters, NPCs, then ground items.
    void Clear();
    // Writes the keys "npcs" (each with its state record), "monsters" and
    // "groundItems".
    void DumpState(JsonWriter& w, const NpcState& npcStates) const;
};
