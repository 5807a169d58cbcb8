// Faults a level designer met: lost work, edits that did not stick,
// doubled events, ghost boxes and the like, each driven as the user did.

#include "edit_controller.h"
#include "editor_test_support.h"
#include "editor_texts.h"
#include "element_item.h"
#include "event_page.h"
#include "file_controller.h"
#include "ground_page.h"
#include "info_page.h"
#include "layers_panel.h"
#include "map_canvas.h"
#include "map_data_page.h"
#include "sprite_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QLineEdit>
#include <QMouseEvent>
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

void Click(MainWindow& w, QPointF at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    w.canvas().pressAt(at, mods);
    w.canvas().releaseAt(at, mods);
}

void Drag(MainWindow& w, QPointF from, QPointF to) {
    w.canvas().pressAt(from, Qt::NoModifier);
    w.canvas().moveTo(to, Qt::NoModifier);
    w.canvas().releaseAt(to, Qt::NoModifier);
}

int DashedRects(MainWindow& w) {
    int n = 0;
    for (QGraphicsItem* item : w.canvas().scene()->items()) n += dynamic_cast<QGraphicsRectItem*>(item) != nullptr;
    return n;
}

// A square 0..300 x 500..540 with an NPC standing on it at x 100.
quint64 SquareWithNpc(MainWindow& w) {
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    w.eventPage().npcId->setText("1");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {100, 510});
    return w.document().list(ElementKind::Event).back().id;
}

}  // namespace

TEST(EditorFaults, RecoveredWorkIsAskedForBeforeTheCommandLineMapAndKept) {
    Workspace ws;
    const QString map = ws.path(U8("data/地图/a.Wdm"));
    QString recovery;
    {
        Editor ed(ws.options());
        editor_test::DrawBox(*ed.window, 0, {0, 500}, {300, 540});
        ASSERT_TRUE(ed.window->files().save(map));
        editor_test::DrawBox(*ed.window, 0, {400, 300}, {700, 340});
        ed.window->files().autosave();
        recovery = ed.window->files().recoveryFile();
        EXPECT_EQ(recovery, ed.window->files().recoveryFileFor(map));
        // The editor dies with unsaved work.
    }
    ASSERT_TRUE(QFile::exists(recovery));

    // Started again with the same map on the command line.
    Editor next(ws.options());
    next.dialogs->answers = {true};
    next.window->files().openAtStart(map);
    ASSERT_EQ(next.dialogs->asked.size(), 1u);
    EXPECT_TRUE(next.dialogs->asked[0].text.startsWith(U8(texts::kRecover)));
    EXPECT_EQ(next.doc().list(ElementKind::Square).size(), 2u);  // the recovered work, not the file
    EXPECT_FALSE(next.window->undoStack().isClean());
    EXPECT_EQ(next.window->windowTitle(), U8("a.Wdm* - 梦想风铃谷OL - 地图编辑器"));
    EXPECT_TRUE(QFile::exists(recovery));
    // Closing without leaving keeps it; the work is neither saved nor given up.
    next.window->show();
    next.dialogs->answers = {false};
    EXPECT_FALSE(next.window->close());
    EXPECT_TRUE(QFile::exists(recovery));
}

TEST(EditorFaults, RecoveredWorkOfAnotherMapIsKeptUnlessTheUserGivesItUp) {
    Workspace ws;
    const QString a = ws.path(U8("data/地图/a.Wdm"));
    const QString b = ws.path(U8("data/地图/b.Wdm"));
    {
        Editor other(ws.options());
        editor_test::DrawBox(*other.window, 0, {0, 500}, {300, 540});
        ASSERT_TRUE(other.window->files().save(a));
    }
    {
        Editor crashed(ws.options());
        editor_test::DrawBox(*crashed.window, 0, {0, 100}, {300, 140});
        ASSERT_TRUE(crashed.window->files().save(b));
        editor_test::DrawBox(*crashed.window, 0, {0, 200}, {300, 240});
        crashed.window->files().autosave();
    }
    // Recovered, then asked before a.Wdm replaces it: No keeps the work.
    Editor ed(ws.options());
    ed.dialogs->answers = {true, false};
    ed.window->files().openAtStart(a);
    ASSERT_EQ(ed.dialogs->asked.size(), 2u);
    EXPECT_EQ(ed.dialogs->asked[1].text, U8(texts::kUnsavedLoad));
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 2u);
    EXPECT_EQ(ed.window->files().currentPath(), b);
    EXPECT_TRUE(QFile::exists(ed.window->files().recoveryFile()));
}

