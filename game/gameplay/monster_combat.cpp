// Fights: the monster's bite and strikes on the player, the player's hits
// on the monster, HP, death, experience, drops and the death script.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/random.h"
#include "core/tolerance.h"
#include "gameplay/monster.h"
#include "gameplay/player.h"
#include "shared/gbk.h"
#include "world/camera.h"

using tolerance::Gt;
using tolerance::Le;

namespace {

// A strike whose effect has no pictures still has a size to hit with.
constexpr int kFallbackStrikeSize = 64;
constexpr float kSparkHalf = 59.5f;  // half the hit spark's picture

combat::Rect PlayerBox(const Player& p) { return {p.x, p.y, p.width, p.height}; }

void HurtPlayer(Player& p, int damage, const std::string& monsterName, MonsterHost& host) {
    host.Log(monsterName + gbk::Lit("对你造成 ") + std::to_string(damage) + gbk::Lit(" 点伤害"));
    host.DamageNumber(static_cast<float>(damage), p.x, p.y - 10);
    p.Flinch();
    p.hurtImmunity = Player::kHurtImmunitySeconds;
    p.hp -= static_cast<float>(damage);
    if (p.hp < 0) p.hp = 0;
}

}  // namespace

bool Monster::CanBeHit() const {
    return gone == 0 && state != kDying && Le(std::fabs(hurtTimer), 0) && hp[0] > 0;
}

void Monster::MeleeHitCheck(MonsterFrame& f) {
    Player& p = f.player;
    if (!combat::Overlap(FrameRect(f.camera), PlayerBox(p))) return;
    HurtPlayer(p, combat::MeleeDamage(f.random, attack, p.minPhysDefence, p.maxPhysDefence), name, f.host);
}

void Monster::ClearStrike() {
    strikeLaunched = 0;
    strikeActive = 0;
    strikeCounter = 0;
    strike[0] = -1;
}

void Monster::RangedAttack(MonsterFrame& f) {
    Player& p = f.player;
    if (strikeLaunched == 0 && !p.IsDead()) {
        engaged = 1;
        strikeHit = 0;
        if (strike[0] == -1) {
            strike[0] = static_cast<int>(p.x);
            strike[1] = static_cast<int>(p.y);
        }
    }
    FrameAnimation& anim = animations[static_cast<std::size_t>(state)];
    if (strikeLaunched == 0 && strike[0] != -1 && AtLastFrame(state)) {
        strikeLaunched = 1;
        strikeActive = 1;
        strikeCounter = 0;
        int effect = monster_effects::kCasterStrike;
        MonsterSound sound = MonsterSound::Strike;
        if (kind == 2) {
            attackVariant = state == kAttack3 ? 1 : state == kAttack2 ? 2 : 0;
            effect = monster_effects::kLightning + attackVariant;
            static constexpr MonsterSound kSounds[] = {MonsterSound::Lightning, MonsterSound::Poison,
                                                       MonsterSound::Curse};
            sound = kSounds[attackVariant];
        } else {
            attackVariant = 0;
        }
        f.host.PlaySound(sound, 15);
        const float aimX = static_cast<float>(strike[0]), aimY = static_cast<float>(strike[1]);
        strikeEffect = f.host.SpawnEffect(1, effect, aimX, aimY, 1, false);
        FrameInfo info;
        if (Effect* e = f.host.FindEffect(strikeEffect)) info = e->animation().Frame(1);
        const bool sized = info.width > 0 && info.height > 0;
        strike[2] = sized ? info.width : kFallbackStrikeSize;
        strike[3] = sized ? info.height : kFallbackStrikeSize;
        // The strike stands on the line of the player's feet at the aim.
        strike[0] = static_cast<int>(aimX - info.offsetX);
        strike[1] = static_cast<int>(aimY + p.height - static_cast<float>(strike[3]));
        if (Effect* e = f.host.FindEffect(strikeEffect)) {
            e->SetOwnerKind(static_cast<int>(EffectOwner::MonsterSpell));
            e->SetOwnerIndex(index);
            e->SetPosition(aimX, static_cast<float>(strike[1]) - info.offsetY);
        }
    }
    if (strikeLaunched == 0) return;
    ++strikeCounter;
    const int cur = anim.CurrentFrame();
    if (strikeHit == 0 && PlayerCanBeHurt(p) && cur >= hitFrameFirst && cur <= hitFrameLast) RangedHitCheck(f);
    if (strikeCounter >= kStrikeFrames) {
        Restart(state);
        ClearStrike();
        engaged = 0;
    }
}

