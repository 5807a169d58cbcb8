// The one-pass map reader and writer against the first ones (one split per
// level, kept in fuzz/wdm_reference.cpp): the same records, the same
// failures with the same reasons, the same bytes, on hand-made texts and on
// many texts made of the format's awkward pieces.

#include "shared/gbk.h"
#include "shared/wdm_map.h"
#include "wdm_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace wdm;

// Both readers agree on `text` under both rules, and both writers on what
// was read (without and with a program folder to remove). Returns whether
// the text read under the game's rule.
bool Agree(const std::string& text) {
    bool read = false;
    for (SectionRule rule : {SectionRule::Exactly10, SectionRule::AtLeast10}) {
        const ReadResult mine = ParseMapText(text, rule);
        const ReadResult first = wdm_reference::ParseMapText(text, rule);
        EXPECT_EQ(mine.error, first.error) << testing::PrintToString(text);
        EXPECT_EQ(mine.reason, first.reason);
        if (!mine.ok() || !first.ok()) continue;
        EXPECT_TRUE(mine.map == first.map) << testing::PrintToString(text);
        read = read || rule == SectionRule::Exactly10;
        for (std::string_view folder : {std::string_view{}, std::string_view{"\\d"}}) {
            std::string a = "untouched", b = "untouched";
            const WriteResult wa = BuildMapText(mine.map, folder, a);
            const WriteResult wb = wdm_reference::BuildMapText(first.map, folder, b);
            EXPECT_EQ(wa.ok, wb.ok);
            EXPECT_EQ(wa.error, wb.error);
            EXPECT_EQ(a, b);
        }
    }
    return read;
}

TEST(WdmOnePass, HandMadeTextsReadAndWriteAsBefore) {
    const std::string m(kSectionMarker);
    const std::string eight = m + m + m + m + m + m + m + m;
    const std::vector<std::string> texts = {
        "",
        "800|600|1|10|\\p.png|0|4|2|1" + eight + m,                 // ends in the marker: no events
        "800|600|1|10|\\p.png|0" + eight + m + " ",                 // a single space: no events
        "800|600|1|10|\\p.png|0" + eight + m + "  ",                // two spaces: one event of zeros
        "1|2|3|4|5|6|7|8|9|10|11" + eight + m,                      // extra header fields
        "1|2|3|4|5" + eight + m,                                    // too few
        "a><b|c|d|e|f" + eight + m,                                 // "><" is no record end in the header
        "1|2|3|4|p|0" + m + "1|2|3|4|0|\\a.png|" + gbk::Lit("真") + "|" + gbk::Lit("假") + "><><5|6" +
            m + m + m + m + "1|2|3|4|1><" + m + m + m + "9|9|99|99|3|7" + "\xE8\x5C" + "2><",
        "1|2|3|4|p|0" + eight + m + m,                              // eleven sections
        "1|2|3|4|p|0" + eight + m + m + "x|y",
        // A character whose trail byte is "|", ">" or the marker's first byte.
        "1|2|3|4|\x81|x|0" + m + "\x81><\x81>|<" + eight + "\x81" + m,
        "1|2|3|4|5|6" + m + "1|2|3\xC0" + m + m + m + m + m + m + m + m,
        "1|2|3|4|5|6" + eight + m + "\x81",                         // half a character at the end
        "-0|+5|  7|2147483648|-2147483649|1.9e3|x" + eight + m,     // lenient numbers
    };
    for (const std::string& t : texts) Agree(t);
}

TEST(WdmOnePass, PiecesOfTheFormatInAnyOrderReadAsBefore) {
    // Texts made of separators, their halves and neighbours, numbers and
    // Chinese characters, so that separators meet trail bytes and each other.
    const std::vector<std::string> pieces = {
        "|", "><", ">", "<", std::string(kSectionMarker), "\xC0", "\xC0\x5E", "\x5E\xE8", "\xE8\x7A", "\x7A",
        "\xE8\x5C", "\x81",
        "\xFE", "\x80", "\xFF", "12", "-3", "0", " ", "x", gbk::Lit("真"), gbk::Lit("假"), gbk::Lit("地图"),
        "\\data\\a.png", "1|2|3|4|0|\\a.png|" + gbk::Lit("真") + "|2><",
    };
    const std::string header = "800|600|1|10|\\p.png|0";
    std::mt19937 random(20241208);
    int read = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        // Most texts get a header and the nine markers, so that they read.
        const bool shaped = round % 4 != 0;
        if (shaped) text = header;
        const int count = static_cast<int>(random() % 40);
        int markers = 0;
        for (int i = 0; i < count; ++i) {
            text += pieces[random() % pieces.size()];
            if (shaped && markers < 9 && random() % 4 == 0) {
                text += kSectionMarker;
                ++markers;
            }
        }
        for (; shaped && markers < 9; ++markers) text += kSectionMarker;
        if (Agree(text)) ++read;
        if (HasFailure()) break;
    }
    EXPECT_GT(read, 300);  // the shapes are good enough to reach the records
}

TEST(WdmOnePass, TheRecordBudgetIsSpentAsBefore) {
    const std::string m(kSectionMarker);
    std::string records;
    for (std::size_t i = 0; i < kMaxRecords; ++i) records += "><";
    const std::string text = "1|2|3|4|p|0" + m + records + m + m + m + m + m + m + m + m;
    // Exactly the budget reads.
    const ReadResult full = ParseMapText(text);
    ASSERT_TRUE(full.ok()) << full.reason;
    EXPECT_EQ(full.map.sprites[0].size(), kMaxRecords);
    // One more record fails; a wrong section count or header wins over it.
    for (const std::string& t : {text + "1", text + "1" + m, "1|2" + text.substr(11) + "1"}) {
        const ReadResult mine = ParseMapText(t);
        const ReadResult first = wdm_reference::ParseMapText(t);
        EXPECT_EQ(mine.error, first.error);
        EXPECT_EQ(mine.reason, first.reason);
    }
    EXPECT_EQ(ParseMapText(text + "1").error, ReadError::TooManyRecords);
}

TEST(WdmOnePass, TheCipherBeyondItsTableIsTheSameKeystream) {
    // The first 256 KB come from a table, the rest from the generators.
    std::string text(600 * 1024 + 5, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i * 7 + i / 3);
    const std::string file = Encipher(text);
    EXPECT_EQ(file, wdm_reference::Encipher(text));
    std::string back;
    ASSERT_TRUE(Decipher(file, back));
    EXPECT_EQ(back, text);
    std::string inPlace = file;
    ASSERT_TRUE(DecipherInPlace(inPlace));
    EXPECT_EQ(inPlace, text);
    for (std::size_t size : {0u, 1u, 7u, 8u, 9u, 23u, 24u, 25u}) {
        EXPECT_EQ(Encipher(text.substr(0, size)), wdm_reference::Encipher(text.substr(0, size))) << size;
    }
}

}  // namespace
