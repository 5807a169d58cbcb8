#include "gameplay/combat_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/random.h"

namespace combat {

bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

int Roll(Random& random, int a, int b) { return b < a ? a : random.Int(a, b); }

namespace {

int Guard(Random& random, int minPhysDefence, int maxPhysDefence) {
    return Roll(random, minPhysDefence, static_cast<int>(2.0 * maxPhysDefence));
}

}  // namespace

int Damage(Random& random, double low, double high) {
    // NaN counts as 0; trunc keeps the conversion toward zero.
    auto bound = [](double v) { return v == v ? static_cast<int>(std::trunc(std::clamp(v, -1e9, 1e9))) : 0; };
    return std::max(0, Roll(random, bound(low), bound(high)));
}

int MeleeDamage(Random& random, int attack, int minPhysDefence, int maxPhysDefence) {
    const int guard = Guard(random, minPhysDefence, maxPhysDefence);
    return Damage(random, attack, 2.0 * attack - guard);
}

int RangedDamage(Random& random, int attack, int minPhysDefence, int maxPhysDefence) {
    const int guard = Guard(random, minPhysDefence, maxPhysDefence);
    return Damage(random, 2.0 * attack, 3.0 * attack - guard);
}

int WeaponDamage(Random& random, int minPhysAttack, int maxPhysAttack, int strength, int monsterDefence) {
    return Damage(random, 2.0 * minPhysAttack, 2.0 * maxPhysAttack + 3.0 * strength - monsterDefence);
}

int ThunderDamage(Random& random, int minMagicAttack, int maxMagicAttack, int agility, double monsterDefence) {
    // The upper bound is worked out in float and truncated, as the cast
    // always has.
    const float high = 100.0f * static_cast<float>(maxMagicAttack) + 30.0f * static_cast<float>(agility) -
                       static_cast<float>(monsterDefence);
    return Damage(random, 100.0 * minMagicAttack, high);
}

int HealAmount(Random& random, int amount) { return Damage(random, amount, amount); }

namespace {

std::vector<std::string_view> SplitSpaces(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t j = s.find(' ', i);
        if (j == std::string_view::npos) j = s.size();
        if (j > i) out.push_back(s.substr(i, j - i));
        i = j + 1;
    }
    return out;
}

std::optional<int> ToInt(std::string_view s) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (s[0] == '-') {
        negative = true;
        i = 1;
    }
    if (i == s.size()) return std::nullopt;
    int v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
    }
    return negative ? -v : v;
}

}  // namespace

std::optional<DropLine> ParseDropLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) line.remove_suffix(1);
    std::vector<std::string_view> f = SplitSpaces(line);
    if (f.size() < 2) return std::nullopt;
    const std::size_t slash = f[0].find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    std::optional<int> a = ToInt(f[0].substr(0, slash)), b = ToInt(f[0].substr(slash + 1));
    if (!a || !b) return std::nullopt;
    DropLine d;
    d.chanceLow = *a;
    d.chanceHigh = *b;
    d.name = std::string(f[1]);
    if (f.size() >= 4) {
        std::optional<int> lo = ToInt(f[2]), hi = ToInt(f[3]);
        if (lo && hi) {
            d.counted = true;
            d.countLow = *lo;
            d.countHigh = *hi;
        }
    }
    return d;
}

std::optional<Drop> RollDrop(Random& random, const DropLine& line) {
    if (Roll(random, line.chanceLow, line.chanceHigh) != line.chanceLow) return std::nullopt;
    Drop d;
    d.name = line.name;
    d.offsetStep = Roll(random, -5, 5);
    if (line.counted) {
        d.count = Roll(random, line.countLow, line.countHigh);
        d.counted = 1;
    }
    return d;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) lines.push_back(std::move(cur));
    return lines;
}

int LineNumber(const std::vector<std::string>& lines, std::size_t index, int fallback) {
    if (index >= lines.size()) return fallback;
    const std::string& s = lines[index];
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && s[i] == '-') {
        negative = true;
        ++i;
    }
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return fallback;
    long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = std::min(v * 10 + (s[i] - '0'), 1000000L);
    return static_cast<int>(negative ? -v : v);
}

std::vector<DropLine> ParseDropTable(std::string_view text) {
    std::vector<DropLine> out;
    for (const std::string& line : SplitLines(text)) {
        if (line.size() <= 2) continue;
        if (std::optional<DropLine> d = ParseDropLine(line)) out.push_back(std::move(*d));
    }
    return out;
}

}  // namespace combat
