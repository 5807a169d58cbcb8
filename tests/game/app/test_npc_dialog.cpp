// The game's NPC side without an engine: the click on an NPC, the dialog the
// NPC's script fills through the commands, the choices' commands, the map
// change and the gold-collection rule.
#include <gtest/gtest.h>

#include <memory>

#include "app/game.h"
#include "gameplay/npc_picture_cache.h"
#include "shared/gbk.h"

namespace {

constexpr const char* kScript = R"(
提示("第一句")
选择项("甲@函数甲", "乙@exit", "丙@函数丙", "丁@")
function 函数甲() 标记 = (标记 or 0) + 1 end
function 函数丙() 提示("第二句") 选择项("新的@exit") 标记丙 = 1 end
)";

struct NpcGame : ::testing::Test {
    Game game;
    NpcPictures pictures;
    NpcArt art;

    void SetUp() override {
        game.phase = kPhasePlaying;
        game.scripts.CreateStates();
        ASSERT_TRUE(game.scripts.RunScriptText(gbk::FromUtf8(
            "for i = 1, 5 do 初始NPC(i,'n','f','s.lua',1,10,0) end "
            "for i = 1, 4 do 初始任务(i,'q','d','h','r','t',0) end")));
        pictures.frames = {FrameInfo{0, 0, 0, 50, 80, 0, 0}};
        AddNpc(2, 200);
        AddNpc(3, 260);
    }
    void AddNpc(int number, double x) {
        auto npc = std::make_unique<Npc>();
        npc->CreateFromRow(number, *game.dataTables().npcs.At(number), wdm::GroundRecord{0, 500, 1000, 20, 0}, x);
        npc->Init(pictures, art, gbk::FromUtf8(kScript), 7);
        game.actors.npcs.push_back(std::move(npc));
    }
    // One interface step with the pointer at screen (x, y), pressed or not.
    void Step(float x, float y, bool press) {
        game.controls = Controls{};
        game.controls.mouseX = x;
        game.controls.mouseY = y;
        game.controls[Action::MouseLeft].pressed = press;
        game.controls[Action::MouseLeft].held = press;
        game.UpdateInterface(1.0f / 60);
    }
    void ClickRow(int row) {
        DialogBox::Box b = game.dialogBox.ChoiceBox(row);
        Step(b.x + 2, b.y + 2, true);
    }
    double Global(const char* utf8Name) {
        ScriptState& s = game.scripts.mainState();
        s.GetGlobal(gbk::FromUtf8(utf8Name));
        const double v = s.ToNumber(1);
        s.Pop(1);
        return v;
    }
};

TEST_F(NpcGame, AClickOpensTheDialogWithTheChoicesInArgumentOrder) {
    Step(220, 450, false);
    EXPECT_EQ(game.pointer.Mode(), MousePointer::kBusy);
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    Step(220, 450, true);
    ASSERT_EQ(game.dialogBox.dialogOpen, 1);
    EXPECT_EQ(game.dialogBox.npc, 2);
    EXPECT_EQ(game.actors.npcs[0]->dialogFlag(), 1);
    EXPECT_EQ(game.dialogBox.prompt, gbk::FromUtf8("第一句"));
    ASSERT_EQ(game.dialogBox.choices.size(), 4u);
    EXPECT_EQ(game.dialogBox.choices[0].caption, gbk::FromUtf8("甲"));
    EXPECT_EQ(game.dialogBox.choices[1].action, "exit");
    EXPECT_EQ(game.dialogBox.choices[2].caption, gbk::FromUtf8("丙"));
    EXPECT_EQ(game.dialogBox.choices[3].action, "");
    // Away from every NPC the pointer is normal again.
    Step(600, 300, false);
    EXPECT_EQ(game.pointer.Mode(), MousePointer::kNormal);
}

TEST_F(NpcGame, ChoicesRunTheirFunctionExitRunsNothingAndThePromptStays) {
    Step(220, 450, true);
    ClickRow(4);  // empty action: nothing
    EXPECT_EQ(game.dialogBox.dialogOpen, 1);
    ClickRow(1);
    EXPECT_EQ(Global("标记"), 1.0);
    // The function set no prompt: the first one stays.
    EXPECT_EQ(game.dialogBox.prompt, gbk::FromUtf8("第一句"));
    // A function that replaces the choices while the rows are being read.
    ClickRow(3);
    EXPECT_EQ(Global("标记丙"), 1.0);
    EXPECT_EQ(game.dialogBox.prompt, gbk::FromUtf8("第二句"));
    ASSERT_EQ(game.dialogBox.choices.size(), 1u);
    ClickRow(1);  // "新的@exit"
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    EXPECT_EQ(Global("标记"), 1.0);
}

