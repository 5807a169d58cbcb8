#pragma once
// The one map the game holds at a time. Loading turns a map file into
// drawing layers, ground lists, map links, NPCs, monsters, map animations
// and ground items, and places the player. Every frame the map moves the
// camera, drifts the floating layer and checks the links; the render draws
// it in two passes around the characters.
//
// The map owns its own per-map lists (running effects, map links) and asks
// its host to build and clear the others (NPCs, monsters, ground items) from
// the map's events: a load replaces them all and ClearMap empties them, so
// nothing of an old map outlives it. A file that cannot be read never
// replaces the current map: in play the player stays where it is and the
// chat log says so; with no map loaded yet (start-up) the game shows a
// message box and ends with a non-zero status.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/sprite.h"
#include "world/camera.h"
#include "world/effect_library.h"
#include "world/map_name_banner.h"
#include "world/movement.h"
#include "world/running_effects.h"
#include "world/terrain.h"
#include "world/texture_cache.h"

class Engine;
class JsonWriter;
class Random;
namespace paths {
class DataPaths;
}

// What the map needs from the game around it.
class MapHost {
public:
    virtual ~MapHost() = default;
    // The map table's file name of row n (GBK); empty when there is no such row.
    virtual std::string MapFileOfRow(int row) const = 0;
    // The map's NPC, monster and item events, once its grounds are in place.
    virtual void CreateActors(const std::vector<wdm::EventRecord>& events, const Terrain& terrain) = 0;
    // The old map's NPCs, monsters and ground items go; the pointer is normal again.
    virtual void ClearActors() = 0;
    // A map could not be loaded (GBK text). `fatal`: there is no map to stay on.
    virtual void MapLoadFailed(const std::string& gbkText, bool fatal) = 0;
};

// The objects a map works with; each outlives the map.
struct MapContext {
    Engine& engine;
    const paths::DataPaths& paths;
    Random& random;
    Camera& camera;
    PlayerMotion& player;
    const EffectLibrary& effectLibrary;
    MapHost& host;
};

struct MapLink {
    int left = 0, top = 0, width = 0, height = 0;
    int targetMap = 0;     // map table row, never negative once loaded
    int targetGround = 0;  // 0: the target map's start ground
    int targetOffset = 0;  // -1: random
    int facing = 0;        // 0 default, 1 left, 2 right

    // The box lies inside the link shrunk by 10 pixels on every side.
    bool Contains(float x, float y, float width, float height) const;
};

// One sprite of a drawing layer, in map pixels.
struct LayerSprite {
    Sprite sprite;
    HTEXTURE texture = 0;
    float x = 0, y = 0;   // mirrored sprites keep x at their right edge
    int mirrorSign = 1;   // -1 mirrored
    int width = 0, height = 0;
};
using LayerRecord = std::vector<LayerSprite>;

class GameMap {
public:
    // Layer indices.
    static constexpr int kLayerMap = 0, kLayerTop = 1, kLayerBackground2 = 2, kLayerBackground3 = 3,
                         kLayerFloating = 4, kLayerPriority = 5, kLayers = 6;
    // Beyond this many cached pictures, a load frees those it does not use.
    static constexpr std::size_t kTextureCacheLimit = 1024;

    explicit GameMap(MapContext context);
    ~GameMap();
    GameMap(const GameMap&) = delete;
    GameMap& operator=(const GameMap&) = delete;

