#include "rig.h"

#include <algorithm>
#include <cmath>

namespace contentgen {

namespace {

// Unit vector of a rig angle (0 down, + forward).
Point Dir(double degrees) { return Point{std::sin(Rad(degrees)), std::cos(Rad(degrees))}; }
Point Add(Point p, Point d, double len) { return Point{p.x + d.x * len, p.y + d.y * len}; }

struct Frame {
    Joints j;          // unrotated
    Point pivot;       // rotation centre
    double rotate = 0; // canvas radians
};

Frame Solve(const RigStyle& s, const Pose& p, double footX, double footY) {
    Frame f;
    Joints& j = f.j;
    auto legReach = [&](double a, double k) {
        return s.thigh * std::cos(Rad(a)) + s.shin * std::cos(Rad(a - k));
    };
    const double reach = std::max(legReach(p.legF, p.kneeF), legReach(p.legB, p.kneeB));
    j.hip = Point{footX + p.rootX, footY - s.bootH - reach + p.rootY};
    const double chest = s.torsoH + p.breath * 1.2;
    j.neck = Point{j.hip.x + std::sin(Rad(p.lean)) * chest, j.hip.y - std::cos(Rad(p.lean)) * chest};
    const double headLift = s.headRy - 3 + p.breath * 0.6;
    const double ht = p.lean + p.headTilt;
    j.head = Point{j.neck.x + std::sin(Rad(ht)) * headLift, j.neck.y - std::cos(Rad(ht)) * headLift};

    const double side = p.backView ? s.torsoW * 0.55 : 2.0;
    const Point shoulder = Add(j.neck, Dir(p.lean), 5.5);
    j.shoulderF = Point{shoulder.x + side, shoulder.y};
    j.shoulderB = Point{shoulder.x - side, shoulder.y};
    j.elbowF = Add(j.shoulderF, Dir(p.armF + p.lean), s.upperArm);
    j.handF = Add(j.elbowF, Dir(p.armF + p.lean + p.elbowF), s.forearm);
    j.elbowB = Add(j.shoulderB, Dir(p.armB + p.lean), s.upperArm);
    j.handB = Add(j.elbowB, Dir(p.armB + p.lean + p.elbowB), s.forearm);

    const double hipSide = p.backView ? 4.5 : 1.5;
    const Point hipF{j.hip.x + hipSide, j.hip.y}, hipB{j.hip.x - hipSide, j.hip.y};
    j.kneeF = Add(hipF, Dir(p.legF), s.thigh);
    j.footF = Add(j.kneeF, Dir(p.legF - p.kneeF), s.shin);
    j.kneeB = Add(hipB, Dir(p.legB), s.thigh);
    j.footB = Add(j.kneeB, Dir(p.legB - p.kneeB), s.shin);
    // Weapon direction as a canvas angle measured from +x.
    const Point wd = Dir(p.weaponAngle);
    j.weaponAngle = std::atan2(wd.y, wd.x);

    f.pivot = Point{j.hip.x, j.hip.y - s.torsoH * 0.5};
    f.rotate = Rad(p.rotate);  // + tips the figure forward (clockwise on screen)
    return f;
}

Point Rotated(Point p, Point c, double a) {
    const double dx = p.x - c.x, dy = p.y - c.y;
    return Point{c.x + dx * std::cos(a) - dy * std::sin(a), c.y + dx * std::sin(a) + dy * std::cos(a)};
}

Joints Transform(const Frame& f) {
    Joints j = f.j;
    if (f.rotate == 0) return j;
    for (Point* p : {&j.hip, &j.neck, &j.head, &j.shoulderF, &j.elbowF, &j.handF, &j.shoulderB, &j.elbowB, &j.handB,
                     &j.kneeF, &j.footF, &j.kneeB, &j.footB})
        *p = Rotated(*p, f.pivot, f.rotate);
    j.weaponAngle += f.rotate;
    return j;
}

void Limb(cairo_t* cr, Point a, Point b, double w, Rgb c, double alpha) {
    CapsulePath(cr, a.x, a.y, b.x, b.y, w);
    ShadedFill(cr, c, alpha);
}

void DrawLeg(cairo_t* cr, const RigStyle& s, Point hip, Point knee, Point foot, bool back, bool facingViewer,
             double alpha) {
    const Rgb tr = back ? Darker(s.trousers, 0.18) : s.trousers;
    const Rgb bt = back ? Darker(s.boots, 0.18) : s.boots;
    Limb(cr, hip, knee, s.limbW + 1, tr, alpha);
    Limb(cr, knee, foot, s.limbW, tr, alpha);
    // Boot: a rounded toe pointing forward (or straight down from behind).
    if (facingViewer) EllipsePath(cr, foot.x, foot.y + 0.5, 3.8, 3.2);
    else EllipsePath(cr, foot.x + 2.0, foot.y + 0.5, 5.2, 3.2);
    ShadedFill(cr, bt, alpha);
}

void DrawArm(cairo_t* cr, const RigStyle& s, Point sh, Point el, Point hand, bool back, double alpha) {
    const Rgb sl = back ? Darker(s.sleeve, 0.2) : s.sleeve;
    const Rgb sk = back ? Darker(s.skin, 0.15) : s.skin;
    Limb(cr, el, hand, s.limbW - 1.5, sk, alpha);
    Limb(cr, sh, el, s.limbW, sl, alpha);
    EllipsePath(cr, hand.x, hand.y, 3.3, 3.3);
    ShadedFill(cr, sk, alpha, 1.6);
}

void DrawTorso(cairo_t* cr, const RigStyle& s, const Joints& j, const Pose& p, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, j.hip.x, j.hip.y);
    cairo_rotate(cr, Rad(p.lean));
    const double h = s.torsoH + p.breath * 1.2;
    const double top = s.torsoW * 0.42, bottom = s.torsoW * 0.58;
    cairo_move_to(cr, -top, -h);
    cairo_line_to(cr, top, -h);
    cairo_curve_to(cr, top + 2, -h * 0.5, bottom, 0, bottom + 1, 4);
    cairo_line_to(cr, -bottom - 1, 4);
    cairo_curve_to(cr, -bottom, 0, -top - 2, -h * 0.5, -top, -h);
    cairo_close_path(cr);
    ShadedFill(cr, s.shirt, alpha);
    // Belt
    RoundedRectPath(cr, -bottom + 0.5, -3.5, bottom * 2 - 1, 3.5, 1.2);
    FlatFill(cr, s.belt, alpha, 1.0);
    if (!p.backView) {
        RoundedRectPath(cr, bottom * 0.25, -4.2, 3.6, 4.6, 0.8);
        FlatFill(cr, pal::kGold, alpha, 1.0);
    }
    cairo_restore(cr);
}

void DrawScarfTail(cairo_t* cr, const RigStyle& s, const Joints& j, const Pose& p, double alpha) {
    if (s.accessory != Accessory::Scarf) return;
    // A ribbon from the back of the neck, hanging when still and flying
    // back when moving; its edges wave with the pose's phase.
    const double len = 15 + 5 * p.scarfLift;
    const double tail = Rad(-25 - 62 * p.scarfLift);  // rig angle: down-back when still, straight back at speed
    const Point base{j.neck.x - 4, j.neck.y + 2};
    const double ax = std::sin(tail), ay = std::cos(tail);  // main direction
    const double nx = -ay, ny = ax;                          // normal
    const int n = 8;
    Point upper[n + 1], lower[n + 1];
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double wave = std::sin(p.scarfWave + t * 5.0) * 2.2 * t;
        const double half = 2.8 * (1 - 0.45 * t);
        const Point c{base.x + ax * len * t + nx * wave, base.y + ay * len * t + ny * wave};
        upper[i] = Point{c.x + nx * half, c.y + ny * half};
        lower[i] = Point{c.x - nx * half, c.y - ny * half};
    }
    cairo_move_to(cr, upper[0].x, upper[0].y);
    for (int i = 1; i <= n; ++i) cairo_line_to(cr, upper[i].x, upper[i].y);
    // Forked end
    const Point tip{(upper[n].x + lower[n].x) / 2 + ax * 2.5, (upper[n].y + lower[n].y) / 2 + ay * 2.5};
    cairo_line_to(cr, tip.x - ax * 4, tip.y - ay * 4);
    for (int i = n; i >= 0; --i) cairo_line_to(cr, lower[i].x, lower[i].y);
    cairo_close_path(cr);
    ShadedFill(cr, Darker(s.accent, 0.08), alpha);
}

