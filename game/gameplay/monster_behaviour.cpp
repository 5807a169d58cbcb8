// The per-frame behaviour: dying, hurt and revenge, thinking (chase or
// engage), walking and flying, animation, and the attacks' timing.
#include <cmath>

#include "core/random.h"
#include "core/tolerance.h"
#include "gameplay/monster.h"
#include "gameplay/player.h"
#include "shared/gbk.h"
#include "world/camera.h"

using tolerance::Ge;
using tolerance::Gt;
using tolerance::Le;

namespace {

// The wander think happens when the timer's remainder in each quarter
// second crosses this mark (once per quarter, at any frame rate).
constexpr float kThinkMark = 0.051f;
constexpr float kThinkPeriod = 0.25f;

// Monster modes of one frame.
constexpr int kWander = 0, kChase = 1, kAttackNow = 2;

// The player's feet sink a little into the ground it stands on, so a
// player on the monster's own ground has its feet just below the
// monster's box; this much slack still counts as level with it.
constexpr float kFeetSlack = 4;

}  // namespace

bool Monster::PlayerInBand(const Player& p) const {
    const float reach = static_cast<float>(width + detectRange);
    return p.x > x - reach && p.x < x + reach;
}

bool Monster::PlayerCanBeHurt(const Player& p) const {
    return p.state != Player::kHit && p.state != Player::kClimbing && p.jumping == 0 && p.jumpFrame == 0 &&
           Le(std::fabs(p.hurtImmunity), 0) && Gt(p.hp, 0);
}

bool Monster::AtLastFrame(int s) const {
    return animations[static_cast<std::size_t>(s)].CurrentFrame() >= lastFrame[static_cast<std::size_t>(s)];
}

void Monster::AnchorAll(const Camera& camera) {
    for (int k = 1; k <= stateCount; ++k)
        animations[static_cast<std::size_t>(k)].SetAnchor(camera.offsetX + x + flipOffset, camera.offsetY + y);
}

void Monster::StepCurrent(float dt) {
    const std::size_t s = static_cast<std::size_t>(state);
    if (lastFrame[s] <= 0) return;  // no pictures: nothing to step
    m_mirrored = flipOffset == 0;
    animations[s].StepLoop(frameDuration[s], 1, lastFrame[s], dt, m_mirrored);
}

void Monster::EnterState(int s, const Camera& camera) {
    state = s;
    Restart(s);
    AnchorAll(camera);
    // A zero step shows the first frame without advancing it.
    StepCurrent(0);
}

void Monster::ApplyFacing() {
    if (direction == 0)
        flipOffset = static_cast<float>(width);
    else if (direction == 1)
        flipOffset = 0;
    else
        flipOffset = lastDirection == 0 ? static_cast<float>(width) : 0;
}

void Monster::NewWander(Random& random, int mode) {
    direction = random.Int(0, 2);
    if (mode == 2) {
        behaviourDuration = static_cast<float>(random.Int(1, 2));
        verticalDirection = random.Int(0, 10);
        if (verticalDirection >= 2) verticalDirection = 2;
    } else {
        behaviourDuration = static_cast<float>(random.Int(3, 5));
    }
    behaviourTimer = 0;
    m_prevThinkTimer = 0;
}

bool Monster::BlockedAhead(float mapWidth) const {
    const float w = static_cast<float>(width);
    if (direction == 0)
        return Le(x + flipOffset - speed - w, 0) || Le(x - speed, homeLeft);
    if (direction == 1)
        return Ge(x + flipOffset + speed, mapWidth - w) || Ge(x + flipOffset + speed + w, homeLeft + homeWidth);
    return false;
}

void Monster::ReRollBlocked(Random& random) {
    const int r = random.Int(1, 2);
    if (direction == 0)
        direction = r == 1 ? 1 : 2;
    else if (direction == 1)
        direction = r == 1 ? 0 : 2;
}

