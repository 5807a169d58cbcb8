#include "gameplay/player.h"

#include "core/json_writer.h"
#include "platform/engine.h"
#include "shared/gbk.h"
#include "shared/paths.h"

namespace {

struct AnimationRow {
    int state;
    const char* body;
    const char* weapon;
    int frames;
    int duration;
};

// In the order the folders are loaded.
constexpr AnimationRow kAnimations[] = {
    {Player::kIdle, "\\data\\人物\\原地\\", "\\data\\武器\\扫把\\10\\", 4, 30},
    {Player::kWalking, "\\data\\人物\\慢跑\\", "\\data\\武器\\扫把\\24\\", 8, 10},
    {Player::kReady, "\\data\\人物\\待战\\", "\\data\\武器\\扫把\\1\\", 4, 30},
    {Player::kAttacking, "\\data\\人物\\攻击_右手\\", "\\data\\武器\\扫把\\攻击_右手\\", 7, 10},
    {Player::kClimbing, "\\data\\人物\\上爬\\", "\\data\\武器\\扫把\\4\\", 2, 30},
    {Player::kHit, "\\data\\人物\\被攻击\\", "\\data\\武器\\扫把\\被攻击\\", 2, 50},
    {Player::kDead, "\\data\\人物\\死亡\\", "\\data\\武器\\扫把\\死亡\\", 5, 10},
    {Player::kCasting, "\\data\\人物\\魔法\\", "\\data\\武器\\扫把\\魔法\\", 8, 10},
};

}  // namespace

Player::Player() {
    // The timing is known before the pictures are: a player that never
    // loaded its art still swings, flinches and dies on time.
    for (const AnimationRow& row : kAnimations) {
        frameCount[static_cast<std::size_t>(row.state)] = row.frames;
        frameDuration[static_cast<std::size_t>(row.state)] = row.duration;
    }
    attacks[0].SetTiming(gbk::Lit("攻击1"), 3, 45, 0, 0);
    attacks[1].SetTiming(gbk::Lit("攻击2"), 5, 10, -50, 0);
    currentAttack = attacks[0];
}

void Player::CreateAttacks(FrameCache& cache) {
    attacks = {};
    attacks[0].Init(cache, gbk::Lit("攻击1"), 3, 45, 0, 0);
    attacks[1].Init(cache, gbk::Lit("攻击2"), 5, 10, -50, 0);
    currentAttack = attacks[0];
}

void Player::LoadAnimations(FrameCache& cache) {
    // Body folders first, then the weapon overlays, then the timing.
    for (const AnimationRow& row : kAnimations)
        body[static_cast<std::size_t>(row.state)].Load(cache, gbk::Lit(row.body), row.frames, true);
    for (const AnimationRow& row : kAnimations)
        weapon[static_cast<std::size_t>(row.state)].Load(cache, gbk::Lit(row.weapon), row.frames, true);
    for (const AnimationRow& row : kAnimations) {
        frameCount[static_cast<std::size_t>(row.state)] = row.frames;
        frameDuration[static_cast<std::size_t>(row.state)] = row.duration;
    }
}

namespace {

// The offsets of a single picture from its info file; the picture's own
// size when the file is missing or garbled.
FrameInfo ReadSingleFrameInfo(const paths::DataPaths& dataPaths, const char* utf8Picture, const Sprite& sprite) {
    FrameInfo info;
    info.width = static_cast<int>(sprite.Width());
    info.height = static_cast<int>(sprite.Height());
    ReadFrameInfo(dataPaths, gbk::Lit(utf8Picture), info);
    return info;
}

}  // namespace

void Player::LoadJumpSprites(Engine& engine, const paths::DataPaths& dataPaths) {
    auto whole = [&](const char* utf8Path) {
        HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbk::Lit(utf8Path)));
        return Sprite(t, 0, 0, static_cast<float>(engine.TextureWidth(t)), static_cast<float>(engine.TextureHeight(t)));
    };
    jumpBody = whole("\\data\\人物\\跳跃\\0.png");
    jumpWeapon = whole("\\data\\武器\\扫把\\跳跃\\0.png");
    jumpBodyInfo = ReadSingleFrameInfo(dataPaths, "\\data\\人物\\跳跃\\0.png", jumpBody);
    jumpWeaponInfo = ReadSingleFrameInfo(dataPaths, "\\data\\武器\\扫把\\跳跃\\0.png", jumpWeapon);
}

