// GUI controls and collision boxes.

#include <malloc.h>

#include "engine_fixture.h"
#include "shared/gbk.h"

using namespace lumo_test;

namespace {

class ControlsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        gui = Gui_Interface_Get(e);
    }
    // Moves the mouse and changes the left button, then runs the GUI for a frame.
    int Step(float x, float y, int button = -1) {
        Harness_InjectMouseMove(e, x, y);
        if (button >= 0) Harness_InjectMouseButton(e, 1, button == 1);
        Harness_BeginFrame(e);
        return Gui_Update_e(gui, Timer_GetDelta_e(e));
    }
    HGUI gui = 0;
};

}  // namespace

TEST_F(ControlsTest, ButtonStatesAndClick) {
    HTEXTURE tex[3] = {
        Texture_Load_e(e, Solid("n.png", 4, 4, 0xFF0000FF).c_str()),
        Texture_Load_e(e, Solid("h.png", 4, 4, 0xFF00FF00).c_str()),
        Texture_Load_e(e, Solid("p.png", 4, 4, 0xFFFF0000).c_str()),
    };
    HCTRL button = GUIButton_Interface_Get(7, 10, 10, 20, 20, tex[0], tex[1], tex[2]);
    Gui_AddCtrl_e(gui, button);

    EXPECT_EQ(Step(0, 0), 0);
    EXPECT_EQ(Button_GetState_e(button), 0);
    EXPECT_EQ(Step(15, 15), 0);
    EXPECT_EQ(Button_GetState_e(button), 1);
    Frame([&] { Gui_Render_e(gui); });
    EXPECT_EQ(Pixel(29, 29), 0xFF00FF00u);  // hover picture, stretched to 20 x 20
    EXPECT_EQ(Pixel(30, 30), kBlack);
    EXPECT_EQ(Step(15, 15, 1), 0);
    EXPECT_EQ(Button_GetState_e(button), 2);
    EXPECT_EQ(Step(16, 16, 0), 7);  // released inside: a click
    EXPECT_EQ(Button_GetState_e(button), 1);

    // Pressed inside, released outside: no click.
    EXPECT_EQ(Step(15, 15, 1), 0);
    EXPECT_EQ(Step(50, 50), 0);
    EXPECT_EQ(Button_GetState_e(button), 0);
    EXPECT_EQ(Step(50, 50, 0), 0);
    // Pressed outside, released inside: no click either.
    EXPECT_EQ(Step(50, 50, 1), 0);
    EXPECT_EQ(Step(15, 15, 0), 0);

    // Hidden buttons neither click nor draw; moved buttons follow.
    Button_SetVisible_e(button, false);
    Step(15, 15, 1);
    EXPECT_EQ(Step(15, 15, 0), 0);
    Button_SetVisible_e(button, true);
    Button_SetPos_e(button, 100, 100);
    Step(105, 105, 1);
    EXPECT_EQ(Step(105, 105, 0), 7);
}

TEST_F(ControlsTest, EditTakesTextOnlyWithFocusAndDeletesWholeCharacters) {
    HFONT font = Font_Interface_Get(gbk::Lit("宋体").c_str(), 12, 0, 0, 0);
    HCTRL edit = Edit_Interface_Get(3, 10, 80, 120, 20, font, 6);
    Gui_AddCtrl_e(gui, edit);

    Harness_InjectText(e, "ignored");
    Step(0, 0);
    EXPECT_STREQ(Edit_GetText_e(edit), "");

    SetFocus_e(edit);
    EXPECT_EQ(GetFocus_e(), edit);
    Harness_InjectText(e, "a中\n");
    Step(0, 0);
    EXPECT_EQ(std::string(Edit_GetText_e(edit)), gbk::Lit("a中"));  // Enter is not text
    Harness_InjectText(e, "文字");  // 3 + 4 bytes would pass the 6-byte limit
    Step(0, 0);
    EXPECT_EQ(std::string(Edit_GetText_e(edit)), gbk::Lit("a中文"));
    Harness_InjectKey(e, 8, true);
    Step(0, 0);
    EXPECT_EQ(std::string(Edit_GetText_e(edit)), gbk::Lit("a中"));
    Harness_InjectKey(e, 8, false);
    Harness_InjectKey(e, 8, true);
    Step(0, 0);
    EXPECT_STREQ(Edit_GetText_e(edit), "a");

    Edit_SetColor_e(edit, 0xFFFFFFFF, 0xFF000080);
    Edit_SetText_e(edit, gbk::Lit("你好").c_str());
    Frame([&] { Gui_Render_e(gui); });
    EXPECT_EQ(Pixel(125, 82), 0xFF000080u);  // background
    int lit = 0;
    for (int x = 12; x < 40; ++x)
        for (int y = 82; y < 98; ++y) lit += Pixel(x, y) != 0xFF000080u;
    EXPECT_GT(lit, 20);

    // A click elsewhere takes the focus away; a click inside gives it back.
    Step(5, 5, 1);
    Step(5, 5, 0);
    EXPECT_EQ(GetFocus_e(), 0u);
    Step(20, 85, 1);
    Step(20, 85, 0);
    EXPECT_EQ(GetFocus_e(), edit);
    KillFocus_e(edit);
    EXPECT_EQ(GetFocus_e(), 0u);
    SetFocus_e(edit);
    Ctrl_Del(edit);
    EXPECT_EQ(GetFocus_e(), 0u);
    EXPECT_STREQ(Edit_GetText_e(edit), "");
}

