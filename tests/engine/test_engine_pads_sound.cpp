// Gamepads as virtual keys, the sound volume groups as the mixer hears
// them, and the window's rectangle.

#include "engine_fixture.h"

#include <chrono>

using namespace lumo_test;

namespace {

void PushPadButton(int button, bool down) {
    SDL_Event ev{};
    ev.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    ev.cbutton.button = static_cast<Uint8>(button);
    ev.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&ev);
}

void PushPadAxis(int axis, int value) {
    SDL_Event ev{};
    ev.type = SDL_CONTROLLERAXISMOTION;
    ev.caxis.axis = static_cast<Uint8>(axis);
    ev.caxis.value = static_cast<Sint16>(value);
    SDL_PushEvent(&ev);
}

}  // namespace

TEST_F(EngineTest, PadButtonsAndSticksAreVirtualKeys) {
    // Controller events (as SDL sends them for a connected pad) and injected
    // ones drive the same keys.
    PushPadButton(SDL_CONTROLLER_BUTTON_A, true);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyDown_e(e, LUMO_PAD_A));
    EXPECT_TRUE(Input_GetKeyState_e(LUMO_PAD_A));
    PushPadButton(SDL_CONTROLLER_BUTTON_A, false);
    PushPadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyUp_e(e, LUMO_PAD_A));
    EXPECT_TRUE(Input_GetKeyState_e(LUMO_PAD_DPAD_LEFT));
    PushPadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);

    // The stick inside its dead zone is no key; past it, one direction.
    PushPadAxis(SDL_CONTROLLER_AXIS_LEFTX, -6000);
    Harness_BeginFrame(e);
    EXPECT_FALSE(Input_GetKeyState_e(LUMO_PAD_LEFT_STICK_LEFT));
    PushPadAxis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyDown_e(e, LUMO_PAD_LEFT_STICK_LEFT));
    EXPECT_FALSE(Input_GetKeyState_e(LUMO_PAD_LEFT_STICK_RIGHT));
    // Moving further is no second press.
    PushPadAxis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    Harness_BeginFrame(e);
    EXPECT_FALSE(Input_KeyDown_e(e, LUMO_PAD_LEFT_STICK_LEFT));
    EXPECT_TRUE(Input_GetKeyState_e(LUMO_PAD_LEFT_STICK_LEFT));
    // Across to the other side: left comes up, right goes down.
    Harness_InjectPadAxis(e, LUMO_PAD_AXIS_LEFTX, 32767);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyUp_e(e, LUMO_PAD_LEFT_STICK_LEFT));
    EXPECT_TRUE(Input_KeyDown_e(e, LUMO_PAD_LEFT_STICK_RIGHT));
    // Up is negative y; a trigger counts past half-way.
    Harness_InjectPadAxis(e, LUMO_PAD_AXIS_LEFTY, -32768);
    Harness_InjectPadAxis(e, LUMO_PAD_AXIS_LEFT_TRIGGER, 10000);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_GetKeyState_e(LUMO_PAD_LEFT_STICK_UP));
    EXPECT_FALSE(Input_GetKeyState_e(LUMO_PAD_LEFT_TRIGGER));
    Harness_InjectPadAxis(e, LUMO_PAD_AXIS_LEFT_TRIGGER, 30000);
    Harness_InjectPadButton(e, LUMO_PAD_START, true);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyDown_e(e, LUMO_PAD_LEFT_TRIGGER));
    EXPECT_TRUE(Input_KeyDown_e(e, LUMO_PAD_START));

    // Losing the focus lets every pad key go without a release.
    Harness_InjectFocus(e, false);
    Harness_BeginFrame(e);
    EXPECT_FALSE(Input_GetKeyState_e(LUMO_PAD_LEFT_STICK_RIGHT));
    EXPECT_FALSE(Input_KeyUp_e(e, LUMO_PAD_LEFT_STICK_RIGHT));
    EXPECT_FALSE(Input_GetKeyState_e(LUMO_PAD_START));
    // Out-of-range injections are ignored.
    Harness_InjectPadButton(e, 'X', true);
    Harness_InjectPadAxis(e, 9, 30000);
    Harness_BeginFrame(e);
    EXPECT_FALSE(Input_GetKeyState_e('X'));
}

TEST_F(EngineTest, AJoystickWithoutAMappingIsToldOnce) {
    EXPECT_STREQ(Input_TakeUnmappedPad_e(e), "");
    // A joystick SDL has no controller mapping for (no such device here, so
    // it is no game controller).
    for (int i = 0; i < 2; ++i) {
        SDL_Event ev{};
        ev.type = SDL_JOYDEVICEADDED;
        ev.jdevice.which = 7;
        SDL_PushEvent(&ev);
        Harness_BeginFrame(e);
    }
    const std::string first = Input_TakeUnmappedPad_e(e);
    EXPECT_FALSE(first.empty());
    EXPECT_STREQ(Input_TakeUnmappedPad_e(e), "");
    EXPECT_EQ(Input_GetPadCount_e(e), 0);
}

