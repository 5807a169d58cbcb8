#pragma once
// The player character: its record, its animations and its per-frame
// update and draw. Movement, attacks, skills, status effects and progression
// fill Update in later work; the loading stage fills the animations and the
// starting values.

#include <array>
#include <string>

#include "core/frame_animation.h"
#include "platform/sprite.h"

class Game;
class FrameCache;
class JsonWriter;

// One attack definition ("攻击1", "攻击2", ...); its fields grow with the
// attack and skill work.
struct AttackDefinition {
    std::string name;  // GBK
};

class Player {
public:
    static constexpr int kStates = 12;
    // Player states that have animations.
    static constexpr int kIdle = 1, kWalking = 2, kReady = 4, kAttacking = 6, kClimbing = 9, kHit = 10,
                         kDead = 11, kCasting = 12;

    explicit Player(Game& game) : m_game(game) {}

    // Loading: the five attack definitions (the first two filled) and the
    // current attack as a copy of the first.
    void CreateAttacks();
    // Loading: the body and weapon animations of the starting weapon, with
    // their frame timing.
    void LoadAnimations(FrameCache& cache);
    // Loading: the single jump frames.
    void LoadJumpSprites(Sprite body, Sprite weapon);
    // Starting values: attributes, sizes, state and name.
    void ResetToStart();

    // Once a frame while the window has the focus.
    void Update(float dt);
    void Draw();
    void DumpState(JsonWriter& w) const;

    // ---- record
    int state = kIdle;
    float restTimer = 0;
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

    // ---- box and facing (movement work owns the values)
    float x = 0, y = 0;
    float width = 0, height = 0;
    float boxOffsetX = 0;     // horizontal offset of the box inside the picture
    int facing = 2;           // 1 left, 2 right
    int mirror = 1;           // -1 when facing left
    float attackBoxOffset = 0;

    std::array<AttackDefinition, 5> attacks;
    AttackDefinition currentAttack;

    // Animations by state (index 1..12; states without one stay empty).
    std::array<FrameAnimation, kStates + 1> body;
    std::array<FrameAnimation, kStates + 1> weapon;
    std::array<int, kStates + 1> frameCount{};
    std::array<int, kStates + 1> frameDuration{};
    Sprite jumpBody, jumpWeapon;

private:
    Game& m_game;
};
