// Living decorations placed on maps (birds, butterflies, a flag) and the
// small arrow hints. These are drawn with normal blending and outlines like
// the characters, not as light.

#include "effects.h"
#include "generate.h"

#include <cmath>

namespace contentgen {

namespace {

// A small round bird facing right, wings at `flap` (-1 down .. 1 up).
void Bird(cairo_t* cr, double x, double y, double flap, bool facingLeft, Rgb body) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (facingLeft) cairo_scale(cr, -1, 1);
    // Far wing, tail, body, belly, head, beak, near wing
    auto wing = [&](double lift, Rgb c) {
        cairo_move_to(cr, -2, -2);
        cairo_curve_to(cr, -6, -2 - 10 * lift, -12, -4 - 12 * lift, -15, -3 - 13 * lift);
        cairo_curve_to(cr, -10, 0 - 4 * lift, -6, 2, -1, 1);
        cairo_close_path(cr);
        ShadedFill(cr, c, 1, 1.5);
    };
    wing(flap * 0.8, Darker(body, 0.2));
    cairo_move_to(cr, -7, 0);
    cairo_line_to(cr, -14, -3);
    cairo_line_to(cr, -13, 3);
    cairo_close_path(cr);
    ShadedFill(cr, Darker(body, 0.1), 1, 1.5);
    EllipsePath(cr, 0, 0, 8, 5.5);
    ShadedFill(cr, body, 1, 1.6);
    EllipsePath(cr, 1.5, 2, 5, 2.8);
    SetColor(cr, pal::kCream);
    cairo_fill(cr);
    EllipsePath(cr, 6, -3.5, 4.2, 4);
    ShadedFill(cr, body, 1, 1.6);
    cairo_move_to(cr, 9.5, -4.5);
    cairo_line_to(cr, 13.5, -3);
    cairo_line_to(cr, 9.5, -1.8);
    cairo_close_path(cr);
    FlatFill(cr, pal::kOrange, 1, 1);
    EllipsePath(cr, 7.2, -4.4, 1.1, 1.1);
    SetColor(cr, pal::kInk);
    cairo_fill(cr);
    wing(flap, body);
    cairo_restore(cr);
}

// 小鸟: one bird flapping in place with a gentle bob.
void OneBird(cairo_t* cr, double t, const EffectSpec& s) {
    const double flap = std::sin(t * 2 * kPi * 3);
    Bird(cr, s.w / 2.0, s.h / 2.0 + 3 * std::sin(t * 2 * kPi * 3 + 1.2), flap, false, pal::kBlue);
}

// 小鸟2: two birds circling on an oval path.
void TwoBirds(cairo_t* cr, double t, const EffectSpec& s) {
    for (int k = 0; k < 2; ++k) {
        const double a = 2 * kPi * t + k * kPi * 0.9;
        const double x = s.w / 2.0 + std::cos(a) * (s.w / 2.0 - 20), y = s.h / 2.0 + std::sin(a) * (s.h / 2.0 - 16);
        const bool left = std::sin(a) > 0;  // moving toward -x on the lower half
        const double flap = std::sin(t * 2 * kPi * 7 + k * 2);
        Bird(cr, x, y, flap, left, k ? pal::kOchre : pal::kBlue);
    }
}

// A butterfly facing up, wings opened by `open` (0 closed .. 1 flat).
void Butterfly(cairo_t* cr, double x, double y, double open, double tilt, Rgb wing, Rgb spot) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, tilt);
    const double sx = 0.25 + 0.75 * open;
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_scale(cr, side * sx, 1);
        EllipsePath(cr, 6, -4, 6.5, 5.5);
        ShadedFill(cr, wing, 1, 1.5);
        EllipsePath(cr, 4.5, 4, 4.2, 3.6);
        ShadedFill(cr, Darker(wing, 0.1), 1, 1.5);
        EllipsePath(cr, 7, -5, 2, 2);
        SetColor(cr, spot);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    EllipsePath(cr, 0, 0, 1.6, 6.5);
    FlatFill(cr, pal::kInk, 1, 0);
    cairo_set_line_width(cr, 0.9);
    SetColor(cr, pal::kInk);
    cairo_move_to(cr, -0.5, -6);
    cairo_line_to(cr, -3, -10);
    cairo_move_to(cr, 0.5, -6);
    cairo_line_to(cr, 3, -10);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void ButterflyPath(cairo_t* cr, double t, const EffectSpec& s, Rgb wing, Rgb spot, double phase) {
    const double a = 2 * kPi * t;
    const double x = s.w / 2.0 + std::sin(a + phase) * (s.w / 2.0 - 16);
    const double y = s.h / 2.0 + std::sin(2 * a + phase) * (s.h / 2.0 - 16) * 0.8;
    const double dx = std::cos(a + phase), dy = 2 * std::cos(2 * a + phase) * 0.8 * (s.h / (double)s.w);
    const double open = 0.5 + 0.5 * std::cos(t * 2 * kPi * 9);
    Butterfly(cr, x, y, open, std::atan2(dy, dx) * 0.35, wing, spot);
}

