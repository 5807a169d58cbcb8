// The player's movement and the terrain queries on hand-made ground.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "world/movement.h"
#include "world/terrain.h"

namespace {

constexpr float kMapWidth = 800, kMapHeight = 600;
constexpr float kW = 40, kH = 70;

wdm::GroundRecord Box(int left, int top, int width, int height, int kind = 0) {
    return {left, top, width, height, kind};
}

// Flat ground across the map: square 1, top 500.
Terrain Flat() {
    Terrain t;
    t.squares.push_back(Box(0, 500, 800, 100));
    return t;
}

void AddBlocking(Terrain& t, wdm::GroundRecord b) {
    b.kind = 1;
    t.squares.push_back(b);
    t.blockingSquares.push_back(b);
}

// A player standing on a square whose top is `groundTop`, feet 2 pixels in.
PlayerMotion StandingAt(float x, float groundTop = 500) {
    PlayerMotion p;
    p.width = kW;
    p.height = kH;
    p.x = x;
    p.y = groundTop + 2 - kH;
    p.currentGround = 1;
    p.Face(PlayerMotion::kFacingRight);
    return p;
}

MovementOutcome Step(PlayerMotion& p, const Terrain& t, MovementInput in = {}) {
    return UpdateMovement(p, t, in, kMapWidth, kMapHeight);
}

MovementInput Jump() {
    MovementInput in;
    in.jumpPressed = true;
    return in;
}

// ------------------------------------------------------------ jumping

TEST(Jump, RisesOneHundredAndNinePixelsOverThirtyFrames) {
    Terrain t = Flat();
    PlayerMotion p = StandingAt(100);
    const float y0 = p.y;
    Step(p, t, Jump());
    EXPECT_EQ(p.jumping, 1);
    EXPECT_FLOAT_EQ(p.y, y0);  // the rise starts next frame

    std::vector<float> rises;
    for (int frame = 1; frame <= 29; ++frame) {
        float before = p.y;
        Step(p, t);
        rises.push_back(before - p.y);
        EXPECT_EQ(p.jumping, 1);
    }
    std::vector<float> expected(18, 5.0f);
    expected.insert(expected.end(), 7, 2.0f);
    expected.insert(expected.end(), 4, 1.0f);
    EXPECT_EQ(rises, expected);

    // Frame 30 rises the last pixel (109 in all), ends the rise and, with no
    // ground under the feet, starts the fall in the same frame.
    Step(p, t);
    EXPECT_EQ(p.jumping, 0);
    EXPECT_EQ(p.state, PlayerMotion::kIdle);
    EXPECT_NEAR(p.y, y0 - 109 + 5.2f, 1e-4);
    EXPECT_EQ(p.currentGround, 0);

    for (int i = 0; i < 200 && p.currentGround == 0; ++i) Step(p, t);
    EXPECT_FLOAT_EQ(p.y, y0);
    EXPECT_EQ(p.jumpFrame, 0);
    EXPECT_FLOAT_EQ(p.fallSpeed, 0);
}

TEST(Jump, NoJumpStartsInTheAir) {
    Terrain t = Flat();
    PlayerMotion p = StandingAt(100, 300);  // nothing under the feet at 302
    Step(p, t);
    EXPECT_EQ(p.jumpFrame, 1);
    Step(p, t, Jump());
    EXPECT_EQ(p.jumping, 0);
}

TEST(Jump, ABlockingSquareOverheadStopsTheRiseWithinThreePixelsOfItsBottom) {
    for (int bottom : {380, 381, 382, 383, 384, 350, 347}) {
        SCOPED_TRACE(bottom);
        Terrain t = Flat();
        AddBlocking(t, Box(0, bottom - 40, 800, 40));
        PlayerMotion p = StandingAt(100);
        Step(p, t, Jump());
        float top = p.y;
        int risingFrames = 0;
        while (p.jumping == 1 && risingFrames < 40) {
            Step(p, t);
            top = std::min(top, p.y);
            ++risingFrames;
        }
        EXPECT_LT(risingFrames, 30);
        EXPECT_LE(std::abs(top - static_cast<float>(bottom)), 3.0f);
        for (int i = 0; i < 100 && p.currentGround != 1; ++i) Step(p, t);
        EXPECT_EQ(p.currentGround, 1);  // fell back to the floor
    }
}

// ------------------------------------------------------------ walking

TEST(Walk, StopsAtTheMapEdges) {
    struct Case {
        float x;
        bool left;
        float expectedX;
    };
    const Case cases[] = {
        {4, true, 4},        // x - 4 must stay above 0
        {4.5f, true, 0.5f},
        {756, false, 756},   // x + width + 4 must stay below the map width
        {755.5f, false, 759.5f},
    };
    Terrain t = Flat();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        PlayerMotion p = StandingAt(c.x);
        MovementInput in;
        (c.left ? in.leftHeld : in.rightHeld) = true;
        Step(p, t, in);
        EXPECT_FLOAT_EQ(p.x, c.expectedX);
        EXPECT_EQ(p.state, PlayerMotion::kWalking);
        EXPECT_EQ(p.facing, c.left ? 1 : 2);
        EXPECT_EQ(p.mirrorSign, c.left ? -1 : 1);
        EXPECT_FLOAT_EQ(p.attackOffset, c.left ? kW - 10 : 0);
    }
}

