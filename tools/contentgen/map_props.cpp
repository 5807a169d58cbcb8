// Props that dress the maps: cottages, fences, the well, signposts, trees,
// flowers and bushes for the town; haystacks, crops, a windmill and a
// scarecrow for the fields; big trees, mushrooms, logs, rocks, ferns and a
// stone arch for the forest path. Things that stand on the ground have
// their feet 4 px above the picture's bottom, so placed at (ground top - h + 4)
// they sink slightly into the grass.

#include "effects.h"
#include "map_art.h"

#include <cmath>
#include <string>

namespace contentgen {
namespace {

const Rgb kPlaster = Mix(pal::kCream, pal::kOchre, 0.12);
const Rgb kRoof = Mix(pal::kRed, pal::kOchre, 0.35);
const Rgb kTimber = Darker(pal::kWood, 0.1);

void Save(Output& out, const char* name, const Canvas& c) { out.Png(std::string("map/") + name + ".png", c); }

void Poly(cairo_t* cr, std::initializer_list<Point> pts) {
    bool first = true;
    for (const Point& p : pts) {
        if (first) cairo_move_to(cr, p.x, p.y); else cairo_line_to(cr, p.x, p.y);
        first = false;
    }
    cairo_close_path(cr);
}

// Fills a shape made of overlapping parts (crowns, bushes) so that only its
// outer edge is outlined: the outline is stroked first at twice the width
// and the shaded fill then covers its inner half.
template <typename Build>
void BlobFill(cairo_t* cr, Build build, Rgb base) {
    build();
    SetColor(cr, Darker(base, 0.62));
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);
    build();
    ShadedFill(cr, base, 1.0, 0);
}

// A window with a warm glow, a cross bar and little shutters.
void Window(cairo_t* cr, double x, double y, double w, double h) {
    RoundedRectPath(cr, x - 7, y, 7, h, 2);
    RoundedRectPath(cr, x + w, y, 7, h, 2);
    ShadedFill(cr, Mix(pal::kLeaf, pal::kWood, 0.3), 1.0, 1.5);
    RoundedRectPath(cr, x, y, w, h, 3);
    ShadedFill(cr, Mix(pal::kGold, pal::kCream, 0.35), 1.0, 2.5);
    cairo_move_to(cr, x + w / 2, y + 2);
    cairo_line_to(cr, x + w / 2, y + h - 2);
    cairo_move_to(cr, x + 2, y + h / 2);
    cairo_line_to(cr, x + w - 2, y + h / 2);
    SetColor(cr, kTimber);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    RoundedRectPath(cr, x - 3, y + h, w + 6, 5, 2);
    FlatFill(cr, kTimber, 1.0, 1);
}

void Door(cairo_t* cr, double x, double y, double w, double h) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w / 2, y + w / 2, w / 2, kPi, 2 * kPi);
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
    ShadedFill(cr, Mix(pal::kWood, pal::kRed, 0.15), 1.0, 2.5);
    for (double px = x + w / 3; px < x + w - 2; px += w / 3) {
        cairo_move_to(cr, px, y + 6);
        cairo_line_to(cr, px, y + h - 2);
    }
    SetColor(cr, Darker(pal::kWood, 0.35), 0.6);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    EllipsePath(cr, x + w - 7, y + h * 0.55, 2.5, 2.5);
    FlatFill(cr, pal::kGold, 1.0, 1);
}

// A roof of overlapping tile rows over the triangle (x0, y1)-(apexX, y0)-(x1, y1).
void TiledRoof(cairo_t* cr, double x0, double x1, double y0, double y1, Rgb col) {
    const double apex = (x0 + x1) / 2;
    Poly(cr, {{x0, y1}, {apex, y0}, {x1, y1}});
    ShadedFill(cr, col, 1.0, 2.5);
    cairo_save(cr);
    Poly(cr, {{x0, y1}, {apex, y0}, {x1, y1}});
    cairo_clip(cr);
    for (double y = y0 + 14; y < y1; y += 14) {
        for (double x = x0 - 10 + std::fmod(y, 28) / 2; x < x1; x += 20) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x + 10, y, 10, 0, kPi);
        }
        SetColor(cr, Darker(col, 0.3), 0.5);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // Eaves board.
    RoundedRectPath(cr, x0 - 4, y1 - 3, x1 - x0 + 8, 8, 3);
    ShadedFill(cr, kTimber, 1.0, 2);
}

