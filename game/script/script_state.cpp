#include "script/script_state.h"

#include "script/script_libraries.h"
#include "shared/gbk.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// Checks of the clock from the allocator come after this many bytes.
constexpr std::size_t kAllocationCheckBytes = 256u * 1024;

// The stop messages (GBK).
const std::string& StopMessage(ScriptState::Stop stop) {
    return stop == ScriptState::Stop::Time ? gbk::Lit("脚本运行超出时间上限,已被中止")
                                           : gbk::Lit("脚本运行超出指令上限,已被中止");
}

std::string TextAt(lua_State* L, int index, std::size_t maxBytes = std::string::npos) {
    const int type = lua_type(L, index);
    if (type != LUA_TSTRING && type != LUA_TNUMBER) return {};
    std::size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    if (text == nullptr) return {};
    if (length <= maxBytes) return std::string(text, length);
    // Cut at a character boundary: walk whole characters up to the limit.
    const std::string_view all(text, length);
    std::size_t end = 0;
    while (end < length) {
        const std::size_t next = end + gbk::CharLength(all, end);
        if (next > maxBytes) break;
        end = next;
    }
    return std::string(text, end);
}

}  // namespace

// Lua 5.1 runs the finalisers (__gc) of unreachable userdata from whatever
// allocation makes the collector step. An error raised by one there ends the
// process when no protected call is running (Lua's panic), and jumps over the
// C++ frames of a command when one is. So the collector is stopped while the
// host works on a stack outside a protected call, and while a command runs;
// the next step, inside a protected call, runs the finalisers. For the same
// reason no allocation fails meanwhile.
class ScriptState::HostWork {
public:
    explicit HostWork(ScriptState& state) : m_state(state) {
        ++m_state.m_hostDepth;
        lua_gc(m_state.m_L, LUA_GCSTOP, 0);
    }
    ~HostWork() {
        lua_gc(m_state.m_L, LUA_GCRESTART, 0);
        --m_state.m_hostDepth;
    }
    HostWork(const HostWork&) = delete;
    HostWork& operator=(const HostWork&) = delete;

private:
    ScriptState& m_state;
};

ScriptState::ScriptState(MessageBoxFn messageBox)
    : m_messageBox(std::move(messageBox)), m_defaultCaption(gbk::Lit("提示")) {}

ScriptState::~ScriptState() { Close(); }

bool ScriptState::RunText(std::string_view text) {
    if (m_L == nullptr) return false;
    if (Interrupted()) {
        m_stop = Stop::Interrupted;
        return false;
    }
    const void* letters = EnterGbkLetters();
    const bool ok = RunChunk(text);
    LeaveGbkLetters(letters);
    return ok;
}

bool ScriptState::RunChunk(std::string_view text) {
    lua_State* L = m_L;
    const int base = lua_gettop(L);

    // Reopening the libraries writes into tables scripts can reach and give
    // metatables, so it runs protected and bounded, as a run of its own; a
    // failure leaves them as the scripts made them and the chunk still runs.
    BeginRun();
    if (lua_cpcall(L, &ScriptState::OpenLibraries, nullptr) != 0) lua_pop(L, 1);
    EndRun();

    // Loading and running are one run: one budget, one deadline.
    BeginRun();
    int status = LUA_ERRSYNTAX;
    // Precompiled chunks are refused: Lua 5.1 does not check their code.
    const bool binary = !text.empty() && text.front() == LUA_SIGNATURE[0];
    if (binary) {
        const HostWork host(*this);
        lua_pushstring(L, gbk::Lit("不接受预编译的脚本").c_str());
    } else {
        // The text doubles as the chunk name, as luaL_loadstring would have
        // it; loading by length keeps a stray NUL from cutting the chunk short.
        const std::string chunk(text);
        status = luaL_loadbuffer(L, chunk.data(), chunk.size(), chunk.c_str());
    }
    if (status != 0) {
        EndRun();
        const std::string message = lua_gettop(L) > base ? TextAt(L, -1) : std::string();
        lua_settop(L, base);
        ReportRun(status, message, gbk::Lit("脚本错误"));
        return false;
    }

    // A fresh thread per chunk: a runtime error kills only that thread, and
    // the registry reference keeps it alive while it runs.
    lua_State* thread = nullptr;
    int ref = LUA_NOREF;
    {
        const HostWork host(*this);
        thread = lua_newthread(L);
        ref = luaL_ref(L, LUA_REGISTRYINDEX);
        lua_xmove(L, thread, 1);
    }
    status = lua_resume(thread, 0);
    EndRun();
    std::string message;
    {
        // An error value that is a number becomes a new string here.
        const HostWork host(*this);
        if (status != 0 && lua_gettop(thread) >= 1) message = TextAt(thread, -1);
        lua_settop(thread, 0);
        luaL_unref(L, LUA_REGISTRYINDEX, ref);
        lua_settop(L, base);
    }
    if (status != 0) {
        ReportRun(status, message, gbk::Lit("运行时出错"));
        return false;
    }
    return true;
}

