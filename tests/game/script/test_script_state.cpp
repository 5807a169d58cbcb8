// The Lua host: running chunks, failure reports, the fresh-thread rule, the
// instruction budget, protected calls and the stack readers.

#include "script/script_state.h"
#include "shared/gbk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Shown {
    std::string text;
    std::string caption;
};

class ScriptStateTest : public ::testing::Test {
protected:
    ScriptStateTest()
        : state([this](const std::string& text, const std::string& caption) {
              shown.push_back({gbk::ToUtf8(text), gbk::ToUtf8(caption)});
          }) {
        state.Create();
    }

    bool Run(const std::string& utf8) { return state.RunText(gbk::FromUtf8(utf8)); }
    double Global(const char* name) {
        state.GetGlobal(name);
        const double v = state.ToNumber(1);
        state.Pop(1);
        return v;
    }
    static bool StartsWith(const std::string& text, const std::string& prefix) {
        return text.compare(0, prefix.size(), prefix) == 0;
    }

    std::vector<Shown> shown;
    ScriptState state;
};

TEST(ScriptStateStatus, NamesOfEveryLuaStatus) {
    const struct {
        int code;
        const char* name;
    } cases[] = {
        {0, "没有错误！"},  {2, "运行错误！"},    {3, "预编译时句法错误！"}, {4, "内存分配错误！"},
        {5, "LUA_ERRERR！"}, {1, "未知返回类型!"}, {6, "未知返回类型!"},     {-1, "未知返回类型!"},
    };
    for (const auto& c : cases) EXPECT_EQ(gbk::ToUtf8(ScriptState::StatusName(c.code)), c.name) << c.code;
}

TEST_F(ScriptStateTest, EmptyTextRunsAndShowsNothing) {
    EXPECT_TRUE(Run(""));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(state.StackHeight(), 0);
}

