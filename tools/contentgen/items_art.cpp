// Item icons (\data\道具\<n>.png, 30 x 30, one per row of Goods.csv) and the
// item and trade window backgrounds, sized for the cell layout of the windows:
// the item window's picture is drawn at its origin + (45, 40), the trade
// window's at (16, 90).

#include "generate.h"
#include "ui_style.h"

#include <string>

namespace contentgen {

namespace {

struct IconSpec {
    int number;
    const char* glyph;  // one character, UTF-8
    Rgb face;
    bool round;
};

// Number, glyph and colour by row of Goods.csv (the icon column equals the row).
constexpr IconSpec kIcons[] = {
    {1, "帚", pal::kWood, false},   {2, "剑", pal::kStone, false},  {3, "衣", pal::kBlue, false},
    {4, "链", pal::kGold, true},    {5, "帽", pal::kWood, true},    {6, "套", pal::kOchre, false},
    {7, "戒", pal::kOrange, true},  {8, "鞋", pal::kLeaf, false},   {9, "裤", pal::kDeepBlue, false},
    {10, "披", pal::kViolet, false}, {11, "盾", pal::kWood, true},  {12, "面", pal::kMagenta, true},
    {13, "玉", pal::kToxic, true},  {14, "信", pal::kCream, false}, {15, "皮", pal::kHair, false},
    {16, "金", pal::kGold, true},   {17, "红", pal::kRed, true},    {18, "蓝", pal::kBlue, true},
    {19, "神", pal::kGold, true},   {20, "卷", pal::kSky, false},   {21, "倍", pal::kPink, false},
    {22, "雷", pal::kViolet, false}, {23, "枝", pal::kLeaf, false}, {24, "牙", pal::kCream, true},
    {25, "愈", pal::kLeaf, false},
};

void Icon(Output& out, const IconSpec& s) {
    Canvas c(30, 30);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 1, 1, 28, 28, 5);
    SetColor(cr, pal::kNight, 0.85);
    cairo_fill(cr);
    if (s.round) {
        EllipsePath(cr, 15, 15, 11, 11);
    } else {
        RoundedRectPath(cr, 4, 4, 22, 22, 4);
    }
    ShadedFill(cr, s.face, 1, 1.5);
    OutlinedText(cr, s.glyph, 15, 15.5, 14, pal::kWhite, pal::kInk, 1.6);
    out.Png("道具/" + std::to_string(s.number) + ".png", c);
}

void Cells(cairo_t* cr, double x, double y, int cols, int rows, double dx, double dy) {
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k) DrawWell(cr, x + k * dx - 2, y + r * dy - 2, 34, 34, 4);
}

}  // namespace

void GenerateItems(Output& out) {
    for (const IconSpec& s : kIcons) Icon(out, s);
    {
        // Item window: equipment columns at x 12 and 173, the figure between
        // them, the 6 x 6 bag from (238, 83), the gold line below.
        Canvas c(460, 340);
        cairo_t* cr = c.cr();
        DrawPanel(cr, 0, 0, 460, 340, 10);
        DrawTitleBar(cr, 8, 6, 460 - 16 - 56, 24, "物品");
        Cells(cr, 12, 60, 1, 6, 0, 42);
        Cells(cr, 173, 60, 1, 6, 0, 42);
        DrawWell(cr, 52, 60, 112, 252, 8);
        Cells(cr, 238, 83, 6, 6, 37, 38);
        DrawWell(cr, 236, 308, 220, 22, 4);
        out.Png("其它/物品背景.png", c);
    }
    {
        // Trade window: 8 rows x 6 columns from (12, 36), 37 x 38 apart,
        // as high as the item window beside it.
        Canvas c(236, 340);
        cairo_t* cr = c.cr();
        DrawPanel(cr, 0, 0, 236, 340, 10);
        DrawTitleBar(cr, 8, 5, 236 - 16 - 56, 22, "商店");
        Cells(cr, 12, 36, 6, 8, 37, 38);
        out.Png("其它/交易框背景.png", c);
    }
}

}  // namespace contentgen
