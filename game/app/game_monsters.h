#pragma once
// The game's side of the monsters: it loads their shared pictures and each
// map's monsters, drives their update and drawing, answers the player's
// weapon hit check, presents what fights do (log lines, numbers, effects,
// sounds, experience, drops, death scripts) and keeps the monster the
// player hit last, which the HUD shows.

#include "gameplay/monster.h"

class Game;
class JsonWriter;

class GameMonsters final : public MonsterHost {
public:
    explicit GameMonsters(Game& game) : m_game(game) {}

    // After a map load: every monster gets its pictures, timing, script and
    // drops; the last-hit monster is forgotten.
    void SetUp();
    void Update(float dt);
    void Draw();
    // The weapon's hit check of the current swing; true when a monster was hit.
    bool PhysicalAttack(Player& player);
    // The thunder spell's hit on monster `slot` (1-based) with its rolled
    // damage: the same log line, number, hurt state, HP and spark as a
    // weapon hit, and it becomes the last-hit monster.
    void SpellHit(int slot, int damage);
    // The last-hit monster's name and health at the top of the screen.
    void DrawTarget();
    // "combat": the last-hit index.
    void DumpState(JsonWriter& w) const;

    // The player's weapon box this frame, in map pixels.
    static combat::Rect WeaponBox(const Player& player, const Camera& camera);

    int lastHit() const { return m_lastHit; }

    // ---- MonsterHost
    void Log(const std::string& gbkText) override;
    void DamageNumber(float value, float x, float y) override;
    EffectHandle SpawnEffect(int mode, int n, float x, float y, int repeat, bool behind) override;
    Effect* FindEffect(EffectHandle h) override;
    void PlaySound(MonsterSound sound, int volume) override;
    void AddExperience(int amount) override;
    void DropItem(const std::string& gbkName, float x, float y, int count, int counted) override;
    void RunScript(const std::string& gbkText) override;

private:
    void LoadArt();
    MonsterFrame MakeFrame(float dt);
    Game& m_game;
    MonsterArt m_art;
    bool m_artLoaded = false;
    int m_lastHit = 0;  // 1-based slot, 0: none
};