void Player::ResetToStart() {
    state = kIdle;
    restTimer = 0;
    hurtImmunity = 0;
    hp = maxHp = 20;
    mp = maxMp = 500;
    name = gbk::Lit("玩家001");
    level = 1;
    minPhysAttack = maxPhysAttack = minPhysDefence = maxPhysDefence = 1;
    minMagicAttack = maxMagicAttack = minMagicDefence = maxMagicDefence = 1;
    strength = agility = accuracy = intelligence = constitution = 0;
    gold = 0;
    experience = 0;
    spellReach = 200;
    statusFlags = {};
    statusRecords = {};
    doubleExpElapsed = doubleExpTotal = doubleExpMultiplier = 0;
    regenCounter = 0;
    swingHit = false;
    skills = {};
    spellFired = false;
    m_timedState = 0;
    width = kBoxWidth;
    height = kBoxHeight;
    Face(kFacingRight);
}

PlayerEvents Player::Update(float dt, const Controls& controls, const Terrain& terrain, const Camera& camera) {
    NullPlayerCombat none;
    return Update(PlayerFrame{dt, controls, terrain, camera, none, false});
}

PlayerEvents Player::Update(const PlayerFrame& f) {
    PlayerEvents events;
    attackStartedThisFrame = false;
    hurtImmunity = std::max(0.0f, hurtImmunity - f.dt);
    CheckDeath();
    UpdateDoubleExperience(f.dt);
    if (state != kDead) {
        events.poisonDamage = UpdateStatus(f.dt);
        CheckDeath();
    }
    if (state == kDead) {
        // Nothing but the death animation until Revive.
        events.died = m_timedState != kDead;
        StepTimedAnimations(f.dt);
        return events;
    }
    f.combat.SkillKeys(*this, f.controls);
    events.swingStarted = UpdateAttack(f);
    UpdateRest(f.controls, f.chatInputFocused, f.dt);

    const Controls& c = f.controls;
    MovementInput in;
    in.leftHeld = c.Held(Action::WalkLeft);
    in.rightHeld = c.Held(Action::WalkRight);
    in.upHeld = c.Held(Action::Up);
    in.downHeld = c.Held(Action::Down);
    in.leftDown = c.Pressed(Action::WalkLeft);
    in.rightDown = c.Pressed(Action::WalkRight);
    in.jumpPressed = c.Pressed(Action::Jump);
    in.walkKeyReleased = c.Released(Action::WalkLeft) || c.Released(Action::WalkRight);
    in.attackStarted = attackStartedThisFrame;
    cursed = statusFlags[kCurse] != 0;
    MovementOutcome out = ::UpdateMovement(*this, f.terrain, in, f.camera.mapWidth, f.camera.mapHeight);
    events.fellBelowMap = out.fellBelowMap;

    StepTimedAnimations(f.dt);
    return events;
}

void Player::RestartAnimations(int s) {
    if (s < 1 || s > kStates) return;
    auto i = static_cast<std::size_t>(s);
    body[i].Reset();
    body[i].SetCurrentFrame(1);
    weapon[i].Reset();
    weapon[i].SetCurrentFrame(1);
}

bool Player::StepOnce(int s, float dt) {
    auto i = static_cast<std::size_t>(s);
    const int last = frameCount[i];
    if (last <= 0) return true;
    const bool wasLast = body[i].CurrentFrame() >= last;
    const bool mirrored = mirrorSign < 0;
    body[i].StepLoop(frameDuration[i], 1, last, dt, mirrored);
    weapon[i].StepLoop(frameDuration[i], 1, last, dt, mirrored);
    // The loop went back to its first frame: the last one has had its time.
    return wasLast && body[i].CurrentFrame() < last;
}

void Player::StepTimedAnimations(float dt) {
    if (state != m_timedState) {
        if (state == kHit || state == kDead) RestartAnimations(state);
        m_timedState = state;
        return;  // the first frame shows frame 1 for its whole time
    }
    if (state == kHit) {
        // Once through, then idle.
        if (StepOnce(kHit, dt)) {
            state = kIdle;
            m_timedState = kIdle;
        }
    } else if (state == kDead) {
        // Once through, held on the last frame.
        auto i = static_cast<std::size_t>(kDead);
        if (body[i].CurrentFrame() < frameCount[i]) StepOnce(kDead, dt);
    }
}

bool Player::DeathAnimationDone() const {
    auto i = static_cast<std::size_t>(kDead);
    return state == kDead && m_timedState == kDead && body[i].CurrentFrame() >= frameCount[i];
}

namespace {

// States whose animations run on the update's clock: shown, not stepped, by the draw.
bool TimedByUpdate(int state) {
    return state == Player::kAttacking || state == Player::kHit || state == Player::kDead ||
           state == Player::kCasting;
}

}  // namespace

