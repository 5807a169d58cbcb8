#pragma once
// The heal spell cast from a skill-bar cell. Its numbers come from its skill
// row: each proficiency point up to the row's proficiency cap restores one
// HP per skill level and costs the row's stamina per point in MP, so the
// bundled 治愈术 (cap 10, 6 per point) restores 10 HP for 60 MP.

struct SkillRow;
class Player;
class Random;

struct HealSpell {
    int hp = 0;      // HP restored
    int mpCost = 0;  // MP spent
};

enum class HealCheck {
    Ready,
    NotEnoughMp,  // MP below the cost: nothing happens, no cooldown starts
    FullHp,       // HP at its maximum already: nothing happens either
};

namespace skill_heal {

// The spell of `row` at skill level `level` (below 1 counts as 1).
HealSpell FromRow(const SkillRow& row, int level);
HealCheck Check(const Player& player, const HealSpell& spell);
// Spends the MP and restores the HP through the fights' damage rule (never
// a negative amount), never above the maximum; returns the HP actually
// restored. Call only after Check said Ready.
int Apply(Player& player, const HealSpell& spell, Random& random);

}  // namespace skill_heal
