// The title screen and the menus: the title picture, the wide menu button,
// the system window, the save-slot list and the question box.
//
// Layout the game relies on:
// - "其它/标题画面.png" 800 x 600: the valley at dawn with the game's name
//   across the upper third; the menu's four buttons go in the clear band
//   from y 300 to 480 in the middle.
// - "其它/菜单按钮" 200 x 36 and "其它/小按钮" 80 x 28: blank faces in
//   three states; the game prints the captions.
// - "其它/系统背景.png" 240 x 290: a window with a title strip; five
//   buttons from y 48, 44 px apart, at x 20.
// - "其它/存档背景.png" 460 x 380: a window with five row wells, 52 px
//   tall and 56 px apart from y 44, x 14 to 446; the back button sits at
//   (190, 340). "其它/存档高亮.png" 432 x 52 lights the chosen row.
// - "其它/询问背景.png" 360 x 200: a box with a title strip, the question
//   below it and two buttons along the bottom (y 158, x 80 and 200).

#include "canvas.h"
#include "generate.h"
#include "palette.h"
#include "ui_style.h"

#include <cmath>

namespace contentgen {
namespace {

void BlankButton(Output& out, const std::string& folder, int w, int h) {
    WriteButton(out, folder, w, h, "", 13);
}

void Hill(cairo_t* cr, double baseY, double amplitude, double wavelength, double phase, Rgb colour) {
    cairo_move_to(cr, 0, 600);
    for (int x = 0; x <= 800; x += 8) {
        const double y = baseY - amplitude * (0.6 * std::sin(x / wavelength + phase) +
                                              0.4 * std::sin(x / (wavelength * 0.43) + phase * 2.1));
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, 800, 600);
    cairo_close_path(cr);
    FlatFill(cr, colour, 1.0, 0);
}

void Tree(cairo_t* cr, double x, double groundY, double size, Rgb leaf) {
    cairo_rectangle(cr, x - size * 0.08, groundY - size * 0.5, size * 0.16, size * 0.5);
    FlatFill(cr, pal::kWood, 1.0, 1.5);
    EllipsePath(cr, x, groundY - size * 0.75, size * 0.42, size * 0.4);
    ShadedFill(cr, leaf, 1.0, 2.0);
}

void House(cairo_t* cr, double x, double groundY, double w, Rgb wall, Rgb roof) {
    const double h = w * 0.7;
    cairo_rectangle(cr, x, groundY - h, w, h);
    ShadedFill(cr, wall, 1.0, 2.0);
    cairo_move_to(cr, x - w * 0.12, groundY - h);
    cairo_line_to(cr, x + w / 2, groundY - h - w * 0.5);
    cairo_line_to(cr, x + w * 1.12, groundY - h);
    cairo_close_path(cr);
    ShadedFill(cr, roof, 1.0, 2.0);
    cairo_rectangle(cr, x + w * 0.38, groundY - h * 0.55, w * 0.24, h * 0.55);
    FlatFill(cr, pal::kWood, 1.0, 1.5);
    RoundedRectPath(cr, x + w * 0.1, groundY - h * 0.8, w * 0.2, w * 0.18, 2);
    FlatFill(cr, pal::kGold, 0.9, 1.0);
}

// A wind chime hanging from a branch: the valley's sign.
void Chime(cairo_t* cr, double x, double y) {
    SetColor(cr, pal::kInk, 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x, y + 18);
    cairo_stroke(cr);
    EllipsePath(cr, x, y + 24, 9, 8);
    ShadedFill(cr, pal::kCyan, 0.95, 1.5);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, x + i * 4, y + 31);
        cairo_line_to(cr, x + i * 4, y + 44 + (i == 0 ? 6 : 0));
    }
    SetColor(cr, pal::kInk, 0.7);
    cairo_stroke(cr);
    RoundedRectPath(cr, x - 5, y + 50, 10, 14, 2);
    FlatFill(cr, pal::kPink, 1.0, 1.0);
}

