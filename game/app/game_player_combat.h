#pragma once
// The game's answers to the player's update: the skill keys and the
// weapon's hit check. The player has no castable skill and the map's
// monsters take no weapon hits, so a swing asks and hits nothing; the
// count of checks shows in the state dump.

#include "gameplay/player_combat.h"

class Game;

class GamePlayerCombat final : public PlayerCombat {
public:
    explicit GamePlayerCombat(Game& game) : m_game(game) {}

    void SkillKeys(Player& player, const Controls& controls) override;
    bool PhysicalAttack(Player& player) override;

    // How often the hit check was asked, for the state dump and tests.
    long hitChecks() const { return m_hitChecks; }

private:
    Game& m_game;
    long m_hitChecks = 0;
};
