#pragma once
// The script command set: the host functions scripts call, registered as
// global Lua functions by their GBK names.
//
// Each command reads its arguments by position from the top of the stack
// (the last argument is position 1), so a call with a missing leading
// argument shifts every argument; numbers are truncated toward zero,
// non-numbers read 0 and non-texts read as the empty text. No command raises
// a Lua error. A command returns nothing or exactly one value.
//
// Commands reach the game through the ScriptContext of the state they were
// registered in (ScriptState::SetCommandContext): the data tables and NPC
// state records, the game's one random generator and the ScriptServices.

#include <lua.hpp>

#include <span>

class DataTables;
class ItemTemplates;
class Random;
class ScriptServices;
class ScriptState;

struct ScriptContext {
    DataTables* tables = nullptr;
    // The item templates copied into slots; an item without one is refused.
    const ItemTemplates* templates = nullptr;
    Random* random = nullptr;
    ScriptServices* services = nullptr;  // never null while scripts run
};

struct ScriptCommandEntry {
    const char* utf8Name;  // registered as GBK
    lua_CFunction function;
};

// The 38 commands of the main state, in registration order.
std::span<const ScriptCommandEntry> MainStateCommands();
// The 9 commands of the level-up state, in registration order.
std::span<const ScriptCommandEntry> LevelUpStateCommands();

// Registers every entry in `state` (which must be created) in order.
void RegisterCommands(ScriptState& state, std::span<const ScriptCommandEntry> commands);
