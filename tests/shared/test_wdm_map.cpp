// Map files: reading, writing, the tolerant reading of older files, and the
// cipher.

#include "shared/gbk.h"
#include "shared/wdm_map.h"
#include "shared/wdm_split.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace wdm;
namespace fs = std::filesystem;

const std::string& L(const char* utf8) { return gbk::Lit(utf8); }

// A plain (deciphered) map text from its sections.
std::string Join(const std::vector<std::string>& sections) {
    std::string out;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (i) out += kSectionMarker;
        out += sections[i];
    }
    return out;
}

// Ten sections: the header and the nine others, events last.
std::string Plain(const std::string& header, std::vector<std::string> rest = {}) {
    rest.resize(9);
    std::vector<std::string> all{header};
    all.insert(all.end(), rest.begin(), rest.end());
    return Join(all);
}

const std::string kHeader9 = "800|600|1|10|\\data\\map\\48.png|0|4|2|1";

MapData FullMap() {
    MapData m;
    m.header = MapHeader{1600, 700, 2, -1, L("\\data\\map\\晐盶.png"), 2.5, 3, 4, 2, 9};
    m.sprites[0] = {SpriteRecord{1, 2, 3, 4, kLayerMap, L("\\data\\map\\a.png"), false, kZTop},
                    SpriteRecord{5, 6, 7, 8, kLayerPriority, L("\\data\\盶\\b.png"), true, kZTop}};
    m.sprites[1] = {SpriteRecord{-9, 10, 11, 12, kLayerTop, "\\t.png", true, kZTop}};
    m.sprites[2] = {SpriteRecord{0, 0, 800, 600, kLayerBackground2, "\\b2.png", false, kZTop}};
    m.sprites[3] = {SpriteRecord{0, 1, 800, 600, kLayerBackground3, "\\b3.png", false, kZTop}};
    m.sprites[4] = {SpriteRecord{-50, 40, 120, 60, kLayerFloating, "\\f.png", true, kZTop}};
    m.squares = {GroundRecord{0, 560, 1600, 40, 0}, GroundRecord{300, 450, 200, 10, 1}};
    m.slopes = {GroundRecord{850, 380, 100, 180, 1}};
    m.stairs = {GroundRecord{500, 300, 20, 150, 0}};
    m.events = {
        EventRecord{1, 2, 40, 80, kEventNpc, FormatDetail(NpcDetail{1, 1, 120.5})},
        EventRecord{1, 2, 40, 80, kEventMonster, FormatDetail(MonsterDetail{2, 2, 100, true, 50, 400})},
        EventRecord{1, 2, 40, 80, kEventLink, FormatDetail(LinkDetail{-3, 2, -1, true, 1})},
        EventRecord{1, 2, 40, 80, kEventAnimation, FormatDetail(AnimationDetail{3, 600, 200, L("往返")})},
        EventRecord{1, 2, 40, 80, kEventItem, FormatDetail(ItemDetail{L("晐盶剑"), 3})},
    };
    return m;
}

MapData RoundTrip(const MapData& m) {
    std::string bytes;
    EXPECT_TRUE(EncodeMap(m, {}, bytes));
    ReadResult r = ReadMapBytes(bytes);
    EXPECT_TRUE(r.ok()) << r.reason;
    return r.map;
}

// --- round trip --------------------------------------------------------------

TEST(WdmMap, EverySectionAndSubFieldRoundTrips) {
    const MapData m = FullMap();
    const MapData back = RoundTrip(m);
    EXPECT_EQ(back, m);
    EXPECT_EQ(ParseNpcDetail(back.events[0].detail), (NpcDetail{1, 1, 120.5}));
    EXPECT_EQ(ParseMonsterDetail(back.events[1].detail), (MonsterDetail{2, 2, 100, true, 50, 400}));
    EXPECT_EQ(ParseLinkDetail(back.events[2].detail), (LinkDetail{-3, 2, -1, true, 1}));
    const AnimationDetail anim = ParseAnimationDetail(back.events[3].detail);
    EXPECT_EQ(anim, (AnimationDetail{3, 600, 200, L("往返")}));
    EXPECT_TRUE(anim.backAndForth());
    EXPECT_EQ(ParseItemDetail(back.events[4].detail), (ItemDetail{L("晐盶剑"), 3}));
}

