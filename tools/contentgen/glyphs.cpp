// Damage-number glyphs and the bitmap font.
//
// A damage number plays the ten glyph sets in order, one per 0.1 s, and
// disappears: set 0 is the white-hot impact, 1-2 a golden pop, 3-6 the
// number settling in orange-red while it rises, 7-9 fading out. The rise
// is carried by the info files' y offsets, so every digit of a number moves
// together.

#include "generate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace contentgen {

namespace {

struct GlyphSet {
    double scale;
    Rgb top, bottom, outline;
    double alpha;
    double rise;  // pixels above the spawn point
};

const GlyphSet kSets[10] = {
    {1.45, pal::kWhite, pal::kCream, pal::kOrange, 1.0, 0},
    {1.30, pal::kWhite, pal::kGold, Darker(pal::kRed, 0.4), 1.0, 5},
    {1.15, pal::kGold, pal::kOrange, Darker(pal::kRed, 0.5), 1.0, 10},
    {1.05, pal::kGold, pal::kRed, pal::kInk, 1.0, 14},
    {1.00, Lighter(pal::kGold, 0.2), pal::kRed, pal::kInk, 1.0, 18},
    {1.00, Lighter(pal::kGold, 0.2), pal::kRed, pal::kInk, 1.0, 21},
    {1.00, pal::kGold, Darker(pal::kRed, 0.1), pal::kInk, 0.95, 24},
    {1.00, pal::kGold, Darker(pal::kRed, 0.1), pal::kInk, 0.75, 27},
    {0.95, pal::kGold, Darker(pal::kRed, 0.1), pal::kInk, 0.5, 30},
    {0.90, pal::kGold, Darker(pal::kRed, 0.1), pal::kInk, 0.25, 33},
};

constexpr const char* kDigitFace = "DejaVu Sans";
constexpr double kDigitSize = 24;
constexpr double kStep = 25;  // digits of a number stand 25 px apart

void NumberGlyphs(Output& out) {
    for (int i = 0; i < 10; ++i) {
        const GlyphSet& g = kSets[i];
        const double size = kDigitSize * g.scale, ow = 2.2 * std::sqrt(g.scale);
        for (int d = 0; d < 10; ++d) {
            const std::string text(1, static_cast<char>('0' + d));
            // Measure with a scratch surface.
            Canvas probe(4, 4);
            cairo_select_font_face(probe.cr(), kDigitFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
            cairo_set_font_size(probe.cr(), size);
            cairo_text_extents_t te;
            cairo_text_extents(probe.cr(), text.c_str(), &te);
            const int pad = static_cast<int>(std::ceil(ow)) + 2;
            const int w = static_cast<int>(std::ceil(te.width)) + 2 * pad;
            const int h = static_cast<int>(std::ceil(te.height)) + 2 * pad;
            Canvas solid(w, h);
            cairo_t* cr = solid.cr();
            cairo_select_font_face(cr, kDigitFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
            cairo_set_font_size(cr, size);
            cairo_move_to(cr, pad - te.x_bearing, pad - te.y_bearing);
            cairo_text_path(cr, text.c_str());
            SetColor(cr, g.outline);
            cairo_set_line_width(cr, ow * 2);
            cairo_stroke_preserve(cr);
            cairo_pattern_t* grad = cairo_pattern_create_linear(0, pad, 0, h - pad);
            cairo_pattern_add_color_stop_rgb(grad, 0, g.top.r, g.top.g, g.top.b);
            cairo_pattern_add_color_stop_rgb(grad, 1, g.bottom.r, g.bottom.g, g.bottom.b);
            cairo_set_source(cr, grad);
            cairo_fill(cr);
            cairo_pattern_destroy(grad);
            Canvas glyph(w, h);
            glyph.Paste(solid, 0, 0, 1.0, g.alpha);
            // Centred on the digit's 25 px step, centred vertically on the
            // spawn point and lifted by the set's rise.
            const double ox = std::round(w / 2.0 - kStep / 2);
            const double oy = -std::round(h / 2.0 + g.rise);
            out.Frame("文字/" + std::to_string(i), d, glyph, ox, oy);
        }
    }
}

// The bitmap font: printable ASCII in white with a dark outline (the game
// tints it), written as an AngelCode BMFont text file and one page.
void BitmapFont(Output& out) {
    const char* face = "DejaVu Sans";
    const double size = 16;
    const int pad = 2;  // room for the outline around each glyph
    const int pageW = 256, pageH = 256;
    Canvas page(pageW, pageH);
    cairo_t* cr = page.cr();
    cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    const int base = static_cast<int>(std::ceil(fe.ascent)) + pad;
    const int lineHeight = static_cast<int>(std::ceil(fe.ascent + fe.descent)) + 2 * pad;

    std::string chars;
    int count = 0, penX = 1, penY = 1, rowH = 0;
    for (int id = 32; id < 127; ++id) {
        const std::string s(1, static_cast<char>(id));
        cairo_text_extents_t te;
        cairo_text_extents(cr, s.c_str(), &te);
        const int adv = static_cast<int>(std::lround(te.x_advance)) + 1;
        int x0 = 0, y0 = 0, w = 0, h = 0, xoff = 0, yoff = 0;
        if (te.width > 0 && te.height > 0) {
            const int left = static_cast<int>(std::floor(te.x_bearing));
            const int right = static_cast<int>(std::ceil(te.x_bearing + te.width));
            const int top = static_cast<int>(std::floor(te.y_bearing));
            const int bottom = static_cast<int>(std::ceil(te.y_bearing + te.height));
            w = right - left + 2 * pad;
            h = bottom - top + 2 * pad;
            if (penX + w + 1 > pageW) {
                penX = 1;
                penY += rowH + 1;
                rowH = 0;
            }
            x0 = penX;
            y0 = penY;
            xoff = left - pad;
            yoff = base - pad + top;
            // Pen position so that the ink lands inside the cell.
            const double ox = x0 - xoff, oy = y0 - yoff + base;
            cairo_move_to(cr, ox, oy);
            cairo_text_path(cr, s.c_str());
            SetColor(cr, pal::kInk);
            cairo_set_line_width(cr, 2.6);
            cairo_stroke_preserve(cr);
            SetColor(cr, pal::kWhite);
            cairo_fill(cr);
            penX += w + 1;
            rowH = std::max(rowH, h);
        }
        char line[160];
        std::snprintf(line, sizeof line,
                      "char id=%d x=%d y=%d width=%d height=%d xoffset=%d yoffset=%d xadvance=%d page=0 chnl=15\n",
                      id, x0, y0, w, h, xoff, yoff, adv);
        chars += line;
        ++count;
    }
    char head[512];
    std::snprintf(head, sizeof head,
                  "info face=\"%s\" size=%d bold=1 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=1 aa=1 "
                  "padding=%d,%d,%d,%d spacing=1,1 outline=1\n"
                  "common lineHeight=%d base=%d scaleW=%d scaleH=%d pages=1 packed=0 alphaChnl=0 redChnl=0 "
                  "greenChnl=0 blueChnl=0\n"
                  "page id=0 file=\"font1_0.png\"\n"
                  "chars count=%d\n",
                  face, static_cast<int>(size), pad, pad, pad, pad, lineHeight, base, pageW, pageH, count);
    out.Png("其它/font1_0.png", page);
    out.Text("其它/font1.fnt", std::string(head) + chars);
}

}  // namespace

void GenerateGlyphs(Output& out) {
    NumberGlyphs(out);
    BitmapFont(out);
}

}  // namespace contentgen
