// Ground pieces the player stands on: grass and moss tops, soil fills,
// floating islands, stone walls, slopes, ladders and the lookout deck. The
// lip of every standing surface lies kLip pixels below the picture's top,
// on the collision edge.

#include "effects.h"
#include "map_art.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace contentgen {
namespace {

struct GroundTheme {
    const char* prefix;  // "" for the town, "forest_" for the forest path
    Rgb lipLight, lipDark;
    Rgb soilTop, soilBottom;
    Rgb pebble;
};

GroundTheme TownGround() {
    return GroundTheme{"", pal::kGrass, pal::kLeaf, Mix(pal::kWood, pal::kOchre, 0.35), Darker(pal::kWood, 0.12),
                       Mix(pal::kStone, pal::kCream, 0.3)};
}
GroundTheme ForestGround() {
    return GroundTheme{"forest_", Mix(pal::kLeaf, pal::kGrass, 0.45), Darker(pal::kLeaf, 0.25),
                       Mix(pal::kWood, pal::kDusk, 0.3), Darker(Mix(pal::kWood, pal::kDusk, 0.4), 0.2),
                       Mix(pal::kStone, pal::kMist, 0.2)};
}

std::string Name(const GroundTheme& t, const char* name) { return std::string("map/") + t.prefix + name + ".png"; }

// Soil: one flat colour everywhere, so pieces of any kind and depth join
// without seams; the lighter topsoil under the lip is drawn by GrassBand.
void SoilFill(cairo_t* cr, const GroundTheme& t) {
    SetColor(cr, t.soilBottom);
    cairo_fill(cr);
}

// Pebbles and roots scattered inside (x0, y0, w, h), away from the edges so
// neighbouring tiles never cut one.
void Pebbles(cairo_t* cr, const GroundTheme& t, double x0, double y0, double w, double h, int n, std::uint32_t seed) {
    Dice dice(seed);
    for (int i = 0; i < n; ++i) {
        const double r = dice.Range(2, 4.5);
        const double x = x0 + dice.Range(r + 3, w - r - 3), y = y0 + dice.Range(r + 3, h - r - 3);
        EllipsePath(cr, x, y, r * 1.3, r);
        FlatFill(cr, Mix(t.pebble, t.soilBottom, dice.Range(0, 0.4)), 1.0, 1.2);
        EllipsePath(cr, x - r * 0.4, y - r * 0.35, r * 0.45, r * 0.3);
        FlatFill(cr, pal::kWhite, 0.35, 0);
    }
}

// The grass (or moss) band that follows the surface line y = surf(x) over
// [x0, x1]: a light lip, a darker scalloped underside and blade tips rising
// above the line. Scallops and blades repeat every 16 px so pieces tile.
template <typename Surf>
void GrassBand(cairo_t* cr, const GroundTheme& t, double x0, double x1, Surf surf, double depth = 14) {
    // Topsoil: a lighter layer just under the grass, fading into the soil.
    for (int k = 0; k < 3; ++k) {
        cairo_move_to(cr, x0, surf(x0) + depth + 2 + k * 5);
        for (double x = x0; x <= x1 + 0.01; x += 1) cairo_line_to(cr, x, surf(x) + depth + 2 + k * 5);
        SetColor(cr, t.soilTop, 0.55 - k * 0.15);
        cairo_set_line_width(cr, 8);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_stroke(cr);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, x0, surf(x0));
    for (double x = x0; x <= x1 + 0.01; x += 1) cairo_line_to(cr, x, surf(x));
    for (double x = x1; x >= x0 - 0.01; x -= 1) {
        const double scallop = 4 * std::fabs(std::sin(kPi * x / 16));
        cairo_line_to(cr, x, surf(x) + depth - 4 + scallop);
    }
    cairo_close_path(cr);
    SetColor(cr, t.lipDark);
    cairo_fill(cr);
    cairo_move_to(cr, x0, surf(x0));
    for (double x = x0; x <= x1 + 0.01; x += 1) cairo_line_to(cr, x, surf(x));
    for (double x = x1; x >= x0 - 0.01; x -= 1) cairo_line_to(cr, x, surf(x) + depth * 0.5 + 2 * std::sin(kPi * x / 8));
    cairo_close_path(cr);
    SetColor(cr, t.lipLight);
    cairo_fill(cr);
    // The lip line itself: a thin highlight exactly on the surface.
    cairo_move_to(cr, x0, surf(x0) + 0.8);
    for (double x = x0; x <= x1 + 0.01; x += 1) cairo_line_to(cr, x, surf(x) + 0.8);
    SetColor(cr, Lighter(t.lipLight, 0.45));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // Blade tips above the surface.
    for (double bx = std::ceil(x0 / 16) * 16 + 5; bx < x1 - 2; bx += 16) {
        for (int k = 0; k < 2; ++k) {
            const double x = bx + k * 6, y = surf(x) + 2, tall = k ? 6 : 8;
            cairo_move_to(cr, x - 2, y);
            cairo_line_to(cr, x + (k ? 2 : -1), y - tall);
            cairo_line_to(cr, x + 2, y);
            cairo_close_path(cr);
            SetColor(cr, k ? t.lipLight : Mix(t.lipLight, t.lipDark, 0.4));
            cairo_fill(cr);
        }
    }
}

// 64 x (64 + kLip): grass lip on the surface line, soil below.
void GroundTop(Output& out, const GroundTheme& t) {
    Canvas c(64, 64 + kLip);
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, kLip, 64, 64);
    SoilFill(cr, t);
    Pebbles(cr, t, 0, kLip + 18, 64, 64 - 18, 3, 7);
    GrassBand(cr, t, 0, 64, [](double) { return static_cast<double>(kLip); });
    out.Png(Name(t, "ground_top"), c);
}

