#pragma once
// One layer of the interface stack: a piece of the screen that draws itself
// and takes the pointer's presses, releases and wheel steps over its area.
// The stack (InterfaceStack) decides which layer gets which event; a layer
// never reads the engine's input itself.

#include <string_view>

struct Controls;

// What a layer is asked about: the pointer at (x, y), and for a press or a
// release the button (kMove asks about the pointer alone).
struct PointerEvent {
    enum Kind { kMove, kPress, kRelease, kWheel };
    enum Button { kNone, kLeft, kRight };
    Kind kind = kMove;
    Button button = kNone;
    float x = 0, y = 0;
};

class UiLayer {
public:
    virtual ~UiLayer() = default;

    // A short name for the state dump and for tests ("world", "dialog" ...).
    virtual std::string_view Name() const = 0;
    // Whether the layer shows this frame. A hidden layer neither draws nor
    // takes input.
    virtual bool Shown() const = 0;
    // Whether the layer takes `e`: normally whether its area holds the
    // pointer. Layers that only follow the pointer (tooltip, held item,
    // pointer) take nothing, so the click goes to what lies under them.
    virtual bool Takes(const PointerEvent& e) const = 0;
    // Once a frame, top-down, for every shown layer. `input` is the frame's
    // controls as this layer sees them: the mouse presses, releases and
    // wheel steps it took (no others), and the pointer where it is while
    // this layer is the one under it (or holds the left button it took),
    // else far off the screen. Keys are as the layers above left them.
    virtual void Update(const Controls& input) = 0;
    // Drawn bottom-up, shown layers only.
    virtual void Draw() = 0;

    // Keys go to the layer with the focus first, then to every shown layer
    // top-down; a layer clears from `controls` the keys it uses, and what is
    // left reaches the player. Most layers use no keys.
    virtual bool HasFocus() const { return false; }
    // Whether the layer covers the whole screen while shown (the title
    // screen): the layers below are then neither drawn nor offered input.
    virtual bool Covers() const { return false; }
    virtual void Keys(Controls& controls) { (void)controls; }
};