TEST(WdmMap, PlainTextHasTheFileLayout) {
    MapData m;
    m.header.startGround = 1;
    m.header.floatInterval = 3.0;
    m.sprites[0] = {SpriteRecord{1, 2, 3, 4, 0, "\\a.png", true, 1}};
    m.squares = {GroundRecord{0, 560, 800, 40, 0}};
    m.events = {EventRecord{1, 2, 30, 40, kEventItem, FormatDetail(ItemDetail{L("太阳神水"), 1})}};
    std::string text;
    ASSERT_TRUE(BuildMapText(m, {}, text));
    EXPECT_EQ(text, Plain("800|600|1|10|\\data\\map\\48.png|3|0|0|0",
                          {"1|2|3|4|0|\\a.png|" + L("真") + "|1><", "", "", "", "", "0|560|800|40|0><", "", "",
                           "1|2|30|40|5|" + L("太阳神水") + std::string(kSubFieldSeparator) + "1><"}));
}

TEST(WdmMap, RealsAreWrittenWithoutPointWhenIntegral) {
    EXPECT_EQ(FormatDetail(NpcDetail{1, 2, 10.0}), "1" + std::string(kSubFieldSeparator) + "2" + std::string(kSubFieldSeparator) + "10");
    EXPECT_EQ(FormatDetail(NpcDetail{1, 2, -2.5}), "1" + std::string(kSubFieldSeparator) + "2" + std::string(kSubFieldSeparator) + "-2.5");
}

// --- sections ----------------------------------------------------------------

TEST(WdmMap, NoEventsEndsWithMarkerAndReadsInBothModes) {
    MapData m = FullMap();
    m.events.clear();
    std::string text;
    ASSERT_TRUE(BuildMapText(m, {}, text));
    ASSERT_GE(text.size(), kSectionMarker.size());
    EXPECT_EQ(text.substr(text.size() - kSectionMarker.size()), kSectionMarker);
    for (SectionRule rule : {SectionRule::Exactly10, SectionRule::AtLeast10}) {
        ReadResult r = ParseMapText(text, rule);
        ASSERT_TRUE(r.ok()) << r.reason;
        EXPECT_TRUE(r.map.events.empty());
        EXPECT_EQ(r.map.stairs, m.stairs);
    }
}

TEST(WdmMap, EmptyTopLayerKeepsTenSections) {
    MapData m = FullMap();
    m.sprites[1].clear();
    std::string text;
    ASSERT_TRUE(BuildMapText(m, {}, text));
    EXPECT_NE(text.find(std::string(kSectionMarker) + std::string(kSectionMarker)), std::string::npos);
    EXPECT_EQ(SplitViews(text, kSectionMarker).size(), 10u);
    EXPECT_EQ(RoundTrip(m), m);
}

TEST(WdmMap, SectionCountRules) {
    const std::string nine = Join({kHeader9, "", "", "", "", "", "", "", ""});
    const std::string eleven = Plain(kHeader9) + std::string(kSectionMarker) + "junk";
    EXPECT_EQ(ParseMapText(nine, SectionRule::Exactly10).error, ReadError::SectionCount);
    EXPECT_EQ(ParseMapText(nine, SectionRule::AtLeast10).error, ReadError::SectionCount);
    EXPECT_EQ(ParseMapText(eleven, SectionRule::Exactly10).error, ReadError::SectionCount);
    ReadResult editor = ParseMapText(eleven, SectionRule::AtLeast10);
    EXPECT_TRUE(editor.ok()) << editor.reason;
    // Ten full sections plus a final marker: the game sees 11.
    const std::string trailing = Plain(kHeader9, {"", "", "", "", "", "", "", "", "1|2|30|40|9|x><"}) + std::string(kSectionMarker);
    EXPECT_EQ(ParseMapText(trailing, SectionRule::Exactly10).error, ReadError::SectionCount);
    EXPECT_TRUE(ParseMapText(trailing, SectionRule::AtLeast10).ok());
}

