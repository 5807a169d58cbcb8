#pragma once
// The one map the game holds at a time. Besides its layers and links the
// map owns the per-map lists (NPCs, monsters, ground items, running
// effects, map links): a load replaces them all and ClearMap empties them,
// so nothing of an old map outlives it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/running_effects.h"
#include "gameplay/ground_item.h"
#include "gameplay/monster.h"
#include "gameplay/npc.h"

class Game;
class JsonWriter;

struct MapLink {
    int left = 0, top = 0, width = 0, height = 0;
    int targetMap = 0;
    int targetGround = 0;
    int targetOffset = 0;
    int facing = 0;  // 0 default, 1 left, 2 right
};

class GameMap {
public:
    explicit GameMap(Game& game) : m_game(game) {}

    // Loads "\data\地图\<gbkName>" whole, replacing the current map. The
    // three optional values come from a map link or the return to town.
    void LoadMap(const std::string& gbkName, std::optional<int> ground = {}, std::optional<int> offset = {},
                 std::optional<int> facing = {});
    // Deletes everything of the current map and empties the per-map lists.
    void ClearMap();

    // Once a frame: camera, floating layer, map links.
    void Update(float dt);
    // Draws the layers of one pass: (0, 0) behind the characters, (1, 1) in front.
    void RenderPass(int a, int b);

    bool IsLoading() const { return m_loading; }
    const std::string& fileName() const { return m_fileName; }
    // "风铃谷 - " + the file name up to its last ".".
    std::string DisplayName() const;

    void DumpState(JsonWriter& w) const;  // writes the keys "map", "npcs", "monsters", "groundItems", "effects"

    // ---- per-map lists, in creation order (the order of update and drawing)
    std::vector<std::unique_ptr<Npc>> npcs;
    std::vector<std::unique_ptr<Monster>> monsters;
    std::vector<std::unique_ptr<GroundItem>> groundItems;
    RunningEffects effects;
    std::vector<MapLink> keyLinks;
    std::vector<MapLink> touchLinks;

private:
    Game& m_game;
    std::string m_fileName;
    bool m_loading = false;
};