// 旗子: a pennant on a pole; waves travel from the pole to the free end.
void Flag(cairo_t* cr, double t, const EffectSpec& s) {
    const double poleX = 10, top = 12, flagW = 52, flagH = 32;
    const int n = 24;
    auto wave = [&](double u) { return std::sin(u * 7 - t * 2 * kPi * 2) * 3.5 * u; };
    // The cloth, with stripes of light and shade where the wave turns.
    cairo_move_to(cr, poleX, top);
    for (int i = 1; i <= n; ++i) {
        const double u = static_cast<double>(i) / n;
        cairo_line_to(cr, poleX + flagW * u, top + wave(u) + 3 * u);
    }
    for (int i = n; i >= 0; --i) {
        const double u = static_cast<double>(i) / n;
        if (i == n) cairo_line_to(cr, poleX + flagW * u - 9, top + flagH / 2 + wave(u));  // swallow-tail notch
        cairo_line_to(cr, poleX + flagW * u, top + flagH + wave(u) - 3 * u);
    }
    cairo_close_path(cr);
    cairo_path_t* cloth = cairo_copy_path(cr);
    ShadedFill(cr, pal::kBlue);
    cairo_save(cr);
    cairo_append_path(cr, cloth);
    cairo_clip(cr);
    for (int i = 0; i < n; ++i) {
        const double u = (i + 0.5) / n;
        const double slope = std::cos(u * 7 - t * 2 * kPi * 2);
        cairo_rectangle(cr, poleX + flagW * i / n, 0, flagW / n + 0.5, s.h);
        if (slope > 0) SetColor(cr, pal::kWhite, 0.18 * slope * u);
        else SetColor(cr, pal::kInk, -0.22 * slope * u);
        cairo_fill(cr);
    }
    // A cream band along the cloth and the town's emblem, a leaf in a gold ring
    cairo_move_to(cr, poleX, top + flagH * 0.62);
    for (int i = 1; i <= n; ++i) {
        const double u = static_cast<double>(i) / n;
        cairo_line_to(cr, poleX + flagW * u, top + flagH * 0.62 + wave(u) - 1.5 * u);
    }
    SetColor(cr, pal::kCream);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    const double ex = poleX + flagW * 0.36, ey = top + flagH * 0.36 + wave(0.36);
    EllipsePath(cr, ex, ey, 7.5, 7.5);
    FlatFill(cr, pal::kGold, 1, 1.4);
    cairo_move_to(cr, ex - 4, ey + 3.5);
    cairo_curve_to(cr, ex - 4, ey - 3, ex + 1, ey - 5, ex + 4.5, ey - 4.5);
    cairo_curve_to(cr, ex + 4, ey, ex + 1, ey + 3.5, ex - 4, ey + 3.5);
    FlatFill(cr, pal::kLeaf, 1, 1);
    cairo_restore(cr);
    cairo_path_destroy(cloth);
    // Pole and knob
    RoundedRectPath(cr, poleX - 3, top - 4, 5, s.h - top + 2, 2);
    ShadedFill(cr, pal::kWood, 1, 1.6);
    EllipsePath(cr, poleX - 0.5, top - 6, 4.5, 4.5);
    ShadedFill(cr, pal::kGold, 1, 1.6);
}

// 按右_小 / 按左_小 / 按上_小: a gold arrow that nudges in its direction.
void Arrow(cairo_t* cr, double t, const EffectSpec& s, double angle) {
    const bool nudged = t > 0.25 && t < 0.75;  // frame 1 of 2
    cairo_save(cr);
    cairo_translate(cr, s.w / 2.0, s.h / 2.0);
    cairo_rotate(cr, angle);
    cairo_translate(cr, nudged ? 4 : -1, 0);
    if (nudged) Glow(cr, 4, 0, 18, pal::kGold, 0.6);
    cairo_move_to(cr, -12, -5);
    cairo_line_to(cr, 1, -5);
    cairo_line_to(cr, 1, -12);
    cairo_line_to(cr, 14, 0);
    cairo_line_to(cr, 1, 12);
    cairo_line_to(cr, 1, 5);
    cairo_line_to(cr, -12, 5);
    cairo_close_path(cr);
    ShadedFill(cr, nudged ? Lighter(pal::kGold, 0.2) : pal::kGold, 1, 2);
    cairo_restore(cr);
}

}  // namespace

void GenerateNatureEffects(Output& out) {
    WriteEffect(out, EffectSpec{"小鸟2", 29, 160, 90, 0, 0, true}, TwoBirds);
    WriteEffect(out, EffectSpec{"小鸟", 12, 50, 44, 0, 0, true}, OneBird);
    WriteEffect(out, EffectSpec{"旗子", 21, 72, 110, 0, 0, true}, Flag);
    WriteEffect(out, EffectSpec{"蝴蝶", 29, 120, 90, 0, 0, true},
                [](cairo_t* cr, double t, const EffectSpec& s) { ButterflyPath(cr, t, s, pal::kPink, pal::kCream, 0); });
    WriteEffect(out, EffectSpec{"蝴蝶2", 29, 120, 90, 0, 0, true},
                [](cairo_t* cr, double t, const EffectSpec& s) { ButterflyPath(cr, t, s, pal::kGold, pal::kBlue, 2.1); });
    WriteEffect(out, EffectSpec{"按右_小", 2, 40, 40, 0, 0, true},
                [](cairo_t* cr, double t, const EffectSpec& s) { Arrow(cr, t, s, 0); });
    WriteEffect(out, EffectSpec{"按左_小", 2, 40, 40, 0, 0, true},
                [](cairo_t* cr, double t, const EffectSpec& s) { Arrow(cr, t, s, kPi); });
    WriteEffect(out, EffectSpec{"按上_小", 2, 40, 40, 0, 0, true},
                [](cairo_t* cr, double t, const EffectSpec& s) { Arrow(cr, t, s, -kPi / 2); });
}

void GenerateEffects(Output& out) {
    GenerateMagicEffects(out);
    GenerateNatureEffects(out);
}

}  // namespace contentgen
