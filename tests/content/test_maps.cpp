// The bundled maps: every source under content/maps packs into a map file
// the game reads, names only squares, pictures and map-table rows that
// exist, puts an arriving player on solid ground outside every touch link,
// and can be crossed on foot from one end to the other with the game's own
// movement (slopes walked, walls jumped, ladders climbed).

#include "generate.h"
#include "map_art.h"

#include "gameplay/player.h"
#include "shared/gbk.h"
#include "shared/wdm_check.h"
#include "shared/wdm_map.h"
#include "shared/wdm_text.h"
#include "test_dirs.h"
#include "world/game_map.h"
#include "world/movement.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBoxW = static_cast<int>(Player::kBoxWidth);
constexpr int kBoxH = static_cast<int>(Player::kBoxHeight);

std::string ReadText(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

fs::path U8(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

// The pack the tests look at: the map pictures drawn into a temporary data
// folder, every map source packed into its 地图 folder and read back.
struct Pack {
    fs::path data;
    std::vector<std::string> tableGbk;            // Map.csv file names by row
    std::map<std::string, wdm::MapData> maps;     // by UTF-8 file name ("新手村1.Wdm")
    std::vector<std::string> sourceErrors;
};

const Pack& ThePack() {
    static const Pack pack = [] {
        Pack p;
        p.data = fs::temp_directory_path() / ("lumo_maps_" + std::to_string(static_cast<long long>(::getpid())));
        fs::remove_all(p.data);
        contentgen::Output out(p.data);
        contentgen::GenerateMapArt(out);
        EXPECT_EQ(out.failures(), 0);
        fs::create_directories(p.data / U8("地图"));
        p.tableGbk = wdm::ScanMapTable(gbk::FromUtf8(ReadText(U8(test_dirs::ContentSource() + "/data/脚本/Map.csv"))));
        for (const auto& entry : fs::directory_iterator(U8(test_dirs::ContentSource() + "/maps"))) {
            if (entry.path().extension() != ".txt") continue;
            const std::u8string stem = entry.path().stem().u8string();
            const std::string name = std::string(stem.begin(), stem.end()) + ".Wdm";
            wdm::TextResult text = wdm::MapFromText(ReadText(entry.path()));
            if (!text) {
                p.sourceErrors.push_back(name + ":" + std::to_string(text.line) + ": " + text.error);
                continue;
            }
            const fs::path file = p.data / U8("地图") / U8(name);
            if (!wdm::WriteMap(file.string(), text.map)) {
                p.sourceErrors.push_back(name + ": cannot be written");
                continue;
            }
            wdm::ReadResult back = wdm::ReadMap(file.string(), wdm::SectionRule::Exactly10);
            if (!back) {
                p.sourceErrors.push_back(name + ": " + back.reason);
                continue;
            }
            p.maps[name] = back.map;
        }
        return p;
    }();
    return pack;
}

class Cleaner : public ::testing::Environment {
public:
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(ThePack().data, ec);
    }
};
const auto* const kCleaner = ::testing::AddGlobalTestEnvironment(new Cleaner);

Terrain TerrainOf(const wdm::MapData& m) {
    Terrain t;
    t.squares = m.squares;
    for (const auto& s : m.squares) {
        if (s.kind == 1) t.blockingSquares.push_back(s);
    }
    t.slopes = m.slopes;
    t.stairs = m.stairs;
    return t;
}

std::vector<MapLink> Links(const wdm::MapData& m, bool touch) {
    std::vector<MapLink> links;
    for (const auto& e : m.events) {
        if (e.kind != wdm::kEventLink) continue;
        const wdm::LinkDetail d = wdm::ParseLinkDetail(e.detail);
        if (d.jumpOnTouch != touch) continue;
        links.push_back(MapLink{e.left, e.top, e.width, e.height, std::abs(d.targetMap), d.targetGround, d.targetOffset,
                                d.facing});
    }
    return links;
}

// The file name (UTF-8) of map table row n, or "" when there is no such row.
std::string TableFile(int row) {
    const auto& table = ThePack().tableGbk;
    if (row < 1 || row > static_cast<int>(table.size())) return {};
    return gbk::ToUtf8(table[row - 1]);
}

struct Walker {
    const wdm::MapData& map;
    Terrain terrain;
    PlayerMotion p;

    Walker(const wdm::MapData& m, int ground, int offset) : map(m), terrain(TerrainOf(m)) {
        p.width = static_cast<float>(kBoxW);
        p.height = static_cast<float>(kBoxH);
        PlaceOnGround(p, *terrain.Square(ground), offset, 0);
    }
    void Frame(const MovementInput& in) {
        UpdateMovement(p, terrain, in, static_cast<float>(map.header.width), static_cast<float>(map.header.height));
    }
    void Idle(int frames) {
        for (int i = 0; i < frames; ++i) Frame({});
    }
    bool In(const MapLink& l) const { return l.Contains(p.x, p.y, p.width, p.height); }
};

// Where players arrive on a map: its start, the town return, and every link
// of every map that leads here. Offsets -1 (random) are tried at both ends.
struct Arrival {
    std::string from;
    int ground, offset;
};

std::vector<Arrival> ArrivalsOn(const std::string& file) {
    std::vector<Arrival> out;
    const wdm::MapData& target = ThePack().maps.at(file);
    const Terrain terrain = TerrainOf(target);
    auto add = [&](const std::string& from, int ground, int offset) {
        if (ground == 0) ground = target.header.startGround;
        const wdm::GroundRecord* g = terrain.Square(ground);
        if (offset != -1 || !g) return out.push_back({from, ground, offset});
        out.push_back({from + " (random, left end)", ground, 0});
        out.push_back({from + " (random, right end)", ground, g->width - kBoxW});
    };
    add("start", target.header.startGround, target.header.startOffset);
    for (const auto& [name, m] : ThePack().maps) {
        if (m.header.townMap > 0 && TableFile(m.header.townMap) == file) add("town return from " + name, m.header.townGround, -1);
        for (bool touch : {false, true}) {
            for (const MapLink& l : Links(m, touch)) {
                if (TableFile(l.targetMap) == file) add("link of " + name, l.targetGround, l.targetOffset);
            }
        }
    }
    return out;
}

TEST(ContentMaps, EverySourcePacksIntoAMapTheGameReads) {
    const Pack& pack = ThePack();
    for (const std::string& e : pack.sourceErrors) ADD_FAILURE() << e;
    EXPECT_GE(pack.maps.size(), 3u);
    for (const auto& [name, m] : pack.maps) {
        EXPECT_GE(m.header.width, 800) << name;
        EXPECT_EQ(m.header.height, 600) << name;
        EXPECT_FALSE(m.squares.empty()) << name;
        // Map sprites and both backgrounds; the top and floating layers may be empty.
        for (std::size_t s : {0u, 2u, 3u}) EXPECT_FALSE(m.sprites[s].empty()) << name << " section " << s + 1;
    }
}

TEST(ContentMaps, TheMapTableNamesEveryMapAndTheVillageComesFirst) {
    ASSERT_FALSE(ThePack().tableGbk.empty()) << "content/data/脚本/Map.csv has no 初始地图 rows";
    EXPECT_EQ(TableFile(1), "新手村1.Wdm");
    for (std::size_t row = 1; row <= ThePack().tableGbk.size(); ++row) {
        EXPECT_EQ(ThePack().maps.count(TableFile(static_cast<int>(row))), 1u) << "row " << row << ": " << TableFile(static_cast<int>(row));
    }
}

TEST(ContentMaps, GroundsPicturesAndLinkTargetsAllExist) {
    wdm::CheckOptions options;
    options.dataDir = ThePack().data.string();
    options.mapTable = ThePack().tableGbk;
    for (const auto& [name, m] : ThePack().maps) {
        for (const wdm::MapProblem& problem : wdm::CheckMap(m, options)) ADD_FAILURE() << name << ": " << problem.text;
        for (bool touch : {false, true}) {
            for (const MapLink& l : Links(m, touch)) {
                EXPECT_FALSE(TableFile(l.targetMap).empty()) << name << ": link to map " << l.targetMap;
                EXPECT_GE(l.width, kBoxW + 20) << name << ": link too narrow to hold the player";
                EXPECT_GE(l.height, kBoxH + 20) << name << ": link too low to hold the player";
            }
        }
    }
}

TEST(ContentMaps, EachMapHasAPortalAndTheTownHasBothSlopesAStairAndAWall) {
    for (const auto& [name, m] : ThePack().maps) EXPECT_FALSE(Links(m, false).empty()) << name;
    const wdm::MapData& town = ThePack().maps.at("新手村1.Wdm");
    EXPECT_GE(town.header.width, 1600);
    EXPECT_EQ(TableFile(town.header.townMap), "新手村1.Wdm");
    EXPECT_TRUE(std::any_of(town.slopes.begin(), town.slopes.end(), [](auto& s) { return s.kind == 0; }));
    EXPECT_TRUE(std::any_of(town.slopes.begin(), town.slopes.end(), [](auto& s) { return s.kind == 1; }));
    EXPECT_FALSE(town.stairs.empty());
    EXPECT_TRUE(std::any_of(town.squares.begin(), town.squares.end(), [](auto& s) { return s.kind == 1; }));
    EXPECT_FALSE(Links(town, true).empty());
    int negative = 0;
    for (const auto& [name, m] : ThePack().maps) {
        for (const auto& e : m.events) negative += e.kind == wdm::kEventLink && wdm::ParseLinkDetail(e.detail).targetMap < 0;
    }
    EXPECT_GE(negative, 1) << "no link without a portal picture";
}

TEST(ContentMaps, ArrivingPlayersStandStillOutsideEveryTouchLink) {
    for (const auto& [name, m] : ThePack().maps) {
        for (const Arrival& a : ArrivalsOn(name)) {
            SCOPED_TRACE(name + " from " + a.from);
            const Terrain terrain = TerrainOf(m);
            const wdm::GroundRecord* g = terrain.Square(a.ground);
            ASSERT_NE(g, nullptr) << "ground " << a.ground;
            EXPECT_GE(g->width, kBoxW);
            Walker w(m, a.ground, a.offset);
            const float y0 = w.p.y;
            w.Idle(5);  // a slope's foot may take the feet from 2 px into the square onto its surface
            const float settled = w.p.y;
            w.Idle(30);
            EXPECT_NEAR(settled, y0, 2.5) << "the player does not stand where it arrives";
            EXPECT_EQ(w.p.y, settled) << "the player does not stay where it arrives";
            EXPECT_NE(w.p.currentGround, 0);
            for (const MapLink& l : Links(m, true)) EXPECT_FALSE(w.In(l)) << "arrives inside a touch link";
            // A step either way does not lead into a touch link either.
            for (int dir : {-1, 1}) {
                Walker step(m, a.ground, a.offset);
                MovementInput in;
                (dir < 0 ? in.leftHeld : in.rightHeld) = true;
                for (int i = 0; i < 5; ++i) step.Frame(in);
                for (const MapLink& l : Links(m, true)) EXPECT_FALSE(step.In(l)) << "five steps lead back out";
            }
        }
    }
}

// Walks from the start toward one side, jumping whenever a wall stops the
// player, until the goal link holds the player.
struct Walk {
    bool reached = false;
    int frames = 0;
    float x = 0, y = 0;  // where the walk ended
};

Walk WalkToLink(const wdm::MapData& m, bool right, const MapLink& goal) {
    Walker w(m, m.header.startGround, m.header.startOffset);
    MovementInput in;
    (right ? in.rightHeld : in.leftHeld) = true;
    float lastX = w.p.x;
    int stuck = 0;
    Walk result;
    for (; result.frames < 3000 && !result.reached && w.p.y < m.header.height; ++result.frames) {
        MovementInput now = in;
        now.jumpPressed = stuck >= 2 && w.p.currentGround != 0;
        w.Frame(now);
        result.reached = w.In(goal);
        stuck = std::fabs(w.p.x - lastX) < 0.5f ? stuck + 1 : 0;
        lastX = w.p.x;
    }
    result.x = w.p.x;
    result.y = w.p.y;
    return result;
}

TEST(ContentMaps, EveryMapCanBeCrossedOnFootToTheLinksAtBothEnds) {
    for (const auto& [name, m] : ThePack().maps) {
        std::vector<MapLink> links = Links(m, false);
        const std::vector<MapLink> touch = Links(m, true);
        links.insert(links.end(), touch.begin(), touch.end());
        const auto byLeft = [](const MapLink& a, const MapLink& b) { return a.left < b.left; };
        const MapLink west = *std::min_element(links.begin(), links.end(), byLeft);
        const MapLink east = *std::max_element(links.begin(), links.end(), byLeft);
        for (bool right : {false, true}) {
            const Walk walk = WalkToLink(m, right, right ? east : west);
            EXPECT_TRUE(walk.reached) << name << ": the " << (right ? "east" : "west")
                                      << " link is not reached on foot; the walk ends at (" << walk.x << ", " << walk.y << ")";
        }
    }
}

TEST(ContentMaps, LaddersLeadUpToAFloorAndBackDown) {
    for (const auto& [name, m] : ThePack().maps) {
        const Terrain t = TerrainOf(m);
        for (const wdm::GroundRecord& s : m.stairs) {
            SCOPED_TRACE(name + " stair at x " + std::to_string(s.left));
            // The square under the ladder's foot.
            int below = 0;
            for (std::size_t i = 0; i < m.squares.size(); ++i) {
                const auto& q = m.squares[i];
                if (q.top >= s.top + s.height && q.left <= s.left && s.left + kBoxW <= q.left + q.width &&
                    (below == 0 || q.top < m.squares[below - 1].top))
                    below = static_cast<int>(i) + 1;
            }
            ASSERT_NE(below, 0);
            Walker w(m, below, s.left - 10 - m.squares[below - 1].left);
            MovementInput up;
            up.upHeld = true;
            for (int i = 0; i < 400 && (i < 5 || w.p.state == PlayerMotion::kClimbing); ++i) w.Frame(up);
            w.Idle(30);
            ASSERT_GT(w.p.currentGround, 0) << "the player falls off the top of the ladder to (" << w.p.x << ", " << w.p.y << ")";
            const auto& floor = m.squares[w.p.currentGround - 1];
            EXPECT_EQ(floor.top, s.top) << "the ladder's top is not the floor it leads to";
            MovementInput down;
            down.downHeld = true;
            for (int i = 0; i < 400 && (w.p.state == PlayerMotion::kClimbing || i < 5); ++i) w.Frame(down);
            w.Idle(30);
            EXPECT_EQ(w.p.currentGround, below) << "climbing down does not end on the ground below";
        }
    }
}

// Every raised square can be reached by a jump (109 px) from some surface
// below it that lies within a few steps' reach to the side.
TEST(ContentMaps, RaisedPlatformsAreWithinJumpReach) {
    for (const auto& [name, m] : ThePack().maps) {
        const int lowest = std::max_element(m.squares.begin(), m.squares.end(), [](auto& a, auto& b) { return a.top < b.top; })->top;
        for (const auto& q : m.squares) {
            if (q.top >= lowest) continue;
            bool reachable = false;
            auto near = [&](int left, int width) { return left <= q.left + q.width + 100 && q.left <= left + width + 100; };
            for (const auto& o : m.squares) {
                if (&o != &q && o.top > q.top && o.top - q.top <= 100 && near(o.left, o.width)) reachable = true;
            }
            for (const auto& s : m.slopes) {
                if (s.top > q.top - 100 && s.top + s.height > q.top && near(s.left, s.width)) reachable = true;
            }
            for (const auto& s : m.stairs) {
                if (s.top == q.top && near(s.left, s.width)) reachable = true;
            }
            EXPECT_TRUE(reachable) << name << ": square at (" << q.left << ", " << q.top << ") is out of reach";
        }
    }
}

}  // namespace
