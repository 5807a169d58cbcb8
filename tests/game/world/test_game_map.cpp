// The map at run time through a Game on the headless engine: loading,
// placement, links, the floating layer, drawing and load failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <vector>

#include "core/json_writer.h"
#include "world_fixture.h"

namespace {

using world_test::LinkEvent;
using world_test::SimpleMap;
using world_test::WorldTest;

// ------------------------------------------------------------ placement

TEST_F(WorldTest, PlacementRules) {
    wdm::MapData m = SimpleMap();
    m.header.startGround = 2;
    m.header.startOffset = 30;
    m.squares.push_back({200, 400, 300, 20, 0});  // 2: the start ground
    m.squares.push_back({600, 300, 100, 20, 0});  // 3
    Write("a.Wdm", m);
    struct Case {
        const char* name;
        std::optional<int> ground, offset;
        float x;       // < 0: random on the ground
        float feet;
    };
    const Case cases[] = {
        {"nothing given: start ground and offset", {}, {}, 230, 402},
        {"ground 0: start ground", 0, 5, 205, 402},
        {"offset -2: start offset", 3, -2, 630, 302},
        {"flush with the right end", 3, 90, 660, 302},
        {"ground past the squares: start ground", 9, 0, 200, 402},
        {"negative ground: start ground", -4, 0, 200, 402},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Load("a.Wdm", c.ground, c.offset));
        EXPECT_FLOAT_EQ(game->player.x, c.x);
        EXPECT_FLOAT_EQ(game->player.y + game->player.height, c.feet);
    }
}

TEST_F(WorldTest, RandomOffsetStaysOnTheGround) {
    wdm::MapData m = SimpleMap();
    m.squares.push_back({600, 300, 140, 20, 0});
    Write("a.Wdm", m);
    std::set<float> seen;
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(Load("a.Wdm", 2, -1));
        float x = game->player.x;
        EXPECT_GE(x, 600);
        EXPECT_LE(x + game->player.width, 740);
        EXPECT_EQ(x, std::trunc(x));
        seen.insert(x);
    }
    EXPECT_GT(seen.size(), 5u);
}

TEST_F(WorldTest, ABadStartGroundFallsBackToTheFirstSquare) {
    wdm::MapData m = SimpleMap();
    m.header.startGround = 7;
    Write("a.Wdm", m);
    ASSERT_TRUE(Load("a.Wdm"));
    EXPECT_FLOAT_EQ(game->player.x, 10);
    EXPECT_FLOAT_EQ(game->player.y + game->player.height, 502);
}

TEST_F(WorldTest, FacingFromTheCallerOrTheHeader) {
    wdm::MapData m = SimpleMap();
    m.header.facing = 1;
    Write("left.Wdm", m);
    WriteShortHeader("old.Wdm", m, 8);  // an older header without the facing
    ASSERT_TRUE(Load("left.Wdm"));
    EXPECT_EQ(game->player.facing, 1);
    EXPECT_EQ(game->player.mirrorSign, -1);
    EXPECT_FLOAT_EQ(game->player.attackOffset, game->player.width - 10);
    ASSERT_TRUE(Load("left.Wdm", 0, -2, 2));
    EXPECT_EQ(game->player.facing, 2);
    EXPECT_EQ(game->player.mirrorSign, 1);
    EXPECT_FLOAT_EQ(game->player.attackOffset, 0);
    ASSERT_TRUE(Load("left.Wdm", 0, -2, 0));  // 0 given: unchanged, the header is not asked
    EXPECT_EQ(game->player.facing, 2);
    ASSERT_TRUE(Load("old.Wdm"));
    EXPECT_EQ(game->player.facing, 2);
}

// ------------------------------------------------------------ links

TEST_F(WorldTest, TouchLinksFireOnlyWhileWalking) {
    wdm::MapData a = SimpleMap();
    a.events.push_back(LinkEvent(0, 400, 200, 200, {2, 0, -2, true, 0}));
    Write("a.Wdm", a);
    Write("b.Wdm", SimpleMap());
    AddMapRow("a.Wdm");
    AddMapRow("b.Wdm");
    ASSERT_TRUE(Load("a.Wdm"));
    ASSERT_EQ(game->map.touchLinks.size(), 1u);
    game->player.state = PlayerMotion::kIdle;
    MapUpdate();
    EXPECT_EQ(MapName(), "a.Wdm");
    game->player.state = PlayerMotion::kWalking;
    MapUpdate();
    EXPECT_EQ(MapName(), "b.Wdm");
}

