#pragma once
// The game's answers to the player's update: the skill keys and the
// weapon's hit check. The skill keys go to the game's skills (the thunder
// spell); a swing asks the map's monsters whether the weapon reaches one.

#include "gameplay/player_combat.h"

class Game;

class GamePlayerCombat final : public PlayerCombat {
public:
    explicit GamePlayerCombat(Game& game) : m_game(game) {}

    void SkillKeys(Player& player, const Controls& controls) override;
    bool PhysicalAttack(Player& player) override;

private:
    Game& m_game;
};
