#include "app/game_player_combat.h"

#include "app/game.h"

void GamePlayerCombat::SkillKeys(Player& player, const Controls& controls) { m_game.skills.SkillKeys(player, controls); }

bool GamePlayerCombat::PhysicalAttack(Player&) {
    ++m_hitChecks;
    (void)m_game;
    return false;
}
