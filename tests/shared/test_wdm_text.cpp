// The text form of maps: the hand-made golden map, stability, and errors that
// name their line.

#include "shared/gbk.h"
#include "shared/wdm_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace wdm;
namespace fs = std::filesystem;

fs::path Data() {
    const char* d = std::getenv("LUMO_TEST_DATA");
    return d ? fs::path(d) / "wdm" : fs::path();
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

MapData Pack(const std::string& text) {
    TextResult parsed = MapFromText(text);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    std::string bytes;
    WriteResult written = EncodeMap(parsed.map, {}, bytes);
    EXPECT_TRUE(written.ok) << written.error;
    ReadResult read = ReadMapBytes(bytes);
    EXPECT_TRUE(read.ok()) << read.reason;
    return read.map;
}

TEST(WdmText, HandMadeMapGivesItsExpectedDump) {
    ASSERT_FALSE(Data().empty());
    const std::string source = Slurp(Data() / "hand_made.txt");
    const std::string expected = Slurp(Data() / "hand_made.expected.txt");
    ASSERT_FALSE(source.empty());
    ASSERT_FALSE(expected.empty());
    const MapData map = Pack(source);
    EXPECT_EQ(MapToText(map), expected);

    // What the hand-made text says, checked on the records themselves.
    EXPECT_EQ(map.squares.size(), 3u);  // the 9-pixel square is gone
    EXPECT_EQ(map.squares[1].kind, 1);
    EXPECT_EQ(map.events.size(), 12u);  // the 9-pixel item is gone
    EXPECT_EQ(map.sprites[0][0].zLevel, kZBottom);
    EXPECT_EQ(map.sprites[0][1].picture, "\\data\\map\\\x95\x7C\xB1\x5C.png");
    EXPECT_EQ(map.sprites[1][0].picture, "\\map\tA\x80");
    EXPECT_EQ(map.sprites[4][1].picture, "say \"hi\"");
    EXPECT_EQ(map.sprites[4][1].layer, 7);
    EXPECT_EQ(map.header.floatInterval, 1.5);
    EXPECT_EQ(ParseLinkDetail(map.events[9].detail).targetMap, 0);  // detail "5"
}

TEST(WdmText, ExpectedDumpIsStable) {
    const std::string expected = Slurp(Data() / "hand_made.expected.txt");
    TextResult parsed = MapFromText(expected);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(MapToText(parsed.map), expected);
    EXPECT_EQ(MapToText(Pack(expected)), expected);
}

TEST(WdmText, BrokenTextsNameTheirLine) {
    ASSERT_FALSE(Data().empty());
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(Data() / "broken")) {
        if (entry.path().extension() != ".txt") continue;
        ++seen;
        const std::string text = Slurp(entry.path());
        // First line: "# error line N: part of the message"
        const std::string head = text.substr(0, text.find('\n'));
        const std::string prefix = "# error line ";
        ASSERT_EQ(head.rfind(prefix, 0), 0u) << entry.path();
        const int line = std::atoi(head.c_str() + prefix.size());
        const std::string part = head.substr(head.find(": ") + 2);
        TextResult r = MapFromText(text);
        EXPECT_FALSE(r.ok) << entry.path();
        EXPECT_EQ(r.line, line) << entry.path() << ": " << r.error;
        EXPECT_NE(r.error.find(part), std::string::npos) << entry.path() << ": " << r.error;
        EXPECT_EQ(r.error.rfind("line " + std::to_string(line) + ": ", 0), 0u) << r.error;
    }
    EXPECT_GE(seen, 8);
}

TEST(WdmText, DefaultsAndComments) {
    TextResult r = MapFromText("\n   # only a comment\nsquare left=1 top=2 width=30 height=40  # trailing comment\n"
                               "sprite picture=\"a # not a comment\"\r\nmonster flyLowest=300\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.map.header, MapHeader{});
    EXPECT_EQ(r.map.squares, (std::vector<GroundRecord>{{1, 2, 30, 40, 0}}));
    EXPECT_EQ(r.map.sprites[0][0].picture, "a # not a comment");
    const MonsterDetail m = ParseMonsterDetail(r.map.events[0].detail);
    EXPECT_TRUE(m.hasFlyingLimits);
    EXPECT_EQ(m.flyLowestTop, 300);
}

TEST(WdmText, OddDetailsDumpAsGenericEvents) {
    const std::string s(kSubFieldSeparator);
    MapData m;
    m.events = {
        {0, 0, 10, 10, kEventNpc, "1" + s + "2" + s + "10.0"},  // not as the editor writes it
        {0, 0, 10, 10, kEventLink, "5"},
        {0, 0, 10, 10, kEventItem, gbk::Lit("剑") + s + "1" + s + "extra"},
        {0, 0, 10, 10, kEventNpc, "1" + s + "2" + s + "10"},
    };
    const std::string text = MapToText(m);
    EXPECT_NE(text.find("event left=0 top=0 width=10 height=10 kind=1 detail=\"1\"/\"2\"/\"10.0\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("kind=3 detail=\"5\"\n"), std::string::npos);
    EXPECT_NE(text.find("npc left=0 top=0 width=10 height=10 id=1 ground=2 offset=10\n"), std::string::npos);
    TextResult back = MapFromText(text);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.map.events, m.events);
}

TEST(WdmText, OldHeaderIsNotedInAComment) {
    MapData m;
    m.header.fieldCount = 6;
    EXPECT_EQ(MapToText(m).rfind("# the file's header had 6 fields\nheader ", 0), 0u);
}

}  // namespace
