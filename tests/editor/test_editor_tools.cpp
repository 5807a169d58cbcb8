// The level designer's tools: selection and editing of many elements, the
// files commands, the layers dock, the view and the Chinese texts.

#include "edit_controller.h"
#include "editor_test_support.h"
#include "editor_texts.h"
#include "element_item.h"
#include "event_page.h"
#include "file_controller.h"
#include "ground_page.h"
#include "info_page.h"
#include "language.h"
#include "layers_panel.h"
#include "map_canvas.h"
#include "map_data_page.h"
#include "overview.h"
#include "sprite_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace editor;
using editor_test::Editor;
using editor_test::Workspace;

namespace {

QString U8(const char* s) { return QString::fromUtf8(s); }

void Drag(MainWindow& w, QPointF from, QPointF to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    w.canvas().pressAt(from, mods);
    w.canvas().moveTo(to, mods);
    w.canvas().releaseAt(to, mods);
}

// Two squares, an NPC on the first and a link above them.
void TwoSquares(MainWindow& w) {
    editor_test::DrawBox(w, 0, {0, 500}, {100, 540});
    editor_test::DrawBox(w, 0, {200, 500}, {300, 540});
    w.eventPage().npcId->setText("1");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {50, 510});
    w.eventPage().linkMap->setText("2");
    editor_test::PlaceEventAt(w, wdm::kEventLink, {500, 100});
}

}  // namespace

TEST(EditorTools, RubberBandSelectsAndTheSelectionMovesAndDeletesInOneStep) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    TwoSquares(w);
    const int steps = w.undoStack().count();
    Drag(w, {-5, 440}, {320, 560});
    const std::vector<quint64>& sel = w.canvas().selection();
    ASSERT_EQ(sel.size(), 3u);  // both squares and the NPC, not the link
    const editor_test::Snapshot before = editor_test::Snap(ed.doc());

    Drag(w, {250, 520}, {260, 500});
    EXPECT_EQ(w.undoStack().count(), steps + 1);
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[0].left, 10);
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[1].top, 480);
    EXPECT_EQ(ed.doc().list(ElementKind::Event)[0].top, 440);  // the NPC stays on its square
    EXPECT_TRUE(ed.dialogs->informed.empty());

    QTest::keyClick(&w.canvas(), Qt::Key_Delete);
    ASSERT_EQ(ed.dialogs->asked.size(), 1u);
    EXPECT_EQ(ed.dialogs->asked[0].text, U8(texts::kDeleteSelection).arg(3));
    EXPECT_TRUE(ed.doc().list(ElementKind::Square).empty());
    EXPECT_EQ(ed.doc().list(ElementKind::Event).size(), 1u);
    EXPECT_EQ(w.undoStack().count(), steps + 2);
    w.undoStack().undo();
    w.undoStack().undo();
    EXPECT_EQ(editor_test::Snap(ed.doc()), before);
}

TEST(EditorTools, CtrlClickAddsAndRemoves) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    TwoSquares(w);
    const quint64 a = ed.doc().list(ElementKind::Square)[0].id;
    const quint64 b = ed.doc().list(ElementKind::Square)[1].id;
    const quint64 link = ed.doc().list(ElementKind::Event)[1].id;
    w.canvas().pressAt({80, 530}, Qt::NoModifier);
    w.canvas().releaseAt({80, 530}, Qt::NoModifier);
    for (QPointF p : {QPointF(250, 520), QPointF(500, 100)}) {
        w.canvas().pressAt(p, Qt::ControlModifier);
        w.canvas().releaseAt(p, Qt::ControlModifier);
    }
    EXPECT_EQ(w.canvas().selection(), (std::vector<quint64>{a, b, link}));
    w.canvas().pressAt({250, 520}, Qt::ControlModifier);
    w.canvas().releaseAt({250, 520}, Qt::ControlModifier);
    EXPECT_EQ(w.canvas().selection(), (std::vector<quint64>{a, link}));
    EXPECT_TRUE(w.canvas().itemOf(a)->isVisible());
}

