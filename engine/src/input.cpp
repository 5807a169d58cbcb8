// Keyboard, mouse and text input: SDL events and injected input become
// per-frame key states named by Windows virtual-key codes.

#include <algorithm>
#include <cstring>

#include "engine_internal.h"
#include "shared/gbk.h"

namespace lumo {
namespace {

struct KeyPair {
    SDL_Scancode sc;
    int vk;
};

// Physical keys and their virtual-key codes.
constexpr KeyPair kKeys[] = {
    {SDL_SCANCODE_BACKSPACE, 8},   {SDL_SCANCODE_TAB, 9},        {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_KP_ENTER, 13},   {SDL_SCANCODE_LSHIFT, 16},    {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},      {SDL_SCANCODE_RCTRL, 17},     {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},       {SDL_SCANCODE_PAUSE, 19},     {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},     {SDL_SCANCODE_SPACE, 32},     {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},   {SDL_SCANCODE_END, 35},       {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},       {SDL_SCANCODE_UP, 38},        {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},       {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},     {SDL_SCANCODE_0, '0'},        {SDL_SCANCODE_1, '1'},
    {SDL_SCANCODE_2, '2'},         {SDL_SCANCODE_3, '3'},        {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'},         {SDL_SCANCODE_6, '6'},        {SDL_SCANCODE_7, '7'},
    {SDL_SCANCODE_8, '8'},         {SDL_SCANCODE_9, '9'},        {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},       {SDL_SCANCODE_APPLICATION, 93}, {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_KP_1, 97},       {SDL_SCANCODE_KP_2, 98},      {SDL_SCANCODE_KP_3, 99},
    {SDL_SCANCODE_KP_4, 100},      {SDL_SCANCODE_KP_5, 101},     {SDL_SCANCODE_KP_6, 102},
    {SDL_SCANCODE_KP_7, 103},      {SDL_SCANCODE_KP_8, 104},     {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107}, {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110}, {SDL_SCANCODE_KP_DIVIDE, 111}, {SDL_SCANCODE_F1, 112},
    {SDL_SCANCODE_F2, 113},        {SDL_SCANCODE_F3, 114},       {SDL_SCANCODE_F4, 115},
    {SDL_SCANCODE_F5, 116},        {SDL_SCANCODE_F6, 117},       {SDL_SCANCODE_F7, 118},
    {SDL_SCANCODE_F8, 119},        {SDL_SCANCODE_F9, 120},       {SDL_SCANCODE_F10, 121},
    {SDL_SCANCODE_F11, 122},       {SDL_SCANCODE_F12, 123},      {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145}, {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},     {SDL_SCANCODE_MINUS, 189},    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},     {SDL_SCANCODE_GRAVE, 192},    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
};

struct KeyTable {
    unsigned char vk[SDL_NUM_SCANCODES] = {};
    KeyTable() {
        for (int i = 0; i < 26; ++i) vk[SDL_SCANCODE_A + i] = static_cast<unsigned char>('A' + i);
        for (const KeyPair& k : kKeys) vk[k.sc] = static_cast<unsigned char>(k.vk);
    }
};

const KeyTable kTable;

}  // namespace

void InputSetKey(Engine& g, int vk, bool down, bool repeat) {
    if (vk <= 0 || vk > 255) return;
    if (down) {
        if (repeat) {
            g.repeated[vk] = true;
            return;
        }
        if (!g.held[vk]) {
            g.wentDown[vk] = true;
            g.repeated[vk] = true;
            if (!g.firstDown) g.firstDown = vk;
        }
        g.held[vk] = true;
    } else {
        if (g.held[vk]) g.wentUp[vk] = true;
        g.held[vk] = false;
    }
}

namespace {

void SetKey(Engine& g, int vk, bool down, bool repeat) { InputSetKey(g, vk, down, repeat); }

// Keys held while the window lost the focus would never come up: they are
// let go silently, without a "went up" this frame, so losing the focus does
// not act like releasing Esc or any other key.
void SetFocused(Engine& g, bool focused) {
    g.focused = focused;
    if (!focused) {
        std::memset(g.held, 0, sizeof g.held);
        std::memset(g.padAxes, 0, sizeof g.padAxes);
        if (g.focusLostFn) g.focusLostFn();
    } else if (g.focusGainFn) {
        g.focusGainFn();
    }
}

void ApplyInjected(Engine& g) {
    for (const Injected& in : g.injected) {
        switch (in.kind) {
            case Injected::Key: SetKey(g, in.key, in.down, false); break;
            case Injected::MouseMove: g.mouseX = in.x; g.mouseY = in.y; break;
            case Injected::MouseButton: SetKey(g, in.key, in.down, false); break;
            case Injected::Wheel: g.wheel += in.steps; break;
            case Injected::Text: g.charsUtf8 += in.text; break;
            case Injected::Focus: SetFocused(g, in.down); break;
            case Injected::PadButton: PadButton(g, in.key, in.down); break;
            case Injected::PadAxis: PadAxis(g, in.key, in.steps); break;
        }
    }
    g.injected.clear();
}

// Window events arrive already mapped to the logical picture by the
// renderer; a pointer over a bar lies outside it and is held at its edge.
void SetMouse(Engine& g, int x, int y) {
    g.mouseX = static_cast<float>(std::clamp(x, 0, std::max(g.width - 1, 0)));
    g.mouseY = static_cast<float>(std::clamp(y, 0, std::max(g.height - 1, 0)));
}

int VirtualKeyOf(int scancode) {
    return scancode > 0 && scancode < SDL_NUM_SCANCODES ? kTable.vk[scancode] : 0;
}

}  // namespace

void InputHandleEvent(Engine& g, const SDL_Event& ev) {
    if (PadHandleEvent(g, ev)) return;
    switch (ev.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            SetKey(g, VirtualKeyOf(ev.key.keysym.scancode), ev.type == SDL_KEYDOWN,
                   ev.key.repeat != 0);
            break;
        case SDL_MOUSEMOTION:
            SetMouse(g, ev.motion.x, ev.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int vk = 0;
            if (ev.button.button == SDL_BUTTON_LEFT) vk = 1;
            else if (ev.button.button == SDL_BUTTON_RIGHT) vk = 2;
            else if (ev.button.button == SDL_BUTTON_MIDDLE) vk = 4;
            SetMouse(g, ev.button.x, ev.button.y);
            SetKey(g, vk, ev.type == SDL_MOUSEBUTTONDOWN, false);
            break;
        }
        case SDL_MOUSEWHEEL:
            g.wheel += ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
            break;
        case SDL_TEXTINPUT:
            g.charsUtf8 += ev.text.text;
            break;
        case SDL_WINDOWEVENT:
            if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                SetFocused(g, false);
            } else if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                SetFocused(g, true);
            } else if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                WindowResized(g);
                WindowMovedOrSized(g);
            } else if (ev.window.event == SDL_WINDOWEVENT_MOVED) {
                WindowMovedOrSized(g);
            }
            break;
        default: break;
    }
}