void DrawScarfBand(cairo_t* cr, const RigStyle& s, const Joints& j, const Pose& p, double alpha) {
    if (s.accessory != Accessory::Scarf) return;
    cairo_save(cr);
    cairo_translate(cr, j.neck.x, j.neck.y + 1.5);
    cairo_rotate(cr, Rad(p.lean));
    RoundedRectPath(cr, -s.torsoW * 0.5, -3.2, s.torsoW, 6.4, 3);
    ShadedFill(cr, s.accent, alpha);
    cairo_restore(cr);
}

void DrawHair(cairo_t* cr, const RigStyle& s, bool back, double alpha) {
    const double rx = s.headRx, ry = s.headRy;
    if (s.hairStyle == HairStyle::Bald) return;
    if (back) {
        EllipsePath(cr, 0, -1, rx + 1.5, ry + 1);
        ShadedFill(cr, s.hair, alpha);
        return;
    }
    if (s.hairStyle == HairStyle::Bob) {
        cairo_move_to(cr, -rx - 2, 6);
        cairo_curve_to(cr, -rx - 3, -ry - 4, rx + 3, -ry - 6, rx + 1.5, -2);
        cairo_line_to(cr, rx * 0.2, -ry * 0.35);
        cairo_curve_to(cr, -rx * 0.2, -ry * 0.1, -rx * 0.4, 4, -rx * 0.45, 9);
        cairo_close_path(cr);
        ShadedFill(cr, s.hair, alpha);
        return;
    }
    // Spiky: a cap over the top and back with three points over the brow
    // and one cowlick, so the head reads even as a silhouette.
    cairo_move_to(cr, -rx - 2, 5);
    cairo_curve_to(cr, -rx - 4, -ry * 0.6, -rx * 0.6, -ry - 5, 0, -ry - 3);
    cairo_line_to(cr, rx * 0.15, -ry - 8);  // cowlick
    cairo_line_to(cr, rx * 0.45, -ry - 1.5);
    cairo_curve_to(cr, rx * 0.95, -ry * 0.9, rx + 3, -ry * 0.4, rx + 2.5, -1);
    cairo_line_to(cr, rx * 0.62, -ry * 0.42);
    cairo_line_to(cr, rx * 0.42, -ry * 0.02);
    cairo_line_to(cr, rx * 0.18, -ry * 0.5);
    cairo_line_to(cr, -rx * 0.12, -ry * 0.1);
    cairo_line_to(cr, -rx * 0.25, -ry * 0.45);
    cairo_line_to(cr, -rx * 0.5, 0);
    cairo_curve_to(cr, -rx * 0.6, 3, -rx * 0.7, 6, -rx * 0.9, 9);
    cairo_close_path(cr);
    ShadedFill(cr, s.hair, alpha);
}

