// The dialog by keys and gamepad: a highlight moved over the choices,
// confirmed, cancelled.
#include <gtest/gtest.h>

#include "ui/dialog_box.h"

namespace {

TEST(DialogKeys, TheHighlightMovesRoundTheChoicesAndConfirmPicksIt) {
    DialogBox d;
    d.Open(3, "npc", "script", 0, 0, 0);
    d.SetChoices({{"one", "first"}, {"two", "second"}, {"bye", "exit"}});
    EXPECT_EQ(d.selectedRow(), 0);
    d.Keys(false, true, false, false);
    EXPECT_EQ(d.selectedRow(), 1);
    d.Keys(true, false, false, false);
    EXPECT_EQ(d.selectedRow(), 3);  // round to the last
    d.Keys(false, true, false, false);
    EXPECT_EQ(d.selectedRow(), 1);  // and back to the first
    d.Keys(false, true, false, false);
    DialogCommand c = d.Keys(false, false, true, false);
    EXPECT_EQ(c.kind, DialogCommand::kRunFunction);
    EXPECT_EQ(c.function, "second");
    EXPECT_TRUE(c.click);
    // New choices forget the highlight; confirm without one picks row 1.
    d.SetChoices({{"bye", "exit"}, {"two", "second"}});
    EXPECT_EQ(d.selectedRow(), 0);
    c = d.Keys(false, false, true, false);
    EXPECT_EQ(c.kind, DialogCommand::kClosed);
    EXPECT_EQ(d.dialogOpen, 0);
    // Closed: the keys do nothing.
    EXPECT_EQ(d.Keys(false, true, true, true).kind, DialogCommand::kNone);
}

TEST(DialogKeys, CancelClosesAndConfirmClosesADialogWithoutChoices) {
    DialogBox d;
    d.Open(3, "npc", "script", 0, 0, 0);
    d.SetChoices({{"one", "first"}});
    EXPECT_EQ(d.Keys(false, false, false, true).kind, DialogCommand::kClosed);
    EXPECT_EQ(d.dialogOpen, 0);
    d.Open(3, "npc", "script", 0, 0, 0);
    d.Keys(false, true, false, false);  // nothing to highlight
    EXPECT_EQ(d.selectedRow(), 0);
    EXPECT_EQ(d.Keys(false, false, true, false).kind, DialogCommand::kClosed);
}

}  // namespace