TEST_F(NpcGame, ClicksAreIgnoredWhileAWindowOrDialogIsOpenOrOverThePanels) {
    game.hud.ShowWindow(gbk::Lit("任务窗口"));
    Step(220, 450, true);
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    EXPECT_EQ(game.pointer.Mode(), MousePointer::kNormal);
    game.hud.ShowWindow(gbk::Lit("无"));
    // The right-hand panel and the bottom bar, with an NPC under them.
    game.camera.offsetX = 540;  // NPC 2 on screen at 740..790
    Step(760, 450, true);
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    game.camera.offsetX = 0;
    game.camera.offsetY = 60;  // NPC 2 on screen from y 480 to 560
    Step(220, 540, true);
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    game.camera.offsetY = 0;
    // While one dialog is open another NPC's click goes nowhere.
    Step(220, 450, true);
    ASSERT_EQ(game.dialogBox.npc, 2);
    Step(280, 450, true);
    EXPECT_EQ(game.dialogBox.npc, 2);
}

TEST_F(NpcGame, TheHitTestUsesMapCoordinatesOnAScrolledMap) {
    game.camera.offsetX = -150;  // NPC 3 (map 260..310) on screen at 110..160
    Step(220, 450, true);        // map x 370: nobody
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    Step(120, 450, true);
    EXPECT_EQ(game.dialogBox.dialogOpen, 1);
    EXPECT_EQ(game.dialogBox.npc, 3);
}

TEST_F(NpcGame, AMapChangeClosesTheDialogWhichKeepsItsScript) {
    Step(220, 450, true);
    ASSERT_EQ(game.dialogBox.dialogOpen, 1);
    game.ClearActors();
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    EXPECT_TRUE(game.actors.npcs.empty());
    EXPECT_EQ(game.dialogBox.npcScript, gbk::FromUtf8(kScript));
    Step(220, 450, true);  // nothing left to click, nothing dangling
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
}

TEST_F(NpcGame, TheDeathBoxTakesEveryPressAndTheNpcBehindItHearsNothing) {
    game.logicActive = 1;
    game.player.hp = 0;
    game.player.state = Player::kDead;
    // No pictures: the death animation has no frames to run through.
    game.player.frameCount[static_cast<std::size_t>(Player::kDead)] = 0;
    game.FrameFunc();
    game.FrameFunc();
    ASSERT_TRUE(game.player.DeathAnimationDone());
    // NPC 2 (map 200..250, 420..500) on screen under the box (267..532, 214..385).
    game.camera.offsetX = 100;
    game.camera.offsetY = -150;
    Step(320, 300, false);
    EXPECT_EQ(game.pointer.Mode(), MousePointer::kNormal);  // not over an NPC: over the box
    Step(320, 300, true);
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    EXPECT_EQ(game.interfaceStack.lastLeftPress(), "messageBox");
    // Beside the box too: nothing behind it takes a press while it shows.
    game.camera.offsetX = -150;
    Step(60, 300, true);
    EXPECT_EQ(game.dialogBox.dialogOpen, 0);
    EXPECT_EQ(game.interfaceStack.lastLeftPress(), "messageBox");
}

TEST_F(NpcGame, ExactlyTenThousandGoldMakesNpcFiveReady) {
    ASSERT_TRUE(game.scripts.RunScriptText(gbk::FromUtf8("增加任务(3)")));
    game.player.gold = 9999;
    Step(600, 300, false);
    EXPECT_EQ(game.dataTables().npcState.At(3)->questVariable, 9999);
    EXPECT_EQ(game.dataTables().npcState.At(5)->questState, 0);
    game.player.gold = 10000;
    Step(600, 300, false);
    EXPECT_EQ(game.dataTables().npcState.At(5)->questState, 2);
}

TEST_F(NpcGame, AQuestTakenTwiceTakesTwoSlotsAndEndingClearsOne) {
    ASSERT_TRUE(game.scripts.RunScriptText(gbk::FromUtf8("增加任务(2) 增加任务(2) 增加任务(9) 结束任务(2)")));
    EXPECT_EQ(game.questLog.At(1), 0);
    EXPECT_EQ(game.questLog.At(2), 2);
    EXPECT_EQ(game.questLog.At(3), 0);  // quest 9 is not in the table
}

}  // namespace
