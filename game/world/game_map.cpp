#include "world/game_map.h"

#include <cmath>
#include <cstdlib>

#include "core/random.h"
#include "core/json_writer.h"
#include "core/tolerance.h"
#include "platform/engine.h"
#include "shared/gbk.h"
#include "shared/paths.h"

namespace {

constexpr int kPortalEffect = 3;  // "传送门"

float Whole(float v) { return std::trunc(v); }

}  // namespace

bool MapLink::Contains(float x, float y, float w, float h) const {
    using tolerance::Ge, tolerance::Le;
    return Ge(x, left + 10) && Le(static_cast<double>(x) + w, left + width - 10) && Ge(y, top + 10) &&
           Le(static_cast<double>(y) + h, top + height - 10);
}

GameMap::GameMap(MapContext context) : m_ctx(context), m_displayName(DisplayNameOf(m_fileName)) {}

GameMap::~GameMap() = default;

// ------------------------------------------------------------ queries

void GameMap::ReturnToTown() {
    if (m_townMap <= 0) {
        // No town: this very file again, wherever it was read from.
        LoadMapFile(m_filePath, m_fileName, m_townGround, -1);
        return;
    }
    std::string name = MapFileOfRow(m_townMap);
    if (name.empty()) {
        ReportLoadFailure(gbk::Lit("地图") + std::to_string(m_townMap), "no such row in the map table");
        return;
    }
    LoadMap(name, m_townGround, -1);
}

std::string GameMap::DisplayNameOf(const std::string& gbkFileName) {
    std::string stem = gbkFileName;
    std::size_t dot = gbk::npos, i = 0;
    while (i < stem.size()) {
        if (stem[i] == '.') dot = i;
        i += gbk::CharLength(stem, i);
    }
    if (dot != gbk::npos) stem.resize(dot);
    return gbk::Lit("风铃谷 - ") + stem;
}

int GameMap::GroundLeft(int n) const {
    const wdm::GroundRecord* g = m_terrain.Square(n);
    return g ? g->left : 0;
}
int GameMap::GroundTop(int n) const {
    const wdm::GroundRecord* g = m_terrain.Square(n);
    return g ? g->top : 0;
}
int GameMap::GroundWidth(int n) const {
    const wdm::GroundRecord* g = m_terrain.Square(n);
    return g ? g->width : 0;
}
int GameMap::GroundHeight(int n) const {
    const wdm::GroundRecord* g = m_terrain.Square(n);
    return g ? g->height : 0;
}

std::string GameMap::MapFileOfRow(int row) const {
    return m_ctx.host.MapFileOfRow(row);
}

int GameMap::StandTest(float x, float y, int width, int height, int facing) {
    return terrain::StandTest(m_terrain, m_ctx.player, x, y, width, height, facing);
}

int GameMap::WallTest(int x, int y, int width, int height, int direction, int ceiling) const {
    return terrain::WallTest(m_terrain, x, y, width, height, direction, ceiling);
}

int GameMap::StairTest(int x, int y, int width, int height, bool up) const {
    return terrain::StairTest(m_terrain, x, y, width, height, up);
}

// ------------------------------------------------------------ loading

HTEXTURE GameMap::Texture(const std::string& gbkPath) {
    m_mapPictures.insert(gbkPath);
    return m_sharedTextures.Get(m_ctx.engine, m_ctx.paths, gbkPath);
}

void GameMap::LoadLayer(const std::vector<wdm::SpriteRecord>& records, int layer) {
    if (layer < 0 || layer >= kLayerPriority) return;
    LayerRecord& list = m_layers[static_cast<std::size_t>(layer)];
    LayerRecord priority;
    for (const wdm::SpriteRecord& r : records) {
        LayerSprite s;
        s.texture = Texture(r.picture);
        s.sprite = Sprite(s.texture, 0, 0, static_cast<float>(r.width), static_cast<float>(r.height));
        s.x = static_cast<float>(r.mirrored ? r.left + r.width : r.left);
        s.y = static_cast<float>(r.top);
        s.mirrorSign = r.mirrored ? -1 : 1;
        s.width = r.width;
        s.height = r.height;
        // Priority sprites are drawn in front of the characters, in order.
        if (layer == kLayerMap && r.layer == wdm::kLayerPriority) {
            priority.push_back(std::move(s));
        } else {
            list.push_back(std::move(s));
        }
    }
    if (layer == kLayerMap) m_layers[kLayerPriority] = std::move(priority);
}

