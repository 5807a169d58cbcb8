// The editor window driven as a user would: fields, buttons, canvas input
// and keys, headless.

#include "edit_controller.h"
#include "editor_test_support.h"
#include "editor_texts.h"
#include "element_item.h"
#include "event_page.h"
#include "file_controller.h"
#include "ground_page.h"
#include "info_page.h"
#include "map_canvas.h"
#include "map_data_page.h"
#include "sprite_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace editor;
using editor_test::Editor;
using editor_test::Workspace;

namespace {

QString U8(const char* s) { return QString::fromUtf8(s); }

template <class T>
T* Find(MainWindow& w, const char* name) {
    T* t = w.findChild<T*>(U8(name));
    EXPECT_NE(t, nullptr) << name;
    return t;
}

}  // namespace

TEST(EditorWindow, ControlsCarryTheirNamesAndTheTitle) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    EXPECT_EQ(w.windowTitle(), U8("梦想风铃谷OL - 地图编辑器"));
    for (const char* name : {"编辑框1_地图宽度", "编辑框2_地图高度", "编辑框_整体背景", "编辑框_飘动间隔", "编辑框_初始地层编号",
                             "编辑框_初始地层X偏移", "编辑框_主地图", "编辑框_主地图初始地层编号", "编辑框_精灵左边"}) {
        Find<QLineEdit>(w, name);
    }
    Find<QRadioButton>(w, "单选框_楼梯");
    Find<QCheckBox>(w, "选择框_创建地层");
    QListWidget* files = Find<QListWidget>(w, "超级列表框1");
    ASSERT_GE(files->count(), 3);
    EXPECT_EQ(files->item(0)->text(), U8("返回上一级目录"));
}

TEST(EditorWindow, MapSizeHasItsMinimumsAndUndoes) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.mapPage().width->setText("500");
    w.mapPage().height->setText("700");
    QTest::mouseClick(w.mapPage().applySize, Qt::LeftButton);
    EXPECT_EQ(w.mapPage().width->text(), "800");
    EXPECT_EQ(w.mapPage().height->text(), "700");
    EXPECT_EQ(ed.doc().header().height, 700);
    EXPECT_EQ(w.canvas().sceneRect(), QRectF(0, 0, 800, 700));
    w.undoStack().undo();
    EXPECT_EQ(ed.doc().header().height, 600);
    EXPECT_EQ(w.mapPage().height->text(), "600");
}

TEST(EditorWindow, ClosingAsksOnlyWhenSomethingWasDrawn) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(ed.dialogs->asked.empty());

    Editor drawn(ws.options());
    editor_test::DrawBox(*drawn.window, 0, {10, 500}, {300, 540});
    drawn.window->show();
    drawn.dialogs->answers = {false};
    EXPECT_FALSE(drawn.window->close());
    ASSERT_EQ(drawn.dialogs->asked.size(), 1u);
    EXPECT_EQ(drawn.dialogs->asked[0].text, U8("地图编辑器中已经绘制数据 是否直接退出?"));
    drawn.dialogs->answers = {true};
    EXPECT_TRUE(drawn.window->close());
}

