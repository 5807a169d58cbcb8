#include "gameplay/npc_picture_cache.h"

const NpcPictures& NpcPictureCache::Get(const std::string& gbkFolder, int frameCount) {
    for (const auto& e : m_entries) {
        if (e->folder == gbkFolder && e->frameCount == frameCount) return *e;
    }
    auto entry = std::make_unique<NpcPictures>();
    if (m_loader) {
        *entry = m_loader(gbkFolder, frameCount);
        ++m_loads;
    }
    entry->folder = gbkFolder;
    entry->frameCount = frameCount;
    m_entries.push_back(std::move(entry));
    return *m_entries.back();
}
