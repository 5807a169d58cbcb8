// The interface stack's dispatch: the top layer under the pointer takes a
// press and nothing below sees it; a hidden layer takes nothing; the layer
// that took the left press keeps the pointer until the release; keys go to
// the focused layer first; drawing goes bottom-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "ui/interface_stack.h"

namespace {

struct Log {
    std::vector<std::string> lines;
};

// A layer over a rectangle that writes down what it was given.
class FakeLayer : public UiLayer {
public:
    FakeLayer(std::string name, float x, float y, float w, float h, Log& log)
        : m_name(std::move(name)), m_x(x), m_y(y), m_w(w), m_h(h), m_log(log) {}
    std::string_view Name() const override { return m_name; }
    bool Shown() const override { return shown; }
    bool Takes(const PointerEvent& e) const override {
        return e.x >= m_x && e.x < m_x + m_w && e.y >= m_y && e.y < m_y + m_h;
    }
    void Update(const Controls& in) override {
        if (in.Pressed(Action::MouseLeft)) m_log.lines.push_back(m_name + " left");
        if (in.Released(Action::MouseLeft)) m_log.lines.push_back(m_name + " up");
        if (in.Pressed(Action::MouseRight)) m_log.lines.push_back(m_name + " right");
        if (in.wheel != 0) m_log.lines.push_back(m_name + " wheel");
        seenX = in.mouseX;
    }
    void Draw() override { m_log.lines.push_back("draw " + m_name); }
    bool HasFocus() const override { return focused; }
    bool Covers() const override { return covers; }
    void Keys(Controls& c) override {
        if (c.Pressed(Action::Enter)) {
            m_log.lines.push_back(m_name + " enter");
            if (usesKeys) c[Action::Enter] = ActionState{};
        }
    }

    bool shown = true, focused = false, usesKeys = false, covers = false;
    float seenX = 0;

private:
    std::string m_name;
    float m_x, m_y, m_w, m_h;
    Log& m_log;
};

Controls At(float x, float y) {
    Controls c;
    c.mouseX = x;
    c.mouseY = y;
    return c;
}
Controls Press(float x, float y, Action button = Action::MouseLeft) {
    Controls c = At(x, y);
    c[button].pressed = true;
    c[button].held = true;
    return c;
}

struct StackFixture : ::testing::Test {
    Log log;
    FakeLayer world{"world", 0, 0, 800, 600, log};
    FakeLayer window{"window", 100, 100, 200, 200, log};
    FakeLayer dialog{"dialog", 150, 150, 200, 100, log};
    FakeLayer pointer{"pointer", 0, 0, 0, 0, log};  // follows the pointer, takes nothing
    InterfaceStack stack;
    void SetUp() override {
        for (FakeLayer* l : {&world, &window, &dialog, &pointer}) stack.Add(*l);
    }
    std::vector<std::string> Dispatch(Controls c) {
        log.lines.clear();
        stack.Dispatch(c);
        return log.lines;
    }
};

TEST_F(StackFixture, TheTopLayerUnderThePointerTakesThePressAndNothingBelowSeesIt) {
    EXPECT_EQ(Dispatch(Press(200, 200)), std::vector<std::string>{"dialog left"});
    EXPECT_EQ(stack.lastLeftPress(), "dialog");
    EXPECT_EQ(Dispatch(Press(120, 120)), std::vector<std::string>{"window left"});
    EXPECT_EQ(Dispatch(Press(500, 500, Action::MouseRight)), std::vector<std::string>{"world right"});
    EXPECT_EQ(stack.lastRightPress(), "world");
    Controls wheel = At(200, 200);
    wheel.wheel = 2;
    EXPECT_EQ(Dispatch(wheel), std::vector<std::string>{"dialog wheel"});
}

TEST_F(StackFixture, AHiddenLayerTakesNothingAndALayerThatTakesNothingLetsItThrough) {
    dialog.shown = false;
    EXPECT_EQ(Dispatch(Press(200, 200)), std::vector<std::string>{"window left"});
    EXPECT_EQ(stack.hovered(), "window");
    window.shown = false;
    EXPECT_EQ(Dispatch(Press(200, 200)), std::vector<std::string>{"world left"});
}

TEST_F(StackFixture, TheConsumedPressIsGoneFromTheFramesControls) {
    Controls c = Press(200, 200);
    stack.Dispatch(c);
    EXPECT_FALSE(c.Pressed(Action::MouseLeft));
    EXPECT_TRUE(c.Held(Action::MouseLeft));  // the button is still down
}

TEST_F(StackFixture, OnlyTheLayerUnderThePointerSeesWhereItIs) {
    Dispatch(At(200, 200));
    EXPECT_FLOAT_EQ(dialog.seenX, 200);
    EXPECT_FLOAT_EQ(window.seenX, InterfaceStack::kOffScreen);
    EXPECT_FLOAT_EQ(world.seenX, InterfaceStack::kOffScreen);
}

TEST_F(StackFixture, TheLayerThatTookTheLeftPressGetsItsRelease) {
    Dispatch(Press(200, 200));
    // Dragged off the dialog onto the window, then let go.
    Controls drag = At(120, 120);
    drag[Action::MouseLeft].held = true;
    Dispatch(drag);
    EXPECT_EQ(stack.hovered(), "dialog");
    Controls up = At(120, 120);
    up[Action::MouseLeft].released = true;
    EXPECT_EQ(Dispatch(up), std::vector<std::string>{"dialog up"});
    // Afterwards the pointer belongs to what is under it again.
    Dispatch(At(120, 120));
    EXPECT_EQ(stack.hovered(), "window");
}

TEST_F(StackFixture, KeysGoToTheFocusedLayerFirstWhichMayUseThem) {
    window.focused = true;
    Controls c = At(0, 0);
    c[Action::Enter].pressed = true;
    EXPECT_EQ(Dispatch(c), (std::vector<std::string>{"window enter", "pointer enter", "dialog enter", "world enter"}));
    window.usesKeys = true;
    EXPECT_EQ(Dispatch(c), std::vector<std::string>{"window enter"});
}

TEST_F(StackFixture, DrawingGoesBottomUpOverTheShownLayers) {
    window.shown = false;
    log.lines.clear();
    stack.Draw();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"draw world", "draw dialog", "draw pointer"}));
}

}  // namespace

TEST_F(StackFixture, ALayerCoveringTheScreenHidesEverythingBelowIt) {
    // The dialog stands in for a title screen; the window under it has the focus.
    dialog.covers = true;
    window.focused = true;
    world.seenX = window.seenX = 7;
    Controls c = Press(500, 500);
    c[Action::Enter].pressed = true;
    EXPECT_EQ(Dispatch(c), (std::vector<std::string>{"pointer enter", "dialog enter"}));
    EXPECT_EQ(stack.lastLeftPress(), "");  // outside the dialog, and nothing below may take it
    EXPECT_FLOAT_EQ(world.seenX, 7);       // not even updated
    EXPECT_FLOAT_EQ(window.seenX, 7);
    log.lines.clear();
    stack.Draw();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"draw dialog", "draw pointer"}));
    // Hidden again, it covers nothing.
    dialog.shown = false;
    log.lines.clear();
    stack.Draw();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"draw world", "draw window", "draw pointer"}));
}
