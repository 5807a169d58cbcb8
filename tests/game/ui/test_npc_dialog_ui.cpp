#include <gtest/gtest.h>

#include "gameplay/inventory.h"
#include "platform/controls.h"
#include "shared/gbk.h"
#include "ui/dialog_box.h"
#include "ui/quest_window.h"
#include "ui/speech_bubble.h"
#include "ui/text_wrap.h"

namespace {

Controls ClickAt(float x, float y) {
    Controls c;
    c.mouseX = x;
    c.mouseY = y;
    c[Action::MouseLeft].pressed = true;
    c[Action::MouseLeft].held = true;
    return c;
}

Controls HoverAt(float x, float y) {
    Controls c;
    c.mouseX = x;
    c.mouseY = y;
    return c;
}

// The centre of choice row `row`.
Controls ClickRow(const DialogBox& d, int row) {
    DialogBox::Box b = d.ChoiceBox(row);
    return ClickAt(b.x + 5, b.y + b.height / 2);
}

struct DialogFixture : ::testing::Test {
    DialogBox dialog;
    void OpenWith(std::vector<DialogChoice> choices) {
        dialog.Open(3, "npc", "script", 0, 0, 0);
        dialog.SetChoices(std::move(choices));
    }
};

TEST_F(DialogFixture, TheClickThatOpensTheDialogIsNotAChoice) {
    OpenWith({{"A", "F"}});
    DialogCommand first = dialog.Update(ClickRow(dialog, 1));
    EXPECT_EQ(first.kind, DialogCommand::kNone);
    EXPECT_FALSE(first.click);
    DialogCommand second = dialog.Update(ClickRow(dialog, 1));
    EXPECT_EQ(second.kind, DialogCommand::kRunFunction);
    EXPECT_EQ(second.function, "F");
    EXPECT_TRUE(second.click);
    EXPECT_EQ(dialog.pendingFunction, "F");
    EXPECT_EQ(dialog.dialogOpen, 1);  // the function decides whether it closes
}

TEST_F(DialogFixture, ExitClosesWithoutAFunctionAndAnEmptyActionDoesNothing) {
    OpenWith({{"A", ""}, {"B", "exit"}});
    dialog.Update(HoverAt(0, 0));
    DialogCommand empty = dialog.Update(ClickRow(dialog, 1));
    EXPECT_EQ(empty.kind, DialogCommand::kNone);
    EXPECT_EQ(dialog.dialogOpen, 1);
    DialogCommand exit = dialog.Update(ClickRow(dialog, 2));
    EXPECT_EQ(exit.kind, DialogCommand::kClosed);
    EXPECT_TRUE(exit.function.empty());
    EXPECT_EQ(dialog.dialogOpen, 0);
    // Closed: clicks go nowhere.
    EXPECT_EQ(dialog.Update(ClickRow(dialog, 1)).kind, DialogCommand::kNone);
}

TEST_F(DialogFixture, RowsAreTwentyPixelsApartAndTheHoveredRowIsKnown) {
    OpenWith({{"A", "F"}, {gbk::Lit("长一点"), "G"}, {"C", "exit"}});
    EXPECT_FLOAT_EQ(dialog.ChoiceBox(2).y - dialog.ChoiceBox(1).y, 20);
    EXPECT_GT(dialog.ChoiceBox(2).width, dialog.ChoiceBox(1).width);  // caption bytes + 4 characters
    dialog.Update(HoverAt(0, 0));
    DialogBox::Box b = dialog.ChoiceBox(3);
    dialog.Update(HoverAt(b.x + 1, b.y + 1));
    EXPECT_EQ(dialog.hoveredRow(), 3);
}

TEST_F(DialogFixture, TheCloseButtonClosesADialogWithNoChoices) {
    OpenWith({});
    dialog.Update(HoverAt(0, 0));
    // Pressed and released over the button.
    Controls down = ClickAt(DialogBox::kCloseX + 10, DialogBox::kCloseY + 10);
    EXPECT_EQ(dialog.Update(down).kind, DialogCommand::kNone);
    Controls up = HoverAt(DialogBox::kCloseX + 10, DialogBox::kCloseY + 10);
    up[Action::MouseLeft].released = true;
    EXPECT_EQ(dialog.Update(up).kind, DialogCommand::kClosed);
    EXPECT_EQ(dialog.dialogOpen, 0);
}

TEST_F(DialogFixture, OpeningClearsTheChoicesButKeepsThePrompt) {
    OpenWith({{"A", "F"}});
    dialog.prompt = "hello";
    dialog.Open(4, "other", "s", 0, 0, 0);
    EXPECT_TRUE(dialog.choices.empty());
    EXPECT_EQ(dialog.prompt, "hello");
    EXPECT_EQ(dialog.npc, 4);
}

TEST_F(DialogFixture, ALongPromptPushesTheChoicesDownAndTheBoxGrowsToHoldThem) {
    OpenWith({{"A", "F"}, {"B", "exit"}});
    dialog.prompt = "short";
    EXPECT_FLOAT_EQ(dialog.ChoiceTop(), DialogBox::kChoiceY + DialogBox::kRowStep);  // the usual place
    EXPECT_FLOAT_EQ(dialog.Height(), DialogBox::kPictureHeight);
    // Six lines of prompt: the first choice stands below the last line.
    dialog.prompt = std::string(DialogBox::kPromptBytes * 6, 'a');
    ASSERT_EQ(dialog.PromptLines().size(), 6u);
    const float promptBottom = DialogBox::kPromptY + 6 * dialog.PromptStep();
    EXPECT_GE(dialog.ChoiceBox(1).y, promptBottom);
    // Twelve choices: every row inside the box, the box inside the screen.
    std::vector<DialogChoice> many;
    for (int i = 0; i < 12; ++i) many.push_back({"c", "F"});
    dialog.SetChoices(many);
    const DialogBox::Box last = dialog.ChoiceBox(12);
    EXPECT_LE(last.y + DialogBox::kRowStep, DialogBox::kY + dialog.Height());
    EXPECT_LE(DialogBox::kY + dialog.Height(), DialogBox::kMaxBottom);
    EXPECT_GE(dialog.ChoiceBox(1).y, DialogBox::kPromptY + dialog.PromptLines().size() * dialog.PromptStep());
    // A prompt too long for the screen is cut, its last line ending in "...".
    dialog.prompt = std::string(DialogBox::kPromptBytes * 40, 'a');
    const std::vector<std::string> lines = dialog.PromptLines();
    ASSERT_LT(lines.size(), 40u);
    EXPECT_EQ(lines.back().substr(lines.back().size() - 3), "...");
    EXPECT_LE(dialog.ChoiceBox(12).y + DialogBox::kRowStep, DialogBox::kY + dialog.Height());
    EXPECT_GE(dialog.ChoiceBox(1).y, DialogBox::kPromptY + lines.size() * dialog.PromptStep());
    // The box takes the pointer, the area beside it does not.
    EXPECT_TRUE(dialog.Holds(DialogBox::kX + 5, DialogBox::kY + dialog.Height() - 5));
    EXPECT_FALSE(dialog.Holds(DialogBox::kX + 5, DialogBox::kY + dialog.Height() + 5));
}

TEST(SpeechBubble, TheTextStandsInTheMiddleWithEqualMargins) {
    SpeechBubble b;
    b.SetPosition(100, 50, 0);
    for (float w : {40.0f, 130.0f, 260.0f, 274.0f}) {
        b.SetContent("t", "", 1, w, 12);
        const float left = b.TextX() - b.x(), right = b.x() + static_cast<float>(b.Width()) - (b.TextX() + w);
        EXPECT_FLOAT_EQ(left, right) << w;
        EXPECT_GE(left, 12.0f) << w;
        const float top = b.TextY() - b.y(), bottom = b.y() + static_cast<float>(b.Height()) - (b.TextY() + 12);
        EXPECT_FLOAT_EQ(top, bottom) << w;
    }
}

TEST(SpeechBubble, SizeIsWholeTilesAroundTheTextAndAtLeast180Wide) {
    SpeechBubble b;
    b.SetContent("hi", "", 1, 40, 12);
    EXPECT_EQ(b.Width(), 180);
    EXPECT_EQ(b.Height(), 50);
    b.SetContent("long", "", 1, 260, 30);
    EXPECT_EQ(b.Width(), 10 * 25 + 50);
    EXPECT_EQ(b.Height(), 75);
}

TEST(BubbleMessages, KeepsTheLastFiveEachShownForThreeAndAHalfSeconds) {
    BubbleMessages m;
    for (int i = 1; i <= 6; ++i) m.Add(std::to_string(i));
    EXPECT_EQ(m.size(), 5u);
    EXPECT_EQ(m.Text(), "2\n3\n4\n5\n6");
    m.Update(2.0f);
    m.Add("7");
    EXPECT_EQ(m.size(), 5u);  // "2" dropped for "7"
    m.Update(1.49f);
    EXPECT_EQ(m.size(), 5u);
    m.Update(0.02f);
    EXPECT_EQ(m.Text(), "7");
    m.Update(3.5f);
    EXPECT_EQ(m.Text(), "");
}

TEST(QuestWindow, RowsFollowTheLogAndTheSelectionLeavesWithItsQuest) {
    QuestLog log;
    log.Set(2, 4);
    log.Set(5, 1);
    EXPECT_EQ(QuestWindow::Rows(log), (std::vector<int>{4, 1}));
    QuestWindow w;
    const float rowX = QuestWindow::kX + QuestWindow::kListX + 5;
    const float row2Y = QuestWindow::kY + QuestWindow::kListY + QuestWindow::kRowStep + 5;
    QuestWindowCommand c = w.Update(ClickAt(rowX, row2Y), log);
    EXPECT_TRUE(c.click);
    EXPECT_EQ(w.selected(), 1);
    EXPECT_EQ(w.hoveredRow(), 2);
    // The quest moves up a row when the one before it ends: the selection
    // stays with the quest, not the row.
    log.Set(2, 0);
    w.Update(HoverAt(0, 0), log);
    EXPECT_EQ(w.selected(), 1);
    log.Set(5, 0);
    w.ForgetMissing(log);
    EXPECT_EQ(w.selected(), 0);
}

TEST(WrapText, BreaksAtNewlinesAndNeverInsideACharacter) {
    const std::string text = gbk::Lit("一二三") + "ab\r\n" + gbk::Lit("四");
    std::vector<std::string> lines = WrapText(text, 5);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], gbk::Lit("一二"));
    EXPECT_EQ(lines[1], gbk::Lit("三") + "ab");
    EXPECT_EQ(lines[2], gbk::Lit("四"));
    EXPECT_EQ(WrapText("a\n\nb", 10), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(WrapText("", 10).empty());
}

}  // namespace