TEST(WdmMap, DamagedOrWronglyEncipheredFilesFailTheSectionCount) {
    std::string plain;
    ASSERT_TRUE(BuildMapText(FullMap(), {}, plain));
    // Not enciphered at all: deciphering scrambles it.
    EXPECT_EQ(ReadMapBytes(plain).error, ReadError::SectionCount);
    // Enciphered with another key.
    std::string otherKey = plain;
    for (std::size_t i = 0; i < otherKey.size(); ++i) otherKey[i] = static_cast<char>(otherKey[i] ^ ("secret"[i % 6] + i));
    EXPECT_EQ(ReadMapBytes(otherKey).error, ReadError::SectionCount);
    // Cut short.
    const std::string file = Encipher(plain);
    EXPECT_EQ(ReadMapBytes(file.substr(0, file.size() / 3)).error, ReadError::SectionCount);
    // Random bytes.
    std::string noise(4096, '\0');
    unsigned state = 12345;
    for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
    EXPECT_EQ(ReadMapBytes(noise).error, ReadError::SectionCount);
}

// --- tolerant reading --------------------------------------------------------

TEST(WdmMap, OlderHeaders) {
    struct Case {
        std::string header;
        int fieldCount;
        int townMap, townGround, facing;
    };
    const Case cases[] = {
        {"800|600|1|10|\\bg.png|0", 6, 0, 0, 0},
        {"800|600|1|10|\\bg.png|0|7", 7, 7, 0, 0},
        {"800|600|1|10|\\bg.png|0|7|3", 8, 7, 3, 0},
        {"800|600|1|10|\\bg.png|0|7|3|2", 9, 7, 3, 2},
        {"800|600|1|10|\\bg.png|0|7|3|2|99|98", 9, 7, 3, 2},
    };
    for (const Case& c : cases) {
        for (SectionRule rule : {SectionRule::Exactly10, SectionRule::AtLeast10}) {
            ReadResult r = ParseMapText(Plain(c.header), rule);
            ASSERT_TRUE(r.ok()) << c.header << ": " << r.reason;
            const MapHeader& h = r.map.header;
            EXPECT_EQ(h.fieldCount, c.fieldCount) << c.header;
            EXPECT_EQ(h.hasTownMap(), c.fieldCount >= 7);
            EXPECT_EQ(h.hasTownGround(), c.fieldCount >= 8);
            EXPECT_EQ(h.hasFacing(), c.fieldCount >= 9);
            EXPECT_EQ(h.townMap, c.townMap);
            EXPECT_EQ(h.townGround, c.townGround);
            EXPECT_EQ(h.facing, c.facing);
            EXPECT_EQ(h.background, "\\bg.png");
        }
    }
    EXPECT_EQ(ParseMapText(Plain("800|600|1|10|\\bg.png")).error, ReadError::HeaderFields);
    EXPECT_EQ(ParseMapText(Plain("")).error, ReadError::HeaderFields);
}

TEST(WdmMap, SpriteEighthFieldOldAndNew) {
    struct Case {
        std::string field;
        int zLevel;
    };
    const Case cases[] = {{L("真"), kZTop}, {L("假"), kZBottom}, {"1", kZMiddle}, {"2", kZBottom}, {"", kZTop}};
    for (const Case& c : cases) {
        ReadResult r = ParseMapText(Plain(kHeader9, {"1|2|3|4|0|\\a.png|" + L("假") + "|" + c.field + "><"}));
        ASSERT_TRUE(r.ok()) << r.reason;
        ASSERT_EQ(r.map.sprites[0].size(), 1u);
        EXPECT_EQ(r.map.sprites[0][0].zLevel, c.zLevel) << gbk::ToUtf8(c.field);
        EXPECT_FALSE(r.map.sprites[0][0].mirrored);
    }
    // Seven fields: no zLevel at all.
    ReadResult seven = ParseMapText(Plain(kHeader9, {"1|2|3|4|0|\\a.png|" + L("真") + "><"}));
    ASSERT_TRUE(seven.ok());
    EXPECT_TRUE(seven.map.sprites[0][0].mirrored);
    EXPECT_EQ(seven.map.sprites[0][0].zLevel, kZTop);
}

