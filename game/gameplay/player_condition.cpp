// Poison and curse, rest and regeneration, death and revival.
#include <algorithm>
#include <cmath>

#include "core/tolerance.h"
#include "gameplay/player.h"

using tolerance::Ge;
using tolerance::Gt;
using tolerance::Le;

int Player::UpdateStatus(float dt) {
    int damage = 0;
    auto& poison = statusRecords[kPoison];
    if (statusFlags[kPoison] != 0 && Gt(poison[kDuration], 0)) {
        poison[kElapsed] += dt;
        // One tick for every whole second of the run.
        if (std::trunc(poison[kElapsed]) > std::trunc(poison[kLastTick])) {
            poison[kLastTick] = poison[kElapsed];
            hp = std::trunc(hp - poison[kAmountPerTick]);
            Flinch();
            damage = static_cast<int>(poison[kAmountPerTick]);
            if (hp < 0) hp = 0;
            if (Le(std::fabs(hp), 0)) state = kDead;
        }
        if (Ge(poison[kElapsed], poison[kDuration])) {
            poison[kDuration] = 0;
            poison[kLastTick] = 0;
            statusFlags[kPoison] = 0;
        }
    }
    auto& curse = statusRecords[kCurse];
    if (statusFlags[kCurse] != 0 && Gt(curse[kDuration], 0)) {
        curse[kElapsed] += dt;
        if (Ge(curse[kElapsed], curse[kDuration])) {
            curse[kDuration] = 0;
            statusFlags[kCurse] = 0;
        }
    }
    return damage;
}

bool Player::StartPoison(float seconds, float amountPerTick) {
    auto& poison = statusRecords[kPoison];
    const bool fresh = statusFlags[kPoison] == 0;
    if (fresh) poison = {};
    statusFlags[kPoison] = 1;
    poison[kDuration] += seconds;
    poison[kAmountPerTick] += amountPerTick;
    if (std::trunc(poison[kAmountPerTick]) <= 0) poison[kAmountPerTick] = 1.0f;
    return fresh;
}

bool Player::StartCurse(float seconds) {
    auto& curse = statusRecords[kCurse];
    const bool fresh = statusFlags[kCurse] == 0;
    if (fresh) curse = {};
    statusFlags[kCurse] = 1;
    curse[kDuration] += seconds;
    return fresh;
}

void Player::Flinch() {
    state = kHit;
    m_timedState = 0;  // the next step restarts the flinch
}

bool Player::CheckDeath() {
    if (!Le(std::fabs(hp), 0)) return false;
    const bool wasAlive = state != kDead;
    state = kDead;
    statusRecords[kPoison][kDuration] = 0;
    statusRecords[kPoison][kLastTick] = 0;
    statusFlags[kPoison] = statusFlags[kCurse] = 0;
    return wasAlive;
}

void Player::UpdateRest(const Controls& c, bool chatInputFocused, float dt) {
    bool busy = c.Held(Action::Attack) || c.Held(Action::Jump) || c.Held(Action::WalkLeft) ||
                c.Held(Action::WalkRight) || c.Held(Action::Up) || c.Held(Action::Down) ||
                c.Held(Action::CastSpell);
    for (int n = 1; n <= 8; ++n) busy = busy || c.Held(Controls::QuickSlot(n));
    if ((!busy && state != kClimbing) || chatInputFocused) {
        restTimer += dt;
    } else {
        restTimer = 0;
    }
    if (!Ge(restTimer, kRestSeconds)) return;
    state = kReady;
    if (statusFlags[kPoison] == 0 && hp < maxHp) {
        if (++regenCounter > kRegenFrames) {
            // MP comes back only together with HP.
            hp = std::min(hp + 1, maxHp);
            mp = std::min(mp + 1, maxMp);
            regenCounter = 0;
        }
    }
}

void Player::Revive() {
    RestartAnimations(kDead);
    hp = maxHp = 10;
    mp = maxMp = 500;
    state = kIdle;
    m_timedState = kIdle;
    restTimer = 0;
    hurtImmunity = 0;
}
