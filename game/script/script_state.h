#pragma once
// Owner of one embedded Lua 5.1 state: loading and running script text,
// calling script functions, registering script commands and the stack
// readers and pushers those commands use.
//
// Texts crossing into and out of Lua are GBK byte strings. Script errors are
// never returned as values: they are shown through the message-box callback
// (modal in the game) and the operation reports false.
//
// Every chunk runs on a fresh Lua thread of this state, so globals are shared
// between runs while a runtime error (or a yield) only ends the chunk that
// raised it.
//
// Scripts are untrusted content. Each run (a chunk, or a protected call from
// the host) is bounded three ways: an instruction budget, a wall-clock time
// limit and a limit on the memory the whole state holds. A run past its
// budget or its time is stopped with a Lua error at the next check (every
// few thousand instructions, after every command, every few hundred KiB
// allocated) and reported like any runtime error; an allocation past the
// memory limit fails with Lua's own memory error. Scripts see only the base
// library (without dofile, loadfile and require; load and loadstring take
// text only; no newproxy), string, table, math, coroutine and os.time,
// os.clock, os.date and os.difftime.

#include <lua.hpp>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Shows a modal message box with an OK button. Texts are GBK.
using MessageBoxFn = std::function<void(const std::string& gbkText, const std::string& gbkCaption)>;

class ScriptState {
public:
    // Lua instructions a chunk or a protected call may execute before it is
    // stopped (scripts that loop forever must not freeze the game).
    static constexpr long kDefaultInstructionBudget = 100'000'000;
    // Wall-clock time one run may take (time spent in a "msg" box is not
    // counted).
    static constexpr std::chrono::milliseconds kDefaultTimeLimit{1000};
    // Bytes the whole state may hold.
    static constexpr std::size_t kDefaultMemoryLimit = 64u * 1024 * 1024;
    // Texts the stack readers hand to the game are cut to this many bytes
    // (at a character boundary): no command needs more, and a command's cost
    // must not grow with a text a script made.
    static constexpr std::size_t kMaxTextBytes = 4096;

    // Why the current (or last) run was stopped.
    enum class Stop { None, Budget, Time, Interrupted };

    // The state is not created yet; call Create().
    explicit ScriptState(MessageBoxFn messageBox = {});
    ~ScriptState();  // closes the Lua state
    ScriptState(const ScriptState&) = delete;
    ScriptState& operator=(const ScriptState&) = delete;

    // Loads `text` (GBK) as one chunk, opens the standard libraries again
    // (protected: a script that broke them cannot stop this), and runs the
    // chunk with no arguments. A syntax error is shown as
    // <status name>",错误码 =="<Lua message> with the caption "脚本错误";
    // a runtime error, a yield at top level or a stopped runaway chunk the
    // same way with the caption "运行时出错" (a run stopped by its budget or
    // its time with the stop message as the Lua message). A precompiled
    // chunk is refused like a syntax error. Returns true on success. An
    // empty text runs and succeeds. False without a message when the state
    // was never created, or when the interrupt says the game is ending.
    bool RunText(std::string_view text);

    // Creates the Lua state (does nothing when it exists).
    void Create();
    // Closes the Lua state; the game never does this.
    void Close();

    // lua_pcall with no error handler of the function below `argumentCount`
    // arguments on the stack. On failure the error value is popped and
    // "LUA_运行时错误\r\n" + status name is shown with the default caption.
    bool ProtectedCall(int argumentCount, int resultCount);

    // Pushes the global of that name (nil when undefined). The lookup is not
    // protected: a metatable a script put on the globals runs here and its
    // errors are not caught, so the game calls functions through CallGlobal.
    void GetGlobal(const std::string& name);
    // Makes `function` the global function `name` (no upvalues).
    void Register(const std::string& name, lua_CFunction function);
    // Pops n values (never below the bottom of the stack).
    void Pop(int n);

    // Name of a Lua 5.1 status code: 0 "没有错误！", 2 "运行错误！",
    // 3 "预编译时句法错误！", 4 "内存分配错误！", 5 "LUA_ERRERR！",
    // anything else (a yield included) "未知返回类型!". GBK.
    static const std::string& StatusName(int code);

    // Stack readers. n counts from the top of the stack: 1 is the top (the
    // last argument of a command). A position beyond the stack height reads
    // as none: 0, nullptr, false, empty text.
    double ToNumber(int n) const;          // non-numbers read 0
    int ToInt(int n) const;                // ToNumber truncated toward zero
    lua_CFunction ToCFunction(int n) const;
    bool ToBoolean(int n) const;
    // Strings and numbers, cut to kMaxTextBytes; anything else "".
    std::string ToText(int n) const;

    int StackHeight() const;

    // Type tests on a stack index of any Lua state (Lua's own index, not n).
    static bool IsFunction(lua_State* L, int index) { return lua_type(L, index) == LUA_TFUNCTION; }
    static bool IsTable(lua_State* L, int index) { return lua_type(L, index) == LUA_TTABLE; }
    static bool IsLightUserData(lua_State* L, int index) { return lua_type(L, index) == LUA_TLIGHTUSERDATA; }
    static bool IsNil(lua_State* L, int index) { return lua_type(L, index) == LUA_TNIL; }
    static bool IsBoolean(lua_State* L, int index) { return lua_type(L, index) == LUA_TBOOLEAN; }
    static bool IsNone(lua_State* L, int index) { return lua_type(L, index) == LUA_TNONE; }
    static bool IsNoneOrNil(lua_State* L, int index) { return lua_type(L, index) <= 0; }

