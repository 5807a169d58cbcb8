#include "world/movement.h"

#include <cmath>

#include "core/tolerance.h"

namespace {

using tolerance::Gt;
using tolerance::Lt;

int Cut(float v) { return static_cast<int>(v); }  // toward zero

// Rise of jump frame n (1..30): 18 frames of 5, 7 of 2, 5 of 1 = 109 pixels.
int RiseOfFrame(int n) {
    if (n <= 18) return 5;
    if (n <= 25) return 2;
    return 1;
}

// Moves a camera lead towards 0: by 1 beyond +-5, by 0.3 within, never
// past 0.
void Relax(float& v) {
    float step = Gt(std::fabs(v), 5.0f) ? 1.0f : 0.3f;
    if (std::fabs(v) <= step) {
        v = 0;
    } else {
        v += v > 0 ? -step : step;
    }
}

void Jump(PlayerMotion& p, const Terrain& t, const MovementInput& in) {
    bool locked = p.state == PlayerMotion::kAttacking || p.state == PlayerMotion::kCasting;
    if (!((in.jumpPressed && !locked) || p.jumping == 1)) return;
    if (p.state == PlayerMotion::kClimbing) {
        // Let go of the stair and fall.
        p.jumping = 0;
        p.jumpFrame = 30;
        p.state = PlayerMotion::kIdle;
    } else if (p.jumping == 0 && p.jumpFrame == 0) {
        p.jumping = 1;  // the rise starts next frame
    } else if (p.jumping == 1 && p.jumpFrame <= 30) {
        ++p.jumpFrame;
        if (terrain::WallTest(t, Cut(p.x), Cut(p.y), Cut(p.width), Cut(p.height), 0, 1) != 0) {
            p.jumpFrame = 30;
        } else {
            p.y -= static_cast<float>(RiseOfFrame(p.jumpFrame));
        }
        if (Gt(p.leadY, 0)) p.leadY -= 2;
        if (Gt(p.leadY, -90)) p.leadY -= 1;
        if (p.jumpFrame >= 30) {
            p.jumping = 0;
            p.state = PlayerMotion::kIdle;
        }
    }
}

bool WalkLocked(const PlayerMotion& p, const MovementInput& in) {
    return in.attackStarted || p.state == PlayerMotion::kAttacking || p.state == PlayerMotion::kClimbing ||
           p.state == PlayerMotion::kCasting;
}

void WalkLeft(PlayerMotion& p, const Terrain& t) {
    p.Face(PlayerMotion::kFacingLeft);
    p.state = PlayerMotion::kWalking;
    if (terrain::WallTest(t, Cut(p.x), Cut(p.y), Cut(p.width), Cut(p.height), 1, 0) == 0 && Gt(p.x - 4, 0))
        p.x -= 4;
    if (Gt(p.leadX, 0)) p.leadX -= 2;
    if (Gt(p.leadX, -30)) p.leadX -= 1;
}

void WalkRight(PlayerMotion& p, const Terrain& t, float mapWidth) {
    p.Face(PlayerMotion::kFacingRight);
    p.state = PlayerMotion::kWalking;
    if (terrain::WallTest(t, Cut(p.x), Cut(p.y), Cut(p.width), Cut(p.height), 2, 0) == 0 &&
        Lt(p.x + p.width + 4, mapWidth))
        p.x += 4;
    if (Lt(p.leadX, 0)) p.leadX += 2;
    if (Lt(p.leadX, 30)) p.leadX += 1;
}

void Climb(PlayerMotion& p, const Terrain& t, const MovementInput& in) {
    bool attacking = p.state == PlayerMotion::kAttacking;
    bool casting = p.state == PlayerMotion::kCasting;
    if (!((in.upHeld && !attacking) || (in.downHeld && !attacking && !casting))) return;
    if (terrain::StairTest(t, Cut(p.x), Cut(p.y), Cut(p.width), Cut(p.height), in.upHeld) != 0) {
        if (in.upHeld) {
            p.y -= 2;
            if (Gt(p.leadY, -90)) p.leadY -= 1;
        }
        if (in.downHeld) {
            p.y += 2;
            if (Lt(p.leadY, 90)) p.leadY += 1;
        }
        p.state = PlayerMotion::kClimbing;
        p.jumpFrame = 0;
    } else if (p.state == PlayerMotion::kClimbing) {
        p.state = PlayerMotion::kIdle;
        p.jumping = 0;
    }
}

}  // namespace

void PlayerMotion::Face(int newFacing) {
    if (newFacing == kFacingLeft) {
        facing = kFacingLeft;
        mirrorSign = -1;
        attackOffset = width - 10;
    } else {
        facing = kFacingRight;
        mirrorSign = 1;
        attackOffset = 0;
    }
}

MovementOutcome UpdateMovement(PlayerMotion& p, const Terrain& t, const MovementInput& in, float mapWidth,
                               float mapHeight) {
    MovementOutcome out;
    Jump(p, t, in);

    if (in.leftDown) p.lastArrow = 1;
    if (in.rightDown) p.lastArrow = 2;
    bool blockRight = false, blockLeft = false;
    if (in.leftHeld && in.rightHeld) {
        // Both arrows: the one that went down last wins; together, right.
        if (p.lastArrow == 1) {
            blockRight = true;
        } else {
            blockLeft = true;
        }
    }
    // The curse swaps which key walks which way; the blocking above stays
    // with the direction.
    bool leftKey = p.cursed ? in.rightHeld : in.leftHeld;
    bool rightKey = p.cursed ? in.leftHeld : in.rightHeld;
    if (leftKey && !blockLeft && !WalkLocked(p, in)) WalkLeft(p, t);
    if (rightKey && !blockRight && !WalkLocked(p, in)) WalkRight(p, t, mapWidth);

    Climb(p, t, in);

    if (in.walkKeyReleased && p.state != PlayerMotion::kClimbing && p.jumping != 1 &&
        p.state != PlayerMotion::kCasting)
        p.state = PlayerMotion::kIdle;

    if (p.jumping == 0 && (p.jumpFrame == 30 || p.state != PlayerMotion::kClimbing)) {
        if (terrain::StandTest(t, p, p.x, p.y, Cut(p.width), Cut(p.height), p.facing) == 0) {
            if (Lt(p.leadY, 90)) p.leadY += 1;
            p.fallSpeed += 0.2f;
            p.y += p.fallSpeed + 5;
            if (Gt(p.y, mapHeight)) out.fellBelowMap = true;
        } else {
            p.jumpFrame = 0;
            p.jumping = 0;
        }
    }

    if (p.currentGround == 0 && p.state != PlayerMotion::kClimbing) p.jumpFrame = 1;
    if (p.currentGround != 0) p.fallSpeed = 0;

    const int s = p.state;
    if ((p.currentGround != 0 && p.leadY != 0) || s == PlayerMotion::kClimbing || s == PlayerMotion::kCasting)
        Relax(p.leadY);
    if (s == PlayerMotion::kHit || s == PlayerMotion::kAttacking || s == PlayerMotion::kIdle ||
        s == PlayerMotion::kClimbing || s == PlayerMotion::kCasting)
        Relax(p.leadX);
    return out;
}

void PlaceOnGround(PlayerMotion& p, const wdm::GroundRecord& ground, int offset, int randomOffset) {
    double x = ground.left + (offset == -1 ? randomOffset : offset);
    double right = static_cast<double>(ground.left) + ground.width;
    if (Gt(x + p.width, right)) x = right - p.width;
    p.x = static_cast<float>(x);
    p.y = static_cast<float>(ground.top + 2) - p.height;
}
