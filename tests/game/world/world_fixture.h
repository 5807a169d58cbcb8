#pragma once
// A Game on the headless engine with its own temporary data folder, for
// tests that load maps made on the spot with wdm::WriteMap.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/game.h"
#include "shared/gbk.h"
#include "shared/wdm_map.h"

namespace world_test {

constexpr int kKeyUp = 38;

inline std::filesystem::path TempDataDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() /
               ("lumo_world_" + name + "_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / gbk::ToUtf8(gbk::Lit("地图")));
    return dir;
}

inline std::filesystem::path MapPath(const std::filesystem::path& data, const std::string& utf8Name) {
    return data / gbk::ToUtf8(gbk::Lit("地图")) / utf8Name;
}

// A map of the given size with square 1 as its start ground, offset 10.
inline wdm::MapData SimpleMap(int width = 1600, int height = 600) {
    wdm::MapData m;
    m.header.width = width;
    m.header.height = height;
    m.header.startGround = 1;
    m.header.startOffset = 10;
    m.squares.push_back({0, 500, width, 100, 0});
    return m;
}

inline wdm::EventRecord LinkEvent(int left, int top, int width, int height, wdm::LinkDetail d) {
    return {left, top, width, height, wdm::kEventLink, wdm::FormatDetail(d)};
}

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = TempDataDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        GameOptions o;
        o.headless = true;
        o.dataDir = data.string();
        o.seed = 11;
        game = std::make_unique<Game>(o);
        EngineStartRecord r;
        r.headless = 1;
        r.frameFunc = [] { return true; };
        r.renderFunc = [] { return false; };
        game->engine.Initiate(r, true);
        game->screenWidth = game->engine.Width();
        game->screenHeight = game->engine.Height();
        game->player.ResetToStart();
        game->effectLibrary.Load(game->frameCache);
    }
    void TearDown() override {
        // Every engine object goes with the engine; stale handles are ignored.
        game->engine.Shutdown();
        game.reset();
        std::filesystem::remove_all(data);
    }

    // Writes "<data>/地图/<utf8Name>".
    void Write(const std::string& utf8Name, const wdm::MapData& m) {
        ASSERT_TRUE(wdm::WriteMap(MapPath(data, utf8Name).string(), m).ok);
    }
    // Writes the map with a header cut to its first `fields` fields, as
    // older files have it.
    void WriteShortHeader(const std::string& utf8Name, const wdm::MapData& m, int fields) {
        std::string text;
        ASSERT_TRUE(wdm::BuildMapText(m, {}, text).ok);
        std::size_t end = text.find(wdm::kSectionMarker);
        std::size_t cut = 0;
        for (int i = 0; i < fields; ++i) cut = text.find('|', cut) + 1;
        text.erase(cut - 1, end - (cut - 1));
        std::ofstream(world_test::MapPath(data, utf8Name), std::ios::binary) << wdm::Encipher(text);
    }
    void AddMapRow(const std::string& utf8FileName) {
        MapRow row;
        row.number = game->dataTables().maps.Count() + 1;
        row.fileName = gbk::Lit(utf8FileName);
        game->dataTables().maps.Append(row);
    }
    void AddItemRow(const std::string& utf8Name) {
        ItemRow row;
        row.number = game->dataTables().items.Count() + 1;
        row.name = gbk::Lit(utf8Name);
        game->dataTables().items.Append(row);
    }
    bool Load(const std::string& utf8Name, std::optional<int> ground = {}, std::optional<int> offset = {},
              std::optional<int> facing = {}) {
        return game->map.LoadMap(gbk::Lit(utf8Name), ground, offset, facing);
    }
    std::string MapName() const { return gbk::ToUtf8(game->map.fileName()); }
    // Up goes down in one frame and up in the next.
    void ReleaseUp() {
        game->engine.InjectKey(kKeyUp, true);
        Harness_BeginFrame(game->engine.handle());
        game->engine.InjectKey(kKeyUp, false);
        Harness_BeginFrame(game->engine.handle());
    }
    void NextFrame() { Harness_BeginFrame(game->engine.handle()); }
    // The map's update with this frame's controls (Up released uses a key link).
    void MapUpdate() {
        Controls c = game->controlsReader.Read(game->engine);
        game->map.Update(1.0f / 60, c.Released(Action::Up));
    }
    // The player's update with this frame's controls, as the frame loop does it.
    void PlayerUpdate() {
        Controls c = game->controlsReader.Read(game->engine);
        PlayerEvents events = game->player.Update(1.0f / 60, c, game->map.terrain(), game->camera);
        if (events.fellBelowMap) game->map.PlaceOnStartGround();
    }

    std::filesystem::path data;
    std::unique_ptr<Game> game;
};

}  // namespace world_test
