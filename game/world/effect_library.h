#pragma once
// The 20 effects every running effect is copied from, numbered from 1,
// loaded once while the game loads and never changed afterwards.

#include <array>
#include <string_view>

#include "world/effect.h"

struct EffectTableRow {
    std::string_view utf8Name;
    int frames;
    int duration;     // hundredths of a second per frame
    int drawFlag;
    int cachedFolder;
};

class EffectLibrary {
public:
    static constexpr int kSize = 20;
    static const std::array<EffectTableRow, kSize>& Table();

    // Loads the 20 entries from "\data\效果\<name>\": first frame 1, last
    // frame = frame count, no owner.
    void Load(FrameCache& cache);
    bool loaded() const { return m_loaded; }

    // Entry n (1..20), or nullptr outside that range.
    const Effect* Entry(int n) const;

private:
    std::array<Effect, kSize> m_entries;
    bool m_loaded = false;
};
