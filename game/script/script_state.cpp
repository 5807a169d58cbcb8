#include "script/script_state.h"

#include "shared/gbk.h"

#include <cmath>
#include <iostream>

#if defined(__GLIBC__)
#include <ctype.h>

#include <array>
#endif

namespace {

#if defined(__GLIBC__)
// Lua's lexer takes identifier letters from <ctype.h>, and no locale we can
// count on calls the bytes of GBK characters letters, so the command names
// ("初始物品") would not lex as names. While this thread runs Lua, its
// classification table is swapped for a copy in which every byte from 0x80
// to 0xFE is a letter; the previous table is put back afterwards.
class GbkLetters {
public:
    GbkLetters() {
        const unsigned short* current = *__ctype_b_loc();
        // The table is indexed from -128 (signed chars) to 255.
        for (int c = -128; c < 256; ++c) m_table[static_cast<std::size_t>(c + 128)] = current[c];
        const unsigned short letter = _ISalpha | _ISalnum | _ISprint | _ISgraph;
        // 0x80..0xFE; 0xFF stays out, as its signed twin -1 is EOF.
        for (int c = 0x80; c < 0xFF; ++c) {
            m_table[static_cast<std::size_t>(c + 128)] |= letter;
            m_table[static_cast<std::size_t>(c - 256 + 128)] |= letter;
        }
    }
    const unsigned short* Install() const {
        const unsigned short* previous = *__ctype_b_loc();
        *__ctype_b_loc() = m_table.data() + 128;
        return previous;
    }
    static void Restore(const unsigned short* previous) { *__ctype_b_loc() = previous; }

private:
    std::array<unsigned short, 384> m_table{};
};

const GbkLetters kGbkLetters;

const void* EnterGbkLetters() { return kGbkLetters.Install(); }
void LeaveGbkLetters(const void* previous) { GbkLetters::Restore(static_cast<const unsigned short*>(previous)); }
#else
const void* EnterGbkLetters() { return nullptr; }
void LeaveGbkLetters(const void*) {}
#endif

// Registry key under which a Lua state remembers its ScriptState.
const char kOwnerKey = 0;

// The count hook runs every this many instructions; the budget is checked
// there, so it is enforced to within one interval.
constexpr int kHookInterval = 10000;

// Lua 5.1 runs the finalisers (__gc) of unreachable userdata from whatever
// allocation makes the collector step. An error raised by one there ends the
// process when no protected call is running (Lua's panic), and jumps over the
// C++ frames of a command when one is. So the collector is stopped while the
// host works on a stack outside a protected call, and while a command runs;
// the next step, inside a protected call, runs the finalisers.
class CollectorPause {
public:
    explicit CollectorPause(lua_State* L) : m_L(L) { lua_gc(m_L, LUA_GCSTOP, 0); }
    ~CollectorPause() { lua_gc(m_L, LUA_GCRESTART, 0); }
    CollectorPause(const CollectorPause&) = delete;
    CollectorPause& operator=(const CollectorPause&) = delete;

private:
    lua_State* m_L;
};

std::string TextAt(lua_State* L, int index) {
    const int type = lua_type(L, index);
    if (type != LUA_TSTRING && type != LUA_TNUMBER) return {};
    std::size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    return text != nullptr ? std::string(text, length) : std::string();
}

}  // namespace

ScriptState::ScriptState(MessageBoxFn messageBox)
    : m_messageBox(std::move(messageBox)), m_defaultCaption(gbk::Lit("提示")) {}

ScriptState::~ScriptState() { Close(); }

bool ScriptState::RunText(std::string_view text) {
    if (m_L == nullptr) return false;
    const void* letters = EnterGbkLetters();
    const bool ok = RunChunk(text);
    LeaveGbkLetters(letters);
    return ok;
}

