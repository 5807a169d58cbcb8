#pragma once
// The handlers behind the script commands (internal to the command set).
// Each reads its arguments from `s` by position from the top, pushes at most
// one result and returns the number of results. Handlers never raise a Lua
// error and never throw out of the trampoline that calls them.

#include <cstdint>
#include <string>

#include "script/script_commands.h"

namespace script_commands {

using Handler = int (*)(ScriptContext& context, ScriptState& s);

// The colours the commands write in (ARGB).
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kYellow = 0xFFFFFF00u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// "选择项" keeps the first this many choices.
constexpr int kMaxChoices = 64;

// A chat line labelled "[系统]" with the text in red.
void AddSystemLine(ScriptServices& services, const std::string& gbkText);

// Dialog, messages and helpers.
int Choices(ScriptContext& c, ScriptState& s);          // 选择项
int Exit(ScriptContext& c, ScriptState& s);             // exit
int Prompt(ScriptContext& c, ScriptState& s);           // 提示
int SystemMessage(ScriptContext& c, ScriptState& s);    // 系统消息
int Msg(ScriptContext& c, ScriptState& s);              // msg
int RandomNumber(ScriptContext& c, ScriptState& s);     // 取随机数
int Argb(ScriptContext& c, ScriptState& s);             // ARGB
int Banner(ScriptContext& c, ScriptState& s);           // 屏幕信息
int Notice(ScriptContext& c, ScriptState& s);           // 普通信息
int ScreenEffect(ScriptContext& c, ScriptState& s);     // 屏幕特效
int PlayerEffect(ScriptContext& c, ScriptState& s);     // 角色特效

// Player, items and shop.
int PlayerAttributeValue(ScriptContext& c, ScriptState& s);  // 取主角属性
int BagItemCount(ScriptContext& c, ScriptState& s);          // 取物品数
int AddShopItem(ScriptContext& c, ScriptState& s);           // 增加商店物品
int ResetShop(ScriptContext& c, ScriptState& s);             // 重置商店
int OpenShop(ScriptContext& c, ScriptState& s);              // 打开商店
int AddExperience(ScriptContext& c, ScriptState& s);         // 增加经验
int AddLevel(ScriptContext& c, ScriptState& s);              // 增加等级
int CheckItem(ScriptContext& c, ScriptState& s);             // 检查物品
int AddGold(ScriptContext& c, ScriptState& s);               // 增加金币
int AddItem(ScriptContext& c, ScriptState& s);               // 增加物品
int RemoveItem(ScriptContext& c, ScriptState& s);            // 减少物品
int EquipItem(ScriptContext& c, ScriptState& s);             // 装备物品
int DropItem(ScriptContext& c, ScriptState& s);              // 掉落物品

// NPC state and quests.
int SetNpcQuestState(ScriptContext& c, ScriptState& s);   // NPC任务更新
int GetNpcQuestState(ScriptContext& c, ScriptState& s);   // 取NPC任务状态
int GetNpcVariable(ScriptContext& c, ScriptState& s);     // 取NPC变量 (number)
int GetNpcVariableText(ScriptContext& c, ScriptState& s); // 取NPC变量 (text, level-up state)
int SetNpcVariable(ScriptContext& c, ScriptState& s);     // 置NPC变量
int AddQuest(ScriptContext& c, ScriptState& s);           // 增加任务
int EndQuest(ScriptContext& c, ScriptState& s);           // 结束任务
int HasQuest(ScriptContext& c, ScriptState& s);           // 取任务
int GetQuestVariable(ScriptContext& c, ScriptState& s);   // 取任务变量
int AddQuestVariable(ScriptContext& c, ScriptState& s);   // 置任务变量

// Data table rows.
int ItemRowCommand(ScriptContext& c, ScriptState& s);     // 初始物品
int MonsterRowCommand(ScriptContext& c, ScriptState& s);  // 初始怪物
int NpcRowCommand(ScriptContext& c, ScriptState& s);      // 初始NPC
int SkillRowCommand(ScriptContext& c, ScriptState& s);    // 初始技能
int MapRowCommand(ScriptContext& c, ScriptState& s);      // 初始地图
int QuestRowCommand(ScriptContext& c, ScriptState& s);    // 初始任务

}  // namespace script_commands
