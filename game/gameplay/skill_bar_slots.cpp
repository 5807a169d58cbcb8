#include "gameplay/skill_bar_slots.h"

#include "core/tolerance.h"

const SkillBarSlots::Cooldown* SkillBarSlots::FindCooldown(int skill) const {
    for (const Cooldown& c : m_cooldowns)
        if (c.skill == skill) return &c;
    return nullptr;
}

float SkillBarSlots::CooldownLeft(int skillNumber) const {
    const Cooldown* c = skillNumber != 0 ? FindCooldown(skillNumber) : nullptr;
    return c != nullptr ? c->left : 0;
}

float SkillBarSlots::CooldownTotal(int skillNumber) const {
    const Cooldown* c = skillNumber != 0 ? FindCooldown(skillNumber) : nullptr;
    return c != nullptr ? c->total : 0;
}

SkillBarCell SkillBarSlots::At(int n) const {
    if (!Valid(n)) return {};
    SkillBarCell cell;
    cell.skill = m_cells[static_cast<std::size_t>(n - 1)];
    cell.cooldownLeft = CooldownLeft(cell.skill.skillNumber);
    cell.cooldownTotal = CooldownTotal(cell.skill.skillNumber);
    return cell;
}

void SkillBarSlots::Set(int n, const SkillRef& skill) {
    if (Valid(n)) Cell(n) = skill;
}

bool SkillBarSlots::Ready(int n) const {
    const SkillBarCell c = At(n);
    return c.skill.skillNumber != 0 && tolerance::Le(c.cooldownLeft, 0.0);
}

SlotCast SkillBarSlots::Cast(int n, float cooldownSeconds) {
    if (!Valid(n) || Cell(n).skillNumber == 0) return SlotCast::Empty;
    if (!Ready(n)) return SlotCast::NotReady;
    const int skill = Cell(n).skillNumber;
    for (Cooldown& c : m_cooldowns) {
        if (c.skill == skill) {
            c.total = c.left = cooldownSeconds;
            return SlotCast::Cast;
        }
    }
    m_cooldowns.push_back(Cooldown{skill, cooldownSeconds, cooldownSeconds});
    return SlotCast::Cast;
}

void SkillBarSlots::Tick(float dt) {
    for (Cooldown& c : m_cooldowns)
        if (c.left > 0) c.left -= dt;
}

float SkillBarSlots::ShadeTop(int n, float size) const {
    const SkillBarCell c = At(n);
    if (!(c.cooldownLeft > 0) || !(c.cooldownTotal > 0)) return size;
    return size * (c.cooldownTotal - c.cooldownLeft) / c.cooldownTotal;
}

float SkillBarSlots::ShadeHeight(int n, float size) const {
    const SkillBarCell c = At(n);
    if (!(c.cooldownLeft > 0) || !(c.cooldownTotal > 0)) return 0;
    const float h = size * c.cooldownLeft / c.cooldownTotal;
    return h > size ? size : h;
}

void SkillBarSlots::LeftPress(int n) {
    if (!Valid(n)) return;
    SkillRef& c = Cell(n);
    if (m_carrying) {
        const SkillRef was = c;
        c = m_carried;
        if (was.skillNumber == 0) {
            m_carrying = false;
            m_carried = {};
            m_source = 0;
        } else {
            // The two change places; the one now carried goes back to the
            // first cell's place if it is let go.
            m_carried = was;
            if (m_source == 0) m_source = n;
        }
        return;
    }
    if (c.skillNumber == 0) return;
    m_carried = c;
    m_carrying = true;
    m_source = n;
    c = {};
}

void SkillBarSlots::RightPress(int n) {
    if (Valid(n)) Cell(n) = {};
}

void SkillBarSlots::TakeFromList(const SkillRef& skill) {
    if (m_carrying) ReturnCarried();
    m_carried = skill;
    m_carrying = skill.skillNumber != 0;
    m_source = 0;
}

void SkillBarSlots::PressElsewhere() {
    if (m_carrying) ReturnCarried();
}

void SkillBarSlots::ReturnCarried() {
    int home = Valid(m_source) && Cell(m_source).skillNumber == 0 ? m_source : 0;
    // Its cell was filled meanwhile: the first empty cell takes it.
    if (home == 0 && m_source != 0) {
        for (int n = 1; n <= kCells && home == 0; ++n)
            if (Cell(n).skillNumber == 0) home = n;
    }
    if (home != 0) Cell(home) = m_carried;
    m_carrying = false;
    m_carried = {};
    m_source = 0;
}
