#pragma once
// Loading of frame folders and the shared cache of loaded folders.
//
// A folder D holds the pictures D\0.png .. D\(n-1).png and beside each one
// D\i.png.info.txt with "x,y,w,h": the frame's offset against the anchor and
// its picture rectangle size. A folder loaded with caching on is kept here,
// keyed by its exact GBK path, and later loads share its textures instead of
// reading the disk again. The cache is owned by the Game; its textures live
// until the engine is released.

#include <memory>
#include <string>
#include <vector>

#include "lumo/lumo.h"

class Engine;
namespace paths { class DataPaths; }

// One frame as loaded: texture (0 when the picture is missing) and its info.
struct FrameInfo {
    HTEXTURE texture = 0;
    float offsetX = 0;
    float offsetY = 0;
    int width = 0;          // picture rectangle from the info file
    int height = 0;
    int textureWidth = 0;   // the texture's own size (0 when missing)
    int textureHeight = 0;
};

// The frames of one folder, in picture order (frame k is picture k-1).
struct FrameSet {
    std::string folder;
    std::vector<FrameInfo> frames;
};

// Parses an info file's text "x,y,w,h". Returns false (and leaves `out`
// untouched) for a short or garbled text; numbers are bounded.
bool ParseFrameInfo(const std::string& text, FrameInfo& out);

// Reads the info file beside a picture ("<gbkPicturePath>.info.txt", at most
// a few KiB of it) into `out`. Returns false (and leaves `out` untouched)
// when the file is missing, short or garbled.
bool ReadFrameInfo(const paths::DataPaths& dataPaths, const std::string& gbkPicturePath, FrameInfo& out);

// Loads one picture and its info file. A missing picture gives texture 0; a
// missing, short or garbled info file gives zero offsets and the texture's
// own size.
FrameInfo LoadFrame(Engine& engine, const paths::DataPaths& dataPaths, const std::string& gbkPicturePath);

class FrameCache {
public:
    FrameCache(Engine& engine, const paths::DataPaths& dataPaths) : m_engine(engine), m_paths(dataPaths) {}

    // The frames of `gbkFolder` ("\data\...\", trailing '\' optional) with
    // `count` frames. With useCache, a folder already cached (same path text
    // and at least as many frames) is shared, and a new load is added.
    std::shared_ptr<const FrameSet> Folder(const std::string& gbkFolder, int count, bool useCache);

    // Loads of one folder from disk so far (cache misses and uncached loads).
    int diskLoads() const { return m_diskLoads; }
    std::size_t size() const { return m_entries.size(); }
    Engine& engine() { return m_engine; }

private:
    Engine& m_engine;
    const paths::DataPaths& m_paths;
    std::vector<std::shared_ptr<const FrameSet>> m_entries;
    int m_diskLoads = 0;
};
