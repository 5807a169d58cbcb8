#include "file_controller.h"

#include "dialogs.h"
#include "edit_controller.h"
#include "editor_texts.h"
#include "form_helpers.h"
#include "main_window.h"
#include "map_canvas.h"
#include "map_document.h"
#include "picture_library.h"
#include "shared/atomic_file.h"
#include "shared/gbk.h"
#include "shared/wdm_check.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QProgressDialog>
#include <QSettings>
#include <QTimer>
#include <QUndoStack>

namespace editor {
namespace {

constexpr int kRecentMax = 8;

std::string Utf8(const QString& s) { return s.toStdString(); }

}  // namespace

FileController::FileController(MainWindow& window, PictureLibrary& pictures, const EditorOptions& options)
    : QObject(&window), m_window(window), m_pictures(pictures), m_options(options), m_autosave(new QTimer(this)) {
    connect(m_autosave, &QTimer::timeout, this, &FileController::autosave);
    if (!m_options.recoveryFile.isEmpty() && m_options.autosaveMs > 0) m_autosave->start(m_options.autosaveMs);
}

QString FileController::mapsFolder() const { return m_pictures.dataFolder() + QString::fromUtf8("/地图"); }

void FileController::setTitleFor(const QString& path) {
    m_path = path;
    m_window.setWindowTitle(QFileInfo(path).fileName() + U(texts::kTitleSuffix));
}

bool FileController::confirmDiscard() {
    if (!m_window.document().hasContent() || m_window.undoStack().isClean()) return true;
    return m_window.dialogs().ask(U(texts::kInfoTitle), U(texts::kUnsavedLoad));
}

void FileController::loadWithDialog() {
    if (!confirmDiscard()) return;
    const QString file = m_window.dialogs().openFile(U(texts::kLoadDialog), mapsFolder(), U(texts::kMapFilter));
    if (!file.isEmpty()) load(file);
}

bool FileController::load(const QString& path) {
    wdm::ReadResult r = wdm::ReadMap(Utf8(path), wdm::SectionRule::AtLeast10);
    if (!r) {
        if (r.error == wdm::ReadError::HeaderFields) {
            m_window.dialogs().inform(U(texts::kNotAMapTitle2), U(texts::kNotAMap));
        } else if (r.error == wdm::ReadError::Unreadable) {
            m_window.dialogs().inform(U(texts::kErrorTitle), QString::fromStdString(r.reason));
        } else {
            m_window.dialogs().inform(U(texts::kNotAMapTitle1), U(texts::kNotAMap));
        }
        return false;
    }
    std::size_t pictures = 0;
    for (const auto& section : r.map.sprites) pictures += section.size();
    QProgressDialog progress(U(texts::kLoading), QString(), 0, static_cast<int>(pictures) + 1, &m_window);
    progress.setObjectName(U("进度条_载入"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    int done = 0;
    for (const auto& section : r.map.sprites) {
        for (const wdm::SpriteRecord& s : section) {
            m_pictures.picture(s.picture);
            progress.setValue(++done);
        }
    }
    m_window.document().load(r.map);
    m_window.undoStack().clear();
    m_window.undoStack().setClean();
    progress.setValue(progress.maximum());
    setTitleFor(path);
    remember(path);
    return true;
}

void FileController::saveWithDialog() {
    const QString start = m_path.isEmpty() ? mapsFolder() : m_path;
    const QString file = m_window.dialogs().saveFile(U(texts::kSaveDialog), start, U(texts::kMapFilter));
    if (!file.isEmpty()) save(file);
}

bool FileController::save(const QString& path) {
    m_window.edits().applySettings();
    MapDocument& doc = m_window.document();
    const wdm::MapData map = doc.toMapData();
    QStringList bad;
    for (const wdm::MapProblem& p : wdm::CheckMap(map, {})) {
        if (p.kind == wdm::ProblemKind::GroundNumber) bad << QString::fromStdString(p.text);
    }
    if (!bad.isEmpty() &&
        !m_window.dialogs().ask(U(texts::kInfoTitle), U(texts::kBadGroundNumbers) + "\n" + bad.join("\n") + "\n" + U(texts::kSaveAnyway))) {
        return false;
    }
    const wdm::WriteResult written = wdm::WriteMap(Utf8(path), map);
    if (!written) {
        m_window.dialogs().inform(U(texts::kErrorTitle), U(texts::kSaveFailed) + "\n" + QString::fromStdString(written.error));
        return false;
    }
    // The saved order becomes the editor's own sprite order.
    doc.setSpriteOrder(SpriteSaveOrder(doc.list(ElementKind::Sprite)));
    m_window.undoStack().setClean();
    setTitleFor(path);
    remember(path);
    dropRecovery();
    return true;
}

QStringList FileController::recentFiles() const {
    if (m_options.settingsFile.isEmpty()) return {};
    return QSettings(m_options.settingsFile, QSettings::IniFormat).value("recentFiles").toStringList();
}

void FileController::remember(const QString& path) {
    if (m_options.settingsFile.isEmpty()) return;
    QSettings settings(m_options.settingsFile, QSettings::IniFormat);
    QStringList list = settings.value("recentFiles").toStringList();
    const QString abs = QFileInfo(path).absoluteFilePath();
    list.removeAll(abs);
    list.prepend(abs);
    while (list.size() > kRecentMax) list.removeLast();
    settings.setValue("recentFiles", list);
    emit recentFilesChanged();
}

void FileController::autosave() {
    if (m_options.recoveryFile.isEmpty() || m_window.undoStack().isClean()) return;
    if (!wdm::WriteMap(Utf8(m_options.recoveryFile), m_window.document().toMapData())) return;
    files::WriteFileAtomically(Utf8(m_options.recoveryFile + ".path"), Utf8(m_path));
}

void FileController::offerRecovery() {
    if (m_options.recoveryFile.isEmpty() || !QFileInfo::exists(m_options.recoveryFile)) return;
    if (!m_window.dialogs().ask(U(texts::kInfoTitle), U(texts::kRecover))) return dropRecovery();
    wdm::ReadResult r = wdm::ReadMap(Utf8(m_options.recoveryFile), wdm::SectionRule::AtLeast10);
    if (!r) return dropRecovery();
    m_window.document().load(r.map);
    m_window.undoStack().clear();
    // The recovered work is unsaved until the user saves it.
    m_window.undoStack().resetClean();
    QFile side(m_options.recoveryFile + ".path");
    if (side.open(QIODevice::ReadOnly)) {
        const QString original = QString::fromUtf8(side.readAll());
        if (!original.isEmpty()) setTitleFor(original);
    }
}

void FileController::dropRecovery() {
    if (m_options.recoveryFile.isEmpty()) return;
    QFile::remove(m_options.recoveryFile);
    QFile::remove(m_options.recoveryFile + ".path");
}

void FileController::checkMap() {
    MapOrigin origin;
    const wdm::MapData map = m_window.document().toMapData(&origin);
    wdm::CheckOptions options;
    options.dataDir = Utf8(m_pictures.dataFolder());
    QFile table(m_pictures.dataFolder() + QString::fromUtf8("/脚本/Map.csv"));
    if (table.open(QIODevice::ReadOnly)) options.mapTable = wdm::ScanMapTable(table.readAll().toStdString());
    QListWidget& list = m_window.problemList();
    list.clear();
    m_problemIds.clear();
    for (const wdm::MapProblem& p : wdm::CheckMap(map, options)) {
        const auto at = static_cast<std::size_t>(p.index);
        quint64 id = 0;
        switch (p.place) {
        case wdm::ProblemPlace::Header: break;
        case wdm::ProblemPlace::Sprite: id = origin.sprites[static_cast<std::size_t>(p.section)].at(at); break;
        case wdm::ProblemPlace::Square: id = origin.squares.at(at); break;
        case wdm::ProblemPlace::Slope: id = origin.slopes.at(at); break;
        case wdm::ProblemPlace::Stair: id = origin.stairs.at(at); break;
        case wdm::ProblemPlace::Event: id = origin.events.at(at); break;
        }
        list.addItem(QString::fromStdString(p.text));
        m_problemIds.push_back(id);
    }
    if (list.count() == 0) {
        list.addItem(U("没有发现问题"));
        m_problemIds.push_back(0);
    }
    if (QWidget* dock = list.parentWidget()) dock->show();
}

void FileController::showProblem(int row) {
    if (row < 0 || row >= static_cast<int>(m_problemIds.size())) return;
    const quint64 id = m_problemIds[static_cast<std::size_t>(row)];
    const Element* e = m_window.document().find(id);
    if (!e) return;
    m_window.canvas().select(id);
    m_window.canvas().centerOn(e->left + e->width / 2.0, e->top + e->height / 2.0);
}

bool FileController::playTest() {
    QString game = m_options.gameProgram;
    if (game.isEmpty()) game = QCoreApplication::applicationDirPath() + "/game";
    if (!QFileInfo(game).isExecutable()) {
        m_window.dialogs().inform(U(texts::kErrorTitle), U(texts::kNoGame));
        return false;
    }
    const QString temp = QDir::temp().filePath(QString("mapeditor-playtest-%1.Wdm").arg(QCoreApplication::applicationPid()));
    const wdm::WriteResult written = wdm::WriteMap(Utf8(temp), m_window.document().toMapData());
    if (!written) {
        m_window.dialogs().inform(U(texts::kErrorTitle), U(texts::kSaveFailed) + "\n" + QString::fromStdString(written.error));
        return false;
    }
    QStringList args{"--map", temp};
    if (!m_options.dataFolder.isEmpty()) args << "--data" << m_options.dataFolder;
    return QProcess::startDetached(game, args);
}

}  // namespace editor