int Monster::DecideEngage(MonsterFrame& f) {
    if (kind != 0) {
        chaseTimer = 0;
        return kWander;
    }
    const Player& p = f.player;
    const float feet = p.y + p.height;
    const bool near = p.x >= x - 100 && p.x <= x + static_cast<float>(width) + 100 && feet > y &&
                      feet < y + static_cast<float>(height) + kFeetSlack;
    if (!near) {
        chaseTimer = 0;
        return kWander;
    }
    auto face = [&] { direction = p.x < x ? 0 : 1; };
    if (PlayerInBand(p)) {
        if (f.random.Int(1, 10) >= 8) {
            face();
            state = kAttack;
            return kAttackNow;
        }
        return kWander;
    }
    if (f.random.Int(1, 100) >= 80) {
        face();
        chaseTimer = 0.1f;
        behaviourDuration = 10.0f;
        return kChase;
    }
    chaseTimer = 0;
    return kWander;
}

void Monster::Update(MonsterFrame& f) {
    if (gone != 0) return;
    if (state == kDying) {
        UpdateDying(f);
        return;
    }
    int mode = kWander;
    if (state == kHurt && !UpdateHurt(f, mode)) return;
    if (Gt(hurtTimer, 0)) {
        hurtTimer += f.dt;
        if (Ge(hurtTimer, kHurtImmunity)) hurtTimer = 0;
    }
    if (static_cast<int>(behaviourTimer) == static_cast<int>(behaviourDuration / 2)) Think(f, mode);
    m_prevThinkTimer = behaviourTimer;

    if (kind == 2) {
        if (mode != kAttackNow) FlyerMove(f);
    } else {
        Walk(f, mode);
    }
    if (mode == kWander) {
        behaviourTimer += f.dt;
        if (Ge(behaviourTimer, behaviourDuration)) NewWander(f.random, kind == 2 ? 2 : 0);
    }
    ApplyFacing();

    if (state != previousState && previousState > 0) Restart(previousState);
    if (previousState >= kAttack && !IsAttacking()) ClearStrike();
    previousState = state;
    AnchorAll(f.camera);
    StepCurrent(f.dt);

    if (IsAttacking()) {
        if (kind == 0) {
            const int cur = animations[static_cast<std::size_t>(state)].CurrentFrame();
            if (PlayerCanBeHurt(f.player) && cur >= hitFrameFirst && cur <= hitFrameLast) MeleeHitCheck(f);
        } else {
            RangedAttack(f);
        }
        EndAttackIfAlone(f);
    }
    if (f.player.state == Player::kDead && mode != kWander) {
        engaged = 0;
        chaseTimer = 0;
        behaviourDuration = 0;
    }
}

void Monster::UpdateDying(MonsterFrame& f) {
    AnchorAll(f.camera);
    if (!AtLastFrame(kDying)) {
        StepCurrent(f.dt);
        return;
    }
    if (kind == 1 && bookDropped == 0) {
        bookDropped = 1;
        f.host.DropItem(gbk::Lit("雷电术书"), x, homeTop - 30, 1, 1);
    }
    behaviourTimer += f.dt;
    if (Ge(behaviourTimer, behaviourDuration)) gone = 1;
}

bool Monster::UpdateHurt(MonsterFrame& f, int& mode) {
    hurtTimer = 0.1f;
    ClearStrike();
    AnchorAll(f.camera);
    StepCurrent(f.dt);
    if (!AtLastFrame(kHurt)) return false;
    Restart(kHurt);
    state = previousState;
    behaviourTimer = static_cast<float>(static_cast<int>(behaviourDuration / 2));
    m_prevThinkTimer = behaviourTimer;
    chaseTimer = 1.0f;
    if (PlayerInBand(f.player)) {
        mode = kAttackNow;
        state = kAttack;
        if (stateCount == 8) {
            const int r = f.random.Int(0, 2);
            state = r == 0 ? kAttack : r + 6;
        }
    } else {
        mode = kChase;
        state = kWalk;
    }
    engaged = 0;
    return true;
}

