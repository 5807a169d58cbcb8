// Skies, the far and near parallax layers, clouds and the foreground pieces
// of the top layer. The layers fade toward the sky colour with distance and
// tile left to right: every ridge is a sum of waves whose periods divide the
// picture's width.

#include "effects.h"
#include "map_art.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace contentgen {
namespace {

// A closed path under the curve y = f(x) from x = 0 to w, down to the bottom.
void RidgePath(cairo_t* cr, int w, int h, const std::function<double(double)>& f) {
    cairo_move_to(cr, 0, h + 2);
    for (int x = 0; x <= w; x += 2) cairo_line_to(cr, x, f(x));
    cairo_line_to(cr, w, h + 2);
    cairo_close_path(cr);
}

// A vertical gradient fill of the current path.
void VerticalFill(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1.0) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(g, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(g, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// Draws `draw` three times, shifted by -w, 0 and +w, so shapes that cross
// one edge of a tiling picture come back in at the other.
void Wrapped(cairo_t* cr, int w, const std::function<void()>& draw) {
    for (int k = -1; k <= 1; ++k) {
        cairo_save(cr);
        cairo_translate(cr, k * w, 0);
        draw();
        cairo_restore(cr);
    }
}

double Wave(double x, double period, double phase) { return std::sin(2 * kPi * x / period + phase); }
// Pointed peaks, rounded valleys: 1 at the peaks, 0 in the valleys.
double Peaks(double x, double period, double phase) { return 1.0 - std::fabs(std::sin(kPi * x / period + phase)); }

// The town sky: pale blue at the top warming to cream at the horizon, a sun
// with a soft halo, and a few faint streaks of high cloud.
void TownSky(Output& out) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, 0, 800, 600);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 600);
    const Rgb top = Mix(pal::kSky, pal::kBlue, 0.18), mid = pal::kSky, low = Mix(pal::kSky, pal::kCream, 0.75);
    cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(g, 0.55, mid.r, mid.g, mid.b);
    cairo_pattern_add_color_stop_rgb(g, 1, low.r, low.g, low.b);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Glow(cr, 620, 110, 170, Mix(pal::kGold, pal::kCream, 0.5), 0.45);
    EllipsePath(cr, 620, 110, 38, 38);
    FlatFill(cr, Mix(pal::kGold, pal::kCream, 0.45), 1.0, 0);
    EllipsePath(cr, 612, 102, 24, 24);
    FlatFill(cr, Lighter(pal::kCream, 0.5), 0.55, 0);
    for (int i = 0; i < 4; ++i) {
        const double y = 190 + i * 38, x = 60 + i * 170;
        RoundedRectPath(cr, x, y, 180 + i * 30, 7, 3.5);
        FlatFill(cr, pal::kWhite, 0.28, 0);
    }
    out.Png("map/48.png", c);
}

// Far mountains (third background): two ridges of blue-violet peaks with
// snow caps, the farther one almost sky.
void FarHills(Output& out) {
    const int w = 800, h = 320;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const Rgb sky = Mix(pal::kSky, pal::kCream, 0.5);
    for (int ridge = 0; ridge < 2; ++ridge) {
        const double base = ridge == 0 ? 150 : 205, amp = ridge == 0 ? 120 : 95;
        const double ph = ridge * 1.3;
        auto f = [&](double x) {
            return base - amp * (0.55 * Peaks(x, 400, ph) + 0.3 * Peaks(x, 800.0 / 3, ph + 0.7) +
                                 0.15 * Peaks(x, 160, ph * 2));
        };
        const Rgb body = Mix(Mix(pal::kBlue, pal::kViolet, 0.35), sky, ridge == 0 ? 0.78 : 0.62);
        RidgePath(cr, w, h, f);
        VerticalFill(cr, base - amp, h, body, Mix(body, sky, 0.5));
        // Snow on the highest parts, clipped to the ridge.
        cairo_save(cr);
        RidgePath(cr, w, h, f);
        cairo_clip(cr);
        RidgePath(cr, w, h, [&](double x) { return f(x) + 22; });
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr);
        cairo_rectangle(cr, 0, 0, w, base - amp * 0.55);
        SetColor(cr, Lighter(body, 0.7), 0.85);
        cairo_fill(cr);
        cairo_restore(cr);
        // Light side of each peak: a soft stripe down from the ridge line.
        cairo_save(cr);
        RidgePath(cr, w, h, f);
        cairo_clip(cr);
        for (int x = 0; x < w; x += 2) {
            const double slope = f(x + 1) - f(x - 1);
            if (slope > 0) continue;  // the ridge falls to the right: in shade
            cairo_rectangle(cr, x, f(x), 2, 60);
            SetColor(cr, pal::kWhite, 0.08);
            cairo_fill(cr);
        }
        cairo_restore(cr);
    }
    out.Png("map/far_hills.png", c);
}