TEST(EditorTools, BoxesAndEventsAreCopiedPastedAndDuplicated) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    TwoSquares(w);
    Drag(w, {-5, 440}, {120, 560});  // the first square and its NPC
    ASSERT_EQ(w.canvas().selection().size(), 2u);
    const int steps = w.undoStack().count();
    QTest::keyClick(&w.canvas(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&w.canvas(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.undoStack().count(), steps + 1);
    ASSERT_EQ(ed.doc().list(ElementKind::Square).size(), 3u);
    ASSERT_EQ(ed.doc().list(ElementKind::Event).size(), 3u);
    const Element square = ed.doc().list(ElementKind::Square)[2];
    const Element npc = ed.doc().list(ElementKind::Event)[2];
    EXPECT_EQ(QRect(square.left, square.top, square.width, square.height), QRect(20, 520, 100, 40));
    EXPECT_EQ(npc.top, 480);  // on the pasted square
    EXPECT_EQ(wdm::ParseNpcDetail(npc.detail).ground, 3);
    EXPECT_EQ(wdm::ParseNpcDetail(npc.detail).offset, npc.left - 20);
    EXPECT_EQ(w.canvas().selection(), (std::vector<quint64>{square.id, npc.id}));

    QTest::keyClick(&w.canvas(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 4u);
    EXPECT_EQ(ed.doc().list(ElementKind::Square)[3].left, 40);
    EXPECT_EQ(w.undoStack().count(), steps + 2);
}

TEST(EditorTools, EscapeCancelsADragABandAndABox) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    TwoSquares(w);
    const editor_test::Snapshot before = editor_test::Snap(ed.doc());
    const quint64 a = ed.doc().list(ElementKind::Square)[0].id;
    w.canvas().pressAt({80, 530}, Qt::NoModifier);
    w.canvas().moveTo({180, 330}, Qt::NoModifier);
    QTest::keyClick(&w.canvas(), Qt::Key_Escape);
    EXPECT_EQ(w.canvas().itemOf(a)->pos(), QPointF(0, 500));
    w.canvas().releaseAt({180, 330}, Qt::NoModifier);
    EXPECT_EQ(editor_test::Snap(ed.doc()), before);

    w.groundPage().create->setChecked(true);
    w.canvas().pressAt({400, 200}, Qt::NoModifier);
    w.canvas().moveTo({500, 300}, Qt::NoModifier);
    QTest::keyClick(&w.canvas(), Qt::Key_Escape);
    w.canvas().releaseAt({500, 300}, Qt::NoModifier);
    EXPECT_EQ(editor_test::Snap(ed.doc()), before);
    EXPECT_FALSE(w.canvas().interacting());
}

TEST(EditorTools, NewSaveAndSaveAs) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    EXPECT_EQ(w.windowTitle(), U8("*梦想风铃谷OL - 地图编辑器"));
    ed.dialogs->files = {ws.path(U8("data/地图/one.wdm"))};
    ASSERT_TRUE(w.files().saveCurrent());
    EXPECT_TRUE(QFile::exists(ws.path(U8("data/地图/one.wdm"))));  // a suffix in any case is kept
    ed.dialogs->files = {ws.path(U8("data/地图/two"))};
    ASSERT_TRUE(w.files().saveAs());
    EXPECT_EQ(w.files().currentPath(), ws.path(U8("data/地图/two.Wdm")));
    EXPECT_EQ(w.windowTitle(), U8("two.Wdm - 梦想风铃谷OL - 地图编辑器"));

    editor_test::DrawBox(w, 0, {0, 300}, {300, 340});
    ed.dialogs->answers = {false};
    w.files().newMap();  // unsaved: asked, and No keeps the map
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 2u);
    ed.dialogs->answers = {true};
    w.files().newMap();
    EXPECT_FALSE(ed.doc().hasContent());
    EXPECT_EQ(w.windowTitle(), U8("梦想风铃谷OL - 地图编辑器"));
    EXPECT_TRUE(w.files().currentPath().isEmpty());
    EXPECT_EQ(ed.doc().header().startGround, 1);
    EXPECT_EQ(w.mapPage().width->text(), "800");
}

TEST(EditorTools, HiddenLayersAreNotDrawnAndLockedOnesCannotBePicked) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    TwoSquares(w);
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    const Element sprite = ed.doc().list(ElementKind::Sprite)[0];
    const QPointF onSprite(sprite.left + 5, sprite.top + 5);
    auto pick = [&](QPointF p) {
        w.canvas().pressAt(p, Qt::NoModifier);
        w.canvas().releaseAt(p, Qt::NoModifier);
        return w.canvas().selectedId();
    };
    auto* hideSquares = w.findChild<QCheckBox*>(U8("选择框_显示_正方形"));
    auto* lockSprites = w.findChild<QCheckBox*>(U8("选择框_锁定_地图精灵"));
    ASSERT_TRUE(hideSquares && lockSprites);
    hideSquares->setChecked(false);
    const quint64 square = ed.doc().list(ElementKind::Square)[1].id;
    EXPECT_FALSE(w.canvas().itemOf(square)->isVisible());
    EXPECT_EQ(pick({250, 520}), 0u);
    // Not drawn: the canvas picture is the same as without the square.
    w.resize(1280, 800);
    w.show();
    w.canvas().centerOn(250, 520);
    const QImage hidden = w.canvas().viewport()->grab().toImage();
    hideSquares->setChecked(true);
    EXPECT_NE(w.canvas().viewport()->grab().toImage(), hidden);
    EXPECT_EQ(pick({250, 520}), square);

    lockSprites->setChecked(true);
    EXPECT_TRUE(w.canvas().itemOf(sprite.id)->isVisible());
    EXPECT_EQ(pick(onSprite), 0u);
    lockSprites->setChecked(false);
    EXPECT_EQ(pick(onSprite), sprite.id);
}