void Monster::Think(MonsterFrame& f, int& mode) {
    const Player& p = f.player;
    if (Gt(chaseTimer, 0)) {
        if (Ge(chaseTimer, behaviourDuration)) {
            mode = kWander;
            chaseTimer = 0;
            behaviourDuration = 0;
            engaged = 1;
            return;
        }
        const float reach = static_cast<float>(width + detectRange);
        const float h = kind == 2 ? f.screenHeight / 2 : 0;
        const float feet = p.y + p.height;
        const bool inBox = p.x > x - reach && p.x < x + reach && feet > y - h &&
                           feet < y + static_cast<float>(height) + h + kFeetSlack;
        if (inBox) {
            const float centre = x + static_cast<float>(width) / 2, px = p.x + p.width;
            direction = Le(std::fabs(px - centre), 0) ? 2 : (px < centre ? 0 : 1);
            if (engaged == 0) {
                state = kAttack;
                if (stateCount == 8) {
                    const int r = f.random.Int(1, 3);
                    state = r == 1 ? kAttack : r + 5;
                }
                engaged = 1;
            }
            mode = kAttackNow;
        } else {
            direction = p.x < x - static_cast<float>(width) ? 0 : (p.x > x + static_cast<float>(width) ? 1 : 2);
            mode = kChase;
            state = kWalk;
            engaged = 0;
        }
        if (mode == kChase) chaseTimer += f.dt;
        return;
    }
    if (!Gt(p.hp, 0)) return;
    // Once each time the timer's quarter-second remainder passes the mark.
    const float prev = m_prevThinkTimer > behaviourTimer ? behaviourTimer : m_prevThinkTimer;
    const bool crossed = std::floor((behaviourTimer - kThinkMark) / kThinkPeriod) >
                             std::floor((prev - kThinkMark) / kThinkPeriod);
    if (crossed) {
        mode = DecideEngage(f);
        engaged = 0;
    }
}

void Monster::Walk(MonsterFrame& f, int& mode) {
    if (direction == 0 || direction == 1) {
        lastDirection = direction;
        if (BlockedAhead(f.mapWidth)) {
            mode = kWander;
            chaseTimer = 0;
            behaviourDuration = 0;
            ReRollBlocked(f.random);
            lastDirection = direction;  // 2 when the re-roll stands it still
        }
    }
    if (mode == kAttackNow) return;
    if (direction == 0 || direction == 1) {
        if (!IsAttacking()) {
            state = kWalk;
            if (BlockedAhead(f.mapWidth)) {
                ReRollBlocked(f.random);
            } else {
                x += direction == 0 ? -speed : speed;
            }
        }
    } else {
        state = kStand;
    }
}

void Monster::FlyerMove(MonsterFrame& f) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    if (direction == 0 || direction == 1) {
        lastDirection = direction;
        const bool blocked = direction == 0 ? Le(x - speed, 0) : x + flipOffset + speed + w > f.mapWidth;
        if (blocked) {
            ReRollBlocked(f.random);
        } else {
            if (!IsAttacking()) state = kWalk;
            x += direction == 0 ? -speed : speed;
        }
    } else if (!IsAttacking()) {
        state = kStand;
    }
    if (verticalDirection == 0) {
        if (Le(y - speed, 0))
            verticalDirection = f.random.Int(1, 2) == 1 ? 1 : 2;
        else
            y -= speed;
    } else if (verticalDirection == 1) {
        const float floor = m_floor > 0 ? m_floor : f.mapHeight - h;
        if (y + h + speed > floor)
            verticalDirection = f.random.Int(1, 2) == 1 ? 0 : 2;
        else
            y += speed;
    }
}

void Monster::EndAttackIfAlone(MonsterFrame& f) {
    if (!IsAttacking() || !AtLastFrame(state)) return;
    if (strikeLaunched != 0) return;  // a launched strike runs its course
    if (f.player.state == Player::kDead || !PlayerInBand(f.player)) {
        Restart(state);
        EnterState(kStand, f.camera);
        engaged = 0;
        ClearStrike();
    }
}
