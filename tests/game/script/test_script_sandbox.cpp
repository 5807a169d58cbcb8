// Scripts as untrusted content: the memory limit of a state, the wall-clock
// deadline of a run (and of a batch of runs), the stop of a running script
// when the game ends, and the libraries scripts can reach.

#include "script/script_state.h"
#include "shared/gbk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Shown {
    std::string text;
    std::string caption;
};

// A command that takes a millisecond and does nothing else, the way a
// command with a long text argument takes long: few instructions, much time.
int SlowCommand(lua_State* L) {
    ScriptState* state = ScriptState::FromLua(L);
    lua_State* previous = state->EnterCommand(L);
    std::this_thread::sleep_for(milliseconds(1));
    state->LeaveCommand(previous);
    return 0;
}

// A command that shows a box the player reads for 300 ms.
int BoxCommand(lua_State* L) {
    ScriptState* state = ScriptState::FromLua(L);
    lua_State* previous = state->EnterCommand(L);
    state->ShowMessage("box", "box");
    state->LeaveCommand(previous);
    return 0;
}

class SandboxTest : public ::testing::Test {
protected:
    SandboxTest()
        : state([this](const std::string& text, const std::string& caption) {
              if (text == "box") std::this_thread::sleep_for(milliseconds(300));
              shown.push_back({gbk::ToUtf8(text), gbk::ToUtf8(caption)});
          }) {
        state.Create();
        state.Register("slow", &SlowCommand);
        state.Register("box", &BoxCommand);
    }

    bool Run(const std::string& utf8) { return state.RunText(gbk::FromUtf8(utf8)); }
    // Runs and returns how long the run took.
    milliseconds Timed(const std::string& utf8, bool* ok = nullptr) {
        const Clock::time_point start = Clock::now();
        const bool result = Run(utf8);
        if (ok != nullptr) *ok = result;
        return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    }
    std::string GlobalText(const char* name) {
        state.GetGlobal(name);
        const std::string text = state.ToText(1);
        state.Pop(1);
        return text;
    }
    std::string LastShown() const { return shown.empty() ? std::string() : shown.back().text; }

    std::vector<Shown> shown;
    ScriptState state;
};

const std::string kTimeStop = "运行错误！,错误码 ==脚本运行超出时间上限,已被中止";
const std::string kMemoryError = "内存分配错误！,错误码 ==not enough memory";

// ---- memory

