#pragma once
// The character rig: a chibi figure built from body parts (head, torso, two
// arms, two legs, hair and an accessory) whose joint angles come from a Pose.
// Players, NPCs and humanoid monsters are drawn with the same rig and a
// different RigStyle; an animation is a list of poses.
//
// Angles are in degrees for a figure facing right: 0 points straight down,
// positive turns the limb forward (toward +x), 90 is horizontal forward and
// 180 straight up. A knee bend turns the shin backward, an elbow bend turns
// the forearm forward. The figure stands with its feet on (footX, footY);
// the supporting leg is the one reaching lowest, so stride and knee bends
// raise and lower the hips by themselves (the walk bob).

#include "canvas.h"

namespace contentgen {

enum class HairStyle { Spiky, Bob, Bald };
enum class Accessory { None, Scarf };
enum class Eyes { Open, Closed, Hurt, Dead, Focus };
enum class Mouth { Smile, Open, Flat, Ouch };

struct RigStyle {
    // Proportions in pixels. The defaults give a figure about 70 px tall
    // with a head a third of that.
    double headRx = 15, headRy = 14;
    double torsoW = 18, torsoH = 17;
    double thigh = 10, shin = 9;
    double upperArm = 8, forearm = 8;
    double limbW = 7, bootH = 2;

    Rgb skin = pal::kSkin;
    Rgb hair = pal::kHair;
    Rgb shirt = pal::kBlue;
    Rgb sleeve = pal::kCream;
    Rgb trousers = pal::kWood;
    Rgb boots = pal::kHair;
    Rgb belt = pal::kHair;
    Rgb accent = pal::kRed;  // the one accent colour (scarf)
    HairStyle hairStyle = HairStyle::Spiky;
    Accessory accessory = Accessory::Scarf;
};

struct Pose {
    double rootX = 0, rootY = 0;  // shift of the whole figure (rootY < 0 lifts it)
    double lean = 0;              // torso, + forward
    double headTilt = 0;          // + nods forward
    double breath = 0;            // 0..1 chest rise of the idle loop
    double armF = 10, elbowF = 10, armB = -10, elbowB = 10;
    double legF = 0, kneeF = 0, legB = 0, kneeB = 0;
    double weaponAngle = 180;     // held weapon's direction, absolute
    double scarfLift = 0;         // 0 hangs, 1 flies straight back
    double scarfWave = 0;         // phase of the ribbon's wave (radians)
    double rotate = 0;            // whole figure around its middle (falls), + forward
    double alpha = 1;
    bool backView = false;        // seen from behind (climbing)
    Eyes eyes = Eyes::Open;
    Mouth mouth = Mouth::Smile;
};

// Joint positions of a posed figure, in canvas pixels, after rotation.
struct Joints {
    Point hip, neck, head;
    Point shoulderF, elbowF, handF, shoulderB, elbowB, handB;
    Point kneeF, footF, kneeB, footB;
    double weaponAngle = 0;  // canvas radians of the weapon axis (from +x)
};

// Computes the joints without drawing.
Joints PoseJoints(const RigStyle& style, const Pose& pose, double footX, double footY);

// Draws the posed figure; returns its joints (where a weapon goes).
Joints DrawFigure(cairo_t* cr, const RigStyle& style, const Pose& pose, double footX, double footY);

// Draws a hand (a small skin-coloured fist) at p: weapon layers draw it over
// the handle so the grip reads.
void DrawHand(cairo_t* cr, const RigStyle& style, Point p, double alpha = 1);

}  // namespace contentgen