void Player::Draw(const Camera& camera, float dt) {
    const float anchorX = AnchorX(camera);
    const float anchorY = AnchorY(camera);
    const bool mirrored = mirrorSign < 0;
    if (jumping == 1) {
        auto drawSingle = [&](const Sprite& s, const FrameInfo& f) {
            float dx = mirrored ? anchorX + f.offsetX : anchorX - f.offsetX;
            s.RenderEx(dx, anchorY + f.offsetY, 0, static_cast<float>(mirrorSign), 1);
        };
        drawSingle(jumpBody, jumpBodyInfo);
        if (weaponEquipped) drawSingle(jumpWeapon, jumpWeaponInfo);
        return;
    }
    if (state < 1 || state > kStates) return;
    auto s = static_cast<std::size_t>(state);
    if (frameCount[s] == 0) return;
    // A zero step shows the current frame at the new anchor without advancing it.
    const float step = TimedByUpdate(state) ? 0.0f : dt;
    body[s].SetAnchor(anchorX, anchorY);
    body[s].PlayLoop(frameDuration[s], 1, frameCount[s], step, mirrored);
    if (weaponEquipped) {
        weapon[s].SetAnchor(anchorX, anchorY);
        weapon[s].PlayLoop(frameDuration[s], 1, frameCount[s], step, mirrored);
    }
    // The swing's trail, from the frame that can hit, a little above the anchor.
    if (state == kAttacking && body[s].CurrentFrame() >= kFirstHittingFrame) {
        currentAttack.Draw(anchorX, anchorY - 10, 0, mirrored);
    }
}

void Player::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("name", name);
    w.Field("x", x);
    w.Field("y", y);
    w.Field("width", width);
    w.Field("height", height);
    w.Field("state", state);
    w.Field("facing", facing);
    w.Field("mirrorSign", mirrorSign);
    w.Field("attackOffset", attackOffset);
    w.Field("jumping", jumping);
    w.Field("jumpFrame", jumpFrame);
    w.Field("fallSpeed", fallSpeed);
    w.Field("leadX", leadX);
    w.Field("leadY", leadY);
    w.Field("currentGround", currentGround);
    w.Field("lastArrow", lastArrow);
    w.Field("restTimer", restTimer);
    w.Field("regenCounter", regenCounter);
    w.Field("hp", hp);
    w.Field("maxHp", maxHp);
    w.Field("mp", mp);
    w.Field("maxMp", maxMp);
    w.Field("level", level);
    w.Field("experience", experience);
    w.Field("levelUpNeed", LevelUpNeed(level));
    w.Field("gold", gold);
    w.Field("spellReach", spellReach);
    w.Key("attributes");
    w.BeginObject();
    w.Field("minPhysAttack", minPhysAttack);
    w.Field("maxPhysAttack", maxPhysAttack);
    w.Field("minPhysDefence", minPhysDefence);
    w.Field("maxPhysDefence", maxPhysDefence);
    w.Field("minMagicAttack", minMagicAttack);
    w.Field("maxMagicAttack", maxMagicAttack);
    w.Field("minMagicDefence", minMagicDefence);
    w.Field("maxMagicDefence", maxMagicDefence);
    w.Field("strength", strength);
    w.Field("agility", agility);
    w.Field("accuracy", accuracy);
    w.Field("intelligence", intelligence);
    w.Field("constitution", constitution);
    w.EndObject();
    w.Key("status");
    w.BeginArray();
    w.Int(statusFlags[kPoison]);
    w.Int(statusFlags[kCurse]);
    w.EndArray();
    auto record = [&](const char* key, int slot) {
        const auto& r = statusRecords[static_cast<std::size_t>(slot)];
        w.Key(key);
        w.BeginObject();
        w.Field("elapsed", r[kElapsed]);
        w.Field("duration", r[kDuration]);
        w.Field("amountPerTick", r[kAmountPerTick]);
        w.Field("lastTick", r[kLastTick]);
        w.EndObject();
    };
    record("poison", kPoison);
    record("curse", kCurse);
    w.Key("doubleExp");
    w.BeginObject();
    w.Field("elapsed", doubleExpElapsed);
    w.Field("total", doubleExpTotal);
    w.Field("multiplier", doubleExpMultiplier);
    w.EndObject();
    w.Key("attack");
    w.BeginObject();
    w.Field("name", currentAttack.Name());
    w.Field("frame", currentAttack.CurrentFrame());
    w.Field("bodyFrame", body[static_cast<std::size_t>(kAttacking)].CurrentFrame());
    w.Field("hit", swingHit);
    w.EndObject();
    w.Field("hurtImmunity", hurtImmunity);
    w.Field("deathAnimationDone", DeathAnimationDone());
    w.Field("weaponEquipped", weaponEquipped);
    w.EndObject();
}