TEST(WdmMap, IntegersReadLeniently) {
    ReadResult r = ParseMapText(Plain(kHeader9, {"", "", "", "", "", "12.5|abc||-7|1x><"}));
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.map.squares.size(), 1u);
    EXPECT_EQ(r.map.squares[0], (GroundRecord{12, 0, 0, -7, 1}));
}

TEST(WdmMap, ShortLinkAndMonsterDetails) {
    const std::string s(kSubFieldSeparator);
    struct Case {
        std::string detail;
        LinkDetail link;
    };
    const Case links[] = {
        {"", {0, 0, 0, false, 0}},
        {"5", {0, 0, 0, false, 0}},
        {"5" + s + "2", {5, 2, 0, false, 0}},
        {"5" + s + "2" + s + "-1", {5, 2, -1, false, 0}},
        {"5" + s + "2" + s + "-1" + s + L("真"), {5, 2, -1, true, 0}},
        {"5" + s + "2" + s + "-1" + s + L("假") + s + "2", {5, 2, -1, false, 2}},
    };
    for (const Case& c : links) EXPECT_EQ(ParseLinkDetail(c.detail), c.link) << gbk::ToUtf8(c.detail);

    EXPECT_EQ(ParseMonsterDetail("4" + s + "1" + s + "20"), (MonsterDetail{4, 1, 20, false, 0, 0}));
    EXPECT_EQ(ParseMonsterDetail("4" + s + "1" + s + "20" + s + "30"), (MonsterDetail{4, 1, 20, false, 0, 0}));
    EXPECT_EQ(ParseMonsterDetail("4" + s + "1" + s + "20" + s + "30" + s + "400"), (MonsterDetail{4, 1, 20, true, 30, 400}));
    EXPECT_FALSE(ParseAnimationDetail("3" + s + "1" + s + "2" + s + L("普通")).backAndForth());
    EXPECT_EQ(DetailFields(""), std::vector<std::string>{""});
    EXPECT_EQ(JoinDetail(DetailFields("a" + s + s + "b")), "a" + s + s + "b");
}

TEST(WdmMap, EventsSectionOfOneSpaceHasNoEvents) {
    ReadResult r = ParseMapText(Plain(kHeader9, {"", "", "", "", "", "", "", "", " "}));
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.map.events.empty());
    // Records without a final record end, and empty ones in between, count.
    ReadResult partial = ParseMapText(Plain(kHeader9, {"", "", "", "", "", "1|1|10|10|0><><2|2|10|10|1"}));
    ASSERT_TRUE(partial.ok());
    ASSERT_EQ(partial.map.squares.size(), 3u);
    EXPECT_EQ(partial.map.squares[1], GroundRecord{});
    EXPECT_EQ(partial.map.squares[2].kind, 1);
}

// --- writing rules -----------------------------------------------------------

TEST(WdmMap, ZLevelsOrderTheSprites) {
    std::vector<SpriteRecord> s = {
        {0, 10, 1, 1, 0, "top-high", false, kZTop},    {0, 500, 1, 1, 0, "bottom-low", false, kZBottom},
        {0, 5, 1, 1, 0, "middle", false, kZMiddle},    {0, 10, 1, 1, 0, "top-high-2", false, kZTop},
        {0, 1, 1, 1, 0, "top-highest", false, kZTop},  {0, 2, 1, 1, 0, "bottom-high", false, kZBottom},
    };
    MapData m;
    m.sprites[0] = s;
    const MapData back = RoundTrip(m);
    std::vector<std::string> order;
    for (const auto& r : back.sprites[0]) order.push_back(r.picture);
    EXPECT_EQ(order, (std::vector<std::string>{"bottom-high", "bottom-low", "middle", "top-highest", "top-high", "top-high-2"}));
    SortSpritesForSave(s);
    EXPECT_EQ(s, back.sprites[0]);
}

