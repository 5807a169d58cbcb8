#include "script/script_libraries.h"

#include "script/script_patterns.h"
#include "script/script_state.h"

#include <cstddef>
#include <cstdint>

namespace {

// What the standard libraries give that scripts must not have: files,
// processes, the environment, native code, the locale. And newproxy, the
// one way to a userdata with a finaliser: Lua 5.1 runs finalisers with the
// hooks off, so one that loops could never be stopped.
constexpr const char* kRemovedBase[] = {"dofile", "loadfile", "require", "module", "newproxy"};
constexpr const char* kRemovedOs[] = {"execute", "exit", "getenv", "remove", "rename", "setlocale", "tmpname"};

bool IsBinary(const char* text, std::size_t length) { return length > 0 && text[0] == LUA_SIGNATURE[0]; }

int RefuseBinary(lua_State* L) {
    lua_pushnil(L);
    lua_pushliteral(L, "precompiled chunks are not accepted");
    return 2;
}

// Loads the chunk on top of the stack (a string) under `name`; nil and a
// message on failure, as load does.
int LoadText(lua_State* L, const char* name) {
    std::size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    if (IsBinary(text, length)) return RefuseBinary(L);
    if (luaL_loadbuffer(L, text, length, name) == 0) return 1;
    lua_pushnil(L);
    lua_insert(L, -2);  // nil, message
    return 2;
}

int SafeLoadString(lua_State* L) {
    std::size_t length = 0;
    const char* text = luaL_checklstring(L, 1, &length);
    const char* name = luaL_optstring(L, 2, text);
    lua_settop(L, 1);
    return LoadText(L, name);
}

// load(reader [, name]): the pieces are gathered first, so the whole text
// can be checked before anything is compiled.
int SafeLoad(lua_State* L) {
    luaL_checktype(L, 1, LUA_TFUNCTION);
    const char* name = luaL_optstring(L, 2, "=(load)");
    lua_settop(L, 2);
    lua_newtable(L);  // 3: the pieces
    int pieces = 0;
    for (;;) {
        lua_pushvalue(L, 1);
        lua_call(L, 0, 1);
        if (lua_isnil(L, -1)) {
            lua_pop(L, 1);
            break;
        }
        if (!lua_isstring(L, -1)) return luaL_error(L, "reader function must return a string");
        if (lua_objlen(L, -1) == 0) {
            lua_pop(L, 1);
            break;
        }
        lua_rawseti(L, 3, ++pieces);
    }
    luaL_Buffer buffer;
    luaL_buffinit(L, &buffer);
    for (int i = 1; i <= pieces; ++i) {
        lua_rawgeti(L, 3, i);
        luaL_addvalue(&buffer);
    }
    luaL_pushresult(&buffer);
    return LoadText(L, name);
}

// string.rep without Lua 5.1's endless loop over an empty text and without
// building a result the state's memory limit refuses anyway.
int SafeRep(lua_State* L) {
    std::size_t length = 0;
    const char* text = luaL_checklstring(L, 1, &length);
    const lua_Number count = luaL_checknumber(L, 2);
    if (length == 0 || !(count >= 1)) {
        lua_pushliteral(L, "");
        return 1;
    }
    std::size_t limit = ScriptState::kDefaultMemoryLimit;
    if (const ScriptState* owner = ScriptState::FromLua(L)) limit = owner->MemoryLimit();
    if (count > static_cast<lua_Number>(limit / length)) return luaL_error(L, "resulting string too large");
    const auto times = static_cast<std::size_t>(count);
    luaL_Buffer buffer;
    luaL_buffinit(L, &buffer);
    for (std::size_t i = 0; i < times; ++i) luaL_addlstring(&buffer, text, length);
    luaL_pushresult(&buffer);
    return 1;
}

void PushLoaded(lua_State* L, const char* name);

// Comparisons between two looks at the clock while sorting.
constexpr lua_Integer kComparisonsPerCheck = 4096;

// The comparison table.sort is given: the script's function (upvalue 1, nil
// for the default order) behind a counter (upvalue 2). Sorting a big table
// runs in C with no hook, for seconds; this asks the deadline as it goes.
int CountedLess(lua_State* L) {
    const lua_Integer count = lua_tointeger(L, lua_upvalueindex(2)) + 1;
    if (count >= kComparisonsPerCheck) {
        ScriptState* owner = ScriptState::FromLua(L);
        if (owner != nullptr && owner->StopIfDue(L)) return luaL_error(L, "sorting stopped");
        lua_pushinteger(L, 0);
    } else {
        lua_pushinteger(L, count);
    }
    lua_replace(L, lua_upvalueindex(2));
    if (lua_isnil(L, lua_upvalueindex(1))) {
        lua_pushboolean(L, lua_lessthan(L, 1, 2));
        return 1;
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, 2, 1);
    return 1;
}

// table.sort(t [, comp]) through Lua's own sort (upvalue 1) with the
// counted comparison.
int SafeSort(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    if (!lua_isnoneornil(L, 2)) luaL_checktype(L, 2, LUA_TFUNCTION);
    lua_settop(L, 2);
    lua_pushinteger(L, 0);
    lua_pushcclosure(L, &CountedLess, 2);  // takes the comparator and the counter
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, 2, 0);
    return 0;
}

void WrapSort(lua_State* L) {
    PushLoaded(L, LUA_TABLIBNAME);
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "sort");
        if (lua_isfunction(L, -1)) {
            lua_pushcclosure(L, &SafeSort, 1);
            lua_setfield(L, -2, "sort");
        } else {
            lua_pop(L, 1);
        }
    }
    lua_pop(L, 1);
}

// Opens one library through its luaopen function, as luaL_openlibs does.
void Open(lua_State* L, const char* name, lua_CFunction open) {
    lua_pushcfunction(L, open);
    lua_pushstring(L, name);
    lua_call(L, 1, 0);
}

// The table the library `name` registered into (package.loaded[name]),
// pushed; nil when there is none.
void PushLoaded(lua_State* L, const char* name) {
    lua_getfield(L, LUA_REGISTRYINDEX, "_LOADED");
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_pushnil(L);
        return;
    }
    lua_getfield(L, -1, name);
    lua_remove(L, -2);
}

void SetField(lua_State* L, const char* library, const char* key, lua_CFunction function) {
    PushLoaded(L, library);
    if (lua_istable(L, -1)) {
        if (function != nullptr) {
            lua_pushcfunction(L, function);
        } else {
            lua_pushnil(L);
        }
        lua_setfield(L, -2, key);
    }
    lua_pop(L, 1);
}

}  // namespace

int OpenScriptLibraries(lua_State* L) {
    Open(L, "", luaopen_base);  // with coroutine
    Open(L, LUA_TABLIBNAME, luaopen_table);
    Open(L, LUA_STRLIBNAME, luaopen_string);
    Open(L, LUA_MATHLIBNAME, luaopen_math);
    Open(L, LUA_OSLIBNAME, luaopen_os);
    // The base library registers into the globals it was first opened in.
    for (const char* name : kRemovedBase) SetField(L, "_G", name, nullptr);
    SetField(L, "_G", "load", &SafeLoad);
    SetField(L, "_G", "loadstring", &SafeLoadString);
    for (const char* name : kRemovedOs) SetField(L, LUA_OSLIBNAME, name, nullptr);
    SetField(L, LUA_STRLIBNAME, "rep", &SafeRep);
    PushLoaded(L, LUA_STRLIBNAME);
    if (lua_istable(L, -1)) InstallSafePatterns(L);
    lua_pop(L, 1);
    WrapSort(L);
    return 0;
}
