#include "world/texture_cache.h"

#include "platform/engine.h"
#include "shared/paths.h"

HTEXTURE TextureCache::Get(Engine& engine, const paths::DataPaths& dataPaths, const std::string& gbkPath) {
    auto it = m_textures.find(gbkPath);
    if (it != m_textures.end()) return it->second;
    ++m_diskLoads;
    HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbkPath));
    m_textures.emplace(gbkPath, t);
    return t;
}

void TextureCache::Trim(Engine& engine, const std::unordered_set<std::string>& keep, std::size_t limit) {
    if (m_textures.size() <= limit) return;
    for (auto it = m_textures.begin(); it != m_textures.end();) {
        if (keep.count(it->first) == 0) {
            if (it->second != 0) engine.FreeTexture(it->second);
            it = m_textures.erase(it);
        } else {
            ++it;
        }
    }
}

void TextureCache::FreeAll(Engine& engine) {
    for (auto& [path, texture] : m_textures) {
        if (texture != 0) engine.FreeTexture(texture);
    }
    m_textures.clear();
}