// A timber-framed cottage with a tiled roof and a chimney.
void Cottage(Output& out, const char* name, int w, int h, Rgb roof, bool twoWindows) {
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const double wallTop = h * 0.45, base = h - 4, left = 22, right = w - 22;
    // Chimney behind the roof.
    RoundedRectPath(cr, right - 62, h * 0.1, 24, wallTop - h * 0.1, 2);
    ShadedFill(cr, Mix(pal::kStone, pal::kRed, 0.2), 1.0, 2);
    RoundedRectPath(cr, right - 66, h * 0.1 - 4, 32, 8, 2);
    ShadedFill(cr, Darker(pal::kStone, 0.1), 1.0, 2);
    // Walls: plaster with a stone footing and timber beams.
    cairo_rectangle(cr, left, wallTop, right - left, base - wallTop);
    ShadedFill(cr, kPlaster, 1.0, 2.5);
    RoundedRectPath(cr, left - 3, base - 16, right - left + 6, 16, 3);
    ShadedFill(cr, pal::kStone, 1.0, 2);
    for (double x : {left + 3.0, (left + right) / 2 - 3, right - 9}) {
        cairo_rectangle(cr, x, wallTop, 6, base - 16 - wallTop);
        FlatFill(cr, kTimber, 1.0, 1);
    }
    cairo_rectangle(cr, left, wallTop + 36, right - left, 5);
    FlatFill(cr, kTimber, 1.0, 1);
    const double doorW = 40, doorH = 62, doorX = twoWindows ? (left + right) / 2 - doorW / 2 + 50 : left + 30;
    Door(cr, doorX, base - doorH - 2, doorW, doorH);
    if (twoWindows) {
        Window(cr, left + 30, wallTop + 52, 34, 30);
        Window(cr, (left + right) / 2 - 40, wallTop + 52, 34, 30);
    } else {
        Window(cr, right - 70, wallTop + 50, 40, 34);
    }
    TiledRoof(cr, 4, w - 4, 8, wallTop + 4, roof);
    // Attic window in the gable.
    EllipsePath(cr, w / 2.0, wallTop - 34, 13, 13);
    ShadedFill(cr, Mix(pal::kGold, pal::kCream, 0.4), 1.0, 2.5);
    Save(out, name, c);
}

void Fence(Output& out) {
    Canvas c(128, 48);
    cairo_t* cr = c.cr();
    const Rgb wood = Mix(pal::kWood, pal::kCream, 0.25);
    for (double y : {18.0, 32.0}) {
        RoundedRectPath(cr, 0, y, 128, 6, 2);
        ShadedFill(cr, Darker(wood, 0.1), 1.0, 1.5);
    }
    for (double x = 4; x < 128; x += 21) {
        Poly(cr, {{x, 44}, {x, 10}, {x + 6, 3}, {x + 12, 10}, {x + 12, 44}});
        ShadedFill(cr, wood, 1.0, 2);
    }
    Save(out, "fence", c);
}

