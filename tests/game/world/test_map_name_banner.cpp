// The map-name banner's fade.
#include <gtest/gtest.h>

#include <algorithm>

#include "world/map_name_banner.h"

namespace {

TEST(MapNameBanner, FadesInHoldsAndFadesOut) {
    MapNameBanner b;
    b.Start();
    const float dt = 1.0f / 60;
    int steps = 0, maxAlpha = 0, firstAt200 = 0, fadeStart = 0;
    int previous = 0;
    while (b.Step(dt) && steps < 1000) {
        ++steps;
        maxAlpha = std::max(maxAlpha, b.bannerAlpha);
        if (b.bannerAlpha == 200 && firstAt200 == 0) firstAt200 = steps;
        if (b.bannerAlpha < previous && fadeStart == 0) fadeStart = steps;
        previous = b.bannerAlpha;
    }
    EXPECT_EQ(maxAlpha, 200);
    EXPECT_EQ(firstAt200, 100);  // +2 a render
    // The fade-out starts once the timer has gone below 1 second (3 s at 60
    // renders a second) and lasts 100 renders.
    EXPECT_EQ(fadeStart, 181);
    EXPECT_EQ(steps, 280);
    EXPECT_EQ(b.bannerAlpha, 0);
    EXPECT_FLOAT_EQ(b.mapNameTimer, 0);
    EXPECT_FALSE(b.visible());
}

TEST(MapNameBanner, ColourIsCyanWithTheBannerAlpha) {
    MapNameBanner b;
    b.bannerAlpha = 200;
    EXPECT_EQ(b.Colour(), 0xC800FFFFu);
    b.bannerAlpha = 0;
    EXPECT_EQ(b.Colour(), 0x0000FFFFu);
}

TEST(MapNameBanner, ANewMapRestartsTheTimerButNotTheAlpha) {
    MapNameBanner b;
    b.Start();
    for (int i = 0; i < 50; ++i) b.Step(1.0f / 60);
    EXPECT_EQ(b.bannerAlpha, 100);
    b.Start();
    EXPECT_FLOAT_EQ(b.mapNameTimer, 4);
    b.Step(1.0f / 60);
    EXPECT_EQ(b.bannerAlpha, 102);
}

}  // namespace
