// Event detail texts: the sub-fields of each event kind.

#include "shared/gbk.h"
#include "shared/wdm_map.h"
#include "shared/wdm_split.h"

#include <string>

namespace wdm {
namespace {

// Only the first few sub-fields of any kind are read; more are ignored.
constexpr std::size_t kMaxDetailFields = 8;

std::vector<std::string_view> Fields(std::string_view detail) {
    return SplitViews(detail, kSubFieldSeparator, kMaxDetailFields);
}

std::string_view At(const std::vector<std::string_view>& f, std::size_t i) {
    return i < f.size() ? f[i] : std::string_view{};
}

const std::string& TrueText() { return gbk::Lit("真"); }
const std::string& FalseText() { return gbk::Lit("假"); }

class Joiner {
public:
    Joiner& Add(std::string_view s) {
        if (!m_first) m_out += kSubFieldSeparator;
        m_first = false;
        m_out += s;
        return *this;
    }
    Joiner& Int(int v) { return Add(std::to_string(v)); }
    Joiner& Real(double v) { return Add(gbk::NumberToText(v)); }
    Joiner& Bool(bool v) { return Add(v ? TrueText() : FalseText()); }
    std::string Take() { return std::move(m_out); }

private:
    std::string m_out;
    bool m_first = true;
};

}  // namespace

bool AnimationDetail::backAndForth() const { return playMode == gbk::Lit("往返"); }

std::vector<std::string> DetailFields(std::string_view detail) {
    std::vector<std::string> out;
    PieceSplitter splitter(detail, kSubFieldSeparator);
    std::string_view piece;
    while (splitter.Next(piece)) out.emplace_back(piece);
    return out;
}

std::string JoinDetail(const std::vector<std::string>& fields) {
    Joiner j;
    for (const std::string& f : fields) j.Add(f);
    return j.Take();
}

NpcDetail ParseNpcDetail(std::string_view detail) {
    const auto f = Fields(detail);
    NpcDetail d;
    d.npcId = gbk::ToInt(At(f, 0));
    d.ground = gbk::ToInt(At(f, 1));
    d.offset = gbk::ToReal(At(f, 2));
    return d;
}

MonsterDetail ParseMonsterDetail(std::string_view detail) {
    const auto f = Fields(detail);
    MonsterDetail d;
    d.monsterId = gbk::ToInt(At(f, 0));
    d.ground = gbk::ToInt(At(f, 1));
    d.offset = gbk::ToReal(At(f, 2));
    if (f.size() >= 5) {
        d.hasFlyingLimits = true;
        d.flyTopOffset = gbk::ToInt(f[3]);
        d.flyLowestTop = gbk::ToInt(f[4]);
    }
    return d;
}

LinkDetail ParseLinkDetail(std::string_view detail) {
    const auto f = Fields(detail);
    LinkDetail d;
    // Links saved by early editors hold one sub-field and lead nowhere.
    if (f.size() < 2) return d;
    d.targetMap = gbk::ToInt(f[0]);
    d.targetGround = gbk::ToInt(f[1]);
    d.targetOffset = gbk::ToInt(At(f, 2));
    d.jumpOnTouch = f.size() >= 4 && f[3] == TrueText();
    d.facing = f.size() >= 5 ? gbk::ToInt(f[4]) : 0;
    return d;
}

AnimationDetail ParseAnimationDetail(std::string_view detail) {
    const auto f = Fields(detail);
    AnimationDetail d;
    d.effectId = gbk::ToInt(At(f, 0));
    d.x = gbk::ToInt(At(f, 1));
    d.y = gbk::ToInt(At(f, 2));
    d.playMode = std::string(At(f, 3));
    return d;
}

ItemDetail ParseItemDetail(std::string_view detail) {
    const auto f = Fields(detail);
    ItemDetail d;
    d.name = std::string(At(f, 0));
    d.count = gbk::ToInt(At(f, 1));
    return d;
}

std::string FormatDetail(const NpcDetail& d) {
    return Joiner().Int(d.npcId).Int(d.ground).Real(d.offset).Take();
}

std::string FormatDetail(const MonsterDetail& d) {
    Joiner j;
    j.Int(d.monsterId).Int(d.ground).Real(d.offset);
    if (d.hasFlyingLimits) j.Int(d.flyTopOffset).Int(d.flyLowestTop);
    return j.Take();
}

std::string FormatDetail(const LinkDetail& d) {
    return Joiner().Int(d.targetMap).Int(d.targetGround).Int(d.targetOffset).Bool(d.jumpOnTouch).Int(d.facing).Take();
}

std::string FormatDetail(const AnimationDetail& d) {
    return Joiner().Int(d.effectId).Int(d.x).Int(d.y).Add(d.playMode).Take();
}

std::string FormatDetail(const ItemDetail& d) { return Joiner().Add(d.name).Int(d.count).Take(); }

}  // namespace wdm