bool GameMap::LoadMap(const std::string& gbkName, std::optional<int> ground, std::optional<int> offset,
                      std::optional<int> facing) {
    return LoadMapFile(m_ctx.paths.Resolve(gbk::Lit("\\data\\地图\\") + gbkName), gbkName, ground, offset, facing);
}

bool GameMap::LoadMapFile(const std::string& fsPath, const std::string& gbkName, std::optional<int> ground,
                          std::optional<int> offset, std::optional<int> facing) {
    // The file is read before anything is cleared, so a bad file leaves the
    // current map playing.
    wdm::ReadResult read = wdm::ReadMap(fsPath);
    if (!read.ok()) {
        ReportLoadFailure(gbkName, read.reason);
        return false;
    }
    const wdm::MapData& map = read.map;

    m_loading = true;
    ClearMap();
    for (int i = 0; i < wdm::kSpriteSections; ++i) LoadLayer(map.sprites[static_cast<std::size_t>(i)], i);

    m_terrain.squares = map.squares;
    for (const wdm::GroundRecord& q : map.squares) {
        if (q.kind == 1) m_terrain.blockingSquares.push_back(q);
    }
    m_terrain.slopes = map.slopes;
    m_terrain.stairs = map.stairs;

    CreateEvents(map.events);

    const wdm::MapHeader& h = map.header;
    m_ctx.camera.mapWidth = static_cast<float>(h.width);
    m_ctx.camera.mapHeight = static_cast<float>(h.height);
    m_startGround = h.startGround;
    m_startOffset = h.startOffset;
    PlacePlayer(ground, offset);

    m_backgroundTexture = Texture(h.background);
    m_backgroundSprite = Sprite(m_backgroundTexture, 0, 0, 800, 600);

    m_floatSpeed = static_cast<float>(h.floatInterval);
    m_fileName = gbkName;
    m_filePath = fsPath;
    m_displayName = DisplayNameOf(m_fileName);
    if (h.hasTownMap()) m_townMap = h.townMap;
    if (h.hasTownGround()) m_townGround = h.townGround;

    int face = facing ? *facing : (h.hasFacing() ? h.facing : 0);
    if (face == PlayerMotion::kFacingLeft || face == PlayerMotion::kFacingRight) m_ctx.player.Face(face);

    m_sharedTextures.Trim(m_ctx.engine, m_mapPictures, kTextureCacheLimit);

    banner.Start();
    m_hasMap = true;
    m_loading = false;
    return true;
}

void GameMap::CreateEvents(const std::vector<wdm::EventRecord>& events) {
    // NPCs, monsters and items belong to the game's actors; links and
    // animations are the map's own.
    m_ctx.host.CreateActors(events, m_terrain);
    for (const wdm::EventRecord& e : events) {
        if (e.kind == wdm::kEventLink) {
            AddLink(e);
        } else if (e.kind == wdm::kEventAnimation) {
            wdm::AnimationDetail d = wdm::ParseAnimationDetail(e.detail);
            SpawnEffect(1, d.effectId, static_cast<float>(d.x), static_cast<float>(d.y), 0, d.backAndForth() ? 1 : 0,
                        0, 1);
        }
    }
}

EffectHandle GameMap::SpawnEffect(int mode, int n, float x, float y, int repeat, int backAndForth,
                                  std::uint32_t colour, int behind) {
    const Effect* entry = m_ctx.effectLibrary.Entry(n);
    if (entry == nullptr || !m_ctx.effectLibrary.loaded()) return {};
    return effects.Spawn(*entry, mode, x, y, repeat, backAndForth, colour, behind);
}

void GameMap::AddLink(const wdm::EventRecord& e) {
    wdm::LinkDetail d = wdm::ParseLinkDetail(e.detail);
    MapLink link{e.left, e.top, e.width, e.height, d.targetMap, d.targetGround, d.targetOffset, d.facing};
    if (link.targetMap > 0) {
        SpawnEffect(1, kPortalEffect, static_cast<float>(e.left + e.width - 72),
                           static_cast<float>(e.top + e.height - 92), 0, 1, 0, 0);
    }
    // A negative number is a working link that shows no portal.
    link.targetMap = std::abs(link.targetMap);
    (d.jumpOnTouch ? touchLinks : keyLinks).push_back(link);
}

