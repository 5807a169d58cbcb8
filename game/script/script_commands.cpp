#include "script/script_commands.h"

#include "core/random.h"
#include "core/tolerance.h"
#include "script/script_command_handlers.h"
#include "script/script_services.h"
#include "script/script_state.h"
#include "shared/gbk.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace script_commands {
namespace {

// Lua calls a plain C function; this one finds the state's ScriptContext and
// runs the handler with the readers pointed at the calling thread. Nothing
// here raises a Lua error, and C++ exceptions stop at this frame, so no
// longjmp or unwind ever crosses a C++ object with a destructor.
template <Handler H>
int Trampoline(lua_State* L) {
    ScriptState* state = ScriptState::FromLua(L);
    if (state == nullptr || state->CommandContext() == nullptr) return 0;
    auto& context = *static_cast<ScriptContext*>(state->CommandContext());
    const int base = lua_gettop(L);
    lua_State* previous = state->EnterCommand(L);
    int results = 0;
    try {
        results = H(context, *state);
    } catch (...) {
        lua_settop(L, base);
        results = 0;
    }
    state->LeaveCommand(previous);
    return results;
}

const ScriptCommandEntry kMainCommands[] = {
    {"选择项", &Trampoline<&Choices>},
    {"exit", &Trampoline<&Exit>},
    {"提示", &Trampoline<&Prompt>},
    {"系统消息", &Trampoline<&SystemMessage>},
    {"msg", &Trampoline<&Msg>},
    {"取主角属性", &Trampoline<&PlayerAttributeValue>},
    {"取随机数", &Trampoline<&RandomNumber>},
    {"取物品数", &Trampoline<&BagItemCount>},
    {"ARGB", &Trampoline<&Argb>},
    {"NPC任务更新", &Trampoline<&SetNpcQuestState>},
    {"取NPC变量", &Trampoline<&GetNpcVariable>},
    {"置NPC变量", &Trampoline<&SetNpcVariable>},
    {"增加商店物品", &Trampoline<&AddShopItem>},
    {"重置商店", &Trampoline<&ResetShop>},
    {"打开商店", &Trampoline<&OpenShop>},
    {"屏幕信息", &Trampoline<&Banner>},
    {"普通信息", &Trampoline<&Notice>},
    {"增加经验", &Trampoline<&AddExperience>},
    {"增加等级", &Trampoline<&AddLevel>},
    {"检查物品", &Trampoline<&CheckItem>},
    {"增加金币", &Trampoline<&AddGold>},
    {"增加物品", &Trampoline<&AddItem>},
    {"减少物品", &Trampoline<&RemoveItem>},
    {"装备物品", &Trampoline<&EquipItem>},
    {"初始物品", &Trampoline<&ItemRowCommand>},
    {"初始怪物", &Trampoline<&MonsterRowCommand>},
    {"初始NPC", &Trampoline<&NpcRowCommand>},
    {"初始技能", &Trampoline<&SkillRowCommand>},
    {"初始地图", &Trampoline<&MapRowCommand>},
    {"初始任务", &Trampoline<&QuestRowCommand>},
    {"屏幕特效", &Trampoline<&ScreenEffect>},
    {"角色特效", &Trampoline<&PlayerEffect>},
    {"掉落物品", &Trampoline<&DropItem>},
    {"增加任务", &Trampoline<&AddQuest>},
    {"结束任务", &Trampoline<&EndQuest>},
    {"取任务", &Trampoline<&HasQuest>},
    {"取任务变量", &Trampoline<&GetQuestVariable>},
    {"置任务变量", &Trampoline<&AddQuestVariable>},
};

const ScriptCommandEntry kLevelUpCommands[] = {
    {"屏幕信息", &Trampoline<&Banner>},
    {"NPC任务更新", &Trampoline<&SetNpcQuestState>},
    {"取NPC任务状态", &Trampoline<&GetNpcQuestState>},
    {"取任务", &Trampoline<&HasQuest>},
    {"普通信息", &Trampoline<&Notice>},
    {"msg", &Trampoline<&Msg>},
    {"取主角属性", &Trampoline<&PlayerAttributeValue>},
    {"取NPC变量", &Trampoline<&GetNpcVariableText>},
    {"置NPC变量", &Trampoline<&SetNpcVariable>},
};

struct Message {
    std::string text;
    std::uint32_t colour;
};

// "屏幕信息" / "普通信息": a lone argument is the text, even one that reads
// as a number ("100"), in the list's default colour; with two, the text lies
// below the colour.
Message ReadMessage(const ScriptState& s, std::uint32_t defaultColour) {
    if (s.StackHeight() < 2) return {s.ToText(1), defaultColour};
    // With two arguments the first is always the text; a colour of 0 (or no
    // number) means "no colour given", not a message reading "0".
    const double top = s.ToNumber(1);
    const std::uint32_t colour =
        tolerance::Gt(std::fabs(top), 0) ? static_cast<std::uint32_t>(ScriptState::TruncateToInt(top)) : defaultColour;
    return {s.ToText(2), colour};
}

}  // namespace

