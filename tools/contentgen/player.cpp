// The player: a chibi broom-wielder with a red scarf. Every animation is a
// list of poses for the shared rig; the body and the broom overlay are drawn
// from the same pose into two pictures of the same size and anchor, so the
// overlay lines up on every frame.

#include "generate.h"
#include "props.h"
#include "rig.h"

#include <cmath>
#include <string>
#include <vector>

namespace contentgen {

namespace {

using PF = PlayerFrame;

struct FrameSpec {
    Pose pose;
    double smearFrom = 0, smearTo = 0, smear = 0;  // rig angles of a swing trail
    double impact = 0;                             // star at the bristles
    double castGlow = 0;                           // light gathering at the hands
    double circle = 0;                             // magic circle at the feet
    double burst = 0;                              // release flash
    bool broomOnBack = false;
    bool broomDropped = false;                     // lies free at dropX, dropY
    double dropX = 0, dropY = 0, dropAngle = 0;    // canvas pixels and radians
};

struct Animation {
    const char* body;
    const char* weapon;
    bool loops;  // the extra closing frame repeats frame 0 (loops) or the last frame
    std::vector<FrameSpec> frames;
};

RigStyle PlayerStyle() { return RigStyle{}; }

Pose Base() {
    Pose p;
    p.lean = 2;
    p.armF = 28;
    p.elbowF = 28;
    p.armB = -12;
    p.elbowB = 15;
    p.legF = 6;
    p.legB = -5;
    p.weaponAngle = 152;
    return p;
}

std::vector<FrameSpec> Idle() {
    std::vector<FrameSpec> v;
    const double breath[4] = {0, 0.5, 1, 0.5};
    for (double b : breath) {
        FrameSpec f;
        f.pose = Base();
        f.pose.breath = b;
        f.pose.armB = -12 - 3 * b;
        f.pose.scarfWave = b * 1.5;
        f.pose.weaponAngle = 152 - b;
        v.push_back(f);
    }
    return v;
}

std::vector<FrameSpec> Walk() {
    std::vector<FrameSpec> v;
    for (int i = 0; i < 8; ++i) {
        const double t = 2 * kPi * i / 8.0;
        const double s = std::sin(t), c = std::cos(t);
        FrameSpec f;
        Pose& p = f.pose;
        p = Base();
        p.lean = 7;
        p.headTilt = -2;
        p.legF = 30 * s;
        p.legB = -30 * s;
        p.kneeF = 6 + 30 * std::max(0.0, c);
        p.kneeB = 6 + 30 * std::max(0.0, -c);
        p.armB = 32 * s;
        p.elbowB = 25;
        p.armF = 30 - 8 * s;
        p.weaponAngle = 140 + 5 * s;
        p.scarfLift = 0.85;
        p.scarfWave = t;
        v.push_back(f);
    }
    return v;
}

Pose Ready(double crouch) {
    Pose p;
    p.lean = 9;
    p.legF = 24;
    p.kneeF = 20 + crouch * 6;
    p.legB = -22;
    p.kneeB = 12 + crouch * 6;
    p.armF = 55;
    p.elbowF = 40;
    p.armB = 40;
    p.elbowB = 70;
    p.weaponAngle = 132;
    p.eyes = Eyes::Focus;
    p.mouth = Mouth::Flat;
    p.scarfLift = 0.25;
    return p;
}

std::vector<FrameSpec> ReadyLoop() {
    std::vector<FrameSpec> v;
    const double crouch[4] = {0, 0.5, 1, 0.5};
    for (int i = 0; i < 4; ++i) {
        FrameSpec f;
        f.pose = Ready(crouch[i]);
        f.pose.scarfWave = i * 1.2;
        f.pose.weaponAngle = 132 + crouch[i] * 3;
        v.push_back(f);
    }
    return v;
}

std::vector<FrameSpec> Attack() {
    // Anticipation (0, 1), swing (2, 3), impact (4), follow-through (5), recovery (6).
    struct K {
        double lean, armF, elbowF, weapon, legF, kneeF, legB, rootY, smearFrom, smear, impact;
    };
    const K keys[7] = {
        {-6, -45, 30, 250, 20, 16, -20, 0, 0, 0, 0},
        {-11, -70, 20, 272, 24, 24, -22, 1, 0, 0, 0},
        {2, 170, 0, 182, 26, 14, -24, 0, 268, 0.5, 0},
        {12, 112, 0, 118, 32, 10, -26, 0, 205, 1.0, 0},
        {17, 80, 0, 68, 34, 8, -28, 1, 160, 0.9, 1},
        {14, 55, 8, 38, 32, 12, -26, 1, 95, 0.35, 0.4},
        {9, 52, 32, 110, 26, 18, -22, 0, 0, 0, 0},
    };
    std::vector<FrameSpec> v;
    for (const K& k : keys) {
        FrameSpec f;
        Pose& p = f.pose;
        p = Ready(0);
        p.lean = k.lean;
        p.armF = k.armF;
        p.elbowF = k.elbowF;
        p.weaponAngle = k.weapon;
        p.legF = k.legF;
        p.kneeF = k.kneeF;
        p.legB = k.legB;
        p.rootY = k.rootY;
        p.armB = k.lean < 0 ? 60 : -20;
        p.elbowB = k.lean < 0 ? 50 : 30;
        p.mouth = k.smear > 0.8 ? Mouth::Open : Mouth::Flat;
        p.scarfLift = k.smear > 0 ? 0.7 : 0.3;
        p.scarfWave = k.weapon * 0.03;
        f.smearFrom = k.smearFrom;
        f.smearTo = k.weapon;
        f.smear = k.smear;
        f.impact = k.impact;
        v.push_back(f);
    }
    return v;
}

std::vector<FrameSpec> Climb() {
    std::vector<FrameSpec> v;
    for (int i = 0; i < 2; ++i) {
        const double m = i == 0 ? 1 : -1;
        FrameSpec f;
        Pose& p = f.pose;
        p.backView = true;
        p.armF = i == 0 ? 172 : 140;
        p.elbowF = i == 0 ? 0 : 30;
        p.armB = i == 0 ? -140 : -172;
        p.elbowB = i == 0 ? -30 : 0;
        p.legF = 22 * m;
        p.kneeF = i == 0 ? 50 : 0;
        p.legB = i == 0 ? 0 : -22;
        p.kneeB = i == 0 ? 0 : -50;
        p.rootY = i == 0 ? -1 : 0;
        f.broomOnBack = true;
        v.push_back(f);
    }
    return v;
}

std::vector<FrameSpec> Hit() {
    FrameSpec a, b;
    Pose& p = a.pose;
    p.rootX = -4;
    p.lean = -16;
    p.headTilt = -10;
    p.armF = -30;
    p.elbowF = 40;
    p.armB = -70;
    p.elbowB = 30;
    p.legF = 20;
    p.kneeF = 12;
    p.legB = -8;
    p.weaponAngle = 235;
    p.eyes = Eyes::Hurt;
    p.mouth = Mouth::Ouch;
    p.scarfLift = 0.6;
    p.scarfWave = 1;
    Pose& q = b.pose;
    q = Base();
    q.rootX = -1;
    q.lean = -7;
    q.headTilt = -4;
    q.weaponAngle = 150;
    q.eyes = Eyes::Closed;
    q.mouth = Mouth::Flat;
    q.scarfWave = 2;
    return {a, b};
}

std::vector<FrameSpec> Death() {
    std::vector<FrameSpec> v;
    struct K {
        double rotate, rootY, armF, armB, legF, kneeF, legB, kneeB, alpha;
        Eyes eyes;
    };
    const K keys[5] = {
        {0, 0, -20, -50, 25, 45, -5, 40, 1, Eyes::Hurt},
        {-28, 3, 110, 95, 20, 30, -5, 20, 1, Eyes::Hurt},
        {-58, 8, 140, 120, 15, 15, -5, 10, 1, Eyes::Dead},
        {-88, 12, 165, 125, 10, 5, -6, 5, 0.85, Eyes::Dead},
        {-88, 12, 165, 125, 10, 5, -6, 5, 0.45, Eyes::Dead},
    };
    // The broom slips from the hand as the body tips and lands in front.
    const double drops[5][3] = {{0, 0, 0}, {0, 0, 0}, {94, 80, 0.9}, {76, 106, -0.06}, {76, 106, -0.06}};
    int i = 0;
    for (const K& k : keys) {
        FrameSpec f;
        f.broomDropped = i >= 2;
        f.dropX = drops[i][0];
        f.dropY = drops[i][1];
        f.dropAngle = drops[i][2];
        ++i;
        Pose& p = f.pose;
        p.rotate = k.rotate;
        p.rootY = k.rootY;
        p.lean = k.rotate == 0 ? -18 : 0;
        p.armF = k.armF;
        p.elbowF = 10;
        p.armB = k.armB;
        p.elbowB = 10;
        p.legF = k.legF;
        p.kneeF = k.kneeF;
        p.legB = k.legB;
        p.kneeB = k.kneeB;
        p.alpha = k.alpha;
        p.eyes = k.eyes;
        p.mouth = Mouth::Ouch;
        p.weaponAngle = 230;
        v.push_back(f);
    }
    return v;
}

std::vector<FrameSpec> Cast() {
    struct K {
        double lean, armF, elbowF, armB, elbowB, weapon, glow, circle, burst;
        Eyes eyes;
    };
    const K keys[8] = {
        {0, 60, 40, 10, 30, 150, 0.15, 0.0, 0, Eyes::Focus},
        {-2, 120, 20, 80, 20, 160, 0.3, 0.25, 0, Eyes::Focus},
        {-4, 150, 5, 130, 10, 165, 0.5, 0.5, 0, Eyes::Closed},
        {-4, 152, 5, 132, 10, 166, 0.7, 0.75, 0, Eyes::Closed},
        {-5, 154, 5, 134, 10, 167, 0.9, 1.0, 0, Eyes::Closed},
        {-5, 154, 5, 134, 10, 167, 1.0, 1.0, 0, Eyes::Open},
        {10, 95, 0, 60, 10, 100, 0.6, 0.6, 1, Eyes::Open},
        {5, 60, 35, 10, 30, 140, 0.15, 0.2, 0, Eyes::Focus},
    };
    std::vector<FrameSpec> v;
    int i = 0;
    for (const K& k : keys) {
        FrameSpec f;
        Pose& p = f.pose;
        p.lean = k.lean;
        p.armF = k.armF;
        p.elbowF = k.elbowF;
        p.armB = k.armB;
        p.elbowB = k.elbowB;
        p.weaponAngle = k.weapon;
        p.legF = 16;
        p.kneeF = 8;
        p.legB = -14;
        p.kneeB = 6;
        p.eyes = k.eyes;
        p.mouth = k.burst > 0 ? Mouth::Open : Mouth::Flat;
        p.scarfLift = 0.2 + 0.5 * k.circle;
        p.scarfWave = i++ * 0.9;
        f.castGlow = k.glow;
        f.circle = k.circle;
        f.burst = k.burst;
        v.push_back(f);
    }
    return v;
}

FrameSpec Jump() {
    FrameSpec f;
    Pose& p = f.pose;
    p.lean = 6;
    p.legF = 48;
    p.kneeF = 90;
    p.legB = -12;
    p.kneeB = 60;
    p.armF = 140;
    p.elbowF = -10;
    p.armB = -120;
    p.elbowB = 25;
    p.weaponAngle = 165;
    p.scarfLift = 0.9;
    p.scarfWave = 2;
    p.mouth = Mouth::Open;
    return f;
}

void DrawMagicCircle(cairo_t* cr, double cx, double cy, double strength) {
    if (strength <= 0) return;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    const double rx = 14 + 16 * strength, ry = rx * 0.28;
    for (int ring = 0; ring < 2; ++ring) {
        EllipsePath(cr, cx, cy, rx - ring * 6, ry - ring * 1.7);
        SetColor(cr, ring ? pal::kWhite : pal::kCyan, 0.75 * strength);
        cairo_set_line_width(cr, ring ? 1.0 : 2.0);
        cairo_stroke(cr);
    }
    for (int k = 0; k < 6; ++k) {
        const double a = k * kPi / 3 + strength * 1.3;
        Glow(cr, cx + std::cos(a) * rx, cy + std::sin(a) * ry, 4, pal::kCyan, strength);
    }
    cairo_restore(cr);
}

void DrawBodyOpaque(Canvas& c, const RigStyle& style, const FrameSpec& f) {
    cairo_t* cr = c.cr();
    DrawMagicCircle(cr, PF::kFootX, PF::kFootY - 1, f.circle);
    DrawFigure(cr, style, f.pose, PF::kFootX, PF::kFootY);
    // Motes of light rising around the caster as the spell gathers.
    for (int k = 0; k < 6 && f.castGlow > 0; ++k) {
        const double rise = std::fmod(k * 0.37 + f.castGlow * 0.9, 1.0);
        const double x = PF::kFootX + std::sin(k * 2.1 + f.castGlow * 3) * (14 + k * 2.5);
        const double y = PF::kFootY - 6 - rise * 60;
        Glow(cr, x, y, 3 + 2.5 * f.castGlow, pal::kCyan, f.castGlow * (1 - rise * 0.6));
    }
}

void DrawWeaponOpaque(Canvas& c, const RigStyle& style, const FrameSpec& f) {
    cairo_t* cr = c.cr();
    const Joints j = PoseJoints(style, f.pose, PF::kFootX, PF::kFootY);
    const double alpha = 1.0;
    if (f.broomDropped) {
        DrawBroom(cr, Point{f.dropX, f.dropY}, f.dropAngle, alpha);
        return;
    }
    if (f.broomOnBack) {
        // Strapped across the back while both hands climb.
        const Point grip{j.hip.x - 7, j.hip.y + 2};
        DrawBroom(cr, grip, CanvasAngle(205) + Rad(f.pose.rotate), alpha);
        return;
    }
    if (f.smear > 0) {
        const double radius = std::hypot(j.handF.x - j.shoulderF.x, j.handF.y - j.shoulderF.y) + 32;
        DrawSwingSmear(cr, j.shoulderF, radius, CanvasAngle(f.smearFrom + f.pose.lean),
                       CanvasAngle(f.smearTo + f.pose.lean), f.smear);
    }
    const Point tip = DrawBroom(cr, j.handF, j.weaponAngle, alpha);
    DrawHand(cr, style, j.handF, alpha);
    if (f.impact > 0) {
        cairo_save(cr);
        StarPath(cr, tip.x, tip.y, 9 * f.impact, 3.5 * f.impact, 4, 0.3);
        SetColor(cr, pal::kWhite, 0.9 * f.impact);
        cairo_fill(cr);
        cairo_restore(cr);
        Glow(cr, tip.x, tip.y, 14 * f.impact, pal::kGold, 0.8 * f.impact);
    }
    if (f.castGlow > 0) {
        const Point end{tip.x + std::cos(j.weaponAngle) * 6, tip.y + std::sin(j.weaponAngle) * 6};
        Glow(cr, end.x, end.y, 6 + 12 * f.castGlow, pal::kCyan, f.castGlow);
        cairo_save(cr);
        StarPath(cr, end.x, end.y, 3 + 5 * f.castGlow, 1.2 + 1.5 * f.castGlow, 4, f.castGlow);
        SetColor(cr, pal::kWhite, 0.9 * f.castGlow);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    if (f.burst > 0) {
        // Kept inside the frame: the thrust points the bristles at its edge.
        const Point end{tip.x + std::cos(j.weaponAngle) * 2, tip.y + std::sin(j.weaponAngle) * 2};
        Glow(cr, end.x, end.y, 13 * f.burst, pal::kCyan, f.burst);
        Glow(cr, end.x, end.y, 7 * f.burst, pal::kWhite, f.burst);
    }
}

// Draws opaque first and fades the finished picture, so overlapping parts of
// a fading figure do not show through each other.
void DrawFaded(Canvas& c, const RigStyle& style, FrameSpec f, void (*draw)(Canvas&, const RigStyle&, const FrameSpec&)) {
    const double alpha = f.pose.alpha;
    f.pose.alpha = 1;
    if (alpha >= 1) {
        draw(c, style, f);
        return;
    }
    Canvas solid(c.width(), c.height());
    draw(solid, style, f);
    c.Paste(solid, 0, 0, 1.0, alpha);
}

void DrawBody(Canvas& c, const RigStyle& style, const FrameSpec& f) { DrawFaded(c, style, f, DrawBodyOpaque); }
void DrawWeapon(Canvas& c, const RigStyle& style, const FrameSpec& f) { DrawFaded(c, style, f, DrawWeaponOpaque); }

void WriteAnimation(Output& out, const RigStyle& style, const Animation& anim) {
    const int n = static_cast<int>(anim.frames.size());
    // One extra closing frame (index n) so players that count frames from 1
    // also find a picture: it repeats frame 0 for loops, the last frame else.
    for (int i = 0; i <= n; ++i) {
        const FrameSpec& f = anim.frames[i < n ? i : (anim.loops ? 0 : n - 1)];
        Canvas body(PF::kWidth, PF::kHeight), weapon(PF::kWidth, PF::kHeight);
        DrawBody(body, style, f);
        DrawWeapon(weapon, style, f);
        out.Frame(std::string("人物/") + anim.body, i, body, PF::kAnchorX, -PF::kAnchorY);
        out.Frame(std::string("武器/扫把/") + anim.weapon, i, weapon, PF::kAnchorX, -PF::kAnchorY);
    }
}

// The attack definitions under 魔法/: the swing's reach, drawn as a light
// trail in front of the player (the game also takes the current frame as the
// swing's hit box). "攻击1": 3 frames, a forward arc from overhead to the
// ground; its picture starts 25 px right of the anchor (the box's left
// edge) and 15 px above it. "攻击2": 5 frames, a whirl around the player; the
// game draws it 50 px left of the anchor, so its picture starts 5 px right
// of that.
void WriteAttackTrails(Output& out) {
    {
        const double strength[3] = {0.8, 1.0, 0.5};
        const double from[3] = {-100, -80, -40};
        const double to[3] = {-10, 40, 60};
        for (int i = 0; i <= 3; ++i) {
            const int k = i < 3 ? i : 2;
            Canvas c(80, 90);
            cairo_t* cr = c.cr();
            const Point pivot{-6, 58};
            DrawSwingSmear(cr, pivot, 70, Rad(from[k]), Rad(to[k]), strength[k]);
            DrawSwingSmear(cr, pivot, 56, Rad(from[k] + 15), Rad(to[k]), strength[k] * 0.6);
            if (k == 1) {
                const double a = Rad(to[k]);
                const double tx = pivot.x + std::cos(a) * 66, ty = pivot.y + std::sin(a) * 66;
                Glow(cr, tx, ty, 12, pal::kGold, 0.7);
                StarPath(cr, tx, ty, 7, 2.5, 4, 0.2);
                SetColor(cr, pal::kWhite, 0.9);
                cairo_fill(cr);
            }
            out.Frame("魔法/攻击1", i, c, -25, -15);
        }
    }
    {
        for (int i = 0; i <= 5; ++i) {
            const int k = i < 5 ? i : 4;
            Canvas c(150, 80);
            cairo_t* cr = c.cr();
            const Point pivot{75, 42};
            const double start = -90 + 72 * k;
            const double fade = k < 4 ? 1.0 : 0.45;
            cairo_save(cr);
            cairo_translate(cr, pivot.x, pivot.y);
            cairo_scale(cr, 1.0, 0.5);  // a flat ring around the waist
            DrawSwingSmear(cr, Point{0, 0}, 62, Rad(start), Rad(start + 150), fade);
            DrawSwingSmear(cr, Point{0, 0}, 50, Rad(start + 30), Rad(start + 150), 0.6 * fade);
            cairo_restore(cr);
            out.Frame("魔法/攻击2", i, c, 5, 5);
        }
    }
}

}  // namespace

void GeneratePlayer(Output& out) {
    WriteAttackTrails(out);
    const RigStyle style = PlayerStyle();
    const Animation anims[] = {
        {"原地", "10", true, Idle()},
        {"慢跑", "24", true, Walk()},
        {"待战", "1", true, ReadyLoop()},
        {"攻击_右手", "攻击_右手", false, Attack()},
        {"上爬", "4", true, Climb()},
        {"被攻击", "被攻击", false, Hit()},
        {"死亡", "死亡", false, Death()},
        {"魔法", "魔法", false, Cast()},
    };
    for (const Animation& a : anims) WriteAnimation(out, style, a);

    const FrameSpec jump = Jump();
    Canvas body(PF::kWidth, PF::kHeight), weapon(PF::kWidth, PF::kHeight);
    DrawBody(body, style, jump);
    DrawWeapon(weapon, style, jump);
    out.Frame("人物/跳跃", 0, body, PF::kAnchorX, -PF::kAnchorY);
    out.Frame("武器/扫把/跳跃", 0, weapon, PF::kAnchorX, -PF::kAnchorY);
}

}  // namespace contentgen
