#pragma once
// Qt's own texts (standard buttons, file and input dialogs) in Chinese.

class QCoreApplication;

namespace editor {

// Installs Qt's Chinese translations into the application; false when they
// are not installed on this system (the texts then stay English).
bool InstallChineseTranslations(QCoreApplication& app);

}  // namespace editor