// A round tree silhouette made of overlapping puffs.
void PuffTree(cairo_t* cr, double x, double groundY, double size, Rgb leaf, Rgb trunk, double alpha) {
    cairo_rectangle(cr, x - size * 0.08, groundY - size * 0.9, size * 0.16, size * 0.9);
    FlatFill(cr, trunk, alpha, 0);
    const double cy = groundY - size * 1.05;
    EllipsePath(cr, x - size * 0.32, cy + size * 0.12, size * 0.36, size * 0.3);
    EllipsePath(cr, x + size * 0.3, cy + size * 0.1, size * 0.38, size * 0.32);
    EllipsePath(cr, x, cy - size * 0.12, size * 0.45, size * 0.4);
    FlatFill(cr, leaf, alpha, 0);
    EllipsePath(cr, x - size * 0.14, cy - size * 0.24, size * 0.2, size * 0.14);
    FlatFill(cr, Lighter(leaf, 0.25), alpha * 0.8, 0);
}

// Near hills (second background): rolling green hills with tree clumps and
// a few far cottages, paler than anything the player stands on.
void NearHills(Output& out) {
    const int w = 800, h = 260;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const Rgb sky = Mix(pal::kSky, pal::kCream, 0.5);
    const Rgb hill = Mix(pal::kLeaf, sky, 0.52), hill2 = Mix(pal::kGrass, sky, 0.42);
    auto back = [&](double x) { return 120 - 40 * Wave(x, 800, 0.4) - 18 * Wave(x, 400, 2.1) - 8 * Wave(x, 200, 1); };
    auto front = [&](double x) { return 175 - 30 * Wave(x, 800, 2.6) - 14 * Wave(x, 800.0 / 3, 0.3); };
    RidgePath(cr, w, h, back);
    VerticalFill(cr, 60, h, Mix(hill, sky, 0.25), hill);
    // Tree clumps on the back hills, at fixed spots so the picture tiles.
    Wrapped(cr, w, [&]() {
        Dice dice(11);
        for (int i = 0; i < 9; ++i) {
            const double x = 40 + i * 88 + dice.Range(-20, 20);
            PuffTree(cr, x, back(x) + 10, dice.Range(26, 40), Mix(pal::kLeaf, sky, 0.38), Mix(pal::kWood, sky, 0.45), 1.0);
        }
    });
    // Two far cottages.
    for (double x : {230.0, 610.0}) {
        const double y = back(x) + 6;
        cairo_rectangle(cr, x - 14, y - 18, 28, 18);
        FlatFill(cr, Mix(pal::kCream, sky, 0.35), 1.0, 0);
        cairo_move_to(cr, x - 18, y - 17);
        cairo_line_to(cr, x, y - 32);
        cairo_line_to(cr, x + 18, y - 17);
        cairo_close_path(cr);
        FlatFill(cr, Mix(pal::kRed, sky, 0.5), 1.0, 0);
    }
    RidgePath(cr, w, h, front);
    VerticalFill(cr, 130, h, hill2, Mix(hill2, hill, 0.6));
    // Hedgerows: soft darker lines across the front hills.
    for (int row = 0; row < 2; ++row) {
        cairo_move_to(cr, 0, front(0) + 24 + row * 30);
        for (int x = 0; x <= w; x += 4) cairo_line_to(cr, x, front(x) + 24 + row * 30 + 4 * Wave(x, 100, row));
        SetColor(cr, Mix(hill, pal::kLeaf, 0.3), 0.5);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
    }
    out.Png("map/near_hills.png", c);
}

