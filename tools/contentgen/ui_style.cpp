#include "ui_style.h"

#include <algorithm>

namespace contentgen {

void DrawPanel(cairo_t* cr, double x, double y, double w, double h, double radius, double fillAlpha) {
    // Body: dark, slightly lighter at the top.
    RoundedRectPath(cr, x + 1, y + 1, w - 2, h - 2, radius);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    const Rgb top = Mix(pal::kNight, pal::kDusk, 0.55), bottom = pal::kNight;
    cairo_pattern_add_color_stop_rgba(g, 0, top.r, top.g, top.b, fillAlpha);
    cairo_pattern_add_color_stop_rgba(g, 1, bottom.r, bottom.g, bottom.b, fillAlpha);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    // Outer dark edge, then the light inner border.
    SetColor(cr, Darker(pal::kDusk, 0.5), 0.95);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRectPath(cr, x + 3, y + 3, w - 6, h - 6, radius > 3 ? radius - 2 : radius);
    SetColor(cr, pal::kMist, 0.65);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void DrawTitleBar(cairo_t* cr, double x, double y, double w, double h, const std::string& caption) {
    RoundedRectPath(cr, x, y, w, h, 5);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    const Rgb a = Lighter(pal::kDusk, 0.15), b = Darker(pal::kDusk, 0.2);
    cairo_pattern_add_color_stop_rgba(g, 0, a.r, a.g, a.b, 0.95);
    cairo_pattern_add_color_stop_rgba(g, 1, b.r, b.g, b.b, 0.95);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, pal::kGold, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (!caption.empty())
        OutlinedText(cr, caption, x + w / 2, y + h / 2, h * 0.62, pal::kCream, pal::kInk, 1.2);
}

void DrawWell(cairo_t* cr, double x, double y, double w, double h, double radius) {
    RoundedRectPath(cr, x, y, w, h, radius);
    SetColor(cr, Darker(pal::kNight, 0.3), 0.85);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kMist, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Inner shadow along the top edge
    RoundedRectPath(cr, x + 1, y + 1, w - 2, std::min(3.0, h / 3), radius / 2);
    SetColor(cr, pal::kInk, 0.5);
    cairo_fill(cr);
}

void DrawBarFill(cairo_t* cr, double x, double y, double w, double h, Rgb c, double radius) {
    RoundedRectPath(cr, x, y, w, h, radius);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    const Rgb hi = Lighter(c, 0.45), lo = Darker(c, 0.25);
    cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(g, 0.45, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    if (h >= 6) {
        RoundedRectPath(cr, x + 2, y + 1.5, w - 4, h * 0.3, radius / 2);
        SetColor(cr, pal::kWhite, 0.35);
        cairo_fill(cr);
    }
}

void DrawButton(cairo_t* cr, double w, double h, ButtonState state, const std::string& caption, double textSize,
                Rgb face) {
    const double press = state == ButtonState::Pressed ? 1 : 0;
    Rgb body = face;
    if (state == ButtonState::Hover) body = Lighter(face, 0.25);
    if (state == ButtonState::Pressed) body = Darker(face, 0.2);
    RoundedRectPath(cr, 1, 1 + press, w - 2, h - 2 - press, 5);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    const Rgb hi = state == ButtonState::Pressed ? Darker(body, 0.1) : Lighter(body, 0.25);
    const Rgb lo = state == ButtonState::Pressed ? Lighter(body, 0.05) : Darker(body, 0.25);
    cairo_pattern_add_color_stop_rgba(g, 0, hi.r, hi.g, hi.b, 0.95);
    cairo_pattern_add_color_stop_rgba(g, 1, lo.r, lo.g, lo.b, 0.95);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, state == ButtonState::Normal ? Darker(face, 0.55) : pal::kGold, 1);
    cairo_set_line_width(cr, state == ButtonState::Normal ? 1.5 : 2);
    cairo_stroke(cr);
    if (state != ButtonState::Pressed) {  // light inner rim on the raised states
        RoundedRectPath(cr, 3, 3, w - 6, h * 0.4, 3);
        SetColor(cr, pal::kWhite, state == ButtonState::Hover ? 0.22 : 0.12);
        cairo_fill(cr);
    }
    if (!caption.empty()) {
        const Rgb text = state == ButtonState::Normal ? pal::kCream : pal::kGold;
        OutlinedText(cr, caption, w / 2, h / 2 + press, textSize, text, pal::kInk, 1.2);
    }
}

void WriteButton(Output& out, const std::string& folder, int w, int h, const std::string& caption, double textSize,
                 Rgb face) {
    const ButtonState states[3] = {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed};
    for (int i = 0; i < 3; ++i) {
        Canvas c(w, h);
        DrawButton(c.cr(), w, h, states[i], caption, textSize, face);
        out.Png(folder + "/" + std::to_string(i + 1) + ".png", c);
    }
}

}  // namespace contentgen
