#pragma once
// A monster on a flat 2000-pixel map beside a player, with a host that
// records what the fights present, driven at a fixed 1/60 s step.

#include <string>
#include <vector>

#include "core/random.h"
#include "gameplay/data_tables.h"
#include "gameplay/monster.h"
#include "gameplay/player.h"
#include "world/camera.h"

namespace monster_test {

constexpr float kStep = 1.0f / 60;

struct RecordingHost final : MonsterHost {
    std::vector<std::string> lines;
    std::vector<float> numbers;
    std::vector<int> effects;  // library numbers spawned
    int experience = 0;
    struct DropRecord {
        std::string name;
        float x, y;
        int count, counted;
    };
    std::vector<DropRecord> drops;
    std::vector<std::string> scripts;
    void Log(const std::string& t) override { lines.push_back(t); }
    void DamageNumber(float v, float, float) override { numbers.push_back(v); }
    EffectHandle SpawnEffect(int, int n, float, float, int, bool) override {
        effects.push_back(n);
        return {};
    }
    Effect* FindEffect(EffectHandle) override { return nullptr; }
    void PlaySound(MonsterSound, int) override {}
    void AddExperience(int a) override { experience += a; }
    void DropItem(const std::string& n, float x, float y, int c, int k) override { drops.push_back({n, x, y, c, k}); }
    void RunScript(const std::string& t) override { scripts.push_back(t); }
};

struct Arena {
    Random random{7};
    RecordingHost host;
    Player player;
    Camera camera;
    Monster monster;

    // A monster of `kind` on the ground square (0, 500, 2000, 100) at `offset`.
    explicit Arena(int kind, int offset = 600, std::string drops = "") {
        camera.mapWidth = 2000;
        camera.mapHeight = 600;
        MonsterRow row;
        row.name = "dog";
        row.width = 70;
        row.height = 50;
        row.hitPoints = 40;
        row.attack = 6;
        row.defence = 1;
        row.kind = kind;
        row.experience = 20;
        wdm::GroundRecord ground{0, 500, 2000, 100, 0};
        wdm::MonsterDetail detail;
        detail.offset = offset;
        monster.CreateFromRow(1, row, 1, ground, detail);
        monster.InitFromTexts("10\r\n10\r\n10\r\n10\r\n10\r\n10\r\n10\r\n10", "40\r\n1\r\n3", "death()", drops);
        monster.index = 1;
        player.ResetToStart();
        player.hp = player.maxHp = 1000;
        player.x = 300;
        player.y = 502 - Player::kBoxHeight;  // feet 2 px into the ground, as the game stands them
    }
    MonsterFrame Frame() { return MonsterFrame{kStep, player, camera, 2000, 600, 600, random, host}; }
    void Step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            MonsterFrame f = Frame();
            monster.Update(f);
        }
    }
    // Stands the player just inside the monster's detection band, feet on the ground.
    void PlayerBeside() { player.x = monster.x - static_cast<float>(monster.width) + 5; }
};

}  // namespace monster_test
