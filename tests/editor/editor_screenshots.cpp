// Offscreen pictures of the editor for review: a bundled map loaded, each
// tab page, a box being drawn and the map checks list.
//   editor_screenshots DATA_DIR MAP.Wdm OUT_DIR

#include "edit_controller.h"
#include "event_page.h"
#include "file_controller.h"
#include "ground_page.h"
#include "main_window.h"
#include "map_canvas.h"
#include "map_document.h"
#include "sprite_page.h"
#include "widget_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QUndoStack>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: editor_screenshots DATA_DIR MAP.Wdm OUT_DIR\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    const QString map = QString::fromLocal8Bit(argv[2]);
    const QDir out(QString::fromLocal8Bit(argv[3]));
    QDir().mkpath(out.path());

    editor::EditorOptions options;
    options.programFolder = QFileInfo(data).absolutePath();
    options.dataFolder = data;
    editor::MainWindow w(options);
    w.resize(1400, 860);
    w.show();
    if (!w.files().load(map)) return 1;
    auto shot = [&](const char* name) {
        QApplication::processEvents();
        const bool ok = w.grab().save(out.filePath(name));
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(out.filePath(name)));
    };
    w.canvas().verticalScrollBar()->setValue(w.canvas().verticalScrollBar()->maximum());
    for (int i = 0; i < w.tabs().count(); ++i) {
        w.tabs().setCurrentIndex(i);
        if (i == 1) w.spritePage().files->setCurrentRow(3);
        shot(qPrintable(QString("tab%1.png").arg(i + 1)));
    }
    // A box being drawn: the press and a move, no release.
    w.tabs().setCurrentIndex(4);
    w.groundPage().create->setChecked(true);
    const QRect view = w.canvas().visibleMapRect();
    const QPointF a(view.left() + 120, view.top() + 80);
    w.canvas().pressAt(a, Qt::NoModifier);
    w.canvas().moveTo(a + QPointF(260, 60), Qt::NoModifier);
    shot("drawing_box.png");
    w.canvas().releaseAt(a + QPointF(260, 60), Qt::NoModifier);
    w.groundPage().create->setChecked(false);
    w.undoStack().undo();
    // Outline display (F5).
    w.toggleBoxDisplay();
    shot("outline_boxes.png");
    w.toggleBoxDisplay();
    w.files().checkMap();
    if (w.problemList().count() > 0) w.problemList().setCurrentRow(0);
    shot("check_map.png");
    return 0;
}