bool ScriptState::RunChunk(std::string_view text) {
    lua_State* L = m_L;
    const int base = lua_gettop(L);

    // The text doubles as the chunk name, as luaL_loadstring would have it;
    // loading by length keeps a stray NUL from cutting the chunk short.
    const std::string chunk(text);
    int status = luaL_loadbuffer(L, chunk.data(), chunk.size(), chunk.c_str());
    // Reopening the libraries writes into tables scripts can reach and give
    // metatables, so it runs protected and counted; a failure leaves them
    // as the scripts made them and the chunk still runs.
    BeginRun();
    if (lua_cpcall(L, &ScriptState::OpenLibraries, nullptr) != 0) lua_pop(L, 1);
    EndRun();
    if (status != 0) {
        const std::string message = lua_gettop(L) > base ? TextAt(L, -1) : std::string();
        lua_settop(L, base);
        Report(status, message, gbk::Lit("脚本错误"));
        return false;
    }

    // A fresh thread per chunk: a runtime error kills only that thread, and
    // the registry reference keeps it alive while it runs.
    lua_State* thread = nullptr;
    int ref = LUA_NOREF;
    {
        const CollectorPause pause(L);
        thread = lua_newthread(L);
        ref = luaL_ref(L, LUA_REGISTRYINDEX);
        lua_xmove(L, thread, 1);
    }
    BeginRun();
    status = lua_resume(thread, 0);
    EndRun();
    std::string message;
    {
        // An error value that is a number becomes a new string here.
        const CollectorPause pause(L);
        if (status != 0 && lua_gettop(thread) >= 1) message = TextAt(thread, -1);
        lua_settop(thread, 0);
        luaL_unref(L, LUA_REGISTRYINDEX, ref);
        lua_settop(L, base);
    }
    if (status != 0) {
        Report(status, message, gbk::Lit("运行时出错"));
        return false;
    }
    return true;
}

void ScriptState::Create() {
    if (m_L != nullptr) return;
    m_L = luaL_newstate();
    if (m_L == nullptr) return;
    lua_pushlightuserdata(m_L, const_cast<char*>(&kOwnerKey));
    lua_pushlightuserdata(m_L, this);
    lua_rawset(m_L, LUA_REGISTRYINDEX);
    // Threads inherit the hook of the thread that creates them, so chunks
    // and the coroutines they start are all counted.
    lua_sethook(m_L, &ScriptState::CountHook, LUA_MASKCOUNT, kHookInterval);
}

void ScriptState::Close() {
    if (m_L == nullptr) return;
    lua_close(m_L);
    m_L = nullptr;
    m_active = nullptr;
}

bool ScriptState::ProtectedCall(int argumentCount, int resultCount) {
    lua_State* L = Current();
    if (L == nullptr) return false;
    int status = LUA_ERRRUN;
    if (argumentCount >= 0 && lua_gettop(L) > argumentCount) {
        const void* letters = EnterGbkLetters();
        BeginRun();
        status = lua_pcall(L, argumentCount, resultCount, 0);
        EndRun();
        LeaveGbkLetters(letters);
        if (status != 0) lua_pop(L, 1);
    }
    if (status != 0) {
        ShowMessage(gbk::Lit("LUA_运行时错误\r\n") + StatusName(status), m_defaultCaption);
        return false;
    }
    return true;
}

void ScriptState::GetGlobal(const std::string& name) {
    lua_State* L = Current();
    if (L == nullptr) return;
    const CollectorPause pause(L);
    lua_pushlstring(L, name.data(), name.size());
    lua_gettable(L, LUA_GLOBALSINDEX);
}

void ScriptState::Register(const std::string& name, lua_CFunction function) {
    if (m_L == nullptr) return;
    lua_pushlstring(m_L, name.data(), name.size());
    lua_pushcclosure(m_L, function, 0);
    lua_settable(m_L, LUA_GLOBALSINDEX);
}

void ScriptState::Pop(int n) {
    lua_State* L = Current();
    if (L == nullptr || n <= 0) return;
    const int height = lua_gettop(L);
    lua_settop(L, n >= height ? 0 : -n - 1);
}

const std::string& ScriptState::StatusName(int code) {
    switch (code) {
    case 0: return gbk::Lit("没有错误！");
    case LUA_ERRRUN: return gbk::Lit("运行错误！");
    case LUA_ERRSYNTAX: return gbk::Lit("预编译时句法错误！");
    case LUA_ERRMEM: return gbk::Lit("内存分配错误！");
    case LUA_ERRERR: return gbk::Lit("LUA_ERRERR！");
    default: return gbk::Lit("未知返回类型!");
    }
}

int ScriptState::IndexOf(int n) const {
    lua_State* L = Current();
    if (L == nullptr || n < 1 || n > lua_gettop(L)) return 0;
    return -n;
}

double ScriptState::ToNumber(int n) const {
    const int index = IndexOf(n);
    return index != 0 ? static_cast<double>(lua_tonumber(Current(), index)) : 0.0;
}

int ScriptState::ToInt(int n) const { return TruncateToInt(ToNumber(n)); }

lua_CFunction ScriptState::ToCFunction(int n) const {
    const int index = IndexOf(n);
    return index != 0 ? lua_tocfunction(Current(), index) : nullptr;
}

bool ScriptState::ToBoolean(int n) const {
    const int index = IndexOf(n);
    return index != 0 && lua_toboolean(Current(), index) != 0;
}

std::string ScriptState::ToText(int n) const {
    const int index = IndexOf(n);
    return index != 0 ? TextAt(Current(), index) : std::string();
}