TEST(WdmMap, SmallBoxesAreLeftOutAndNumbersMoveUp) {
    MapData m;
    m.squares = {{0, 0, 100, 10, 0}, {0, 20, 100, 9, 0}, {0, 40, 100, 12, 1}};
    m.slopes = {{0, 0, 9, 50, 0}, {0, 0, 10, 50, 1}};
    m.stairs = {{0, 0, 5, 5, 0}};
    m.events = {{0, 0, 10, 9, kEventNpc, "1"}, {0, 0, 10, 10, kEventItem, "x"}};
    const MapData back = RoundTrip(m);
    ASSERT_EQ(back.squares.size(), 2u);
    EXPECT_EQ(back.squares[1], (GroundRecord{0, 40, 100, 12, 1}));  // square 3 became square 2
    EXPECT_EQ(back.slopes, (std::vector<GroundRecord>{{0, 0, 10, 50, 1}}));
    EXPECT_TRUE(back.stairs.empty());
    ASSERT_EQ(back.events.size(), 1u);
    EXPECT_EQ(back.events[0].kind, kEventItem);
}

TEST(WdmMap, ProgramFolderIsStrippedFromPictures) {
    MapData m;
    const std::string folder = L("C:\\游戏\\晐");
    m.sprites[0] = {SpriteRecord{0, 0, 1, 1, 0, folder + "\\data\\map\\a.png", false, 0}};
    m.sprites[4] = {SpriteRecord{0, 0, 1, 1, 4, "\\data\\f.png", false, 0}};
    std::string bytes;
    ASSERT_TRUE(EncodeMap(m, folder, bytes));
    const MapData back = ReadMapBytes(bytes).map;
    EXPECT_EQ(back.sprites[0][0].picture, "\\data\\map\\a.png");
    EXPECT_EQ(back.sprites[4][0].picture, "\\data\\f.png");
}

TEST(WdmMap, AssignSpritesRoutesByLayer) {
    MapData m;
    AssignSprites(m, {{0, 0, 1, 1, -1, "p", false, 0}, {0, 0, 1, 1, 3, "b3", false, 0},
                      {0, 0, 1, 1, 0, "m", false, 0}, {0, 0, 1, 1, 5, "lost", false, 0}});
    EXPECT_EQ(m.sprites[0].size(), 2u);
    EXPECT_EQ(m.sprites[3].size(), 1u);
    std::size_t total = 0;
    for (const auto& l : m.sprites) total += l.size();
    EXPECT_EQ(total, 3u);
}

TEST(WdmMap, GbkTrailBytesRoundTrip) {
    // 95 7C and B1 5C end in "|" and "\", E8 5C is the sub-field separator's
    // own character.
    const std::string tricky = std::string("\\data\\") + "\x95\x7C" + "\xB1\x5C" + "x\x95\x7C";
    MapData m;
    m.header.background = tricky;
    m.sprites[0] = {SpriteRecord{1, 2, 3, 4, 0, tricky, true, 2}};
    m.events = {EventRecord{0, 0, 10, 10, kEventItem, FormatDetail(ItemDetail{"\xB1\x5C\x95\x7C", 2})}};
    const MapData back = RoundTrip(m);
    EXPECT_EQ(back, m);
    EXPECT_EQ(ParseItemDetail(back.events[0].detail).name, "\xB1\x5C\x95\x7C");
}

