#include "world/effect_library.h"

#include "shared/gbk.h"

const std::array<EffectTableRow, EffectLibrary::kSize>& EffectLibrary::Table() {
    static const std::array<EffectTableRow, kSize> table = {{
        {"特效1", 20, 10, 1, 0},      {"特效2", 9, 10, 1, 0},    {"传送门", 16, 10, 1, 0},
        {"命中", 4, 10, 1, 0},        {"光明祈福", 11, 10, 1, 0}, {"毁灭之颂歌", 9, 10, 1, 0},
        {"小鸟2", 29, 15, 0, 0},      {"小鸟", 12, 15, 0, 0},     {"旗子", 21, 15, 0, 0},
        {"蝴蝶", 29, 15, 0, 1},       {"按右_小", 2, 30, 0, 0},   {"按左_小", 2, 30, 0, 0},
        {"按上_小", 2, 30, 0, 0},     {"蝴蝶2", 29, 15, 0, 1},    {"远程魔法1", 5, 15, 1, 0},
        {"闪电", 7, 15, 1, 0},        {"蓝光魔法", 14, 15, 1, 0}, {"绿色泡泡", 15, 15, 1, 0},
        {"中毒", 10, 10, 1, 0},       {"诅咒", 20, 10, 1, 0},
    }};
    return table;
}

void EffectLibrary::Load(FrameCache& cache) {
    for (int i = 0; i < kSize; ++i) {
        const EffectTableRow& row = Table()[static_cast<std::size_t>(i)];
        m_entries[static_cast<std::size_t>(i)].Create(cache, gbk::Lit(row.utf8Name), row.frames, 1, row.frames,
                                                     row.duration, row.drawFlag, row.cachedFolder, 0, 0);
    }
    m_loaded = true;
}

const Effect* EffectLibrary::Entry(int n) const {
    if (n < 1 || n > kSize) return nullptr;
    return &m_entries[static_cast<std::size_t>(n - 1)];
}
