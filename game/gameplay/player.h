#pragma once
// The player character: its record, its animations and its per-frame
// update and draw. Movement, attacks, skills, status effects and progression
// fill Update in later work; the loading stage fills the animations and the
// starting values.

#include <array>
#include <string>

#include "platform/controls.h"
#include "platform/frame_animation.h"
#include "platform/sprite.h"
#include "world/camera.h"
#include "world/movement.h"

class Engine;
class FrameCache;
class JsonWriter;
namespace paths {
class DataPaths;
}

// What a player update asks of the game around it.
struct PlayerEvents {
    bool fellBelowMap = false;  // put the player back on the start ground
};

// One attack definition ("攻击1", "攻击2", ...); its fields grow with the
// attack and skill work.
struct AttackDefinition {
    std::string name;  // GBK
};

// The movement fields (state, box, facing, jump, fall, camera lead, ground)
// come from PlayerMotion, so the movement update works on the player itself.
class Player : public PlayerMotion {
public:
    static constexpr int kStates = 12;
    // The player's box.
    static constexpr float kBoxWidth = 40, kBoxHeight = 70;

    Player() = default;

    // Loading: the five attack definitions (the first two filled) and the
    // current attack as a copy of the first.
    void CreateAttacks();
    // Loading: the body and weapon animations of the starting weapon, with
    // their frame timing.
    void LoadAnimations(FrameCache& cache);
    // Loading: the single jump frames, each a sprite of its whole picture.
    // Their info files (beside the pictures) give the offsets against the
    // anchor, as for any frame.
    void LoadJumpSprites(Engine& engine, const paths::DataPaths& dataPaths);
    // Starting values: attributes, sizes, state and name.
    void ResetToStart();

    // Once a frame while the window has the focus, on the current map's
    // terrain inside a map of the camera's size.
    PlayerEvents Update(float dt, const Controls& controls, const Terrain& terrain, const Camera& camera);
    // The movement of this frame from the controls (after attacks and skills).
    PlayerEvents UpdateMovement(const Controls& controls, const Terrain& terrain, const Camera& camera);
    // Idle, walk and climb animations, or the jump sprites while rising, at
    // the camera offsets + position + attackOffset, mirrored when facing left;
    // the animations advance by dt.
    void Draw(const Camera& camera, float dt);
    void DumpState(JsonWriter& w) const;

    // ---- record (state: see PlayerMotion)
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

    float boxOffsetX = 0;     // horizontal offset of the box inside the picture
    // Set by the attack handling when Z started an attack in this frame; it
    // keeps the player from walking in the same frame.
    bool attackStartedThisFrame = false;

    std::array<AttackDefinition, 5> attacks;
    AttackDefinition currentAttack;

    // Animations by state (index 1..12; states without one stay empty).
    std::array<FrameAnimation, kStates + 1> body;
    std::array<FrameAnimation, kStates + 1> weapon;
    std::array<int, kStates + 1> frameCount{};
    std::array<int, kStates + 1> frameDuration{};
    Sprite jumpBody, jumpWeapon;
    FrameInfo jumpBodyInfo, jumpWeaponInfo;  // offsets of the jump pictures
    // Whether the weapon slot holds an item (the equipment work keeps it).
    bool weaponEquipped = false;
};