TEST_F(WorldTest, TheLinkBoxIsShrunkByTenPixels) {
    wdm::MapData a = SimpleMap();
    // Player box at x 10..50, y 432..502 on the start ground.
    struct Case {
        int left, top, width, height;
        bool fires;
    };
    const Case cases[] = {
        {0, 422, 60, 90, true},    // exactly 10 pixels around the box
        {1, 422, 60, 90, false},   // left edge 9 pixels away
        {0, 423, 60, 90, false},   // top 9 pixels away
        {0, 422, 59, 90, false},   // right edge 9 pixels away
        {0, 422, 60, 89, false},   // feet 9 pixels away
    };
    Write("b.Wdm", SimpleMap());
    AddMapRow("b.Wdm");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top << "," << c.width << "," << c.height);
        a.events = {LinkEvent(c.left, c.top, c.width, c.height, {1, 0, -2, true, 0})};
        Write("a.Wdm", a);
        ASSERT_TRUE(Load("a.Wdm"));
        game->player.state = PlayerMotion::kWalking;
        MapUpdate();
        EXPECT_EQ(MapName(), c.fires ? "b.Wdm" : "a.Wdm");
    }
}

TEST_F(WorldTest, TheEarlierOfTwoKeyLinksWinsOnUpReleased) {
    wdm::MapData a = SimpleMap();
    a.events.push_back(LinkEvent(0, 400, 300, 200, {2, 0, -2, false, 0}));
    a.events.push_back(LinkEvent(0, 400, 200, 200, {3, 0, -2, false, 0}));
    Write("a.Wdm", a);
    Write("b.Wdm", SimpleMap());
    Write("c.Wdm", SimpleMap());
    AddMapRow("a.Wdm");
    AddMapRow("b.Wdm");
    AddMapRow("c.Wdm");
    ASSERT_TRUE(Load("a.Wdm"));
    ASSERT_EQ(game->map.keyLinks.size(), 2u);
    game->player.state = PlayerMotion::kWalking;  // key links ignore walking
    MapUpdate();
    EXPECT_EQ(MapName(), "a.Wdm");
    ReleaseUp();
    MapUpdate();
    EXPECT_EQ(MapName(), "b.Wdm");
}

TEST_F(WorldTest, ALinkPlacesThePlayerOnItsTargetGroundWithItsFacing) {
    wdm::MapData a = SimpleMap();
    a.events.push_back(LinkEvent(0, 400, 200, 200, {2, 2, 20, true, 1}));
    Write("a.Wdm", a);
    wdm::MapData b = SimpleMap();
    b.squares.push_back({800, 200, 200, 20, 0});
    Write("b.Wdm", b);
    AddMapRow("a.Wdm");
    AddMapRow("b.Wdm");
    ASSERT_TRUE(Load("a.Wdm"));
    game->player.state = PlayerMotion::kWalking;
    MapUpdate();
    ASSERT_EQ(MapName(), "b.Wdm");
    EXPECT_FLOAT_EQ(game->player.x, 820);
    EXPECT_FLOAT_EQ(game->player.y + game->player.height, 202);
    EXPECT_EQ(game->player.facing, 1);
}

TEST_F(WorldTest, PortalsOnlyForPositiveTargetMaps) {
    wdm::MapData a = SimpleMap();
    a.events.push_back(LinkEvent(300, 300, 100, 200, {2, 0, 0, false, 0}));
    a.events.push_back(LinkEvent(600, 300, 100, 200, {-2, 0, 0, true, 0}));
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    ASSERT_EQ(game->map.effects.size(), 1);
    const Effect& portal = game->map.effects.At(1);
    EXPECT_FLOAT_EQ(portal.x(), 300 + 100 - 72);
    EXPECT_FLOAT_EQ(portal.y(), 300 + 200 - 92);
    EXPECT_EQ(portal.repeatCount(), 0);
    EXPECT_EQ(portal.backAndForth(), 1);
    EXPECT_EQ(portal.drawnBehind(), 0);
    ASSERT_EQ(game->map.touchLinks.size(), 1u);
    EXPECT_EQ(game->map.touchLinks[0].targetMap, 2);  // negative: no portal, same target
    EXPECT_EQ(game->map.keyLinks[0].targetMap, 2);
}