TEST(EditorTools, TheLayersDockAndTheLayerRadiosStayInStep) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.findChild<QRadioButton*>(U8("单选框_当前图层_三层背景"))->setChecked(true);
    EXPECT_TRUE(w.spritePage().layers[3]->isChecked());
    EXPECT_EQ(w.spritePage().currentLayer(), 3);
    EXPECT_EQ(w.canvas().currentLayer(), 3);
    w.spritePage().layers[1]->setChecked(true);
    EXPECT_TRUE(w.layers().currentLayer[1]->isChecked());
    EXPECT_EQ(w.layers().current(), 1);
}

TEST(EditorTools, ZoomToFitAndItsReadout) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.resize(1280, 800);
    w.show();
    w.mapPage().width->setText("3200");
    w.edits().applySize();
    w.canvas().zoomToFit();
    EXPECT_LT(w.canvas().zoom(), 0.5);
    const QRect visible = w.canvas().visibleMapRect();
    EXPECT_GE(visible.width(), 3190);
    EXPECT_EQ(w.zoomLabel().text(), QString("%1%").arg(qRound(w.canvas().zoom() * 100)));
    w.canvas().setZoom(1.0);
    EXPECT_EQ(w.zoomLabel().text(), "100%");
    // The overview moves the view.
    Overview& o = w.overview();
    ASSERT_TRUE(w.findChild<Overview*>(U8("画板_总览")));
    const QRectF area = o.mapArea();
    QTest::mouseClick(&o, Qt::LeftButton, {}, QPoint(int(area.right() - 2), int(area.center().y())));
    EXPECT_GT(w.canvas().horizontalScrollBar()->value(), 1500);
}

TEST(EditorTools, TheTabsAreReadableAt1280By800) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.resize(1280, 800);
    w.show();
    QApplication::processEvents();
    QTabBar* bar = w.tabs().tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        const QRect r = bar->tabRect(i);
        EXPECT_TRUE(bar->rect().contains(r)) << i;
        EXPECT_GE(r.width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i))) << i;
    }
    EXPECT_GE(w.canvas().width(), 600);
}

TEST(EditorTools, QtTextsAndMapChecksAreChinese) {
    ASSERT_TRUE(InstallChineseTranslations(*QApplication::instance()));
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"), "File &name:");
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.eventPage().npcId->setText("1");
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    w.mapPage().startGround->setText("3");
    w.edits().applySettings();
    w.files().checkMap();
    ASSERT_GE(w.problemList().count(), 1);
    EXPECT_TRUE(w.problemList().item(0)->text().contains(U8("没有这个正方形"))) << w.problemList().item(0)->text().toStdString();
}

TEST(EditorTools, TheGroundMenuIsReachedUnderASprite) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.resize(1280, 800);
    w.show();
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    const Element sprite = ed.doc().list(ElementKind::Sprite)[0];
    editor_test::DrawBox(w, 0, {sprite.left - 20, sprite.top + 40}, {sprite.left + 80, sprite.top + 60});
    const QPoint at = w.canvas().mapFromScene(QPointF(sprite.left + 30, sprite.top + 50));
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, w.canvas().viewport()->mapToGlobal(at));
    QApplication::sendEvent(w.canvas().viewport(), &e);
    QMenu* ground = nullptr;
    for (QMenu* m : w.findChildren<QMenu*>(U8("地层菜单"))) {
        if (m->parent() && m->parent()->objectName() == U8("精灵菜单")) ground = m;
    }
    ASSERT_NE(ground, nullptr);
    ASSERT_EQ(ground->actions().size(), 3);
    ed.dialogs->answers = {false};
    ground->actions()[2]->trigger();
    ASSERT_EQ(ed.dialogs->asked.size(), 1u);
    EXPECT_EQ(ed.dialogs->asked[0].text, U8(texts::kDeleteSquare));
}

TEST(EditorTools, ALoadedMapEmptiesTheInformationFields) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    w.infoPage().capture->setChecked(true);
    editor_test::DrawBox(w, 0, {0, 500}, {100, 540});
    w.canvas().pressAt({50, 520}, Qt::NoModifier);
    w.canvas().releaseAt({50, 520}, Qt::NoModifier);
    ASSERT_EQ(w.infoPage().left->text(), "0");
    ASSERT_TRUE(w.files().save(ws.path("m.Wdm")));
    ASSERT_TRUE(w.files().load(ws.path("m.Wdm")));
    EXPECT_TRUE(w.infoPage().left->text().isEmpty());
    EXPECT_EQ(w.infoPage().shownId(), 0u);
}
