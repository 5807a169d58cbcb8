#pragma once
// Dialogs shown as Qt message boxes and file dialogs over a parent window.

#include "dialogs.h"

class QWidget;

namespace editor {

class WidgetDialogs : public Dialogs {
public:
    explicit WidgetDialogs(QWidget* parent) : m_parent(parent) {}
    void inform(const QString& title, const QString& text) override;
    bool ask(const QString& title, const QString& text) override;
    std::optional<int> askInt(const QString& title, const QString& label, int value, int min, int max) override;
    QString openFile(const QString& title, const QString& dir, const QString& filter) override;
    QString saveFile(const QString& title, const QString& dir, const QString& filter) override;
    QString chooseDirectory(const QString& title, const QString& dir) override;

private:
    QWidget* m_parent;
};

}  // namespace editor
