#pragma once
// The player's skill list: ten slots of (skill, level, key). A skill is a
// row of the skill table; learning puts it into the first empty slot at
// level 1, and a slot once filled keeps its skill for the whole game.

#include <array>

// The key that casts the thunder spell, as the controls name it ('V').
constexpr int kThunderKey = 0x56;

struct SkillEntry {
    int skill = 0;  // skill table row; 0 = empty slot
    int level = 0;  // 1 when learned
    int key = 0;    // key that casts it ('V'); 0 = none
};

enum class LearnOutcome {
    Learned,
    AlreadyKnown,  // some slot holds the skill already: nothing changes
    ListFull,      // no empty slot: nothing changes
};

class SkillList {
public:
    static constexpr int kSize = 10;

    // Puts `skill` (a row number, > 0) into the first empty slot with
    // level 1 and `key`. A skill the list holds, or a full list, changes
    // nothing.
    LearnOutcome Learn(int skill, int key);
    bool Knows(int skill) const;
    // The level of `skill` in the list; 0 when the list does not hold it.
    int LevelOf(int skill) const;
    // Slot i (1..kSize); an empty entry outside that range.
    const SkillEntry& At(int i) const;
    // The skills in slot order, empty slots left out.
    int Count() const;

    std::array<SkillEntry, kSize> entries{};
};
