#include "platform/controls.h"

#include "platform/engine.h"
#include "platform/key_bindings.h"
#include "platform/key_names.h"

Action Controls::QuickSlot(int n) {
    if (n < 1 || n > 8) return Action::Count;
    return static_cast<Action>(static_cast<int>(Action::QuickSlot1) + n - 1);
}

void Controls::Consume(Action a) {
    const std::uint8_t key = by[static_cast<std::size_t>(a)];
    (*this)[a] = ActionState{};
    if (key == 0) return;
    for (std::size_t i = 0; i < kActionCount; ++i) {
        if (by[i] != key) continue;
        actions[i] = ActionState{};
        by[i] = 0;
    }
    for (std::uint8_t& c : consumed) {
        if (c == key) return;
        if (c == 0) {
            c = key;
            return;
        }
    }
}

ControlsReader::ControlsReader() : m_bindings(std::make_unique<KeyBindings>()) {}
ControlsReader::~ControlsReader() = default;

void ControlsReader::SetBindings(const KeyBindings& bindings) { *m_bindings = bindings; }
const KeyBindings& ControlsReader::bindings() const { return *m_bindings; }

Controls ControlsReader::Read(const Engine& engine, bool typing) {
    Controls c;
    // A consumed key counts again once it has come up and gone down anew.
    for (int vk = 1; vk < 256; ++vk)
        if (m_ignoreKey[static_cast<std::size_t>(vk)] && engine.KeyDown(vk)) m_ignoreKey[static_cast<std::size_t>(vk)] = false;
    for (std::size_t i = 0; i < kActionCount; ++i) {
        const Action a = static_cast<Action>(i);
        ActionState& s = c.actions[i];
        bool anyDown = false, anyUp = false, heldBefore = false;
        auto look = [&](int vk) {
            if (vk <= 0 || vk > 255 || m_ignoreKey[static_cast<std::size_t>(vk)]) return;
            if (typing && key_names::TypesText(vk)) return;
            const bool held = engine.KeyHeld(vk), down = engine.KeyDown(vk);
            if (held || down) {
                if (c.by[i] == 0 || down) c.by[i] = static_cast<std::uint8_t>(vk);
            }
            s.held = s.held || held;
            anyDown = anyDown || down;
            anyUp = anyUp || engine.KeyUp(vk);
            heldBefore = heldBefore || (held && !down);
        };
        for (int vk : m_bindings->KeysOf(a)) look(vk);
        for (int vk : KeyBindings::PadKeys(a)) look(vk);
        // Another key of the action already held: no second press, and no
        // release while one is still down.
        s.pressed = anyDown && !heldBefore;
        s.released = anyUp && !s.held;
        if (s.pressed) m_ignoreUntilPressed[i] = false;
        if (m_ignoreUntilPressed[i]) {
            s = ActionState{};
            c.by[i] = 0;
        }
    }
    engine.MousePos(&c.mouseX, &c.mouseY);
    c.wheel = engine.MouseWheel();
    if (const char* typed = engine.TypedChars()) c.typed = typed;
    const int key = engine.KeyPressed();
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        if (!typing) c.keyPressed = static_cast<char>(key);
    }
    if (key > 0 && !key_names::IsMouse(key) && !key_names::IsPad(key)) c.keyboardKeyPressed = key;
    return c;
}

void ControlsReader::TakeConsumed(const Controls& c) {
    for (std::uint8_t key : c.consumed)
        if (key != 0) m_ignoreKey[key] = true;
}

void ControlsReader::FocusLost() { m_ignoreUntilPressed.fill(true); }