void InputBeginFrame(Engine& g) {
    std::memset(g.wentDown, 0, sizeof g.wentDown);
    std::memset(g.wentUp, 0, sizeof g.wentUp);
    std::memset(g.repeated, 0, sizeof g.repeated);
    g.firstDown = 0;
    g.wheel = 0;
    g.charsUtf8.clear();
    if (g.sdlStarted) {
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) {
            if (ev.type == SDL_QUIT) {
                g.quitRequested = true;  // the loop asks the exit callback
                continue;
            }
            InputHandleEvent(g, ev);
        }
    }
    ApplyInjected(g);
    g.charsGbk = g.charsUtf8.empty() ? std::string() : gbk::FromUtf8(g.charsUtf8);
}

void FrameBegin(Engine& g) {
    InputBeginFrame(g);
    TimerTick(g);
    ++g.frameCount;
}

}  // namespace lumo

using namespace lumo;

bool Input_GetKeyState_e(int key) {
    return g_engine && key > 0 && key < 256 && g_engine->held[key];
}

bool Input_KeyDown_e(HENGINE e, int key) {
    Engine* g = Get(e);
    return g && key > 0 && key < 256 && g->wentDown[key];
}

bool Input_KeyUp_e(HENGINE e, int key) {
    Engine* g = Get(e);
    return g && key > 0 && key < 256 && g->wentUp[key];
}

int System_Input_GetKey(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->firstDown : 0;
}

void Input_GetMousePos_e(HENGINE e, float* x, float* y) {
    Engine* g = Get(e);
    if (x) *x = g ? g->mouseX : 0.0f;
    if (y) *y = g ? g->mouseY : 0.0f;
}

int Input_GetMouseWheel_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->wheel : 0;
}

const char* Input_GetChars_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->charsGbk.c_str() : "";
}

void Harness_InjectKey(HENGINE e, int key, bool down) {
    Engine* g = Get(e);
    if (!g || key <= 0 || key > 255) return;
    Injected in;
    in.kind = Injected::Key;
    in.key = key;
    in.down = down;
    g->injected.push_back(std::move(in));
}

void Harness_InjectFocus(HENGINE e, bool focused) {
    Engine* g = Get(e);
    if (!g) return;
    Injected in;
    in.kind = Injected::Focus;
    in.down = focused;
    g->injected.push_back(std::move(in));
}

void Harness_InjectMouseMove(HENGINE e, float x, float y) {
    Engine* g = Get(e);
    if (!g) return;
    Injected in;
    in.kind = Injected::MouseMove;
    in.x = x;
    in.y = y;
    g->injected.push_back(std::move(in));
}

void Harness_InjectMouseButton(HENGINE e, int button, bool down) {
    Engine* g = Get(e);
    if (!g || (button != 1 && button != 2 && button != 4)) return;
    Injected in;
    in.kind = Injected::MouseButton;
    in.key = button;
    in.down = down;
    g->injected.push_back(std::move(in));
}

void Harness_InjectWheel(HENGINE e, int steps) {
    Engine* g = Get(e);
    if (!g) return;
    Injected in;
    in.kind = Injected::Wheel;
    in.steps = steps;
    g->injected.push_back(std::move(in));
}

void Harness_InjectText(HENGINE e, const char* utf8) {
    Engine* g = Get(e);
    if (!g || !utf8 || !*utf8) return;
    Injected in;
    in.kind = Injected::Text;
    in.text = utf8;
    g->injected.push_back(std::move(in));
}

void Harness_BeginFrame(HENGINE e) {
    Engine* g = Get(e);
    if (g) FrameBegin(*g);
}

void Harness_InjectPadButton(HENGINE e, int padKey, bool down) {
    Engine* g = Get(e);
    if (!g || padKey < LUMO_PAD_A || padKey > LUMO_PAD_RIGHT_STICK_LEFT) return;
    Injected in;
    in.kind = Injected::PadButton;
    in.key = padKey;
    in.down = down;
    g->injected.push_back(std::move(in));
}

void Harness_InjectPadAxis(HENGINE e, int axis, int value) {
    Engine* g = Get(e);
    if (!g || axis < LUMO_PAD_AXIS_LEFTX || axis > LUMO_PAD_AXIS_RIGHT_TRIGGER) return;
    Injected in;
    in.kind = Injected::PadAxis;
    in.key = axis;
    in.steps = std::clamp(value, -32768, 32767);
    g->injected.push_back(std::move(in));
}
