#pragma once
// The skill bar's eight cells as data: the skill each shows, its cooldown,
// and the one skill carried by the mouse between cells (or from the skill
// window). The interface turns clicks and keys into these operations and
// draws the result; the game presents what Cast reports.
//
// Carrying: a left press on a filled cell picks its skill up (the cell is
// emptied), a left press on a cell while carrying puts the skill there (a
// filled cell hands its own skill over, and the carrying goes on); a right
// press empties a cell. A press anywhere else while carrying sends the
// skill back to the cell it came from (a skill taken from the skill window
// is simply let go). The bar never touches the skill list's key binding.

#include <array>

#include "gameplay/item_templates.h"

struct SkillBarCell {
    SkillRef skill;            // skillNumber 0 = empty
    float cooldownLeft = 0;    // seconds; 0 = ready
    float cooldownTotal = 0;   // length of the current cooldown
};

enum class SlotCast {
    Empty,     // no skill: nothing happens
    Cast,      // the cooldown started: the skill's effect and message show
    NotReady,  // still cooling down: "技能还没准备好!"
};

class SkillBarSlots {
public:
    static constexpr int kCells = 8;

    // Cell n (1..8); cells outside that range are refused by every operation.
    const SkillBarCell& At(int n) const;
    void Set(int n, const SkillRef& skill);

    // The cell's cast: with the cooldown run out (within 1e-7) the cooldown
    // starts at `cooldownSeconds`.
    SlotCast Cast(int n, float cooldownSeconds);
    // Cell n holds a skill whose cooldown has run out (within 1e-7): its
    // Cast would start.
    bool Ready(int n) const;
    // Every cooldown runs down by dt (it may end a little below 0).
    void Tick(float dt);
    // The cooldown shade over cell n: its top edge below the icon's top and
    // its height, for an icon `size` px tall; height 0 when ready.
    float ShadeTop(int n, float size) const;
    float ShadeHeight(int n, float size) const;

    // ---- carrying
    void LeftPress(int n);
    void RightPress(int n);
    // Starts carrying `skill` taken from the skill window (no source cell).
    // A skill already carried goes back to its cell first.
    void TakeFromList(const SkillRef& skill);
    // A press outside the bar: the carried skill goes back.
    void PressElsewhere();
    bool carrying() const { return m_carrying; }
    const SkillRef& carried() const { return m_carried; }
    int carriedFrom() const { return m_source; }

private:
    static bool Valid(int n) { return n >= 1 && n <= kCells; }
    SkillBarCell& Cell(int n) { return m_cells[static_cast<std::size_t>(n - 1)]; }
    void ReturnCarried();

    std::array<SkillBarCell, kCells> m_cells{};
    bool m_carrying = false;
    SkillRef m_carried;
    int m_source = 0;  // the cell the carried skill came from; 0 = the skill window
};