// A cloud of overlapping puffs, white with a cool underside.
void Cloud(Output& out, const char* name, int w, int h, std::uint32_t seed) {
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const int puffs = 5 + w / 60;
    auto path = [&]() {
        Dice d(seed);
        for (int i = 0; i < puffs; ++i) {
            const double u = (i + 0.5) / puffs;
            const double r = h * (0.22 + 0.22 * std::sin(u * kPi)) * d.Range(0.85, 1.1);
            EllipsePath(cr, w * (0.12 + 0.76 * u), h * 0.62 - r * 0.45, r * 1.2, r);
        }
        RoundedRectPath(cr, w * 0.08, h * 0.5, w * 0.84, h * 0.32, h * 0.16);
    };
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    path();
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    const Rgb under = Mix(pal::kSky, pal::kMist, 0.4);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.95);
    cairo_pattern_add_color_stop_rgba(g, 0.6, 0.98, 0.98, 1, 0.92);
    cairo_pattern_add_color_stop_rgba(g, 1, under.r, under.g, under.b, 0.9);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    out.Png(std::string("map/") + name + ".png", c);
}

// Foreground grass for the top layer: tall blades and a few flower heads,
// darker than the ground so they read as close to the eye.
void ForegroundGrass(Output& out) {
    const int w = 256, h = 80;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    Wrapped(cr, w, [&]() {
        Dice dice(5);
        for (int i = 0; i < 46; ++i) {
            const double x = dice.Range(4, w - 4), tall = dice.Range(30, 74), lean = dice.Range(-14, 14);
            cairo_move_to(cr, x - 4, h);
            cairo_curve_to(cr, x - 2, h - tall * 0.5, x + lean * 0.5, h - tall * 0.8, x + lean, h - tall);
            cairo_curve_to(cr, x + lean * 0.4 + 2, h - tall * 0.7, x + 3, h - tall * 0.4, x + 4, h);
            cairo_close_path(cr);
            FlatFill(cr, Mix(pal::kLeaf, pal::kInk, dice.Range(0.15, 0.35)), 1.0, 0);
        }
    });
    Dice dice(6);
    for (int i = 0; i < 4; ++i) {
        const double x = 30 + i * 60 + dice.Range(-10, 10), y = h - dice.Range(40, 60);
        EllipsePath(cr, x, y, 5, 5);
        FlatFill(cr, i % 2 ? pal::kPink : pal::kGold, 1.0, 1.2);
    }
    out.Png("map/fg_grass.png", c);
}

// Leaves hanging from above into the forest path (top layer).
void ForegroundLeaves(Output& out) {
    const int w = 320, h = 120;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    Dice dice(21);
    const Rgb leaf = Mix(pal::kLeaf, pal::kInk, 0.3);
    for (int v = 0; v < 7; ++v) {
        const double x0 = 20 + v * 45 + dice.Range(-10, 10), len = dice.Range(50, 110);
        cairo_move_to(cr, x0, 0);
        cairo_curve_to(cr, x0 + 8, len * 0.4, x0 - 8, len * 0.7, x0 + 3, len);
        SetColor(cr, Darker(pal::kWood, 0.2));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        for (double t = 0.1; t < 1.0; t += 0.16) {
            const double y = len * t, x = x0 + 6 * std::sin(t * 5), side = (static_cast<int>(t * 20) % 2) ? 1 : -1;
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, side * 0.9 + dice.Range(-0.2, 0.2));
            EllipsePath(cr, 0, 9, 5.5, 10);
            ShadedFill(cr, Mix(leaf, pal::kGrass, dice.Range(0, 0.3)), 1.0, 1.5);
            cairo_restore(cr);
        }
    }
    // A canopy edge along the top.
    for (int x = -10; x < w + 20; x += 26) {
        EllipsePath(cr, x, 4, 22, 16 + 6 * Wave(x, 80, 0));
        FlatFill(cr, leaf, 1.0, 0);
    }
    out.Png("map/fg_leaves.png", c);
}