void Monster::RangedHitCheck(MonsterFrame& f) {
    if (strikeActive == 0 || strikeHit != 0) return;
    Player& p = f.player;
    const combat::Rect s{static_cast<float>(strike[0]), static_cast<float>(strike[1]), static_cast<float>(strike[2]),
                         static_cast<float>(strike[3])};
    if (!combat::Overlap(s, PlayerBox(p))) return;
    if (attackVariant == 0) {
        HurtPlayer(p, combat::RangedDamage(f.random, attack, p.minPhysDefence, p.maxPhysDefence), name, f.host);
    } else if (attackVariant == 1) {
        if (p.StartPoison(2.0f * static_cast<float>(attack), static_cast<float>(attack) / 4.0f)) {
            EffectHandle h = f.host.SpawnEffect(2, monster_effects::kPoison, 0, 0, 0, false);
            if (Effect* e = f.host.FindEffect(h)) {
                e->SetOwnerKind(static_cast<int>(EffectOwner::PlayerStatus));
                e->SetOwnerSlot(Player::kPoison);
            }
        }
    } else {
        if (p.StartCurse(2.0f * static_cast<float>(attack))) {
            EffectHandle h = f.host.SpawnEffect(2, monster_effects::kCurse, 10, 0, 0, false);
            if (Effect* e = f.host.FindEffect(h)) {
                e->SetOwnerKind(static_cast<int>(EffectOwner::PlayerStatus));
                e->SetOwnerSlot(Player::kCurse);
            }
        }
    }
    // A poison or curse strike makes the player flinch as a direct hit does.
    if (attackVariant != 0) p.Flinch();
    strikeHit = 1;
}

void Monster::TakeHit(int damage, MonsterFrame& f) {
    if (gone != 0 || state == kDying) return;
    f.host.Log(gbk::Lit("你对") + name + gbk::Lit("造成 ") + std::to_string(damage) + gbk::Lit(" 点伤害"));
    f.host.DamageNumber(static_cast<float>(damage), x, y - 10);
    EnterState(kHurt, f.camera);
    hurtTimer = 0.1f;
    ChangeHP(-static_cast<float>(damage), f);
    // The spark is centred on the frame the monster shows now (hurt or dying).
    const combat::Rect r = FrameRect(f.camera);
    f.host.SpawnEffect(1, monster_effects::kHitSpark, r.x + r.w / 2 - kSparkHalf, r.y + r.h / 2 - kSparkHalf, 1,
                       false);
    f.host.PlaySound(MonsterSound::Hit, 30);
}

void Monster::ChangeHP(float delta, MonsterFrame& f) {
    if (gone != 0 || state == kDying) return;
    const double v = std::trunc(static_cast<double>(hp[0]) + static_cast<double>(delta));
    hp[0] = static_cast<int>(std::clamp(v, 0.0, static_cast<double>(hp[1])));
    if (hp[0] != 0) return;
    EnterState(kDying, f.camera);
    behaviourTimer = 0;
    behaviourDuration = 3.0f;
    ClearStrike();
    f.host.AddExperience(experience);
    Drops(f);
    if (!deathScript.empty()) f.host.RunScript(deathScript);
}

void Monster::Drops(MonsterFrame& f) {
    for (const combat::DropLine& line : dropLines) {
        std::optional<combat::Drop> d = combat::RollDrop(f.random, line);
        if (!d) continue;
        f.host.DropItem(d->name, x + 15.0f * static_cast<float>(d->offsetStep),
                        y + static_cast<float>(height) - 25, d->count, d->counted);
    }
}