    // Back to the town: the town map of the header (map table row), or this
    // very file when it has none, at a random place on the town ground (the
    // start ground when that is 0).
    void ReturnToTown();
    // "风铃谷 - " + the file name up to its last "." (kept from the load, so
    // the banner draws it every frame without building it again).
    const std::string& DisplayName() const { return m_displayName; }
    // The rectangle of square n (1-based); 0 when n names no square.
    int GroundLeft(int n) const;
    int GroundTop(int n) const;
    int GroundWidth(int n) const;
    int GroundHeight(int n) const;
    // Fills layer `layer` (0..4) from the records of one sprite section; for
    // layer 0 the priority records then move to layer 5.
    void LoadLayer(const std::vector<wdm::SpriteRecord>& records, int layer);
    // Loads "\data\地图\<gbkName>" whole, replacing the current map. ground
    // (0 or none: the start ground), offset (-2 or none: the start offset;
    // -1 random) and facing (1 left, 2 right; none: the header's) come from
    // a map link or the return to town. Returns false when the file could
    // not be read; the current map then stays.
    bool LoadMap(const std::string& gbkName, std::optional<int> ground = {}, std::optional<int> offset = {},
                 std::optional<int> facing = {});
    // As LoadMap, from a map file anywhere (UTF-8 file-system path); the map
    // is known by `gbkName` (its file name) on screen and in the log.
    bool LoadMapFile(const std::string& fsPath, const std::string& gbkName, std::optional<int> ground = {},
                     std::optional<int> offset = {}, std::optional<int> facing = {});
    // The terrain queries on the player record (see world/terrain.h).
    int StandTest(float x, float y, int width, int height, int facing);
    int WallTest(int x, int y, int width, int height, int direction, int ceiling) const;
    int StairTest(int x, int y, int width, int height, bool up) const;
    // Once a frame: camera, floating layer, key links (`upReleased`: the Up
    // key went up this frame), touch links (while walking).
    void Update(float dt, bool upReleased);
    // The screen the camera frames (800 x 600 unless the engine says otherwise).
    void SetScreenSize(int width, int height) {
        m_screenWidth = width;
        m_screenHeight = height;
    }
    // Starts library effect n (1..20) on this map; an empty handle when n is
    // out of range or the library is not loaded.
    EffectHandle SpawnEffect(int mode, int n, float x, float y, int repeat, int backAndForth,
                             std::uint32_t colour, int behind);
    // Pass 0 behind the characters, pass 1 in front.
    void RenderPass(int pass);
    // Deletes everything of the current map and empties the per-map lists.
    void ClearMap();
    bool IsLoading() const { return m_loading; }

    // Puts the player on the start ground as on entering the map.
    void PlaceOnStartGround();
    // The map table's file name of row n; empty when there is no such row.
    std::string MapFileOfRow(int row) const;

    const std::string& fileName() const { return m_fileName; }
    const Terrain& terrain() const { return m_terrain; }
    const LayerRecord& layer(int i) const { return m_layers[static_cast<std::size_t>(i)]; }
    int townMap() const { return m_townMap; }
    int townGround() const { return m_townGround; }
    int startGround() const { return m_startGround; }
    float floatSpeed() const { return m_floatSpeed; }
    const TextureCache& sharedTextures() const { return m_sharedTextures; }
    TextureCache& sharedTextures() { return m_sharedTextures; }
    const Sprite& backgroundSprite() const { return m_backgroundSprite; }
    // Distinct pictures this map uses.
    std::size_t textureCount() const { return m_mapPictures.size(); }

    // Writes the keys "map" and "effects".
    void DumpState(JsonWriter& w) const;

    // ---- per-map lists, in creation order (the order of update and drawing)
    RunningEffects effects;
    std::vector<MapLink> keyLinks;
    std::vector<MapLink> touchLinks;

    MapNameBanner banner;

    // A map file's name as its banner shows it: the file name without its
    // extension.
    static std::string DisplayNameOf(const std::string& gbkFileName);

private:
    HTEXTURE Texture(const std::string& gbkPath);
    void CreateEvents(const std::vector<wdm::EventRecord>& events);
    void AddLink(const wdm::EventRecord& e);
    // The ground a placement uses: the wanted square, else the start ground,
    // else the first square; nullptr when the map has no squares.
    const wdm::GroundRecord* PlacementGround(int wanted) const;
    void PlacePlayer(std::optional<int> ground, std::optional<int> offset);
    void EnterLink(const MapLink& link);
    void ReportLoadFailure(const std::string& gbkName, const std::string& utf8Reason);
    void UpdateCamera();
    void DrawLayer(int layer, float shiftX) const;

    MapContext m_ctx;
    int m_screenWidth = 800, m_screenHeight = 600;
    Terrain m_terrain;
    std::array<LayerRecord, kLayers> m_layers;
    Sprite m_backgroundSprite;
    HTEXTURE m_backgroundTexture = 0;
    float m_floatSpeed = 0;
    std::string m_fileName;
    std::string m_filePath;  // where the current map was read from
    std::string m_displayName;
    int m_townMap = 0;
    int m_townGround = 0;
    int m_startGround = 0;
    int m_startOffset = 0;
    bool m_loading = false;
    bool m_hasMap = false;
    // The paths of this map's pictures; the textures themselves are held by
    // m_sharedTextures and outlive the map.
    std::unordered_set<std::string> m_mapPictures;
    TextureCache m_sharedTextures;
};
