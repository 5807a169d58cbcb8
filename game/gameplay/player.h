#pragma once
// The player character: its record, its animations and its per-frame
// update and draw.
//
// The record's operations are plain: they change the record and report what
// happened as events (a level-up due, a poison tick, the death, ...), and the
// game presents those (sounds, effects, log lines). The per-frame update
// takes a narrow context: the controls, the terrain, the camera and the
// fights around the player (skill keys and the weapon's hit check).
//
// Operations live in four sources: player.cpp (loading, the frame, drawing,
// the dump), player_progression.cpp (experience, level, gold, double
// experience, attributes), player_condition.cpp (poison, curse, rest,
// death and revival) and player_attack.cpp (the Z swing).

#include <array>
#include <string>

#include "gameplay/attack_definition.h"
#include "gameplay/inventory.h"
#include "gameplay/player_combat.h"
#include "gameplay/skills.h"
#include "platform/controls.h"
#include "platform/frame_animation.h"
#include "platform/sprite.h"
#include "world/camera.h"
#include "world/movement.h"

class DataTables;
class Engine;
class FrameCache;
class JsonWriter;
namespace paths {
class DataPaths;
}

// What one player update reports to the game around it.
struct PlayerEvents {
    bool fellBelowMap = false;  // put the player back on the start ground
    bool died = false;          // the death animation started: its sound plays
    int poisonDamage = 0;       // a poison tick took this much HP (0: none)
    bool swingStarted = false;  // Z started a swing in this frame
};

// The narrow context of one player update.
struct PlayerFrame {
    float dt = 0;
    const Controls& controls;
    const Terrain& terrain;
    const Camera& camera;
    PlayerCombat& combat;
    bool chatInputFocused = false;  // the chat input has the focus: counts as rest
};

// What one AddExperience did before a level-up could change the level.
struct ExperienceGain {
    int amount = 0;         // after the multiplier, as the messages show it
    bool levelUpDue = false;  // experience reached the need of the current level
};

// A completed level-up.
struct LevelUp {
    int newLevel = 0;
    int carriedExperience = 0;
};

// The movement fields (state, box, facing, jump, fall, camera lead, ground)
// come from PlayerMotion, so the movement update works on the player itself.
class Player : public PlayerMotion {
public:
    static constexpr int kStates = 12;
    // The player's box.
    static constexpr float kBoxWidth = 40, kBoxHeight = 70;
    // Status slots (statusFlags, statusRecords).
    static constexpr int kPoison = 1, kCurse = 2;
    // Columns of a status record.
    static constexpr int kElapsed = 0, kDuration = 1, kAmountPerTick = 2, kLastTick = 3;
    // Regeneration: +1 HP and MP once the counter passes this many frames.
    static constexpr int kRegenFrames = 50;
    static constexpr float kRestSeconds = 5.0f;
    // Body frame of a swing from which the weapon can hit.
    static constexpr int kFirstHittingFrame = 5;

    Player();

    // ---- loading
    // The five attack definitions, the first two filled ("攻击1", "攻击2"),
    // and the current attack as a copy of the first.
    void CreateAttacks(FrameCache& cache);
    // The body and weapon animations of the starting weapon, with their
    // frame timing.
    void LoadAnimations(FrameCache& cache);
    // The single jump frames, each a sprite of its whole picture. Their info
    // files (beside the pictures) give the offsets against the anchor.
    void LoadJumpSprites(Engine& engine, const paths::DataPaths& dataPaths);
    // Starting values: attributes, sizes, state and name.
    void ResetToStart();

    // ---- the frame
    // Once a frame while the window has the focus: the death check, the
    // double-experience timer and the status run-down, the skill keys, the
    // Z swing, rest and regeneration, then the movement. A dead player only
    // plays its death animation (held on its last frame).
    PlayerEvents Update(const PlayerFrame& frame);
    // The same with no skills and no monsters to hit.
    PlayerEvents Update(float dt, const Controls& controls, const Terrain& terrain, const Camera& camera);
    // The body animation of the state (or the jump sprites while rising) at
    // the camera offsets + position + attackOffset, mirrored when facing
    // left, the weapon overlay over it while a weapon is held, and the
    // current attack during a swing's hitting frames. Looping animations
    // advance by dt here; the swing, the hit and the death advance in Update.
    void Draw(const Camera& camera, float dt);
    void DumpState(JsonWriter& w) const;

