#pragma once
// The effects playing on the current map, in spawn order (the order of
// update and drawing). The map owns this list and empties it on every load.
//
// SpawnEffect hands out an EffectHandle instead of a position: positions
// move down when an earlier effect is removed, a handle does not. Ids are
// never reused within a run, so a handle to a removed effect finds nothing
// and its owner learns that the effect is gone.

#include <cstdint>
#include <functional>
#include <vector>

#include "world/effect.h"

class JsonWriter;

struct EffectHandle {
    std::uint32_t id = 0;  // 0: no effect
    explicit operator bool() const { return id != 0; }
    bool operator==(const EffectHandle&) const = default;
};

class RunningEffects {
public:
    // Appends a copy of `entry` (fields and loaded animation), placed at
    // (x, y) with anchor mode `mode`, reset, repeating `repeat` cycles
    // (0 = for ever), back and forth when backAndForth != 0, tinted with
    // colour when it is not 0, in the back pass when behind != 0.
    EffectHandle Spawn(const Effect& entry, int mode, float x, float y, int repeat, int backAndForth,
                       std::uint32_t colour, int behind);

    // The effect, or nullptr once it has been removed. The pointer is valid
    // until the list next changes.
    Effect* Find(EffectHandle h);
    const Effect* Find(EffectHandle h) const;
    // 1-based position in the list, or 0 when gone.
    int IndexOf(EffectHandle h) const;

    // One render pass over the effects whose drawn-behind flag equals
    // `behind`: playing ones are updated and drawn; the first one found
    // stopped is removed and ends the pass (one removal per pass).
    void RenderPass(bool behind, const EffectContext& ctx);

    void Clear() { m_list.clear(); }
    int size() const { return static_cast<int>(m_list.size()); }
    // i from 1 to size().
    Effect& At(int i) { return m_list[static_cast<std::size_t>(i - 1)].effect; }
    EffectHandle HandleAt(int i) const { return {m_list[static_cast<std::size_t>(i - 1)].id}; }

    void DumpState(JsonWriter& w) const;  // an array of effects

private:
    struct Entry {
        std::uint32_t id;
        Effect effect;
    };
    std::vector<Entry> m_list;
    std::uint32_t m_nextId = 1;
};
