// The map at run time on the headless engine: loading a town-sized map whose
// pictures are already cached (a map change must fit in one 16 ms frame),
// and one frame of Update + both render passes on a map of 1,000 sprites
// against the same sprites drawn straight through the engine.

#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
#include "direct_draw.h"
#include "shared/gbk.h"
#include "shared/wdm_map.h"

namespace {

namespace fs = std::filesystem;

struct World {
    fs::path data;
    std::unique_ptr<Game> game;
    std::vector<std::string> pictures;  // GBK "\data\map\..." paths
};

World g;

void SavePicture(const fs::path& path, int w, int h, std::uint32_t colour) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    auto* px = static_cast<std::uint32_t*>(s->pixels);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[y * (s->pitch / 4) + x] = ((x / 8 + y / 8) % 2) ? colour : 0x80FFFFFF;
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
}

std::string MapFile(const char* utf8) {
    return (g.data / gbk::ToUtf8(gbk::Lit("地图")) / utf8).string();
}

wdm::SpriteRecord SpriteAt(int i, int layer, int mapWidth) {
    const std::string& pic = g.pictures[static_cast<std::size_t>(i) % g.pictures.size()];
    return {(i * 37) % mapWidth, 100 + (i * 53) % 450, 64, 64, layer, pic, i % 3 == 0, 0};
}

// A village-sized map: 2600 x 600, 160 sprites over the five sections, 20
// squares, slopes, stairs, links with portals, NPCs, monsters, animations
// and items.
wdm::MapData TownMap() {
    wdm::MapData m;
    m.header.width = 2600;
    m.header.height = 600;
    m.header.startGround = 1;
    m.header.startOffset = 330;
    m.header.background = "\\data\\map\\bg.png";
    m.header.floatInterval = 0.3;
    for (int i = 0; i < 160; ++i) {
        int section = i < 100 ? 0 : 1 + (i % 4);
        int layer = section == 0 && i % 10 == 0 ? -1 : section;
        m.sprites[static_cast<std::size_t>(section)].push_back(SpriteAt(i, layer, 2600));
    }
    for (int i = 0; i < 20; ++i) m.squares.push_back({i * 130, 300 + (i % 5) * 40, 120, 20, i % 4 == 0 ? 1 : 0});
    m.slopes = {{400, 400, 100, 100, 0}, {900, 400, 100, 100, 1}};
    m.stairs = {{700, 200, 40, 300, 0}, {1700, 200, 40, 300, 0}};
    auto ev = [](int l, int t, int kind, std::string detail) { return wdm::EventRecord{l, t, 60, 60, kind, detail}; };
    for (int i = 0; i < 4; ++i)
        m.events.push_back(ev(100 + i * 600, 400, wdm::kEventLink, wdm::FormatDetail(wdm::LinkDetail{1, 0, -1, i % 2 == 0, 0})));
    for (int i = 0; i < 3; ++i)
        m.events.push_back(ev(200 + i * 300, 400, wdm::kEventNpc, wdm::FormatDetail(wdm::NpcDetail{1, 1 + i, 10})));
    for (int i = 0; i < 4; ++i)
        m.events.push_back(ev(300 + i * 400, 400, wdm::kEventMonster, wdm::FormatDetail(wdm::MonsterDetail{1, 5 + i, 20, false, 0, 0})));
    for (int i = 0; i < 3; ++i)
        m.events.push_back(ev(0, 0, wdm::kEventAnimation, wdm::FormatDetail(wdm::AnimationDetail{7 + i, 100 * i, 80, gbk::Lit("往返")})));
    for (int i = 0; i < 2; ++i)
        m.events.push_back(ev(500 + i * 700, 450, wdm::kEventItem, wdm::FormatDetail(wdm::ItemDetail{gbk::Lit("太阳神水"), 1})));
    return m;
}

// 1,000 sprites over a 4000-wide map, most of them off screen at any time,
// as in a long map.
wdm::MapData ThousandSprites() {
    wdm::MapData m;
    m.header.width = 4000;
    m.header.height = 600;
    m.header.startGround = 1;
    m.header.startOffset = 1800;
    m.header.background = "\\data\\map\\bg.png";
    m.header.floatInterval = 0.3;
    for (int i = 0; i < 1000; ++i) {
        int section = i < 600 ? 0 : 1 + (i % 4);
        m.sprites[static_cast<std::size_t>(section)].push_back(SpriteAt(i, section, 4000));
    }
    m.squares.push_back({0, 500, 4000, 100, 0});
    return m;
}