void Well(Output& out) {
    Canvas c(100, 124);
    cairo_t* cr = c.cr();
    for (double x : {16.0, 76.0}) {
        RoundedRectPath(cr, x, 22, 8, 70, 3);
        ShadedFill(cr, kTimber, 1.0, 2);
    }
    TiledRoof(cr, 4, 96, 2, 30, Mix(kRoof, pal::kWood, 0.3));
    cairo_move_to(cr, 50, 30);
    cairo_line_to(cr, 50, 62);
    SetColor(cr, pal::kInk, 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    RoundedRectPath(cr, 42, 58, 16, 14, 3);
    ShadedFill(cr, pal::kWood, 1.0, 2);
    // Stone ring.
    RoundedRectPath(cr, 8, 78, 84, 42, 8);
    ShadedFill(cr, Mix(pal::kStone, pal::kMist, 0.3), 1.0, 2.5);
    for (int row = 0; row < 2; ++row) {
        for (double x = 12 + row * 10; x < 86; x += 20) {
            RoundedRectPath(cr, x, 82 + row * 18, 16, 12, 3);
            ShadedFill(cr, Mix(pal::kStone, pal::kCream, 0.2 + row * 0.1), 1.0, 1.2);
        }
    }
    EllipsePath(cr, 50, 80, 40, 5);
    FlatFill(cr, pal::kDeepBlue, 1.0, 1.5);
    Save(out, "well", c);
}

// A signpost with an arrow board and a place name.
void Signpost(Output& out, const char* name, const char* text, bool right) {
    Canvas c(120, 96);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 54, 30, 12, 62, 3);
    ShadedFill(cr, kTimber, 1.0, 2);
    const double x0 = 8, x1 = 112, y0 = 14, y1 = 44;
    if (right) Poly(cr, {{x0, y0}, {x1 - 14, y0}, {x1, (y0 + y1) / 2}, {x1 - 14, y1}, {x0, y1}});
    else Poly(cr, {{x0 + 14, y0}, {x1, y0}, {x1, y1}, {x0 + 14, y1}, {x0, (y0 + y1) / 2}});
    ShadedFill(cr, Mix(pal::kWood, pal::kOchre, 0.45), 1.0, 2.5);
    OutlinedText(cr, text, (x0 + x1) / 2 + (right ? -5 : 5), (y0 + y1) / 2, 15, pal::kCream, Darker(pal::kWood, 0.5), 1.5);
    Save(out, name, c);
}

// The welcome board of the village: a framed board on two posts.
void TownBoard(Output& out) {
    Canvas c(140, 110);
    cairo_t* cr = c.cr();
    for (double x : {22.0, 108.0}) {
        RoundedRectPath(cr, x, 20, 10, 86, 3);
        ShadedFill(cr, kTimber, 1.0, 2);
    }
    RoundedRectPath(cr, 6, 10, 128, 52, 6);
    ShadedFill(cr, Mix(pal::kWood, pal::kOchre, 0.4), 1.0, 2.5);
    RoundedRectPath(cr, 13, 17, 114, 38, 4);
    FlatFill(cr, Mix(pal::kCream, pal::kOchre, 0.2), 1.0, 1.5);
    OutlinedText(cr, "新手村", 70, 36, 20, pal::kLeaf, Darker(pal::kLeaf, 0.6), 1.5);
    Save(out, "town_board", c);
}

void Flowers(Output& out, const char* name, Rgb a, Rgb b, std::uint32_t seed) {
    Canvas c(72, 36);
    cairo_t* cr = c.cr();
    Dice dice(seed);
    for (int i = 0; i < 9; ++i) {
        const double x = 8 + i * 7 + dice.Range(-2, 2), top = dice.Range(6, 18);
        cairo_move_to(cr, x, 33);
        cairo_line_to(cr, x + dice.Range(-3, 3), top);
        SetColor(cr, pal::kLeaf);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 5; ++i) {
        const double x = 10 + i * 13 + dice.Range(-2, 2), y = dice.Range(8, 16);
        const Rgb col = i % 2 ? a : b;
        for (int p = 0; p < 5; ++p) {
            const double ang = p * 2 * kPi / 5;
            EllipsePath(cr, x + std::cos(ang) * 3.5, y + std::sin(ang) * 3.5, 3, 3);
        }
        FlatFill(cr, col, 1.0, 1.2);
        EllipsePath(cr, x, y, 2, 2);
        FlatFill(cr, pal::kGold, 1.0, 0);
    }
    EllipsePath(cr, 36, 33, 32, 4);
    FlatFill(cr, pal::kLeaf, 1.0, 0);
    Save(out, name, c);
}

