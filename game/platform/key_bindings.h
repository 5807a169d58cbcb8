#pragma once
// The player's keys: every action of the controls snapshot has one or two
// keyboard keys (the defaults are the game's classic keys) and a fixed set
// of gamepad keys. A key drives one action of a group: the game's actions
// form one group, the menu actions (Confirm, Cancel) another, so Enter can
// both open the chat and confirm a menu. The mouse buttons are not rebound.

#include <array>
#include <string>

#include "platform/controls.h"

constexpr int kKeysPerAction = 2;

// The outcome of a rebinding: refused names the action using the key.
struct BindResult {
    bool ok = false;
    Action usedBy = Action::Count;  // refused: the action the key drives
    bool badKey = false;            // refused: a mouse button, pad key or 0
};

class KeyBindings {
public:
    using Keys = std::array<int, kKeysPerAction>;  // 0 = no key in that place

    // The default keys.
    KeyBindings();
    bool operator==(const KeyBindings&) const = default;

    // Actions with keyboard keys: every action but the mouse buttons.
    static bool Bindable(Action a);
    // Whether a and b share a group (a key may drive one action a group).
    static bool SameGroup(Action a, Action b);
    // The default keys of `a`.
    static Keys DefaultKeys(Action a);
    // The fixed gamepad keys of `a` (LUMO_PAD_... codes, 0-padded): d-pad
    // and left stick walk and climb, A jump, X attack, B pick up, Y spell,
    // LB RB LT RT quick slots 1-4, the right stick's up, right, down, left
    // quick slots 5-8, Start the system window, Back the quest window, A
    // confirms and B cancels in menus.
    static std::array<int, 3> PadKeys(Action a);

    const Keys& KeysOf(Action a) const { return m_keys[static_cast<std::size_t>(a)]; }
    // Binds `vk` in place `slot` (0 or 1) of `a`. Refused, changing nothing,
    // when `a` is not bindable, slot is out of range, vk is no keyboard key,
    // or another action of a's group uses vk (BindResult says which). The
    // key already in the other place of `a` moves here.
    BindResult Bind(Action a, int slot, int vk);
    // Empties place `slot` of `a`; the first place keeps a key when the
    // second has one.
    void Clear(Action a, int slot);
    // The action of `a`'s group that `vk` drives; Action::Count when none.
    Action ActionOfKey(int vk, Action groupOf) const;
    void RestoreDefaults() { *this = KeyBindings(); }

    // Stable English names for the settings file ("WalkLeft", "QuickSlot3").
    static const char* Id(Action a);
    // Action::Count when unknown.
    static Action FromId(const std::string& id);
    // The settings page's caption (UTF-8).
    static const char* Caption(Action a);

private:
    std::array<Keys, kActionCount> m_keys{};
};
