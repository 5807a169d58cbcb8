// Input over frames, the frame loop, sound and message boxes.

#include <cstring>

#include "engine_fixture.h"
#include "shared/gbk.h"

using namespace lumo_test;

namespace {

void PushKey(SDL_Scancode sc, bool down) {
    SDL_Event ev{};
    ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    ev.key.keysym.scancode = sc;
    SDL_PushEvent(&ev);
}

}  // namespace

TEST_F(EngineTest, PhysicalKeysMapToVirtualKeys) {
    const struct {
        SDL_Scancode sc;
        int vk;
    } keys[] = {
        {SDL_SCANCODE_A, 'A'},      {SDL_SCANCODE_Z, 'Z'},       {SDL_SCANCODE_0, '0'},
        {SDL_SCANCODE_9, '9'},      {SDL_SCANCODE_ESCAPE, 27},   {SDL_SCANCODE_RETURN, 13},
        {SDL_SCANCODE_SPACE, 32},   {SDL_SCANCODE_LSHIFT, 16},   {SDL_SCANCODE_RCTRL, 17},
        {SDL_SCANCODE_LALT, 18},    {SDL_SCANCODE_TAB, 9},       {SDL_SCANCODE_BACKSPACE, 8},
        {SDL_SCANCODE_LEFT, 37},    {SDL_SCANCODE_UP, 38},       {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_DOWN, 40},    {SDL_SCANCODE_F1, 112},      {SDL_SCANCODE_F12, 123},
        {SDL_SCANCODE_DELETE, 46},  {SDL_SCANCODE_KP_5, 101},
    };
    for (const auto& k : keys) {
        PushKey(k.sc, true);
        Harness_BeginFrame(e);
        EXPECT_TRUE(Input_KeyDown_e(e, k.vk)) << k.vk;
        EXPECT_TRUE(Input_GetKeyState_e(k.vk)) << k.vk;
        EXPECT_EQ(System_Input_GetKey(e), k.vk);
        PushKey(k.sc, false);
        Harness_BeginFrame(e);
        EXPECT_TRUE(Input_KeyUp_e(e, k.vk)) << k.vk;
        EXPECT_FALSE(Input_GetKeyState_e(k.vk)) << k.vk;
    }
}

TEST_F(EngineTest, KeyStatesFollowTheFrames) {
    const int X = 'X';
    Harness_InjectKey(e, X, true);
    EXPECT_FALSE(Input_GetKeyState_e(X));  // injected input waits for the next frame
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyDown_e(e, X));
    EXPECT_TRUE(Input_GetKeyState_e(X));
    EXPECT_FALSE(Input_KeyUp_e(e, X));
    Harness_BeginFrame(e);
    EXPECT_FALSE(Input_KeyDown_e(e, X));
    EXPECT_TRUE(Input_GetKeyState_e(X));
    EXPECT_EQ(System_Input_GetKey(e), 0);
    Harness_InjectKey(e, X, false);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyUp_e(e, X));
    EXPECT_FALSE(Input_GetKeyState_e(X));
    Harness_BeginFrame(e);
    EXPECT_FALSE(Input_KeyUp_e(e, X));

    // A tap inside one frame is both a press and a release.
    Harness_InjectKey(e, 'Z', true);
    Harness_InjectKey(e, 'Z', false);
    Harness_BeginFrame(e);
    EXPECT_TRUE(Input_KeyDown_e(e, 'Z'));
    EXPECT_TRUE(Input_KeyUp_e(e, 'Z'));
    EXPECT_FALSE(Input_GetKeyState_e('Z'));

    // Out-of-range keys are ignored.
    Harness_InjectKey(e, 999, true);
    Harness_BeginFrame(e);
    EXPECT_FALSE(Input_KeyDown_e(e, 999));
    EXPECT_FALSE(Input_GetKeyState_e(-1));
}

TEST_F(EngineTest, MouseButtonsPositionWheelAndText) {
    Harness_InjectMouseMove(e, 12.5f, 40);
    Harness_InjectMouseButton(e, 1, true);
    Harness_InjectWheel(e, 2);
    Harness_InjectText(e, "你好a");
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.button = SDL_BUTTON_RIGHT;
    ev.button.x = 12;
    ev.button.y = 40;
    SDL_PushEvent(&ev);
    Harness_BeginFrame(e);
    float x = 0, y = 0;
    Input_GetMousePos_e(e, &x, &y);
    EXPECT_FLOAT_EQ(x, 12.5f);
    EXPECT_FLOAT_EQ(y, 40);
    EXPECT_TRUE(Input_KeyDown_e(e, 1));
    EXPECT_TRUE(Input_GetKeyState_e(2));
    EXPECT_FALSE(Input_GetKeyState_e(4));
    EXPECT_EQ(Input_GetMouseWheel_e(e), 2);
    EXPECT_EQ(std::string(Input_GetChars_e(e)), gbk::Lit("你好a"));
    Harness_BeginFrame(e);
    EXPECT_EQ(Input_GetMouseWheel_e(e), 0);
    EXPECT_STREQ(Input_GetChars_e(e), "");
    EXPECT_TRUE(Input_GetKeyState_e(1));
}