void Bush(Output& out, const char* name, int w, int h, Rgb leaf, bool berries) {
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    BlobFill(cr, [&]() {
        EllipsePath(cr, w * 0.3, h * 0.62, w * 0.26, h * 0.34);
        EllipsePath(cr, w * 0.7, h * 0.62, w * 0.26, h * 0.34);
        EllipsePath(cr, w * 0.5, h * 0.45, w * 0.3, h * 0.4);
        RoundedRectPath(cr, w * 0.08, h * 0.6, w * 0.84, h * 0.34, h * 0.15);
    }, leaf);
    EllipsePath(cr, w * 0.4, h * 0.3, w * 0.12, h * 0.09);
    FlatFill(cr, Lighter(leaf, 0.3), 0.7, 0);
    if (berries) {
        Dice dice(3);
        for (int i = 0; i < 6; ++i) {
            EllipsePath(cr, dice.Range(w * 0.2, w * 0.8), dice.Range(h * 0.35, h * 0.8), 3, 3);
            FlatFill(cr, pal::kRed, 1.0, 1);
        }
    }
    Save(out, name, c);
}

// A round leafy tree: trunk with a fork, a crown of shaded puffs.
void Tree(Output& out, const char* name, int w, int h, Rgb leaf, bool apples) {
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const double cx = w / 2.0, base = h - 4;
    Poly(cr, {{cx - 16, base}, {cx - 9, h * 0.45}, {cx - 22, h * 0.3}, {cx - 14, h * 0.28}, {cx, h * 0.42},
              {cx + 14, h * 0.3}, {cx + 20, h * 0.33}, {cx + 9, h * 0.47}, {cx + 16, base}});
    ShadedFill(cr, pal::kWood, 1.0, 2.5);
    const double r = w * 0.3;
    const Point puffs[] = {{cx - r * 0.9, h * 0.36}, {cx + r * 0.9, h * 0.36}, {cx - r * 0.5, h * 0.2},
                           {cx + r * 0.5, h * 0.2},  {cx, h * 0.3},            {cx, r * 0.75}};
    BlobFill(cr, [&]() { for (const Point& p : puffs) EllipsePath(cr, p.x, p.y, r * 0.75, r * 0.68); }, leaf);
    for (const Point& p : puffs) {
        EllipsePath(cr, p.x - r * 0.2, p.y - r * 0.25, r * 0.3, r * 0.2);
        FlatFill(cr, Lighter(leaf, 0.25), 0.55, 0);
    }
    if (apples) {
        Dice dice(9);
        for (int i = 0; i < 7; ++i) {
            EllipsePath(cr, cx + dice.Range(-r * 1.3, r * 1.3), dice.Range(h * 0.15, h * 0.45), 4.5, 4.5);
            ShadedFill(cr, pal::kRed, 1.0, 1.5);
        }
    }
    Save(out, name, c);
}

void Barrel(Output& out) {
    Canvas c(44, 54);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 4, 2, 36, 48, 10);
    ShadedFill(cr, Mix(pal::kWood, pal::kOchre, 0.3), 1.0, 2.5);
    for (double y : {10.0, 40.0}) {
        cairo_rectangle(cr, 4, y, 36, 4);
        FlatFill(cr, pal::kStone, 1.0, 1);
    }
    Save(out, "barrel", c);
}

void Crate(Output& out) {
    Canvas c(48, 48);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 2, 2, 44, 42, 3);
    ShadedFill(cr, Mix(pal::kWood, pal::kCream, 0.3), 1.0, 2.5);
    cairo_move_to(cr, 7, 7);
    cairo_line_to(cr, 41, 39);
    cairo_move_to(cr, 41, 7);
    cairo_line_to(cr, 7, 39);
    SetColor(cr, Darker(pal::kWood, 0.2));
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    Save(out, "crate", c);
}

