#pragma once
// The editor's main window: the canvas with its scroll bars, the five tab
// pages, the menus, hot keys and status bar. Edits go through EditController,
// files through FileController.

#include "editor_options.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QListWidget;
class QTabWidget;
class QUndoStack;

namespace editor {

class Dialogs;
class EditController;
class EventPage;
class FileController;
class GroundPage;
class InfoPage;
class LayersPanel;
class Overview;
class MapCanvas;
class MapDataPage;
class MapDocument;
class PictureLibrary;
class SpritePage;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const EditorOptions& options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the dialogs (tests answer questions with a script).
    void setDialogs(std::unique_ptr<Dialogs> dialogs);
    Dialogs& dialogs() { return *m_dialogs; }

    MapDocument& document() { return *m_doc; }
    QUndoStack& undoStack() { return *m_undo; }
    MapCanvas& canvas() { return *m_canvas; }
    EditController& edits() { return *m_edits; }
    FileController& files() { return *m_files; }
    MapDataPage& mapPage() { return *m_mapPage; }
    SpritePage& spritePage() { return *m_spritePage; }
    InfoPage& infoPage() { return *m_infoPage; }
    EventPage& eventPage() { return *m_eventPage; }
    GroundPage& groundPage() { return *m_groundPage; }
    QTabWidget& tabs() { return *m_tabs; }
    QListWidget& problemList() { return *m_problems; }
    LayersPanel& layers() { return *m_layers; }
    Overview& overview() { return *m_overview; }
    QLabel& zoomLabel() { return *m_zoomLabel; }

    // Hot keys, also bound to F2..F5.
    void toggleCapture();
    void toggleDrawGround();
    void togglePlaceEvents();
    void toggleBoxDisplay();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPages();
    void buildDocks();
    void buildMenus();
    void connectPages();
    void updateModes();

    EditorOptions m_options;
    std::unique_ptr<Dialogs> m_dialogs;
    MapDocument* m_doc;
    QUndoStack* m_undo;
    std::unique_ptr<PictureLibrary> m_pictures;
    MapCanvas* m_canvas;
    QTabWidget* m_tabs;
    MapDataPage* m_mapPage;
    SpritePage* m_spritePage;
    InfoPage* m_infoPage;
    EventPage* m_eventPage;
    GroundPage* m_groundPage;
    QListWidget* m_problems;
    QLabel* m_coords;
    QLabel* m_zoomLabel;
    LayersPanel* m_layers;
    Overview* m_overview;
    QAction* m_gridShow;
    QAction* m_gridSnap;
    EditController* m_edits;
    FileController* m_files;
};

}  // namespace editor
