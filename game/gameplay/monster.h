#pragma once
// A monster of the current map (created from the monster table by the map
// load, owned by the map's actors). The map load places it
// (CreateFromRow); the game then loads its pictures, frame timing, hit
// frames, death script and drop table (Init). Every frame the game calls
// Update and Draw in list order. A dead monster stays in its slot with
// gone set, so indexes held by effects, the HUD and scripts stay right.
//
// Operations live in three sources: monster.cpp (loading, drawing, the
// dump), monster_behaviour.cpp (the per-frame behaviour and movement) and
// monster_combat.cpp (hits in both directions, HP, death and drops).

#include <array>
#include <string>
#include <vector>

#include "gameplay/combat_rules.h"
#include "gameplay/monster_host.h"
#include "platform/frame_animation.h"
#include "platform/sprite.h"
#include "shared/wdm_map.h"

class FrameCache;
class GdiFont;
class JsonWriter;
struct MonsterRow;
namespace paths {
class DataPaths;
}

// The pictures every monster shares: the name plate's pieces (left,
// stretched middle, right) and the health bar's fill and frame.
struct MonsterArt {
    std::array<Sprite, 3> plate;
    std::array<float, 3> plateWidth{};
    float plateHeight = 0;
    Sprite barFill, barFrame;
    float barFillWidth = 85, barFillHeight = 7;
};

// What drawing needs.
struct MonsterDraw {
    const Camera& camera;
    float screenWidth = 800, screenHeight = 600;
    GdiFont* font = nullptr;  // the game font for the name (none: no name)
    MonsterArt* art = nullptr;
};

class Monster {
public:
    static constexpr int kStand = 1, kWalk = 2, kFastWalk = 3, kAttack = 4, kHurt = 5, kDying = 6, kAttack2 = 7,
                         kAttack3 = 8;
    static constexpr int kMaxStates = 8;
    static constexpr float kHurtImmunity = 0.5f;  // the hurt timer runs to this
    static constexpr int kStrikeFrames = 80;      // a launched strike lasts this many frames
    static constexpr float kHealthBarWidth = 85;
    // The state folders, by state number.
    static const std::array<const char*, kMaxStates + 1>& StateFolders();

    Monster() = default;
    virtual ~Monster() = default;

    // Map load: the monster of table row `number` lives on square
    // `groundNumber` (`ground` is its rectangle) at the detail's offset; the
    // detail also carries the flying limits when the event had them. The row
    // and the square exist (the map skips events without them). Copies the
    // table values and places the monster (nothing is loaded here).
    virtual void CreateFromRow(int number, const MonsterRow& row, int groundNumber, const wdm::GroundRecord& ground,
                               const wdm::MonsterDetail& detail);
    // Loads the state folders (through the cache), 怪物帧率.txt, 数据.txt,
    // the death script and the drop table. Missing files leave defaults:
    // duration 10, range and hit frames 0, no script, no drops.
    void Init(FrameCache& cache, const paths::DataPaths& dataPaths, int listIndex);
    // The same from texts (tests): frame rates, data, death script, drops.
    void InitFromTexts(std::string_view frameRates, std::string_view data, std::string deathScript,
                       std::string_view drops);

    // ---- the frame (monster_behaviour.cpp)
    void Update(MonsterFrame& f);
    void NewWander(Random& random, int mode);
    void ApplyFacing();
    bool BlockedAhead(float mapWidth) const;
    // 0 wander, 1 chase, 2 attack now (kind 0; the others answer 0).
    int DecideEngage(MonsterFrame& f);
    void SetFloor(float y) { m_floor = y; }

