// Saving and loading a full game of the bundled content on the headless
// engine: a bag of 36 mixed items, every equipment slot, the shop stocked,
// two skills on the bar, poison, curse and double experience running, the
// quests, every NPC's variables and 50 chat lines.
//   save:      capture and JSON on the frame; the disk part beside it
//   save to disk: the same, waiting for the synced temporary file, the
//              backup and the rename
//   load:      read, parse, check, apply (the saved map loaded again)
//   read_check: read, parse and check only (what decides a refusal)
// Target: save and load each well under a frame (<= 5 ms).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/game.h"
#include "core/save_store.h"
#include "gameplay/save_format.h"
#include "shared/gbk.h"
#include "shared/paths.h"

namespace {

namespace fs = std::filesystem;

struct Full {
    fs::path dir;
    std::unique_ptr<Game> game;
};

Full g;

bool StartPlaying(Game& game) {
    for (int i = 0; i < 20 && game.phase != kPhasePlaying; ++i) {
        Harness_BeginFrame(game.engine.handle());
        if (game.FrameFunc()) return false;
        game.RenderFunc();
    }
    return game.phase == kPhasePlaying;
}

void Fill(Game& game) {
    const ItemTemplates& t = game.scripts.templates();
    for (int n = 1; n <= 36; ++n) game.inventory.bag.Set(n, *t.Item(15 + n % 11));
    constexpr int kEquipment[12] = {5, 4, 3, 6, 11, 7, 12, 10, 9, 8, 2, 13};
    for (int n = 1; n <= 12; ++n) game.inventory.equipment.Set(n, *t.Item(kEquipment[n - 1]));
    for (int n = 1; n <= 48; ++n) game.inventory.shop.Set(n, *t.Item(1 + n % 25));
    game.player.skills.Learn(1, kThunderKey);
    game.player.skills.Learn(3, 0);
    game.skills.bar.slots.Set(1, *t.Skill(3));
    game.skills.bar.slots.Set(4, *t.Skill(1));
    game.player.StartPoison(30, 1);
    game.player.StartCurse(40);
    game.player.StartDoubleExperience();
    for (int i = 1; i <= 10; ++i) game.questLog.Set(i, 1 + i % 4);
    for (int i = 1; i <= game.dataTables().npcState.Count(); ++i) *game.dataTables().npcState.At(i) = {i, 1, 10 * i};
    for (int i = 0; i < 60; ++i)
        game.chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("你对野狗造成 ") + std::to_string(i) + gbk::Lit(" 点伤害"),
                             0xFFFF0000, true, 0, false);
}

bool Setup() {
    g.dir = fs::temp_directory_path() / ("lumo_bench_saves_" + std::to_string(::getpid()));
    fs::create_directories(g.dir);
    GameOptions o;
    o.headless = true;
    o.dataDir = paths::ProgramFolder() + "/data";  // the pack the build draws beside the programs
    o.seed = 1;
    o.saveDir = g.dir.string();
    g.game = std::make_unique<Game>(o);
    Game& game = *g.game;
    if (game.engine.Initiate(GameStartRecord(true), true) == 0 || !game.engine.videoStarted()) return false;
    game.logicActive = 1;
    game.loader.Initialise();
    if (!StartPlaying(game)) return false;
    Fill(game);
    game.saves.Save("1", false);
    game.saves.Finish();
    return fs::is_regular_file(save_store::SlotPath(g.dir.string(), "1"));
}

void Teardown() {
    if (g.game) {
        g.game->engine.Shutdown();
        g.game.reset();
    }
    std::error_code ec;
    fs::remove_all(g.dir, ec);
}

// What the frame pays: the capture and the JSON text (the disk work runs
// beside the frames and is waited for outside the timing).
void BM_SaveFullGame(benchmark::State& state) {
    for (auto _ : state) {
        if (!g.game->saves.Save("1", false)) state.SkipWithError("the save failed");
        state.PauseTiming();
        g.game->saves.Finish();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveFullGame)->Unit(benchmark::kMillisecond);

// The same with the disk work waited for: the synced temporary file, the
// backup and the rename (wall time depends on the disk).
void BM_SaveFullGameToDisk(benchmark::State& state) {
    for (auto _ : state) {
        if (!g.game->saves.Save("1", false)) state.SkipWithError("the save failed");
        g.game->saves.Finish();
    }
}
BENCHMARK(BM_SaveFullGameToDisk)->Unit(benchmark::kMillisecond);

void BM_LoadFullGame(benchmark::State& state) {
    for (auto _ : state) {
        if (!g.game->saves.Load("1")) state.SkipWithError("the load failed");
    }
}
BENCHMARK(BM_LoadFullGame)->Unit(benchmark::kMillisecond);

void BM_ReadAndCheckFullSave(benchmark::State& state) {
    const std::string path = save_store::SlotPath(g.dir.string(), "1");
    for (auto _ : state) {
        std::string text, error;
        save_store::ReadWhole(path, text, error);
        SaveReadResult r = ReadSaveJson(text, g.game->dataTables());
        if (!r.save) state.SkipWithError("the save was refused");
        benchmark::DoNotOptimize(r);
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}
BENCHMARK(BM_ReadAndCheckFullSave)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!Setup()) {
        Teardown();
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Teardown();
    return 0;
}
