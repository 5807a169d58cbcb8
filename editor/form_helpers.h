#pragma once
// Small builders for the tab pages: every control gets its object name.

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

namespace editor {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

inline QLineEdit* AddField(QFormLayout* form, const char* caption, const char* name, const QString& text = {}) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(U(name));
    form->addRow(U(caption), edit);
    return edit;
}

inline QPushButton* NamedButton(const char* caption, const char* name) {
    auto* b = new QPushButton(U(caption));
    b->setObjectName(U(name));
    return b;
}

inline QRadioButton* NamedRadio(const char* caption, const char* name) {
    auto* b = new QRadioButton(U(caption));
    b->setObjectName(U(name));
    return b;
}

inline QCheckBox* NamedCheck(const char* caption, const char* name) {
    auto* b = new QCheckBox(U(caption));
    b->setObjectName(U(name));
    return b;
}

// The text of a field as an int (lenient: "12.5" is 12, "" is 0).
int FieldInt(const QLineEdit* edit);

}  // namespace editor
