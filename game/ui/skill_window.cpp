#include "ui/skill_window.h"

#include "gameplay/data_tables.h"
#include "gameplay/skills.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "ui/skill_bar.h"

int SkillWindow::SkillOfRow(const SkillList& list, int row) {
    int k = 0;
    for (const SkillEntry& e : list.entries) {
        if (e.skill == 0) continue;
        if (++k == row) return e.skill;
    }
    return 0;
}

int SkillWindow::RowAt(const SkillList& list, float x, float y) {
    if (x < kRowsX || x >= kX + kWidth - 16 || y < kRowsY) return 0;
    const int row = static_cast<int>((y - kRowsY) / kRowHeight) + 1;
    return row <= list.Count() ? row : 0;
}

bool SkillWindow::Update(const Controls& c, bool open, const SkillList& list, const DataTables& tables,
                         SkillBar& bar) const {
    if (!open || !c.Pressed(Action::MouseLeft) || !Contains(c.mouseX, c.mouseY)) return false;
    const int skill = SkillOfRow(list, RowAt(list, c.mouseX, c.mouseY));
    if (tables.skills.At(skill) != nullptr) bar.slots.TakeFromList(SkillRef{skill, tables.skills.At(skill)->icon});
    return true;
}

void SkillWindow::Draw(GdiFont& font, GdiFont& nameFont, const SkillList& list, const DataTables& tables,
                       const SkillBar& bar) const {
    float y = kRowsY;
    for (const SkillEntry& e : list.entries) {
        const SkillRow* row = tables.skills.At(e.skill);
        if (row == nullptr) continue;
        bar.icons.Draw(e.skill, kRowsX, y);
        nameFont.SetColour(0xFFFFFFFF);
        nameFont.Print(kTextX, y + 1, row->name);
        std::string detail = gbk::Lit("等级:") + std::to_string(e.level);
        if (e.key != 0) detail += gbk::Lit("  按键:") + std::string(1, static_cast<char>(e.key));
        font.SetColour(0xFFCCCCCC);
        font.Print(kTextX, y + 16, detail);
        y += kRowHeight;
    }
    if (list.Count() == 0) {
        font.SetColour(0xFFCCCCCC);
        font.Print(kTextX, kWellY + 11, gbk::Lit("还没有学会任何技能"));
    }
}

void SkillWindow::DrawTooltip(GdiFont& font, GdiFont& nameFont, const SkillList& list, const DataTables& tables,
                              const SkillBar& bar, float mouseX, float mouseY) const {
    if (bar.slots.carrying()) return;
    if (const SkillRow* row = tables.skills.At(SkillOfRow(list, RowAt(list, mouseX, mouseY)))) {
        float x = mouseX + 12;
        if (x + SkillTooltip::Width() > 800) x = 800 - SkillTooltip::Width();
        float y2 = mouseY;
        if (y2 + SkillTooltip::Height(*row) > 600) y2 = 600 - SkillTooltip::Height(*row);
        bar.tooltip.Show(font, nameFont, bar.icons, *row, x, y2);
    }
}
