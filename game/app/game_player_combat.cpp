#include "app/game_player_combat.h"

#include "app/game.h"

void GamePlayerCombat::SkillKeys(Player&, const Controls&) {}

bool GamePlayerCombat::PhysicalAttack(Player&) {
    ++m_hitChecks;
    (void)m_game;
    return false;
}