void Lamp(Output& out) {
    Canvas c(36, 128);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 15, 30, 6, 94, 3);
    ShadedFill(cr, pal::kDusk, 1.0, 1.5);
    RoundedRectPath(cr, 8, 10, 20, 24, 4);
    ShadedFill(cr, Mix(pal::kGold, pal::kCream, 0.3), 1.0, 2);
    Poly(cr, {{5, 11}, {18, 2}, {31, 11}});
    ShadedFill(cr, pal::kDusk, 1.0, 1.5);
    Save(out, "lamp", c);
}

// Fields: a haystack, a row of cabbages, a windmill and a scarecrow.
void Haystack(Output& out) {
    Canvas c(112, 84);
    cairo_t* cr = c.cr();
    cairo_move_to(cr, 6, 80);
    cairo_curve_to(cr, 6, 20, 30, 4, 56, 4);
    cairo_curve_to(cr, 82, 4, 106, 20, 106, 80);
    cairo_close_path(cr);
    ShadedFill(cr, Mix(pal::kGold, pal::kOchre, 0.5), 1.0, 2.5);
    Dice dice(4);
    for (int i = 0; i < 24; ++i) {
        const double x = dice.Range(18, 94), y = dice.Range(16, 74);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + dice.Range(-4, 4), y + 8);
    }
    SetColor(cr, Darker(pal::kOchre, 0.3), 0.6);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Save(out, "haystack", c);
}

void Crops(Output& out) {
    Canvas c(128, 44);
    cairo_t* cr = c.cr();
    for (double x = 16; x < 128; x += 32) {
        for (int k = 0; k < 5; ++k) {
            const double a = -kPi / 2 + (k - 2) * 0.5;
            EllipsePath(cr, x + std::cos(a) * 10, 26 + std::sin(a) * 8, 9, 7);
        }
        ShadedFill(cr, Mix(pal::kGrass, pal::kLeaf, 0.3), 1.0, 1.8);
        EllipsePath(cr, x, 28, 9, 9);
        ShadedFill(cr, Mix(pal::kGrass, pal::kCream, 0.3), 1.0, 1.8);
    }
    Save(out, "crops", c);
}

void Windmill(Output& out) {
    Canvas c(220, 320);
    cairo_t* cr = c.cr();
    Poly(cr, {{70, 316}, {84, 110}, {136, 110}, {150, 316}});
    ShadedFill(cr, kPlaster, 1.0, 2.5);
    Poly(cr, {{76, 114}, {110, 70}, {144, 114}});
    ShadedFill(cr, kRoof, 1.0, 2.5);
    Door(cr, 96, 262, 28, 52);
    Window(cr, 102, 170, 16, 20);
    const double hx = 110, hy = 100;
    for (int k = 0; k < 4; ++k) {
        cairo_save(cr);
        cairo_translate(cr, hx, hy);
        cairo_rotate(cr, kPi / 4 + k * kPi / 2);
        cairo_rectangle(cr, -3, 0, 6, 96);
        FlatFill(cr, kTimber, 1.0, 1.5);
        cairo_rectangle(cr, 3, 20, 22, 74);
        ShadedFill(cr, pal::kCream, 0.95, 2);
        cairo_restore(cr);
    }
    EllipsePath(cr, hx, hy, 9, 9);
    ShadedFill(cr, kTimber, 1.0, 2);
    Save(out, "windmill", c);
}

void Scarecrow(Output& out) {
    Canvas c(80, 124);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 37, 30, 6, 90, 2);
    ShadedFill(cr, kTimber, 1.0, 1.5);
    RoundedRectPath(cr, 6, 46, 68, 6, 2);
    ShadedFill(cr, kTimber, 1.0, 1.5);
    Poly(cr, {{24, 44}, {56, 44}, {60, 88}, {20, 88}});
    ShadedFill(cr, pal::kBlue, 1.0, 2);
    EllipsePath(cr, 40, 30, 13, 13);
    ShadedFill(cr, Mix(pal::kOchre, pal::kCream, 0.4), 1.0, 2);
    Poly(cr, {{18, 22}, {62, 22}, {40, 2}});
    ShadedFill(cr, Mix(pal::kGold, pal::kOchre, 0.6), 1.0, 2);
    Save(out, "scarecrow", c);
}

