#include "app/game_player_combat.h"

#include "app/game.h"

void GamePlayerCombat::SkillKeys(Player& player, const Controls& controls) { m_game.skills.SkillKeys(player, controls); }

bool GamePlayerCombat::PhysicalAttack(Player& player) { return m_game.monsters.PhysicalAttack(player); }
