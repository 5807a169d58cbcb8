// Finalisers (__gc of userdata) run Lua code from whatever allocation makes
// the collector step; an error in one must surface as a script error, never
// end the program from a call outside a protected call, and never jump over
// a command's frames. Scripts have no newproxy; these tests give them
// proxy(), which makes the same userdata, to reach the host's defences.

#include "core/random.h"
#include "script/script_runtime.h"
#include "script/script_state.h"
#include "shared/gbk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// proxy(): a userdata with a metatable of its own.
int Proxy(lua_State* L) {
    lua_newuserdata(L, 0);
    lua_newtable(L);
    lua_setmetatable(L, -2);
    return 1;
}

class ScriptFinaliserTest : public ::testing::Test {
protected:
    ScriptFinaliserTest()
        : runtime(random, [this](const std::string& text, const std::string&) { shown.push_back(gbk::ToUtf8(text)); }) {
        runtime.CreateStates();
        runtime.mainState().Register("proxy", &Proxy);
    }

    bool Run(const std::string& utf8) { return runtime.RunScriptText(gbk::FromUtf8(utf8)); }

    Random random;
    std::vector<std::string> shown;
    ScriptRuntime runtime;
};

TEST_F(ScriptFinaliserTest, FailingFinaliserDuringACallFromTheGameIsReportedNotFatal) {
    // With no pause the collector steps at every allocation, so pushing the
    // call onto the stack would run the finalisers outside any protected
    // call (Lua's panic: the process exits). Some already fail in this
    // chunk, which is reported and stops it.
    Run(R"(
        collectgarbage("setpause", 0)
        function f() end
        for i = 1, 200 do
            local u = proxy()
            getmetatable(u).__gc = function() error("finaliser") end
        end
    )");
    ScriptState& state = runtime.mainState();
    int failed = 0;
    for (int i = 0; i < 2000; ++i) failed += state.CallGlobal("f") ? 0 : 1;
    EXPECT_GT(failed, 0);  // the finalisers' errors were reported by the calls
    EXPECT_EQ(state.StackHeight(), 0);
}

TEST_F(ScriptFinaliserTest, FailingFinaliserDoesNotRunInsideACommand) {
    // After `kept = nil` only the command allocates (it turns the number
    // into a text), so the collector would step, and the finaliser fail,
    // inside it. The command would then never be left, and the instruction
    // budget, which is not enforced inside a command, would stay off.
    EXPECT_FALSE(Run(R"(
        local kept = proxy()
        getmetatable(kept).__gc = function() error("finaliser") end
        kept = nil
        for i = 1, 100000 do 系统消息(i) end
    )"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("finaliser"), std::string::npos) << shown[0];

    runtime.mainState().SetInstructionBudget(1'000'000);
    EXPECT_FALSE(Run("for i = 1, 1e7 do end"));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].find("指令上限"), std::string::npos) << shown[1];
}

TEST_F(ScriptFinaliserTest, CommandsInALoopThatAllocatesNothingStillLetTheCollectorRun) {
    // The collector is stopped inside commands; each command ends with the
    // step it put off, so the texts the commands make are collected.
    ASSERT_TRUE(Run("collectgarbage() base = collectgarbage('count')"));
    ASSERT_TRUE(Run(R"(
        for i = 1, 200000 do 系统消息(i) end
        grown = collectgarbage('count') - base
    )"));
    runtime.mainState().GetGlobal("grown");
    const double grownKiB = runtime.mainState().ToNumber(1);
    runtime.mainState().Pop(1);
    EXPECT_LT(grownKiB, 2048.0);  // 200000 texts kept would be several MiB
}

}  // namespace