TEST_F(WorldTest, ACorruptTargetMapKeepsThePlayerOnTheCurrentMap) {
    wdm::MapData a = SimpleMap();
    a.events.push_back(LinkEvent(0, 400, 200, 200, {2, 0, -2, true, 0}));
    a.events.push_back({500, 400, 20, 20, wdm::kEventItem, wdm::FormatDetail(wdm::ItemDetail{gbk::Lit("太阳神水"), 1})});
    Write("a.Wdm", a);
    std::ofstream(world_test::MapPath(data, "broken.Wdm"), std::ios::binary) << "no map here";
    AddItemRow("太阳神水");
    AddMapRow("a.Wdm");
    AddMapRow("broken.Wdm");
    ASSERT_TRUE(Load("a.Wdm"));
    const float x = game->player.x, y = game->player.y;
    const std::size_t lines = game->chatLog.size();
    game->player.state = PlayerMotion::kWalking;
    MapUpdate();
    EXPECT_EQ(MapName(), "a.Wdm");
    EXPECT_FLOAT_EQ(game->player.x, x);
    EXPECT_FLOAT_EQ(game->player.y, y);
    EXPECT_EQ(game->map.touchLinks.size(), 1u);  // nothing of the map was cleared
    EXPECT_EQ(game->actors.groundItems.size(), 1u);
    ASSERT_EQ(game->chatLog.size(), lines + 1);
    const ChatLine& line = game->chatLog.Line(game->chatLog.size() - 1);
    EXPECT_EQ(line.label, gbk::Lit("[系统]"));
    EXPECT_NE(line.text.find("broken.Wdm"), std::string::npos) << gbk::ToUtf8(line.text);
    EXPECT_TRUE(game->messageBoxes.empty());
    EXPECT_EQ(game->exitStatus(), 0);

    // A link to a row the map table does not have fails the same way.
    game->map.touchLinks[0].targetMap = 9;
    MapUpdate();
    EXPECT_EQ(MapName(), "a.Wdm");
    EXPECT_EQ(game->chatLog.size(), lines + 2);
}

TEST_F(WorldTest, ReturnToTownWithoutTownMapReloadsThisMapOnTheTownGround) {
    wdm::MapData a = SimpleMap();
    a.header.townMap = 0;
    a.header.townGround = 2;
    a.squares.push_back({300, 350, 200, 20, 0});
    a.events.push_back({900, 400, 20, 20, wdm::kEventItem, wdm::FormatDetail(wdm::ItemDetail{"x", 1})});
    AddItemRow("x");
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    game->actors.groundItems.clear();  // picked up: a fresh load brings it back
    std::set<float> seen;
    for (int i = 0; i < 20; ++i) {
        game->player.x = 1000;
        game->map.ReturnToTown();
        EXPECT_EQ(MapName(), "a.Wdm");
        EXPECT_GE(game->player.x, 300);
        EXPECT_LE(game->player.x + game->player.width, 500);
        EXPECT_FLOAT_EQ(game->player.y + game->player.height, 352);
        seen.insert(game->player.x);
    }
    EXPECT_GT(seen.size(), 3u);
    EXPECT_EQ(game->actors.groundItems.size(), 1u);

    a.header.townGround = 0;  // no town ground: the start ground
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    game->map.ReturnToTown();
    EXPECT_FLOAT_EQ(game->player.y + game->player.height, 502);
}