TEST(EditorFaults, EveryWindowHasItsOwnRecoveryFile) {
    Workspace ws;
    Editor one(ws.options());
    Editor two(ws.options());
    editor_test::DrawBox(*one.window, 0, {0, 500}, {300, 540});
    editor_test::DrawBox(*two.window, 0, {0, 100}, {200, 140});
    one.window->files().autosave();
    two.window->files().autosave();
    EXPECT_NE(one.window->files().recoveryFile(), two.window->files().recoveryFile());
    EXPECT_TRUE(QFile::exists(one.window->files().recoveryFile()));
    EXPECT_TRUE(QFile::exists(two.window->files().recoveryFile()));
    // A third editor started now offers neither: their editors still run.
    Editor third(ws.options());
    third.window->files().openAtStart(QString());
    EXPECT_TRUE(third.dialogs->asked.empty());
}

TEST(EditorFaults, ShiftPressedDuringADragEndsTheDragWhereItIs) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {100, 540});
    const quint64 id = ed.doc().list(ElementKind::Square)[0].id;
    w.canvas().pressAt(QPointF(50, 520), Qt::NoModifier);
    w.canvas().moveTo(QPointF(150, 420), Qt::ShiftModifier);
    w.canvas().releaseAt(QPointF(150, 420), Qt::ShiftModifier);
    EXPECT_EQ(ed.doc().find(id)->left, 100);
    EXPECT_EQ(ed.doc().find(id)->top, 400);
    // Nothing follows the pointer any more.
    w.canvas().moveTo(QPointF(400, 100), Qt::NoModifier);
    EXPECT_EQ(w.canvas().itemOf(id)->pos(), QPointF(100, 400));
    EXPECT_TRUE(w.canvas().group().empty());
}

TEST(EditorFaults, InformationFieldsFollowDragsArrowsAndUndo) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.infoPage().capture->setChecked(true);
    editor_test::DrawBox(w, 0, {0, 500}, {100, 540});
    const quint64 id = ed.doc().list(ElementKind::Square)[0].id;
    Drag(w, {50, 520}, {150, 520});
    EXPECT_EQ(w.infoPage().left->text(), "100");
    QTest::mouseClick(w.infoPage().adjust, Qt::LeftButton);
    EXPECT_EQ(ed.doc().find(id)->left, 100);
    w.edits().nudge(1, 0);
    EXPECT_EQ(w.infoPage().left->text(), "101");
    w.undoStack().undo();
    w.undoStack().undo();
    EXPECT_EQ(w.infoPage().left->text(), "0");
    w.infoPage().height->setText("60");
    QTest::mouseClick(w.infoPage().adjust, Qt::LeftButton);
    EXPECT_EQ(*ed.doc().find(id), (Element{id, ElementKind::Square, 0, 500, 100, 60, 0, {}, false, 0, {}}));
}

TEST(EditorFaults, EventFieldsFollowAMovedEvent) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    const quint64 npc = SquareWithNpc(w);
    w.eventPage().eventNumber->setText("1");
    QTest::mouseClick(w.eventPage().editEvent, Qt::LeftButton);  // shows its fields
    EXPECT_EQ(w.eventPage().npcOffset->text(), "80");
    Drag(w, {100, 480}, {150, 480});
    EXPECT_EQ(w.eventPage().npcOffset->text(), "130");
    w.eventPage().npcId->setText("7");
    QTest::mouseClick(w.eventPage().editEvent, Qt::LeftButton);
    const wdm::NpcDetail d = wdm::ParseNpcDetail(ed.doc().find(npc)->detail);
    EXPECT_EQ(d.npcId, 7);
    EXPECT_EQ(d.offset, 130);
    EXPECT_EQ(ed.doc().find(npc)->left, 130);
}

