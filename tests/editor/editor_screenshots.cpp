// Offscreen pictures of the editor for review at 1280 x 800: a bundled map
// loaded, each tab page, the layers dock, a rubber band, a box being drawn,
// zoom to fit and the map checks list.
//   editor_screenshots DATA_DIR MAP.Wdm OUT_DIR

#include "edit_controller.h"
#include "event_page.h"
#include "file_controller.h"
#include "ground_page.h"
#include "language.h"
#include "main_window.h"
#include "map_canvas.h"
#include "map_data_page.h"
#include "map_document.h"
#include "sprite_page.h"
#include "widget_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
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
    editor::InstallChineseTranslations(app);
    const QString data = QString::fromLocal8Bit(argv[1]);
    const QString map = QString::fromLocal8Bit(argv[2]);
    const QDir out(QString::fromLocal8Bit(argv[3]));
    QDir().mkpath(out.path());

    editor::EditorOptions options;
    options.programFolder = QFileInfo(data).absolutePath();
    options.dataFolder = data;
    editor::MainWindow w(options);
    w.resize(1280, 800);
    w.show();
    if (!w.files().load(map)) return 1;
    auto save = [&](const QPixmap& picture, const char* name) {
        const bool ok = picture.save(out.filePath(name));
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(out.filePath(name)));
    };
    auto shot = [&](const char* name) {
        QApplication::processEvents();
        save(w.grab(), name);
    };
    w.canvas().verticalScrollBar()->setValue(w.canvas().verticalScrollBar()->maximum());
    for (int i = 0; i < w.tabs().count(); ++i) {
        w.tabs().setCurrentIndex(i);
        if (i == 1) w.spritePage().files->setCurrentRow(3);
        shot(qPrintable(QString("tab%1.png").arg(i + 1)));
    }
    w.tabs().setCurrentIndex(0);
    shot("window.png");
    // The layers dock with the slopes hidden and the map sprites locked.
    w.findChild<QCheckBox*>(QString::fromUtf8("选择框_显示_三角形"))->setChecked(false);
    w.findChild<QCheckBox*>(QString::fromUtf8("选择框_锁定_地图精灵"))->setChecked(true);
    QApplication::processEvents();
    if (auto* dock = w.findChild<QDockWidget*>(QString::fromUtf8("停靠窗_图层"))) save(dock->grab(), "layers_dock.png");
    shot("layers_hidden_slopes.png");
    w.findChild<QCheckBox*>(QString::fromUtf8("选择框_显示_三角形"))->setChecked(true);
    w.findChild<QCheckBox*>(QString::fromUtf8("选择框_锁定_地图精灵"))->setChecked(false);
    // A rubber band being drawn over the lower part of the view.
    const QRect view = w.canvas().visibleMapRect();
    const QPointF from(view.left() + 20, view.bottom() - 200);
    const QPointF to(view.left() + 420, view.bottom() - 20);
    w.canvas().pressAt(from, Qt::NoModifier);
    w.canvas().moveTo(to, Qt::NoModifier);
    shot("rubber_band.png");
    w.canvas().releaseAt(to, Qt::NoModifier);
    shot("rubber_band_selected.png");
    w.canvas().select(0);
    // A box being drawn: the press and a move, no release.
    w.tabs().setCurrentIndex(4);
    w.groundPage().create->setChecked(true);
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
    // Zoomed to fit.
    w.canvas().zoomToFit();
    shot("zoom_to_fit.png");
    w.canvas().setZoom(1.0);
    // The map checks, with a start ground that names no square.
    w.mapPage().startGround->setText("99");
    w.edits().applySettings();
    w.files().checkMap();
    if (w.problemList().count() > 0) w.problemList().setCurrentRow(0);
    shot("check_map.png");
    // A question with Qt's standard buttons, in Chinese.
    QMessageBox box(QMessageBox::Question, QString::fromUtf8("提示"), QString::fromUtf8("地图编辑器中已经绘制数据 是否直接退出?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &w);
    box.show();
    QApplication::processEvents();
    save(box.grab(), "message_box.png");
    return 0;
}