TEST_F(WorldTest, ReturnToTownLoadsTheTownMapRow) {
    wdm::MapData a = SimpleMap();
    a.header.townMap = 2;
    a.header.townGround = 1;
    Write("a.Wdm", a);
    wdm::MapData town = SimpleMap();
    town.header.townMap = 5;
    WriteShortHeader("town.Wdm", town, 6);  // no town fields: the old values stay
    AddMapRow("a.Wdm");
    AddMapRow("town.Wdm");
    ASSERT_TRUE(Load("a.Wdm"));
    game->map.ReturnToTown();
    EXPECT_EQ(MapName(), "town.Wdm");
    EXPECT_EQ(game->map.townMap(), 2);
    EXPECT_EQ(game->map.townGround(), 1);

    // Seven fields bring the town map only; eight bring the town ground too.
    town.header.townGround = 3;
    WriteShortHeader("town.Wdm", town, 7);
    ASSERT_TRUE(Load("town.Wdm"));
    EXPECT_EQ(game->map.townMap(), 5);
    EXPECT_EQ(game->map.townGround(), 1);
    WriteShortHeader("town.Wdm", town, 8);
    ASSERT_TRUE(Load("town.Wdm"));
    EXPECT_EQ(game->map.townMap(), 5);
    EXPECT_EQ(game->map.townGround(), 3);
}

// ------------------------------------------------------------ events

TEST_F(WorldTest, EventsCreateTheirObjectsAndSkipBadNumbers) {
    DataTables& tables = game->dataTables();
    tables.AppendNpc(NpcRow{1, gbk::Lit("村长"), "a", "a.lua", 1, 10, 0});
    tables.monsters.Append(MonsterRow{1, gbk::Lit("史莱姆"), "s", "s.lua", 40, 30, 10, 1, 1, 0, 5});
    wdm::MapData a = SimpleMap();
    a.squares.push_back({300, 350, 200, 20, 0});
    auto ev = [](int kind, std::string detail) { return wdm::EventRecord{0, 0, 20, 20, kind, std::move(detail)}; };
    a.events = {
        ev(wdm::kEventNpc, wdm::FormatDetail(wdm::NpcDetail{1, 2, 15})),
        ev(wdm::kEventNpc, wdm::FormatDetail(wdm::NpcDetail{2, 1, 0})),   // no such row
        ev(wdm::kEventNpc, wdm::FormatDetail(wdm::NpcDetail{1, 5, 0})),   // no such square
        ev(wdm::kEventMonster, wdm::FormatDetail(wdm::MonsterDetail{1, 1, 40, true, -10, 200})),
        ev(wdm::kEventMonster, wdm::FormatDetail(wdm::MonsterDetail{1, 0, 40, false, 0, 0})),
        ev(wdm::kEventAnimation, wdm::FormatDetail(wdm::AnimationDetail{8, 120, 80, gbk::Lit("往返")})),
        ev(wdm::kEventAnimation, wdm::FormatDetail(wdm::AnimationDetail{99, 0, 0, gbk::Lit("普通")})),
        {700, 450, 30, 30, wdm::kEventItem, wdm::FormatDetail(wdm::ItemDetail{gbk::Lit("太阳神水"), 3})},
        {800, 450, 30, 30, wdm::kEventItem, wdm::FormatDetail(wdm::ItemDetail{gbk::Lit("没有的东西"), 1})},
    };
    AddItemRow("太阳神水");
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    ASSERT_EQ(game->actors.npcs.size(), 1u);
    EXPECT_EQ(game->actors.npcs[0]->number(), 1);
    EXPECT_FLOAT_EQ(game->actors.npcs[0]->x(), 315);
    ASSERT_EQ(game->actors.monsters.size(), 1u);
    EXPECT_EQ(game->actors.monsters[0]->homeGround(), 1);
    ASSERT_EQ(game->map.effects.size(), 1);  // effect 99 does not exist
    const Effect& bird = game->map.effects.At(1);
    EXPECT_FLOAT_EQ(bird.x(), 120);
    EXPECT_EQ(bird.backAndForth(), 1);
    EXPECT_EQ(bird.drawnBehind(), 1);
    ASSERT_EQ(game->actors.groundItems.size(), 1u);  // no item row, no ground item
    EXPECT_FLOAT_EQ(game->actors.groundItems[0]->x(), 700);
    EXPECT_FLOAT_EQ(game->actors.groundItems[0]->y(), 460);
    EXPECT_EQ(game->actors.groundItems[0]->name(), gbk::Lit("太阳神水"));

    game->map.ClearMap();
    EXPECT_TRUE(game->actors.npcs.empty());
    EXPECT_TRUE(game->actors.monsters.empty());
    EXPECT_TRUE(game->actors.groundItems.empty());
    EXPECT_EQ(game->map.effects.size(), 0);
    EXPECT_TRUE(game->map.terrain().squares.empty());
}

