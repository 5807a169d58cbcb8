#include "gameplay/thunder_cast.h"

#include "core/random.h"
#include "core/tolerance.h"
#include "gameplay/combat_rules.h"
#include "gameplay/player.h"

namespace thunder {

bool CanStartCast(const Player& p) {
    const bool grounded = p.jumping == 0 && p.jumpFrame == 0;
    return grounded && (p.state == Player::kIdle || p.state == Player::kWalking || p.state == Player::kReady);
}

namespace {

bool IsZero(float v) { return tolerance::Le(v, 0.0) && tolerance::Ge(v, 0.0); }

}  // namespace

int FirstTargetInReach(const Player& p, const std::vector<SpellTarget>& targets) {
    using tolerance::Gt;
    const float reach = static_cast<float>(p.spellReach);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const SpellTarget& t = targets[i];
        if (!IsZero(t.hurtTimer) || !Gt(t.hp, 0.0)) continue;
        const bool level = t.y < p.y + p.height + reach / 2 && t.y + t.height >= p.y - reach / 2;
        if (!level) continue;
        const bool ahead = p.facing == Player::kFacingLeft
                               ? t.drawX + t.width > p.x - reach && t.drawX < p.x
                               : p.x + p.width <= t.drawX && t.drawX < p.x + p.width + reach;
        if (ahead) return static_cast<int>(i) + 1;
    }
    return 0;
}

namespace {

int LastCastingFrame(const Player& p) { return p.frameCount[static_cast<std::size_t>(Player::kCasting)]; }

int CastingFrame(const Player& p) { return p.body[static_cast<std::size_t>(Player::kCasting)].CurrentFrame(); }

void Fire(Player& p, const std::vector<SpellTarget>& targets, Random& random, ThunderFrame& out) {
    p.spellFired = true;
    p.mp -= static_cast<float>(kMpCost);
    out.fired = true;
    out.target = FirstTargetInReach(p, targets);
    if (out.target == 0) {
        // Nothing in reach: the lightning still strikes ahead of the player.
        int d = random.Int(p.spellReach - 100, p.spellReach - 50);
        if (p.facing == Player::kFacingLeft) d = -d;
        out.effectX = p.x + static_cast<float>(d);
        out.effectY = p.y;
        return;
    }
    const SpellTarget& t = targets[static_cast<std::size_t>(out.target - 1)];
    out.effectX = t.drawX;
    out.effectY = t.y;
    out.damage = combat::ThunderDamage(random, p.minMagicAttack, p.maxMagicAttack, p.agility, t.defence);
}

}  // namespace

ThunderFrame CastThunder(Player& p, const std::vector<SpellTarget>& targets, Random& random, float dt) {
    ThunderFrame out;
    out.handled = true;
    if (p.state != Player::kCasting) {
        // The first frame of the cast shows the first picture for its time.
        p.RestartAnimations(Player::kCasting);
        p.spellFired = false;
        p.state = Player::kCasting;
        out.entered = true;
        return out;
    }
    const bool lastHadItsTime = p.StepOnce(Player::kCasting, dt);
    const int last = LastCastingFrame(p);
    if (!p.spellFired && tolerance::Gt(p.mp, 0.0) && (lastHadItsTime || CastingFrame(p) >= last))
        Fire(p, targets, random, out);
    if (lastHadItsTime) {
        // Back to idle, fired or not: a cast never holds the player.
        p.RestartAnimations(Player::kCasting);
        p.state = Player::kIdle;
        p.spellFired = false;
        out.ended = true;
    }
    return out;
}

ThunderFrame SkillKey(Player& p, int key, const std::vector<SpellTarget>& targets, Random& random, float dt) {
    if (p.state == Player::kCasting) return CastThunder(p, targets, random, dt);
    if (key == 0 || !CanStartCast(p)) return {};
    for (const SkillEntry& e : p.skills.entries) {
        if (e.skill != 0 && e.key == key) return CastThunder(p, targets, random, dt);
    }
    return {};
}

}  // namespace thunder
