#pragma once
// Loading and saving map files, the window title, recent files, autosave
// and recovery, the map checks list and the play-test.

#include "editor_options.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QLockFile;
class QTimer;

namespace editor {

class MainWindow;
class PictureLibrary;
struct MapOrigin;

class FileController : public QObject {
    Q_OBJECT
public:
    FileController(MainWindow& window, PictureLibrary& pictures, const EditorOptions& options);
    ~FileController() override;

    // Asks for a file and loads it; asks first when unsaved work would be lost.
    void loadWithDialog();
    // Loads a map file; on failure shows the refusal and keeps the map.
    bool load(const QString& path);
    // "新建": an empty map, after asking when unsaved work would be lost.
    void newMap();
    // "保存": to the map's own file once it has one, else as saveAs().
    bool saveCurrent();
    // "另存为": asks for a name (".Wdm" is added when missing).
    bool saveAs();
    // Saves atomically; ".Wdm" is added to a name without it. Ground numbers that name no square are reported
    // first (the user may still save). On failure shows a message box and
    // keeps the title.
    bool save(const QString& path);

    const QString& currentPath() const { return m_path; }
    QStringList recentFiles() const;

    // Start-up: offers the unsaved work of editors that ended without
    // saving (one question per recovery file; No discards it), then opens
    // mapPath, when given, unless the recovered work is that map or the user
    // keeps the recovered work.
    void openAtStart(const QString& mapPath);
    // Writes this map's recovery file when there are unsaved changes.
    void autosave();
    // The recovery file of a map path (an unsaved map has one per window).
    QString recoveryFileFor(const QString& path) const;
    // The recovery file this window writes to, or empty.
    const QString& recoveryFile() const { return m_recovery; }
    // Removes this window's recovery file (its work was saved or discarded).
    void dropRecovery();
    // The window title: the file name, "*" while there are unsaved changes.
    void updateTitle();

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
    // Takes a recovery file as this window's own (locked while it lives).
    bool ownRecovery(const QString& file);
    void remember(const QString& path);
    bool confirmDiscard();
    QString mapsFolder() const;

    MainWindow& m_window;
    PictureLibrary& m_pictures;
    EditorOptions m_options;
    QString m_path;
    QTimer* m_autosave;
    QString m_recovery;
    std::unique_ptr<QLockFile> m_recoveryLock;
    QString m_untitledKey;
    // Element ids of the rows of the problem list (0: the header).
    std::vector<quint64> m_problemIds;
};

}  // namespace editor
