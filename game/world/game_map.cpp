#include "world/game_map.h"

#include "core/game.h"
#include "core/json_writer.h"
#include "shared/gbk.h"

void GameMap::LoadMap(const std::string& gbkName, std::optional<int>, std::optional<int>, std::optional<int>) {
    m_loading = true;
    ClearMap();
    m_fileName = gbkName;
    m_loading = false;
}

void GameMap::ClearMap() {
    monsters.clear();
    npcs.clear();
    effects.Clear();
    groundItems.clear();
    keyLinks.clear();
    touchLinks.clear();
    m_game.pointer.SetMode(MousePointer::kNormal);
}

void GameMap::Update(float) {}

void GameMap::RenderPass(int, int) {}

std::string GameMap::DisplayName() const {
    std::string stem = m_fileName;
    std::size_t dot = gbk::npos, i = 0;
    while (i < stem.size()) {
        if (stem[i] == '.') dot = i;
        i += gbk::CharLength(stem, i);
    }
    if (dot != gbk::npos) stem.resize(dot);
    return gbk::Lit("风铃谷 - ") + stem;
}

void GameMap::DumpState(JsonWriter& w) const {
    w.Key("map");
    w.BeginObject();
    w.Field("name", m_fileName);
    w.Field("displayName", DisplayName());
    w.Field("keyLinks", static_cast<int>(keyLinks.size()));
    w.Field("touchLinks", static_cast<int>(touchLinks.size()));
    w.EndObject();
    w.Key("npcs");
    w.BeginArray();
    for (const auto& n : npcs) n->DumpState(w);
    w.EndArray();
    w.Key("monsters");
    w.BeginArray();
    for (const auto& m : monsters) m->DumpState(w);
    w.EndArray();
    w.Key("groundItems");
    w.BeginArray();
    for (const auto& g : groundItems) g->DumpState(w);
    w.EndArray();
    w.Key("effects");
    effects.DumpState(w);
}