TEST_F(ScriptStateTest, SyntaxErrorIsReportedUnderScriptErrorAndDefinesNothing) {
    EXPECT_FALSE(Run("a = 1\nb = = 2"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "脚本错误");
    EXPECT_TRUE(StartsWith(shown[0].text, "预编译时句法错误！,错误码 ==")) << shown[0].text;
    EXPECT_NE(shown[0].text.find(":2:"), std::string::npos) << shown[0].text;
    EXPECT_EQ(Global("a"), 0.0);  // compiled whole before anything ran
    EXPECT_EQ(state.StackHeight(), 0);
}

// Each run reopens the libraries; a script that made that fail, or loop,
// cannot stop the next chunk (nor end the program).
TEST_F(ScriptStateTest, LibrariesAScriptBrokeDoNotStopTheNextChunk) {
    state.SetInstructionBudget(200'000);
    ASSERT_TRUE(Run("string.format = nil; setmetatable(string, {__newindex = function() error('no') end})"));
    EXPECT_TRUE(Run("a = 1"));
    ASSERT_TRUE(Run("table.insert = nil; setmetatable(table, {__newindex = function() while true do end end})"));
    EXPECT_TRUE(Run("b = 2"));
    EXPECT_EQ(Global("a"), 1.0);
    EXPECT_EQ(Global("b"), 2.0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(state.StackHeight(), 0);
}

TEST_F(ScriptStateTest, RuntimeErrorIsReportedAndWhatRanBeforeStays) {
    EXPECT_FALSE(Run("before = 5\nerror('boom')\nafter = 6"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "运行时出错");
    EXPECT_TRUE(StartsWith(shown[0].text, "运行错误！,错误码 ==")) << shown[0].text;
    EXPECT_NE(shown[0].text.find("boom"), std::string::npos);
    EXPECT_EQ(Global("before"), 5.0);
    EXPECT_EQ(Global("after"), 0.0);
}

TEST_F(ScriptStateTest, TopLevelYieldIsAFailureWithTheUnknownStatusName) {
    EXPECT_FALSE(Run("coroutine.yield()"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "运行时出错");
    EXPECT_EQ(shown[0].text, "未知返回类型!,错误码 ==");
}

TEST_F(ScriptStateTest, LaterChunksRunAfterAFailedOne) {
    // Each chunk has its own thread: neither an error nor a yield leaves the
    // state unable to run the next chunk.
    EXPECT_FALSE(Run("x = 1\nerror('first')"));
    EXPECT_TRUE(Run("y = x + 1"));
    EXPECT_FALSE(Run("coroutine.yield(1)"));
    EXPECT_TRUE(Run("z = y + 1"));
    EXPECT_EQ(Global("z"), 3.0);
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(ScriptStateTest, FunctionsDefinedByOneChunkAreVisibleToTheNext) {
    EXPECT_TRUE(Run("function 加倍(v) return v * 2 end"));
    EXPECT_TRUE(Run("结果 = 加倍(21)"));
    state.GetGlobal(gbk::FromUtf8("结果"));
    EXPECT_EQ(state.ToNumber(1), 42.0);
    state.Pop(1);
}

TEST_F(ScriptStateTest, StandardLibrariesAreOpenedAgainBeforeEveryRun) {
    EXPECT_TRUE(Run("tostring = nil string.len = nil math.floor = nil"));
    EXPECT_TRUE(Run("n = string.len(tostring(123)) + math.floor(1.5)"));
    EXPECT_EQ(Global("n"), 4.0);
}

TEST_F(ScriptStateTest, EndlessLoopIsStoppedAndReportedLikeARuntimeError) {
    state.SetInstructionBudget(200'000);
    EXPECT_FALSE(Run("while true do end"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "运行时出错");
    EXPECT_TRUE(StartsWith(shown[0].text, "运行错误！,错误码 ==")) << shown[0].text;
    // The budget is per run: the next chunk is not stopped early.
    EXPECT_TRUE(Run("s = 0 for i = 1, 10000 do s = s + i end"));
    EXPECT_EQ(Global("s"), 50005000.0);
}

TEST_F(ScriptStateTest, BudgetCannotBeDodgedWithPcallOrCoroutines) {
    state.SetInstructionBudget(200'000);
    EXPECT_FALSE(Run("while true do pcall(function() while true do end end) end"));
    EXPECT_FALSE(Run("while true do coroutine.resume(coroutine.create(function() while true do end end)) end"));
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(ScriptStateTest, ProtectedCallRunsAGlobalFunction) {
    EXPECT_TRUE(Run("function f() called = 1 end"));
    EXPECT_TRUE(state.CallGlobal("f"));
    EXPECT_EQ(Global("called"), 1.0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(state.StackHeight(), 0);
}

TEST_F(ScriptStateTest, FailedProtectedCallShowsOnlyTheStatusName) {
    const struct {
        const char* script;
        const char* function;
    } cases[] = {
        {"", "undefined_function"},
        {"function bad() error('hidden detail') end", "bad"},
        // A failing lookup is caught like a failing call.
        {"setmetatable(_G, {__index = function() error('no such name') end})", "missing"},
    };
    for (const auto& c : cases) {
        shown.clear();
        ASSERT_TRUE(Run(c.script));
        EXPECT_FALSE(state.CallGlobal(c.function));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "LUA_运行时错误\r\n运行错误！");
        EXPECT_EQ(shown[0].caption, "提示");
        EXPECT_EQ(state.StackHeight(), 0);
    }
}

TEST_F(ScriptStateTest, LoopingDialogFunctionIsStopped) {
    state.SetInstructionBudget(200'000);
    ASSERT_TRUE(Run("function spin() while true do end end"));
    EXPECT_FALSE(state.CallGlobal("spin"));
    // A lookup that never ends is stopped the same way.
    ASSERT_TRUE(Run("setmetatable(_G, {__index = function() while true do end end})"));
    EXPECT_FALSE(state.CallGlobal("missing"));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "LUA_运行时错误\r\n运行错误！");
    EXPECT_EQ(shown[1].text, "LUA_运行时错误\r\n运行错误！");
    EXPECT_EQ(state.StackHeight(), 0);
}

TEST_F(ScriptStateTest, ReadersCountFromTheTopAndReadNoneBeyondTheStack) {
    state.PushText("abc");
    state.PushNumber(2.75);
    state.PushBoolean(true);
    EXPECT_EQ(state.StackHeight(), 3);
    EXPECT_TRUE(state.ToBoolean(1));
    EXPECT_EQ(state.ToNumber(2), 2.75);
    EXPECT_EQ(state.ToInt(2), 2);
    EXPECT_EQ(state.ToText(2), "2.75");  // numbers read as text
    EXPECT_EQ(state.ToText(3), "abc");
    EXPECT_EQ(state.ToNumber(3), 0.0);  // not a number
    EXPECT_EQ(state.ToText(1), "");     // a boolean is no text
    EXPECT_EQ(state.ToNumber(4), 0.0);
    EXPECT_EQ(state.ToText(4), "");
    EXPECT_FALSE(state.ToBoolean(0));
    EXPECT_EQ(state.ToCFunction(1), nullptr);
    state.Pop(2);
    EXPECT_EQ(state.StackHeight(), 1);
    state.Pop(5);
    EXPECT_EQ(state.StackHeight(), 0);
}

TEST_F(ScriptStateTest, TypeTests) {
    ASSERT_TRUE(Run("t = {} f = function() end b = false"));
    lua_State* L = state.lua();
    state.GetGlobal("t");
    state.GetGlobal("f");
    state.GetGlobal("b");
    state.GetGlobal("missing");
    EXPECT_TRUE(ScriptState::IsTable(L, -4));
    EXPECT_TRUE(ScriptState::IsFunction(L, -3));
    EXPECT_TRUE(ScriptState::IsBoolean(L, -2));
    EXPECT_TRUE(ScriptState::IsNil(L, -1));
    EXPECT_TRUE(ScriptState::IsNoneOrNil(L, -1));
    EXPECT_TRUE(ScriptState::IsNone(L, 10));
    EXPECT_FALSE(ScriptState::IsLightUserData(L, -1));
    state.Pop(4);
}

TEST(ScriptStateTruncate, TowardZeroWrappingOutOfRange) {
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {0.0, 0},
        {2147483647.0, 2147483647},
        {4294901760.0, -65536},  // 0xFFFF0000 written as a positive number
        {-65536.0, -65536},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
        {1e300, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ScriptState::TruncateToInt(c.in), c.out) << c.in;
}

TEST(ScriptStateLifecycle, UncreatedStateRunsNothing) {
    ScriptState state;
    EXPECT_FALSE(state.RunText("x = 1"));
    EXPECT_EQ(state.StackHeight(), 0);
    EXPECT_EQ(state.ToText(1), "");
}

}  // namespace