void ScriptState::Create() {
    if (m_L != nullptr) return;
    m_memoryUsed = 0;
    m_L = lua_newstate(&ScriptState::Allocate, this);
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
    if (Interrupted()) {
        m_stop = Stop::Interrupted;
        if (argumentCount >= 0) Pop(argumentCount + 1);
        return false;
    }
    if (argumentCount >= 0 && lua_gettop(L) > argumentCount) {
        const void* letters = EnterGbkLetters();
        BeginRun();
        status = lua_pcall(L, argumentCount, resultCount, 0);
        EndRun();
        LeaveGbkLetters(letters);
        if (status != 0) lua_pop(L, 1);
    }
    if (status != 0) {
        if (m_stop == Stop::Interrupted) return false;  // the game is ending
        // A stopped call's error may have become a memory error on its way.
        if (m_stop != Stop::None) status = LUA_ERRRUN;
        ShowMessage(gbk::Lit("LUA_运行时错误\r\n") + StatusName(status), m_defaultCaption);
        return false;
    }
    return true;
}

void ScriptState::GetGlobal(const std::string& name) {
    lua_State* L = Current();
    if (L == nullptr) return;
    const HostWork host(*this);
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
    return index != 0 ? TextAt(Current(), index, kMaxTextBytes) : std::string();
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
        const HostWork host(*this);
        lua_pushcfunction(L, &ScriptState::CallNamedGlobal);
        lua_pushlstring(L, name.data(), name.size());
    }
    return ProtectedCall(1, 0);
}

int ScriptState::OpenLibraries(lua_State* L) { return OpenScriptLibraries(L); }

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

void ScriptState::ShowMessage(const std::string& gbkText, const std::string& gbkCaption) {
    const Clock::time_point shown = Clock::now();
    if (m_messageBox) {
        m_messageBox(gbkText, gbkCaption);
    } else {
        std::cerr << gbk::ToUtf8(gbkCaption) << ": " << gbk::ToUtf8(gbkText) << '\n';
    }
    // The time the player spends reading a box ("msg") is not the script's.
    if (m_runDepth > 0 && !m_batchDeadline) m_deadline += Clock::now() - shown;
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
    // A command can take long (a long text, a box), and a loop of commands
    // runs few instructions: the clock is looked at after every command, and
    // a script whose time is up stops at its next instruction.
    if (CheckStop() != Stop::None) StopAtNextInstruction(L);
    // The step the command's allocations put off, taken now that the command
    // is done: a loop of commands that allocates nothing in Lua would
    // otherwise never collect. A finaliser's error raised here leaves no
    // C++ object behind.
    lua_gc(L, LUA_GCRESTART, 0);
    lua_gc(L, LUA_GCSTEP, 0);
}

bool ScriptState::StopIfDue(lua_State* L) {
    if (CheckStop() == Stop::None) return false;
    StopAtNextInstruction(L);
    return true;
}

void ScriptState::BeginBatch(std::chrono::milliseconds total) { m_batchDeadline = Clock::now() + total; }

void ScriptState::EndBatch() { m_batchDeadline.reset(); }

