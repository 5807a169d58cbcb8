// Saving, loading, recovery and checks of the editor, through real files.

#include "edit_controller.h"
#include "editor_test_support.h"
#include "editor_texts.h"
#include "event_page.h"
#include "file_controller.h"
#include "map_canvas.h"
#include "map_data_page.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace editor;
using editor_test::Editor;
using editor_test::Workspace;

namespace {

QString U8(const char* s) { return QString::fromUtf8(s); }

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A map with every kind of element, made through the window.
void MakeMap(Editor& ed, Workspace& ws) {
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {400, 540});
    editor_test::DrawBox(w, 1, {500, 400}, {700, 440});
    editor_test::DrawBox(w, 2, {100, 510}, {200, 600});
    editor_test::DrawBox(w, 4, {550, 420}, {570, 560});
    w.eventPage().npcId->setText("2");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {100, 510});
    w.eventPage().monsterId->setText("1");
    w.eventPage().flyTop->setText("30");
    editor_test::PlaceEventAt(w, wdm::kEventMonster, {600, 420});
    w.eventPage().linkMap->setText("2");
    editor_test::PlaceEventAt(w, wdm::kEventLink, {300, 300});
    w.eventPage().effectId->setText("4");
    editor_test::PlaceEventAt(w, wdm::kEventAnimation, {200, 200});
    editor_test::PlaceEventAt(w, wdm::kEventItem, {350, 510});
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    ASSERT_TRUE(w.edits().addSprite(ws.path("data/map/tree.png")));
    w.edits().setLayer(ed.doc().list(ElementKind::Sprite)[1].id, wdm::kLayerPriority);
    w.edits().setZLevel(ed.doc().list(ElementKind::Sprite)[0].id, wdm::kZBottom);
    w.mapPage().startGround->setText("1");
    w.mapPage().townMap->setText("3");
    w.edits().applySettings();
    ASSERT_TRUE(ed.dialogs->informed.empty()) << ed.dialogs->lastInform().toStdString();
}

}  // namespace

TEST(EditorFiles, SaveAndLoadGiveBackTheModel) {
    Workspace ws;
    Editor ed(ws.options());
    MakeMap(ed, ws);
    const QString file = ws.path(U8("data/地图/测试.Wdm"));
    ASSERT_TRUE(ed.window->files().save(file));
    EXPECT_EQ(ed.window->windowTitle(), U8("测试.Wdm - 梦想风铃谷OL - 地图编辑器"));
    EXPECT_TRUE(ed.window->undoStack().isClean());

    Editor other(ws.options());
    other.dialogs->files = {file};
    other.window->files().loadWithDialog();
    EXPECT_EQ(other.doc().toMapData(), ed.doc().toMapData());
    EXPECT_EQ(other.window->windowTitle(), U8("测试.Wdm - 梦想风铃谷OL - 地图编辑器"));
    // The header's facing has no control and is kept from the file.
    wdm::MapData withFacing = other.doc().toMapData();
    withFacing.header.facing = 2;
    ASSERT_TRUE(wdm::WriteMap(file.toStdString(), withFacing));
    Editor third(ws.options());
    ASSERT_TRUE(third.window->files().load(file));
    ASSERT_TRUE(third.window->files().save(file));
    EXPECT_EQ(wdm::ReadMap(file.toStdString()).map.header.facing, 2);
}

TEST(EditorFiles, ANinePixelSquareLeavesTheNpcOnItsRectangle) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 100}, {300, 109});
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    w.eventPage().npcId->setText("1");
    editor_test::PlaceEventAt(w, wdm::kEventNpc, {150, 510});
    const wdm::NpcDetail shown = wdm::ParseNpcDetail(ed.doc().list(ElementKind::Event)[0].detail);
    const QString file = ws.path("npc.Wdm");
    ASSERT_TRUE(w.files().save(file));
    const wdm::ReadResult back = wdm::ReadMap(file.toStdString());
    ASSERT_TRUE(back.ok());
    const wdm::NpcDetail saved = wdm::ParseNpcDetail(back.map.events.at(0).detail);
    const wdm::GroundRecord& square = back.map.squares.at(static_cast<std::size_t>(saved.ground - 1));
    EXPECT_EQ(saved, shown);
    EXPECT_EQ(square, (wdm::GroundRecord{0, 500, 300, 40, 0}));
}

TEST(EditorFiles, AFailedSaveKeepsTheOldFileAndTheTitle) {
    Workspace ws;
    Editor ed(ws.options());
    MakeMap(ed, ws);
    const QString file = ws.path("keep.Wdm");
    ASSERT_TRUE(ed.window->files().save(file));
    const QByteArray old = Bytes(file);
    editor_test::DrawBox(*ed.window, 0, {0, 200}, {100, 240});
    const QString title = ed.window->windowTitle();
    EXPECT_EQ(title, U8("keep.Wdm* - 梦想风铃谷OL - 地图编辑器"));
    // The temporary file beside the target cannot be created.
    ASSERT_TRUE(QDir().mkpath(file + ".tmp/blocked"));
    EXPECT_FALSE(ed.window->files().save(file));
    EXPECT_TRUE(ed.dialogs->lastInform().startsWith(U8(texts::kSaveFailed)));
    EXPECT_EQ(Bytes(file), old);
    EXPECT_EQ(ed.window->windowTitle(), title);
    EXPECT_FALSE(ed.window->undoStack().isClean());
}

