#pragma once
// The pictures the map names, loaded once per path, and the mapping between
// the map's GBK "\data\..." paths and files on disk.

#include "shared/paths.h"

#include <QHash>
#include <QPixmap>
#include <QString>

#include <optional>
#include <string>

namespace editor {

class PictureLibrary {
public:
    // programFolder: where the program lives; dataFolder: its data folder
    // (empty: programFolder/data).
    PictureLibrary(const QString& programFolder, const QString& dataFolder);

    // The picture of a GBK map path; a null pixmap when it does not load.
    QPixmap picture(const std::string& gbkPath);
    // The file-system path of a GBK map path.
    QString filePath(const std::string& gbkPath) const;
    // The GBK map path ("\data\map\a.png") of a file inside the data folder,
    // or std::nullopt for a file outside it.
    std::optional<std::string> mapPath(const QString& filePath) const;

    QString dataFolder() const;
    QString programFolder() const;

private:
    paths::DataPaths m_paths;
    QHash<QByteArray, QPixmap> m_cache;
};

}  // namespace editor