void TitlePicture(Output& out) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 420);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.42, 0.55, 0.86);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.66, 0.86, 0.96);
    cairo_pattern_add_color_stop_rgb(sky, 1, 1.0, 0.9, 0.76);
    cairo_rectangle(cr, 0, 0, 800, 600);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    Glow(cr, 620, 250, 120, pal::kGold, 0.3);
    EllipsePath(cr, 620, 250, 38, 38);
    FlatFill(cr, Lighter(pal::kGold, 0.4), 1.0, 0);
    // Hills fade toward the sky with distance.
    Hill(cr, 400, 40, 90, 0.3, Mix(pal::kStone, pal::kSky, 0.55));
    Hill(cr, 450, 34, 70, 1.7, Mix(pal::kLeaf, pal::kSky, 0.45));
    Hill(cr, 515, 26, 110, 2.6, Mix(pal::kLeaf, pal::kGrass, 0.4));
    House(cr, 90, 540, 70, pal::kCream, pal::kRed);
    House(cr, 630, 548, 80, pal::kCream, pal::kDeepBlue);
    Tree(cr, 40, 560, 90, pal::kLeaf);
    Tree(cr, 205, 556, 70, Mix(pal::kLeaf, pal::kGrass, 0.3));
    Tree(cr, 745, 566, 100, pal::kLeaf);
    cairo_rectangle(cr, 0, 556, 800, 44);
    FlatFill(cr, pal::kGrass, 1.0, 0);
    cairo_rectangle(cr, 0, 556, 800, 3);
    FlatFill(cr, Darker(pal::kGrass, 0.2), 1.0, 0);
    // The branch with the chime, top left.
    cairo_move_to(cr, 0, 40);
    cairo_curve_to(cr, 60, 50, 110, 36, 170, 58);
    SetColor(cr, pal::kWood, 1);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    Chime(cr, 120, 48);
    // The name, its shadow and a thin rule under it.
    OutlinedText(cr, "风铃谷", 400, 150, 76, pal::kCream, pal::kDeepBlue, 5);
    OutlinedText(cr, "Lumo 横板 RPG", 400, 222, 20, pal::kGold, pal::kInk, 2);
    cairo_rectangle(cr, 290, 244, 220, 2);
    SetColor(cr, pal::kCream, 0.8);
    cairo_fill(cr);
    // The menu band: a soft panel so the buttons read over the hills.
    DrawPanel(cr, 280, 292, 240, 196, 14, 0.55);
    out.Png("其它/标题画面.png", c);
}

// Menus stand over busy pictures (the world, the title), so their panels
// are nearly opaque.
Canvas Panel(int w, int h, const std::string& title) {
    Canvas c(w, h);
    DrawPanel(c.cr(), 0, 0, w, h, 10, 0.95);
    DrawTitleBar(c.cr(), 8, 6, w - 16 - 48, 24, title);
    return c;
}

}  // namespace

void GenerateMenus(Output& out) {
    TitlePicture(out);
    BlankButton(out, "其它/菜单按钮", 200, 36);
    BlankButton(out, "其它/小按钮", 80, 28);
    out.Png("其它/系统背景.png", Panel(240, 290, "系统"));
    {
        Canvas c = Panel(460, 380, "");
        for (int i = 0; i < 5; ++i) DrawWell(c.cr(), 14, 44 + i * 56, 432, 52, 6);
        out.Png("其它/存档背景.png", c);
    }
    {
        Canvas c(432, 52);
        RoundedRectPath(c.cr(), 1, 1, 430, 50, 6);
        SetColor(c.cr(), pal::kGold, 0.18);
        cairo_fill_preserve(c.cr());
        SetColor(c.cr(), pal::kGold, 0.9);
        cairo_set_line_width(c.cr(), 2);
        cairo_stroke(c.cr());
        out.Png("其它/存档高亮.png", c);
    }
    {
        Canvas c(360, 200);
        DrawPanel(c.cr(), 0, 0, 360, 200, 12, 0.97);
        DrawTitleBar(c.cr(), 10, 8, 340, 24, "");
        out.Png("其它/询问背景.png", c);
    }
}

}  // namespace contentgen