TEST_F(SandboxTest, AGrowingTextHitsTheMemoryLimitAndTheStateStaysUsable) {
    state.SetMemoryLimit(8u * 1024 * 1024);
    EXPECT_FALSE(Run("local s = 'x' while true do s = s .. s end"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "运行时出错");
    EXPECT_EQ(shown[0].text, kMemoryError);
    EXPECT_LE(state.MemoryInUse(), 8u * 1024 * 1024);
    // The state goes on: globals, commands and the libraries all work.
    EXPECT_TRUE(Run("after = string.format('%d', 42) slow()"));
    EXPECT_EQ(GlobalText("after"), "42");
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(SandboxTest, AScriptCanCatchTheMemoryErrorAndGoOn) {
    state.SetMemoryLimit(8u * 1024 * 1024);
    EXPECT_TRUE(Run("local ok, e = pcall(function() local t = {} for i = 1, 1e9 do t[i] = i end end) "
                    "caught = tostring(ok) .. ' ' .. e"));
    EXPECT_EQ(GlobalText("caught"), "false not enough memory");
    EXPECT_TRUE(shown.empty());
}

TEST_F(SandboxTest, StringRepRefusesWhatTheStateCannotHoldAndStopsOnEmptyText) {
    state.SetMemoryLimit(8u * 1024 * 1024);
    EXPECT_TRUE(Run("ok, e = pcall(string.rep, 'x', 1e12)"));
    EXPECT_NE(GlobalText("e").find("too large"), std::string::npos) << GlobalText("e");
    // An empty text repeated 2^53 times is empty at once (Lua 5.1 would loop).
    bool ok = false;
    EXPECT_LT(Timed("empty = string.rep('', 2^53) .. ('y'):rep(3)", &ok), milliseconds(200));
    EXPECT_TRUE(ok);
    EXPECT_EQ(GlobalText("empty"), "yyy");
}

// ---- time

TEST_F(SandboxTest, ALoopOfSlowCommandsIsStoppedAtTheDeadline) {
    state.SetTimeLimit(milliseconds(300));
    bool ok = true;
    const milliseconds took = Timed("while true do slow() end", &ok);
    EXPECT_FALSE(ok);
    EXPECT_GE(took, milliseconds(300));
    EXPECT_LT(took, milliseconds(450));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "运行时出错");
    EXPECT_EQ(shown[0].text, kTimeStop);
    EXPECT_EQ(state.LastStop(), ScriptState::Stop::Time);
    // The next run has its own time.
    EXPECT_TRUE(Run("for i = 1, 10 do slow() end"));
}

TEST_F(SandboxTest, TheDeadlineCannotBeDodgedWithPcallOrCoroutines) {
    state.SetTimeLimit(milliseconds(200));
    for (const char* script : {
             "while true do pcall(function() while true do slow() end end) end",
             "while true do pcall(slow) end",
             "while true do coroutine.resume(coroutine.create(function() while true do slow() end end)) end",
         }) {
        bool ok = true;
        EXPECT_LT(Timed(script, &ok), milliseconds(350)) << script;
        EXPECT_FALSE(ok) << script;
        EXPECT_EQ(LastShown(), kTimeStop) << script;
    }
}

TEST_F(SandboxTest, LongStringWorkIsStoppedAtTheDeadline) {
    // Each step copies megabytes in one instruction: the instruction budget
    // alone would let this run for minutes.
    state.SetTimeLimit(milliseconds(300));
    bool ok = true;
    const milliseconds took =
        Timed("local s = string.rep('x', 8e6) while true do local t = s .. 'y' local u = t:upper() end", &ok);
    EXPECT_FALSE(ok);
    EXPECT_LT(took, milliseconds(500));
    EXPECT_EQ(LastShown(), kTimeStop);
}

TEST_F(SandboxTest, AProtectedCallFromTheGameHasItsDeadlineToo) {
    state.SetTimeLimit(milliseconds(200));
    ASSERT_TRUE(Run("function spin() while true do slow() end end"));
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(state.CallGlobal("spin"));
    EXPECT_LT(Clock::now() - start, milliseconds(350));
    EXPECT_EQ(LastShown(), "LUA_运行时错误\r\n运行错误！");
    EXPECT_EQ(state.StackHeight(), 0);
}

TEST_F(SandboxTest, RunsOfABatchShareOneDeadline) {
    // A run alone would have a second; in the batch the second run has what
    // the first left of 400 ms.
    state.SetTimeLimit(milliseconds(1000));
    const Clock::time_point start = Clock::now();
    state.BeginBatch(milliseconds(400));
    EXPECT_TRUE(Run("for i = 1, 100 do slow() end"));
    EXPECT_FALSE(Run("while true do slow() end"));
    state.EndBatch();
    const auto took = Clock::now() - start;
    EXPECT_GE(took, milliseconds(400));
    EXPECT_LT(took, milliseconds(600));
    EXPECT_EQ(LastShown(), kTimeStop);
    // After the batch each run has its own second again.
    EXPECT_TRUE(Run("for i = 1, 100 do slow() end"));
}

TEST_F(SandboxTest, TimeInAMessageBoxIsNotTheScripts) {
    state.SetTimeLimit(milliseconds(200));
    EXPECT_TRUE(Run("box() for i = 1, 50 do slow() end"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "box");
}

// ---- the game ending

TEST_F(SandboxTest, AnInterruptStopsTheScriptAtOnceWithoutABox) {
    std::atomic<bool> ending{false};
    state.SetInterrupt([&ending] { return ending.load(); });
    ASSERT_TRUE(Run("function f() end"));
    std::thread signal([&ending] {
        std::this_thread::sleep_for(milliseconds(100));
        ending = true;
    });
    bool ok = true;
    const milliseconds took = Timed("while true do slow() end", &ok);
    signal.join();
    EXPECT_FALSE(ok);
    EXPECT_LT(took, milliseconds(200));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(state.LastStop(), ScriptState::Stop::Interrupted);
    // Nothing more runs once the game is ending.
    EXPECT_FALSE(Run("x = 1"));
    EXPECT_FALSE(state.CallGlobal("f"));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(state.StackHeight(), 0);
}

// ---- libraries

TEST_F(SandboxTest, OsExecuteIsNil) { EXPECT_TRUE(Run("assert(os.execute == nil)")) << LastShown(); }
TEST_F(SandboxTest, IoIsNil) { EXPECT_TRUE(Run("assert(io == nil)")) << LastShown(); }
TEST_F(SandboxTest, PackageAndLoadlibAreNil) { EXPECT_TRUE(Run("assert(package == nil)")) << LastShown(); }
TEST_F(SandboxTest, DebugAndSethookAreNil) { EXPECT_TRUE(Run("assert(debug == nil)")) << LastShown(); }
// Lua 5.1 runs finalisers with the hooks off: a script's finaliser that
// looped could never be stopped, so scripts get no userdata to put one on.
TEST_F(SandboxTest, NewproxyIsNil) { EXPECT_TRUE(Run("assert(newproxy == nil)")) << LastShown(); }
TEST_F(SandboxTest, DofileIsNil) { EXPECT_TRUE(Run("assert(dofile == nil)")) << LastShown(); }
TEST_F(SandboxTest, LoadfileAndRequireAreNil) {
    EXPECT_TRUE(Run("assert(loadfile == nil) assert(require == nil) assert(module == nil)")) << LastShown();
}
TEST_F(SandboxTest, OsKeepsOnlyTheClockFunctions) {
    EXPECT_TRUE(Run("local names = {} for k in pairs(os) do names[#names + 1] = k end table.sort(names) "
                    "os_names = table.concat(names, ' ')"))
        << LastShown();
    EXPECT_EQ(GlobalText("os_names"), "clock date difftime time");
}

TEST_F(SandboxTest, LibraryFunctionsAScriptReplacedComeBackForTheNextRun) {
    EXPECT_TRUE(Run("string.rep = nil load = function() return 'mine' end"));
    EXPECT_TRUE(Run("r = string.rep('a', 2) l = load(function() return nil end)"));
    EXPECT_EQ(GlobalText("r"), "aa");
    EXPECT_EQ(GlobalText("l"), "");  // the safe load: a function, not 'mine'
    EXPECT_TRUE(Run("assert(type(l) == 'function')")) << LastShown();
}

TEST_F(SandboxTest, TheAllowedLibrariesWork) {
    EXPECT_TRUE(Run("r = table.concat({string.format('%02d', 7), math.floor(2.5), type(os.time()), type(os.clock()), "
                    "os.date('%Y', 0):len(), os.difftime(5, 3), select(2, coroutine.resume(coroutine.create("
                    "function() return 'co' end))), loadstring('return 1 + 1')(), "
                    "load(coroutine.wrap(function() coroutine.yield('return ') coroutine.yield('3') end))()}, ',')"))
        << LastShown();
    EXPECT_EQ(GlobalText("r"), "07,2,number,number,4,2,co,2,3");
}

TEST_F(SandboxTest, PrecompiledChunksAreRefused) {
    EXPECT_TRUE(Run("local code = string.dump(function() return 1 end) "
                    "f, e = loadstring(code) g = load(function() local c = code code = nil return c end) "
                    "assert(f == nil and g == nil) message = e"))
        << LastShown();
    EXPECT_EQ(GlobalText("message"), "precompiled chunks are not accepted");
    // Nor does the host run one.
    EXPECT_FALSE(state.RunText(std::string("\x1bLua\x51") + std::string(40, '\0')));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().caption, "脚本错误");
}

// ---- patterns

// The expressions' results joined into one text, in a state with Lua's own
// libraries.
std::string StandardResult(const std::string& expression) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    const std::string chunk = "local t = table.pack and table.pack(" + expression +
                              ") or {n = select('#', " + expression + "), " + expression +
                              "} for i = 1, t.n do t[i] = tostring(t[i]) end return table.concat(t, '|')";
    std::string result = "load failed";
    if (luaL_dostring(L, chunk.c_str()) == 0) result = lua_tostring(L, -1);
    lua_close(L);
    return result;
}

