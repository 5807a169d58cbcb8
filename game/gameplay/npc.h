#pragma once
// An NPC of the current map (created from the NPC table by the map load,
// owned by the map's NPC list). Update and Draw run once a frame in list order.

class Game;
class JsonWriter;

class Npc {
public:
    explicit Npc(Game& game) : m_game(game) {}
    virtual ~Npc() = default;

    virtual void Update();
    virtual void Draw();
    virtual void DumpState(JsonWriter& w) const;

protected:
    Game& m_game;
};
