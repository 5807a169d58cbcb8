// The skill tooltip's box holds every line it prints and, shown over the
// skill bar, ends above the cells.
#include <gtest/gtest.h>

#include "gameplay/data_tables.h"
#include "shared/gbk.h"
#include "ui/skill_bar.h"

namespace {

SkillRow Row(const char* description) {
    SkillRow r;
    r.name = gbk::Lit("治愈术");
    r.description = gbk::Lit(description);
    return r;
}

}  // namespace

TEST(SkillTooltip, TheBoxHoldsTheLastLineAndStaysAboveTheBar) {
    for (const char* d : {"", "召唤天雷", "祈求光明之力,恢复自身伤势",
                          "放出毒雾,使敌人持续受伤,放出毒雾,使敌人持续受伤,放出毒雾,使敌人持续受伤"}) {
        const SkillRow row = Row(d);
        // Lines start 10 px inside the box, 20 px apart, 12 px tall.
        const float lastLineBottom = 10.0f + 20.0f * static_cast<float>(SkillTooltip::LineCount(row) - 1) + 12.0f;
        EXPECT_LE(lastLineBottom, SkillTooltip::Height(row)) << d;
        EXPECT_LE(SkillBar::TooltipTop(row) + SkillTooltip::Height(row), SkillBar::kY) << d;
        EXPECT_GE(SkillBar::TooltipTop(row), 0.0f) << d;
        EXPECT_GE(SkillTooltip::Height(row), 190.0f) << d;  // never below 19 tiles
    }
    // Two description lines: 10 lines in all.
    EXPECT_EQ(SkillTooltip::LineCount(Row("祈求光明之力,恢复自身伤势")), 10);
}
