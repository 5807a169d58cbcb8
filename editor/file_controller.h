#pragma once
// Loading and saving map files, the window title, recent files, autosave
// and recovery, the map checks list and the play-test.

#include "editor_options.h"

#include <QObject>
#include <QString>

#include <vector>

class QTimer;

namespace editor {

class MainWindow;
class PictureLibrary;
struct MapOrigin;

class FileController : public QObject {
    Q_OBJECT
public:
    FileController(MainWindow& window, PictureLibrary& pictures, const EditorOptions& options);

    // Asks for a file and loads it; asks first when unsaved work would be lost.
    void loadWithDialog();
    // Loads a map file; on failure shows the refusal and keeps the map.
    bool load(const QString& path);
    void saveWithDialog();
    // Saves atomically. Ground numbers that name no square are reported
    // first (the user may still save). On failure shows a message box and
    // keeps the title.
    bool save(const QString& path);

    const QString& currentPath() const { return m_path; }
    QStringList recentFiles() const;

    // Writes the recovery file when there are unsaved changes.
    void autosave();
    // When a recovery file exists, offers to load it (as unsaved work).
    void offerRecovery();
    // Removes the recovery file (after a save or a clean exit).
    void dropRecovery();

    // Fills the problem list with the shared map checks.
    void checkMap();
    // Selects the element a row of the problem list is about.
    void showProblem(int row);
    // Saves to a temporary file and starts the game on it.
    bool playTest();

signals:
    void recentFilesChanged();

private:
    void setTitleFor(const QString& path);
    void remember(const QString& path);
    bool confirmDiscard();
    QString mapsFolder() const;

    MainWindow& m_window;
    PictureLibrary& m_pictures;
    EditorOptions m_options;
    QString m_path;
    QTimer* m_autosave;
    // Element ids of the rows of the problem list (0: the header).
    std::vector<quint64> m_problemIds;
};

}  // namespace editor
