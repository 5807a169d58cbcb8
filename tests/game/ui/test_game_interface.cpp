// The experience bar's width and text, and the item tooltip's lines.
#include <gtest/gtest.h>

#include <climits>

#include "gameplay/data_tables.h"
#include "gameplay/player.h"
#include "shared/gbk.h"
#include "ui/game_interface.h"
#include "ui/tooltip.h"

namespace {

TEST(ExperienceBar, EmptyAtZeroFullAtTheNeedAndClampedBeyondIt) {
    Player p;
    p.level = 1;
    p.experience = 0;
    EXPECT_FLOAT_EQ(GameInterface::ExperienceWidth(p), 0);
    EXPECT_EQ(GameInterface::ExperienceText(p), "0%");  // one "%", not two
    p.experience = 50;  // a quarter of 50 x (1 + 1)^2
    EXPECT_FLOAT_EQ(GameInterface::ExperienceWidth(p), 158);
    EXPECT_EQ(GameInterface::ExperienceText(p), "25%");
    p.experience = 1;
    EXPECT_EQ(GameInterface::ExperienceText(p), "0.5%");
    // More than the need (a level-up still pending) stays at the bar's end.
    p.experience = INT_MAX;
    EXPECT_FLOAT_EQ(GameInterface::ExperienceWidth(p), 632);
    EXPECT_EQ(GameInterface::ExperienceText(p), "100%");
    p.experience = -5;
    EXPECT_EQ(GameInterface::ExperienceText(p), "0%");
    // A level whose need overflows 32 bits still gives a sensible bar.
    p.level = 100000;
    p.experience = INT_MAX;
    EXPECT_GE(GameInterface::ExperienceWidth(p), 0);
    EXPECT_LE(GameInterface::ExperienceWidth(p), 632);
}

std::vector<std::string> Texts(const std::vector<TooltipLine>& lines) {
    std::vector<std::string> out;
    for (const TooltipLine& l : lines) out.push_back(gbk::ToUtf8(l.text));
    return out;
}

TEST(ItemTooltip, EquipmentLinesInOrderWithTheSellPriceAsADecimal) {
    ItemRow sword;
    sword.name = gbk::Lit("铁剑");
    sword.category = 1;
    sword.minPhysAttack = 6;
    sword.maxPhysAttack = 12;
    sword.minPhysDefence = 0;
    sword.maxPhysDefence = 1;
    sword.strength = 2;
    sword.requiredLevel = 3;
    sword.price = 15;
    sword.description = gbk::Lit("锋利");
    auto lines = ItemTooltipLines(sword, true);
    EXPECT_EQ(Texts(lines), (std::vector<std::string>{"铁剑", "[武器类]", "物攻6-12", "物防0-1", "武力 +2",
                                                      "需要等级:3", "锋利", "购买价格:15 出售价格:7.5"}));
    EXPECT_EQ(lines[4].colour, 0xC8FFCC00u);  // ARGB(200, 255, 204, 0)
    EXPECT_EQ(lines[6].colour, 0xC8FFFFFFu);
    // Without prices (a bag cell) there is no price line.
    EXPECT_EQ(ItemTooltipLines(sword, false).size(), lines.size() - 1);
}

TEST(ItemTooltip, PotionsQuestItemsAndNegativePrices) {
    ItemRow potion;
    potion.name = gbk::Lit("太阳神水");
    potion.category = ItemRow::kConsumable;
    potion.minPhysAttack = 100;  // HP
    potion.maxPhysAttack = 0;    // MP: no line
    EXPECT_EQ(Texts(ItemTooltipLines(potion, false)), (std::vector<std::string>{"太阳神水", "[消耗类]", "HP +100"}));

    ItemRow letter;
    letter.name = gbk::Lit("村长的信");
    letter.category = ItemRow::kQuestItem;
    letter.price = -8;
    auto lines = ItemTooltipLines(letter, true);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(gbk::ToUtf8(lines[2].text), "禁止丢弃,交易");
    EXPECT_EQ(lines[2].colour, 0xFFFFFF00u);
    EXPECT_EQ(gbk::ToUtf8(lines[3].text), "购买价格:0 出售价格:0");
}

TEST(ItemTooltip, TheBoxGrowsWithTheDescriptionAndTheAttributeLines) {
    ItemRow row;
    row.description = std::string(60, 'a');
    EXPECT_FLOAT_EQ(ItemTooltipHeightLines(row), 60 / 30 + 8.5f);
    row.minMagicAttack = 1;
    row.agility = 2;
    EXPECT_FLOAT_EQ(ItemTooltipHeightLines(row), 60 / 30 + 8.5f + 3.0f);
}

TEST(ItemTooltip, TheBoxFitsItsLinesAndStaysOnTheScreenLeftOfTheRightPanel) {
    // Five lines of 12 px: as tall as the lines and their gaps, no more.
    TooltipBox b = ItemTooltip::Place(100, 100, 150, 5, 12, 600);
    EXPECT_FLOAT_EQ(b.height, 5 * 12 + 4 * ItemTooltip::kLineGap + 2 * ItemTooltip::kPadding);
    EXPECT_FLOAT_EQ(b.width, 150 + 2 * ItemTooltip::kPadding);
    EXPECT_FLOAT_EQ(b.x, 116);
    EXPECT_FLOAT_EQ(b.y, 116);
    // Near the right panel it turns to the left of the pointer.
    b = ItemTooltip::Place(728, 100, 150, 5, 12, 600);
    EXPECT_LE(b.x + b.width, ItemTooltip::kRightLimit);
    EXPECT_LT(b.x + b.width, 728);
    // Near the bottom it goes above the pointer.
    b = ItemTooltip::Place(100, 580, 150, 5, 12, 600);
    EXPECT_LE(b.y + b.height, 600);
    EXPECT_LT(b.y + b.height, 580);
    // A long description is wrapped, not stretched across the screen.
    ItemRow row;
    row.name = "n";
    row.description = std::string(100, 'd');
    for (const TooltipLine& l : ItemTooltip::WrappedLines(row, false)) EXPECT_LE(l.text.size(), ItemTooltip::kWrapBytes + 8);
}

TEST(GameInterfaceHelp, EveryWindowHasAHelpText) {
    for (int w = 0; w < 5; ++w) EXPECT_FALSE(GameInterface::HelpText(w).empty()) << w;
    EXPECT_TRUE(GameInterface::HelpText(5).empty());
}

}  // namespace
