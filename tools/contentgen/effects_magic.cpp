// Spell, status and combat effects. All light is added (CAIRO_OPERATOR_ADD
// through Glow/GlowLine) so the effects brighten whatever they cover.

#include "effects.h"

#include <cmath>

namespace contentgen {

namespace {

constexpr double kFeetX = 60, kFeetY = 150;  // player's feet in on-player pictures

void Sparkle(cairo_t* cr, double x, double y, double r, Rgb c, double a) {
    if (a <= 0.01 || r <= 0.2) return;
    Glow(cr, x, y, r * 2.6, c, a * 0.8);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    StarPath(cr, x, y, r, r * 0.3, 4, 0);
    SetColor(cr, Lighter(c, 0.7), a);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Ring(cairo_t* cr, double cx, double cy, double rx, double ry, double width, Rgb c, double a) {
    if (a <= 0.01) return;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    for (int pass = 0; pass < 2; ++pass) {
        EllipsePath(cr, cx, cy, rx, ry);
        SetColor(cr, pass ? Lighter(c, 0.6) : c, pass ? a : a * 0.4);
        cairo_set_line_width(cr, pass ? width : width * 3);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// 特效1: a golden helix of motes winding up around the player.
void Aura(cairo_t* cr, double t, const EffectSpec&) {
    Ring(cr, kFeetX, kFeetY - 2, 30 + 3 * std::sin(t * 2 * kPi), 8, 1.5, pal::kGold, 0.6);
    for (int k = 0; k < 16; ++k) {
        const double p = std::fmod(t + k / 16.0, 1.0);
        const double ang = 2 * kPi * (p * 1.5 + k * 0.25);
        const double depth = std::sin(ang);
        const double x = kFeetX + std::cos(ang) * 30 * (1 - 0.35 * p);
        const double y = kFeetY - 4 - p * 105 + depth * 6;
        const double fade = Bump(p, 0, 1);
        Sparkle(cr, x, y, 2.5 + 1.5 * (depth + 1) * 0.5, k % 3 ? pal::kGold : pal::kWhite, fade * (0.6 + 0.4 * depth));
    }
}

// 特效2: the level-up pillar; drawn pale so the game's tint colours it.
void LevelUp(cairo_t* cr, double t, const EffectSpec&) {
    const double rise = Smooth(t / 0.45), fade = 1 - Smooth((t - 0.6) / 0.4);
    const double top = kFeetY - 130 * rise;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_pattern_t* g = cairo_pattern_create_linear(kFeetX - 24, 0, kFeetX + 24, 0);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.9, 0);
    cairo_pattern_add_color_stop_rgba(g, 0.5, 1, 1, 0.9, 0.55 * fade);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 0.9, 0);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, kFeetX - 24, top, 48, kFeetY - top);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    for (int k = 0; k < 3; ++k) {
        const double p = std::fmod(t * 1.5 + k / 3.0, 1.0);
        Ring(cr, kFeetX, kFeetY - 5 - p * 100, 30 - p * 8, 7 - p * 2, 1.6, pal::kCream, fade * Bump(p, 0, 1));
    }
    Dice d(2);
    for (int k = 0; k < 10; ++k) {
        const double x = kFeetX + d.Range(-30, 30), y0 = d.Range(kFeetY - 40, kFeetY);
        const double p = std::fmod(t + d.Next(), 1.0);
        Sparkle(cr, x, y0 - p * 90, d.Range(2, 4), pal::kWhite, fade * Bump(p, 0, 1));
    }
    Glow(cr, kFeetX, kFeetY - 4, 40, pal::kCream, 0.5 * fade);
}

// 传送门: a violet oval with cyan arms swirling into its core.
void Portal(cairo_t* cr, double t, const EffectSpec& s) {
    const double cx = s.w / 2.0, cy = 48, rx = 27, ry = 40;
    Glow(cr, cx, s.h - 5, 34, pal::kViolet, 0.7);
    EllipsePath(cr, cx, cy, rx, ry);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 2, cx, cy, ry);
    cairo_pattern_add_color_stop_rgba(g, 0, 0.95, 0.9, 1.0, 0.95);
    cairo_pattern_add_color_stop_rgba(g, 0.35, pal::kViolet.r, pal::kViolet.g, pal::kViolet.b, 0.85);
    cairo_pattern_add_color_stop_rgba(g, 1, pal::kDusk.r, pal::kDusk.g, pal::kDusk.b, 0.75);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Spiral arms
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int arm = 0; arm < 4; ++arm) {
        const double base = t * 2 * kPi + arm * kPi / 2;
        for (int i = 0; i < 14; ++i) {
            const double u0 = i / 14.0, u1 = (i + 1) / 14.0;
            auto pt = [&](double u) {
                const double a = base + u * 3.2;
                const double r = 1 - u;
                return Point{cx + std::cos(a) * rx * r, cy + std::sin(a) * ry * r};
            };
            const Point a = pt(u0), b = pt(u1);
            SetColor(cr, arm % 2 ? pal::kCyan : pal::kPink, 0.75 * (1 - u0 * 0.7));
            cairo_set_line_width(cr, 3.2 * (1 - u0) + 0.6);
            cairo_move_to(cr, a.x, a.y);
            cairo_line_to(cr, b.x, b.y);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
    Ring(cr, cx, cy, rx, ry, 2.2, pal::kCyan, 0.9);
    Glow(cr, cx, cy, 16, pal::kWhite, 0.6 + 0.2 * std::sin(t * 4 * kPi));
    // Motes drawn into the portal
    for (int k = 0; k < 8; ++k) {
        const double p = std::fmod(t * 2 + k / 8.0, 1.0);
        const double a = k * 0.8 + p * 2;
        const double r = 1.25 - p;
        Sparkle(cr, cx + std::cos(a) * rx * r, cy + std::sin(a) * ry * r, 1.8, pal::kCyan, Bump(p, 0, 1));
    }
}

// 命中: a white-gold star burst with streaks, over in four frames.
void HitSpark(cairo_t* cr, double t, const EffectSpec& s) {
    const double cx = s.w / 2.0, cy = s.h / 2.0;
    const double grow = Smooth(t / 0.5), fade = 1 - Smooth((t - 0.3) / 0.7);
    Glow(cr, cx, cy, 20 + 30 * grow, pal::kGold, fade);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    StarPath(cr, cx, cy, 16 + 26 * grow, 5 + 4 * grow, 8, 0.2 + t);
    SetColor(cr, pal::kWhite, 0.9 * fade);
    cairo_fill(cr);
    cairo_restore(cr);
    Dice d(4);
    for (int k = 0; k < 9; ++k) {
        const double a = d.Range(0, 2 * kPi);
        const double r0 = 10 + 28 * grow, len = 10 + d.Range(0, 14) * (1 - t);
        GlowLine(cr, cx + std::cos(a) * r0, cy + std::sin(a) * r0, cx + std::cos(a) * (r0 + len),
                 cy + std::sin(a) * (r0 + len), 2.0, k % 2 ? pal::kOrange : pal::kGold, fade);
    }
    Ring(cr, cx, cy, 14 + 40 * grow, 14 + 40 * grow, 2, pal::kCream, fade * 0.7 * grow);
}

// 光明祈福: golden beams fall on the player under a halo; feathers of light drift down.
void Blessing(cairo_t* cr, double t, const EffectSpec&) {
    const double in = Smooth(t / 0.3), out = 1 - Smooth((t - 0.7) / 0.3), a = in * out;
    for (int k = -2; k <= 2; ++k) {
        const double x = kFeetX + k * 13 + std::sin(t * 6 + k) * 2;
        GlowLine(cr, x + k * 6, 0, x, kFeetY - 10, 3.5 - std::abs(k) * 0.6, pal::kGold, a * (0.55 - std::abs(k) * 0.08));
    }
    Ring(cr, kFeetX, kFeetY - 92 + 4 * std::sin(t * 2 * kPi), 16, 5, 2.2, pal::kGold, a);
    Ring(cr, kFeetX, kFeetY - 2, 32 * in, 9 * in, 1.8, pal::kCream, a);
    Dice d(5);
    for (int k = 0; k < 10; ++k) {
        const double x = kFeetX + d.Range(-34, 34);
        const double p = std::fmod(t + d.Next(), 1.0);
        Sparkle(cr, x + std::sin(p * 6 + k) * 4, 10 + p * (kFeetY - 20), d.Range(2, 3.5), pal::kCream, a * Bump(p, 0, 1));
    }
    Glow(cr, kFeetX, kFeetY - 35, 45, pal::kGold, 0.35 * a);
}

// 毁灭之颂歌: a crimson rune circle erupts in shards of dark fire.
void Doom(cairo_t* cr, double t, const EffectSpec&) {
    const double grow = Smooth(t / 0.4), fade = 1 - Smooth((t - 0.55) / 0.45);
    const double r = 20 + 30 * grow;
    Ring(cr, kFeetX, kFeetY - 3, r, r * 0.3, 2, pal::kRed, fade);
    Ring(cr, kFeetX, kFeetY - 3, r * 0.7, r * 0.21, 1.4, pal::kMagenta, fade);
    for (int k = 0; k < 8; ++k) {  // runes on the ring
        const double a = k * kPi / 4 + t * 2;
        Sparkle(cr, kFeetX + std::cos(a) * r * 0.85, kFeetY - 3 + std::sin(a) * r * 0.85 * 0.3, 2.5, pal::kRed, fade);
    }
    Dice d(6);
    for (int k = 0; k < 9; ++k) {  // spikes of fire
        const double x = kFeetX + d.Range(-1, 1) * r * 0.9;
        const double h = (40 + d.Range(0, 60)) * Bump(t, d.Range(0, 0.15), d.Range(0.6, 1.0));
        GlowLine(cr, x, kFeetY - 4, x + d.Range(-6, 6), kFeetY - 4 - h, 4, k % 2 ? pal::kMagenta : pal::kRed, fade);
    }
    Glow(cr, kFeetX, kFeetY - 30, 50 * grow, pal::kRed, 0.45 * fade);
}

// 远程魔法1: a thrown violet orb with a sparkling shell.
void Orb(cairo_t* cr, double t, const EffectSpec& s) {
    const double cx = s.w / 2.0, cy = s.h / 2.0;
    const double pulse = 0.5 + 0.5 * std::sin(t * 2 * kPi);
    Glow(cr, cx, cy, 24 + 4 * pulse, pal::kMagenta, 0.9);
    Glow(cr, cx, cy, 10 + 2 * pulse, pal::kWhite, 0.9);
    for (int k = 0; k < 5; ++k) {
        const double a = t * 2 * kPi + k * 2 * kPi / 5;
        Sparkle(cr, cx + std::cos(a) * 16, cy + std::sin(a) * 16, 2.2, pal::kPink, 0.9);
    }
}

// A jagged bolt from (x0, y0) to (x1, y1).
void Bolt(cairo_t* cr, Dice& d, double x0, double y0, double x1, double y1, double width, double a, int depth) {
    const int segs = 7;
    double px = x0, py = y0;
    for (int i = 1; i <= segs; ++i) {
        const double u = static_cast<double>(i) / segs;
        double x = x0 + (x1 - x0) * u, y = y0 + (y1 - y0) * u;
        if (i < segs) x += d.Range(-9, 9);
        GlowLine(cr, px, py, x, y, width, pal::kCyan, a);
        if (depth > 0 && i == 3) Bolt(cr, d, x, y, x + d.Range(-35, 35), y + d.Range(25, 45), width * 0.5, a * 0.8, 0);
        px = x;
        py = y;
    }
}

// 闪电: a bolt strikes the player twice and leaves sparks.
void Thunder(cairo_t* cr, double t, const EffectSpec& s) {
    const int frame = static_cast<int>(std::lround(t * 7));
    const double hitY = s.h - 10 - 60;
    const double strike[8] = {0.25, 1.0, 0.8, 0.3, 0.95, 0.0, 0.0, 0.0};
    const double glow[8] = {0.1, 0.9, 0.8, 0.5, 0.9, 0.6, 0.3, 0.0};
    Dice d(16 + (frame == 4 ? 7 : frame));
    if (strike[frame] > 0) Bolt(cr, d, kFeetX + d.Range(-10, 10), 0, kFeetX, hitY, 3.5, strike[frame], 1);
    Glow(cr, kFeetX, hitY, 40, pal::kCyan, glow[frame]);
    Glow(cr, kFeetX, hitY, 16, pal::kWhite, glow[frame]);
    Dice sp(99);
    for (int k = 0; k < 8 && frame >= 2; ++k) {
        const double a = sp.Range(0, 2 * kPi), r = 8 + (frame - 1) * 7 * sp.Range(0.6, 1.2);
        Sparkle(cr, kFeetX + std::cos(a) * r, hitY + std::sin(a) * r * 0.7, 2.2, pal::kCyan, 1 - (frame - 2) / 6.0);
    }
}

// 蓝光魔法: rings of blue light rise from the feet, with streaks and motes.
void BlueLight(cairo_t* cr, double t, const EffectSpec&) {
    const double a = Smooth(t / 0.15) * (1 - Smooth((t - 0.75) / 0.25));
    for (int k = 0; k < 4; ++k) {
        const double p = std::fmod(t * 2 + k / 4.0, 1.0);
        Ring(cr, kFeetX, kFeetY - 4 - p * 95, 34 - p * 14, 9 - p * 4, 2, pal::kBlue, a * Bump(p, 0, 1));
    }
    Dice d(17);
    for (int k = 0; k < 7; ++k) {
        const double x = kFeetX + d.Range(-28, 28), p = std::fmod(t * 1.5 + d.Next(), 1.0);
        const double y = kFeetY - 10 - p * 100;
        GlowLine(cr, x, y, x, y - 18, 1.6, pal::kCyan, a * Bump(p, 0, 1));
    }
    Glow(cr, kFeetX, kFeetY - 35, 48, pal::kBlue, 0.45 * a);
    Glow(cr, kFeetX, kFeetY - 4, 26, pal::kCyan, 0.6 * a);
}

void Bubble(cairo_t* cr, double x, double y, double r, Rgb c, double a) {
    if (a <= 0.01) return;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    EllipsePath(cr, x, y, r, r);
    SetColor(cr, c, 0.25 * a);
    cairo_fill_preserve(cr);
    SetColor(cr, Lighter(c, 0.3), 0.9 * a);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    EllipsePath(cr, x - r * 0.35, y - r * 0.4, r * 0.25, r * 0.18);
    SetColor(cr, pal::kWhite, 0.9 * a);
    cairo_fill(cr);
    cairo_restore(cr);
}

// 绿色泡泡: bubbles wobble up around the player and pop at the top.
void GreenBubbles(cairo_t* cr, double t, const EffectSpec&) {
    Dice d(18);
    for (int k = 0; k < 14; ++k) {
        const double x0 = kFeetX + d.Range(-32, 32), r = d.Range(3, 7.5), off = d.Next();
        const double p = std::fmod(t + off, 1.0);
        const double x = x0 + std::sin(p * 9 + k) * 4, y = kFeetY - 4 - p * 115;
        if (p < 0.88) {
            Bubble(cr, x, y, r * (0.6 + 0.4 * Smooth(p / 0.2)), pal::kToxic, 1);
        } else {  // pop: a short ring of droplets
            const double q = (p - 0.88) / 0.12;
            for (int i = 0; i < 6; ++i) {
                const double a = i * kPi / 3;
                Sparkle(cr, x + std::cos(a) * r * (1 + q), y + std::sin(a) * r * (1 + q), 1.5, pal::kToxic, 1 - q);
            }
        }
    }
    Glow(cr, kFeetX, kFeetY - 4, 30, pal::kToxic, 0.35);
}

// 中毒: sickly bubbles and drips over the head while the poison lasts.
void Poison(cairo_t* cr, double t, const EffectSpec&) {
    const double headY = kFeetY - 70;
    for (int k = 0; k < 7; ++k) {
        const double p = std::fmod(t + k / 7.0, 1.0);
        const double x = kFeetX - 18 + k * 6 + std::sin(p * 7 + k) * 3;
        const Rgb c = k % 3 == 1 ? pal::kMagenta : pal::kToxic;
        Glow(cr, x, headY - 4 - p * 32, 7, c, 0.5 * Bump(p, 0, 1));
        Bubble(cr, x, headY - 4 - p * 32, 3 + 2.5 * Bump(p, 0, 1.2), c, Bump(p, 0, 1));
    }
    for (int k = 0; k < 3; ++k) {  // drips down the body
        const double p = std::fmod(t * 1.0 + k / 3.0, 1.0);
        const double x = kFeetX - 10 + k * 10, y = headY + 20 + p * 40;
        Glow(cr, x, y, 4, pal::kToxic, Bump(p, 0, 1));
    }
    Glow(cr, kFeetX, kFeetY - 40, 40, pal::kToxic, 0.4 + 0.15 * std::sin(t * 2 * kPi));
}

// 诅咒: a violet sigil turns above the head and wisps coil around the body.
void Curse(cairo_t* cr, double t, const EffectSpec&) {
    const double cx = kFeetX, cy = kFeetY - 86;
    const double spin = t * 2 * kPi;
    Ring(cr, cx, cy, 18, 5.5, 1.6, pal::kMagenta, 0.85);
    for (int k = 0; k < 6; ++k) {
        const double a = spin + k * kPi / 3;
        const double x = cx + std::cos(a) * 18, y = cy + std::sin(a) * 5.5;
        Sparkle(cr, x, y, 2.2 + (std::sin(a) + 1), pal::kViolet, 0.6 + 0.4 * std::sin(a));
    }
    for (int w = 0; w < 2; ++w) {  // two wisps winding down the figure
        for (int i = 0; i < 18; ++i) {
            const double u = i / 18.0;
            const double a = spin * (w ? -1 : 1) + u * 7 + w * kPi;
            const double x = kFeetX + std::cos(a) * (20 - u * 4), y = cy + 12 + u * 70 + std::sin(a) * 4;
            Glow(cr, x, y, 3.5 + 2 * (1 - u), w ? pal::kMagenta : pal::kViolet, 0.55 * (1 - u * 0.5));
        }
    }
}

}  // namespace

void GenerateMagicEffects(Output& out) {
    WriteEffect(out, OnPlayer("特效1", 20, 120, 160, kFeetX, kFeetY, true), Aura);
    WriteEffect(out, OnPlayer("特效2", 9, 120, 160, kFeetX, kFeetY, false), LevelUp);
    WriteEffect(out, EffectSpec{"传送门", 16, 72, 92, 0, 0, true}, Portal);
    WriteEffect(out, EffectSpec{"命中", 4, 119, 119, 0, 0, false}, HitSpark);
    WriteEffect(out, OnPlayer("光明祈福", 11, 120, 160, kFeetX, kFeetY, false), Blessing);
    WriteEffect(out, OnPlayer("毁灭之颂歌", 9, 120, 160, kFeetX, kFeetY, false), Doom);
    WriteEffect(out, EffectSpec{"远程魔法1", 5, 64, 64, 32, -32, true}, Orb);
    WriteEffect(out, OnPlayer("闪电", 7, 120, 200, kFeetX, 190, false), Thunder);
    WriteEffect(out, OnPlayer("蓝光魔法", 14, 120, 160, kFeetX, kFeetY, false), BlueLight);
    WriteEffect(out, OnPlayer("绿色泡泡", 15, 120, 160, kFeetX, kFeetY, true), GreenBubbles);
    WriteEffect(out, OnPlayer("中毒", 10, 120, 160, kFeetX, kFeetY, true), Poison);
    WriteEffect(out, OnPlayer("诅咒", 20, 120, 160, kFeetX, kFeetY, true), Curse);
}

}  // namespace contentgen
