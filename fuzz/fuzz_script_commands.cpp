// Fuzzer bytes -> a Lua chunk that calls the script commands by their GBK
// names with arguments of every kind (nil, booleans, small, huge, negative and
// non-finite numbers, numeric texts, long and invalid GBK texts, tables,
// functions, commands, threads, userdata, results of other commands), plus
// loops, protected calls, coroutines, finalizers, endless loops and loops that
// grow a text until the state's memory limit stops them. The chunk
// runs in the main state and in the level-up state of a fresh ScriptRuntime.
//
// Properties checked besides "no crash, no leak, no hang": every slot a
// command hands to the services is in range, every item put into a slot is a
// copy of its template, and both Lua stacks are empty after every run.
//
// Setting FUZZ_SCRIPT_PRINT=1 prints the generated chunks (to reproduce a
// finding as a test).

#include "core/random.h"
#include "gameplay/item_templates.h"
#include "script/script_commands.h"
#include "script/script_runtime.h"
#include "script/script_services.h"
#include "script/script_state.h"
#include "shared/gbk.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, long value) {
    std::fprintf(stderr, "fuzz_script_commands: %s (%ld)\n", what, value);
    std::abort();
}

void CheckSlot(int slot, int count, const char* what) {
    if (slot < 1 || slot > count) Fail(what, slot);
}

// Services that keep a bounded copy of what the commands change, so later
// commands read back what earlier ones wrote, and that refuse anything the
// commands promise never to pass.
class RecordingServices : public ScriptServices {
public:
    explicit RecordingServices(const ItemTemplates& templates) : m_templates(templates) {}

    void SetDialogChoices(const std::vector<ScriptChoice>& choices) override { m_choices = choices.size(); }
    void CloseDialog() override { m_dialogOpen = false; }
    void SetDialogPrompt(const std::string& text) override { Keep(text); }
    void AddChatLine(const std::string& label, const std::string& text, std::uint32_t, bool, std::uint32_t,
                     bool) override {
        Keep(label);
        Keep(text);
    }
    void AddBanner(const std::string& text, std::uint32_t) override { Keep(text); }
    void AddNotice(const std::string& text, std::uint32_t) override { Keep(text); }
    void ShowWindow(const std::string& windowName) override { Keep(windowName); }

    std::string PlayerName() const override { return gbk::Lit("勇者"); }
    int PlayerValue(PlayerAttribute attribute) const override {
        switch (attribute) {
        case PlayerAttribute::Level: return m_level;
        case PlayerAttribute::Gold: return m_gold;
        case PlayerAttribute::Experience: return m_experience;
        default: return static_cast<int>(attribute) * 3;
        }
    }
    void SetPlayerLevel(int level) override { m_level = level; }
    void SetPlayerGold(int gold) override { m_gold = gold; }
    void AddExperience(int amount) override {
        const long long sum = static_cast<long long>(m_experience) + amount;
        m_experience = static_cast<int>(std::clamp<long long>(sum, INT32_MIN, INT32_MAX));
    }