// With drawing off (logic-only runs) an edit box sent nothing to the renderer
// but its clip changes, which waited in the renderer's queue for a drawn
// frame: a long logic-only run grew by two queued commands a frame.
TEST_F(ControlsTest, AnEditBoxWithDrawingOffLeavesTheRendererAlone) {
    HFONT font = Font_Interface_Get(gbk::Lit("宋体").c_str(), 12, 0, 0, 0);
    HCTRL edit = Edit_Interface_Get(3, 10, 80, 120, 20, font, 60);
    Gui_AddCtrl_e(gui, edit);
    Edit_SetText_e(edit, "typing");
    Edit_SetColor_e(edit, 0xFFFFFFFF, 0xFF000080);
    Frame([&] { Gui_Render_e(gui); });  // the text's picture is cached
    Harness_SetDrawing(e, false);
    auto drawn = [&] {
        Frame([&] { Gui_Render_e(gui); });
        return mallinfo2().uordblks;
    };
    const std::size_t before = drawn();
    for (int i = 0; i < 20000; ++i) drawn();
    EXPECT_LT(drawn() - before, 100'000u);  // 20,000 frames queued about 2 MB
    Harness_SetDrawing(e, true);
    Frame([&] { Gui_Render_e(gui); });
    EXPECT_EQ(Pixel(125, 82), 0xFF000080u);  // drawing again draws the box
}

TEST_F(ControlsTest, SliderFollowsTheDraggedMouse) {
    HCTRL slider = GUISlider_Interface_Get(4, 20, 50, 100, 10, 0, false);
    Gui_AddCtrl_e(gui, slider);
    GUISlider_SetRange_e(slider, 0, 10);
    GUISlider_SetValue_e(slider, 42);
    EXPECT_FLOAT_EQ(GUISlider_GetValue_e(slider), 10);
    Step(70, 55, 1);
    EXPECT_FLOAT_EQ(GUISlider_GetValue_e(slider), 5);
    Step(95, 200);  // dragging goes on outside the track
    EXPECT_FLOAT_EQ(GUISlider_GetValue_e(slider), 7.5f);
    Step(500, 200, 0);
    Step(20, 55);  // the button is up: moving no longer drags
    EXPECT_FLOAT_EQ(GUISlider_GetValue_e(slider), 7.5f);
    Gui_Del(gui);
    EXPECT_FLOAT_EQ(GUISlider_GetValue_e(slider), 0);
}

TEST_F(EngineTest, CollisionPointTest) {
    HCOLL box = CCollision_e(e, 10, 20, 30, 40);
    const struct {
        float x, y;
        int expected;
    } points[] = {
        {10, 20, 0}, {25, 40, 0}, {39.9f, 59.9f, 0}, {40, 30, 1}, {20, 60, 1},
        {9.9f, 30, 1}, {-100, -100, 1},
    };
    for (const auto& p : points)
        EXPECT_EQ(CColl_TextPoint_e(box, p.x, p.y) & 1, p.expected) << p.x << "," << p.y;
    CColl_Move_e(box, 5, -5);
    EXPECT_FLOAT_EQ(CColl_GetX_e(box), 15);
    EXPECT_FLOAT_EQ(CColl_GetY_e(box), 15);
    CColl_SetPoint_e(box, 0, 0);
    CColl_SetWH_e(box, 2, 3);
    EXPECT_FLOAT_EQ(CColl_GetW_e(box), 2);
    EXPECT_FLOAT_EQ(CColl_GetH_e(box), 3);
    EXPECT_EQ(CColl_TextPoint_e(box, 1, 2), 0);
    Frame([&] { CColl_Render_e(box, 0xFFFFFFFF); });
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFFFu);
    CColl_Del(box);
    EXPECT_EQ(CColl_TextPoint_e(box, 1, 2), 1);
    EXPECT_FLOAT_EQ(CColl_GetW_e(box), 0);
}
