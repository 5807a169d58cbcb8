// The Z swing: start, stepping, the weapon's hit check and the end.
#include "gameplay/player.h"

bool Player::UpdateAttack(const PlayerFrame& f) {
    const Controls& c = f.controls;
    // On the ground: neither rising nor in the air.
    const bool grounded = jumping == 0 && jumpFrame == 0;
    bool started = false;
    if (c.Pressed(Action::Attack) && grounded && state != kClimbing && state != kAttacking && state != kCasting) {
        state = kAttacking;
        RestartAnimations(kAttacking);
        currentAttack.Reset();
        mirrorSign = facing == kFacingLeft ? -1 : 1;
        swingHit = false;
        attackStartedThisFrame = true;
        started = true;
    }
    if (state != kAttacking) return started;

    const bool mirrored = mirrorSign < 0;
    // The attack runs while Z is held; either way it follows the anchor, so
    // its frame (the swing's reach) is where the player is now.
    const float step = c.Held(Action::Attack) && grounded ? f.dt : 0.0f;
    currentAttack.Step(AnchorX(f.camera), AnchorY(f.camera), step, mirrored);
    // The swing ends once its last body frame has had its time, Z held or
    // not; a held Z does not start the next one, only a fresh press does.
    if (!started && StepOnce(kAttacking, f.dt)) {
        state = kIdle;
        RestartAnimations(kAttacking);
        currentAttack.Reset();
        return started;
    }
    // One hit a swing: asked every frame from the hitting frame on until it lands.
    if (!swingHit && body[static_cast<std::size_t>(kAttacking)].CurrentFrame() >= kFirstHittingFrame)
        swingHit = f.combat.PhysicalAttack(*this);
    return started;
}
