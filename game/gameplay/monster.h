#pragma once
// A monster of the current map (created from the monster table by the map
// load, owned by the map's actors). The frame callback calls Update,
// the render callback Draw, each in list order.

#include "shared/wdm_map.h"

class JsonWriter;
struct MonsterRow;

class Monster {
public:
    Monster() = default;
    virtual ~Monster() = default;

    // Map load: the monster of table row `number` lives on square
    // `groundNumber` (`ground` is its rectangle) at the detail's offset; the
    // detail also carries the flying limits when the event had them. The row
    // and the square exist (the map skips events without them). For now
    // this keeps the placement; the monster work loads the rest.
    virtual void CreateFromRow(int number, const MonsterRow& row, int groundNumber, const wdm::GroundRecord& ground,
                               const wdm::MonsterDetail& detail);

    virtual void Update(float dt);
    virtual void Draw();
    // Its thrown spell effect has stopped playing.
    virtual void SpellEnded() {}
    virtual void DumpState(JsonWriter& w) const;

    int number() const { return m_number; }
    int homeGround() const { return m_homeGround; }

protected:
    int m_number = 0;
    int m_homeGround = 0;
    float m_x = 0, m_y = 0;
    wdm::MonsterDetail m_placement;
};
