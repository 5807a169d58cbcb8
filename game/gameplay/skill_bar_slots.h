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
//
// A cooldown belongs to the skill, not to a cell: every cell showing the
// skill shows the same shade and refuses together, and a skill carried to
// another cell (or taken off the bar and put back) keeps its cooldown.

#include <array>
#include <vector>

#include "gameplay/item_templates.h"

// One cell as it reads: its skill and that skill's cooldown.
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

    // Cell n (1..8) with its skill's cooldown; an empty cell outside that
    // range (every operation refuses such cells).
    SkillBarCell At(int n) const;
    void Set(int n, const SkillRef& skill);

    // The cell's cast: with its skill's cooldown run out (within 1e-7) the
    // skill's cooldown starts at `cooldownSeconds`.
    SlotCast Cast(int n, float cooldownSeconds);
    // Cell n holds a skill whose cooldown has run out (within 1e-7): its
    // Cast would start.
    bool Ready(int n) const;
    // Every cooldown runs down by dt (it may end a little below 0).
    void Tick(float dt);
    // The cooldown of skill `skillNumber`: seconds left (0 when ready) and
    // the length it started with.
    float CooldownLeft(int skillNumber) const;
    float CooldownTotal(int skillNumber) const;
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
    SkillRef& Cell(int n) { return m_cells[static_cast<std::size_t>(n - 1)]; }
    void ReturnCarried();

    struct Cooldown {
        int skill = 0;
        float left = 0, total = 0;
    };
    const Cooldown* FindCooldown(int skill) const;

    std::array<SkillRef, kCells> m_cells{};
    std::vector<Cooldown> m_cooldowns;  // one per skill cast so far
    bool m_carrying = false;
    SkillRef m_carried;
    int m_source = 0;  // the cell the carried skill came from; 0 = the skill window
};
