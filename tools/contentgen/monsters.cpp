// The three monsters: a stray dog (walker), a tree spirit (caster) and the
// winged boar king (flyer). Every figure faces left; the game mirrors it
// when it moves right. Each picture holds the monster's box with a margin;
// the info offsets put the box's top-right corner on the game's anchor, so
// the box is the same in every frame, mirrored or not. Also the monster
// health bar's fill and frame.

#include "generate.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace contentgen {

namespace {

struct Body {
    const char* folder;
    int width, height;  // the monster's box (the monster table's size)
    int margin;         // room around the box for lunges and sparks
};

// Pose of one frame: t the phase in [0, 1), plus what the state adds.
struct Pose {
    double t = 0;
    double bob = 0;      // vertical bounce in px
    double lean = 0;     // forward (left) shift in px
    double legSwing = 0; // -1..1 stride
    double mouth = 0;    // 0 closed .. 1 wide
    double glow = 0;     // 0..1 attack charge
    Rgb glowColour = pal::kViolet;
    double flash = 0;    // 0..1 hurt whitening
    double fall = 0;     // 0..1 death tilt
    double alpha = 1;
};

using Painter = std::function<void(cairo_t*, const Body&, const Pose&, double boxLeft, double boxTop)>;

void WriteState(Output& out, const Body& b, const char* state, int frames, const Painter& paint,
                const std::function<Pose(double)>& pose) {
    const int w = b.width + 2 * b.margin, h = b.height + b.margin + 6;
    const std::string folder = std::string("怪物/") + b.folder + "/" + state;
    for (int i = 0; i < frames; ++i) {
        Canvas c(w, h);
        Pose p = pose(static_cast<double>(i) / frames);
        cairo_t* cr = c.cr();
        const double left = b.margin, top = b.margin;
        cairo_save(cr);
        if (p.fall > 0) {
            // Topple backwards around the hind foot.
            const double px = left + b.width, py = top + b.height;
            cairo_translate(cr, px, py);
            cairo_rotate(cr, Rad(70 * p.fall));
            cairo_translate(cr, -px, -py);
        }
        paint(cr, b, p, left, top);
        cairo_restore(cr);
        if (p.flash > 0) {
            cairo_save(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.55 * p.flash);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        if (p.alpha < 1) c.Fade(p.alpha);
        out.Frame(folder, i, c, left + b.width, -top);
    }
}

void Shadow(cairo_t* cr, double cx, double y, double rx) {
    EllipsePath(cr, cx, y, rx, 4);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.18);
    cairo_fill(cr);
}

void Eye(cairo_t* cr, double x, double y, double r, Rgb iris) {
    EllipsePath(cr, x, y, r, r * 1.1);
    FlatFill(cr, pal::kWhite, 1, 1.2);
    EllipsePath(cr, x - r * 0.3, y, r * 0.55, r * 0.65);
    SetColor(cr, iris);
    cairo_fill(cr);
    EllipsePath(cr, x - r * 0.45, y - r * 0.35, r * 0.2, r * 0.2);
    SetColor(cr, pal::kWhite);
    cairo_fill(cr);
}

// ---- 野狗: a scruffy ochre dog with a dark muzzle.
void PaintDog(cairo_t* cr, const Body& b, const Pose& p, double L, double T) {
    const Rgb fur = Hex(0xB9844A), dark = Hex(0x6E4A2B);
    const double W = b.width, H = b.height, ground = T + H;
    Shadow(cr, L + W / 2, ground, W * 0.45);
    const double by = T + H * 0.42 + p.bob, bx = L + W * 0.55 - p.lean;
    // Legs: front pair and back pair swing opposite.
    for (int k = 0; k < 4; ++k) {
        const double base = k < 2 ? bx - W * 0.25 : bx + W * 0.25;
        const double swing = (k % 2 ? 1 : -1) * (k < 2 ? 1 : -1) * p.legSwing * 7;
        CapsulePath(cr, base + (k % 2) * 5, by + 8, base + (k % 2) * 5 + swing, ground - 3, 7);
        ShadedFill(cr, k % 2 ? fur : Darker(fur, 0.15));
    }
    // Tail.
    CapsulePath(cr, bx + W * 0.36, by - 2, bx + W * 0.48, by - 12 - 4 * std::sin(p.t * 2 * kPi * 2), 6);
    ShadedFill(cr, fur);
    EllipsePath(cr, bx, by, W * 0.36, H * 0.25);
    ShadedFill(cr, fur);
    // Head, thrust forward with the bite.
    const double hx = bx - W * 0.38 - p.lean * 0.3, hy = by - H * 0.2;
    EllipsePath(cr, hx + 10, hy - 12, 6, 9);  // ear
    ShadedFill(cr, dark);
    EllipsePath(cr, hx, hy, 15, 13);
    ShadedFill(cr, fur);
    // Muzzle with an opening jaw.
    cairo_save(cr);
    cairo_translate(cr, hx - 12, hy + 3);
    cairo_rotate(cr, Rad(-25 * p.mouth));
    RoundedRectPath(cr, -10, -5, 14, 8, 3);
    ShadedFill(cr, Mix(fur, dark, 0.5));
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, hx - 12, hy + 6);
    cairo_rotate(cr, Rad(25 * p.mouth));
    RoundedRectPath(cr, -9, -1, 12, 5, 2);
    ShadedFill(cr, Mix(fur, dark, 0.6));
    cairo_restore(cr);
    EllipsePath(cr, hx - 21, hy + 1, 3, 2.5);  // nose
    SetColor(cr, pal::kInk);
    cairo_fill(cr);
    Eye(cr, hx - 3, hy - 3, 3.5, pal::kInk);
}

