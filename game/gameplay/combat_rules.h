#pragma once
// The arithmetic of fights, free of sprites and of the game: random ranges,
// the damage formulas in both directions, rectangle overlap, drop lines and
// the numbers of a monster folder's text files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Random;

namespace combat {

// A rectangle (x, y, w, h) with (x, y) its top-left corner.
struct Rect {
    float x = 0, y = 0, w = 0, h = 0;
};

// Whether the two rectangles share an area; edges that only touch do not.
bool Overlap(const Rect& a, const Rect& b);

// A random integer of [a, b] from the game's one generator (never
// re-seeded). An upper bound below the lower one gives the lower bound.
int Roll(Random& random, int a, int b);

// The one damage rule of every fight, in both directions (weapon, thunder,
// heal, bites and strikes): a random integer of [low, high], the bounds
// truncated toward zero and kept within +-1e9. An upper bound below the
// lower one gives the lower bound, and the result is never below 0, so a
// strong defence makes a hit weak but never heals.
int Damage(Random& random, double low, double high);

// A monster's bite: guard from the player's physical defence, damage from
// the monster's attack. Never below 0.
int MeleeDamage(Random& random, int attack, int minPhysDefence, int maxPhysDefence);
// A monster's strike (variant 0): twice to three times the attack.
int RangedDamage(Random& random, int attack, int minPhysDefence, int maxPhysDefence);
// The player's weapon against a monster's defence. Never below 0.
int WeaponDamage(Random& random, int minPhysAttack, int maxPhysAttack, int strength, int monsterDefence);
// The thunder spell against a monster's defence: 100 x the minimum magic
// attack up to 100 x the maximum + 30 x agility - defence. Never below 0.
int ThunderDamage(Random& random, int minMagicAttack, int maxMagicAttack, int agility, double monsterDefence);
// The heal spell's HP: a fixed amount through the same rule (never below 0).
int HealAmount(Random& random, int amount);

// One line of a drop table: "a/b name" or "a/b name min max".
struct DropLine {
    int chanceLow = 0, chanceHigh = 0;  // drops when a roll of [a, b] gives a
    std::string name;                   // GBK item name
    bool counted = false;               // four fields: a count range
    int countLow = 0, countHigh = 0;
};

// Parses a drop line; nothing for a line without "a/b" or without a name.
// A trailing "\r" is ignored.
std::optional<DropLine> ParseDropLine(std::string_view line);

// What one drop line gave.
struct Drop {
    std::string name;
    int offsetStep = 0;  // the drop lands 15 x this from the monster's x
    int count = 0;
    int counted = 0;
};

// Rolls a drop line: the chance, the place and (four fields) the count.
std::optional<Drop> RollDrop(Random& random, const DropLine& line);

// Splits text into lines at "\n" with any "\r" removed.
std::vector<std::string> SplitLines(std::string_view text);

// The integer on line `index` (0-based) of the lines, or `fallback` when the
// line is missing or holds no number. Numbers are bounded to +-1,000,000.
int LineNumber(const std::vector<std::string>& lines, std::size_t index, int fallback);

// The drop lines of a table file's text: lines longer than 2 bytes that parse.
std::vector<DropLine> ParseDropTable(std::string_view text);

}  // namespace combat
