#include "picture_library.h"

#include "shared/gbk.h"

#include <QDir>
#include <QFileInfo>

namespace editor {

PictureLibrary::PictureLibrary(const QString& programFolder, const QString& dataFolder)
    : m_paths(programFolder.toStdString(), dataFolder.toStdString()) {}

QPixmap PictureLibrary::picture(const std::string& gbkPath) {
    const QByteArray key = QByteArray::fromStdString(gbkPath);
    auto it = m_cache.find(key);
    if (it != m_cache.end()) return *it;
    QPixmap p(filePath(gbkPath));
    m_cache.insert(key, p);
    return p;
}

QString PictureLibrary::filePath(const std::string& gbkPath) const {
    return QString::fromStdString(m_paths.Resolve(gbkPath));
}

std::optional<std::string> PictureLibrary::mapPath(const QString& filePath) const {
    const QString data = QDir(dataFolder()).canonicalPath();
    const QString file = QFileInfo(filePath).canonicalFilePath();
    if (data.isEmpty() || file.isEmpty() || !file.startsWith(data + "/")) return std::nullopt;
    QString rel = file.mid(data.size() + 1);
    rel.replace('/', '\\');
    const std::string utf8 = ("\\data\\" + rel).toStdString();
    std::string gbkPath = gbk::FromUtf8(utf8);
    // A name GBK cannot hold would be saved as '?' and never found again.
    if (gbk::ToUtf8(gbkPath) != utf8) return std::nullopt;
    return gbkPath;
}

QString PictureLibrary::dataFolder() const { return QString::fromStdString(m_paths.dataFolder()); }
QString PictureLibrary::programFolder() const { return QString::fromStdString(m_paths.programFolder()); }

}  // namespace editor
