// Experience, level, gold, the double-experience timer and the attributes
// derived from the equipment.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/tolerance.h"
#include "gameplay/data_tables.h"
#include "gameplay/player.h"

namespace {

constexpr double kIntMin = std::numeric_limits<int>::min();
constexpr double kIntMax = std::numeric_limits<int>::max();

// Truncated toward zero and held inside the int range, so a sum never wraps.
int SaturatingInt(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(std::trunc(value), kIntMin, kIntMax));
}

}  // namespace

double Player::LevelUpNeed(int currentLevel) {
    const double next = static_cast<double>(currentLevel) + 1.0;
    return 50.0 * next * next;
}

ExperienceGain Player::GainExperience(int amount) {
    double multiplier = doubleExpMultiplier;
    if (tolerance::Le(multiplier, 0)) multiplier = 1.0;
    ExperienceGain gain;
    gain.amount = SaturatingInt(amount * multiplier);
    experience = SaturatingInt(static_cast<double>(experience) + gain.amount);
    gain.levelUpDue = tolerance::Ge(experience, LevelUpNeed(level));
    return gain;
}

LevelUp Player::CompleteLevelUp() {
    experience = SaturatingInt(experience - LevelUpNeed(level));
    SetLevel(SaturatingInt(static_cast<double>(level) + 1));
    return LevelUp{level, experience};
}

void Player::SetLevel(int newLevel) { level = std::max(newLevel, 1); }

float Player::StartDoubleExperience() {
    // Whole seconds of what was left, plus one minute.
    doubleExpTotal = std::trunc(doubleExpTotal - doubleExpElapsed) + 60.0f;
    doubleExpElapsed = 0;
    doubleExpMultiplier = 2.0f;
    return doubleExpTotal;
}

void Player::UpdateDoubleExperience(float dt) {
    if (!tolerance::Gt(doubleExpTotal, 0) || !tolerance::Gt(doubleExpMultiplier, 0)) return;
    doubleExpElapsed += dt;
    if (tolerance::Ge(doubleExpElapsed, doubleExpTotal)) {
        doubleExpElapsed = doubleExpTotal = doubleExpMultiplier = 0;
    }
}

void Player::RecomputeAttributes(const ItemSlots<12>& equipment, const DataTables& tables) {
    // Base values, then every equipped item's columns; summed in 64 bits, then held in the int range: table rows are content.
    std::array<std::int64_t, 13> sum{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
    for (int slot = 1; slot <= 12; ++slot) {
        const ItemRow* row = tables.items.At(equipment.At(slot).itemNumber);
        if (row == nullptr) continue;
        const int columns[13] = {row->minPhysAttack,   row->maxPhysAttack,   row->minPhysDefence, row->maxPhysDefence,
                                 row->minMagicAttack,  row->maxMagicAttack,  row->minMagicDefence,
                                 row->maxMagicDefence, row->strength,        row->agility,
                                 row->accuracy,        row->intelligence,    row->constitution};
        for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += columns[i];
    }
    int* fields[13] = {&minPhysAttack,   &maxPhysAttack, &minPhysDefence, &maxPhysDefence, &minMagicAttack,
                       &maxMagicAttack,  &minMagicDefence, &maxMagicDefence, &strength,     &agility,
                       &accuracy,        &intelligence,  &constitution};
    for (std::size_t i = 0; i < sum.size(); ++i) *fields[i] = SaturatingInt(static_cast<double>(sum[i]));
}
