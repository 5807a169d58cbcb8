// Gamepads through SDL's game-controller API: pads are opened as they are
// plugged in and closed as they go, and their buttons, d-pad, triggers and
// sticks become the Windows gamepad virtual keys.

#include <algorithm>
#include <cstring>

#include "engine_internal.h"

namespace lumo {
namespace {

// A stick counts as pushed past a quarter of its travel; a trigger past half.
constexpr int kStickDeadZone = 8192;
constexpr int kTriggerPressed = 16384;

int PadKeyOfButton(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return LUMO_PAD_A;
        case SDL_CONTROLLER_BUTTON_B: return LUMO_PAD_B;
        case SDL_CONTROLLER_BUTTON_X: return LUMO_PAD_X;
        case SDL_CONTROLLER_BUTTON_Y: return LUMO_PAD_Y;
        case SDL_CONTROLLER_BUTTON_BACK: return LUMO_PAD_BACK;
        case SDL_CONTROLLER_BUTTON_START: return LUMO_PAD_START;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK: return LUMO_PAD_LEFT_STICK_BUTTON;
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return LUMO_PAD_RIGHT_STICK_BUTTON;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return LUMO_PAD_LEFT_SHOULDER;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return LUMO_PAD_RIGHT_SHOULDER;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return LUMO_PAD_DPAD_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return LUMO_PAD_DPAD_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return LUMO_PAD_DPAD_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return LUMO_PAD_DPAD_RIGHT;
        default: return 0;
    }
}

// Sets a derived key to `down` when it is not already so.
void Derived(Engine& g, int vk, bool down) {
    if (g.held[vk] != down) InputSetKey(g, vk, down, false);
}

void OpenPad(Engine& g, int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) {
        const char* name = SDL_JoystickNameForIndex(deviceIndex);
        std::string n = name ? name : "joystick";
        if (std::find(g.unmappedTold.begin(), g.unmappedTold.end(), n) == g.unmappedTold.end()) {
            g.unmappedTold.push_back(n);
            g.unmappedPads.push_back(n);
        }
        LogLine(g, "engine: joystick without a controller mapping: %s", n.c_str());
        return;
    }
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (!pad) return;
    // The same device can be announced twice (at start-up and by its event).
    if (std::find(g.pads.begin(), g.pads.end(), pad) != g.pads.end()) {
        SDL_GameControllerClose(pad);  // the second opening's reference
        return;
    }
    g.pads.push_back(pad);
    LogLine(g, "engine: gamepad connected: %s", SDL_GameControllerName(pad));
}

void ClosePad(Engine& g, SDL_JoystickID id) {
    for (auto it = g.pads.begin(); it != g.pads.end(); ++it) {
        SDL_Joystick* js = SDL_GameControllerGetJoystick(*it);
        if (js && SDL_JoystickInstanceID(js) == id) {
            SDL_GameControllerClose(*it);
            g.pads.erase(it);
            // What the pad held is let go silently, as on a lost focus: a
            // pulled cable must neither leave the player walking nor act
            // like a release (Up uses a map link).
            PadsReleaseAll(g);
            return;
        }
    }
}

}  // namespace

void PadsOpen(Engine& g) {
    if (g.padsStarted) return;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        LogLine(g, "engine: no gamepads: %s", SDL_GetError());
        return;
    }
    g.padsStarted = true;
    // Pads already plugged in arrive as device-added events.
}

void PadsClose(Engine& g) {
    for (SDL_GameController* pad : g.pads) SDL_GameControllerClose(pad);
    g.pads.clear();
    if (g.padsStarted) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    g.padsStarted = false;
}

bool PadHandleEvent(Engine& g, const SDL_Event& ev) {
    switch (ev.type) {
        case SDL_JOYDEVICEADDED:
            // Mapped joysticks are opened by their controller event.
            if (!SDL_IsGameController(ev.jdevice.which)) OpenPad(g, ev.jdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEADDED: OpenPad(g, ev.cdevice.which); return true;
        case SDL_CONTROLLERDEVICEREMOVED: ClosePad(g, ev.cdevice.which); return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            PadButton(g, PadKeyOfButton(ev.cbutton.button), ev.type == SDL_CONTROLLERBUTTONDOWN);
            return true;
        case SDL_CONTROLLERAXISMOTION: PadAxis(g, ev.caxis.axis, ev.caxis.value); return true;
        case SDL_JOYDEVICEREMOVED:
        case SDL_JOYAXISMOTION:
        case SDL_JOYBALLMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
        case SDL_CONTROLLERDEVICEREMAPPED: return true;
        default: return false;
    }
}

void PadButton(Engine& g, int padKey, bool down) {
    if (padKey < LUMO_PAD_A || padKey > LUMO_PAD_RIGHT_STICK_LEFT) return;
    InputSetKey(g, padKey, down, false);
}

void PadAxis(Engine& g, int axis, int value) {
    if (axis < LUMO_PAD_AXIS_LEFTX || axis > LUMO_PAD_AXIS_RIGHT_TRIGGER) return;
    value = std::clamp(value, -32768, 32767);
    g.padAxes[axis] = value;
    switch (axis) {
        case LUMO_PAD_AXIS_LEFTX:
            Derived(g, LUMO_PAD_LEFT_STICK_LEFT, value < -kStickDeadZone);
            Derived(g, LUMO_PAD_LEFT_STICK_RIGHT, value > kStickDeadZone);
            break;
        case LUMO_PAD_AXIS_LEFTY:
            Derived(g, LUMO_PAD_LEFT_STICK_UP, value < -kStickDeadZone);
            Derived(g, LUMO_PAD_LEFT_STICK_DOWN, value > kStickDeadZone);
            break;
        case LUMO_PAD_AXIS_RIGHTX:
            Derived(g, LUMO_PAD_RIGHT_STICK_LEFT, value < -kStickDeadZone);
            Derived(g, LUMO_PAD_RIGHT_STICK_RIGHT, value > kStickDeadZone);
            break;
        case LUMO_PAD_AXIS_RIGHTY:
            Derived(g, LUMO_PAD_RIGHT_STICK_UP, value < -kStickDeadZone);
            Derived(g, LUMO_PAD_RIGHT_STICK_DOWN, value > kStickDeadZone);
            break;
        case LUMO_PAD_AXIS_LEFT_TRIGGER: Derived(g, LUMO_PAD_LEFT_TRIGGER, value > kTriggerPressed); break;
        case LUMO_PAD_AXIS_RIGHT_TRIGGER: Derived(g, LUMO_PAD_RIGHT_TRIGGER, value > kTriggerPressed); break;
        default: break;
    }
}

void PadsReleaseAll(Engine& g) {
    for (int vk = LUMO_PAD_A; vk <= LUMO_PAD_RIGHT_STICK_LEFT; ++vk)
        g.held[vk] = false;
    std::memset(g.padAxes, 0, sizeof g.padAxes);
}

}  // namespace lumo

using namespace lumo;

int Input_GetPadCount_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? static_cast<int>(g->pads.size()) : 0;
}

const char* Input_TakeUnmappedPad_e(HENGINE e) {
    Engine* g = Get(e);
    if (!g) return "";
    if (g->unmappedPads.empty()) {
        g->unmappedScratch.clear();
    } else {
        g->unmappedScratch = g->unmappedPads.front();
        g->unmappedPads.erase(g->unmappedPads.begin());
    }
    return g->unmappedScratch.c_str();
}
