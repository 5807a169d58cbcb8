#pragma once
// string.find, string.match, string.gmatch and string.gsub for scripts: Lua
// 5.1's pattern matching with the same results, made safe for untrusted
// patterns. The matcher of the standard library recurses once per pattern
// item without a limit (a long pattern of "a?" overflows the C stack and
// ends the process) and can backtrack for hours inside one call, where no
// hook runs. Here a pattern nests at most 200 levels ("pattern too complex")
// and the matcher asks the state's deadline every few thousand steps; a plain
// find counts its comparisons the same way.

#include <lua.hpp>

// Replaces the four functions in the string library table on top of the
// stack.
void InstallSafePatterns(lua_State* L);
