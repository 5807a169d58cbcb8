// Reading and writing a map of 2,000 sprites (plus grounds and events), in
// memory and through a file. Throughput is in file bytes.

#include "shared/gbk.h"
#include "shared/wdm_map.h"
#include "shared/wdm_text.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

wdm::MapData BigMap() {
    wdm::MapData m;
    m.header.width = 20000;
    m.header.startGround = 1;
    for (int i = 0; i < 2000; ++i) {
        wdm::SpriteRecord s;
        s.left = (i * 37) % 20000;
        s.top = (i * 101) % 600;
        s.width = 64 + i % 50;
        s.height = 32 + i % 40;
        s.layer = i % 5 == 0 ? -1 : i % 5;
        s.picture = gbk::Lit("\\data\\map\\地图素材\\") + std::to_string(i % 300) + ".png";
        s.mirrored = i % 3 == 0;
        s.zLevel = i % 3;
        m.sprites[static_cast<std::size_t>(wdm::SpriteListOfLayer(s.layer))].push_back(s);
    }
    for (int i = 0; i < 200; ++i) m.squares.push_back({i * 100, 500 - i % 7 * 20, 90, 20, i % 2});
    for (int i = 0; i < 50; ++i) {
        m.events.push_back({i * 400, 400, 40, 80, wdm::kEventNpc, wdm::FormatDetail(wdm::NpcDetail{i % 9 + 1, i + 1, 12.5})});
    }
    return m;
}

std::string Encoded() {
    std::string bytes;
    wdm::EncodeMap(BigMap(), {}, bytes);
    return bytes;
}

void BM_ReadMapBytes(benchmark::State& state) {
    const std::string bytes = Encoded();
    for (auto _ : state) {
        wdm::ReadResult r = wdm::ReadMapBytes(bytes);
        benchmark::DoNotOptimize(r.map.sprites[0].data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_ReadMapBytes);

void BM_EncodeMap(benchmark::State& state) {
    const wdm::MapData map = BigMap();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string bytes;
        wdm::EncodeMap(map, {}, bytes);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_EncodeMap);

void BM_ReadMapFile(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "bench_wdm_read.Wdm").string();
    const wdm::MapData map = BigMap();
    wdm::WriteMap(path, map);
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state) {
        wdm::ReadResult r = wdm::ReadMap(path);
        benchmark::DoNotOptimize(r.map.sprites[0].data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadMapFile);

void BM_WriteMapFile(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "bench_wdm_write.Wdm").string();
    const wdm::MapData map = BigMap();
    for (auto _ : state) benchmark::DoNotOptimize(wdm::WriteMap(path, map).ok);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteMapFile);

void BM_MapToText(benchmark::State& state) {
    const wdm::MapData map = BigMap();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string text = wdm::MapToText(map);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_MapToText);

}  // namespace

BENCHMARK_MAIN();