void DrawFace(cairo_t* cr, const RigStyle& s, const Pose& p, double alpha) {
    const double rx = s.headRx;
    const Rgb ink = pal::kInk;
    const double ex[2] = {rx * 0.22, rx * 0.68};
    const double ey = 2.0;
    for (int i = 0; i < 2; ++i) {
        const double scale = i == 0 ? 0.85 : 1.0;  // the far eye a little smaller
        switch (p.eyes) {
        case Eyes::Open:
        case Eyes::Focus: {
            const double h = p.eyes == Eyes::Focus ? 2.3 : 3.4;
            EllipsePath(cr, ex[i], ey, 2.1 * scale, h * scale);
            SetColor(cr, ink, alpha);
            cairo_fill(cr);
            EllipsePath(cr, ex[i] + 0.6, ey - 1.2 * scale, 0.9, 0.9);
            SetColor(cr, pal::kWhite, alpha);
            cairo_fill(cr);
            break;
        }
        case Eyes::Closed:
            cairo_move_to(cr, ex[i] - 2.2, ey);
            cairo_curve_to(cr, ex[i] - 1, ey + 1.6, ex[i] + 1, ey + 1.6, ex[i] + 2.2, ey);
            SetColor(cr, ink, alpha);
            cairo_set_line_width(cr, 1.4);
            cairo_stroke(cr);
            break;
        case Eyes::Hurt:  // squeezed shut: > <
            cairo_move_to(cr, ex[i] - 2 + (i ? 3 : 0), ey - 2);
            cairo_line_to(cr, ex[i] + (i ? -1 : 1.6), ey);
            cairo_line_to(cr, ex[i] - 2 + (i ? 3 : 0), ey + 2);
            SetColor(cr, ink, alpha);
            cairo_set_line_width(cr, 1.4);
            cairo_stroke(cr);
            break;
        case Eyes::Dead:
            cairo_move_to(cr, ex[i] - 2, ey - 2);
            cairo_line_to(cr, ex[i] + 2, ey + 2);
            cairo_move_to(cr, ex[i] + 2, ey - 2);
            cairo_line_to(cr, ex[i] - 2, ey + 2);
            SetColor(cr, ink, alpha);
            cairo_set_line_width(cr, 1.3);
            cairo_stroke(cr);
            break;
        }
    }
    // Blush and mouth
    EllipsePath(cr, rx * 0.55, 6.8, 2.6, 1.4);
    SetColor(cr, pal::kBlush, 0.7 * alpha);
    cairo_fill(cr);
    const double mx = rx * 0.5, my = 8.6;
    SetColor(cr, Darker(pal::kRed, 0.35), alpha);
    cairo_set_line_width(cr, 1.2);
    switch (p.mouth) {
    case Mouth::Smile:
        cairo_move_to(cr, mx - 1.8, my);
        cairo_curve_to(cr, mx - 0.8, my + 1.5, mx + 0.8, my + 1.5, mx + 1.8, my);
        cairo_stroke(cr);
        break;
    case Mouth::Flat:
        cairo_move_to(cr, mx - 1.6, my + 0.5);
        cairo_line_to(cr, mx + 1.6, my + 0.5);
        cairo_stroke(cr);
        break;
    case Mouth::Open:
    case Mouth::Ouch:
        EllipsePath(cr, mx, my + 0.6, 1.6, p.mouth == Mouth::Ouch ? 1.4 : 2.0);
        cairo_fill(cr);
        break;
    }
}