TEST(EditorFaults, ADoubleClickInEventModePlacesOneEvent) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.show();
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    w.eventPage().npcId->setText("1");
    w.eventPage().setKind(wdm::kEventNpc);
    w.eventPage().create->setChecked(true);
    QWidget* view = w.canvas().viewport();
    const QPointF at = w.canvas().mapFromScene(QPointF(100, 510));
    // What the window system delivers for a double-click.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool up = type == QEvent::MouseButtonRelease;
        QMouseEvent e(type, at, view->mapToGlobal(at), Qt::LeftButton, up ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    }
    EXPECT_EQ(ed.doc().list(ElementKind::Event).size(), 1u);
}

TEST(EditorFaults, ASquareAndItsNpcMoveTogether) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    const quint64 npc = SquareWithNpc(w);
    w.canvas().releaseAt(QPointF(100, 480), Qt::ShiftModifier);
    w.canvas().releaseAt(QPointF(250, 520), Qt::ShiftModifier);
    ASSERT_EQ(w.canvas().group().size(), 2u);
    Drag(w, {600, 300}, {700, 250});
    EXPECT_TRUE(ed.dialogs->informed.empty()) << ed.dialogs->lastInform().toStdString();
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[0].left, 100);
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[0].top, 450);
    EXPECT_EQ(ed.doc().find(npc)->top, 410);
    const wdm::NpcDetail d = wdm::ParseNpcDetail(ed.doc().find(npc)->detail);
    EXPECT_EQ(d.ground, 1);
    EXPECT_EQ(d.offset, 80);
    EXPECT_EQ(w.undoStack().count(), 3);
}

TEST(EditorFaults, TurningBoxDrawingOffLeavesNoGhostBox) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.groundPage().create->setChecked(true);
    w.canvas().pressAt(QPointF(10, 500), Qt::NoModifier);
    w.canvas().moveTo(QPointF(200, 540), Qt::NoModifier);
    ASSERT_EQ(DashedRects(w), 1);
    w.toggleDrawGround();  // F3
    EXPECT_EQ(DashedRects(w), 0);
    EXPECT_EQ(w.canvas().markerPos(0), QPointF(-4, -4));
    w.canvas().moveTo(QPointF(300, 560), Qt::NoModifier);
    EXPECT_EQ(DashedRects(w), 0);
    // A change of ground kind while drawing ends the box too.
    w.toggleDrawGround();
    w.canvas().pressAt(QPointF(10, 500), Qt::NoModifier);
    w.canvas().moveTo(QPointF(200, 540), Qt::NoModifier);
    w.groundPage().kinds[1]->setChecked(true);
    EXPECT_EQ(DashedRects(w), 0);
    w.canvas().releaseAt(QPointF(200, 540), Qt::NoModifier);
    EXPECT_TRUE(ed.doc().list(ElementKind::Square).empty());
}

TEST(EditorFaults, SaveAddsTheMapSuffixAndThenSavesToItsOwnFile) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    const QString named = ws.path(U8("data/地图/testmap"));
    ed.dialogs->files = {named};
    QTest::mouseClick(w.mapPage().save, Qt::LeftButton);  // 保存工程
    EXPECT_TRUE(QFile::exists(named + ".Wdm"));
    EXPECT_FALSE(QFile::exists(named));
    EXPECT_EQ(w.windowTitle(), U8("testmap.Wdm - 梦想风铃谷OL - 地图编辑器"));
    editor_test::DrawBox(w, 0, {0, 300}, {300, 340});
    EXPECT_EQ(w.windowTitle(), U8("testmap.Wdm* - 梦想风铃谷OL - 地图编辑器"));
    QTest::mouseClick(w.mapPage().save, Qt::LeftButton);  // no question this time
    const wdm::ReadResult r = wdm::ReadMap((named + ".Wdm").toStdString());
    ASSERT_TRUE(r);
    EXPECT_EQ(r.map.squares.size(), 2u);
    EXPECT_TRUE(w.undoStack().isClean());
}