    int BagItem(int slot) const override {
        CheckSlot(slot, kBagSlots, "bag slot read out of range");
        return m_bag[static_cast<std::size_t>(slot - 1)].itemNumber;
    }
    void SetBagItem(int slot, const ItemRef& item) override {
        CheckSlot(slot, kBagSlots, "bag slot written out of range");
        m_bag[static_cast<std::size_t>(slot - 1)] = CheckedItem(item);
    }
    int ShopItem(int slot) const override {
        CheckSlot(slot, kShopSlots, "shop slot read out of range");
        return m_shop[static_cast<std::size_t>(slot - 1)].itemNumber;
    }
    void SetShopItem(int slot, const ItemRef& item) override {
        CheckSlot(slot, kShopSlots, "shop slot written out of range");
        m_shop[static_cast<std::size_t>(slot - 1)] = CheckedItem(item);
    }
    void SetEquipment(int slot, const ItemRef& item) override {
        CheckSlot(slot, kEquipmentSlots, "equipment slot written out of range");
        m_equipment[static_cast<std::size_t>(slot - 1)] = CheckedItem(item);
    }
    int QuestSlot(int slot) const override {
        CheckSlot(slot, kQuestSlots, "quest slot read out of range");
        return m_quests[static_cast<std::size_t>(slot - 1)];
    }
    void SetQuestSlot(int slot, int questNumber) override {
        CheckSlot(slot, kQuestSlots, "quest slot written out of range");
        m_quests[static_cast<std::size_t>(slot - 1)] = questNumber;
    }
    void SpawnEffect(int mode, int, float, float, int, int, std::uint32_t, bool) override {
        if (mode != 1 && mode != 2) Fail("effect mode", mode);
        ++m_effects;
    }
    void DropItem(const std::string& itemName, float, float, int, int) override { Keep(itemName); }

private:
    // Only a template's copy (or nothing) may go into a slot.
    ItemRef CheckedItem(const ItemRef& item) const {
        if (item.itemNumber == 0) return item;
        const ItemRef* original = m_templates.Item(item.itemNumber);
        if (original == nullptr) Fail("item without a template put into a slot", item.itemNumber);
        if (original->icon != item.icon) Fail("item differs from its template", item.itemNumber);
        return item;
    }
    void Keep(const std::string& text) {
        m_lastText = text.substr(0, 64);
        m_textBytes += text.size();
    }

    const ItemTemplates& m_templates;
    std::array<ItemRef, kBagSlots> m_bag{};
    std::array<ItemRef, kShopSlots> m_shop{};
    std::array<ItemRef, kEquipmentSlots> m_equipment{};
    std::array<int, kQuestSlots> m_quests{};
    int m_level = 1;
    int m_gold = 0;
    int m_experience = 0;
    std::size_t m_choices = 0;
    bool m_dialogOpen = true;
    std::size_t m_effects = 0;
    std::size_t m_textBytes = 0;
    std::string m_lastText;
};

// Rows the commands can find by name: two items (with templates), an item
// row added after the templates were built (none), two NPCs and a skill.
constexpr const char* kPrelude = R"(
初始物品(1,"木剑",1,5,0,0,0,0,0,0,0,0,0,0,0,0,10,1,"一把木剑",11)
初始物品(2,"红药水",30,0,0,0,0,0,0,0,0,0,0,0,0,0,5,2,"恢复生命",13)
初始NPC(1,"村长","cz","村长.lua",4,10,0)
初始NPC(2,"商人","sr","商人.lua",4,10,0)
初始技能(1,"重击",1,1,0,120,5,3,0,"重重一击",1)
初始地图(1,"新手村.Wdm","",0)
初始任务(1,"送信","描述","提示","奖励","跟踪",0)
)";
constexpr const char* kLateRow = R"(初始物品(3,"铁剑",8,12,0,0,0,0,0,0,0,0,0,0,0,0,100,3,"一把铁剑",11))";

// Texts the commands look for, so lookups succeed as well as fail.
constexpr const char* kWords[] = {
    "木剑", "红药水", "铁剑", "角色名", "等级", "金币", "经验", "体质", "最大魔防", "头盔", "武器", "饰品",
    "交易窗口", "确定@f0", "离开@exit", "@", "@@", "任务@f1@x", "欢迎来到新手村!", "[系统]", "",
};

// Numbers at the edges of what the commands truncate and convert.
constexpr const char* kNumbers[] = {
    "0", "-0", "1", "-1", "36", "37", "48", "49", "12", "13", "10", "11", "2147483647", "2147483648",
    "-2147483648", "-2147483649", "4294967295", "4294967296", "0xFFFF0000", "9.0e18", "9.3e18", "-9.3e18",
    "1e308", "-1e308", "1e-320", "(1/0)", "(-1/0)", "(0/0)", "math.huge", "0.5", "-0.5", "2.9999999",
    "1e15", "1e15+0.5", "9007199254740993", "123456789012",
};

// Texts that Lua turns into numbers (or not) when a command reads a number.
constexpr const char* kNumericTexts[] = {
    "100", " 7 ", "0x10", "1e999", "-1e999", "nan", "inf", "1e", "--1", "3.5", "0xFFFFFFFF", "",
};