namespace loop {
HENGINE engine = 0;
int frames = 0, renders = 0, exits = 0;
bool Frame() {
    ++frames;
    if (frames == 3) {
        Harness_InjectKey(engine, 27, true);
        Harness_InjectKey(engine, 27, false);
    }
    return Input_KeyUp_e(engine, 27);
}
bool Render() {
    ++renders;
    Gfx_BeginScene_e(engine, 0);
    Gfx_Clear_e(engine, 0xFF112233);
    Gfx_EndScene_e(engine);
    return false;
}
bool Exit() {
    ++exits;
    return false;  // veto
}
}  // namespace loop

TEST_F(EngineTest, FrameLoopRunsUntilTheFrameCallbackSaysStop) {
    loop::engine = e;
    loop::frames = loop::renders = loop::exits = 0;
    EXPECT_FALSE(System_Start_e(e, 166));  // no frame callback bound
    System_SetState_func(e, LUMO_FRAMEFUNC, loop::Frame);
    System_SetState_func(e, LUMO_RENDERFUNC, loop::Render);
    System_SetState_func(e, LUMO_EXITFUNC, loop::Exit);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(System_Start_e(e, 166));
    EXPECT_EQ(loop::exits, 1);    // asked once, vetoed
    EXPECT_EQ(loop::frames, 4);   // Esc injected in frame 3 arrives in frame 4
    EXPECT_EQ(loop::renders, 3);  // no render after the stopping frame
    EXPECT_EQ(Harness_FrameCount(e), 4);
    EXPECT_NEAR(Timer_GetTime_e(e), 4.0f / 60.0f, 1e-5);
    EXPECT_EQ(Harness_ReadPixel(e, 5, 5), 0xFF112233u);
}

TEST_F(EngineTest, ClosingTheWindowWithoutExitCallbackEndsTheLoop) {
    loop::engine = e;
    loop::frames = 0;
    System_SetState_func(e, LUMO_FRAMEFUNC, loop::Frame);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(System_Start_e(e, 166));
    EXPECT_EQ(loop::frames, 0);
}

TEST_F(EngineTest, SoundsLoadPlayAndFailQuietly) {
    const std::string path = QuietWav("quiet.wav");

    HEFFECT eff = Effect_Load_e(e, path.c_str());
    ASSERT_NE(eff, 0u);
    HCHANNEL ch = Effect_PlayEx_e(e, eff, 80, -50, 1.0f, true);
    ASSERT_NE(ch, 0u);
    EXPECT_TRUE(Channel_IsPlaying_e(e, ch));
    Channel_Stop_e(e, ch);
    EXPECT_FALSE(Channel_IsPlaying_e(e, ch));
    Effect_Free_e(e, eff);
    EXPECT_EQ(Effect_PlayEx_e(e, eff, 80, 0, 1.0f, false), 0u);

    EXPECT_EQ(Effect_Load_e(e, "/no/such/sound.mp3"), 0u);
    EXPECT_EQ(Effect_Load_e(e, WriteFile("bad.wav", "RIFF\x10\0\0\0WAVEjunkjunk").c_str()), 0u);
    EXPECT_EQ(Effect_PlayEx_e(e, 0, 100, 0, 1.0f, false), 0u);
    Channel_Stop_e(e, 0);
    Channel_Stop_e(e, 5000);
    EXPECT_FALSE(Channel_IsPlaying_e(e, 5000));
}

TEST(EngineMessageBox, HeadlessBoxPrintsOneLineAndAnswersAtOnce) {
    HENGINE e = _Interface_Get();
    System_SetState_b(e, LUMO_HEADLESS, true);
    ASSERT_TRUE(System_Initiate_e(e));
    testing::internal::CaptureStderr();
    EXPECT_EQ(System_MessageBox_e(e, gbk::Lit("未绑定").c_str(), "Lumo Error", LUMO_MB_ICONERROR),
              LUMO_IDOK);
    EXPECT_EQ(System_MessageBox_e(e, "continue?", gbk::Lit("脚本").c_str(),
                                  LUMO_MB_YESNO | LUMO_MB_ICONQUESTION),
              LUMO_IDYES);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "[messagebox] Lumo Error: 未绑定\n[messagebox] 脚本: continue?\n");
    Release_e(e);
}
