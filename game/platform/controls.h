#pragma once
// The player's controls as meanings, read once a frame from the engine.
//
// Nothing outside this file knows a key code: the frame loop builds one
// Controls snapshot per frame with ControlsReader::Read and hands it down;
// every subsystem asks it about actions (walk left, jump, quick slot 3 ...).
// Each action answers held, pressed (went down this frame) and released
// (went up this frame).
//
// Keys are looked up through the player's KeyBindings (one or two keyboard
// keys an action) and the fixed gamepad keys; an action is held while any of
// its keys is, pressed when the first goes down, released when the last
// comes up. Menu actions (Confirm, Cancel) may share keys with the others.
//
// Focus: when the window loses the focus every held key is let go without a
// "released" event, so losing the focus never ends the game (Esc) or uses a
// map link (Up); a key then counts again from its next press.

#include <array>
#include <cstddef>
#include <memory>
#include <cstdint>
#include <string>

class KeyBindings;

class Engine;

enum class Action : int {
    Quit,         // Esc
    WalkLeft,     // Left arrow
    WalkRight,    // Right arrow
    Up,           // Up arrow: climb, use a key link
    Down,         // Down arrow
    Jump,         // X
    Attack,       // Z
    PickUp,       // C
    CastSpell,    // V: the thunder spell
    Enter,        // send the chat line
    ShowNames,    // Alt: names of ground items
    QuickSlot1,   // A S D F Q W E R: the skill bar's eight slots
    QuickSlot2,
    QuickSlot3,
    QuickSlot4,
    QuickSlot5,
    QuickSlot6,
    QuickSlot7,
    QuickSlot8,
    ToggleFullscreen,  // F11
    Screenshot,        // F12
    QuickSave,         // F5: save to the quick slot
    QuickLoad,         // F9: load the quick slot
    SystemMenu,        // the system window (pad Start; no key of its own)
    QuestWindow,       // opens and closes the quest window (pad Back)
    Confirm,           // menus: choose the highlighted entry (Enter, pad A)
    Cancel,            // menus: close (pad B)
    MouseLeft,
    MouseRight,
    Count
};
constexpr std::size_t kActionCount = static_cast<std::size_t>(Action::Count);

struct ActionState {
    bool held = false;
    bool pressed = false;   // went down this frame
    bool released = false;  // went up this frame
};

struct Controls {
    std::array<ActionState, kActionCount> actions{};
    float mouseX = 0, mouseY = 0;
    int wheel = 0;
    std::string typed;       // GBK text typed this frame
    // The first key that went down this frame as the skill table names it
    // (an upper-case letter or digit); 0 when none or another key.
    char keyPressed = 0;
    // The first keyboard key (virtual-key code) that went down this frame,
    // whatever it is bound to; 0 when none. For the settings page, which
    // waits for a key to bind.
    int keyboardKeyPressed = 0;
    // The key that holds or pressed each action this frame (0 when none).
    std::array<std::uint8_t, kActionCount> by{};
    // Keys taken by Consume this frame (0 = free entries).
    std::array<std::uint8_t, 4> consumed{};

    const ActionState& operator[](Action a) const { return actions[static_cast<std::size_t>(a)]; }
    ActionState& operator[](Action a) { return actions[static_cast<std::size_t>(a)]; }
    bool Held(Action a) const { return (*this)[a].held; }
    bool Pressed(Action a) const { return (*this)[a].pressed; }
    bool Released(Action a) const { return (*this)[a].released; }
    // Quick slot n (1..8) as an action; Action::Count outside that range.
    static Action QuickSlot(int n);
    // A menu took action `a`'s key: every action that key drives this frame
    // is cleared (Enter confirming a dialog opens no chat; pad A choosing
    // jumps no one), and the reader ignores the key until it is pressed
    // again (ControlsReader::TakeConsumed).
    void Consume(Action a);
};

class ControlsReader {
public:
    ControlsReader();
    ~ControlsReader();
    // The keyboard keys of each action (the defaults until set).
    void SetBindings(const KeyBindings& bindings);
    const KeyBindings& bindings() const;
    // The snapshot of this frame. Call once a frame, after the engine has
    // taken the frame's input. While `typing` (a text box has the focus),
    // keys that type text act as no action's key.
    Controls Read(const Engine& engine, bool typing = false);
    // The keys `c` consumed stay ignored until they are pressed again.
    void TakeConsumed(const Controls& c);
    // The window lost the focus: every held key is let go silently, and its
    // release events are ignored until it is pressed again.
    void FocusLost();

private:
    std::array<bool, kActionCount> m_ignoreUntilPressed{};
    std::array<bool, 256> m_ignoreKey{};
    std::unique_ptr<KeyBindings> m_bindings;
};
