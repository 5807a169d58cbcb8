#pragma once
// The item tooltip: its lines (computed without an engine, so
// tests read them) and the box drawn behind them in the "宋体" 12 font.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sprite.h"

struct ItemRow;
class GdiFont;

struct TooltipLine {
    std::string text;  // GBK, drawn as given (never a format)
    std::uint32_t colour = 0xFFFFFFFF;
};

// The category label of column 20 ("[武器类]" ..), empty for other values.
const std::string& ItemCategoryLabel(int category);

// The lines of ShowItemTooltip in order; `withPrices` adds the price line.
std::vector<TooltipLine> ItemTooltipLines(const ItemRow& row, bool withPrices);

// The box height in lines: description bytes / 30 + 8.5, and 1.5 more for
// each non-zero attribute line.
float ItemTooltipHeightLines(const ItemRow& row);

// Where the tooltip box goes and how big it is.
struct TooltipBox {
    float x = 0, y = 0, width = 0, height = 0;
};

class ItemTooltip {
public:
    static constexpr float kMinWidth = 120;
    static constexpr float kPadding = 8;      // inside the box, all round
    static constexpr float kLineGap = 4;      // between lines
    static constexpr std::size_t kWrapBytes = 30;  // a long line (the description) wraps here
    static constexpr float kRightLimit = 750;  // the box stays left of the right panel
    static constexpr std::uint32_t kBoxColour = 0xF0141C2C;

    // A white texture, tinted into the box.
    void SetBox(const Sprite& white) { m_box = white; }
    // The lines as drawn: long ones wrapped.
    static std::vector<TooltipLine> WrappedLines(const ItemRow& row, bool withPrices);
    // The box for `lineCount` lines of height lineH, the widest textW,
    // shown for the pointer at (x, y): below right of it, else flipped to
    // the left or up, always on the screen and left of the right panel.
    static TooltipBox Place(float x, float y, float textW, int lineCount, float lineH, float screenH);
    // Draws the tooltip of `row` for the pointer at (x, y); returns its box.
    TooltipBox Draw(GdiFont& font, float x, float y, const ItemRow& row, bool withPrices, float screenW,
                    float screenH) const;

private:
    mutable Sprite m_box;
};
