// The town's NPCs: each is the shared rig in its own colours and
// proportions with one prop that says its trade (the village head's cane,
// the smith's hammer, the merchant's pack, the hunter's bow, the banker's
// abacus, the scholar's book). Four idle frames breathe and nod; "show.png"
// is the portrait the dialog box shows beside the conversation.

#include "generate.h"
#include "rig.h"

#include <cmath>
#include <string>

namespace contentgen {

namespace {

constexpr int kFrameW = 80, kFrameH = 96;
constexpr double kFootX = 40, kFootY = 94;
constexpr int kIdleFrames = 4;

enum class Prop { Cane, Hammer, Pack, Bow, Abacus, Book };

struct NpcLook {
    const char* folder;
    RigStyle style;
    Prop prop;
    bool faceLeft;
    bool beard;
    bool hat;
};

RigStyle Style(Rgb shirt, Rgb sleeve, Rgb trousers, Rgb hair, HairStyle hairStyle, double scale) {
    RigStyle s;
    s.shirt = shirt;
    s.sleeve = sleeve;
    s.trousers = trousers;
    s.hair = hair;
    s.hairStyle = hairStyle;
    s.accessory = Accessory::None;
    s.torsoW *= scale;
    s.torsoH *= scale;
    s.thigh *= scale;
    s.shin *= scale;
    return s;
}

void DrawProp(cairo_t* cr, Prop prop, const Joints& j) {
    const Point h = j.handF;
    switch (prop) {
        case Prop::Cane:
            CapsulePath(cr, h.x + 1, h.y - 6, h.x + 4, kFootY, 3.5);
            ShadedFill(cr, pal::kWood, 1, 1.2);
            break;
        case Prop::Hammer:
            CapsulePath(cr, h.x, h.y + 2, h.x + 3, h.y - 20, 3);
            ShadedFill(cr, pal::kWood, 1, 1.2);
            RoundedRectPath(cr, h.x - 6, h.y - 28, 16, 9, 2);
            ShadedFill(cr, pal::kStone, 1, 1.4);
            break;
        case Prop::Pack:
            RoundedRectPath(cr, j.shoulderB.x - 16, j.shoulderB.y - 2, 16, 22, 4);
            ShadedFill(cr, pal::kOchre, 1, 1.4);
            break;
        case Prop::Bow:
            cairo_new_path(cr);
            cairo_arc(cr, h.x - 8, h.y, 18, Rad(-70), Rad(70));
            SetColor(cr, pal::kWood);
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
            cairo_move_to(cr, h.x - 8 + 18 * std::cos(Rad(-70)), h.y + 18 * std::sin(Rad(-70)));
            cairo_line_to(cr, h.x - 8 + 18 * std::cos(Rad(70)), h.y + 18 * std::sin(Rad(70)));
            SetColor(cr, pal::kCream, 0.9);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            break;
        case Prop::Abacus:
            RoundedRectPath(cr, h.x - 4, h.y - 8, 18, 13, 2);
            ShadedFill(cr, pal::kHair, 1, 1.2);
            for (int r = 0; r < 3; ++r)
                for (int k = 0; k < 4; ++k) {
                    EllipsePath(cr, h.x + k * 4, h.y - 5 + r * 4, 1.5, 1.5);
                    SetColor(cr, pal::kGold);
                    cairo_fill(cr);
                }
            break;
        case Prop::Book:
            RoundedRectPath(cr, h.x - 5, h.y - 10, 14, 17, 2);
            ShadedFill(cr, pal::kViolet, 1, 1.2);
            StarPath(cr, h.x + 2, h.y - 2, 4, 1.6, 4, 0);
            SetColor(cr, pal::kGold);
            cairo_fill(cr);
            break;
    }
}

void DrawExtras(cairo_t* cr, const NpcLook& look, const Joints& j) {
    if (look.beard) {
        // A white beard under the chin.
        cairo_move_to(cr, j.head.x - 9, j.head.y + 6);
        cairo_curve_to(cr, j.head.x - 6, j.head.y + 24, j.head.x + 8, j.head.y + 24, j.head.x + 11, j.head.y + 6);
        cairo_close_path(cr);
        ShadedFill(cr, pal::kWhite, 1, 1.2);
    }
    if (look.hat) {
        // A wide straw hat.
        EllipsePath(cr, j.head.x, j.head.y - 10, 20, 5);
        ShadedFill(cr, pal::kOchre, 1, 1.2);
        EllipsePath(cr, j.head.x, j.head.y - 15, 10, 7);
        ShadedFill(cr, pal::kOchre, 1, 1.2);
    }
}

Pose IdlePose(int frame) {
    Pose p;
    const double t = frame / static_cast<double>(kIdleFrames);
    p.breath = 0.5 - 0.5 * std::cos(t * 2 * kPi);
    p.headTilt = 3 * std::sin(t * 2 * kPi);
    p.armF = 24;
    p.elbowF = 60;
    p.armB = -10;
    p.elbowB = 12;
    p.legF = 4;
    p.legB = -4;
    return p;
}

void DrawNpc(Canvas& c, const NpcLook& look, const Pose& pose, double footX, double footY, double scale) {
    cairo_t* cr = c.cr();
    cairo_save(cr);
    cairo_translate(cr, footX, footY);
    cairo_scale(cr, look.faceLeft ? -scale : scale, scale);
    cairo_translate(cr, -kFootX, -kFootY);
    const Joints j = PoseJoints(look.style, pose, kFootX, kFootY);
    if (look.prop == Prop::Pack) DrawProp(cr, look.prop, j);
    DrawFigure(cr, look.style, pose, kFootX, kFootY);
    DrawExtras(cr, look, j);
    if (look.prop != Prop::Pack) DrawProp(cr, look.prop, j);
    cairo_restore(cr);
}

void WriteNpc(Output& out, const NpcLook& look) {
    const std::string folder = std::string("NPC/") + look.folder;
    // One closing frame past the count the game loads.
    for (int i = 0; i <= kIdleFrames; ++i) {
        Canvas c(kFrameW, kFrameH);
        EllipsePath(c.cr(), kFootX, kFootY - 1, 20, 3.5);
        SetColor(c.cr(), pal::kInk, 0.25);
        cairo_fill(c.cr());
        DrawNpc(c, look, IdlePose(i % kIdleFrames), kFootX, kFootY, 1.0);
        // Drawn with its top-left at the NPC's place.
        out.Frame(folder, i, c, 0, 0);
    }
    Canvas show(120, 160);
    EllipsePath(show.cr(), 60, 152, 34, 6);
    SetColor(show.cr(), pal::kInk, 0.3);
    cairo_fill(show.cr());
    DrawNpc(show, look, IdlePose(0), 60, 152, 1.6);
    out.Png(folder + "/show.png", show);
}

}  // namespace

void GenerateNpcs(Output& out) {
    const NpcLook looks[] = {
        {"村长", Style(pal::kDeepBlue, pal::kMist, pal::kStone, pal::kMist, HairStyle::Bald, 1.0), Prop::Cane, false,
         true, false},
        {"铁匠", Style(pal::kWood, pal::kSkin, pal::kInk, pal::kInk, HairStyle::Spiky, 1.15), Prop::Hammer, true,
         false, false},
        {"商人", Style(pal::kOrange, pal::kCream, pal::kWood, pal::kHair, HairStyle::Bob, 1.0), Prop::Pack, false,
         false, true},
        {"猎人", Style(pal::kLeaf, pal::kGrass, pal::kWood, pal::kHair, HairStyle::Spiky, 1.05), Prop::Bow, true,
         false, false},
        {"掌柜", Style(pal::kRed, pal::kGold, pal::kInk, pal::kInk, HairStyle::Bob, 1.1), Prop::Abacus, true, false,
         false},
        {"学者", Style(pal::kViolet, pal::kCream, pal::kDusk, pal::kMist, HairStyle::Bob, 1.0), Prop::Book, false,
         true, false},
    };
    for (const NpcLook& look : looks) WriteNpc(out, look);
}

}  // namespace contentgen
