#pragma once
// The game's side of the skills: learning (from the book or by row), the
// thunder spell's cast with its lightning, sound and hit on a monster, the
// skill bar's keys and clicks with the cast of a bar cell, the skill window,
// and the skills' part of the state dump.

#include <string>
#include <vector>

#include "gameplay/thunder_cast.h"
#include "ui/skill_bar.h"
#include "ui/skill_window.h"

class Game;
class JsonWriter;
class Player;
struct Controls;

class GameSkills {
public:
    // The skill row the thunder book teaches and V casts.
    static constexpr const char* kThunderName = "雷电术";
    // The skill row a bar cell casts as the heal spell (HP for MP).
    static constexpr const char* kHealName = "治愈术";

    explicit GameSkills(Game& game) : m_game(game) {}

    // Loading: the skill icons, the cooldown shade and the tooltip tile.
    void Load();

    // LearnSkill: skill row n into the player's skill list, with its log
    // line; the thunder row gets the key V. False (and the log line) when
    // the player knows it already, false when the list is full or the row
    // does not exist.
    bool LearnSkill(int skillRow);
    // The skill row the item of row `itemNumber` teaches: the row named like
    // the item without its last "书" ("雷电术书" -> "雷电术"); 0 when the
    // item is no skill book.
    int BookSkill(int itemNumber) const;
    bool LearnFromBook(int itemNumber) { return LearnSkill(BookSkill(itemNumber)); }
    // The first skill row named `gbkName`; 0 when none.
    int FindSkill(const std::string& gbkName) const;

    // The player update's skill keys: V starts the thunder spell, a cast
    // under way goes on; what fired is presented here.
    void SkillKeys(Player& player, const Controls& controls);

    // The presses the skill bar's layer took: pick up, drop, swap, clear.
    void BarInput(const Controls& input);
    // The presses the skill window's rows took: a row's skill is picked up.
    void WindowInput(const Controls& input);
    // A press that reached the world while a skill is carried: it goes back
    // to its cell. True when one was carried.
    bool LetGoCarried();
    // The skill keys (what typing left of them): A S D F Q W E R, and the
    // cooldowns.
    void UpdateKeys(const Controls& controls, float dt);
    // UseSkillSlot(n): cell n's cast with its row's effect and cooldown.
    void UseSkillSlot(int n);

    // The skill window's rows (over its background).
    void DrawWindow();
    // The bar's cells.
    void DrawBar();
    // The tooltip of the bar cell or window row under the pointer.
    void DrawBarTooltip();
    void DrawWindowTooltip();
    // The carried skill under the pointer.
    void DrawCarried();
    // Writes the key "skills": the list, the bar and the carried skill.
    void DumpState(JsonWriter& w) const;

    SkillBar bar;
    SkillWindow window;

private:
    std::vector<SpellTarget> Targets() const;
    void Present(const ThunderFrame& cast);
    // The heal row's own part of a bar cell's cast: false (with the reason
    // on screen) when it cannot be cast now.
    bool CanHeal(const SkillRow& row);
    void Heal(const SkillRow& row);
    bool SkillWindowOpen() const;

    Game& m_game;
};
