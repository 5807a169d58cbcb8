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
#include <QCryptographicHash>
#include <QFileInfoList>
#include <QLockFile>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QProgressDialog>
#include <QSettings>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

namespace editor {
namespace {

constexpr int kRecentMax = 8;

std::string Utf8(const QString& s) { return s.toStdString(); }

QString WithMapSuffix(const QString& path) {
    return path.endsWith(".wdm", Qt::CaseInsensitive) ? path : path + ".Wdm";
}

QString ReadSide(const QString& file) {
    QFile side(file + ".path");
    return side.open(QIODevice::ReadOnly) ? QString::fromUtf8(side.readAll()) : QString();
}

int g_windows = 0;

}  // namespace

FileController::FileController(MainWindow& window, PictureLibrary& pictures, const EditorOptions& options)
    : QObject(&window), m_window(window), m_pictures(pictures), m_options(options), m_autosave(new QTimer(this)) {
    // An unsaved map's recovery file is this window's alone.
    m_untitledKey = QString("new-%1-%2").arg(QCoreApplication::applicationPid()).arg(++g_windows);
    connect(m_autosave, &QTimer::timeout, this, &FileController::autosave);
    if (!m_options.recoveryFolder.isEmpty() && m_options.autosaveMs > 0) m_autosave->start(m_options.autosaveMs);
}

FileController::~FileController() = default;

QString FileController::recoveryFileFor(const QString& path) const {
    if (m_options.recoveryFolder.isEmpty()) return {};
    QString key = m_untitledKey;
    if (!path.isEmpty()) {
        const QByteArray abs = QFileInfo(path).absoluteFilePath().toUtf8();
        key = "map-" + QString::fromLatin1(QCryptographicHash::hash(abs, QCryptographicHash::Sha1).toHex().left(16));
    }
    return QDir(m_options.recoveryFolder).filePath(key + ".Wdm");
}

bool FileController::ownRecovery(const QString& file) {
    if (file == m_recovery && m_recoveryLock) return true;
    m_recoveryLock.reset();
    m_recovery.clear();
    QDir().mkpath(QFileInfo(file).absolutePath());
    auto lock = std::make_unique<QLockFile>(file + ".lock");
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;  // another live editor writes it
    m_recoveryLock = std::move(lock);
    m_recovery = file;
    return true;
}

void FileController::updateTitle() {
    const QString mark = m_window.undoStack().isClean() ? QString() : QString("*");
    if (m_path.isEmpty()) {
        m_window.setWindowTitle(mark + U(texts::kTitle));
    } else {
        m_window.setWindowTitle(QFileInfo(m_path).fileName() + mark + U(texts::kTitleSuffix));
    }
}

QString FileController::mapsFolder() const { return m_pictures.dataFolder() + QString::fromUtf8("/地图"); }

void FileController::setTitleFor(const QString& path) {
    m_path = path;
    updateTitle();
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
    // The work shown before was saved or given up by now.
    dropRecovery();
    m_window.canvas().select(0);
    m_window.edits().forgetShown();
    m_window.document().load(r.map);
    m_window.undoStack().clear();
    m_window.undoStack().setClean();
    progress.setValue(progress.maximum());
    setTitleFor(path);
    remember(path);
    return true;
}

void FileController::newMap() {
    if (!confirmDiscard()) return;
    dropRecovery();
    m_window.canvas().select(0);
    m_window.edits().forgetShown();
    m_window.document().clear();
    m_window.undoStack().clear();
    m_window.undoStack().setClean();
    setTitleFor(QString());
}

bool FileController::saveCurrent() {
    if (m_path.isEmpty()) return saveAs();
    return save(m_path);
}

bool FileController::saveAs() {
    const QString start = m_path.isEmpty() ? mapsFolder() : m_path;
    const QString file = m_window.dialogs().saveFile(U(texts::kSaveDialog), start, U(texts::kMapFilter));
    return !file.isEmpty() && save(file);
}

bool FileController::save(const QString& given) {
    const QString path = WithMapSuffix(given);
    m_window.edits().applySettings();
    MapDocument& doc = m_window.document();
    const wdm::MapData map = doc.toMapData();
    QStringList bad;
    for (const wdm::MapProblem& p : wdm::CheckMap(map, {})) {
        if (p.kind == wdm::ProblemKind::GroundNumber) bad << QString::fromStdString(p.chinese);
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
    dropRecovery();
    m_window.undoStack().setClean();
    setTitleFor(path);
    remember(path);
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
    if (m_options.recoveryFolder.isEmpty() || m_window.undoStack().isClean()) return;
    // A map saved under a new name moves its recovery file along.
    const QString file = recoveryFileFor(m_path);
    if (file != m_recovery) {
        dropRecovery();
        if (!ownRecovery(file)) return;
    }
    if (!wdm::WriteMap(Utf8(m_recovery), m_window.document().toMapData())) return;
    files::WriteFileAtomically(Utf8(m_recovery + ".path"), Utf8(m_path));
}

void FileController::openAtStart(const QString& mapPath) {
    bool recovered = false;
    if (!m_options.recoveryFolder.isEmpty()) {
        // The map named on the command line is asked about first, then any
        // other work left behind, newest first.
        QFileInfoList found = QDir(m_options.recoveryFolder).entryInfoList({"*.Wdm"}, QDir::Files, QDir::Time);
        const QString wanted = mapPath.isEmpty() ? QString() : recoveryFileFor(mapPath);
        std::stable_partition(found.begin(), found.end(), [&](const QFileInfo& f) { return f.absoluteFilePath() == QFileInfo(wanted).absoluteFilePath(); });
        for (const QFileInfo& f : found) {
            const QString file = f.absoluteFilePath();
            {
                // Skip the files of editors still running.
                QLockFile probe(file + ".lock");
                probe.setStaleLockTime(0);
                if (!probe.tryLock(0)) continue;
                probe.unlock();
            }
            const QString original = ReadSide(file);
            const QString name = original.isEmpty() ? U(texts::kUntitled) : original;
            if (!m_window.dialogs().ask(U(texts::kInfoTitle), U(texts::kRecover) + "\n" + name)) {
                // Given up by the user.
                QFile::remove(file);
                QFile::remove(file + ".path");
                continue;
            }
            wdm::ReadResult r = wdm::ReadMap(Utf8(file), wdm::SectionRule::AtLeast10);
            if (!r) continue;
            m_window.edits().forgetShown();
            m_window.document().load(r.map);
            m_window.undoStack().clear();
            // The recovered work is unsaved until the user saves it; its
            // file stays until then.
            m_window.undoStack().resetClean();
            ownRecovery(file);
            setTitleFor(original);
            recovered = true;
            break;
        }
    }
    if (mapPath.isEmpty()) return;
    if (recovered) {
        if (!m_path.isEmpty() && QFileInfo(m_path).absoluteFilePath() == QFileInfo(mapPath).absoluteFilePath()) return;
        if (!m_window.dialogs().ask(U(texts::kInfoTitle), U(texts::kUnsavedLoad))) return;
    }
    load(mapPath);
}

void FileController::dropRecovery() {
    if (m_recovery.isEmpty()) return;
    QFile::remove(m_recovery);
    QFile::remove(m_recovery + ".path");
    m_recoveryLock.reset();
    m_recovery.clear();
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
        list.addItem(QString::fromStdString(p.chinese));
        m_problemIds.push_back(id);
    }
    if (list.count() == 0) {
        list.addItem(U(texts::kNoProblems));
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