// ---- 树妖: a walking sapling with a leafy crown and a violet heart.
void PaintTree(cairo_t* cr, const Body& b, const Pose& p, double L, double T) {
    const Rgb bark = Hex(0x7A5233), leaf = pal::kLeaf;
    const double W = b.width, H = b.height, ground = T + H;
    const double cx = L + W / 2 - p.lean;
    Shadow(cr, cx, ground, W * 0.4);
    // Root legs.
    for (int k = 0; k < 2; ++k) {
        const double s = (k ? 1 : -1) * p.legSwing * 6;
        CapsulePath(cr, cx - 8 + 16 * k, ground - 24, cx - 10 + 20 * k + s, ground - 3, 7);
        ShadedFill(cr, Darker(bark, 0.1 * k));
    }
    // Trunk.
    cairo_move_to(cr, cx - 13, ground - 20 + p.bob);
    cairo_curve_to(cr, cx - 16, T + H * 0.5, cx - 9, T + H * 0.35, cx - 8, T + H * 0.3 + p.bob);
    cairo_line_to(cr, cx + 8, T + H * 0.3 + p.bob);
    cairo_curve_to(cr, cx + 9, T + H * 0.35, cx + 16, T + H * 0.5, cx + 13, ground - 20 + p.bob);
    cairo_close_path(cr);
    ShadedFill(cr, bark);
    // Branch arms, raised while casting.
    for (int k = 0; k < 2; ++k) {
        const double side = k ? 1 : -1;
        const double raise = 18 * p.glow;
        CapsulePath(cr, cx + side * 9, T + H * 0.5 + p.bob, cx + side * 22 - 4, T + H * 0.42 - raise + p.bob, 5);
        ShadedFill(cr, bark);
    }
    // Crown.
    const double crownY = T + H * 0.24 + p.bob;
    for (int k = 0; k < 5; ++k) {
        const double a = Rad(200 + k * 35);
        EllipsePath(cr, cx + std::cos(a) * 14, crownY + std::sin(a) * 10, 14, 12);
        ShadedFill(cr, k % 2 ? leaf : Darker(leaf, 0.12));
    }
    EllipsePath(cr, cx, crownY + 2, 20, 14);
    ShadedFill(cr, Lighter(leaf, 0.1));
    // Face on the trunk.
    Eye(cr, cx - 7, T + H * 0.45 + p.bob, 3.2, pal::kInk);
    Eye(cr, cx + 4, T + H * 0.45 + p.bob, 3.2, pal::kInk);
    EllipsePath(cr, cx - 2, T + H * 0.56 + p.bob, 4, 1.5 + 3 * p.mouth);
    SetColor(cr, pal::kInk);
    cairo_fill(cr);
    if (p.glow > 0) {
        Glow(cr, cx - 18, T + H * 0.34 + p.bob - 18 * p.glow, 10 + 10 * p.glow, p.glowColour, p.glow);
        Glow(cr, cx + 18, T + H * 0.34 + p.bob - 18 * p.glow, 8 + 8 * p.glow, p.glowColour, 0.7 * p.glow);
    }
}

