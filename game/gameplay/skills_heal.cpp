#include "gameplay/skills_heal.h"

#include <algorithm>

#include "gameplay/combat_rules.h"
#include "gameplay/data_tables.h"
#include "gameplay/player.h"

namespace skill_heal {

HealSpell FromRow(const SkillRow& row, int level) {
    const int points = std::max(row.reserved5, 0);
    HealSpell s;
    s.hp = points * std::max(level, 1);
    s.mpCost = points * std::max(row.staminaPerPoint, 0);
    return s;
}

HealCheck Check(const Player& player, const HealSpell& spell) {
    if (player.mp < static_cast<float>(spell.mpCost)) return HealCheck::NotEnoughMp;
    if (player.hp >= player.maxHp) return HealCheck::FullHp;
    return HealCheck::Ready;
}

int Apply(Player& player, const HealSpell& spell, Random& random) {
    const float before = player.hp;
    player.mp -= static_cast<float>(spell.mpCost);
    const int amount = combat::HealAmount(random, spell.hp);
    player.hp = std::min(player.hp + static_cast<float>(amount), player.maxHp);
    return static_cast<int>(player.hp - before + 0.5f);
}

}  // namespace skill_heal