    // ---- progression (player_progression.cpp)
    // Multiplier, truncation and the saturating add; says whether the
    // level-up is due (experience >= 50 x (level + 1)^2). The level is not
    // changed here: the caller runs the level-up script first, then calls
    // CompleteLevelUp.
    ExperienceGain GainExperience(int amount);
    // The excess experience carries over and the level grows by one.
    LevelUp CompleteLevelUp();
    // Experience needed at `level` to reach the next one.
    static double LevelUpNeed(int level);
    // Level := level, never below 1.
    void SetLevel(int newLevel);
    // Gold := gold, any int (it may go below 0).
    void SetGold(int newGold) { gold = newGold; }
    // The double-experience item: one more minute on the timer (what was
    // left, cut to whole seconds, + 60) at multiplier 2. Returns the total.
    float StartDoubleExperience();
    // The timer runs while total and multiplier are set; at the end all
    // three are 0.
    void UpdateDoubleExperience(float dt);
    // The combat values and stats from the equipment: base 1 and 0, plus the
    // columns of each equipped item's table row.
    void RecomputeAttributes(const ItemSlots<12>& equipment, const DataTables& tables);

    // ---- condition (player_condition.cpp)
    // Poison and curse run down; returns the HP a poison tick took (0: none).
    int UpdateStatus(float dt);
    // Starts or lengthens a poison: a fresh record when not yet poisoned,
    // duration and amount added (an amount below 1 becomes 1). Returns true
    // when the player was not poisoned before (the poison effect starts).
    bool StartPoison(float seconds, float amountPerTick);
    // The same for the curse (no amount).
    bool StartCurse(float seconds);
    // HP 0: dead, poison stopped, both flags cleared. Returns true when the
    // player was not dead yet.
    bool CheckDeath();
    // Rest timer and regeneration for this frame.
    void UpdateRest(const Controls& controls, bool chatInputFocused, float dt);
    // HP 10 / 10, MP 500 / 500, idle, the death animations from the start.
    // The caller sends the player back to town.
    void Revive();
    // The hit state, its flinch from the start even when one is playing.
    void Flinch();
    bool IsDead() const { return state == kDead; }
    // Dead and the death animation shows its last frame (the death box).
    bool DeathAnimationDone() const;

    // ---- the Z swing (player_attack.cpp)
    // Starts a swing on a fresh Z, steps it while it lasts, runs the weapon
    // hit check from the hitting frame until a hit, and ends the swing when
    // the body attack animation's last frame has had its time.
    bool UpdateAttack(const PlayerFrame& frame);
    // The screen anchor of the drawings and the attack box.
    float AnchorX(const Camera& camera) const { return camera.offsetX + x + attackOffset; }
    float AnchorY(const Camera& camera) const { return camera.offsetY + y; }

    // ---- record (state: see PlayerMotion)
    float restTimer = 0;
    // Seconds left in which no monster can hurt the player: a bite grants a
    // moment to strike back instead of flinching again and again.
    float hurtImmunity = 0;
    // The flinch takes a second; the pause lasts one more.
    static constexpr float kHurtImmunitySeconds = 2.0f;
    float hp = 20, maxHp = 20, mp = 500, maxMp = 500;
    std::string name;  // GBK
    int level = 1;
    int minPhysAttack = 1, maxPhysAttack = 1, minPhysDefence = 1, maxPhysDefence = 1;
    int minMagicAttack = 1, maxMagicAttack = 1, minMagicDefence = 1, maxMagicDefence = 1;
    int strength = 0, agility = 0, accuracy = 0, intelligence = 0, constitution = 0;
    int gold = 0;
    int experience = 0;
    int spellReach = 200;
    std::array<int, 3> statusFlags{};  // [1] poisoned, [2] cursed ([0] unused)
    // [1] poison, [2] curse; columns elapsed, duration, amount per tick, last tick.
    std::array<std::array<float, 4>, 3> statusRecords{};
    float doubleExpElapsed = 0, doubleExpTotal = 0, doubleExpMultiplier = 0;
    int regenCounter = 0;  // frames of regeneration since the last point

    // Set when Z started a swing in this frame; it keeps the player from
    // walking in the same frame.
    bool attackStartedThisFrame = false;
    // The current swing has hit a monster (no second hit in one swing).
    bool swingHit = false;

    std::array<AttackDefinition, 5> attacks;
    AttackDefinition currentAttack;

    // Animations by state (index 1..12; states without one stay empty).
    std::array<FrameAnimation, kStates + 1> body;
    std::array<FrameAnimation, kStates + 1> weapon;
    std::array<int, kStates + 1> frameCount{};
    std::array<int, kStates + 1> frameDuration{};
    Sprite jumpBody, jumpWeapon;
    FrameInfo jumpBodyInfo, jumpWeaponInfo;  // offsets of the jump pictures
    // Whether the weapon slot holds an item (the game keeps it each frame).
    bool weaponEquipped = false;

    // The learned skills (thunder_cast.h casts them).
    SkillList skills;
    // The current cast has released its spell.
    bool spellFired = false;

    // Steps body and weapon of state s; true when its last frame's time ran
    // out (the animation would start over).
    bool StepOnce(int s, float dt);
    // Body and weapon of state s back to their first frame.
    void RestartAnimations(int s);

private:
    // Hit and death play once and are timed by the update, not the draw; a
    // state entered since the last update starts its animations afresh.
    void StepTimedAnimations(float dt);
    int m_timedState = 0;  // the state whose timed animation is running
};
