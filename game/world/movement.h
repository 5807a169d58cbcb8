#pragma once
// The player's per-frame movement: jumping, walking, climbing, falling and
// standing, and the camera lead the camera follows. Everything is counted in
// frames (pixels per frame, no time step), so the update is a function of
// the movement state, the terrain and the keys alone.

#include "world/terrain.h"

// The movement fields of the player record. The player derives from this, so
// the map, the effects and the drawing read the same fields.
struct PlayerMotion {
    static constexpr int kIdle = 1, kWalking = 2, kReady = 4, kAttacking = 6, kClimbing = 9, kHit = 10,
                         kDead = 11, kCasting = 12;
    static constexpr int kFacingLeft = 1, kFacingRight = 2;

    int state = kIdle;
    float x = 0, y = 0;          // top-left of the box
    float width = 0, height = 0;
    int facing = kFacingRight;
    int mirrorSign = 1;          // -1 facing left
    float attackOffset = 0;      // width - 10 facing left, 0 facing right
    int jumping = 0;             // 1 while rising
    int jumpFrame = 0;           // 0..30; kept at 1 in the air so no jump starts there
    float fallSpeed = 0;         // extra fall per frame, grows while falling
    float leadX = 0, leadY = 0;  // camera lead, within [-30, 30] and [-90, 90]
    int currentGround = 0;       // n > 0 square n, -n slope n, 0 nothing
    int lastArrow = 0;           // arrow that went down last: 1 Left, 2 Right
    bool cursed = false;         // read only: the walk keys are swapped

    // Sets facing, mirror sign and attack offset together: 1 is left, any
    // other value right.
    void Face(int newFacing);
};

// The keys of one frame.
struct MovementInput {
    bool leftHeld = false, rightHeld = false, upHeld = false, downHeld = false;
    bool leftDown = false, rightDown = false;  // went down in this frame
    bool jumpPressed = false;                  // X went down in this frame
    bool walkKeyReleased = false;              // Left or Right released in this frame
    bool attackStarted = false;                // an attack began in this frame
};

struct MovementOutcome {
    // The player's top passed the bottom of the map while falling; the caller
    // puts the player back on the map's start ground.
    bool fellBelowMap = false;
};

// One frame of movement, in order: jump, arrow bookkeeping, walk left, walk
// right, climb, walk-key release, fall or stand, ground bookkeeping, camera
// lead relaxation. mapWidth bounds walking right; mapHeight is the bottom
// below which a fall ends.
MovementOutcome UpdateMovement(PlayerMotion& p, const Terrain& t, const MovementInput& in, float mapWidth,
                               float mapHeight);

// Places the box on a ground: x := left + offset (offset -1: a random whole
// number from 0 to ground width - box width, given as randomOffset), pulled
// back flush with the ground's right end when it would pass it, and the
// feet 2 pixels into the ground's top.
void PlaceOnGround(PlayerMotion& p, const wdm::GroundRecord& ground, int offset, int randomOffset);
