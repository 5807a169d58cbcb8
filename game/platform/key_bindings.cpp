#include "platform/key_bindings.h"

#include "lumo/lumo.h"
#include "platform/key_names.h"

namespace {

struct ActionInfo {
    const char* id;
    const char* caption;  // UTF-8
    KeyBindings::Keys keys;
    std::array<int, 3> pad;
};

// In Action order.
const std::array<ActionInfo, kActionCount> kInfo = {{
    {"Quit", "退出游戏", {27, 0}, {}},
    {"WalkLeft", "向左走", {37, 0}, {LUMO_PAD_DPAD_LEFT, LUMO_PAD_LEFT_STICK_LEFT, 0}},
    {"WalkRight", "向右走", {39, 0}, {LUMO_PAD_DPAD_RIGHT, LUMO_PAD_LEFT_STICK_RIGHT, 0}},
    {"Up", "向上/进入传送点", {38, 0}, {LUMO_PAD_DPAD_UP, LUMO_PAD_LEFT_STICK_UP, 0}},
    {"Down", "向下", {40, 0}, {LUMO_PAD_DPAD_DOWN, LUMO_PAD_LEFT_STICK_DOWN, 0}},
    {"Jump", "跳跃", {'X', 0}, {LUMO_PAD_A, 0, 0}},
    {"Attack", "攻击", {'Z', 0}, {LUMO_PAD_X, 0, 0}},
    {"PickUp", "拾取", {'C', 0}, {LUMO_PAD_B, 0, 0}},
    {"CastSpell", "雷电法术", {'V', 0}, {LUMO_PAD_Y, 0, 0}},
    {"Enter", "聊天", {13, 0}, {}},
    {"ShowNames", "显示物品名", {18, 0}, {}},
    {"QuickSlot1", "快捷栏1", {'A', 0}, {LUMO_PAD_LEFT_SHOULDER, 0, 0}},
    {"QuickSlot2", "快捷栏2", {'S', 0}, {LUMO_PAD_RIGHT_SHOULDER, 0, 0}},
    {"QuickSlot3", "快捷栏3", {'D', 0}, {LUMO_PAD_LEFT_TRIGGER, 0, 0}},
    {"QuickSlot4", "快捷栏4", {'F', 0}, {LUMO_PAD_RIGHT_TRIGGER, 0, 0}},
    {"QuickSlot5", "快捷栏5", {'Q', 0}, {LUMO_PAD_RIGHT_STICK_UP, 0, 0}},
    {"QuickSlot6", "快捷栏6", {'W', 0}, {LUMO_PAD_RIGHT_STICK_RIGHT, 0, 0}},
    {"QuickSlot7", "快捷栏7", {'E', 0}, {LUMO_PAD_RIGHT_STICK_DOWN, 0, 0}},
    {"QuickSlot8", "快捷栏8", {'R', 0}, {LUMO_PAD_RIGHT_STICK_LEFT, 0, 0}},
    {"ToggleFullscreen", "全屏切换", {122, 0}, {}},
    {"Screenshot", "截图", {123, 0}, {}},
    {"QuickSave", "快速存档", {116, 0}, {}},
    {"QuickLoad", "快速读档", {120, 0}, {}},
    {"SystemMenu", "系统菜单", {0, 0}, {LUMO_PAD_START, 0, 0}},
    {"QuestWindow", "任务窗口", {0, 0}, {LUMO_PAD_BACK, 0, 0}},
    {"Confirm", "菜单确认", {13, 0}, {LUMO_PAD_A, 0, 0}},
    {"Cancel", "菜单取消", {0, 0}, {LUMO_PAD_B, 0, 0}},
    {"MouseLeft", "鼠标左键", {1, 0}, {}},
    {"MouseRight", "鼠标右键", {2, 0}, {}},
}};

const ActionInfo& Info(Action a) { return kInfo[static_cast<std::size_t>(a)]; }

bool IsMenu(Action a) { return a == Action::Confirm || a == Action::Cancel; }

}  // namespace

KeyBindings::KeyBindings() {
    for (std::size_t i = 0; i < kActionCount; ++i) m_keys[i] = kInfo[i].keys;
}

bool KeyBindings::Bindable(Action a) { return a < Action::MouseLeft; }

bool KeyBindings::SameGroup(Action a, Action b) { return IsMenu(a) == IsMenu(b); }

KeyBindings::Keys KeyBindings::DefaultKeys(Action a) { return a < Action::Count ? Info(a).keys : Keys{}; }

std::array<int, 3> KeyBindings::PadKeys(Action a) { return a < Action::Count ? Info(a).pad : std::array<int, 3>{}; }

BindResult KeyBindings::Bind(Action a, int slot, int vk) {
    BindResult r;
    if (!Bindable(a) || slot < 0 || slot >= kKeysPerAction) return r;
    if (vk <= 0 || vk > 255 || key_names::IsMouse(vk) || key_names::IsPad(vk)) {
        r.badKey = true;
        return r;
    }
    const Action user = ActionOfKey(vk, a);
    if (user != Action::Count && user != a) {
        r.usedBy = user;
        return r;
    }
    Keys& k = m_keys[static_cast<std::size_t>(a)];
    const int other = 1 - slot;
    if (k[static_cast<std::size_t>(other)] == vk) k[static_cast<std::size_t>(other)] = 0;
    k[static_cast<std::size_t>(slot)] = vk;
    if (k[0] == 0 && k[1] != 0) std::swap(k[0], k[1]);
    r.ok = true;
    return r;
}

void KeyBindings::Clear(Action a, int slot) {
    if (!Bindable(a) || slot < 0 || slot >= kKeysPerAction) return;
    Keys& k = m_keys[static_cast<std::size_t>(a)];
    k[static_cast<std::size_t>(slot)] = 0;
    if (k[0] == 0 && k[1] != 0) std::swap(k[0], k[1]);
}

Action KeyBindings::ActionOfKey(int vk, Action groupOf) const {
    if (vk == 0) return Action::Count;
    for (std::size_t i = 0; i < kActionCount; ++i) {
        const Action a = static_cast<Action>(i);
        if (!Bindable(a) || !SameGroup(a, groupOf)) continue;
        for (int k : m_keys[i])
            if (k == vk) return a;
    }
    return Action::Count;
}

const char* KeyBindings::Id(Action a) { return a < Action::Count ? Info(a).id : ""; }

Action KeyBindings::FromId(const std::string& id) {
    for (std::size_t i = 0; i < kActionCount; ++i)
        if (id == kInfo[i].id) return static_cast<Action>(i);
    return Action::Count;
}

const char* KeyBindings::Caption(Action a) { return a < Action::Count ? Info(a).caption : ""; }
