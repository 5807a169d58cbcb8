#pragma once
// Every question and message the editor puts to the user goes through this
// interface: WidgetDialogs shows real dialogs, tests answer with a script.

#include <QString>

#include <optional>

namespace editor {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box with an information icon and an OK button.
    virtual void inform(const QString& title, const QString& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool ask(const QString& title, const QString& text) = 0;
    // A whole number, or std::nullopt when cancelled.
    virtual std::optional<int> askInt(const QString& title, const QString& label, int value, int min, int max) = 0;
    // File and folder choosers; an empty string when cancelled. filter is in
    // Qt's form ("风铃谷文件(*.Wdm)").
    virtual QString openFile(const QString& title, const QString& dir, const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& dir, const QString& filter) = 0;
    virtual QString chooseDirectory(const QString& title, const QString& dir) = 0;
};

}  // namespace editor
