#include "gameplay/skills.h"

namespace {
constexpr SkillEntry kNoSkill{};
}

LearnOutcome SkillList::Learn(int skill, int key) {
    if (Knows(skill)) return LearnOutcome::AlreadyKnown;
    for (SkillEntry& e : entries) {
        if (e.skill != 0) continue;
        e = SkillEntry{skill, 1, key};
        return LearnOutcome::Learned;
    }
    return LearnOutcome::ListFull;
}

bool SkillList::Knows(int skill) const {
    for (const SkillEntry& e : entries)
        if (e.skill == skill && skill != 0) return true;
    return false;
}

int SkillList::LevelOf(int skill) const {
    for (const SkillEntry& e : entries)
        if (e.skill == skill && skill != 0) return e.level;
    return 0;
}

const SkillEntry& SkillList::At(int i) const {
    if (i < 1 || i > kSize) return kNoSkill;
    return entries[static_cast<std::size_t>(i - 1)];
}

int SkillList::Count() const {
    int n = 0;
    for (const SkillEntry& e : entries) n += e.skill != 0 ? 1 : 0;
    return n;
}
