#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace contentgen {

Canvas::Canvas(int w, int h)
    : m_w(std::max(1, w)),
      m_h(std::max(1, h)),
      m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_w, m_h)),
      m_cr(cairo_create(m_surface)) {
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_BEST);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_ROUND);
}

Canvas::Canvas(Canvas&& other) noexcept
    : m_w(other.m_w), m_h(other.m_h), m_surface(other.m_surface), m_cr(other.m_cr) {
    other.m_surface = nullptr;
    other.m_cr = nullptr;
}

Canvas::~Canvas() {
    if (m_cr) cairo_destroy(m_cr);
    if (m_surface) cairo_surface_destroy(m_surface);
}

void Canvas::Fade(double alpha) {
    cairo_save(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_rgba(m_cr, 0, 0, 0, std::clamp(alpha, 0.0, 1.0));
    cairo_paint(m_cr);
    cairo_restore(m_cr);
}

void Canvas::Paste(const Canvas& other, double x, double y, double scale, double alpha) {
    cairo_surface_flush(other.m_surface);
    cairo_save(m_cr);
    cairo_translate(m_cr, x, y);
    cairo_scale(m_cr, scale, scale);
    cairo_set_source_surface(m_cr, other.m_surface, 0, 0);
    cairo_paint_with_alpha(m_cr, alpha);
    cairo_restore(m_cr);
}

bool Canvas::SavePng(const std::string& utf8Path) const {
    cairo_surface_flush(m_surface);
    return cairo_surface_write_to_png(m_surface, utf8Path.c_str()) == CAIRO_STATUS_SUCCESS;
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Darker(Rgb c, double amount) { return Mix(c, Rgb{0.08, 0.05, 0.12}, amount); }
Rgb Lighter(Rgb c, double amount) { return Mix(c, Rgb{1, 1, 1}, amount); }

void SetColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void CapsulePath(cairo_t* cr, double x0, double y0, double x1, double y1, double w) {
    const double a = std::atan2(y1 - y0, x1 - x0);
    const double r = w / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1, y1, r, a - kPi / 2, a + kPi / 2);
    cairo_arc(cr, x0, y0, r, a + kPi / 2, a + 3 * kPi / 2);
    cairo_close_path(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double rOuter, double rInner, int points, double rot) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2 == 0) ? rOuter : rInner;
        const double a = rot + i * kPi / points;
        const double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
        if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

namespace {
void FillAndOutline(cairo_t* cr, Rgb base, double alpha, double outline, bool shaded) {
    double x0, y0, x1, y1;
    cairo_path_extents(cr, &x0, &y0, &x1, &y1);
    if (shaded) {
        // The light comes from the top left: a lighter rim there, the base
        // colour over most of the shape and a darker band at the bottom right.
        cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
        const Rgb hi = Lighter(base, 0.28), lo = Darker(base, 0.22);
        cairo_pattern_add_color_stop_rgba(g, 0.0, hi.r, hi.g, hi.b, alpha);
        cairo_pattern_add_color_stop_rgba(g, 0.38, base.r, base.g, base.b, alpha);
        cairo_pattern_add_color_stop_rgba(g, 0.62, base.r, base.g, base.b, alpha);
        cairo_pattern_add_color_stop_rgba(g, 0.80, lo.r, lo.g, lo.b, alpha);
        cairo_pattern_add_color_stop_rgba(g, 1.0, lo.r, lo.g, lo.b, alpha);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
    } else {
        SetColor(cr, base, alpha);
        cairo_fill_preserve(cr);
    }
    if (outline > 0) {
        SetColor(cr, Darker(base, 0.62), alpha);
        cairo_set_line_width(cr, outline);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}
}  // namespace

void ShadedFill(cairo_t* cr, Rgb base, double alpha, double outline) { FillAndOutline(cr, base, alpha, outline, true); }
void FlatFill(cairo_t* cr, Rgb base, double alpha, double outline) { FillAndOutline(cr, base, alpha, outline, false); }

void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double intensity) {
    if (radius <= 0.5 || intensity <= 0) return;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    const double k = std::min(intensity, 1.0);
    const Rgb core = Lighter(c, 0.6);
    cairo_pattern_add_color_stop_rgba(g, 0.0, core.r, core.g, core.b, k);
    cairo_pattern_add_color_stop_rgba(g, 0.25, c.r, c.g, c.b, 0.75 * k);
    cairo_pattern_add_color_stop_rgba(g, 0.6, c.r, c.g, c.b, 0.25 * k);
    cairo_pattern_add_color_stop_rgba(g, 1.0, c.r, c.g, c.b, 0.0);
    cairo_set_source(cr, g);
    cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

void GlowLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb c, double intensity) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double k = std::min(intensity, 1.0);
    const double widths[] = {width * 4, width * 2.2, width, width * 0.45};
    const double alphas[] = {0.12, 0.25, 0.7, 1.0};
    for (int i = 0; i < 4; ++i) {
        const Rgb col = i == 3 ? Lighter(c, 0.85) : (i == 2 ? Lighter(c, 0.35) : c);
        SetColor(cr, col, alphas[i] * k);
        cairo_set_line_width(cr, widths[i]);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void OutlinedText(cairo_t* cr, const std::string& utf8, double cx, double cy, double size, Rgb fill, Rgb outline,
                  double outlineWidth, bool centre, const char* face, bool bold) {
    cairo_save(cr);
    cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    double x = cx, y = cy;
    if (centre) {
        cairo_text_extents_t te;
        cairo_text_extents(cr, utf8.c_str(), &te);
        x = cx - te.width / 2 - te.x_bearing;
        y = cy - te.height / 2 - te.y_bearing;
    }
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, utf8.c_str());
    if (outlineWidth > 0) {
        SetColor(cr, outline);
        cairo_set_line_width(cr, outlineWidth * 2);
        cairo_stroke_preserve(cr);
    }
    SetColor(cr, fill);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace contentgen