TEST(WdmMap, WriteRefusesTextsWithSeparators) {
    struct Case {
        const char* what;
        MapData map;
        std::string names;  // part of the error
    };
    auto withPicture = [](std::string picture) {
        MapData m;
        m.sprites[2] = {SpriteRecord{}, SpriteRecord{0, 0, 1, 1, 2, std::move(picture), false, 0}};
        return m;
    };
    auto withDetail = [](std::string detail) {
        MapData m;
        m.events = {EventRecord{0, 0, 10, 10, 9, "ok"}, EventRecord{0, 0, 10, 10, 9, std::move(detail)}};
        return m;
    };
    MapData badBackground;
    badBackground.header.background = "\\a|b.png";
    std::vector<Case> cases = {
        {"bar in picture", withPicture("\\a|b.png"), "sprite 2 of section 3"},
        {"record end in picture", withPicture("\\a><b.png"), "sprite 2 of section 3"},
        {"marker in picture", withPicture("\\a" + std::string(kSectionMarker)), "sprite 2 of section 3"},
        {"half character at the end", withPicture("\\a\xB1"), "sprite 2 of section 3"},
        {"bar in background", badBackground, "header background"},
        {"bar in detail", withDetail("1|2"), "event 2"},
        {"detail ending in >", withDetail("a>"), "event 2"},
    };
    for (const Case& c : cases) {
        std::string text = "untouched";
        WriteResult r = BuildMapText(c.map, {}, text);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.names), std::string::npos) << c.what << ": " << r.error;
        EXPECT_EQ(text, "untouched");
    }
    // Separators inside GBK characters are not separators.
    std::string text;
    EXPECT_TRUE(BuildMapText(withPicture("\\\x95\x7C\xE8\x5C"), {}, text));
}

class WdmFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                (std::string("wdm_test_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    fs::path m_dir;
};

TEST_F(WdmFiles, WriteThenReadAFile) {
    const std::string path = Path("新手村1.Wdm");
    ASSERT_TRUE(WriteMap(path, FullMap()));
    ReadResult r = ReadMap(path);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(r.map, FullMap());
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(WdmFiles, FailedWriteLeavesTheOldFile) {
    const std::string path = Path("map.Wdm");
    ASSERT_TRUE(WriteMap(path, FullMap()));
    MapData bad = FullMap();
    bad.sprites[0][1].picture = "\\x|y.png";
    WriteResult refused = WriteMap(path, bad);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find(path), std::string::npos);
    EXPECT_EQ(ReadMap(path).map, FullMap());
    // A target that cannot be replaced (a folder) leaves no temporary file.
    fs::create_directories(Path("folder.Wdm") + "/inside");
    EXPECT_FALSE(WriteMap(Path("folder.Wdm"), FullMap()).ok);
    EXPECT_FALSE(fs::exists(Path("folder.Wdm.tmp")));
    EXPECT_FALSE(WriteMap(Path("no/such/dir/map.Wdm"), FullMap()).ok);
}

TEST_F(WdmFiles, UnreadableFiles) {
    EXPECT_EQ(ReadMap(Path("missing.Wdm")).error, ReadError::Unreadable);
    EXPECT_EQ(ReadMap(m_dir.string()).error, ReadError::Unreadable);
    ReadResult r = ReadMap(Path("missing.Wdm"));
    EXPECT_NE(r.reason.find("missing.Wdm"), std::string::npos);
    EXPECT_FALSE(r);
}

TEST_F(WdmFiles, BrokenInputsFailCleanly) {
    const char* data = std::getenv("LUMO_TEST_DATA");
    ASSERT_NE(data, nullptr);
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(data) / "wdm" / "broken")) {
        if (entry.path().extension() != ".plain") continue;
        ++seen;
        const std::string name = entry.path().filename().string();
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string file = Encipher(gbk::FromUtf8(utf8));
        const ReadError expected = name.rfind("header_fields-", 0) == 0 ? ReadError::HeaderFields : ReadError::SectionCount;
        ReadResult r = ReadMapBytes(file, SectionRule::Exactly10);
        EXPECT_EQ(r.error, expected) << name;
        EXPECT_FALSE(r.reason.empty()) << name;
    }
    EXPECT_GE(seen, 5);
}

TEST(WdmMap, HostileSizesAreBounded) {
    EXPECT_EQ(ReadMapBytes(std::string(kMaxFileBytes + 1, '\0')).error, ReadError::TooLarge);
    std::string many;
    for (std::size_t i = 0; i <= kMaxRecords; ++i) many += kRecordEnd;
    EXPECT_EQ(ParseMapText(Plain(kHeader9, {"", "", "", "", "", many})).error, ReadError::TooManyRecords);
}

// --- cipher and splitting ----------------------------------------------------

