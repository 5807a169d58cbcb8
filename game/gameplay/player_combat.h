#pragma once
// What the player's update asks of the fights around it: the skill keys of
// the frame and the weapon's hit check. The game answers with its skill list
// and the monsters of the current map; NullPlayerCombat answers nothing.

class Player;
struct Controls;

class PlayerCombat {
public:
    virtual ~PlayerCombat() = default;
    // The skill keys of this frame (after the status run-down, before the Z
    // swing). May put the player into the casting state.
    virtual void SkillKeys(Player& player, const Controls& controls) = 0;
    // The weapon's hit check of the current swing: true when at least one
    // monster was hit. Called from the swing's hitting frame on, once a
    // frame, until it answers true.
    virtual bool PhysicalAttack(Player& player) = 0;
};

// No skills and nothing to hit.
class NullPlayerCombat final : public PlayerCombat {
public:
    void SkillKeys(Player&, const Controls&) override {}
    bool PhysicalAttack(Player&) override { return false; }
};
