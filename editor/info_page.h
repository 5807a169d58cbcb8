#pragma once
// Tab page "精灵与地层信息": capture on click, the fields of the captured
// element, "调整(&T)" and "删除精灵".

#include "element.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace editor {

class InfoPage : public QWidget {
    Q_OBJECT
public:
    explicit InfoPage(QWidget* parent = nullptr);

    // Fills the fields with an element and its 1-based number, and sets the
    // label to its kind. An event's type field is read-only.
    void show(const Element& e, int number);
    quint64 shownId() const { return m_shown; }
    // Empties the fields (a new or loaded map).
    void clear();

    QCheckBox* capture;
    QLineEdit* number;
    QLineEdit* type;
    QLineEdit* left;
    QLineEdit* top;
    QLineEdit* width;
    QLineEdit* height;
    QPushButton* adjust;
    QPushButton* deleteSprite;
    QLabel* info;

private:
    quint64 m_shown = 0;
};

}  // namespace editor
