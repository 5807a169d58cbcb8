#pragma once
// Engine textures of map pictures, kept across map loads so that entering a
// map whose pictures were seen before reads no picture file. Keyed by the
// picture's GBK path as stored in the map file; a picture that could not be
// loaded is remembered as texture 0 and not tried again.
//
// The map's own per-map list of (path, texture) lives in GameMap; this is
// the store behind it. Textures stay until Trim or FreeAll frees them, or
// the engine is released.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "lumo/lumo.h"

class Engine;
namespace paths { class DataPaths; }

class TextureCache {
public:
    // The texture of the picture at gbkPath ("\data\..."), loading it on the
    // first request. 0 when the picture is missing or corrupt.
    HTEXTURE Get(Engine& engine, const paths::DataPaths& dataPaths, const std::string& gbkPath);
    bool Contains(const std::string& gbkPath) const { return m_textures.count(gbkPath) != 0; }

    // When more than `limit` pictures are held, frees those not in `keep`.
    void Trim(Engine& engine, const std::unordered_set<std::string>& keep, std::size_t limit);
    void FreeAll(Engine& engine);

    std::size_t size() const { return m_textures.size(); }
    long diskLoads() const { return m_diskLoads; }

private:
    std::unordered_map<std::string, HTEXTURE> m_textures;
    long m_diskLoads = 0;
};
