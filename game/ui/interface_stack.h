#pragma once
// The interface as one ordered list of layers, bottom to top: the world,
// NPC plates and bubbles, the HUD with the chat box, the skill bar, the open
// game window, the trade window, the NPC dialog, banners, message boxes,
// the tooltip, the held item and the pointer. Whatever is drawn on top
// takes the click:
// - Draw() draws the shown layers bottom-up;
// - Dispatch() offers each press, release and wheel step of the frame to
//   the shown layers top-down; the first that takes it (its area holds the
//   pointer) gets it and no layer below sees it. A layer that took the left
//   press keeps the pointer until the left button is released (so a drag or
//   a button press ends where it began);
// - keys go to the layer with the focus first, then top-down;
// - a shown layer that covers the screen (the title screen) hides every
//   layer below it: they are neither drawn nor offered anything.
// Screens added later (a title screen, a system window, settings) are more
// layers put in at their place in the order.

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "ui/ui_layer.h"

class JsonWriter;

class InterfaceStack {
public:
    // Puts `layer` on top of the layers added before; the stack does not own it.
    void Add(UiLayer& layer) { m_layers.push_back(&layer); }

    // The one input pass of a frame: keys (focus first), then the pointer's
    // events, then every shown layer's Update with the input it took. The
    // mouse events of `controls` are cleared afterwards: nothing outside the
    // stack sees a click.
    void Dispatch(Controls& controls);
    // Bottom-up, shown layers only.
    void Draw() const;

    // The top shown layer that takes `e`; nullptr when none.
    UiLayer* TakerOf(const PointerEvent& e) const;
    // The layer under the pointer as of the last dispatch ("" when none),
    // and the takers of the last left and right presses.
    std::string_view hovered() const { return m_hovered; }
    const std::string& lastLeftPress() const { return m_lastLeft; }
    const std::string& lastRightPress() const { return m_lastRight; }
    const std::vector<UiLayer*>& layers() const { return m_layers; }
    // "interfaceStack": the layers bottom-up with whether they show, the
    // hovered layer and the last presses' takers.
    void DumpState(JsonWriter& w) const;

    // Where a layer that does not have the pointer is told it is.
    static constexpr float kOffScreen = -100000.0f;

private:
    // The index of the top shown layer that covers the screen; 0 when none.
    std::size_t Floor() const;
    // The shown layers from the floor up.
    std::vector<UiLayer*> Live() const;

    std::vector<UiLayer*> m_layers;  // bottom first
    UiLayer* m_capture = nullptr;    // took the left press; keeps the pointer until its release
    std::string m_hovered, m_lastLeft, m_lastRight;
};
