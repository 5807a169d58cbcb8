// The banner and notice lists: five entries, first free, freed after a second.
#include <gtest/gtest.h>

#include "ui/screen_messages.h"

namespace {

TEST(ScreenMessages, SixInOneSecondKeepTheFirstFiveAndAFreedEntryIsReusedFirst) {
    ScreenMessages list;
    for (int i = 1; i <= 6; ++i) {
        bool kept = list.Add("m" + std::to_string(i), 0xFFFFFFFF, 0.1f * static_cast<float>(i));
        EXPECT_EQ(kept, i <= 5) << i;
    }
    EXPECT_EQ(list.entries()[4].text, "m5");
    // m1 (added at 0.1 s) is freed once the clock passes 1.1 s; the others stay.
    list.Update(1.15f);
    EXPECT_TRUE(list.entries()[0].text.empty());
    EXPECT_EQ(list.entries()[1].text, "m2");
    ASSERT_TRUE(list.Add("m7", 0xFFFFFFFF, 1.15f));
    EXPECT_EQ(list.entries()[0].text, "m7");  // the first free entry, not the end
    EXPECT_EQ(list.entries()[0].counter, 0);
}

TEST(ScreenMessages, CountersGrowByTwoAFrameAndFadeTheAlpha) {
    ScreenMessages list;
    ASSERT_TRUE(list.Add("a", 0xFFFFFF00, 0));
    for (int frame = 1; frame <= 59; ++frame) list.Update(static_cast<float>(frame) / 60);
    EXPECT_EQ(list.entries()[0].counter, 118);
    list.Update(1.0f);  // one second after it was added
    EXPECT_TRUE(list.entries()[0].text.empty());
    EXPECT_EQ(ScreenMessages::Faded(0xFFFFFF00, 118), 0x89FFFF00u);
    EXPECT_EQ(ScreenMessages::Faded(0x40123456, 200), 0x00123456u);  // never below 0
    EXPECT_FALSE(list.Add("", 0xFFFFFFFF, 0));                     // an empty text takes no entry
}

TEST(ScreenMessages, TextsAddedTogetherStandALineApartAndALoneOneRisesByItsCounter) {
    ScreenMessages list;
    ASSERT_TRUE(list.Add("alone", 0xFFFFFFFF, 0));
    for (int frame = 1; frame <= 10; ++frame) list.Update(static_cast<float>(frame) / 60);
    EXPECT_FLOAT_EQ(list.Lifts(16)[0], 20);
    // Two more in one frame: the older stands above, each later one a line lower.
    ASSERT_TRUE(list.Add("level up", 0xFFFFFFFF, 0.2f));
    ASSERT_TRUE(list.Add("a quest", 0xFFFFFFFF, 0.2f));
    list.Update(0.21f);
    const auto lifts = list.Lifts(16);
    EXPECT_FLOAT_EQ(lifts[0], 22);
    EXPECT_FLOAT_EQ(lifts[1], 2);
    EXPECT_FLOAT_EQ(lifts[2], -14);
    // Far enough apart, nothing moves.
    for (int frame = 14; frame <= 30; ++frame) list.Update(static_cast<float>(frame) / 60);
    ASSERT_TRUE(list.Add("late", 0xFFFFFFFF, 0.5f));
    const auto later = list.Lifts(16);
    EXPECT_FLOAT_EQ(later[0], static_cast<float>(list.entries()[0].counter));
    EXPECT_FLOAT_EQ(later[3], 0);
    EXPECT_FLOAT_EQ(later[2], later[1] - 16);
}

}  // namespace