TEST(Walk, BlockingSquaresAreWalls) {
    Terrain t = Flat();
    AddBlocking(t, Box(300, 400, 50, 100));  // a wall standing on the floor
    PlayerMotion right = StandingAt(252);
    MovementInput in;
    in.rightHeld = true;
    Step(right, t, in);
    EXPECT_FLOAT_EQ(right.x, 256);
    Step(right, t, in);  // right edge 296: 4 short of the wall
    EXPECT_FLOAT_EQ(right.x, 256);

    PlayerMotion left = StandingAt(354);  // left edge 4 past the wall's right side
    in = {};
    in.leftHeld = true;
    Step(left, t, in);
    EXPECT_FLOAT_EQ(left.x, 354);
    left.x = 360;
    Step(left, t, in);
    EXPECT_FLOAT_EQ(left.x, 356);
}

TEST(Walk, BothArrowsWalkTowardTheLastOnePressed) {
    struct Case {
        const char* name;
        bool leftFirst, rightFirst;  // went down in the first frame
        bool leftSecond, rightSecond;
        float dx;
    };
    const Case cases[] = {
        {"together", true, true, false, false, +4},
        {"left then right", true, false, false, true, +4},
        {"right then left", false, true, true, false, -4},
    };
    Terrain t = Flat();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerMotion p = StandingAt(400);
        MovementInput in;
        in.leftHeld = c.leftFirst;
        in.rightHeld = c.rightFirst;
        in.leftDown = c.leftFirst;
        in.rightDown = c.rightFirst;
        Step(p, t, in);
        float before = p.x;
        in.leftHeld = in.rightHeld = true;
        in.leftDown = c.leftSecond;
        in.rightDown = c.rightSecond;
        Step(p, t, in);
        EXPECT_FLOAT_EQ(p.x - before, c.dx);
    }
}

TEST(Walk, TheCurseSwapsTheWalkKeysOnly) {
    Terrain t = Flat();
    t.stairs.push_back(Box(390, 300, 40, 200));
    PlayerMotion p = StandingAt(400);
    p.cursed = true;
    MovementInput in;
    in.leftHeld = true;
    Step(p, t, in);
    EXPECT_FLOAT_EQ(p.x, 404);
    EXPECT_EQ(p.facing, 2);
    in = {};
    in.rightHeld = true;
    Step(p, t, in);
    EXPECT_FLOAT_EQ(p.x, 400);
    EXPECT_EQ(p.facing, 1);

    in = {};
    in.upHeld = true;  // climbing is not swapped
    float y = p.y;
    Step(p, t, in);
    EXPECT_EQ(p.state, PlayerMotion::kClimbing);
    EXPECT_FLOAT_EQ(p.y, y - 2);
}

TEST(Walk, ReleasingAWalkKeyMakesThePlayerIdle) {
    Terrain t = Flat();
    PlayerMotion p = StandingAt(400);
    MovementInput in;
    in.rightHeld = true;
    Step(p, t, in);
    EXPECT_EQ(p.state, PlayerMotion::kWalking);
    in = {};
    in.walkKeyReleased = true;
    Step(p, t, in);
    EXPECT_EQ(p.state, PlayerMotion::kIdle);
}

// ------------------------------------------------------------ climbing

TEST(Climb, UpAndDownMoveTwoPixelsAndXDropsFromTheStair) {
    Terrain t = Flat();
    t.stairs.push_back(Box(390, 200, 40, 300));
    PlayerMotion p = StandingAt(400);
    MovementInput up;
    up.upHeld = true;
    for (int i = 0; i < 20; ++i) Step(p, t, up);
    EXPECT_EQ(p.state, PlayerMotion::kClimbing);
    const float onStair = p.y;
    EXPECT_FLOAT_EQ(onStair, 432 - 40);

    Step(p, t);  // nothing held: it stays
    EXPECT_FLOAT_EQ(p.y, onStair);
    EXPECT_EQ(p.state, PlayerMotion::kClimbing);

    Step(p, t, Jump());  // lets go instead of jumping
    EXPECT_EQ(p.state, PlayerMotion::kIdle);
    EXPECT_EQ(p.jumping, 0);
    EXPECT_NEAR(p.y, onStair + 5.2f, 1e-4);
    for (int i = 0; i < 50 && p.currentGround == 0; ++i) Step(p, t);
    EXPECT_FLOAT_EQ(p.y, 432);
}