TEST_F(SandboxTest, PatternFunctionsGiveTheStandardResults) {
    const char* expressions[] = {
        "string.find('hello world', 'o w')",
        "string.find('hello world', 'o', 6)",
        "string.find('hello', 'l+')",
        "string.find('a.b', '.', 1, true)",
        "string.find('abc', 'b', -1)",
        "string.find('abc', '', 10)",
        "string.find('key = value', '(%w+)%s*=%s*(%w+)')",
        "string.match('  trim  ', '^%s*(.-)%s*$')",
        "string.match('2024-01-02', '(%d+)-(%d+)-(%d+)')",
        "string.match('abc', '()b()')",
        "string.match('THE (quick) fox', '%((%a+)%)')",
        "string.match('x = [[a]]', '%b[]')",
        "string.match('THE quick', '%f[%a]%a+', 4)",
        "string.match('aaa', 'a-b')",
        "string.match('aaab', 'a-b')",
        "string.match('abcabc', '(abc)%1')",
        "string.match('[x]', '[%]]')",
        "string.match('a-z', '[a%-z]+')",
        "string.match('Hello', '[^%l]')",
        "string.match('end', 'd$')",
        "string.match('a$b', 'a$b')",
        "string.gsub('hello world', 'o', '0')",
        "string.gsub('hello world', '(%w+)', '<%1>')",
        "string.gsub('hello', '', '-')",
        "string.gsub('abc', '%w', '%0%0', 2)",
        "string.gsub('$name is $age', '%$(%w+)', {name = 'Bob', age = 7})",
        "string.gsub('abc', '.', function(c) return c:upper() end)",
        "string.gsub('abc', 'b', function() return false end)",
        "string.gsub('abc', '^a', 'x')",
        "string.gsub('100%', '%%', ' percent')",
        "pcall(string.gsub, 'abc', '(', 'x')",
        "pcall(string.find, 'abc', '[a')",
        "pcall(string.find, 'abc', '%')",
        "pcall(string.gsub, 'abc', '%w', '%2')",
        "pcall(string.match, 'abc', '%1')",
        "select('#', string.gmatch('a1b2c3', '%a%d')())",
        "(function() local r = {} for k, v in string.gmatch('a=1, b=2', '(%w+)=(%w+)') do r[#r + 1] = k .. v end "
        "return table.concat(r, ',') end)()",
        "(function() local r = {} for w in string.gmatch('one two  three', '%a*') do r[#r + 1] = '[' .. w .. ']' end "
        "return table.concat(r) end)()",
        "('x'):rep(3):find('xx', 2)",
    };
    for (const char* expression : expressions) {
        const std::string e = expression;
        ASSERT_TRUE(Run("local t = {n = select('#', " + e + "), " + e +
                        "} for i = 1, t.n do t[i] = tostring(t[i]) end r = table.concat(t, '|')"))
            << e << ": " << LastShown();
        EXPECT_EQ(GlobalText("r"), StandardResult(e)) << e;
    }
}