// ---- 野猪王: a crowned boar on bat wings, tusks up.
void PaintBoar(cairo_t* cr, const Body& b, const Pose& p, double L, double T) {
    const Rgb hide = Hex(0x7B5B8C), belly = Hex(0xB79BC0), wing = pal::kDusk;
    const double W = b.width, H = b.height;
    const double cx = L + W * 0.55 - p.lean, cy = T + H * 0.55 + p.bob;
    // Wings beat with the phase.
    const double beat = std::sin(p.t * 2 * kPi * 2);
    for (int k = 0; k < 2; ++k) {
        const double lift = (k ? 0.8 : 1.0) * (28 + 18 * beat);
        cairo_move_to(cr, cx + 6 - k * 10, cy - 14);
        cairo_curve_to(cr, cx + 20 - k * 12, cy - 14 - lift, cx + 48 - k * 10, cy - 10 - lift, cx + 52 - k * 14,
                       cy - 4 - lift * 0.4);
        cairo_curve_to(cr, cx + 38 - k * 10, cy - 6, cx + 26 - k * 10, cy, cx + 10 - k * 10, cy - 6);
        cairo_close_path(cr);
        ShadedFill(cr, k ? Darker(wing, 0.15) : wing);
    }
    EllipsePath(cr, cx, cy, W * 0.34, H * 0.28);
    ShadedFill(cr, hide);
    EllipsePath(cr, cx - 4, cy + 8, W * 0.22, H * 0.12);
    FlatFill(cr, belly, 0.9, 0);
    // Dangling legs.
    for (int k = 0; k < 4; ++k) {
        CapsulePath(cr, cx - 22 + k * 14, cy + 14, cx - 24 + k * 14 + 3 * beat, cy + 30, 7);
        ShadedFill(cr, Darker(hide, 0.1 * (k % 2)));
    }
    // Head and snout.
    const double hx = cx - W * 0.3, hy = cy - 6;
    EllipsePath(cr, hx, hy, 22, 19);
    ShadedFill(cr, hide);
    RoundedRectPath(cr, hx - 32, hy - 2 - 4 * p.mouth, 18, 16, 7);
    ShadedFill(cr, Lighter(hide, 0.25));
    EllipsePath(cr, hx - 27, hy + 5, 2, 3);
    SetColor(cr, pal::kInk);
    cairo_fill(cr);
    // Tusks.
    cairo_move_to(cr, hx - 16, hy + 10);
    cairo_curve_to(cr, hx - 24, hy + 10, hx - 30, hy, hx - 28, hy - 8 - 4 * p.mouth);
    cairo_line_to(cr, hx - 22, hy + 6);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kCream, 1, 1.5);
    Eye(cr, hx - 6, hy - 6, 4, pal::kRed);
    // Crown.
    cairo_move_to(cr, hx - 8, hy - 17);
    cairo_line_to(cr, hx - 6, hy - 30);
    cairo_line_to(cr, hx + 1, hy - 22);
    cairo_line_to(cr, hx + 6, hy - 32);
    cairo_line_to(cr, hx + 10, hy - 21);
    cairo_line_to(cr, hx + 14, hy - 28);
    cairo_line_to(cr, hx + 14, hy - 15);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kGold, 1, 1.5);
    if (p.glow > 0) Glow(cr, hx - 30, hy - 10, 14 + 14 * p.glow, p.glowColour, p.glow);
}

