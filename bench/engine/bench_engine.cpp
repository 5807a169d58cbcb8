// Sprite drawing through the engine against raw SDL_RenderCopy of the same
// sprites, and unchanged Chinese text redrawn every frame. Both run on the
// headless software renderer in the same process.

#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "lumo/lumo.h"
#include "shared/gbk.h"

namespace {

constexpr int kWidth = 800, kHeight = 600, kSprite = 32;

struct Scene {
    HENGINE engine = 0;
    HTEXTURE texture = 0;
    HSPRITE sprite = 0;
    HFONT font = 0;
    SDL_Window* rawWindow = nullptr;
    SDL_Renderer* raw = nullptr;
    SDL_Texture* rawTexture = nullptr;
    std::vector<SDL_FPoint> spots;
};

Scene g;

std::string MakePicture() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("lumo_bench_" + std::to_string(::getpid()) + ".png");
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kSprite, kSprite, 32, SDL_PIXELFORMAT_ARGB8888);
    auto* px = static_cast<std::uint32_t*>(s->pixels);
    for (int y = 0; y < kSprite; ++y)
        for (int x = 0; x < kSprite; ++x)
            px[y * (s->pitch / 4) + x] = ((x / 4 + y / 4) % 2) ? 0xC0FF8020 : 0xFF2080FF;
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return path.string();
}

bool Setup() {
    g.engine = _Interface_Get();
    System_SetState_b(g.engine, LUMO_HEADLESS, true);
    System_SetState_b(g.engine, LUMO_USESOUND, false);
    System_SetState_i(g.engine, LUMO_SCREENWIDTH, kWidth);
    System_SetState_i(g.engine, LUMO_SCREENHEIGHT, kHeight);
    if (!System_Initiate_e(g.engine)) return false;
    const std::string picture = MakePicture();
    g.texture = Texture_Load_e(g.engine, picture.c_str());
    g.sprite = Spr_Interface_Get(g.texture, 0, 0, kSprite, kSprite);
    g.font = Font_Interface_Get(gbk::Lit("宋体").c_str(), 12, 0, 0, 0);

    // The raw side: its own offscreen window with the same renderer kind.
    g.rawWindow = SDL_CreateWindow("raw", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
    g.raw = g.rawWindow ? SDL_CreateRenderer(g.rawWindow, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    g.rawTexture = g.raw ? IMG_LoadTexture(g.raw, picture.c_str()) : nullptr;
    if (g.rawTexture) SDL_SetTextureBlendMode(g.rawTexture, SDL_BLENDMODE_BLEND);
    std::filesystem::remove(picture);

    std::uint32_t seed = 12345;
    for (int i = 0; i < 4096; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const float x = static_cast<float>((seed >> 8) % (kWidth - kSprite));
        seed = seed * 1664525u + 1013904223u;
        const float y = static_cast<float>((seed >> 8) % (kHeight - kSprite));
        g.spots.push_back({x, y});
    }
    return g.texture && g.sprite && g.font && g.rawTexture;
}

void BM_EngineSprites(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Gfx_BeginScene_e(g.engine, 0);
        Gfx_Clear_e(g.engine, 0xFF000000);
        for (int i = 0; i < n; ++i) Spr_Render_e(g.sprite, g.spots[i].x, g.spots[i].y);
        Gfx_EndScene_e(g.engine);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_RawSdlSprites(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const SDL_Rect src{0, 0, kSprite, kSprite};
    for (auto _ : state) {
        SDL_SetRenderDrawColor(g.raw, 0, 0, 0, 255);
        SDL_RenderClear(g.raw);
        for (int i = 0; i < n; ++i) {
            const SDL_Rect dst{static_cast<int>(g.spots[i].x), static_cast<int>(g.spots[i].y),
                               kSprite, kSprite};
            SDL_RenderCopy(g.raw, g.rawTexture, &src, &dst);
        }
        SDL_RenderPresent(g.raw);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_UnchangedChineseText(benchmark::State& state) {
    constexpr int kLines = 40;
    std::vector<std::string> lines;
    for (int i = 0; i < kLines; ++i)
        lines.push_back(gbk::Lit("你对史莱姆造成 ") + std::to_string(i * 7) + gbk::Lit(" 点伤害"));
    auto frame = [&] {
        Gfx_BeginScene_e(g.engine, 0);
        Gfx_Clear_e(g.engine, 0xFF000000);
        for (int i = 0; i < kLines; ++i) Font_Printf(g.font, 10, 10.0f + i * 14, lines[i].c_str());
        Gfx_EndScene_e(g.engine);
    };
    frame();  // the first frame renders each line once
    const long before = Harness_RasterCount(g.engine);
    for (auto _ : state) frame();
    state.counters["raster_after_first"] =
        static_cast<double>(Harness_RasterCount(g.engine) - before);
    state.counters["lines"] = kLines;
}

BENCHMARK(BM_EngineSprites)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawSdlSprites)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnchangedChineseText)->Unit(benchmark::kMicrosecond);

// Prints the usual table, then the engine/raw time ratio per sprite count.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
            cpu[r.run_name.function_name + "/" + r.run_name.args].push_back(r.GetAdjustedCPUTime());
        }
    }
    // Median CPU time over the repetitions: CPU time, because the software
    // renderer works on this thread and wall time follows the machine's load.
    double Median(const std::string& name) {
        auto it = cpu.find(name);
        if (it == cpu.end() || it->second.empty()) return 0;
        std::vector<double> v = it->second;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
    std::map<std::string, std::vector<double>> cpu;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!Setup()) {
        std::fprintf(stderr, "bench_engine: headless engine could not start\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* n : {"200", "1000"}) {
        const double ours = reporter.Median(std::string("BM_EngineSprites/") + n);
        const double raw = reporter.Median(std::string("BM_RawSdlSprites/") + n);
        if (ours > 0 && raw > 0)
            std::printf("sprite frame CPU time, engine / raw SDL_RenderCopy, %s sprites: %.3f\n", n,
                        ours / raw);
    }
    if (g.rawTexture) SDL_DestroyTexture(g.rawTexture);
    if (g.raw) SDL_DestroyRenderer(g.raw);
    if (g.rawWindow) SDL_DestroyWindow(g.rawWindow);
    Release_e(g.engine);
    benchmark::Shutdown();
    return 0;
}