// 64 x 64 soil under the top pieces.
void GroundFill(Output& out, const GroundTheme& t) {
    Canvas c(64, 64);
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, 0, 64, 64);
    SetColor(cr, t.soilBottom);
    cairo_fill(cr);
    Pebbles(cr, t, 0, 0, 64, 64, 4, 13);
    out.Png(Name(t, "ground_fill"), c);
}

// Floating island pieces, 64 x 56: left end, middle, right end. The grass
// lip runs across the whole top; the earth below tapers to a rounded keel.
void Island(Output& out, const GroundTheme& t, const char* base) {
    const int w = 64, h = 56;
    for (int part = 0; part < 3; ++part) {  // 0 left, 1 middle, 2 right
        Canvas c(w, h);
        cairo_t* cr = c.cr();
        auto bottom = [&](double x) {
            const double u = part == 0 ? x / w : (part == 2 ? 1 - x / w : 1);
            return kLip + 10 + (h - kLip - 14) * std::sqrt(std::max(0.0, u)) - 3 * std::fabs(std::sin(kPi * x / 32));
        };
        cairo_move_to(cr, 0, kLip);
        cairo_line_to(cr, w, kLip);
        for (double x = w; x >= 0; x -= 1) cairo_line_to(cr, x, bottom(x));
        cairo_close_path(cr);
        SoilFill(cr, t);
        // Outline the keel and the outer end only, so joined pieces show no seam.
        if (part == 0) cairo_move_to(cr, 1, kLip); else cairo_move_to(cr, 0, bottom(0));
        for (double x = 0; x <= w; x += 1) cairo_line_to(cr, x, bottom(x));
        if (part == 2) cairo_line_to(cr, w - 1, kLip);
        SetColor(cr, Darker(t.soilBottom, 0.5));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        if (part == 1) Pebbles(cr, t, 0, kLip + 14, w, 20, 2, 17);
        // The band stays inside the body (and the blade tips above it).
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, w, kLip);
        cairo_move_to(cr, 0, kLip);
        cairo_line_to(cr, w, kLip);
        for (double x = w; x >= 0; x -= 1) cairo_line_to(cr, x, bottom(x));
        cairo_close_path(cr);
        cairo_clip(cr);
        GrassBand(cr, t, 0, w, [](double) { return static_cast<double>(kLip); }, 12);
        cairo_restore(cr);
        static const char* const kParts[] = {"_l", "_m", "_r"};
        out.Png(Name(t, (std::string(base) + kParts[part]).c_str()), c);
    }
}

// A slope piece for a slope of w x h: kind 0 rises to the right, kind 1
// falls to the right. The ground under a walker is taken at the leading
// edge of its box (the right edge on kind 0, the left edge on kind 1), half
// a box width from where its feet are drawn; so the drawn diagonal is moved
// kSlopeLead px toward the low end and a flat top of that length closes the
// gap at the high end. The piece is (w + kSlopeLead) x (h + kLip).
void Slope(Output& out, const GroundTheme& t, int kind, int w, int h) {
    const int pw = w + kSlopeLead;
    Canvas c(pw, h + kLip);
    cairo_t* cr = c.cr();
    auto surf = [&](double x) {
        const double u = kind == 0 ? x / w : (x - kSlopeLead) / w;
        return kLip + std::clamp(kind == 0 ? 1 - u : u, 0.0, 1.0) * h;
    };
    cairo_move_to(cr, 0, surf(0));
    for (double x = 0; x <= pw; x += 1) cairo_line_to(cr, x, surf(x));
    cairo_line_to(cr, pw, h + kLip);
    cairo_line_to(cr, 0, h + kLip);
    cairo_close_path(cr);
    SoilFill(cr, t);
    Pebbles(cr, t, kind == 0 ? pw * 0.5 : 0, h * 0.55 + kLip, pw * 0.5, h * 0.45, 1, 23);
    GrassBand(cr, t, 0, pw, surf);
    const std::string name = std::string(kind == 0 ? "slope_up_" : "slope_down_") + std::to_string(w) + "x" + std::to_string(h);
    out.Png(Name(t, name.c_str()), c);
}