// The forest sky: a green-gold canopy light with slanting rays.
void ForestSky(Output& out) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, 0, 800, 600);
    VerticalFill(cr, 0, 600, Mix(pal::kSky, pal::kLeaf, 0.35), Mix(pal::kCream, pal::kGrass, 0.3));
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    for (int i = 0; i < 5; ++i) {
        const double x = 120 + i * 150;
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x + 60, 0);
        cairo_line_to(cr, x - 90, 600);
        cairo_line_to(cr, x - 210, 600);
        cairo_close_path(cr);
        SetColor(cr, pal::kCream, 0.09);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    out.Png("map/forest_sky.png", c);
}

// A conifer silhouette: stacked triangles on a short trunk.
void Conifer(cairo_t* cr, double x, double groundY, double height, Rgb col) {
    const double wBase = height * 0.42;
    for (int tier = 0; tier < 3; ++tier) {
        const double top = groundY - height + tier * height * 0.24, bottom = groundY - height * 0.1 - (2 - tier) * height * 0.12;
        const double half = wBase * (0.55 + tier * 0.22) / 2;
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + half, bottom);
        cairo_line_to(cr, x - half, bottom);
        cairo_close_path(cr);
    }
    cairo_rectangle(cr, x - height * 0.03, groundY - height * 0.12, height * 0.06, height * 0.12);
    FlatFill(cr, col, 1.0, 0);
}

// Far forest (third background): two rows of pale conifers.
void ForestFar(Output& out) {
    const int w = 800, h = 380;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const Rgb haze = Mix(pal::kCream, pal::kGrass, 0.3);
    for (int row = 0; row < 2; ++row) {
        Dice dice(31 + row);
        const Rgb col = Mix(Mix(pal::kLeaf, pal::kBlue, 0.35), haze, row == 0 ? 0.72 : 0.58);
        const double ground = row == 0 ? 300 : 350;
        const int n = row == 0 ? 16 : 12;
        for (int i = 0; i < n; ++i) {
            const double x = i * 800.0 / n + (i == 0 ? 0 : dice.Range(-12, 12));
            const double tall = dice.Range(150, 240) - row * 20;
            Conifer(cr, x, ground, tall, col);
            if (i == 0) Conifer(cr, x + 800, ground, tall, col);  // the same tree where the picture repeats
        }
        cairo_rectangle(cr, 0, ground - 6, w, h - ground + 6);
        FlatFill(cr, col, 1.0, 0);
    }
    out.Png("map/forest_far.png", c);
}

// Near forest (second background): broad trunks and round canopies.
void ForestNear(Output& out) {
    const int w = 800, h = 340;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const Rgb haze = Mix(pal::kCream, pal::kGrass, 0.3);
    const Rgb trunk = Mix(pal::kWood, haze, 0.45), leaf = Mix(pal::kLeaf, haze, 0.4);
    Wrapped(cr, w, [&]() {
        Dice dice(41);
        for (int i = 0; i < 5; ++i) {
            const double x = 80 + i * 160 + dice.Range(-20, 20);
            RoundedRectPath(cr, x - 14, 60, 28, h - 60, 8);
            ShadedFill(cr, trunk, 1.0, 0);
            for (int k = 0; k < 4; ++k) {
                EllipsePath(cr, x + dice.Range(-60, 60), dice.Range(10, 90), dice.Range(45, 70), dice.Range(30, 45));
                FlatFill(cr, Mix(leaf, haze, dice.Range(0, 0.2)), 1.0, 0);
            }
        }
    });
    // A band of undergrowth along the bottom.
    RidgePath(cr, w, h, [](double x) { return 290 - 14 * Wave(x, 100, 0.5) - 8 * Wave(x, 800.0 / 11, 1.7); });
    FlatFill(cr, Mix(leaf, pal::kGrass, 0.3), 1.0, 0);
    out.Png("map/forest_near.png", c);
}

}  // namespace

void GenerateMapScenery(Output& out) {
    TownSky(out);
    FarHills(out);
    NearHills(out);
    Cloud(out, "cloud_a", 220, 90, 1);
    Cloud(out, "cloud_b", 150, 64, 2);
    Cloud(out, "cloud_c", 300, 110, 3);
    ForegroundGrass(out);
    ForegroundLeaves(out);
    ForestSky(out);
    ForestFar(out);
    ForestNear(out);
}

}  // namespace contentgen
