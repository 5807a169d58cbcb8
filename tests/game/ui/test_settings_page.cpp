// The settings page's answers to clicks and keys, without an engine: a
// binding set by a click and a key, a duplicate refused with where it is
// used, volumes in steps, and the page driven by keys alone.
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "ui/settings_page.h"

namespace {

struct PageFixture : ::testing::Test {
    Engine engine;
    GdiFont font;
    SettingsPage page{engine, font};

    const SettingsPage::Hit& Find(SettingsPage::Hit::Kind kind, int action = 0, int slot = 0) {
        static std::vector<SettingsPage::Hit> hits;
        hits = SettingsPage::Layout();
        for (const SettingsPage::Hit& h : hits)
            if (h.kind == kind && h.action == action && h.slot == slot) return h;
        ADD_FAILURE() << "no such box";
        return hits.front();
    }
    void Click(const SettingsPage::Hit& h, bool right = false) {
        Controls c;
        c.mouseX = h.x + h.w / 2;
        c.mouseY = h.y + h.h / 2;
        c[right ? Action::MouseRight : Action::MouseLeft].pressed = true;
        page.Keys(c);
        page.Update(c);
    }
    Controls Key(int vk) {
        Controls c;
        c.keyboardKeyPressed = vk;
        page.Keys(c);
        page.Update(c);
        return c;
    }
    Controls Press(Action a) {
        Controls c;
        c[a].pressed = c[a].held = true;
        page.Keys(c);
        page.Update(c);
        return c;
    }
};

TEST_F(PageFixture, ABindingIsSetByAClickAndAKeyAndADuplicateIsRefused) {
    page.Open(GameSettings{});
    const int jump = static_cast<int>(Action::Jump), attack = static_cast<int>(Action::Attack);
    Click(Find(SettingsPage::Hit::kBinding, jump, 0));
    EXPECT_EQ(page.waitingAction(), jump);
    Key('J');
    EXPECT_EQ(page.waitingAction(), -1);
    std::optional<GameSettings> changed = page.TakeChange();
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->keys.KeysOf(Action::Jump), (KeyBindings::Keys{'J', 0}));
    EXPECT_FALSE(page.TakeChange().has_value());  // told once

    // J for the attack: refused, the message names the jump, nothing changes.
    Click(Find(SettingsPage::Hit::kBinding, attack, 1));
    Key('J');
    EXPECT_FALSE(page.TakeChange().has_value());
    EXPECT_EQ(page.settings().keys.KeysOf(Action::Attack), (KeyBindings::Keys{'Z', 0}));
    EXPECT_NE(page.message().find(gbk::Lit("跳跃")), std::string::npos);
    // Esc stops waiting without binding; a right click empties a binding.
    Click(Find(SettingsPage::Hit::kBinding, attack, 0));
    Key(27);
    EXPECT_TRUE(page.open());
    EXPECT_EQ(page.settings().keys.KeysOf(Action::Attack), (KeyBindings::Keys{'Z', 0}));
    Click(Find(SettingsPage::Hit::kBinding, attack, 0), true);
    EXPECT_EQ(page.TakeChange()->keys.KeysOf(Action::Attack), (KeyBindings::Keys{0, 0}));
    // 恢复默认 brings the defaults back.
    Click(Find(SettingsPage::Hit::kDefaults));
    EXPECT_TRUE(page.TakeChange()->keys == KeyBindings());
}

TEST_F(PageFixture, VolumesStepWithinTheirRangeAndTheOptionsToggle) {
    GameSettings s;
    s.musicVolume = 95;
    s.effectVolume = 5;
    page.Open(s);
    Click(Find(SettingsPage::Hit::kMusicUp));
    Click(Find(SettingsPage::Hit::kEffectDown));
    Click(Find(SettingsPage::Hit::kMute));
    Click(Find(SettingsPage::Hit::kFullscreen));
    Click(Find(SettingsPage::Hit::kScale, static_cast<int>(WindowScale::k2)));
    const GameSettings& now = page.settings();
    EXPECT_EQ(now.musicVolume, 100);
    EXPECT_EQ(now.effectVolume, 0);
    EXPECT_FALSE(now.muteOnFocusLoss);
    EXPECT_TRUE(now.fullscreen);
    EXPECT_EQ(now.windowScale, WindowScale::k2);
    Click(Find(SettingsPage::Hit::kClose));
    EXPECT_FALSE(page.open());
}

TEST_F(PageFixture, KeysAloneDriveThePageAndNoKeyPassesThrough) {
    page.Open(GameSettings{});
    // Down to the first box (the quit's first key), Up round to the last
    // (the corner's close), Down back to the first; Confirm starts waiting.
    Press(Action::Down);
    EXPECT_EQ(page.highlighted(), 0);
    Press(Action::Up);
    EXPECT_EQ(page.highlighted(), static_cast<int>(SettingsPage::Layout().size()) - 1);
    Press(Action::Down);
    const Controls c = Press(Action::Confirm);
    EXPECT_EQ(page.waitingAction(), static_cast<int>(Action::Quit));
    // Modal: the keys it saw reach nothing behind it.
    EXPECT_FALSE(c.Pressed(Action::Confirm));
    const Controls walk = Press(Action::Jump);
    EXPECT_FALSE(walk.Held(Action::Jump));
    Key(27);
    Press(Action::Cancel);
    EXPECT_FALSE(page.open());
}

}  // namespace
