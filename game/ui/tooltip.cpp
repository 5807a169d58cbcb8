#include "ui/tooltip.h"

#include <algorithm>

#include "core/decimal_text.h"
#include "gameplay/data_tables.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "ui/text_wrap.h"

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

std::vector<TooltipLine> ItemTooltip::WrappedLines(const ItemRow& row, bool withPrices) {
    std::vector<TooltipLine> out;
    for (const TooltipLine& l : ItemTooltipLines(row, withPrices)) {
        if (l.text.size() <= kWrapBytes + 8) {
            out.push_back(l);
            continue;
        }
        for (std::string& piece : WrapText(l.text, kWrapBytes)) out.push_back({std::move(piece), l.colour});
    }
    return out;
}

TooltipBox ItemTooltip::Place(float x, float y, float textW, int lineCount, float lineH, float screenH) {
    TooltipBox b;
    b.width = std::max(kMinWidth, textW + 2 * kPadding);
    b.height = static_cast<float>(lineCount) * (lineH + kLineGap) - kLineGap + 2 * kPadding;
    b.x = x + 16;
    b.y = y + 16;
    if (b.x + b.width > kRightLimit) b.x = x - b.width - 4;
    b.x = std::clamp(b.x, 0.0f, std::max(0.0f, kRightLimit - b.width));
    if (b.y + b.height > screenH) b.y = y - b.height - 4;
    b.y = std::clamp(b.y, 0.0f, std::max(0.0f, screenH - b.height));
    return b;
}

TooltipBox ItemTooltip::Draw(GdiFont& font, float x, float y, const ItemRow& row, bool withPrices, float,
                             float screenH) const {
    const std::vector<TooltipLine> lines = WrappedLines(row, withPrices);
    const float lineH = std::max(12.0f, font.TextHeight("A"));
    float textW = 0;
    for (const TooltipLine& l : lines) textW = std::max(textW, font.TextWidth(l.text));
    const TooltipBox b = Place(x, y, textW, static_cast<int>(lines.size()), lineH, screenH);
    m_box.SetColour(kBoxColour);
    m_box.RenderStretch(b.x, b.y, b.x + b.width, b.y + b.height);
    m_box.SetColour(0xFF8894AA);  // a thin light edge
    m_box.RenderStretch(b.x, b.y, b.x + b.width, b.y + 1);
    m_box.RenderStretch(b.x, b.y + b.height - 1, b.x + b.width, b.y + b.height);
    m_box.RenderStretch(b.x, b.y, b.x + 1, b.y + b.height);
    m_box.RenderStretch(b.x + b.width - 1, b.y, b.x + b.width, b.y + b.height);
    float ly = b.y + kPadding;
    for (const TooltipLine& l : lines) {
        // Half-transparent colours of the table read as solid on the box.
        font.SetColour(l.colour | 0xFF000000u);
        font.Print(b.x + kPadding, ly, l.text);
        ly += lineH + kLineGap;
    }
    return b;
}