int ScriptState::StackHeight() const {
    lua_State* L = Current();
    return L != nullptr ? lua_gettop(L) : 0;
}

void ScriptState::PushText(std::string_view text) {
    if (lua_State* L = Current()) lua_pushlstring(L, text.data(), text.size());
}

void ScriptState::PushCFunction(lua_CFunction function) {
    if (lua_State* L = Current()) lua_pushcclosure(L, function, 0);
}

void ScriptState::PushBoolean(bool value) {
    if (lua_State* L = Current()) lua_pushboolean(L, value ? 1 : 0);
}

void ScriptState::PushNumber(double value) {
    if (lua_State* L = Current()) lua_pushnumber(L, static_cast<lua_Number>(value));
}

void ScriptState::PushNil() {
    if (lua_State* L = Current()) lua_pushnil(L);
}

bool ScriptState::CallGlobal(const std::string& name) {
    lua_State* L = Current();
    if (L == nullptr) return false;
    // The lookup runs inside the protected call too: a metatable on the
    // globals may raise an error or loop, and neither may escape to C++ or
    // run outside the instruction budget.
    {
        const CollectorPause pause(L);
        lua_pushcfunction(L, &ScriptState::CallNamedGlobal);
        lua_pushlstring(L, name.data(), name.size());
    }
    return ProtectedCall(1, 0);
}

int ScriptState::OpenLibraries(lua_State* L) {
    luaL_openlibs(L);
    return 0;
}

int ScriptState::CallNamedGlobal(lua_State* L) {
    lua_gettable(L, LUA_GLOBALSINDEX);  // the name becomes its value
    lua_call(L, 0, 0);
    return 0;
}

std::int32_t ScriptState::TruncateToInt(double value) {
    if (!std::isfinite(value)) return 0;
    const double whole = std::trunc(value);
    if (whole < -9.0e18 || whole > 9.0e18) return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(whole)));
}

void ScriptState::ShowMessage(const std::string& gbkText, const std::string& gbkCaption) const {
    if (m_messageBox) {
        m_messageBox(gbkText, gbkCaption);
    } else {
        std::cerr << gbk::ToUtf8(gbkCaption) << ": " << gbk::ToUtf8(gbkText) << '\n';
    }
}

ScriptState* ScriptState::FromLua(lua_State* L) {
    if (L == nullptr) return nullptr;
    lua_pushlightuserdata(L, const_cast<char*>(&kOwnerKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    auto* owner = static_cast<ScriptState*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return owner;
}

lua_State* ScriptState::EnterCommand(lua_State* L) {
    lua_State* previous = m_active;
    m_active = L;
    if (m_commandDepth++ == 0) lua_gc(L, LUA_GCSTOP, 0);
    return previous;
}

void ScriptState::LeaveCommand(lua_State* previous) {
    lua_State* L = m_active;
    m_active = previous;
    if (m_commandDepth == 0 || --m_commandDepth > 0 || L == nullptr) return;
    // The step the command's allocations put off, taken now that the command
    // is done: a loop of commands that allocates nothing in Lua would
    // otherwise never collect. A finaliser's error raised here leaves no
    // C++ object behind.
    lua_gc(L, LUA_GCRESTART, 0);
    lua_gc(L, LUA_GCSTEP, 0);
}

void ScriptState::Report(int status, const std::string& message, const std::string& caption) const {
    ShowMessage(StatusName(status) + gbk::Lit(",错误码 ==") + message, caption);
}

void ScriptState::BeginRun() {
    if (m_runDepth++ == 0) m_used = 0;
}

void ScriptState::EndRun() {
    if (m_runDepth > 0) --m_runDepth;
    // A stopped protected call leaves the main thread hooked at every
    // instruction; back to the normal interval for the next run.
    if (m_runDepth == 0 && m_L != nullptr) lua_sethook(m_L, &ScriptState::CountHook, LUA_MASKCOUNT, kHookInterval);
}

void ScriptState::CountHook(lua_State* L, lua_Debug* /*debug*/) {
    ScriptState* owner = FromLua(L);
    if (owner == nullptr || owner->m_runDepth == 0) return;
    owner->m_used += kHookInterval;
    // Inside a command (Lua code run by the collector, say) a Lua error
    // would jump over C++ frames; the next hook outside raises it instead.
    if (owner->m_used <= owner->m_budget) return;
    // Over budget: from now on this thread stops at every instruction, so a
    // script that catches the error with pcall is stopped again at once, and
    // the error climbs out of every pcall to the top of the chunk.
    lua_sethook(L, &ScriptState::CountHook, LUA_MASKCOUNT, 1);
    if (owner->m_commandDepth == 0) luaL_error(L, "%s", gbk::Lit("脚本运行超出指令上限,已被中止").c_str());
}
