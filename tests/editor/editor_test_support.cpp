#include "editor_test_support.h"

#include "event_page.h"
#include "ground_page.h"
#include "map_canvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

// One QApplication for the whole test program.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_editor";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

namespace editor_test {

Workspace::Workspace() {
    QDir(m_dir.path()).mkpath("data/map");
    QDir(m_dir.path()).mkpath(QString::fromUtf8("data/地图"));
    addPicture("48.png", 800, 600);
    addPicture("tree.png", 60, 90);
}

editor::EditorOptions Workspace::options() const {
    editor::EditorOptions o;
    o.programFolder = m_dir.path();
    o.dataFolder = m_dir.filePath("data");
    o.settingsFile = m_dir.filePath("settings.ini");
    o.recoveryFolder = m_dir.filePath("recovery");
    o.autosaveMs = 0;
    return o;
}

QString Workspace::addPicture(const QString& name, int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(QColor(90, 160, 60));
    const QString file = m_dir.filePath("data/map/" + name);
    img.save(file);
    return file;
}

Editor::Editor(const editor::EditorOptions& options) : window(std::make_unique<editor::MainWindow>(options)) {
    auto d = std::make_unique<ScriptedDialogs>();
    dialogs = d.get();
    window->setDialogs(std::move(d));
}

void DrawBox(editor::MainWindow& w, int kindRadio, QPoint from, QPoint to) {
    w.groundPage().kinds[static_cast<std::size_t>(kindRadio)]->setChecked(true);
    w.groundPage().create->setChecked(true);
    w.canvas().pressAt(from, Qt::NoModifier);
    w.canvas().moveTo(to, Qt::NoModifier);
    w.canvas().releaseAt(to, Qt::NoModifier);
    w.groundPage().create->setChecked(false);
}

void PlaceEventAt(editor::MainWindow& w, int kind, QPoint p) {
    w.eventPage().setKind(kind);
    w.eventPage().create->setChecked(true);
    w.canvas().pressAt(p, Qt::NoModifier);
    w.canvas().releaseAt(p, Qt::NoModifier);
    w.eventPage().create->setChecked(false);
}

Snapshot Snap(const editor::MapDocument& doc) {
    Snapshot s;
    s.map = doc.toMapData();
    for (int k = 0; k < editor::kElementKinds; ++k) {
        std::vector<quint64> ids;
        for (const editor::Element& e : doc.list(static_cast<editor::ElementKind>(k))) ids.push_back(e.id);
        s.ids.push_back(ids);
    }
    return s;
}

}  // namespace editor_test