// Forest: a big tree (drawn behind the path), mushrooms, a log, a rock,
// ferns and the stone arch that marks a passage without a portal.
void BigTree(Output& out) {
    Canvas c(240, 420);
    cairo_t* cr = c.cr();
    const Rgb bark = Mix(pal::kWood, pal::kDusk, 0.25);
    Poly(cr, {{70, 416}, {96, 360}, {100, 160}, {140, 160}, {144, 360}, {172, 416}});
    ShadedFill(cr, bark, 1.0, 2.5);
    for (double x : {108.0, 122.0, 134.0}) {
        cairo_move_to(cr, x, 180);
        cairo_curve_to(cr, x - 4, 260, x + 4, 320, x, 390);
    }
    SetColor(cr, Darker(bark, 0.3), 0.6);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const Rgb leaf = Mix(pal::kLeaf, pal::kDeepBlue, 0.15);
    const Point puffs[] = {{60, 140}, {180, 140}, {90, 80}, {150, 76}, {120, 130}, {120, 50}, {40, 190}, {200, 190}};
    BlobFill(cr, [&]() { for (const Point& p : puffs) EllipsePath(cr, p.x, p.y, 56, 46); }, leaf);
    for (const Point& p : puffs) {
        EllipsePath(cr, p.x - 12, p.y - 14, 18, 11);
        FlatFill(cr, Lighter(leaf, 0.25), 0.5, 0);
    }
    Save(out, "big_tree", c);
}

void Mushroom(Output& out) {
    Canvas c(52, 48);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 20, 22, 12, 22, 4);
    ShadedFill(cr, pal::kCream, 1.0, 2);
    cairo_move_to(cr, 4, 26);
    cairo_curve_to(cr, 4, 4, 48, 4, 48, 26);
    cairo_close_path(cr);
    ShadedFill(cr, pal::kRed, 1.0, 2);
    for (const Point& p : {Point{16, 16}, Point{30, 11}, Point{38, 20}}) {
        EllipsePath(cr, p.x, p.y, 3.5, 3);
        FlatFill(cr, pal::kCream, 1.0, 0);
    }
    Save(out, "mushroom", c);
}

void Log(Output& out) {
    Canvas c(150, 48);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 4, 8, 130, 36, 16);
    ShadedFill(cr, Mix(pal::kWood, pal::kDusk, 0.15), 1.0, 2.5);
    EllipsePath(cr, 130, 26, 14, 18);
    ShadedFill(cr, Mix(pal::kOchre, pal::kCream, 0.3), 1.0, 2);
    EllipsePath(cr, 130, 26, 6, 8);
    FlatFill(cr, pal::kOchre, 0.6, 1.5);
    EllipsePath(cr, 50, 10, 24, 5);
    FlatFill(cr, pal::kLeaf, 0.9, 0);
    Save(out, "log", c);
}

void Rock(Output& out) {
    Canvas c(84, 54);
    cairo_t* cr = c.cr();
    Poly(cr, {{4, 50}, {10, 22}, {30, 6}, {58, 8}, {78, 26}, {80, 50}});
    ShadedFill(cr, Mix(pal::kStone, pal::kMist, 0.2), 1.0, 2.5);
    EllipsePath(cr, 40, 10, 22, 5);
    FlatFill(cr, pal::kLeaf, 0.8, 0);
    Save(out, "rock", c);
}