TEST_F(EngineTest, VolumeGroupsReachTheMixer) {
    ASSERT_TRUE(Effect_AudioOpen_e(e)) << "the dummy audio driver opens";
    const HEFFECT eff = Effect_Load_e(e, QuietWav("quiet_loop.wav").c_str());
    ASSERT_NE(eff, 0u);
    const HCHANNEL music = Effect_PlayEx_e(e, eff, 80, 0, 1.0f, true);
    const HCHANNEL effect = Effect_PlayEx_e(e, eff, 50, 0, 1.0f, true);
    ASSERT_NE(music, 0u);
    ASSERT_NE(effect, 0u);
    Channel_SetGroup_e(e, music, LUMO_SOUND_MUSIC);
    // Full volumes: each channel at its own volume (MIX_MAX_VOLUME 128).
    EXPECT_EQ(Harness_MixerVolume(e, music), 80 * 128 / 100);
    EXPECT_EQ(Harness_MixerVolume(e, effect), 50 * 128 / 100);
    EXPECT_EQ(Harness_MixerVolume(e, 0), 128);

    // The music at half: only the music channel (and stream) changes, at once.
    Sound_SetVolume_e(e, LUMO_SOUND_MUSIC, 50);
    EXPECT_EQ(Sound_GetVolume_e(e, LUMO_SOUND_MUSIC), 50);
    EXPECT_EQ(Harness_MixerVolume(e, music), 80 * 50 * 128 / 10000);
    EXPECT_EQ(Harness_MixerVolume(e, effect), 50 * 128 / 100);
    EXPECT_EQ(Harness_MixerVolume(e, 0), 64);
    // Effects at 0 silence the effect; a new effect starts at the group's volume.
    Sound_SetVolume_e(e, LUMO_SOUND_EFFECTS, 0);
    EXPECT_EQ(Harness_MixerVolume(e, effect), 0);
    Sound_SetVolume_e(e, LUMO_SOUND_EFFECTS, 20);
    const HCHANNEL later = Effect_PlayEx_e(e, eff, 100, 0, 1.0f, false);
    ASSERT_NE(later, 0u);
    EXPECT_EQ(Harness_MixerVolume(e, later), 20 * 128 / 100);
    // Out of range is held to 0..100.
    Sound_SetVolume_e(e, LUMO_SOUND_MUSIC, 250);
    EXPECT_EQ(Sound_GetVolume_e(e, LUMO_SOUND_MUSIC), 100);

    // Muted: every channel silent; unmuted: back as set.
    Sound_SetMuted_e(e, true);
    EXPECT_EQ(Harness_MixerVolume(e, music), 0);
    EXPECT_EQ(Harness_MixerVolume(e, later), 0);
    EXPECT_EQ(Harness_MixerVolume(e, 0), 0);
    Sound_SetMuted_e(e, false);
    EXPECT_EQ(Harness_MixerVolume(e, music), 80 * 128 / 100);
    EXPECT_EQ(Harness_MixerVolume(e, later), 20 * 128 / 100);
    Effect_Free_e(e, eff);
}

TEST_F(EngineTest, TheWindowRectangleIsKeptAndSet) {
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(System_GetWindowRect_e(e, &x, &y, &w, &h));
    EXPECT_EQ(w, 160);
    EXPECT_EQ(h, 120);
    ASSERT_TRUE(System_SetWindowRect_e(e, LUMO_WINDOW_CENTERED, LUMO_WINDOW_CENTERED, 240, 180));
    ASSERT_TRUE(System_GetWindowRect_e(e, &x, &y, &w, &h));
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 180);
    EXPECT_FALSE(System_SetWindowRect_e(e, 0, 0, 0, 100));
    EXPECT_FALSE(System_SetWindowRect_e(0, 0, 0, 100, 100));
    // A software renderer may refuse vsync; the call must not break drawing.
    System_SetVSync_e(e, true);
    Frame([&] {});
    EXPECT_EQ(Pixel(0, 0), kBlack);
}

// A headless run has no display: with vsync on, 240 frames must not take the
// four seconds that presenting 60 a second would.
TEST_F(EngineTest, HeadlessFramesWithVsyncOnDoNotWaitForADisplay) {
    ASSERT_TRUE(System_SetVSync_e(e, true));
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 240; ++i) Frame();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}