TEST(EditorFaults, ANewMapSavesWithoutAGroundNumberWarning) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    ed.dialogs->files = {ws.path(U8("data/地图/new.Wdm"))};
    QTest::mouseClick(w.mapPage().save, Qt::LeftButton);
    EXPECT_TRUE(ed.dialogs->asked.empty()) << ed.dialogs->asked[0].text.toStdString();
    EXPECT_TRUE(QFile::exists(ws.path(U8("data/地图/new.Wdm"))));
    EXPECT_EQ(w.mapPage().startGround->text(), "1");
}

TEST(EditorFaults, DeleteWithNothingSelectedDeletesNothing) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.infoPage().capture->setChecked(true);
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    const Element sprite = ed.doc().list(ElementKind::Sprite)[0];
    Click(w, {sprite.left + 5.0, sprite.top + 5.0});
    ASSERT_EQ(w.infoPage().shownId(), sprite.id);
    Click(w, {5, 5});  // empty map: nothing selected
    EXPECT_EQ(w.canvas().selectedId(), 0u);
    QTest::keyClick(&w.canvas(), Qt::Key_Delete);
    EXPECT_TRUE(ed.dialogs->asked.empty());
    EXPECT_EQ(ed.doc().list(ElementKind::Sprite).size(), 1u);
}

TEST(EditorFaults, ATypedSizeSurvivesOtherEdits) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.mapPage().width->setText("1000");
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    w.undoStack().undo();
    EXPECT_EQ(w.mapPage().width->text(), "1000");
}

TEST(EditorFaults, AnNpcNudgedOffItsSquareIsNoEdit) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    SquareWithNpc(w);
    w.undoStack().setClean();
    Click(w, {100, 480});
    const int steps = w.undoStack().count();
    QTest::keyClick(&w.canvas(), Qt::Key_Up);
    EXPECT_EQ(w.undoStack().count(), steps);
    EXPECT_TRUE(w.undoStack().isClean());
}

TEST(EditorFaults, FloatingAndPrioritySpritesAreAdjustedThroughTheFields) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.infoPage().capture->setChecked(true);
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    const quint64 id = ed.doc().list(ElementKind::Sprite)[0].id;
    for (int layer : {wdm::kLayerFloating, wdm::kLayerPriority}) {
        w.edits().setLayer(id, layer);
        w.spritePage().layers[static_cast<std::size_t>(layer < 0 ? 0 : layer)]->setChecked(true);
        const Element s = *ed.doc().find(id);
        Click(w, {s.left + 5.0, s.top + 5.0});
        ASSERT_EQ(w.infoPage().type->text(), QString::number(layer));
        w.infoPage().left->setText(QString::number(s.left - 30));
        QTest::mouseClick(w.infoPage().adjust, Qt::LeftButton);
        EXPECT_TRUE(ed.dialogs->informed.empty()) << ed.dialogs->lastInform().toStdString();
        EXPECT_EQ(ed.doc().find(id)->left, s.left - 30);
        EXPECT_EQ(ed.doc().find(id)->type, layer);
    }
    // A type 4 typed in is still refused.
    w.infoPage().type->setText("4");
    w.edits().setLayer(id, wdm::kLayerMap);
    w.spritePage().layers[0]->setChecked(true);
    w.infoPage().type->setText("4");
    QTest::mouseClick(w.infoPage().adjust, Qt::LeftButton);
    EXPECT_EQ(ed.dialogs->lastInform(), U8(texts::kSpriteTypeRange));
}

TEST(EditorFaults, ChoosingALayerRadioShowsThatLayer) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.spritePage().layers[2]->setChecked(true);
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    const quint64 id = ed.doc().list(ElementKind::Sprite)[0].id;
    w.spritePage().layers[0]->setChecked(true);
    w.layers().shown[2]->setChecked(false);
    EXPECT_FALSE(w.canvas().itemOf(id)->isVisible());
    w.spritePage().layers[2]->setChecked(true);
    EXPECT_TRUE(w.canvas().itemOf(id)->isVisible());
    EXPECT_TRUE(w.layers().shown[2]->isChecked());
    EXPECT_TRUE(w.layers().currentLayer[2]->isChecked());
}