void DrawHead(cairo_t* cr, const RigStyle& s, const Joints& j, const Pose& p, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, j.head.x, j.head.y);
    cairo_rotate(cr, Rad(p.lean + p.headTilt));
    if (p.backView) {
        DrawHair(cr, s, true, alpha);
        cairo_restore(cr);
        return;
    }
    // Ear behind the face, then the face, then the hair over both.
    EllipsePath(cr, -s.headRx * 0.2, 2, 3, 3.4);
    ShadedFill(cr, s.skin, alpha, 1.5);
    EllipsePath(cr, 0, 0, s.headRx, s.headRy);
    ShadedFill(cr, s.skin, alpha);
    DrawFace(cr, s, p, alpha);
    DrawHair(cr, s, false, alpha);
    cairo_restore(cr);
}

}  // namespace

Joints PoseJoints(const RigStyle& style, const Pose& pose, double footX, double footY) {
    return Transform(Solve(style, pose, footX, footY));
}

Joints DrawFigure(cairo_t* cr, const RigStyle& s, const Pose& p, double footX, double footY) {
    const Frame f = Solve(s, p, footX, footY);
    const Joints& j = f.j;
    const double a = p.alpha;
    cairo_save(cr);
    if (f.rotate != 0) {
        cairo_translate(cr, f.pivot.x, f.pivot.y);
        cairo_rotate(cr, f.rotate);
        cairo_translate(cr, -f.pivot.x, -f.pivot.y);
    }
    const Point hipF{j.hip.x + (p.backView ? 4.5 : 1.5), j.hip.y};
    const Point hipB{j.hip.x - (p.backView ? 4.5 : 1.5), j.hip.y};
    if (!p.backView) {
        DrawArm(cr, s, j.shoulderB, j.elbowB, j.handB, true, a);
        DrawScarfTail(cr, s, j, p, a);
    }
    DrawLeg(cr, s, hipB, j.kneeB, j.footB, !p.backView, p.backView, a);
    DrawLeg(cr, s, hipF, j.kneeF, j.footF, false, p.backView, a);
    DrawTorso(cr, s, j, p, a);
    if (p.backView) {
        DrawArm(cr, s, j.shoulderB, j.elbowB, j.handB, false, a);
        DrawScarfBand(cr, s, j, p, a);
        DrawHead(cr, s, j, p, a);
        DrawArm(cr, s, j.shoulderF, j.elbowF, j.handF, false, a);
    } else {
        DrawScarfBand(cr, s, j, p, a);
        DrawHead(cr, s, j, p, a);
        DrawArm(cr, s, j.shoulderF, j.elbowF, j.handF, false, a);
    }
    cairo_restore(cr);
    return Transform(f);
}

void DrawHand(cairo_t* cr, const RigStyle& style, Point p, double alpha) {
    EllipsePath(cr, p.x, p.y, 3.3, 3.3);
    ShadedFill(cr, style.skin, alpha, 1.6);
}

}  // namespace contentgen