TEST(EditorWindow, CopyAndPasteNeedASelectedSpriteAndTheCanvasFocus) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    QTest::keyClick(&w.canvas(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(w.edits().clipboard().empty());
    QTest::keyClick(&w.canvas(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(ed.doc().list(ElementKind::Sprite).empty());

    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    const Element sprite = ed.doc().list(ElementKind::Sprite)[0];
    EXPECT_EQ(sprite.picture, "\\data\\map\\tree.png");
    w.canvas().pressAt(QPointF(sprite.left + 5, sprite.top + 5), Qt::NoModifier);
    w.canvas().releaseAt(QPointF(sprite.left + 5, sprite.top + 5), Qt::NoModifier);
    QTest::keyClick(&w.canvas(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&w.canvas(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ed.doc().list(ElementKind::Sprite).size(), 2u);
}

TEST(EditorWindow, PicturesOutsideTheDataFolderOrNotPicturesAreRefused) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    QImage(5, 5, QImage::Format_ARGB32).save(ws.path("outside.png"));
    EXPECT_FALSE(w.edits().addSprite(ws.path("outside.png")));
    EXPECT_EQ(ed.dialogs->lastInform(), U8(texts::kPictureOutsideData));
    QFile junk(ws.path("data/map/junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_FALSE(w.edits().addSprite(ws.path("data/map/junk.png")));
    EXPECT_EQ(ed.dialogs->lastInform(), U8(texts::kNotAPicture));
    EXPECT_TRUE(ed.doc().list(ElementKind::Sprite).empty());
}

TEST(EditorWindow, TypeFourIsRefusedInTheFieldsButTheMenuSetsIt) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    const Element s = ed.doc().list(ElementKind::Sprite)[0];
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F2);
    ASSERT_TRUE(w.infoPage().capture->isChecked());
    w.canvas().pressAt(QPointF(s.left + 1, s.top + 1), Qt::NoModifier);
    w.canvas().releaseAt(QPointF(s.left + 1, s.top + 1), Qt::NoModifier);
    EXPECT_EQ(w.infoPage().info->text(), U8("目前是[精灵]信息"));
    EXPECT_EQ(w.infoPage().left->text(), QString::number(s.left));
    w.infoPage().type->setText("4");
    QTest::mouseClick(w.infoPage().adjust, Qt::LeftButton);
    EXPECT_EQ(ed.dialogs->lastInform(), U8("精灵类型超出范围!!"));
    EXPECT_EQ(ed.doc().list(ElementKind::Sprite)[0].type, 0);
    w.infoPage().type->setText("");
    QTest::mouseClick(w.infoPage().adjust, Qt::LeftButton);
    EXPECT_EQ(ed.dialogs->lastInform(), U8("类型不能为空!!"));
    w.edits().setLayer(s.id, wdm::kLayerFloating);
    EXPECT_EQ(ed.doc().list(ElementKind::Sprite)[0].type, 4);
    // A box cannot be made smaller than 10 pixels.
    editor_test::DrawBox(w, 0, {10, 500}, {300, 540});
    w.canvas().pressAt(QPointF(100, 520), Qt::NoModifier);
    w.canvas().releaseAt(QPointF(100, 520), Qt::NoModifier);
    EXPECT_EQ(w.infoPage().info->text(), U8("目前是[正方形]信息"));
    w.infoPage().height->setText("9");
    QTest::mouseClick(w.infoPage().adjust, Qt::LeftButton);
    EXPECT_EQ(ed.dialogs->lastInform(), U8(texts::kBoxTooSmall));
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[0].height, 40);
}

TEST(EditorWindow, DrawingGroundsSnapsAndDropsSmallBoxes) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {300, 540}, {10, 500});  // dragged up and left
    ASSERT_EQ(ed.doc().list(ElementKind::Square).size(), 1u);
    EXPECT_EQ(QRect(ed.doc().list(ElementKind::Square)[0].left, ed.doc().list(ElementKind::Square)[0].top, 290, 40),
              QRect(10, 500, 290, 40));
    editor_test::DrawBox(w, 0, {10, 100}, {300, 109});  // 9 px high
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 1u);
    // A left slope starts at the square's top-left corner, 5 px down.
    w.groundPage().kinds[2]->setChecked(true);
    w.groundPage().create->setChecked(true);
    w.canvas().pressAt(QPointF(150, 520), Qt::NoModifier);
    w.canvas().moveTo(QPointF(250, 600), Qt::NoModifier);
    EXPECT_EQ(w.canvas().markerPos(0), QPointF(8, 503));
    w.canvas().releaseAt(QPointF(250, 600), Qt::NoModifier);
    ASSERT_EQ(ed.doc().list(ElementKind::Slope).size(), 1u);
    EXPECT_EQ(ed.doc().list(ElementKind::Slope)[0].left, 10);
    EXPECT_EQ(ed.doc().list(ElementKind::Slope)[0].top, 505);
    EXPECT_EQ(w.canvas().markerPos(0), QPointF(-4, -4));
    // Outside every square a stair does not start.
    editor_test::DrawBox(w, 4, {600, 100}, {650, 300});
    EXPECT_TRUE(ed.doc().list(ElementKind::Stair).empty());
    // F3 and F4 exclude each other.
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F3);
    QTest::keyClick(&w, Qt::Key_F4);
    EXPECT_TRUE(w.eventPage().create->isChecked());
    EXPECT_FALSE(w.groundPage().create->isChecked());
}