void AddSystemLine(ScriptServices& services, const std::string& gbkText) {
    services.AddChatLine(gbk::Lit("[系统]"), gbkText, kRed, true, 0, false);
}

int Choices(ScriptContext& c, ScriptState& s) {
    // No dialog shows more rows than this; the rest are dropped, so the
    // command's work does not grow with the arguments a script passes.
    const int count = std::min(s.StackHeight(), kMaxChoices);
    const int shift = s.StackHeight() - count;
    std::vector<ScriptChoice> choices;
    choices.reserve(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        // Argument k in call order sits at position count - k + 1 (+ the
        // dropped ones above). Only the first two "@" fields are kept.
        const std::string text = s.ToText(count - k + 1 + shift);
        const std::string_view all(text);
        const std::size_t first = gbk::Find(all, "@");
        if (first == gbk::npos) {
            choices.push_back({text, std::string()});
            continue;
        }
        const std::size_t second = gbk::Find(all, "@", first + 1);
        const std::string_view action =
            all.substr(first + 1, second == gbk::npos ? gbk::npos : second - first - 1);
        choices.push_back({std::string(all.substr(0, first)), std::string(action)});
    }
    c.services->SetDialogChoices(choices);
    return 0;
}

int Exit(ScriptContext& c, ScriptState&) {
    c.services->CloseDialog();
    return 0;
}

int Prompt(ScriptContext& c, ScriptState& s) {
    c.services->SetDialogPrompt(s.ToText(1));
    return 0;
}

int SystemMessage(ScriptContext& c, ScriptState& s) {
    AddSystemLine(*c.services, s.ToText(1));
    return 0;
}

int Msg(ScriptContext&, ScriptState& s) {
    s.ShowMessage(s.ToText(1), gbk::Lit("脚本调试"));
    return 0;
}

int RandomNumber(ScriptContext& c, ScriptState& s) {
    // The game's one generator, seeded once at start: re-seeding from the
    // clock here would repeat every draw made within the same second.
    const int low = s.ToInt(2);
    const int high = s.ToInt(1);
    s.PushNumber(c.random != nullptr ? c.random->Int(low, high) : low);
    return 1;
}

int Argb(ScriptContext&, ScriptState& s) {
    const auto a = static_cast<std::uint32_t>(s.ToInt(4));
    const auto r = static_cast<std::uint32_t>(s.ToInt(3));
    const auto g = static_cast<std::uint32_t>(s.ToInt(2));
    const auto b = static_cast<std::uint32_t>(s.ToInt(1));
    const std::uint32_t colour = (a << 24) | (r << 16) | (g << 8) | b;
    s.PushNumber(static_cast<std::int32_t>(colour));
    return 1;
}

int Banner(ScriptContext& c, ScriptState& s) {
    const Message message = ReadMessage(s, kYellow);
    c.services->AddBanner(message.text, message.colour);
    return 0;
}

int Notice(ScriptContext& c, ScriptState& s) {
    const Message message = ReadMessage(s, kWhite);
    c.services->AddNotice(message.text, message.colour);
    return 0;
}

int ScreenEffect(ScriptContext& c, ScriptState& s) {
    const auto x = static_cast<float>(s.ToNumber(6));
    const auto y = static_cast<float>(s.ToNumber(5));
    const int effect = s.ToInt(4);
    const int repeat = s.ToInt(3);
    const int backAndForth = s.ToInt(2);
    const auto colour = static_cast<std::uint32_t>(s.ToInt(1));
    c.services->SpawnEffect(1, effect, x, y, repeat, backAndForth, colour, false);
    return 0;
}

int PlayerEffect(ScriptContext& c, ScriptState& s) {
    // The colour is optional: with four arguments it is the last one.
    const int shift = s.StackHeight() >= 4 ? 1 : 0;
    const int effect = s.ToInt(3 + shift);
    const int repeat = s.ToInt(2 + shift);
    const int backAndForth = s.ToInt(1 + shift);
    const auto colour = shift != 0 ? static_cast<std::uint32_t>(s.ToInt(1)) : 0u;
    c.services->SpawnEffect(2, effect, 0.0f, 0.0f, repeat, backAndForth, colour, false);
    return 0;
}

}  // namespace script_commands

std::span<const ScriptCommandEntry> MainStateCommands() { return script_commands::kMainCommands; }

std::span<const ScriptCommandEntry> LevelUpStateCommands() { return script_commands::kLevelUpCommands; }

void RegisterCommands(ScriptState& state, std::span<const ScriptCommandEntry> commands) {
    for (const ScriptCommandEntry& entry : commands) {
        state.Register(gbk::Lit(entry.utf8Name), entry.function);
    }
}