// A stone wall of w x h (a blocking square) with a moss lip on top; the
// picture is w x (h + kLip + 4), the extra 4 px sinking into the ground.
void StoneWall(Output& out, int w, int h) {
    Canvas c(w, h + kLip + 4);
    cairo_t* cr = c.cr();
    const Rgb stone = Mix(pal::kStone, pal::kOchre, 0.15);
    const int rowH = 22;
    for (int row = 0; kLip + row * rowH < h + kLip + 4; ++row) {
        const double y = kLip + row * rowH;
        const double shift = (row % 2) ? -16 : 0;
        for (double x = shift; x < w; x += 32) {
            RoundedRectPath(cr, x + 1.5, y + 1.5, 29, rowH - 3, 4);
            ShadedFill(cr, Mix(stone, pal::kMist, ((row * 3 + static_cast<int>(x)) % 5) * 0.04), 1.0, 2);
        }
    }
    GroundTheme moss = TownGround();
    moss.lipLight = Mix(pal::kGrass, pal::kLeaf, 0.3);
    GrassBand(cr, moss, 0, w, [](double) { return static_cast<double>(kLip); }, 10);
    // Moss dripping down the face.
    for (double x = 10; x < w - 6; x += 21) {
        RoundedRectPath(cr, x, kLip + 6, 5, 10 + std::fmod(x * 7, 13), 2.5);
        FlatFill(cr, moss.lipDark, 0.9, 0);
    }
    out.Png("map/wall_" + std::to_string(w) + "x" + std::to_string(h) + ".png", c);
}

// A wooden ladder 40 px wide and `h` tall: two rails and rungs every 18 px.
void Ladder(Output& out, int h) {
    Canvas c(40, h);
    cairo_t* cr = c.cr();
    const Rgb wood = Mix(pal::kWood, pal::kOchre, 0.25);
    for (double y = 12; y < h - 4; y += 18) {
        RoundedRectPath(cr, 6, y, 28, 6, 3);
        ShadedFill(cr, Darker(wood, 0.08), 1.0, 1.5);
    }
    for (double x : {3.0, 29.0}) {
        RoundedRectPath(cr, x, 1, 8, h - 2, 4);
        ShadedFill(cr, wood, 1.0, 2);
    }
    out.Png("map/ladder_" + std::to_string(h) + ".png", c);
}

// The lookout deck: a plank floor whose top is the standing surface (kLip
// below the picture's top) on posts reaching `height` px down to the ground,
// with cross braces and a rail along the right end.
void Lookout(Output& out, int w, int height) {
    const int h = height + kLip + 4;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const Rgb wood = Mix(pal::kWood, pal::kOchre, 0.2), dark = Darker(pal::kWood, 0.15);
    for (double x : {14.0, w - 26.0}) {
        RoundedRectPath(cr, x, kLip + 10, 12, h - kLip - 10, 3);
        ShadedFill(cr, dark, 1.0, 2);
    }
    for (int k = 0; k < 2; ++k) {
        const double y0 = kLip + 30 + k * (height - 40) / 2.0, y1 = y0 + (height - 40) / 2.0;
        cairo_move_to(cr, 20, y0);
        cairo_line_to(cr, w - 20, y1);
        cairo_move_to(cr, w - 20, y0);
        cairo_line_to(cr, 20, y1);
        SetColor(cr, Darker(dark, 0.3));
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
    }
    // Rail on the right end (the ladder comes up on the left).
    for (double x : {w - 40.0, w - 10.0}) {
        RoundedRectPath(cr, x - 3, 0, 6, kLip + 4, 2);
        FlatFill(cr, wood, 1.0, 1.5);
    }
    // Planks, their top edge on the surface.
    for (double x = 0; x < w; x += 24) {
        RoundedRectPath(cr, x + 0.5, kLip, 23, 12, 2.5);
        ShadedFill(cr, Mix(wood, pal::kCream, std::fmod(x, 48) ? 0.05 : 0.12), 1.0, 1.5);
    }
    RoundedRectPath(cr, 0, kLip + 12, w, 6, 2);
    FlatFill(cr, dark, 1.0, 1.5);
    out.Png("map/lookout_" + std::to_string(w) + "x" + std::to_string(height) + ".png", c);
}

}  // namespace

void GenerateMapTiles(Output& out) {
    for (const GroundTheme& t : {TownGround(), ForestGround()}) {
        GroundTop(out, t);
        GroundFill(out, t);
        Island(out, t, "island");
        Slope(out, t, 0, 64, 64);
        Slope(out, t, 1, 64, 64);
    }
    // The fields' ramps climb a whole terrace at a walkable pitch.
    Slope(out, TownGround(), 0, 88, 88);
    Slope(out, TownGround(), 1, 88, 88);
    StoneWall(out, 64, 88);
    StoneWall(out, 64, 80);
    Ladder(out, 212);
    Ladder(out, 180);
    Lookout(out, 192, 192);
}

}  // namespace contentgen
