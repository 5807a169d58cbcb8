#include "ui/tooltip.h"

#include <algorithm>

#include "core/decimal_text.h"
#include "gameplay/data_tables.h"
#include "platform/fonts.h"
#include "shared/gbk.h"

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kStatColour = 0xC8FFCC00;  // ARGB(200, 255, 204, 0)
constexpr std::uint32_t kDescColour = 0xC8FFFFFF;  // ARGB(200, 255, 255, 255)
constexpr std::uint32_t kYellow = 0xFFFFFF00;

std::string N(int v) { return std::to_string(v); }

int AttributeLineCount(const ItemRow& r) {
    int n = 0;
    n += (r.minPhysAttack != 0 || r.maxPhysAttack != 0) ? 1 : 0;
    n += (r.minMagicAttack != 0 || r.maxMagicAttack != 0) ? 1 : 0;
    n += (r.minPhysDefence != 0 || r.maxPhysDefence != 0) ? 1 : 0;
    n += (r.minMagicDefence != 0 || r.maxMagicDefence != 0) ? 1 : 0;
    for (int v : {r.strength, r.agility, r.accuracy, r.intelligence, r.constitution}) n += v != 0 ? 1 : 0;
    n += r.requiredLevel != 0 ? 1 : 0;
    return n;
}
}  // namespace

const std::string& ItemCategoryLabel(int category) {
    static const char* kOrdered[15] = {"[武器类]", "[盔甲类]", "[项链类]", "[头盔类]", "[手套类]",
                                       "[戒指类]", "[鞋子类]", "[裤子类]", "[披风类]", "[盾牌类]",
                                       "[面具类]", "[饰品类]", "[消耗类]", "[任务类]", "[材料类]"};
    static const std::string kNone;
    return category >= 1 && category <= 15 ? gbk::Lit(kOrdered[category - 1]) : kNone;
}

std::vector<TooltipLine> ItemTooltipLines(const ItemRow& r, bool withPrices) {
    std::vector<TooltipLine> lines;
    lines.push_back({r.name, kWhite});
    const std::string& label = ItemCategoryLabel(r.category);
    if (!label.empty()) lines.push_back({label, kWhite});
    if (r.category == ItemRow::kConsumable) {
        if (r.hpRestored() != 0) lines.push_back({"HP +" + N(r.hpRestored()), kWhite});
        if (r.mpRestored() != 0) lines.push_back({"MP +" + N(r.mpRestored()), kWhite});
    } else if (r.minPhysAttack != 0 || r.maxPhysAttack != 0) {
        lines.push_back({gbk::Lit("物攻") + N(r.minPhysAttack) + "-" + N(r.maxPhysAttack), kWhite});
    }
    auto pair = [&](const char* name, int a, int b) {
        if (a != 0 || b != 0) lines.push_back({gbk::Lit(name) + N(a) + "-" + N(b), kWhite});
    };
    pair("魔攻", r.minMagicAttack, r.maxMagicAttack);
    pair("物防", r.minPhysDefence, r.maxPhysDefence);
    pair("魔防", r.minMagicDefence, r.maxMagicDefence);
    auto stat = [&](const char* name, int v) {
        if (v != 0) lines.push_back({gbk::Lit(name) + N(v), kStatColour});
    };
    stat("武力 +", r.strength);
    stat("灵活 +", r.agility);
    stat("命中 +", r.accuracy);
    stat("智力 +", r.intelligence);
    stat("体质 +", r.constitution);
    if (r.requiredLevel != 0) lines.push_back({gbk::Lit("需要等级:") + N(r.requiredLevel), kWhite});
    if (!r.description.empty()) lines.push_back({r.description, kDescColour});
    if (r.category == ItemRow::kQuestItem) lines.push_back({gbk::Lit("禁止丢弃,交易"), kYellow});
    if (withPrices) {
        const int price = r.price > 0 ? r.price : 0;
        lines.push_back({gbk::Lit("购买价格:") + N(price) + gbk::Lit(" 出售价格:") + TwoDecimalsText(price / 2.0),
                         kWhite});
    }
    return lines;
}

float ItemTooltipHeightLines(const ItemRow& r) {
    return static_cast<float>(r.description.size()) / 30.0f + 8.5f + 1.5f * static_cast<float>(AttributeLineCount(r));
}

void ItemTooltip::Draw(GdiFont& font, float x, float y, const ItemRow& row, bool withPrices, float screenW,
                       float screenH) const {
    const std::vector<TooltipLine> lines = ItemTooltipLines(row, withPrices);
    const float lineH = std::max(12.0f, font.TextHeight("A"));
    float width = kWidth;
    for (const TooltipLine& l : lines) width = std::max(width, font.TextWidth(l.text) + 20);
    const float height = std::max(ItemTooltipHeightLines(row) * lineH, static_cast<float>(lines.size()) * (lineH + 10) + 10);
    float bx = x + 16, by = y + 16;
    if (bx + width > screenW) bx = std::max(0.0f, x - width - 4);
    if (by + height > screenH) by = std::max(0.0f, screenH - height);
    // The 10 x 10 tile scaled to the box, twice: the tile alone is see-through
    // enough that the box vanishes over a window.
    for (int pass = 0; pass < 2; ++pass) m_tile.RenderEx(bx, by, 0, width / 10.0f, height / 10.0f);
    float ly = by + 10;
    for (const TooltipLine& l : lines) {
        font.SetColour(l.colour);
        font.Print(bx + 10, ly, l.text);
        ly += lineH + 10;
    }
}
