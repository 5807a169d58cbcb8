#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/game.h"
#include "ui/mouse_pointer.h"

namespace {

// A Game whose engine was never started: every engine call does nothing,
// so the callbacks can be driven by hand.
struct Playing {
    Game game;
    std::vector<std::string> steps;
    Playing() {
        game.phase = kPhasePlaying;
        game.trace = [this](std::string_view s) { steps.emplace_back(s); };
    }
};

TEST(FrameLoop, CallbacksRunTheirStepsInTheFixedOrder) {
    Playing p;
    p.game.logicActive = 1;
    EXPECT_FALSE(p.game.FrameFunc());
    EXPECT_FALSE(p.game.RenderFunc());
    const std::vector<std::string> expected = {
        "esc", "hud.update", "interface.update", "pointer.update", "map.update", "groundItems.update", "npcs.update",
        "monsters.update", "pickup", "player.update", "dialogBox.place", "damageNumbers.update",
        // render
        "map.pass0", "npcs.draw", "monsters.draw", "effects.back", "player.draw", "map.pass1",
        "damageNumbers.draw", "mouse.refresh", "effects.front", "groundItems.draw",
        // the interface stack's layers over the world, bottom-up
        "dialogBox.draw", "hud.draw", "pointer.draw",
    };
    EXPECT_EQ(p.steps, expected);
}

TEST(FrameLoop, PlayerLogicSkippedWhileUnfocused) {
    Playing p;
    p.game.FocusGained();
    p.game.FocusLost();
    p.game.FrameFunc();
    EXPECT_EQ(std::count(p.steps.begin(), p.steps.end(), "player.update"), 0);
    EXPECT_EQ(std::count(p.steps.begin(), p.steps.end(), "monsters.update"), 1);
}

TEST(FrameLoop, TheFrameThatFinishesLoadingAlreadyPlays) {
    // A headless start: no title screen between loading and playing.
    GameOptions options;
    options.headless = true;
    Game game(options);
    std::vector<std::string> steps;
    game.trace = [&](std::string_view s) { steps.emplace_back(s); };
    for (int i = 0; i < 5; ++i) game.FrameFunc();
    EXPECT_EQ(game.phase, kPhaseLoading);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "hud.update"), 0);
    game.FrameFunc();
    EXPECT_EQ(game.phase, kPhasePlaying);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "hud.update"), 1);
}

TEST(FrameLoop, GroundItemsGoneInOneFrameAreAllRemovedThatFrame) {
    Playing p;
    auto& items = p.game.actors.groundItems;
    for (int i = 0; i < 4; ++i) items.push_back(std::make_unique<GroundItem>(static_cast<float>(i), 0.f));
    items[0]->SetGone(true);
    items[2]->SetGone(true);
    // Removed by the frame callback: a frame that is not drawn removes them too.
    p.game.FrameFunc();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_FLOAT_EQ(items[0]->x(), 1);
    EXPECT_FLOAT_EQ(items[1]->x(), 3);
}

TEST(FrameLoop, DamageNumbersShowTenFramesThenAllFinishedOnesGoTogether) {
    Playing p;
    p.game.glyphs.assign(10, std::vector<FrameInfo>(10));
    p.game.camera.offsetX = -100;
    p.game.ShowDamageNumber(123.9f, 50, 60);
    p.game.ShowDamageNumber(7, 0, 0);
    const DamageNumber& first = p.game.damageNumbers.At(1);
    ASSERT_EQ(first.digits.size(), 3u);
    EXPECT_EQ(first.value, 123);
    EXPECT_EQ(first.digitX, (std::vector<int>{170, 195, 220}));  // x + 20 - camera x, 25 apart
    EXPECT_EQ(first.digitY, (std::vector<int>{60, 60, 60}));

    for (int i = 0; i < 8; ++i) p.game.damageNumbers.Update(0.11f, 0, 0);
    p.game.damageNumbers.Draw();
    EXPECT_EQ(p.game.damageNumbers.size(), 2);  // frame 9
    p.game.damageNumbers.Update(0.11f, 0, 0);
    p.game.damageNumbers.Draw();
    EXPECT_EQ(p.game.damageNumbers.size(), 0);
}

TEST(FrameLoop, DamageValuesAreTruncatedTowardZeroAndBounded) {
    Playing p;
    p.game.glyphs.assign(10, std::vector<FrameInfo>(10));
    const std::pair<float, int> cases[] = {
        {-7.9f, -7}, {0.99f, 0}, {1e12f, 2147483520}, {-1e12f, -2147483520}, {std::nanf(""), 0}};
    for (auto [value, shown] : cases) p.game.ShowDamageNumber(value, 0, 0);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(p.game.damageNumbers.At(i).value, cases[i - 1].second) << i;
    EXPECT_EQ(p.game.damageNumbers.At(3).digits.size(), 10u);
}

TEST(FrameLoop, PickUpReachEdges) {
    Playing p;
    Player& pl = p.game.player;
    pl.x = 100;
    pl.y = 200;
    pl.width = 40;
    pl.height = 60;
    struct Case {
        float x, y;
        bool inReach;
    };
    // The 30 x 30 picture must overlap the box (100..140) and reach the feet (260).
    const Case cases[] = {
        {120, 250, true},
        {70, 250, false},   // its right edge only touches the box
        {70.5f, 250, true},  // left of the player's x, still over the box
        {85, 250, true},
        {140, 250, false},  // x must stay short of px + W
        {139.5f, 250, true},
        {120, 199, false},  // far above the feet
        {120, 229.5f, false},
        {120, 230, true},   // dropped at the feet: bottom exactly on them
        {120, 259.5f, true},
        {120, 260, false},  // lies below the feet
    };
    for (const Case& c : cases) EXPECT_EQ(Game::InPickUpReach(pl, c.x, c.y), c.inReach) << c.x << "," << c.y;
}

TEST(MousePointerTest, OnlyAMouseYBeyond526ForcesTheNormalPointer) {
    struct Case {
        float y;
        int mode;
    };
    for (Case c : {Case{526.0f, MousePointer::kBusy}, Case{526.1f, MousePointer::kNormal},
                   Case{100.0f, MousePointer::kBusy}}) {
        MousePointer m;
        m.SetMode(MousePointer::kBusy);
        m.Update(false, c.y);
        EXPECT_EQ(m.Mode(), c.mode) << c.y;
    }
    MousePointer m;
    m.Update(true, 300);
    EXPECT_EQ(m.Mode(), MousePointer::kPressed);
    m.Update(true, 530);
    EXPECT_EQ(m.Mode(), MousePointer::kNormal);
    m.Update(false, 300);
    EXPECT_EQ(m.Mode(), MousePointer::kNormal);
}

TEST(MousePointerTest, BusyPointerAnimationSequence) {
    MousePointer m;
    m.SetMode(MousePointer::kBusy);
    std::vector<int> frames;
    for (int i = 0; i < 42; ++i) frames.push_back(m.Draw(0, 0));
    std::vector<int> expected;
    expected.insert(expected.end(), 9, 3);
    expected.insert(expected.end(), 10, 4);
    expected.insert(expected.end(), 10, 5);
    expected.insert(expected.end(), 12, 6);
    expected.push_back(3);
    EXPECT_EQ(frames, expected);

    m.SetMode(MousePointer::kNormal);
    EXPECT_EQ(m.Draw(0, 0), 1);
    m.SetMode(MousePointer::kPressed);
    EXPECT_EQ(m.Draw(0, 0), 2);
    m.SetMode(3);
    EXPECT_EQ(m.Draw(0, 0), 0);
}

}  // namespace