const wdm::GroundRecord* GameMap::PlacementGround(int wanted) const {
    if (const wdm::GroundRecord* g = m_terrain.Square(wanted)) return g;
    if (const wdm::GroundRecord* g = m_terrain.Square(m_startGround)) return g;
    return m_terrain.Square(1);
}

void GameMap::PlacePlayer(std::optional<int> ground, std::optional<int> offset) {
    int wanted = ground && *ground != 0 ? *ground : m_startGround;
    int off = offset && *offset != -2 ? *offset : m_startOffset;
    const wdm::GroundRecord* g = PlacementGround(wanted);
    if (g == nullptr) return;  // a map without squares: the player stays where it was
    PlayerMotion& p = m_ctx.player;
    int random = off == -1 ? m_ctx.random.Int(0, g->width - static_cast<int>(p.width)) : 0;
    PlaceOnGround(p, *g, off, random);
}

void GameMap::PlaceOnStartGround() { PlacePlayer(std::nullopt, std::nullopt); }

void GameMap::ReportLoadFailure(const std::string& gbkName, const std::string& utf8Reason) {
    if (!m_hasMap) {
        // Nothing to stay on: say what is wrong and end the game.
        m_ctx.host.MapLoadFailed(gbk::Lit("无法载入地图文件 ") + gbkName + "\r\n" + gbk::FromUtf8(utf8Reason), true);
        return;
    }
    m_ctx.host.MapLoadFailed(gbk::Lit("无法载入地图 ") + gbkName + gbk::Lit(",仍留在当前地图"), false);
}

// ------------------------------------------------------------ per frame

void GameMap::UpdateCamera() {
    Camera& c = m_ctx.camera;
    const PlayerMotion& p = m_ctx.player;
    const float sw = static_cast<float>(m_screenWidth), sh = static_cast<float>(m_screenHeight);
    float leadX = p.leadX != 0 ? Whole(p.leadX) : 0;
    float leadY = p.leadY != 0 ? Whole(p.leadY) : 0;
    // The lower bound first and the upper bound last: a map narrower than
    // the screen shows its left (top) edge.
    c.anchorX = -(p.x - leadX);
    if (c.anchorX < -c.mapWidth + sw / 2) c.anchorX = -c.mapWidth + sw / 2;
    if (c.anchorX > -sw / 2) c.anchorX = -sw / 2;
    c.offsetX = Whole(c.anchorX + sw / 2);
    c.anchorY = -(p.y + p.height / 2 - leadY);
    if (c.anchorY < -c.mapHeight + sh / 2) c.anchorY = -c.mapHeight + sh / 2;
    if (c.anchorY > -sh / 2) c.anchorY = -sh / 2;
    c.offsetY = Whole(c.anchorY + sh / 2);
}

void GameMap::Update(float, bool upReleased) {
    UpdateCamera();

    for (LayerSprite& s : m_layers[kLayerFloating]) {
        if (tolerance::Le(s.x, -s.width)) {
            s.x = m_ctx.camera.mapWidth;
        } else {
            s.x -= m_floatSpeed;
        }
    }

    const PlayerMotion& p = m_ctx.player;
    // A link load replaces both lists, so the link is copied before it is
    // entered and the frame checks no further links.
    if (upReleased) {
        for (const MapLink& link : keyLinks) {
            if (link.Contains(p.x, p.y, p.width, p.height)) {
                EnterLink(MapLink(link));
                return;
            }
        }
    }
    if (p.state == PlayerMotion::kWalking) {
        for (const MapLink& link : touchLinks) {
            if (link.Contains(p.x, p.y, p.width, p.height)) {
                EnterLink(MapLink(link));
                return;
            }
        }
    }
}

void GameMap::EnterLink(const MapLink& link) {
    std::string name = MapFileOfRow(link.targetMap);
    if (name.empty()) {
        ReportLoadFailure(gbk::Lit("地图") + std::to_string(link.targetMap), "no such row in the map table");
        return;
    }
    LoadMap(name, link.targetGround, link.targetOffset, link.facing);
}