void ScriptState::ReportRun(int status, const std::string& message, const std::string& caption) {
    switch (m_stop) {
    case Stop::None: Report(status, message, caption); break;
    // The error that stopped the run may have become a memory error on
    // its way (nothing is allocated once a run has to stop).
    case Stop::Budget:
    case Stop::Time: Report(LUA_ERRRUN, StopMessage(m_stop), caption); break;
    case Stop::Interrupted: std::cerr << "script stopped: the game is ending\n"; break;
    }
}

void ScriptState::Report(int status, const std::string& message, const std::string& caption) {
    ShowMessage(StatusName(status) + gbk::Lit(",错误码 ==") + message, caption);
}

void ScriptState::BeginRun() {
    if (m_runDepth++ > 0) return;
    m_used = 0;
    m_stop = Stop::None;
    m_allocatedSinceCheck = 0;
    m_deadline = m_batchDeadline ? *m_batchDeadline : Clock::now() + m_timeLimit;
}

void ScriptState::EndRun() {
    if (m_runDepth > 0) --m_runDepth;
    // A stopped protected call leaves the main thread hooked at every
    // instruction; back to the normal interval for the next run.
    if (m_runDepth == 0 && m_L != nullptr) lua_sethook(m_L, &ScriptState::CountHook, LUA_MASKCOUNT, kHookInterval);
}

ScriptState::Stop ScriptState::CheckStop() {
    if (m_runDepth == 0 || m_stop != Stop::None) return m_stop;
    if (Interrupted()) {
        m_stop = Stop::Interrupted;
    } else if (m_used > m_budget) {
        m_stop = Stop::Budget;
    } else if (Clock::now() >= m_deadline) {
        m_stop = Stop::Time;
    }
    return m_stop;
}

void ScriptState::StopAtNextInstruction(lua_State* L) { lua_sethook(L, &ScriptState::CountHook, LUA_MASKCOUNT, 1); }

void ScriptState::CountHook(lua_State* L, lua_Debug* /*debug*/) {
    ScriptState* owner = FromLua(L);
    if (owner == nullptr || owner->m_runDepth == 0) return;
    if (owner->m_stop == Stop::None && lua_gethookcount(L) != kHookInterval) {
        // A thread left stopping by an earlier run (a coroutine kept in a
        // global): back to the normal interval.
        lua_sethook(L, &ScriptState::CountHook, LUA_MASKCOUNT, kHookInterval);
        return;
    }
    owner->m_used += kHookInterval;
    if (owner->CheckStop() == Stop::None) return;
    // Stopped: from now on this thread stops at every instruction, so a
    // script that catches the error with pcall is stopped again at once, and
    // the error climbs out of every pcall to the top of the chunk.
    StopAtNextInstruction(L);
    // Inside a command (Lua code run by the collector, say) a Lua error
    // would jump over C++ frames; the next hook outside raises it instead.
    if (owner->m_commandDepth == 0) luaL_error(L, "%s", StopMessage(owner->m_stop).c_str());
}

void* ScriptState::Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize) {
    auto* owner = static_cast<ScriptState*>(self);
    if (newSize == 0) {
        std::free(block);
        owner->m_memoryUsed -= std::min(oldSize, owner->m_memoryUsed);
        return nullptr;
    }
    if (newSize > oldSize && owner->RefusesGrowth(newSize - oldSize)) return nullptr;
    void* grown = std::realloc(block, newSize);
    if (grown == nullptr) return newSize <= oldSize ? block : nullptr;
    owner->m_memoryUsed = owner->m_memoryUsed - std::min(oldSize, owner->m_memoryUsed) + newSize;
    return grown;
}

bool ScriptState::RefusesGrowth(std::size_t bytes) {
    // Outside a run, inside a command and in the host's own work a failed
    // allocation would raise an error where none may be raised; a command
    // pushes at most one short value, so the limit holds within a little.
    if (m_runDepth == 0 || m_commandDepth > 0 || m_hostDepth > 0) return false;
    if (m_stop != Stop::None) return true;
    if (bytes > m_memoryLimit || m_memoryUsed > m_memoryLimit - bytes) return true;
    // Long string work runs few instructions; the allocations tell the time.
    m_allocatedSinceCheck += bytes;
    if (m_allocatedSinceCheck < kAllocationCheckBytes) return false;
    m_allocatedSinceCheck = 0;
    return CheckStop() != Stop::None;
}
