#pragma once
// The Lua libraries scripts may use, and the replacements that keep them
// inside the game: the base library without dofile, loadfile, require and
// newproxy (load and loadstring take source text only: Lua 5.1 does not
// check precompiled code), string, table, math, coroutine, and of os only time,
// clock, date and difftime. string.rep refuses results the state could not
// hold and returns at once for an empty text; find, match, gmatch and gsub
// are bounded (script_patterns.h); table.sort asks the deadline as it
// compares.

#include <lua.hpp>

// A lua_CFunction, called protected with no arguments: opens (or reopens)
// those libraries in the globals and takes out everything else. Returns 0.
int OpenScriptLibraries(lua_State* L);