TEST_F(SandboxTest, ADeeplyNestedPatternIsRefusedNotACrash) {
    // One C frame per item in Lua's own matcher: this ended the process.
    EXPECT_TRUE(Run("ok, e = pcall(string.find, string.rep('a', 200000), string.rep('a?', 200000) .. 'b')"))
        << LastShown();
    EXPECT_NE(GlobalText("e").find("pattern too complex"), std::string::npos) << GlobalText("e");
}

TEST_F(SandboxTest, PatternsThatBacktrackForeverAreStoppedAtTheDeadline) {
    state.SetTimeLimit(milliseconds(300));
    for (const char* script : {
             "string.find(string.rep('a', 40), string.rep('a*', 40) .. 'b')",
             "while true do pcall(string.match, string.rep('a', 40), string.rep('a-', 40) .. 'b') end",
             "for w in string.gmatch(string.rep('a', 40), string.rep('a*', 40) .. 'b') do end",
             "string.gsub(string.rep('a', 40), string.rep('a?', 40) .. 'b', 'x')",
             "string.find(string.rep('a', 4e6), string.rep('a', 2e6) .. 'b', 1, true)",
         }) {
        bool ok = true;
        const milliseconds took = Timed(script, &ok);
        EXPECT_FALSE(ok) << script;
        EXPECT_LT(took, milliseconds(450)) << script;
        EXPECT_EQ(LastShown(), kTimeStop) << script;
    }
}

TEST_F(SandboxTest, SortingSortsAndABigSortIsStoppedAtTheDeadline) {
    EXPECT_TRUE(Run("local a, b, c = {3, 1, 2}, {'b', 'c', 'a'}, {1, 3, 2} table.sort(a) table.sort(b) "
                    "table.sort(c, function(x, y) return x > y end) "
                    "r = table.concat(a, ',') .. ' ' .. table.concat(b, ',') .. ' ' .. table.concat(c, ',')"))
        << LastShown();
    EXPECT_EQ(GlobalText("r"), "1,2,3 a,b,c 3,2,1");
    EXPECT_TRUE(Run("ok, e = pcall(table.sort, {1, 2}, 5)"));
    EXPECT_NE(GlobalText("e").find("function expected"), std::string::npos) << GlobalText("e");
    // Lua's sort compares in C, with no hook, for seconds.
    ASSERT_TRUE(Run("big = {} for i = 1, 2e6 do big[i] = -i end"));
    state.SetTimeLimit(milliseconds(200));
    for (const char* script : {"table.sort(big)", "table.sort(big, rawequal)"}) {
        bool ok = true;
        EXPECT_LT(Timed(script, &ok), milliseconds(350)) << script;
        EXPECT_FALSE(ok) << script;
        EXPECT_EQ(LastShown(), kTimeStop) << script;
    }
}

// ---- the texts commands read

TEST_F(SandboxTest, CommandsReadLongTextsCutAtACharacterBoundary) {
    ASSERT_TRUE(Run("t = 'a' .. string.rep('字', 5000)"));
    state.GetGlobal("t");
    const std::string text = state.ToText(1);
    state.Pop(1);
    // 1 + 2k bytes: the cut never splits a character.
    EXPECT_EQ(text.size(), ScriptState::kMaxTextBytes - 1);
    EXPECT_EQ(gbk::ToUtf8(text.substr(text.size() - 2)), "字");
}

}  // namespace
