#include <gtest/gtest.h>

#include "core/json_writer.h"
#include "shared/gbk.h"
#include "ui/chat_log.h"

namespace {

TEST(ChatLogTest, CreateWritesTheWelcomeLineWithDefaultColours) {
    ChatLog log;
    log.AddLine("x", "y");
    log.Create();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log.Line(0).label, gbk::Lit("[系统]"));
    EXPECT_EQ(log.Line(0).text, gbk::Lit("[欢迎进入风铃谷]"));
    EXPECT_EQ(log.Line(0).labelColour, 0xFF00FFFFu);
    EXPECT_EQ(log.Line(0).textColour, 0xFFFFFFFFu);
}

TEST(ChatLogTest, ColoursOnlyWhenGiven) {
    ChatLog log;
    log.AddLine("a", "b", 0xFF112233, true, 0xFF445566, false);
    log.AddLine("a", "b", 0xFF112233, false, 0xFF445566, true);
    EXPECT_EQ(log.Line(0).labelColour, 0xFF112233u);
    EXPECT_EQ(log.Line(0).textColour, 0xFFFFFFFFu);
    EXPECT_EQ(log.Line(1).labelColour, 0xFF00FFFFu);
    EXPECT_EQ(log.Line(1).textColour, 0xFF445566u);
}

TEST(ChatLogTest, BreaksAtCrLfAndWrapsOnCharacterBoundaries) {
    ChatLog log;
    // 47 ASCII bytes then a Chinese character: the character does not fit
    // on the first line and must not be split.
    std::string text = std::string(47, 'a') + gbk::Lit("中") + "\r\n" + "tail";
    log.AddLine(gbk::Lit("[系统]"), text);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.Line(0).text, std::string(47, 'a'));
    EXPECT_EQ(log.Line(1).text, gbk::Lit("中"));
    EXPECT_EQ(log.Line(2).text, "tail");
    EXPECT_EQ(log.Line(2).label, gbk::Lit("[系统]"));
    // One message, one label: the later pieces are drawn without it.
    EXPECT_FALSE(log.Line(0).continued);
    EXPECT_TRUE(log.Line(1).continued);
    EXPECT_TRUE(log.Line(2).continued);
    log.AddLine("x", "next");
    EXPECT_FALSE(log.Line(3).continued);
}

TEST(ChatLogTest, OldestLinesDropPastCapacity) {
    ChatLog log;
    for (std::size_t i = 0; i < ChatLog::kCapacity + 5; ++i) log.AddLine("l", std::to_string(i));
    EXPECT_EQ(log.size(), ChatLog::kCapacity);
    EXPECT_EQ(log.Line(0).text, "5");
}

TEST(JsonWriterTest, EscapesAndConvertsGbk) {
    JsonWriter w;
    w.BeginObject();
    w.Field("s", gbk::Lit("你好") + "\"\\\n\x01");
    w.Key("a");
    w.BeginArray();
    w.Int(1);
    w.Double(0.5);
    w.Bool(true);
    w.Null();
    w.EndArray();
    w.Key("e");
    w.BeginArray();
    w.EndArray();
    w.EndObject();
    const std::string& out = w.str();
    EXPECT_NE(out.find("\"s\": \"\xe4\xbd\xa0\xe5\xa5\xbd\\\"\\\\\\n\\u0001\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"e\": []"), std::string::npos) << out;
    std::string compact;
    for (char c : out)
        if (c != ' ' && c != '\n') compact += c;
    EXPECT_EQ(compact.substr(compact.find("\"a\"")), "\"a\":[1,0.5,true,null],\"e\":[]}");
}

TEST(ChatLogTest, TheVisibleLinesEndInsideTheFrame) {
    EXPECT_LE(ChatLog::kFirstLineY + ChatLog::kLineHeight * ChatLog::kVisibleLines, ChatLog::kFrameBottom);
    EXPECT_GT(ChatLog::kFirstLineY + ChatLog::kLineHeight * (ChatLog::kVisibleLines + 1), ChatLog::kFrameBottom);
}

}  // namespace