// ------------------------------------------------------------ per frame

TEST_F(WorldTest, FloatingSpritesDriftLeftAndWrapToTheMapWidth) {
    wdm::MapData a = SimpleMap(1600);
    a.header.floatInterval = 1.5;
    a.sprites[4] = {{-100, 50, 100, 40, 4, "\\data\\map\\cloud.png", false, 0},
                    {-99, 50, 100, 40, 4, "\\data\\map\\cloud.png", false, 0}};
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    MapUpdate();
    const LayerRecord& floating = game->map.layer(GameMap::kLayerFloating);
    EXPECT_FLOAT_EQ(floating[0].x, 1600);
    EXPECT_FLOAT_EQ(floating[1].x, -100.5f);
    MapUpdate();
    EXPECT_FLOAT_EQ(floating[0].x, 1598.5f);
    EXPECT_FLOAT_EQ(floating[1].x, 1600);
}

TEST_F(WorldTest, CameraLeadsAndClampsToTheMap) {
    struct Case {
        int mapWidth;
        float playerX, leadX;
        float offsetX;
    };
    const Case cases[] = {
        {1600, 800, 0, -400},     // centred
        {1600, 800, 20.7f, -380}, // the whole lead: 20
        {1600, 100, 0, 0},        // left edge
        {1600, 1500, 0, -800},    // right edge
        {600, 300, 0, 0},         // narrower than the screen: the left edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playerX);
        Write("a.Wdm", SimpleMap(c.mapWidth, 1200));
        ASSERT_TRUE(Load("a.Wdm"));
        game->player.x = c.playerX;
        game->player.leadX = c.leadX;
        game->player.y = 565;  // centre 600: the camera is at the map's middle
        MapUpdate();
        EXPECT_FLOAT_EQ(game->camera.offsetX, c.offsetX);
        EXPECT_FLOAT_EQ(game->camera.offsetY, -300);
    }
    // Vertically the same order: a map lower than the screen shows its top.
    Write("a.Wdm", SimpleMap(1600, 400));
    ASSERT_TRUE(Load("a.Wdm"));
    game->player.y = 300;
    MapUpdate();
    EXPECT_FLOAT_EQ(game->camera.offsetY, 0);
    Write("a.Wdm", SimpleMap(1600, 1000));
    ASSERT_TRUE(Load("a.Wdm"));
    game->player.y = 1000;  // far below the middle: the bottom edge
    MapUpdate();
    EXPECT_FLOAT_EQ(game->camera.offsetY, -400);
}

struct Draw {
    HTEXTURE texture;
    float x, y, w;
};

void Record(void* user, const LumoDrawRecord* r) {
    if (r->kind == LUMO_DRAW_SPRITE) static_cast<std::vector<Draw>*>(user)->push_back({r->texture, r->x, r->y, r->w});
}

