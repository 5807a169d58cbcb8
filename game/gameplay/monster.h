#pragma once
// A monster of the current map (created from the monster table by the map
// load, owned by the map's monster list). The frame callback calls Update,
// the render callback Draw, each in list order.

class Game;
class JsonWriter;

class Monster {
public:
    explicit Monster(Game& game) : m_game(game) {}
    virtual ~Monster() = default;

    virtual void Update(float dt);
    virtual void Draw();
    // Its thrown spell effect has stopped playing.
    virtual void SpellEnded() {}
    virtual void DumpState(JsonWriter& w) const;

protected:
    Game& m_game;
};