struct Command {
    std::string name;  // GBK
    bool inState[2];   // main, level-up
    bool lexable;      // usable as a bare identifier
};

std::vector<Command> AllCommands() {
    std::vector<Command> all;
    auto add = [&all](std::span<const ScriptCommandEntry> entries, int state) {
        for (const ScriptCommandEntry& entry : entries) {
            const std::string& name = gbk::Lit(entry.utf8Name);
            Command* found = nullptr;
            for (Command& c : all) {
                if (c.name == name) found = &c;
            }
            if (found == nullptr) {
                bool lexable = true;
                for (unsigned char b : name) lexable = lexable && (b >= 0x80 || std::isalnum(b) || b == '_');
                all.push_back({name, {false, false}, lexable});
                found = &all.back();
            }
            found->inState[state] = true;
        }
    };
    add(MainStateCommands(), 0);
    add(LevelUpStateCommands(), 1);
    return all;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = AllCommands();
    return commands;
}

std::string Quote(std::string_view bytes) {
    std::string out = "\"";
    for (unsigned char b : bytes) {
        if (b < 0x20 || b >= 0x7F || b == '"' || b == '\\') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03u", b);
            out += escape;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out + "\"";
}

// Writes one chunk for one state from the bytes; runs out of bytes as zeros.
class ChunkWriter {
public:
    ChunkWriter(const std::uint8_t* data, std::size_t size, int state) : m_data(data), m_size(size), m_state(state) {}

    std::string Write() {
        for (int statements = 0; statements < 48 && m_pos < m_size; ++statements) Statement(0);
        // The long texts (4 to 12 KiB and 16 to 48 KiB, GBK and broken GBK) the chunk
        // uses are made once at its start: making them anew in an endless
        // loop would spend seconds within one instruction budget.
        std::string texts;
        const std::string pieces[] = {gbk::Lit("字"), "\x81", "ab@", "\xFF\x80"};
        for (unsigned k = 0; k < 8; ++k) {
            if ((m_longTexts & (1u << k)) == 0) continue;
            texts += "T" + std::to_string(k) + " = string.rep(" + Quote(pieces[k % 4]) + ", " +
                     (k < 4 ? "4096" : "16384") + ")\n";
        }
        return texts + m_out;
    }

private:
    static constexpr int kMaxDepth = 3;

    unsigned Byte() { return m_pos < m_size ? m_data[m_pos++] : 0u; }
    std::string Var() { return "v" + std::to_string(Byte() % 8); }
    std::string Fn() { return "f" + std::to_string(Byte() % 4); }

    void Statement(int depth) {
        const unsigned op = Byte() % 12;
        switch (op) {
        case 0: case 1: case 2: case 3: case 4:
            m_out += Call(depth) + "\n";
            break;
        case 5: {
            const Command& c = Pick();
            m_out += "pcall(" + Name(c, true) + Args(depth, true) + ")\n";
            break;
        }
        case 6:
            m_out += "for i = 1, " + std::to_string(1 + Byte() % 64) + " do " + Call(depth) + " end\n";
            break;
        case 7:
            m_out += Var() + " = " + Call(depth) + "\n";
            break;
        case 8:
            if (depth >= kMaxDepth) break;
            m_out += "function " + Fn() + "(...)\n";
            Statement(depth + 1);
            Statement(depth + 1);
            m_out += "return " + Call(depth + 1) + "\nend\n";
            break;
        case 9:
            m_out += "pcall(" + Fn() + ")\n";
            break;
        case 10:
            m_out += "local t = {" + Call(depth) + "}\n";
            break;
        default:
            Special(depth);
            break;
        }
    }

    void Special(int depth) {
        switch (Byte() % 10) {
        case 0:  // runs until the instruction budget stops it
            m_out += "while true do " + Call(depth) + " end\n";
            break;
        case 1:
            m_out += "coroutine.wrap(function(...) " + Call(depth) + " coroutine.yield() " + Call(depth) +
                     " end)()\n";
            break;
        case 2:  // a yield at the top of the chunk
            m_out += "if " + Arg(depth) + " then coroutine.yield() end\n";
            break;
        case 3:
            m_out += "setmetatable(_G, {__index = function(t, k, ...) return " + Call(depth) + " end})\n";
            break;
        case 4:
            m_out += "if " + Arg(depth) + " then error(" + Arg(depth) + ") end\n";
            break;
        case 5: {  // commands (and errors) run by the collector, now or inside a later command
            const unsigned count = 1 + Byte() % 64;
            m_out += "for i = 1, " + std::to_string(count) + " do local u = proxy() getmetatable(u).__gc = "
                     "function(...) " + Call(depth) + " if " + Arg(depth) + " then error(" + Arg(depth) +
                     ") end end end\n";
            if (Byte() % 2 == 0) m_out += "collectgarbage()\n";
            break;
        }
        case 6:
            m_out += "print = " + Name(Pick(), false) + "\n";
            break;
        case 8:  // grows until the memory limit stops it
            m_out += "local s = tostring(" + Arg(depth) + ") .. \"x\" while true do s = s .. s end\n";
            break;
        case 9:  // text work of one call that grows with its arguments
            m_out += "pcall(string.rep, " + Arg(depth) + ", " + Arg(depth) + ")\n";
            break;
        default:
            m_out += "collectgarbage()\n";
            break;
        }
    }

    const Command& Pick() { return Commands()[Byte() % Commands().size()]; }

    // A command's name as an expression; a command the state lacks is nil.
    std::string Name(const Command& c, bool bare) {
        if (bare && c.lexable) return c.name;
        return "_G[" + Quote(c.name) + "]";
    }

    std::string Call(int depth) {
        const Command& c = Pick();
        const unsigned shape = Byte();
        const bool bare = (shape & 0x80) == 0;
        if (!c.inState[m_state]) return "pcall(" + Name(c, bare) + Args(depth, true) + ")";
        return Name(c, bare) + "(" + Args(depth, false) + ")";
    }

    std::string Args(int depth, bool leadingComma) {
        const unsigned count = Byte() % 24;
        std::string out;
        for (unsigned k = 0; k < count; ++k) {
            if (k > 0 || leadingComma) out += ", ";
            out += Arg(depth + 1);
        }
        return out;
    }

    std::string Arg(int depth) {
        const unsigned kind = Byte() % 20;
        if (depth >= kMaxDepth && (kind == 12 || kind == 13 || kind == 17)) return "nil";
        switch (kind) {
        case 0: return "nil";
        case 1: return "true";
        case 2: return "false";
        case 3: return "(" + std::to_string(static_cast<int>(Byte()) - 128) + ")";
        case 4: return "(" + std::string(kNumbers[Byte() % std::size(kNumbers)]) + ")";
        case 5: return "(0/0)";
        case 6: {
            std::uint32_t v = 0;
            for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
            return std::to_string(v);
        }
        case 7: {
            std::uint64_t bits = 0;
            for (int i = 0; i < 8; ++i) bits = (bits << 8) | Byte();
            double value = 0;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isnan(value)) return "(0/0)";
            if (std::isinf(value)) return value > 0 ? "(1/0)" : "(-1/0)";
            char text[40];
            std::snprintf(text, sizeof text, "(%.17g)", value);
            return text;
        }
        case 8: return Quote(Bytes(Byte() % 24, true));
        case 9: return Quote(gbk::Lit(kWords[Byte() % std::size(kWords)]));
        case 10: return Quote(Bytes(Byte() % 16, false));
        case 11: {
            const unsigned k = Byte() % 8;
            m_longTexts |= 1u << k;
            return "T" + std::to_string(k);
        }
        case 12: {
            std::string out = "{";
            const unsigned count = Byte() % 4;
            for (unsigned k = 0; k < count; ++k) out += Arg(depth + 1) + ", ";
            return out + "x = " + Arg(depth + 1) + "}";
        }
        case 13: return "function(...) return " + Call(depth + 1) + " end";
        case 14: return Name(Pick(), (Byte() & 1) != 0);
        case 15: return Var();
        case 16: return Quote(kNumericTexts[Byte() % std::size(kNumericTexts)]);
        case 17: return Call(depth + 1);
        case 18: {
            switch (Byte() % 3) {
            case 0: return "proxy()";
            case 1: return "coroutine.create(function() end)";
            default: return "...";
            }
        }
        default: return "(-" + std::to_string(Byte() * 16777259u + Byte()) + ")";
        }
    }

    // Raw bytes; `printable` keeps them in ASCII.
    std::string Bytes(unsigned count, bool printable) {
        std::string out;
        for (unsigned k = 0; k < count; ++k) {
            const unsigned b = Byte();
            out += static_cast<char>(printable ? 0x20 + b % 0x5F : b);
        }
        return out;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    int m_state;
    unsigned m_longTexts = 0;  // which of T0..T7 the chunk uses
    std::string m_out;
};

// newproxy(true), which scripts do not have, for the chunks' finalisers:
// a userdata with a metatable of its own.
int Proxy(lua_State* L) {
    lua_newuserdata(L, 0);
    lua_newtable(L);
    lua_setmetatable(L, -2);
    return 1;
}

// Small enough that an endless loop of commands ends within milliseconds:
// an input runs six chunks, and the inputs that loop are most of the corpus,
// so these limits set the speed of fuzzing and of the corpus replay. 50,000
// instructions and 25 ms replay the corpus three times as fast as 200,000
// and 100 ms did, over the same edges.
constexpr long kInstructionBudget = 50'000;
// A run of slow commands (long texts) ends on the clock instead.
constexpr std::chrono::milliseconds kTimeLimit{25};
// Each state holds at most this much, so no input can grow the process.
constexpr std::size_t kMemoryLimit = 8u * 1024 * 1024;

void CheckStack(ScriptState& state) {
    if (state.lua() != nullptr && lua_gettop(state.lua()) != 0) Fail("values left on the Lua stack", lua_gettop(state.lua()));
}

}  // namespace

