// Menu buttons: the highlight moves over enabled entries only and wraps,
// Confirm picks the lit entry, a click picks the entry it began and ended
// on, a disabled entry is never picked, and the keys used are taken.
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "ui/menu_buttons.h"

namespace {

Controls Keyed(Action a) {
    Controls c;
    c.mouseX = c.mouseY = -1000;
    c[a].pressed = c[a].held = true;
    return c;
}

MenuButtons Column() {
    MenuButtons m;
    m.SetFaceSize(200, 36);
    // 0 disabled, 1 2 enabled, 3 disabled, 4 enabled; 44 px apart from y 100.
    m.Set({{"a", false}, {"b", true}, {"c", true}, {"d", false}, {"e", true}}, 300, 100, 44);
    return m;
}

TEST(MenuButtons, TheHighlightMovesOverEnabledEntriesAndWraps) {
    MenuButtons m = Column();
    EXPECT_EQ(m.highlight(), 1);  // the first enabled one
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        Controls c = Keyed(Action::Down);
        EXPECT_EQ(m.Keys(c), -1);
        EXPECT_FALSE(c.Pressed(Action::Down));  // taken
        seen.push_back(m.highlight());
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 4, 1, 2}));
    Controls up = Keyed(Action::Up);
    m.Keys(up);
    EXPECT_EQ(m.highlight(), 1);
    Controls up2 = Keyed(Action::Up);
    m.Keys(up2);
    EXPECT_EQ(m.highlight(), 4);
    Controls enter = Keyed(Action::Confirm);
    EXPECT_EQ(m.Keys(enter), 4);
    EXPECT_FALSE(enter.Pressed(Action::Confirm));
}

TEST(MenuButtons, AClickPicksTheEntryItBeganAndEndedOnButNeverADisabledOne) {
    MenuButtons m = Column();
    auto at = [](float x, float y, bool press, bool release) {
        Controls c;
        c.mouseX = x;
        c.mouseY = y;
        c[Action::MouseLeft].pressed = press;
        c[Action::MouseLeft].held = press;
        c[Action::MouseLeft].released = release;
        return c;
    };
    // Entry 2 spans y 188..224.
    EXPECT_EQ(m.Update(at(400, 200, true, false)), -1);
    EXPECT_EQ(m.highlight(), 2);  // the pointer lights what it is over
    EXPECT_EQ(m.Update(at(400, 200, false, true)), 2);
    // Pressed on 2, released on 4: nothing.
    m.Update(at(400, 200, true, false));
    EXPECT_EQ(m.Update(at(400, 290, false, true)), -1);
    // The disabled entry 0 (y 100..136).
    m.Update(at(400, 110, true, false));
    EXPECT_EQ(m.Update(at(400, 110, false, true)), -1);
    EXPECT_NE(m.highlight(), 0);
    EXPECT_TRUE(m.Holds(301, 101));
    EXPECT_FALSE(m.Holds(299, 101));
    EXPECT_FLOAT_EQ(m.CentreY(2), 206);
}

TEST(MenuButtons, ARowAcrossMovesWithLeftAndRightAndNoEntryMeansNoHighlight) {
    MenuButtons m;
    m.SetFaceSize(80, 28);
    m.Set({{"yes", true}, {"no", true}}, 300, 358, 120, true);
    Controls right = Keyed(Action::WalkRight);
    m.Keys(right);
    EXPECT_EQ(m.highlight(), 1);
    Controls down = Keyed(Action::Down);
    m.Keys(down);
    EXPECT_EQ(m.highlight(), 1);  // Down is no move in a row
    MenuButtons none;
    none.Set({{"x", false}}, 0, 0, 10);
    EXPECT_EQ(none.highlight(), -1);
    Controls enter = Keyed(Action::Confirm);
    EXPECT_EQ(none.Keys(enter), -1);
}

}  // namespace
