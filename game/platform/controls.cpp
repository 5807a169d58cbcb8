#include "platform/controls.h"

#include "platform/engine.h"

namespace {

// The virtual-key code of each action, in Action order.
constexpr std::array<int, kActionCount> kKeys = {
    27,                               // Quit: Esc
    37, 39, 38, 40,                   // walk left, walk right, up, down
    88, 90, 67, 86,                   // jump X, attack Z, pick up C, spell V
    13, 18,                           // Enter, Alt
    65, 83, 68, 70, 81, 87, 69, 82,   // quick slots A S D F Q W E R
    122, 123,                         // F11, F12
    116, 120,                         // F5, F9
    1, 2,                             // mouse buttons
};

}  // namespace

Action Controls::QuickSlot(int n) {
    if (n < 1 || n > 8) return Action::Count;
    return static_cast<Action>(static_cast<int>(Action::QuickSlot1) + n - 1);
}

Controls ControlsReader::Read(const Engine& engine) {
    Controls c;
    for (std::size_t i = 0; i < kActionCount; ++i) {
        ActionState& s = c.actions[i];
        s.held = engine.KeyHeld(kKeys[i]);
        s.pressed = engine.KeyDown(kKeys[i]);
        s.released = engine.KeyUp(kKeys[i]);
        if (s.pressed) m_ignoreUntilPressed[i] = false;
        if (m_ignoreUntilPressed[i]) s = ActionState{};
    }
    engine.MousePos(&c.mouseX, &c.mouseY);
    c.wheel = engine.MouseWheel();
    if (const char* typed = engine.TypedChars()) c.typed = typed;
    int key = engine.KeyPressed();
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) c.keyPressed = static_cast<char>(key);
    return c;
}

void ControlsReader::FocusLost() { m_ignoreUntilPressed.fill(true); }
