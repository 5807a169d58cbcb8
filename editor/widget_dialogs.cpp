#include "widget_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace editor {

void WidgetDialogs::inform(const QString& title, const QString& text) {
    QMessageBox::information(m_parent, title, text);
}

bool WidgetDialogs::ask(const QString& title, const QString& text) {
    return QMessageBox::question(m_parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<int> WidgetDialogs::askInt(const QString& title, const QString& label, int value, int min, int max) {
    bool ok = false;
    const int v = QInputDialog::getInt(m_parent, title, label, value, min, max, 1, &ok);
    if (!ok) return std::nullopt;
    return v;
}

QString WidgetDialogs::openFile(const QString& title, const QString& dir, const QString& filter) {
    return QFileDialog::getOpenFileName(m_parent, title, dir, filter);
}

QString WidgetDialogs::saveFile(const QString& title, const QString& dir, const QString& filter) {
    return QFileDialog::getSaveFileName(m_parent, title, dir, filter);
}

QString WidgetDialogs::chooseDirectory(const QString& title, const QString& dir) {
    return QFileDialog::getExistingDirectory(m_parent, title, dir);
}

}  // namespace editor
