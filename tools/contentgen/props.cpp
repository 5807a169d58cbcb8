#include "props.h"

#include <cmath>

namespace contentgen {

double CanvasAngle(double rigDegrees) { return std::atan2(std::cos(Rad(rigDegrees)), std::sin(Rad(rigDegrees))); }

Point DrawBroom(cairo_t* cr, Point grip, double angle, double alpha) {
    const double ux = std::cos(angle), uy = std::sin(angle);
    const double nx = -uy, ny = ux;
    auto at = [&](double along, double across) {
        return Point{grip.x + ux * along + nx * across, grip.y + uy * along + ny * across};
    };
    // Handle
    const Point butt = at(-8, 0), neck = at(25, 0);
    CapsulePath(cr, butt.x, butt.y, neck.x, neck.y, 4.2);
    ShadedFill(cr, pal::kWood, alpha, 1.6);
    // Bristles: a fan that widens toward a slightly rounded, ragged end.
    const double b0 = 24, b1 = 41;
    const Point p0 = at(b0, -3.6), p1 = at(b1, -8.5), p2 = at(b1 + 2, -3), p3 = at(b1 + 1, 2.5), p4 = at(b1, 8),
                p5 = at(b0, 3.6);
    cairo_move_to(cr, p0.x, p0.y);
    cairo_line_to(cr, p1.x, p1.y);
    cairo_line_to(cr, p2.x, p2.y);
    cairo_line_to(cr, p3.x, p3.y);
    cairo_line_to(cr, p4.x, p4.y);
    cairo_line_to(cr, p5.x, p5.y);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kOchre, alpha, 1.8);
    // Straw lines
    SetColor(cr, Darker(pal::kOchre, 0.35), 0.8 * alpha);
    cairo_set_line_width(cr, 0.9);
    for (double k : {-4.0, 0.0, 4.0}) {
        const Point a = at(b0 + 4, k * 0.55), b = at(b1 - 1, k * 1.3);
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
    }
    cairo_stroke(cr);
    // Binding band in the player's accent
    const Point c0 = at(b0 - 1, -4.6), c1 = at(b0 - 1, 4.6), c2 = at(b0 + 3.5, 4.9), c3 = at(b0 + 3.5, -4.9);
    cairo_move_to(cr, c0.x, c0.y);
    cairo_line_to(cr, c1.x, c1.y);
    cairo_line_to(cr, c2.x, c2.y);
    cairo_line_to(cr, c3.x, c3.y);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kRed, alpha, 1.4);
    return at((b0 + b1) / 2 + 3, 0);
}

void DrawSwingSmear(cairo_t* cr, Point pivot, double radius, double a0, double a1, double strength) {
    if (strength <= 0) return;
    // Walk the shorter way from a0 to a1.
    double d = a1 - a0;
    while (d > kPi) d -= 2 * kPi;
    while (d < -kPi) d += 2 * kPi;
    const int steps = 16;
    cairo_save(cr);
    for (int i = 0; i < steps; ++i) {
        const double t0 = static_cast<double>(i) / steps, t1 = static_cast<double>(i + 1) / steps;
        const double w = 4 + 10 * t1;  // thin tail, thick head
        const double aa = a0 + d * t0, ab = a0 + d * t1;
        cairo_new_path(cr);
        if (d > 0) {
            cairo_arc(cr, pivot.x, pivot.y, radius + w * 0.35, aa, ab);
            cairo_arc_negative(cr, pivot.x, pivot.y, radius - w * 0.65, ab, aa);
        } else {
            cairo_arc_negative(cr, pivot.x, pivot.y, radius + w * 0.35, aa, ab);
            cairo_arc(cr, pivot.x, pivot.y, radius - w * 0.65, ab, aa);
        }
        cairo_close_path(cr);
        SetColor(cr, Lighter(pal::kCream, 0.4), strength * (0.08 + 0.55 * t1 * t1));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

}  // namespace contentgen