void Fern(Output& out) {
    Canvas c(96, 64);
    cairo_t* cr = c.cr();
    for (int k = -3; k <= 3; ++k) {
        const double a = -kPi / 2 + k * 0.38, len = 56 - std::abs(k) * 6;
        const double ex = 48 + std::cos(a) * len, ey = 62 + std::sin(a) * len;
        for (double t = 0.15; t < 1; t += 0.12) {
            const double x = 48 + (ex - 48) * t, y = 62 + (ey - 62) * t;
            EllipsePath(cr, x, y, 6 * (1.1 - t), 3.5 * (1.1 - t) + 1);
        }
        FlatFill(cr, Mix(pal::kLeaf, pal::kGrass, 0.2 + 0.05 * k), 1.0, 1);
    }
    Save(out, "fern", c);
}

void StoneArch(Output& out) {
    Canvas c(140, 180);
    cairo_t* cr = c.cr();
    const Rgb stone = Mix(pal::kStone, pal::kViolet, 0.12);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 70, 70, 64, kPi, 2 * kPi);
    cairo_line_to(cr, 134, 176);
    cairo_line_to(cr, 104, 176);
    cairo_line_to(cr, 104, 70);
    cairo_arc_negative(cr, 70, 70, 34, 0, kPi);
    cairo_line_to(cr, 36, 176);
    cairo_line_to(cr, 6, 176);
    cairo_close_path(cr);
    ShadedFill(cr, stone, 1.0, 2.5);
    // The dark way through.
    cairo_new_sub_path(cr);
    cairo_arc(cr, 70, 70, 33, kPi, 2 * kPi);
    cairo_line_to(cr, 103, 176);
    cairo_line_to(cr, 37, 176);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 40, 0, 176);
    cairo_pattern_add_color_stop_rgba(g, 0, pal::kDusk.r, pal::kDusk.g, pal::kDusk.b, 0.95);
    cairo_pattern_add_color_stop_rgba(g, 1, pal::kNight.r, pal::kNight.g, pal::kNight.b, 0.9);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (int i = 0; i < 7; ++i) {
        const double a = kPi + i * kPi / 6;
        cairo_move_to(cr, 70 + std::cos(a) * 35, 70 + std::sin(a) * 35);
        cairo_line_to(cr, 70 + std::cos(a) * 63, 70 + std::sin(a) * 63);
    }
    SetColor(cr, Darker(stone, 0.4), 0.7);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Ivy over the keystone.
    for (int i = 0; i < 6; ++i) {
        EllipsePath(cr, 50 + i * 8, 10 + (i % 2) * 6, 6, 4);
        FlatFill(cr, pal::kLeaf, 1.0, 1);
    }
    Save(out, "stone_arch", c);
}

}  // namespace

void GenerateMapProps(Output& out) {
    Cottage(out, "house_a", 256, 224, kRoof, false);
    Cottage(out, "house_b", 288, 240, Mix(pal::kLeaf, pal::kDeepBlue, 0.25), true);
    Fence(out);
    Well(out);
    Signpost(out, "sign_forest", "林间小路", true);
    Signpost(out, "sign_fields", "新手村2", false);
    Signpost(out, "sign_town_r", "新手村", true);
    Signpost(out, "sign_town_l", "新手村", false);
    TownBoard(out);
    Flowers(out, "flowers_a", pal::kPink, pal::kCream, 1);
    Flowers(out, "flowers_b", pal::kGold, pal::kViolet, 2);
    Bush(out, "bush", 96, 56, pal::kLeaf, false);
    Bush(out, "bush_berry", 80, 48, Mix(pal::kLeaf, pal::kGrass, 0.3), true);
    Tree(out, "tree", 176, 240, Mix(pal::kLeaf, pal::kGrass, 0.25), false);
    Tree(out, "tree_apple", 144, 200, pal::kLeaf, true);
    Barrel(out);
    Crate(out);
    Lamp(out);
    Haystack(out);
    Crops(out);
    Windmill(out);
    Scarecrow(out);
    BigTree(out);
    Mushroom(out);
    Log(out);
    Rock(out);
    Fern(out);
    StoneArch(out);
}

}  // namespace contentgen
