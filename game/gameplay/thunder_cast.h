#pragma once
// The thunder spell: the skill keys of a frame, the cast state machine on
// the player, its targeting and its damage. The functions change only the
// player (state, spellFired, MP, the casting animations) and report the
// frame's outcome; the game presents it (effect, sound, the hit on the
// monster with its log line and damage number).
//
// A cast: a skill key starts it from idle, walking or ready on the ground
// (the gate of the Z swing); the casting animation plays once; when it
// reaches its last frame the spell fires (MP - 20, no lower bound) provided
// MP > 0; when the last frame has had its time the player is idle again.
// A cast without MP ends the same way, without firing.

#include <vector>

class Player;
class Random;

// One monster as the spell sees it, in map order.
struct SpellTarget {
    float drawX = 0;  // x + its flip offset
    float y = 0;
    float width = 0, height = 0;
    float hurtTimer = 0;  // 0: can be hit
    float hp = 0;
    float defence = 0;
};

// What one frame of the cast did.
struct ThunderFrame {
    bool handled = false;  // the frame belonged to a cast (SkillKey's key answer)
    bool entered = false;  // the cast started in this frame
    bool fired = false;    // the spell was released in this frame
    bool ended = false;    // the cast ended: the player is idle again
    int target = 0;        // 1-based index of the monster hit; 0 = none
    float effectX = 0, effectY = 0;  // where the lightning shows (map pixels)
    int damage = 0;
};

namespace thunder {

constexpr int kMpCost = 20;

// Whether a cast may start: idle, walking or ready, with both jump fields 0.
bool CanStartCast(const Player& p);

// The first target in map order that can be hit (hurt timer 0, HP > 0) and
// lies within the player's spell reach on the side the player faces;
// 0 when none.
int FirstTargetInReach(const Player& p, const std::vector<SpellTarget>& targets);

// The cast itself, once a frame while casting (and in the frame that
// starts it): enters the casting state, steps the casting animations by
// dt, fires once, leaves at the animation's end.
ThunderFrame CastThunder(Player& p, const std::vector<SpellTarget>& targets, Random& random, float dt);

// The skill keys of a frame: `key` is the key that went down in this frame
// (0 when none). A cast under way goes on whatever the key; a key bound in
// the player's skill list starts one when CanStartCast allows.
ThunderFrame SkillKey(Player& p, int key, const std::vector<SpellTarget>& targets, Random& random, float dt);

}  // namespace thunder
