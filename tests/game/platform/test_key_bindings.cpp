// The controls snapshot read through the key bindings on a live headless
// engine: rebinding, refused duplicates, two keys an action, gamepad keys,
// keys that type text while a text box has the focus, and keys a menu took.
#include <gtest/gtest.h>

#include "lumo/lumo.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/key_bindings.h"
#include "platform/key_names.h"

namespace {

class LiveControls : public ::testing::Test {
protected:
    void SetUp() override {
        EngineStartRecord r;
        r.headless = 1;
        r.frameFunc = [] { return true; };
        ASSERT_NE(engine.Initiate(r, true), 0u);
    }
    void TearDown() override { engine.Shutdown(); }
    Controls Frame(bool typing = false) {
        Harness_BeginFrame(engine.handle());
        return reader.Read(engine, typing);
    }
    void Key(int vk, bool down) { engine.InjectKey(vk, down); }

    Engine engine;
    ControlsReader reader;
};

TEST_F(LiveControls, AReboundKeyDrivesTheSnapshotAndARefusedDuplicateKeepsTheOldBinding) {
    KeyBindings b;
    // Z is the attack's: refused, saying so, and the jump keeps X.
    const BindResult refused = b.Bind(Action::Jump, 0, 'Z');
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.usedBy, Action::Attack);
    EXPECT_EQ(b.KeysOf(Action::Jump), (KeyBindings::Keys{'X', 0}));
    EXPECT_EQ(b.KeysOf(Action::Attack), (KeyBindings::Keys{'Z', 0}));
    // Mouse buttons and pad keys are no keyboard keys.
    EXPECT_TRUE(b.Bind(Action::Jump, 0, 1).badKey);
    EXPECT_TRUE(b.Bind(Action::Jump, 0, LUMO_PAD_A).badKey);
    EXPECT_FALSE(b.Bind(Action::MouseLeft, 0, 'K').ok);
    reader.SetBindings(b);
    Key('X', true);
    EXPECT_TRUE(Frame().Pressed(Action::Jump));
    Key('X', false);
    Frame();

    // J jumps now; X no longer does.
    ASSERT_TRUE(b.Bind(Action::Jump, 0, 'J').ok);
    reader.SetBindings(b);
    Key('X', true);
    Controls c = Frame();
    EXPECT_FALSE(c.Held(Action::Jump));
    Key('X', false);
    Key('J', true);
    c = Frame();
    EXPECT_TRUE(c.Pressed(Action::Jump));
    EXPECT_TRUE(c.Held(Action::Jump));
    Key('J', false);
    EXPECT_TRUE(Frame().Released(Action::Jump));
    // X is free again for another action.
    EXPECT_TRUE(b.Bind(Action::Attack, 1, 'X').ok);
    EXPECT_EQ(b.ActionOfKey('X', Action::Jump), Action::Attack);
    b.RestoreDefaults();
    EXPECT_EQ(b, KeyBindings());
}

TEST_F(LiveControls, TwoKeysOfOneActionPressOnceAndReleaseWithTheLast) {
    KeyBindings b;
    ASSERT_TRUE(b.Bind(Action::WalkLeft, 1, 'H').ok);
    reader.SetBindings(b);
    Key(37, true);
    EXPECT_TRUE(Frame().Pressed(Action::WalkLeft));
    Key('H', true);
    Controls c = Frame();
    EXPECT_FALSE(c.Pressed(Action::WalkLeft));  // already held by the arrow
    EXPECT_TRUE(c.Held(Action::WalkLeft));
    Key(37, false);
    c = Frame();
    EXPECT_FALSE(c.Released(Action::WalkLeft));  // H still holds it
    EXPECT_TRUE(c.Held(Action::WalkLeft));
    Key('H', false);
    EXPECT_TRUE(Frame().Released(Action::WalkLeft));
}