TEST(EditorWindow, EventPlacementRulesAndMessages) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {100, 500}, {500, 540});
    EventPage& p = w.eventPage();
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {200, 510});
    EXPECT_EQ(ed.dialogs->lastInform(), U8("请先填好NPC ID!"));
    editor_test::PlaceEventAt(w, wdm::kEventMonster, {200, 510});
    EXPECT_EQ(ed.dialogs->lastInform(), U8("请先填好怪物ID!"));
    editor_test::PlaceEventAt(w, wdm::kEventLink, {200, 510});
    EXPECT_EQ(ed.dialogs->lastInform(), U8("请先填好[地图编号]再画链接"));
    editor_test::PlaceEventAt(w, wdm::kEventAnimation, {200, 510});
    EXPECT_EQ(ed.dialogs->lastInform(), U8("请先填好动画ID!"));
    EXPECT_TRUE(ed.doc().list(ElementKind::Event).empty());
    p.npcId->setText("3");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {50, 300});
    EXPECT_EQ(ed.dialogs->lastInform(), U8("请设置到固定正方形上!"));
    editor_test::PlaceEventAt(w, wdm::kEventItem, {50, 300});
    EXPECT_EQ(ed.dialogs->informed.size(), 6u);
    EXPECT_TRUE(ed.doc().list(ElementKind::Event).empty());

    editor_test::PlaceEventAt(w, wdm::kEventNpc, {200, 510});
    ASSERT_EQ(ed.doc().list(ElementKind::Event).size(), 1u);
    const Element npc = ed.doc().list(ElementKind::Event)[0];
    EXPECT_EQ(QRect(npc.left, npc.top, npc.width, npc.height), QRect(180, 460, 40, 40));
    EXPECT_EQ(wdm::ParseNpcDetail(npc.detail), (wdm::NpcDetail{3, 1, 80}));
    p.linkMap->setText("2");
    editor_test::PlaceEventAt(w, wdm::kEventLink, {700, 100});
    p.effectId->setText("5");
    p.playBackAndForth->setChecked(true);
    editor_test::PlaceEventAt(w, wdm::kEventAnimation, {650, 90});
    ASSERT_EQ(ed.doc().list(ElementKind::Event).size(), 3u);
    EXPECT_EQ(ed.doc().list(ElementKind::Event)[1].left, 680);
    const wdm::AnimationDetail anim = wdm::ParseAnimationDetail(ed.doc().list(ElementKind::Event)[2].detail);
    EXPECT_TRUE(anim.backAndForth());
    EXPECT_EQ(anim.x, 650);
    // An item name holding a separator would read back as another map.
    p.itemName->setText("a|b");
    editor_test::PlaceEventAt(w, wdm::kEventItem, {300, 510});
    EXPECT_EQ(ed.dialogs->lastInform(), U8(texts::kBadText));
    EXPECT_EQ(ed.doc().list(ElementKind::Event).size(), 3u);
}

TEST(EditorWindow, DraggedNpcTakesTheSquareItIsDroppedOn) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    editor_test::DrawBox(w, 0, {400, 300}, {700, 340});
    w.eventPage().npcId->setText("1");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {100, 510});
    const quint64 id = ed.doc().list(ElementKind::Event)[0].id;
    w.canvas().pressAt(QPointF(100, 480), Qt::NoModifier);
    w.canvas().moveTo(QPointF(520, 270), Qt::NoModifier);
    w.canvas().releaseAt(QPointF(520, 270), Qt::NoModifier);
    const Element* npc = ed.doc().find(id);
    EXPECT_EQ(npc->top, 260);
    EXPECT_EQ(wdm::ParseNpcDetail(npc->detail).ground, 2);
    EXPECT_EQ(wdm::ParseNpcDetail(npc->detail).offset, npc->left - 400);
    // Off every square: refused, and the NPC stays.
    w.canvas().pressAt(QPointF(520, 280), Qt::NoModifier);
    w.canvas().moveTo(QPointF(350, 100), Qt::NoModifier);
    w.canvas().releaseAt(QPointF(350, 100), Qt::NoModifier);
    EXPECT_EQ(ed.dialogs->lastInform(), U8("请设置到固定正方形上!"));
    EXPECT_EQ(ed.doc().find(id)->top, 260);
    EXPECT_EQ(w.canvas().itemOf(id)->pos(), QPointF(npc->left, 260));
}