    // Stack pushers.
    void PushText(std::string_view text);
    void PushCFunction(lua_CFunction function);
    void PushBoolean(bool value);
    void PushNumber(double value);
    void PushNil();

    // --- beyond the basic operations ---------------------------------------

    // Looks the global up and calls it with no arguments, both inside one
    // protected call: how a dialog choice calls the function it names. An
    // undefined name, or a failing lookup, fails like a failing call.
    bool CallGlobal(const std::string& name);

    // Truncates toward zero into a signed 32-bit value; values outside the
    // range wrap modulo 2^32 (so 0xFFFF0000 written as a positive number is
    // the colour it looks like); NaN and huge values give 0.
    static std::int32_t TruncateToInt(double value);

    // Shows a message box through the callback (used by "msg").
    void ShowMessage(const std::string& gbkText, const std::string& gbkCaption);
    void SetMessageBox(MessageBoxFn messageBox) { m_messageBox = std::move(messageBox); }
    // Caption of a failed protected call (GBK).
    void SetDefaultCaption(std::string gbkCaption) { m_defaultCaption = std::move(gbkCaption); }
    void SetInstructionBudget(long instructions) { m_budget = instructions; }
    void SetTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }
    void SetMemoryLimit(std::size_t bytes) { m_memoryLimit = bytes; }
    std::size_t MemoryLimit() const { return m_memoryLimit; }
    std::size_t MemoryInUse() const { return m_memoryUsed; }

    // Until EndBatch, every run shares one deadline `total` from now (the
    // data tables at loading share one) instead of a time limit each.
    void BeginBatch(std::chrono::milliseconds total);
    void EndBatch();

    // Asked at every check while a run is going on: true stops the run at
    // once without a message box and refuses later runs (the game is ending).
    // Must be cheap.
    void SetInterrupt(std::function<bool()> interrupt) { m_interrupt = std::move(interrupt); }

    // For library functions that run long in C (pattern matching, sorting):
    // true when the running script has to stop, and then `L` stops at its
    // next instruction too, so a pcall that catches the function's error does
    // not let the script go on. The function raises a Lua error next.
    bool StopIfDue(lua_State* L);
    // Why the last run was stopped (None when it was not).
    Stop LastStop() const { return m_stop; }

    // An opaque pointer the registered commands find their game objects by.
    void SetCommandContext(void* context) { m_commandContext = context; }
    void* CommandContext() const { return m_commandContext; }

    // The ScriptState that owns a Lua state or any of its threads, or
    // nullptr for a foreign one.
    static ScriptState* FromLua(lua_State* L);

    // A command runs on the Lua thread that called it: between these two
    // calls the readers and pushers work on `L`. Enter returns the previous
    // thread, to hand back to Leave (commands may nest).
    // The garbage collector is stopped from the outermost Enter to its Leave,
    // so no finaliser (Lua code) runs inside a command; the outermost Leave
    // restarts it (also after a script's collectgarbage("stop")) and takes
    // one step, where a finaliser's error is raised as a Lua error: call it
    // last, with no C++ object alive in the calling frames. It also looks at
    // the clock: a run whose time is up stops at its next instruction.
    lua_State* EnterCommand(lua_State* L);
    void LeaveCommand(lua_State* previous);

    lua_State* lua() const { return m_L; }

private:
    using Clock = std::chrono::steady_clock;

    bool RunChunk(std::string_view text);
    lua_State* Current() const { return m_active != nullptr ? m_active : m_L; }
    // Lua's index of position n, or 0 when n is not on the stack.
    int IndexOf(int n) const;
    void Report(int status, const std::string& message, const std::string& caption);
    void BeginRun();
    void EndRun();
    // The stop reason of the running run, updated from the clock, the budget
    // and the interrupt.
    Stop CheckStop();
    bool Interrupted() const { return m_interrupt && m_interrupt(); }
    // Makes `L` stop at its next instruction (the hook raises the error).
    static void StopAtNextInstruction(lua_State* L);
    // Reports a failed run: a stopped run with its stop message, an
    // interrupted one on stderr only.
    void ReportRun(int status, const std::string& message, const std::string& caption);
    static void CountHook(lua_State* L, lua_Debug* debug);
    // Lua's allocator: keeps the state under its memory limit and fails
    // allocations of a run that has to stop.
    static void* Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize);
    bool RefusesGrowth(std::size_t bytes);
    // Called protected with a name on the stack: calls the global of that name.
    static int CallNamedGlobal(lua_State* L);
    // Called protected: opens the libraries scripts may use.
    static int OpenLibraries(lua_State* L);

    // Host work on a stack outside any protected call: the collector is
    // stopped and allocations never fail (a Lua error there would end the
    // process).
    class HostWork;

    lua_State* m_L = nullptr;
    lua_State* m_active = nullptr;  // thread of the running command
    MessageBoxFn m_messageBox;
    std::string m_defaultCaption;
    void* m_commandContext = nullptr;
    long m_budget = kDefaultInstructionBudget;
    long m_used = 0;
    int m_runDepth = 0;
    int m_commandDepth = 0;
    int m_hostDepth = 0;  // host work outside protection: allocations never fail
    Stop m_stop = Stop::None;
    std::chrono::milliseconds m_timeLimit = kDefaultTimeLimit;
    std::optional<Clock::time_point> m_batchDeadline;
    Clock::time_point m_deadline{};
    std::function<bool()> m_interrupt;
    std::size_t m_memoryLimit = kDefaultMemoryLimit;
    std::size_t m_memoryUsed = 0;
    std::size_t m_allocatedSinceCheck = 0;
};