TEST_F(LiveControls, MenuActionsShareKeysAndAMenuTakesAKeyForAllItsActions) {
    KeyBindings b;
    // Enter opens the chat and confirms menus; a menu key is checked only
    // against the other menu action.
    EXPECT_EQ(b.ActionOfKey(13, Action::Enter), Action::Enter);
    EXPECT_EQ(b.ActionOfKey(13, Action::Cancel), Action::Confirm);
    EXPECT_EQ(b.Bind(Action::Cancel, 0, 13).usedBy, Action::Confirm);
    EXPECT_TRUE(b.Bind(Action::Cancel, 0, 'X').ok);

    // Pad A is both the jump and the confirmation.
    engine.InjectPadButton(LUMO_PAD_A, true);
    Controls c = Frame();
    EXPECT_TRUE(c.Pressed(Action::Jump));
    EXPECT_TRUE(c.Pressed(Action::Confirm));
    // A dialog takes it: nobody jumps, and while A stays down it drives nothing.
    c.Consume(Action::Confirm);
    EXPECT_FALSE(c.Pressed(Action::Confirm));
    EXPECT_FALSE(c.Pressed(Action::Jump));
    reader.TakeConsumed(c);
    c = Frame();
    EXPECT_FALSE(c.Held(Action::Jump));
    engine.InjectPadButton(LUMO_PAD_A, false);
    Frame();
    engine.InjectPadButton(LUMO_PAD_A, true);
    EXPECT_TRUE(Frame().Pressed(Action::Jump));  // a new press counts
    engine.InjectPadButton(LUMO_PAD_A, false);

    // The stick walks; the right stick's directions are quick slots 5-8.
    engine.InjectPadAxis(LUMO_PAD_AXIS_LEFTX, -20000);
    engine.InjectPadAxis(LUMO_PAD_AXIS_RIGHTY, 20000);
    engine.InjectPadButton(LUMO_PAD_BACK, true);
    c = Frame();
    EXPECT_TRUE(c.Pressed(Action::WalkLeft));
    EXPECT_TRUE(c.Pressed(Action::QuickSlot7));
    EXPECT_TRUE(c.Pressed(Action::QuestWindow));
}

TEST_F(LiveControls, KeysThatTypeTextAreNoActionWhileTyping) {
    KeyBindings b;
    ASSERT_TRUE(b.Bind(Action::QuickSave, 0, 'P').ok);
    EXPECT_FALSE(b.Bind(Action::Quit, 1, 'Q').ok);  // Q is quick slot 5's
    ASSERT_TRUE(b.Bind(Action::Screenshot, 0, 'K').ok);
    reader.SetBindings(b);
    for (int vk : {'X', 'Z', 'C', 'V', 'A', 'P', 'K'}) Key(vk, true);
    Key(13, true);
    Key(37, true);
    Controls c = Frame(true);
    for (Action a : {Action::Jump, Action::Attack, Action::PickUp, Action::CastSpell, Action::QuickSlot1,
                     Action::QuickSave, Action::Screenshot}) {
        EXPECT_FALSE(c.Held(a)) << KeyBindings::Id(a);
        EXPECT_FALSE(c.Pressed(a)) << KeyBindings::Id(a);
    }
    EXPECT_EQ(c.keyPressed, 0);
    // Enter sends the line; keys that type nothing still act.
    EXPECT_TRUE(c.Pressed(Action::Enter));
    EXPECT_TRUE(c.Held(Action::WalkLeft));
}

TEST(KeyNames, EveryNamedKeyReadsBackAndUnknownNamesAreRefused) {
    for (int vk = 1; vk < 256; ++vk) {
        const std::string name = key_names::Name(vk);
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(key_names::FromName(name), vk) << name;
    }
    EXPECT_EQ(key_names::FromName("f10"), 121);
    EXPECT_EQ(key_names::FromName("ESCAPE"), 27);
    EXPECT_EQ(key_names::FromName("F13"), 0);
    EXPECT_EQ(key_names::FromName("Key256"), 0);
    EXPECT_EQ(key_names::FromName("nonsense"), 0);
    EXPECT_EQ(key_names::FromName(""), 0);
    EXPECT_EQ(KeyBindings::FromId(KeyBindings::Id(Action::QuickSlot3)), Action::QuickSlot3);
    EXPECT_EQ(KeyBindings::FromId("Fly"), Action::Count);
}

}  // namespace