// ------------------------------------------------------------ falling and standing

TEST(Fall, LandingOnASquarePutsTheFeetTwoPixelsIn) {
    Terrain t = Flat();
    PlayerMotion p = StandingAt(100, 200);
    p.currentGround = 0;
    for (int i = 0; i < 100 && p.currentGround == 0; ++i) Step(p, t);
    EXPECT_EQ(p.currentGround, 1);
    EXPECT_FLOAT_EQ(p.y + p.height, 502);
    EXPECT_FLOAT_EQ(p.fallSpeed, 0);
}

TEST(Fall, LandingOnASlopePutsTheFeetOnTheDiagonal) {
    struct Case {
        int kind;
        float x;
        float surface;
    };
    // Slope (100, 400, 100, 100). Kind 0 rises to the right and is measured
    // under the right foot; kind 1 falls to the right, under the left foot.
    const Case cases[] = {{0, 120, 440}, {0, 100, 460}, {1, 130, 430}, {1, 155, 455}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind * 1000 + c.x);
        Terrain t = Flat();
        t.slopes.push_back(Box(100, 400, 100, 100, c.kind));
        PlayerMotion p = StandingAt(c.x, 250);
        p.currentGround = 0;
        for (int i = 0; i < 100 && p.currentGround == 0; ++i) Step(p, t);
        EXPECT_EQ(p.currentGround, -1);
        EXPECT_FLOAT_EQ(p.y + p.height, c.surface);
    }
}

TEST(Fall, FeetPastASquaresTopByMoreThanFallSpeedPlusFiveFallThrough) {
    // A thin square; the player's feet are already below its top (after
    // climbing down through it, for example) and falling at speed 10.
    struct Case {
        float feetBelowTop;
        bool lands;
    };
    const Case cases[] = {{15, true}, {15.5f, false}, {3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.feetBelowTop);
        Terrain t;
        t.squares.push_back(Box(0, 300, 800, 10));
        PlayerMotion p = StandingAt(100);
        p.currentGround = 0;
        p.fallSpeed = 10;
        p.y = 300 + c.feetBelowTop - kH;
        Step(p, t);
        EXPECT_EQ(p.currentGround != 0, c.lands);
    }
}

TEST(Stand, StillOnASlopeFacingDownStaysOnTheSurface) {
    struct Case {
        int kind;
        int facing;  // down the slope
        float x;
    };
    const Case cases[] = {{0, PlayerMotion::kFacingLeft, 120}, {1, PlayerMotion::kFacingRight, 130}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Terrain t;
        t.slopes.push_back(Box(100, 400, 100, 100, c.kind));
        PlayerMotion p = StandingAt(c.x);
        p.Face(c.facing);
        p.currentGround = 0;
        p.y = 0;
        for (int i = 0; i < 100 && p.currentGround == 0; ++i) Step(p, t);
        ASSERT_EQ(p.currentGround, -1);
        const float y = p.y;
        for (int i = 0; i < 30; ++i) {
            Step(p, t);
            EXPECT_FLOAT_EQ(p.y, y);
            EXPECT_EQ(p.currentGround, -1);
        }
    }
}

TEST(Walk, OffATerraceDownASlopeFromItsEdgeWithoutFalling) {
    // A terrace whose right edge is the top of a slope falling to the right,
    // and the same mirrored: the player walks down, never through.
    struct Case {
        int kind, facing;
        float startX;
    };
    const Case cases[] = {{1, PlayerMotion::kFacingRight, 250}, {0, PlayerMotion::kFacingLeft, 530}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Terrain t;
        t.squares.push_back(Box(0, 500, 800, 100));  // the ground below
        const bool right = c.kind == 1;
        t.squares.push_back(right ? Box(100, 412, 200, 88) : Box(500, 412, 200, 88));  // the terrace
        t.slopes.push_back(right ? Box(300, 412, 88, 88, 1) : Box(412, 412, 88, 88, 0));
        PlayerMotion p = StandingAt(c.startX, 412);
        p.currentGround = 2;
        p.Face(c.facing);
        MovementInput in;
        (right ? in.rightHeld : in.leftHeld) = true;
        // Twenty steps cross the terrace's edge onto the upper half of the slope.
        for (int i = 0; i < 20; ++i) {
            Step(p, t, in);
            EXPECT_NE(p.currentGround, 0) << "frame " << i << " at x " << p.x;
        }
        EXPECT_EQ(p.currentGround, -1);
        for (int i = 0; i < 40; ++i) Step(p, t, in);
        EXPECT_EQ(p.currentGround, 1);
        EXPECT_FLOAT_EQ(p.y + p.height, 502);
    }
}

