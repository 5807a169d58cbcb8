// Skill icons: one 25 x 25 picture per icon number of the skill table
// (\data\魔法\<n>.png), each a rounded tile in the skill's colour with a
// glyph that says what it does.
#include "canvas.h"
#include "generate.h"

#include <cmath>
#include <functional>
#include <string>

namespace contentgen {

namespace {

constexpr int kIcon = 25;

using Glyph = std::function<void(cairo_t*)>;

Canvas Icon(Rgb tile, const Glyph& glyph) {
    Canvas c(kIcon, kIcon);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 1.5, 1.5, kIcon - 3, kIcon - 3, 5);
    ShadedFill(cr, tile, 1.0, 1.5);
    glyph(cr);
    // A light inner rim, as the interface frames have.
    RoundedRectPath(cr, 3, 3, kIcon - 6, kIcon - 6, 4);
    SetColor(cr, pal::kWhite, 0.25);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return c;
}

void Bolt(cairo_t* cr) {
    Glow(cr, 12.5, 12.5, 11, pal::kCyan, 0.5);
    cairo_move_to(cr, 14.5, 3.5);
    cairo_line_to(cr, 7.5, 13.5);
    cairo_line_to(cr, 12, 13.5);
    cairo_line_to(cr, 9.5, 21.5);
    cairo_line_to(cr, 17.5, 10.5);
    cairo_line_to(cr, 13, 10.5);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kGold, 1.0, 1.2);
}

void FlameSlash(cairo_t* cr) {
    Glow(cr, 12.5, 13, 10, pal::kOrange, 0.6);
    cairo_move_to(cr, 5, 19);
    cairo_curve_to(cr, 8, 10, 14, 5, 21, 4);
    cairo_curve_to(cr, 16, 9, 12, 14, 9, 21);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kOrange, 1.0, 1.2);
    GlowLine(cr, 7, 18, 19, 6, 1.5, pal::kCream, 0.8);
}

void Heal(cairo_t* cr) {
    Glow(cr, 12.5, 12.5, 11, pal::kCream, 0.6);
    RoundedRectPath(cr, 10, 5, 5, 15, 1.5);
    ShadedFill(cr, pal::kWhite, 1.0, 1.0);
    RoundedRectPath(cr, 5, 10, 15, 5, 1.5);
    ShadedFill(cr, pal::kWhite, 1.0, 1.0);
    Glow(cr, 12.5, 12.5, 4, pal::kGold, 0.7);
}

void PoisonFog(cairo_t* cr) {
    const double puffs[][3] = {{8, 15, 4.5}, {13, 11, 5}, {17.5, 15, 4.5}, {12.5, 17, 4}};
    for (const auto& p : puffs) {
        EllipsePath(cr, p[0], p[1], p[2], p[2] * 0.85);
        ShadedFill(cr, pal::kToxic, 0.9, 1.0);
    }
    const double drops[][2] = {{9, 7}, {16, 6}};
    for (const auto& d : drops) {
        EllipsePath(cr, d[0], d[1], 1.5, 1.5);
        FlatFill(cr, pal::kLeaf, 1.0, 0.8);
    }
}

void CurseEye(cairo_t* cr) {
    Glow(cr, 12.5, 12.5, 11, pal::kMagenta, 0.5);
    cairo_move_to(cr, 3.5, 12.5);
    cairo_curve_to(cr, 8, 5.5, 17, 5.5, 21.5, 12.5);
    cairo_curve_to(cr, 17, 19.5, 8, 19.5, 3.5, 12.5);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kCream, 1.0, 1.2);
    EllipsePath(cr, 12.5, 12.5, 3.8, 3.8);
    ShadedFill(cr, pal::kMagenta, 1.0, 1.0);
    EllipsePath(cr, 12.5, 12.5, 1.5, 1.5);
    FlatFill(cr, pal::kInk, 1.0, 0.5);
}

}  // namespace

void GenerateSkills(Output& out) {
    // In icon-number order: 雷电术, 烈火斩, 治愈术, 毒雾术, 诅咒术.
    const struct {
        Rgb tile;
        Glyph glyph;
    } icons[] = {
        {pal::kDeepBlue, Bolt},
        {Darker(pal::kRed, 0.2), FlameSlash},
        {pal::kLeaf, Heal},
        {Darker(pal::kLeaf, 0.5), PoisonFog},
        {pal::kDusk, CurseEye},
    };
    int n = 0;
    for (const auto& icon : icons) out.Png("魔法/" + std::to_string(++n) + ".png", Icon(icon.tile, icon.glyph));
}

}  // namespace contentgen