TEST(EditorWindow, DeletingASquareShiftsEventGroundsAndRefusesOneInUse) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {100, 540});
    editor_test::DrawBox(w, 0, {200, 500}, {300, 540});
    editor_test::DrawBox(w, 0, {400, 500}, {500, 540});
    w.eventPage().npcId->setText("1");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {450, 510});
    w.groundPage().kinds[0]->setChecked(true);
    w.groundPage().number->setText("3");
    QTest::mouseClick(w.groundPage().deleteGround, Qt::LeftButton);
    EXPECT_EQ(ed.dialogs->lastInform(), U8(texts::kSquareInUse));
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 3u);
    w.groundPage().number->setText("1");
    QTest::mouseClick(w.groundPage().deleteGround, Qt::LeftButton);
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 2u);
    EXPECT_EQ(wdm::ParseNpcDetail(ed.doc().list(ElementKind::Event)[0].detail).ground, 2);
    // A number outside the list does nothing.
    w.groundPage().number->setText("9");
    QTest::mouseClick(w.groundPage().deleteGround, Qt::LeftButton);
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 2u);
}

TEST(EditorWindow, TakingBackASpriteRemovesTheOneAddedLastByIdentity) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/48.png")));
    const quint64 first = ed.doc().list(ElementKind::Sprite)[0].id;
    const quint64 second = ed.doc().list(ElementKind::Sprite)[1].id;
    // Reordering the list (as a save does) must not change which one goes.
    ed.doc().setSpriteOrder({second, first});
    QTest::mouseClick(w.spritePage().undoSprite, Qt::LeftButton);
    ASSERT_EQ(ed.doc().list(ElementKind::Sprite).size(), 1u);
    EXPECT_EQ(ed.doc().list(ElementKind::Sprite)[0].id, first);
}

TEST(EditorWindow, UndoAndRedoOfEveryEditKindRestoreTheModel) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    std::vector<editor_test::Snapshot> states{editor_test::Snap(ed.doc())};
    auto step = [&] { states.push_back(editor_test::Snap(ed.doc())); };
    editor_test::DrawBox(w, 0, {0, 500}, {400, 540}), step();        // ground
    editor_test::DrawBox(w, 1, {500, 400}, {700, 440}), step();      // ground
    w.eventPage().npcId->setText("2");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {600, 420}), step();  // event
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));  // add
    step();
    const quint64 sprite = ed.doc().list(ElementKind::Sprite)[0].id;
    w.edits().setLayer(sprite, wdm::kLayerTop), step();              // layer
    w.edits().setZLevel(sprite, wdm::kZBottom), step();              // z-order
    w.edits().flip(sprite), step();
    w.canvas().select(sprite);
    w.edits().nudge(3, -2), step();                                  // move
    const quint64 square = ed.doc().list(ElementKind::Square)[0].id;
    ed.dialogs->ints = {250};
    w.edits().adjustWidth(square), step();                           // resize
    w.mapPage().width->setText("1600");
    w.edits().applySize(), step();                                   // settings
    w.eventPage().eventNumber->setText("1");
    w.edits().editEvent();                                           // loads the fields
    w.eventPage().npcId->setText("9");
    w.edits().editEvent(), step();                                   // event edit
    EXPECT_EQ(wdm::ParseNpcDetail(ed.doc().list(ElementKind::Event)[0].detail).npcId, 9);
    w.edits().deleteAsked(square), step();                           // delete
    ASSERT_EQ(static_cast<std::size_t>(w.undoStack().count()), states.size() - 1);
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        w.undoStack().undo();
        EXPECT_EQ(editor_test::Snap(ed.doc()), states[i - 1]) << "undo to state " << i - 1;
    }
    for (std::size_t i = 1; i < states.size(); ++i) {
        w.undoStack().redo();
        EXPECT_EQ(editor_test::Snap(ed.doc()), states[i]) << "redo to state " << i;
    }
}

TEST(EditorWindow, ShiftGroupMovesTogetherForOneDrag) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {100, 540});
    editor_test::DrawBox(w, 0, {200, 500}, {300, 540});
    w.canvas().releaseAt(QPointF(50, 520), Qt::ShiftModifier);
    w.canvas().releaseAt(QPointF(250, 520), Qt::ShiftModifier);
    w.canvas().releaseAt(QPointF(250, 520), Qt::ShiftModifier);
    EXPECT_EQ(w.canvas().group().size(), 2u);
    w.canvas().pressAt(QPointF(600, 100), Qt::NoModifier);
    w.canvas().moveTo(QPointF(610, 80), Qt::NoModifier);
    w.canvas().releaseAt(QPointF(610, 80), Qt::NoModifier);
    EXPECT_TRUE(w.canvas().group().empty());
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[0].left, 10);
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[1].top, 480);
    EXPECT_EQ(w.undoStack().count(), 3);
}
