#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace editor {

bool InstallChineseTranslations(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase holds the standard buttons and the file, message and input
    // dialogs.
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_", folder) &&
        !translator->load("qtbase_zh_CN", "/usr/share/qt6/translations")) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace editor
