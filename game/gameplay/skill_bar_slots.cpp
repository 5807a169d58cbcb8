#include "gameplay/skill_bar_slots.h"

#include "core/tolerance.h"

namespace {
constexpr SkillBarCell kNoCell{};
}

const SkillBarCell& SkillBarSlots::At(int n) const {
    return Valid(n) ? m_cells[static_cast<std::size_t>(n - 1)] : kNoCell;
}

void SkillBarSlots::Set(int n, const SkillRef& skill) {
    if (Valid(n)) Cell(n).skill = skill;
}

bool SkillBarSlots::Ready(int n) const {
    const SkillBarCell& c = At(n);
    return c.skill.skillNumber != 0 && tolerance::Le(c.cooldownLeft, 0.0);
}

SlotCast SkillBarSlots::Cast(int n, float cooldownSeconds) {
    if (!Valid(n) || Cell(n).skill.skillNumber == 0) return SlotCast::Empty;
    if (!Ready(n)) return SlotCast::NotReady;
    SkillBarCell& c = Cell(n);
    c.cooldownTotal = c.cooldownLeft = cooldownSeconds;
    return SlotCast::Cast;
}

void SkillBarSlots::Tick(float dt) {
    for (SkillBarCell& c : m_cells)
        if (c.cooldownLeft > 0) c.cooldownLeft -= dt;
}

float SkillBarSlots::ShadeTop(int n, float size) const {
    const SkillBarCell& c = At(n);
    if (!(c.cooldownLeft > 0) || !(c.cooldownTotal > 0)) return size;
    return size * (c.cooldownTotal - c.cooldownLeft) / c.cooldownTotal;
}

float SkillBarSlots::ShadeHeight(int n, float size) const {
    const SkillBarCell& c = At(n);
    if (!(c.cooldownLeft > 0) || !(c.cooldownTotal > 0)) return 0;
    const float h = size * c.cooldownLeft / c.cooldownTotal;
    return h > size ? size : h;
}

void SkillBarSlots::LeftPress(int n) {
    if (!Valid(n)) return;
    SkillBarCell& c = Cell(n);
    if (m_carrying) {
        const SkillRef was = c.skill;
        c.skill = m_carried;
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
    if (c.skill.skillNumber == 0) return;
    m_carried = c.skill;
    m_carrying = true;
    m_source = n;
    c.skill = {};
}

void SkillBarSlots::RightPress(int n) {
    if (Valid(n)) Cell(n).skill = {};
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
    int home = Valid(m_source) && Cell(m_source).skill.skillNumber == 0 ? m_source : 0;
    // Its cell was filled meanwhile: the first empty cell takes it.
    if (home == 0 && m_source != 0) {
        for (int n = 1; n <= kCells && home == 0; ++n)
            if (Cell(n).skill.skillNumber == 0) home = n;
    }
    if (home != 0) Cell(home).skill = m_carried;
    m_carrying = false;
    m_carried = {};
    m_source = 0;
}