void GameMap::DrawLayer(int layer, float shiftX) const {
    const LayerRecord& list = m_layers[static_cast<std::size_t>(layer)];
    if (list.empty() || list.front().width == 0) return;
    const Camera& c = m_ctx.camera;
    const float right = static_cast<float>(m_screenWidth), bottom = static_cast<float>(m_screenHeight);
    for (const LayerSprite& s : list) {
        const float x = c.offsetX + Whole(s.x + shiftX), y = c.offsetY + Whole(s.y);
        // Only sprites that reach the screen go to the renderer: on a wide
        // map most of them are off it, and each draw costs even when it
        // clips to nothing. A mirrored sprite's x is its right edge.
        const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
        const float left = s.mirrorSign < 0 ? x - w : x;
        if (left + w <= 0 || left >= right || y + h <= 0 || y >= bottom) continue;
        s.sprite.RenderEx(x, y, 0, static_cast<float>(s.mirrorSign), 1);
    }
}

void GameMap::RenderPass(int pass) {
    const float anchorX = m_ctx.camera.anchorX;
    if (pass == 0) {
        m_backgroundSprite.Render(0, 0);
        // Far layers move slower than the map: 4/5 and 9/10 of its speed.
        DrawLayer(kLayerFloating, -anchorX / 5);
        DrawLayer(kLayerBackground3, -anchorX / 5);
        DrawLayer(kLayerBackground2, -anchorX / 10);
        DrawLayer(kLayerMap, 0);
    } else if (pass == 1) {
        DrawLayer(kLayerPriority, 0);
        DrawLayer(kLayerTop, anchorX / 5);  // the top layer moves at 6/5
    }
}

// ------------------------------------------------------------ clearing

void GameMap::ClearMap() {
    m_backgroundSprite = Sprite();
    m_backgroundTexture = 0;
    m_ctx.host.ClearActors();
    effects.Clear();
    keyLinks.clear();
    touchLinks.clear();
    m_terrain.Clear();
    for (LayerRecord& l : m_layers) l.clear();
    // The textures stay in the shared cache for the next load.
    m_mapPictures.clear();
}

// ------------------------------------------------------------ state dump

void GameMap::DumpState(JsonWriter& w) const {
    w.Key("map");
    w.BeginObject();
    w.Field("name", m_fileName);
    w.Field("displayName", DisplayName());
    w.Field("loading", m_loading);
    w.Field("townMap", m_townMap);
    w.Field("townGround", m_townGround);
    w.Field("floatSpeed", m_floatSpeed);
    w.Field("mapNameTimer", banner.mapNameTimer);
    w.Field("bannerAlpha", banner.bannerAlpha);
    w.Key("grounds");
    w.BeginObject();
    w.Field("squares", static_cast<int>(m_terrain.squares.size()));
    w.Field("blockingSquares", static_cast<int>(m_terrain.blockingSquares.size()));
    w.Field("slopes", static_cast<int>(m_terrain.slopes.size()));
    w.Field("stairs", static_cast<int>(m_terrain.stairs.size()));
    w.EndObject();
    w.Key("layers");
    w.BeginArray();
    for (const LayerRecord& l : m_layers) w.Int(static_cast<long long>(l.size()));
    w.EndArray();
    w.Field("textures", static_cast<int>(m_mapPictures.size()));
    auto links = [&w](const char* key, const std::vector<MapLink>& list) {
        w.Key(key);
        w.BeginArray();
        for (const MapLink& l : list) {
            w.BeginObject();
            w.Field("left", l.left);
            w.Field("top", l.top);
            w.Field("width", l.width);
            w.Field("height", l.height);
            w.Field("targetMap", l.targetMap);
            w.Field("targetGround", l.targetGround);
            w.Field("targetOffset", l.targetOffset);
            w.Field("facing", l.facing);
            w.EndObject();
        }
        w.EndArray();
    };
    links("keyLinks", keyLinks);
    links("touchLinks", touchLinks);
    w.EndObject();
    w.Key("effects");
    effects.DumpState(w);
}