TEST_F(WorldTest, RenderPassesDrawTheLayersWithTheirParallax) {
    // Six pictures, one per layer, so each draw names its layer.
    const char* names[] = {"bg", "map", "top", "back2", "back3", "float", "prio"};
    game->engine.Clear(0xFF336699);
    game->engine.BeginScene(0);
    game->engine.EndScene();
    std::filesystem::create_directories(data / "map");
    for (const char* n : names) ASSERT_TRUE(game->engine.Screenshot((data / "map" / (std::string(n) + ".png")).string()));
    auto pic = [](const char* n) { return std::string("\\data\\map\\") + n + ".png"; };

    wdm::MapData a = SimpleMap(2000);
    a.header.background = pic("bg");
    a.sprites[0] = {{700, 200, 50, 60, 0, pic("map"), false, 0}, {900, 200, 50, 60, -1, pic("prio"), true, 0}};
    a.sprites[1] = {{900, 210, 50, 60, 1, pic("top"), false, 0}};
    a.sprites[2] = {{700, 220, 50, 60, 2, pic("back2"), false, 0}};
    a.sprites[3] = {{700, 230, 50, 60, 3, pic("back3"), false, 0}};
    a.sprites[4] = {{700, 240, 50, 60, 4, pic("float"), false, 0}};
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    EXPECT_EQ(game->map.layer(GameMap::kLayerMap).size(), 1u);
    ASSERT_EQ(game->map.layer(GameMap::kLayerPriority).size(), 1u);
    EXPECT_FLOAT_EQ(game->map.layer(GameMap::kLayerPriority)[0].x, 950);  // mirrored: left + width
    EXPECT_EQ(game->map.textureCount(), 7u);

    game->player.x = 1000;
    game->player.y = 500;
    MapUpdate();
    const Camera& c = game->camera;
    ASSERT_FLOAT_EQ(c.anchorX, -1000);
    ASSERT_FLOAT_EQ(c.offsetX, -600);

    std::vector<Draw> draws;
    game->engine.SetDrawListener(&Record, &draws);
    game->engine.BeginScene(0);
    game->map.RenderPass(0);
    game->map.RenderPass(1);
    game->engine.EndScene();
    game->engine.SetDrawListener(nullptr, nullptr);

    auto textureOf = [&](int layer) { return game->map.layer(layer)[0].texture; };
    ASSERT_EQ(draws.size(), 7u);
    const float oy = c.offsetY;
    struct Expect {
        HTEXTURE texture;
        float x, y;
    };
    const Expect expected[] = {
        {draws[0].texture, 0, 0},                                       // background, not scrolled
        {textureOf(GameMap::kLayerFloating), -600 + 700 + 200, oy + 240},    // x - anchorX / 5
        {textureOf(GameMap::kLayerBackground3), -600 + 700 + 200, oy + 230},
        {textureOf(GameMap::kLayerBackground2), -600 + 700 + 100, oy + 220}, // x - anchorX / 10
        {textureOf(GameMap::kLayerMap), -600 + 700, oy + 200},
        {textureOf(GameMap::kLayerPriority), -600 + 950, oy + 200},         // mirrored: from its right edge
        {textureOf(GameMap::kLayerTop), -600 + 900 - 200, oy + 210},         // x + anchorX / 5
    };
    for (std::size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(draws[i].texture, expected[i].texture);
        EXPECT_FLOAT_EQ(draws[i].x, expected[i].x);
        EXPECT_FLOAT_EQ(draws[i].y, expected[i].y);
    }
}

TEST_F(WorldTest, OnlySpritesThatReachTheScreenAreDrawn) {
    game->engine.Clear(0xFF336699);
    game->engine.BeginScene(0);
    game->engine.EndScene();
    std::filesystem::create_directories(data / "map");
    ASSERT_TRUE(game->engine.Screenshot((data / "map" / "p.png").string()));
    const std::string pic = "\\data\\map\\p.png";

    // The camera shows map x 600..1400 (the screen is 800 wide) and, on a
    // 600-high map, map y 0..600. Each sprite is 50 x 60; the tag in
    // its y tells the draws apart.
    wdm::MapData a = SimpleMap(2000);
    auto at = [&](int left, int top, bool mirrored) {
        a.sprites[0].push_back({left, top, 50, 60, 0, pic, mirrored, 0});
    };
    at(550, 100, false);   // ends at the screen's left edge: not drawn
    at(551, 110, false);   // its last column on screen
    at(1400, 120, false);  // starts at the right edge: not drawn
    at(1399, 130, false);  // its first column on screen
    at(551, 140, true);    // mirrored, drawn from its right edge x = 601
    at(550, 150, true);    // mirrored, right edge at the screen's left: not drawn
    at(1399, 160, true);   // mirrored, left edge one column inside the right
    at(1000, -60, false);  // ends at the top: not drawn
    at(1000, -59, false);  // one row on screen
    at(1000, 600, false);  // below the screen: not drawn
    at(1000, 599, false);  // one row on screen
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    game->player.x = 1000;
    game->player.y = 500;
    MapUpdate();
    ASSERT_FLOAT_EQ(game->camera.offsetX, -600);
    ASSERT_FLOAT_EQ(game->camera.offsetY, 0);

    std::vector<Draw> draws;
    game->engine.SetDrawListener(&Record, &draws);
    game->engine.BeginScene(0);
    game->map.RenderPass(0);
    game->engine.EndScene();
    game->engine.SetDrawListener(nullptr, nullptr);

    std::vector<std::pair<float, float>> drawn;  // (x, y) after the background
    for (std::size_t i = 1; i < draws.size(); ++i) drawn.emplace_back(draws[i].x, draws[i].y);
    std::sort(drawn.begin(), drawn.end());
    const std::vector<std::pair<float, float>> expected = {
        {-49, 110}, {1, 140}, {400, -59}, {400, 599}, {799, 130}, {849, 160}};
    EXPECT_EQ(drawn, expected);
}