TEST(WdmCipher, RoundTripsAndIsStable) {
    std::string all;
    for (int i = 0; i < 256 * 3; ++i) all += static_cast<char>(i);
    const std::string file = Encipher(all);
    EXPECT_EQ(file.size(), all.size() + 4);
    std::string back;
    ASSERT_TRUE(Decipher(file, back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(file.substr(0, all.size()).find(all.substr(0, 16)), std::string::npos);
    // Map files of the content pack depend on this key stream and check value.
    const std::string zeros(8, '\0');
    std::string hex;
    for (unsigned char c : Encipher(zeros)) hex += "0123456789abcdef"[c >> 4], hex += "0123456789abcdef"[c & 15];
    EXPECT_EQ(hex, "b3de253bc33f12c4b86ccd94");
    // zlib's CRC-32 of the standard check string.
    EXPECT_EQ(CheckValue("123456789"), 0xCBF43926u);
}

TEST(WdmCipher, ShortOrForeignBytesDoNotDecipher) {
    std::string text = "untouched";
    for (const std::string& bytes : {std::string(), std::string("abc"), std::string(64, 'x')}) {
        EXPECT_FALSE(Decipher(bytes, text)) << bytes;
        EXPECT_EQ(text, "untouched");
    }
    // The empty text enciphers to its check value alone and reads back.
    ASSERT_TRUE(Decipher(Encipher(""), text));
    EXPECT_EQ(text, "");
}

// A flipped bit anywhere in a map file, in the text or in the check value,
// refuses the whole file instead of reading as a changed number or name.
TEST(WdmCipher, EveryFlippedByteOfASmallMapIsRefused) {
    MapData m;
    m.header.startGround = 1;
    m.squares = {GroundRecord{0, 500, 800, 40, 0}};
    m.sprites[0] = {SpriteRecord{10, 20, 30, 40, kLayerMap, "\\data\\map\\a.png", false, kZTop}};
    m.events = {EventRecord{100, 460, 40, 40, kEventNpc, FormatDetail(NpcDetail{1, 1, 100})}};
    std::string file;
    ASSERT_TRUE(EncodeMap(m, {}, file));
    ASSERT_TRUE(ReadMapBytes(file).ok());
    for (std::size_t i = 0; i < file.size(); ++i) {
        for (unsigned char flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = file;
            damaged[i] = static_cast<char>(static_cast<unsigned char>(damaged[i]) ^ flip);
            const ReadResult r = ReadMapBytes(damaged);
            EXPECT_EQ(r.error, ReadError::SectionCount) << "byte " << i << " ^ " << int(flip);
            EXPECT_NE(r.reason.find("check value"), std::string::npos) << r.reason;
        }
    }
    // Cut one byte short, or one byte longer.
    EXPECT_FALSE(ReadMapBytes(file.substr(0, file.size() - 1)).ok());
    EXPECT_FALSE(ReadMapBytes(file + '\0').ok());
}

TEST(WdmSplit, SameAsGbkSplit) {
    const std::string s(kSubFieldSeparator);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "|"}, {"|", "|"}, {"a|b||c|", "|"}, {"\x95\x7C|\x95\x7C", "|"}, {"a><b><", "><"}, {">><<", "><"},
        {"\xE8\x5C\xE8\x5C", s}, {"\xB1\xE8\x5C", s}, {"x\xC0\x5E\xE8\x7A\xC0", std::string(kSectionMarker)},
        {"abc", ""}, {"\x95", "|"}, {"a\x95|", "|"},
    };
    for (const auto& [text, sep] : cases) {
        std::vector<std::string> mine;
        for (std::string_view v : SplitViews(text, sep)) mine.emplace_back(v);
        EXPECT_EQ(mine, gbk::Split(text, sep)) << text;
    }
    EXPECT_EQ(SplitViews("a|b|c|d", "|", 2), (std::vector<std::string_view>{"a", "b|c|d"}));
    EXPECT_EQ(SplitViews("a|b", "|", 5).size(), 2u);
    EXPECT_EQ(SplitViews("a|", "|", 2), (std::vector<std::string_view>{"a", ""}));
}

}  // namespace