// Freed blocks wait in AddressSanitizer's quarantine (256 MiB by default)
// before they are reused; with the megabyte texts the chunks make, that alone
// took the process near its memory limit. A smaller quarantine keeps the
// memory flat and still catches a use right after a free.
// The leak checker's scan at exit, over the heap an hour of inputs leaves,
// briefly took the process past the fuzzer's 500 MB limit (296 MB at most
// while fuzzing); leaks are still found input by input by the fuzzer.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32:leak_check_at_exit=0"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool print = std::getenv("FUZZ_SCRIPT_PRINT") != nullptr;
    const std::string mainChunk = ChunkWriter(data, size, 0).Write();
    const std::string levelUpChunk = ChunkWriter(data, size, 1).Write();
    if (print) {
        std::printf("-- main state\n%s\n-- level-up state\n%s\n", gbk::ToUtf8(mainChunk).c_str(),
                    gbk::ToUtf8(levelUpChunk).c_str());
        std::fflush(stdout);
    }

    Random random(size);
    std::size_t messages = 0;
    ScriptRuntime runtime(random, [&messages](const std::string&, const std::string&) { ++messages; });
    RecordingServices services(runtime.templates());
    runtime.SetServices(&services);
    runtime.CreateStates();
    for (ScriptState* state : {&runtime.mainState(), &runtime.levelUpState()}) {
        state->SetInstructionBudget(kInstructionBudget);
        state->SetTimeLimit(kTimeLimit);
        state->SetMemoryLimit(kMemoryLimit);
        state->Register("proxy", &Proxy);
    }

    runtime.RunScriptText(gbk::FromUtf8(kPrelude));
    runtime.BuildTemplates();
    runtime.RunScriptText(gbk::FromUtf8(kLateRow));
    CheckStack(runtime.mainState());

    runtime.RunScriptText(mainChunk);
    CheckStack(runtime.mainState());
    for (const char* name : {"f0", "f1", "f2"}) {
        runtime.mainState().CallGlobal(name);
        CheckStack(runtime.mainState());
    }

    runtime.SetLevelUpScript(levelUpChunk);
    runtime.RunLevelUp();
    CheckStack(runtime.levelUpState());
    runtime.levelUpState().CallGlobal("f3");
    CheckStack(runtime.levelUpState());
    runtime.SetServices(nullptr);
    return 0;
}
