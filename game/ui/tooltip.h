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

class ItemTooltip {
public:
    static constexpr float kWidth = 200;
    // The tile scaled into the box ("msg.png").
    void SetTile(const Sprite& tile) { m_tile = tile; }
    // Draws the tooltip of `row` near (x, y), kept on the 800 x 600 screen.
    void Draw(GdiFont& font, float x, float y, const ItemRow& row, bool withPrices, float screenW,
              float screenH) const;

private:
    Sprite m_tile;
};
