#pragma once
// The skill window ("技能窗口"): the learned skills of the player's skill
// list, one row each with icon, name, level and key, over the window's
// background (drawn by the game interface). A left press on a row picks the
// skill up to be put on the skill bar; the mouse over a row shows the
// skill's tooltip.

#include <string>

class DataTables;
class GdiFont;
class SkillBar;
class SkillList;
struct Controls;

class SkillWindow {
public:
    // The background picture's place (the game interface draws it there).
    static constexpr float kX = 290, kY = 90, kWidth = 240, kHeight = 300;
    // Rows stand on the background's wells: the icon in the small well at
    // (14, 40 + 42 (k - 1)), the name and details in the long well beside it.
    static constexpr float kWellX = kX + 14, kWellY = kY + 40, kWellSize = 34, kNameWellX = kX + 54;
    static constexpr float kRowsX = kWellX + 4, kRowsY = kWellY + 4, kRowHeight = 42;
    static constexpr float kTextX = kNameWellX + 8;

    // Whether (x, y) lies on the window.
    static bool Contains(float x, float y) { return x >= kX && x < kX + kWidth && y >= kY && y < kY + kHeight; }
    // The skill-list row (1..10, counting learned skills only) under (x, y); 0 when none.
    static int RowAt(const SkillList& list, float x, float y);
    // The skill number of learned row k; 0 when none.
    static int SkillOfRow(const SkillList& list, int row);

    // A left press on a row while the window is open hands its skill to
    // the bar to carry; true when the press was the window's.
    bool Update(const Controls& controls, bool open, const SkillList& list, const DataTables& tables,
                SkillBar& bar) const;
    // The rows (or, with no skill learned, a line in the first name well).
    void Draw(GdiFont& font, GdiFont& nameFont, const SkillList& list, const DataTables& tables,
              const SkillBar& bar) const;
    // The tooltip of the row under the pointer.
    void DrawTooltip(GdiFont& font, GdiFont& nameFont, const SkillList& list, const DataTables& tables,
                     const SkillBar& bar, float mouseX, float mouseY) const;
};