TEST(Fall, BelowTheBottomOfTheMapIsReported) {
    Terrain t;  // nothing to stand on
    PlayerMotion p = StandingAt(100, 300);
    p.currentGround = 0;
    int frames = 0;
    MovementOutcome out;
    while (!out.fellBelowMap && frames < 200) {
        float before = p.y;
        out = Step(p, t);
        ++frames;
        if (!out.fellBelowMap) {
            EXPECT_LE(p.y, kMapHeight);
        } else {
            EXPECT_LE(before, kMapHeight);
            EXPECT_GT(p.y, kMapHeight);
        }
    }
    EXPECT_TRUE(out.fellBelowMap);
}

// ------------------------------------------------------------ camera lead

TEST(Lead, WalkingLeadsTheCameraAndIdleRelaxesIt) {
    Terrain t = Flat();
    PlayerMotion p = StandingAt(400);
    MovementInput in;
    in.rightHeld = true;
    for (int i = 0; i < 50; ++i) Step(p, t, in);
    EXPECT_FLOAT_EQ(p.leadX, 30);
    in = {};
    in.walkKeyReleased = true;
    Step(p, t, in);
    EXPECT_FLOAT_EQ(p.leadX, 29);  // idle: by 1 beyond 5
    for (int i = 0; i < 24; ++i) Step(p, t);
    EXPECT_FLOAT_EQ(p.leadX, 5);
    Step(p, t);
    EXPECT_NEAR(p.leadX, 4.7f, 1e-5);  // by 0.3 within 5
    for (int i = 0; i < 30; ++i) Step(p, t);
    EXPECT_FLOAT_EQ(p.leadX, 0);
}

// ------------------------------------------------------------ placement

TEST(Placement, OffsetFlushRightAndFeetTwoPixelsIn) {
    PlayerMotion p = StandingAt(0);
    wdm::GroundRecord g = Box(100, 300, 200, 20);
    PlaceOnGround(p, g, 10, 0);
    EXPECT_FLOAT_EQ(p.x, 110);
    EXPECT_FLOAT_EQ(p.y + p.height, 302);
    PlaceOnGround(p, g, 190, 0);  // past the right end
    EXPECT_FLOAT_EQ(p.x, 260);
    PlaceOnGround(p, g, -1, 37);
    EXPECT_FLOAT_EQ(p.x, 137);
}

// ------------------------------------------------------------ queries

TEST(Terrain, StairTestUsesOnlyTheStairWidthAcross) {
    Terrain t;
    t.stairs.push_back(Box(400, 300, 40, 100));
    struct Case {
        int x, y;
        bool up;
        int expected;
    };
    const Case cases[] = {
        {380, 300, true, 1},   // x + 10 >= 380 and x <= 410
        {369, 300, true, 0},   // too far left
        {410, 300, true, 1},
        {411, 300, true, 0},   // too far right
        {400, 415, true, 1},   // up: y < top + height + 20
        {400, 420, true, 0},
        {400, 395, false, 1},  // down: y < top + height
        {400, 400, false, 0},
        {400, 221, false, 1},  // down: feet + 5 > top - 5
        {400, 220, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << (c.up ? " up" : " down"));
        EXPECT_EQ(terrain::StairTest(t, c.x, c.y, 40, 70, c.up), c.expected);
    }
}

TEST(Terrain, WallTestAnswersTheFirstBlockingSquare) {
    Terrain t;
    t.blockingSquares.push_back(Box(100, 100, 50, 50, 1));
    t.blockingSquares.push_back(Box(90, 100, 70, 50, 1));
    EXPECT_EQ(terrain::WallTest(t, 56, 100, 40, 70, 2, 0), 1);  // right edge 96 + 4 reaches 100
    EXPECT_EQ(terrain::WallTest(t, 46, 100, 40, 70, 2, 0), 2);
    EXPECT_EQ(terrain::WallTest(t, 45, 100, 40, 70, 2, 0), 0);
    EXPECT_EQ(terrain::WallTest(t, 100, 155, 40, 70, 1, 1), 0);  // head 5 below the bottom
    EXPECT_EQ(terrain::WallTest(t, 100, 153, 40, 70, 1, 1), 1);
    EXPECT_EQ(terrain::WallTest(t, 100, 26, 40, 70, 2, 0), 0);   // feet - 5 above the top
}

}  // namespace
