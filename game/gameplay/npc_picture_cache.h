#pragma once
// The pictures of NPC folders loaded so far: the standing animation's frames
// and the dialog portrait of "\data\NPC\<folder>\". An entry is keyed by the
// folder and the frame count, so two rows sharing a folder with different
// counts never read past the frames that were loaded for them. The cache is
// process-wide: it outlives map changes, and an NPC of a folder already
// loaded shares its textures instead of reading the disk again.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/frame_cache.h"

struct NpcPictures {
    std::string folder;  // GBK folder name as the NPC table gives it
    int frameCount = 0;
    std::vector<FrameInfo> frames;  // frame k is frames[k - 1]
    HTEXTURE portrait = 0;          // show.png, 0 when missing
    int portraitWidth = 0, portraitHeight = 0;
};

class NpcPictureCache {
public:
    // Reads one folder's pictures from disk (the game loads through the
    // engine; tests count calls).
    using Loader = std::function<NpcPictures(const std::string& gbkFolder, int frameCount)>;

    explicit NpcPictureCache(Loader loader = {}) : m_loader(std::move(loader)) {}
    void SetLoader(Loader loader) { m_loader = std::move(loader); }

    // The pictures of `gbkFolder` with `frameCount` frames; loaded on the
    // first request for that pair. Without a loader the entry is empty.
    // The reference stays valid for the cache's lifetime.
    const NpcPictures& Get(const std::string& gbkFolder, int frameCount);

    int loads() const { return m_loads; }
    std::size_t size() const { return m_entries.size(); }

private:
    Loader m_loader;
    std::vector<std::unique_ptr<NpcPictures>> m_entries;
    int m_loads = 0;
};
