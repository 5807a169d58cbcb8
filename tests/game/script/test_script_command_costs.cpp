// Commands whose work grows with their arguments, under the deadline: the
// inputs that held the script fuzzer (and the game) for many seconds, with
// the real commands. Each loop ran for minutes before, as every call costs
// a handful of instructions and the instruction budget never ran out.

#include "script_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class ScriptCommandCostTest : public ::testing::Test, public ScriptFixtureBase {
protected:
    milliseconds Timed(const std::string& utf8, bool* ok) {
        const Clock::time_point start = Clock::now();
        *ok = RunMain(utf8);
        return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    }
    std::string LastMessage() const { return messages.empty() ? std::string() : messages.back().text; }
};

const std::string kTimeStop = "运行错误！,错误码 ==脚本运行超出时间上限,已被中止";

TEST_F(ScriptCommandCostTest, TheChoiceLoopOfAMegabyteTextEndsWithinItsSecond) {
    // Two lines of a Main.lua that froze the game for more than ten minutes.
    bool ok = false;
    const milliseconds took =
        Timed("local t = string.rep(\"字\", 524288)\nfor i = 1, 200000 do 选择项(t) end\n", &ok);
    std::cout << "200000 choices of a 1 MB text: " << took.count() << " ms, "
              << (ok ? "finished" : "stopped") << "\n";
    EXPECT_LT(took, milliseconds(1300));
    if (!ok) {
        EXPECT_EQ(LastMessage(), kTimeStop);
    }
    // The endless form is stopped at its deadline, and the choice the dialog
    // got is cut at a character boundary.
    const milliseconds endless = Timed("local t = string.rep(\"字\", 524288)\nwhile true do 选择项(t) end\n", &ok);
    std::cout << "endless choices of a 1 MB text stopped after " << endless.count() << " ms\n";
    EXPECT_FALSE(ok);
    EXPECT_GE(endless, milliseconds(1000));
    EXPECT_LT(endless, milliseconds(1300));
    EXPECT_EQ(LastMessage(), kTimeStop);
    ASSERT_EQ(services.choices.size(), 1u);
    EXPECT_EQ(services.choices[0].caption.size(), ScriptState::kMaxTextBytes);
}

// The fuzzer's slow inputs (fuzz/corpus/script_commands/slow_*), as the
// chunks it made of them.
TEST_F(ScriptCommandCostTest, TheFuzzersSlowInputsAreStoppedAtTheDeadline) {
    const std::string t6 = "T6 = string.rep(\"ab@\", 16384)\n";
    std::string args = "T6";
    for (int i = 1; i < 23; ++i) args += ", T6";
    for (const std::string& chunk : {
             t6 + "while true do 选择项(" + args + ") end",
             t6 + "while true do pcall(选择项, " + args + ") end",
             std::string("T5 = string.rep(\"\\129\", 16384)\nwhile true do 系统消息(T5) end"),
         }) {
        bool ok = true;
        const milliseconds took = Timed(chunk, &ok);
        EXPECT_FALSE(ok) << chunk;
        EXPECT_LT(took, milliseconds(1300)) << chunk;
        EXPECT_EQ(LastMessage(), kTimeStop) << chunk;
    }
}

TEST_F(ScriptCommandCostTest, AChoiceListKeepsItsFirstSixtyFourChoices) {
    ASSERT_TRUE(RunMain("local t = {} for i = 1, 100 do t[i] = \"c\" .. i .. \"@f\" .. i end 选择项(unpack(t))"));
    ASSERT_EQ(services.choices.size(), 64u);
    EXPECT_EQ(services.choices[0].caption, "c1");
    EXPECT_EQ(services.choices[0].action, "f1");
    EXPECT_EQ(services.choices[63].caption, "c64");
    EXPECT_EQ(services.choices[63].action, "f64");
}

}  // namespace
