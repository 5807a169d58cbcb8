#include "world/running_effects.h"

#include "core/json_writer.h"

EffectHandle RunningEffects::Spawn(const Effect& entry, int mode, float x, float y, int repeat, int backAndForth,
                                   std::uint32_t colour, int behind) {
    Entry e{m_nextId++, entry};
    Effect& fx = e.effect;
    fx.SetPosition(x, y);
    fx.SetAnchorMode(mode);
    fx.animation().Reset();
    fx.SetRepeat(repeat, backAndForth);
    if (colour != 0) fx.SetColour(colour);
    fx.SetDrawnBehind(behind);
    m_list.push_back(std::move(e));
    return {m_list.back().id};
}

Effect* RunningEffects::Find(EffectHandle h) {
    for (Entry& e : m_list)
        if (e.id == h.id) return &e.effect;
    return nullptr;
}

const Effect* RunningEffects::Find(EffectHandle h) const {
    for (const Entry& e : m_list)
        if (e.id == h.id) return &e.effect;
    return nullptr;
}

int RunningEffects::IndexOf(EffectHandle h) const {
    for (std::size_t i = 0; i < m_list.size(); ++i)
        if (m_list[i].id == h.id) return static_cast<int>(i + 1);
    return 0;
}

void RunningEffects::RenderPass(bool behind, const EffectContext& ctx) {
    for (std::size_t i = 0; i < m_list.size(); ++i) {
        Effect& fx = m_list[i].effect;
        if ((fx.drawnBehind() != 0) != behind) continue;
        if (fx.playing()) {
            // The spell's end goes to its monster with the effect's own id:
            // a monster that has thrown a newer strike since keeps it.
            if (fx.UpdateAndDraw(ctx) && fx.ownerKind() == static_cast<int>(EffectOwner::MonsterSpell) &&
                ctx.monsterSpellEnded)
                ctx.monsterSpellEnded(fx.ownerIndex(), m_list[i].id);
        } else {
            m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void RunningEffects::DumpState(JsonWriter& w) const {
    w.BeginArray();
    for (const Entry& e : m_list) e.effect.DumpState(w);
    w.EndArray();
}
