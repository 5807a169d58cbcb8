#pragma once
// What a monster needs from the world around it during one update: the
// player it fights, the camera, the map's size, the game's one random
// generator, and a host that presents what happens (log lines, damage
// numbers, effects, sounds, experience, drops, the death script).

#include <string>

#include "world/running_effects.h"

class Player;
class Random;
struct Camera;

// The sounds a fight plays; the game maps each to one loaded sound.
enum class MonsterSound { Hit, Strike, Lightning, Poison, Curse };

class MonsterHost {
public:
    virtual ~MonsterHost() = default;
    // A red "[系统]" line in the chat log (GBK text).
    virtual void Log(const std::string& gbkText) = 0;
    // A rising damage number at map position (x, y).
    virtual void DamageNumber(float value, float x, float y) = 0;
    // Library effect n (1..20) at map (x, y) in `mode`, `repeat` cycles
    // (0: until its owner stops it), in the back pass when `behind`.
    virtual EffectHandle SpawnEffect(int mode, int n, float x, float y, int repeat, bool behind) = 0;
    // The running effect of a handle, nullptr once it is gone.
    virtual Effect* FindEffect(EffectHandle h) = 0;
    virtual void PlaySound(MonsterSound sound, int volume) = 0;
    virtual void AddExperience(int amount) = 0;
    virtual void DropItem(const std::string& gbkName, float x, float y, int count, int counted) = 0;
    virtual void RunScript(const std::string& gbkText) = 0;
};

// Effect library numbers used by fights.
namespace monster_effects {
constexpr int kHitSpark = 4;      // 命中
constexpr int kCasterStrike = 15;  // 远程魔法1
constexpr int kLightning = 16;    // 闪电 (then 蓝光魔法 17, 绿色泡泡 18)
constexpr int kPoison = 19;       // 中毒
constexpr int kCurse = 20;        // 诅咒
}  // namespace monster_effects

// One monster update's world.
struct MonsterFrame {
    float dt = 0;
    Player& player;
    const Camera& camera;
    float mapWidth = 0, mapHeight = 0;
    float screenHeight = 600;
    Random& random;
    MonsterHost& host;
};