bool Setup() {
    g.data = fs::temp_directory_path() / ("lumo_bench_world_" + std::to_string(::getpid()));
    fs::create_directories(g.data / "map");
    fs::create_directories(g.data / gbk::ToUtf8(gbk::Lit("地图")));
    SavePicture(g.data / "map" / "bg.png", 800, 600, 0xFF88AADD);
    for (int i = 0; i < 15; ++i) {
        std::string name = "p" + std::to_string(i) + ".png";
        SavePicture(g.data / "map" / name, 64, 64, 0xFF000000u | (0x101010u * static_cast<unsigned>(i)));
        g.pictures.push_back("\\data\\map\\" + name);
    }
    if (!wdm::WriteMap(MapFile("town.Wdm"), TownMap()).ok) return false;
    if (!wdm::WriteMap(MapFile("thousand.Wdm"), ThousandSprites()).ok) return false;

    GameOptions o;
    o.headless = true;
    o.dataDir = g.data.string();
    o.seed = 1;
    g.game = std::make_unique<Game>(o);
    Game& game = *g.game;
    EngineStartRecord r;
    r.headless = 1;
    r.frameFunc = [] { return true; };
    r.renderFunc = [] { return false; };
    if (game.engine.Initiate(r, true) == 0 || !game.engine.videoStarted()) return false;
    game.screenWidth = game.engine.Width();
    game.screenHeight = game.engine.Height();
    game.player.ResetToStart();
    game.effectLibrary.Load(game.frameCache);
    game.dataTables().AppendNpc(NpcRow{1, gbk::Lit("村长"), "a", "a.lua", 1, 10, 0});
    game.dataTables().monsters.Append(MonsterRow{1, gbk::Lit("史莱姆"), "s", "s.lua", 40, 30, 10, 1, 1, 0, 5});
    MapRow row;
    row.number = 1;
    row.fileName = "town.Wdm";
    game.dataTables().maps.Append(row);
    return true;
}

void Teardown() {
    if (g.game) {
        g.game->engine.Shutdown();
        g.game.reset();
    }
    std::error_code ec;
    fs::remove_all(g.data, ec);
}

void BM_LoadTownMapCached(benchmark::State& state) {
    Game& game = *g.game;
    game.map.LoadMap("town.Wdm");  // fills the picture cache
    const long before = game.map.sharedTextures().diskLoads();
    for (auto _ : state) {
        bool ok = game.map.LoadMap("town.Wdm");
        benchmark::DoNotOptimize(ok);
    }
    if (game.map.sharedTextures().diskLoads() != before) state.SkipWithError("a cached load read pictures");
    state.counters["sprites"] = 160;
    state.counters["events"] = static_cast<double>(TownMap().events.size());
}
BENCHMARK(BM_LoadTownMapCached)->Unit(benchmark::kMillisecond);

void BM_LoadTownMapCold(benchmark::State& state) {
    Game& game = *g.game;
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh cache: every picture is read and decoded again.
        game.map.ClearMap();
        game.map.sharedTextures().FreeAll(game.engine);
        state.ResumeTiming();
        bool ok = game.map.LoadMap("town.Wdm");
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_LoadTownMapCold)->Unit(benchmark::kMillisecond);

void BM_MapFrame1000Sprites(benchmark::State& state) {
    Game& game = *g.game;
    game.map.LoadMap("thousand.Wdm");
    for (auto _ : state) {
        game.map.Update(1.0f / 60, false);
        game.engine.BeginScene(0);
        game.map.RenderPass(0);
        game.map.RenderPass(1);
        game.engine.EndScene();
    }
}
BENCHMARK(BM_MapFrame1000Sprites)->Unit(benchmark::kMillisecond);

void BM_DirectDraw1000Sprites(benchmark::State& state) {
    Game& game = *g.game;
    game.map.LoadMap("thousand.Wdm");
    game.map.Update(1.0f / 60, false);
    // The same sprites at the positions the map would give them this frame.
    const std::vector<bench_support::DirectSprite> spots = bench_support::MapSpritesAsPlaced(game);
    for (auto _ : state) bench_support::DrawDirectly(game, spots);
    state.counters["sprites"] = static_cast<double>(spots.size());
}
BENCHMARK(BM_DirectDraw1000Sprites)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    if (!Setup()) {
        std::fprintf(stderr, "bench_world: the headless engine did not start\n");
        Teardown();
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Teardown();
    return 0;
}
