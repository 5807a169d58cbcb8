#include "shared/gbk.h"

#include <gtest/gtest.h>

namespace {

const std::string kPipeTrail = "\x95\x7C";       // a character with '|' as trail byte
const std::string kBackslashTrail = "\xB1\x5C";  // a character with '\' as trail byte

TEST(GbkConvert, RoundTripsChineseText) {
    const std::string utf8 = "新手村1 雷电术书";
    std::string g = gbk::FromUtf8(utf8);
    EXPECT_EQ(g.size(), 16u);  // seven characters of 2 bytes, "1", " "
    EXPECT_EQ(gbk::ToUtf8(g), utf8);
}

TEST(GbkConvert, TrailByteCharactersAreRealCharacters) {
    // Both test characters must be real GBK characters, or the split tests
    // below would prove nothing.
    for (const std::string& c : {kPipeTrail, kBackslashTrail}) {
        std::string u = gbk::ToUtf8(c);
        EXPECT_EQ(u.find("\xEF\xBF\xBD"), std::string::npos);
        EXPECT_EQ(gbk::FromUtf8(u), c);
    }
}

TEST(GbkConvert, InvalidBytesAreReplacedAndTheRestKept) {
    // 0xFF is never valid; a lead byte at the end is truncated.
    std::string bad = std::string("a\xFF") + "b\xFF" + gbk::FromUtf8("中") + "c\xB1";
    std::string u = gbk::ToUtf8(bad);
    EXPECT_EQ(u, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "中c\xEF\xBF\xBD");
}

TEST(GbkConvert, UnmappableUtf8BecomesQuestionMark) {
    EXPECT_EQ(gbk::FromUtf8("a\xF0\x9F\x98\x80" "b"), "a?b");  // an emoji
    EXPECT_EQ(gbk::FromUtf8("a\xC3" "b"), "a?b");               // broken UTF-8
    EXPECT_EQ(gbk::FromUtf8(""), "");
}

TEST(GbkLit, ConvertsOnceAndKeepsTheReference) {
    const std::string& a = gbk::Lit("确定");
    const std::string& b = gbk::Lit("确定");
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(a, gbk::FromUtf8("确定"));
}

TEST(GbkSearch, NeverMatchesOnATrailByte) {
    std::string name = kPipeTrail + kBackslashTrail + kPipeTrail;
    EXPECT_EQ(gbk::Find(name, "|"), gbk::npos);
    EXPECT_EQ(gbk::Find(name, "\\"), gbk::npos);
    std::string text = name + "|x";
    EXPECT_EQ(gbk::Find(text, "|"), name.size());
    // A needle made of a trail byte plus the next lead byte must not match
    // across a character boundary.
    EXPECT_EQ(gbk::Find(kPipeTrail + kPipeTrail, "\x7C\x95"), gbk::npos);
}

TEST(GbkSearch, SplitKeepsNamesWithSeparatorTrailBytes) {
    std::string name1 = kPipeTrail + "A" + kBackslashTrail;
    std::string name2 = kBackslashTrail + kPipeTrail;
    std::string joined = name1 + "|" + name2 + "||";
    auto parts = gbk::Split(joined, "|");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0], name1);
    EXPECT_EQ(parts[1], name2);
    EXPECT_EQ(parts[2], "");
    EXPECT_EQ(parts[3], "");
    EXPECT_EQ(gbk::Split("", "|").size(), 1u);
    // Multi-byte separator that itself starts with a lead byte.
    std::string sep = gbk::FromUtf8("鑌");
    auto p2 = gbk::Split("a" + sep + kBackslashTrail + sep, sep);
    ASSERT_EQ(p2.size(), 3u);
    EXPECT_EQ(p2[1], kBackslashTrail);
}

TEST(GbkSearch, ReplaceDoesNotRescan) {
    EXPECT_EQ(gbk::ReplaceAll("a,,,,b", ",,", ""), "ab");
    EXPECT_EQ(gbk::ReplaceAll("a,,,b", ",,", ""), "a,b");
    EXPECT_EQ(gbk::ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(gbk::ReplaceAll(kPipeTrail + "|", "|", "/"), kPipeTrail + "/");
}

TEST(GbkNumbers, LenientToInt) {
    struct Case { const char* text; int value; } cases[] = {
        {"12.5", 12}, {"", 0}, {"abc", 0}, {"-1", -1}, {" 7", 7}, {"+3x", 3},
        {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}, {"-", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(gbk::ToInt(c.text), c.value) << c.text;
}

TEST(GbkNumbers, NumberToTextDropsPointForIntegers) {
    EXPECT_EQ(gbk::NumberToText(3.0), "3");
    EXPECT_EQ(gbk::NumberToText(-12.0), "-12");
    EXPECT_EQ(gbk::NumberToText(0.0), "0");
    EXPECT_EQ(gbk::NumberToText(2.5), "2.5");
    EXPECT_EQ(gbk::NumberToText(0.1), "0.1");
    EXPECT_DOUBLE_EQ(gbk::ToReal("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(gbk::ToReal("x"), 0.0);
    // Readers pass the result on unchecked: nothing endless may come out.
    EXPECT_DOUBLE_EQ(gbk::ToReal("1e999"), 0.0);
    EXPECT_DOUBLE_EQ(gbk::ToReal("-1e999"), 0.0);
}

}  // namespace