TEST(EditorFiles, GroundNumbersOutsideTheSquaresAreReportedBeforeSaving) {
    Workspace ws;
    Editor ed(ws.options());
    editor_test::DrawBox(*ed.window, 0, {0, 500}, {300, 540});
    ed.window->mapPage().startGround->setText("4");
    ed.dialogs->answers = {false};
    EXPECT_FALSE(ed.window->files().save(ws.path("bad.Wdm")));
    ASSERT_EQ(ed.dialogs->asked.size(), 1u);
    EXPECT_TRUE(ed.dialogs->asked[0].text.contains(U8("角色初始地层编号 4"))) << ed.dialogs->asked[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(ws.path("bad.Wdm")));
}

TEST(EditorFiles, DamagedAndForeignFilesAreRefusedAndTheMapStays) {
    Workspace ws;
    Editor ed(ws.options());
    MakeMap(ed, ws);
    const QString file = ws.path("damaged.Wdm");
    ASSERT_TRUE(ed.window->files().save(file));
    QByteArray bytes = Bytes(file);
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x20);
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    const editor_test::Snapshot before = editor_test::Snap(ed.doc());
    EXPECT_FALSE(ed.window->files().load(file));
    ASSERT_FALSE(ed.dialogs->informed.empty());
    EXPECT_EQ(ed.dialogs->informed.back().title, U8("错误1"));
    EXPECT_EQ(ed.dialogs->informed.back().text, U8("此文件不是风铃谷地图文件!!"));
    EXPECT_EQ(editor_test::Snap(ed.doc()), before);
    // A header of five fields: "错误2".
    std::string five = "800|600|1|10|x";
    for (int i = 0; i < 9; ++i) five += wdm::kSectionMarker;
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray::fromStdString(wdm::Encipher(five)));
    out.close();
    EXPECT_FALSE(ed.window->files().load(file));
    EXPECT_EQ(ed.dialogs->informed.back().title, U8("错误2"));
}

TEST(EditorFiles, AutosaveIsOfferedBackAfterACrash) {
    Workspace ws;
    QString recovery;
    wdm::MapData unsaved;
    {
        Editor ed(ws.options());
        MakeMap(ed, ws);
        ed.window->files().autosave();
        recovery = ed.window->files().recoveryFile();
        ASSERT_TRUE(QFile::exists(recovery));
        unsaved = ed.doc().toMapData();
        // The editor dies here; nothing removes the recovery file.
    }
    ASSERT_TRUE(QFile::exists(recovery));
    Editor next(ws.options());
    next.dialogs->answers = {true};
    next.window->files().openAtStart(QString());
    ASSERT_EQ(next.dialogs->asked.size(), 1u);
    EXPECT_EQ(next.doc().toMapData(), unsaved);
    EXPECT_FALSE(next.window->undoStack().isClean());
    EXPECT_TRUE(QFile::exists(recovery));
    // Saving ends the need for it.
    ASSERT_TRUE(next.window->files().save(ws.path("saved.Wdm")));
    EXPECT_FALSE(QFile::exists(recovery));
    // Nothing unsaved: nothing written.
    next.window->files().autosave();
    EXPECT_TRUE(QDir(ws.options().recoveryFolder).entryList({"*.Wdm"}, QDir::Files).isEmpty());
}

TEST(EditorFiles, LoadingOverUnsavedWorkAsksFirst) {
    Workspace ws;
    Editor ed(ws.options());
    editor_test::DrawBox(*ed.window, 0, {0, 500}, {300, 540});
    ed.dialogs->answers = {false};
    ed.dialogs->files = {ws.path("whatever.Wdm")};
    ed.window->files().loadWithDialog();
    EXPECT_EQ(ed.dialogs->asked.size(), 1u);
    EXPECT_EQ(ed.dialogs->files.size(), 1u);  // the file dialog never opened
    EXPECT_EQ(ed.doc().list(ElementKind::Square).size(), 1u);
}

TEST(EditorFiles, RecentFilesAreRemembered) {
    Workspace ws;
    Editor ed(ws.options());
    MakeMap(ed, ws);
    ASSERT_TRUE(ed.window->files().save(ws.path("a.Wdm")));
    ASSERT_TRUE(ed.window->files().save(ws.path("b.Wdm")));
    ASSERT_TRUE(ed.window->files().save(ws.path("a.Wdm")));
    const QStringList recent = ed.window->files().recentFiles();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_TRUE(recent[0].endsWith("a.Wdm"));
}

TEST(EditorFiles, CheckMapListsProblemsAndSelectsTheirElement) {
    Workspace ws;
    Editor ed(ws.options());
    MainWindow& w = *ed.window;
    editor_test::DrawBox(w, 0, {0, 500}, {300, 540});
    w.eventPage().linkMap->setText("0");
    editor_test::PlaceEventAt(w, wdm::kEventLink, {600, 300});
    w.files().checkMap();
    QListWidget& list = w.problemList();
    int linkRow = -1;
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->text().contains(U8("链接不到任何地图"))) linkRow = i;
    }
    ASSERT_GE(linkRow, 0);
    list.setCurrentRow(linkRow);
    EXPECT_EQ(w.canvas().selectedId(), ed.doc().list(ElementKind::Event)[0].id);
}
