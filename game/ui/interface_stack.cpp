#include "ui/interface_stack.h"

#include <algorithm>
#include <map>

#include "core/json_writer.h"

std::size_t InterfaceStack::Floor() const {
    for (std::size_t i = m_layers.size(); i-- > 0;)
        if (m_layers[i]->Shown() && m_layers[i]->Covers()) return i;
    return 0;
}

std::vector<UiLayer*> InterfaceStack::Live() const {
    std::vector<UiLayer*> live;
    for (std::size_t i = Floor(); i < m_layers.size(); ++i)
        if (m_layers[i]->Shown()) live.push_back(m_layers[i]);
    return live;
}

UiLayer* InterfaceStack::TakerOf(const PointerEvent& e) const {
    const std::vector<UiLayer*> live = Live();
    for (auto it = live.rbegin(); it != live.rend(); ++it) {
        if ((*it)->Takes(e)) return *it;
    }
    return nullptr;
}

void InterfaceStack::Dispatch(Controls& controls) {
    // Keys: the focused layer first, then the rest from the top.
    const std::vector<UiLayer*> live = Live();
    for (auto it = live.rbegin(); it != live.rend(); ++it)
        if ((*it)->HasFocus()) (*it)->Keys(controls);
    for (auto it = live.rbegin(); it != live.rend(); ++it)
        if (!(*it)->HasFocus()) (*it)->Keys(controls);

    const float x = controls.mouseX, y = controls.mouseY;
    if (m_capture != nullptr && std::find(live.begin(), live.end(), m_capture) == live.end()) m_capture = nullptr;
    // The pointer belongs to the layer that holds the left button, else to
    // the top layer under it.
    UiLayer* over = m_capture != nullptr ? m_capture : TakerOf(PointerEvent{PointerEvent::kMove, PointerEvent::kNone, x, y});
    m_hovered = over != nullptr ? std::string(over->Name()) : std::string();

    // Each layer's view of the mouse: nothing happened, pointer far away.
    std::map<UiLayer*, Controls> views;
    auto view = [&](UiLayer* layer) -> Controls& {
        auto found = views.find(layer);
        if (found != views.end()) return found->second;
        Controls c = controls;
        for (Action a : {Action::MouseLeft, Action::MouseRight}) {
            c[a].pressed = false;
            c[a].released = false;
        }
        c.wheel = 0;
        if (layer != over) c.mouseX = c.mouseY = kOffScreen;
        return views.emplace(layer, c).first->second;
    };

    auto offer = [&](PointerEvent::Kind kind, PointerEvent::Button button, UiLayer* fixed) -> UiLayer* {
        UiLayer* taker = fixed != nullptr ? fixed : TakerOf(PointerEvent{kind, button, x, y});
        if (taker == nullptr) return nullptr;
        Controls& c = view(taker);
        // The taker sees the pointer where it is, even when another layer
        // is under it (a press it holds on to).
        c.mouseX = x;
        c.mouseY = y;
        const Action a = button == PointerEvent::kLeft ? Action::MouseLeft : Action::MouseRight;
        if (kind == PointerEvent::kPress) c[a].pressed = true;
        if (kind == PointerEvent::kRelease) c[a].released = true;
        if (kind == PointerEvent::kWheel) c.wheel = controls.wheel;
        return taker;
    };

    if (controls.Pressed(Action::MouseLeft)) {
        UiLayer* taker = offer(PointerEvent::kPress, PointerEvent::kLeft, nullptr);
        m_lastLeft = taker != nullptr ? std::string(taker->Name()) : std::string();
        m_capture = taker;
    }
    if (controls.Pressed(Action::MouseRight)) {
        UiLayer* taker = offer(PointerEvent::kPress, PointerEvent::kRight, nullptr);
        m_lastRight = taker != nullptr ? std::string(taker->Name()) : std::string();
    }
    if (controls.wheel != 0) offer(PointerEvent::kWheel, PointerEvent::kNone, nullptr);
    if (controls.Released(Action::MouseLeft)) {
        offer(PointerEvent::kRelease, PointerEvent::kLeft, m_capture);
        m_capture = nullptr;
    }
    if (controls.Released(Action::MouseRight)) offer(PointerEvent::kRelease, PointerEvent::kRight, nullptr);
    if (!controls.Held(Action::MouseLeft) && !controls.Pressed(Action::MouseLeft)) m_capture = nullptr;

    // Every shown layer's step, top-down, each with its own view. A layer
    // hidden by a step above it (a window a button closed) is skipped, and
    // so is one a step above covered.
    const std::size_t floor = Floor();
    const std::vector<UiLayer*> layers = m_layers;
    for (std::size_t i = layers.size(); i-- > floor;) {
        if (layers[i]->Shown() && i >= Floor()) layers[i]->Update(view(layers[i]));
    }
    for (Action a : {Action::MouseLeft, Action::MouseRight}) {
        controls[a].pressed = false;
        controls[a].released = false;
    }
    controls.wheel = 0;
}

void InterfaceStack::Draw() const {
    for (UiLayer* layer : Live()) layer->Draw();
}

void InterfaceStack::DumpState(JsonWriter& w) const {
    w.Key("interfaceStack");
    w.BeginObject();
    w.Key("layers");
    w.BeginArray();
    for (const UiLayer* layer : m_layers) {
        w.BeginObject();
        w.Field("name", std::string(layer->Name()));
        w.Field("shown", layer->Shown());
        w.EndObject();
    }
    w.EndArray();
    w.Field("hovered", m_hovered);
    w.Field("lastLeftPress", m_lastLeft);
    w.Field("lastRightPress", m_lastRight);
    w.EndObject();
}