Pose Idle(double t) {
    Pose p;
    p.t = t;
    p.bob = 1.5 * std::sin(t * 2 * kPi);
    return p;
}
Pose Walk(double t, double stride) {
    Pose p;
    p.t = t;
    p.legSwing = std::sin(t * 2 * kPi);
    p.bob = -std::fabs(std::sin(t * 2 * kPi)) * stride;
    return p;
}
// Anticipation, strike, follow-through.
Pose Attack(double t, Rgb glowColour) {
    Pose p;
    p.t = t;
    p.lean = t < 0.3 ? -4 * t / 0.3 : t < 0.6 ? -4 + 16 * (t - 0.3) / 0.3 : 12 * (1 - (t - 0.6) / 0.4);
    p.mouth = t < 0.3 ? 0.2 : t < 0.7 ? 1.0 : 0.3;
    p.glow = std::sin(std::min(1.0, t / 0.8) * kPi * 0.5);
    p.glowColour = glowColour;
    return p;
}
Pose Hurt(double t) {
    Pose p;
    p.t = t;
    p.lean = -6 * (1 - t);
    p.flash = 1 - t;
    p.mouth = 0.6;
    return p;
}
Pose Death(double t) {
    Pose p;
    p.t = t;
    p.fall = std::min(1.0, t * 1.6);
    p.alpha = 1 - 0.6 * std::max(0.0, t - 0.4) / 0.6;
    p.flash = 0.3 * (1 - t);
    return p;
}

void WriteMonster(Output& out, const Body& b, const Painter& paint, bool flyer) {
    const double stride = flyer ? 0 : 3;
    WriteState(out, b, "原地", 4, paint, Idle);
    WriteState(out, b, "走动_慢", 6, paint, [&](double t) { return Walk(t, stride); });
    WriteState(out, b, "走动_快", 6, paint, [&](double t) { return Walk(t, stride * 1.5); });
    WriteState(out, b, "攻击", 6, paint, [&](double t) { return Attack(t, flyer ? pal::kCyan : pal::kViolet); });
    WriteState(out, b, "被攻击", 3, paint, Hurt);
    WriteState(out, b, "死亡", 6, paint, Death);
    if (flyer) {
        WriteState(out, b, "攻击2", 6, paint, [](double t) { return Attack(t, pal::kToxic); });
        WriteState(out, b, "攻击3", 6, paint, [](double t) { return Attack(t, pal::kBlue); });
    }
}

void HealthBar(Output& out) {
    Canvas frame(85, 7), fill(85, 7);
    RoundedRectPath(frame.cr(), 0.5, 0.5, 84, 6, 2.5);
    FlatFill(frame.cr(), pal::kNight, 0.85, 1);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 7);
    cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.45, 0.4);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.75, 0.1, 0.1);
    cairo_rectangle(fill.cr(), 1, 1, 83, 5);
    cairo_set_source(fill.cr(), g);
    cairo_fill(fill.cr());
    cairo_pattern_destroy(g);
    out.Png("其它/怪物进度条背景.png", frame);
    out.Png("其它/怪物进度条前景.png", fill);
}

}  // namespace

void GenerateMonsters(Output& out) {
    WriteMonster(out, Body{"野狗", 70, 50, 24}, PaintDog, false);
    WriteMonster(out, Body{"树妖", 60, 90, 24}, PaintTree, false);
    WriteMonster(out, Body{"野猪王", 120, 90, 30}, PaintBoar, true);
    HealthBar(out);
}

}  // namespace contentgen