    // ---- fights (monster_combat.cpp)
    // Applies damage (negative) or healing; at 0 the monster dies: death
    // animation, experience, drops and the death script.
    void ChangeHP(float delta, MonsterFrame& f);
    // Whether the weapon can hit this monster now (alive, not immune).
    bool CanBeHit() const;
    // A hit by the player: chat line, damage number, hurt state, HP, spark
    // and sound. `damage` is already rolled.
    void TakeHit(int damage, MonsterFrame& f);
    void MeleeHitCheck(MonsterFrame& f);
    void RangedHitCheck(MonsterFrame& f);
    // The effect `effect` has ended: when it is the current strike's own,
    // the strike can no longer hit; an older strike's effect changes nothing.
    virtual void SpellEnded(EffectHandle effect) {
        if (effect == strikeEffect) strikeActive = 0;
    }
    // The current frame's rectangle in map pixels (the box when the state
    // has no pictures).
    combat::Rect FrameRect(const Camera& camera) const;

    virtual void Draw(const MonsterDraw& d);
    virtual void DumpState(JsonWriter& w) const;

    // Health bar shown: alive, not dying and below maximum HP.
    bool ShowsHealthBar() const;
    int number() const { return m_number; }
    int homeGround() const { return m_homeGround; }
    float HP() const { return static_cast<float>(hp[0]); }

    // ---- the record
    std::array<FrameAnimation, kMaxStates + 1> animations;  // [1..stateCount]
    int kind = 0;
    int state = kWalk;
    int stateCount = 6;
    float x = 0, y = 0;
    float flipOffset = 0;
    int width = 0, height = 0;
    std::array<int, kMaxStates + 1> lastFrame{};
    std::array<int, kMaxStates + 1> frameDuration{};
    int direction = 0;  // 0 left, 1 right, 2 standing
    float behaviourTimer = 0, behaviourDuration = 0;
    float chaseTimer = 0;
    int engaged = 0;
    int strikeHit = 0;
    int lastDirection = 0;
    std::array<int, 2> hp{};  // current, maximum
    int previousState = kWalk;
    int gone = 0;
    float hurtTimer = 0;
    float homeLeft = 0, homeTop = 0, homeWidth = 0;  // the home square
    int hitFrameFirst = 0, hitFrameLast = 0;
    int detectRange = 0;
    int verticalDirection = 2;
    int bookDropped = 0;
    float speed = 1.0f;
    std::string name;  // GBK
    int attack = 0, defence = 0;
    int experience = 0;
    std::string deathScript;
    std::vector<combat::DropLine> dropLines;
    int strikeLaunched = 0;
    EffectHandle strikeEffect;
    int strikeActive = 0;
    int strikeCounter = 0;
    int index = 0;  // 1-based slot in the map's list
    std::array<int, 4> strike{-1, 0, 0, 0};
    int attackVariant = 0;

private:
    bool IsAttacking() const { return state == kAttack || state == kAttack2 || state == kAttack3; }
    bool PlayerInBand(const Player& p) const;
    bool PlayerCanBeHurt(const Player& p) const;
    // Whether the current state's animation shows its last frame (a state
    // with no pictures counts as finished).
    bool AtLastFrame(int s) const;
    // The state's animation from its first frame with a fresh timer.
    void Restart(int s) {
        animations[static_cast<std::size_t>(s)].Reset();
        animations[static_cast<std::size_t>(s)].SetCurrentFrame(1);
    }
    void AnchorAll(const Camera& camera);
    void StepCurrent(float dt);
    // A state entered outside the frame's step: its animation starts at its
    // first frame and gets its draw position at once, so the monster is
    // drawn (and a spark placed) where it stands in this very frame.
    void EnterState(int s, const Camera& camera);
    void UpdateDying(MonsterFrame& f);
    // False while the hurt animation still runs.
    bool UpdateHurt(MonsterFrame& f, int& mode);
    void Think(MonsterFrame& f, int& mode);
    void Walk(MonsterFrame& f, int& mode);
    void FlyerMove(MonsterFrame& f);
    void ReRollBlocked(Random& random);
    void RangedAttack(MonsterFrame& f);
    void ClearStrike();
    void EndAttackIfAlone(MonsterFrame& f);
    void Drops(MonsterFrame& f);

    int m_number = 0;
    int m_homeGround = 0;
    std::string m_folder, m_scriptFile;  // GBK
    float m_floor = 0;
    float m_prevThinkTimer = 0;
    bool m_mirrored = false;
};
