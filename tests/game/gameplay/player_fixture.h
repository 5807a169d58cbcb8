#pragma once
// A player standing on flat ground, driven frame by frame with hand-made
// controls, and a combat stand-in that counts the hit checks it is asked.

#include <functional>

#include "gameplay/player.h"
#include "world/camera.h"
#include "world/terrain.h"

namespace player_test {

constexpr float kFrame = 1.0f / 60;

// Which controls are down in a frame.
struct Keys {
    bool attackPressed = false, attackHeld = false, left = false, jump = false, chatFocus = false;
};

struct CountingCombat final : PlayerCombat {
    int checks = 0;
    int hitOnCheck = 0;  // answer true on this check (0: never)
    void SkillKeys(Player&, const Controls&) override {}
    bool PhysicalAttack(Player&) override { return ++checks == hitOnCheck; }
};

struct Stand {
    Player player;
    Terrain terrain;
    Camera camera;
    CountingCombat combat;

    Stand() {
        terrain.squares.push_back({0, 500, 800, 100, 0});
        camera.mapWidth = 800;
        camera.mapHeight = 600;
        player.ResetToStart();
        player.x = 300;
        player.y = 500 + 2 - Player::kBoxHeight;
        player.currentGround = 1;
    }

    PlayerEvents Frame(const Keys& k = {}, float dt = kFrame) {
        Controls c;
        c[Action::Attack].pressed = k.attackPressed;
        c[Action::Attack].held = k.attackHeld || k.attackPressed;
        c[Action::WalkLeft].held = k.left;
        c[Action::Jump].pressed = k.jump;
        c[Action::Jump].held = k.jump;
        return player.Update(PlayerFrame{dt, c, terrain, camera, combat, k.chatFocus});
    }
    // Runs frames until `done` or `limit` frames; returns how many ran.
    int FramesUntil(const std::function<bool()>& done, const Keys& k = {}, int limit = 10000) {
        int n = 0;
        while (n < limit && !done()) {
            Frame(k);
            ++n;
        }
        return n;
    }
};

}  // namespace player_test