TEST_F(WorldTest, PicturesSeenBeforeAreNotReadAgain) {
    game->engine.BeginScene(0);
    game->engine.EndScene();
    std::filesystem::create_directories(data / "map");
    ASSERT_TRUE(game->engine.Screenshot((data / "map" / "p.png").string()));
    wdm::MapData a = SimpleMap();
    a.header.background = "\\data\\map\\p.png";
    for (int i = 0; i < 10; ++i) a.sprites[0].push_back({i * 60, 100, 50, 50, 0, "\\data\\map\\p.png", false, 0});
    a.sprites[2].push_back({0, 0, 50, 50, 2, "\\data\\map\\missing.png", false, 0});
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    EXPECT_EQ(game->map.textureCount(), 2u);  // each path once per map
    EXPECT_EQ(game->map.sharedTextures().diskLoads(), 2);
    HTEXTURE first = game->map.layer(0)[0].texture;
    EXPECT_NE(first, 0u);
    ASSERT_TRUE(Load("a.Wdm"));
    EXPECT_EQ(game->map.sharedTextures().diskLoads(), 2);
    EXPECT_EQ(game->map.layer(0)[0].texture, first);
    EXPECT_EQ(game->engine.TextureWidth(first), 800);  // still alive after the reload
}

TEST_F(WorldTest, FallingBelowTheMapPutsThePlayerOnTheStartGround) {
    wdm::MapData a = SimpleMap(1600, 600);
    a.squares[0] = {0, 500, 300, 100, 0};
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    game->player.x = 800;  // no ground below
    game->player.y = 500;
    game->player.currentGround = 0;
    game->logicActive = 1;
    bool placed = false;
    for (int i = 0; i < 100 && !placed; ++i) {
        NextFrame();
        PlayerUpdate();
        EXPECT_LE(game->player.y, 600);
        placed = game->player.x == 10;
    }
    ASSERT_TRUE(placed);
    EXPECT_FLOAT_EQ(game->player.y + game->player.height, 502);
    EXPECT_EQ(MapName(), "a.Wdm");
}

TEST_F(WorldTest, TheStateDumpNamesTheMapAndItsLinks) {
    wdm::MapData a = SimpleMap();
    a.events.push_back(LinkEvent(0, 400, 200, 200, {-3, 2, -1, true, 2}));
    Write("a.Wdm", a);
    ASSERT_TRUE(Load("a.Wdm"));
    JsonWriter w;
    game->DumpState(w);
    const std::string& json = w.str();
    EXPECT_NE(json.find("\"name\": \"a.Wdm\""), std::string::npos);
    EXPECT_NE(json.find("\"targetMap\": 3"), std::string::npos);
    EXPECT_NE(json.find("\"layers\": ["), std::string::npos);
    EXPECT_NE(json.find("\"currentGround\""), std::string::npos);
    EXPECT_NE(json.find("\"leadX\""), std::string::npos);
}

}  // namespace

namespace {

TEST(StartUp, ABrokenFirstMapShowsAMessageAndEndsWithAnError) {
    auto data = world_test::TempDataDir("startup");
    std::ofstream(world_test::MapPath(data, "新手村1.Wdm"), std::ios::binary) << "\x01\x02 not a map";
    GameOptions o;
    o.headless = true;
    o.dataDir = data.string();
    o.frames = 50;
    Game game(o);
    EXPECT_NE(game.Run(), 0);
    EXPECT_LT(game.frameCount, 50);
    ASSERT_EQ(game.messageBoxes.size(), 1u);
    const std::string text = gbk::ToUtf8(game.messageBoxes[0].text);
    EXPECT_NE(text.find("新手村1.Wdm"), std::string::npos) << text;
    EXPECT_NE(text.find("damaged"), std::string::npos) << text;  // what was wrong
    std::filesystem::remove_all(data);
}

}  // namespace
