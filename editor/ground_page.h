#pragma once
// Tab page "地层碰撞盒设置": the ground kind to draw, "创建新地层", taking back
// the last box and deleting a box by number.

#include "element.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace editor {

class GroundPage : public QWidget {
    Q_OBJECT
public:
    explicit GroundPage(QWidget* parent = nullptr);

    // The list and the kind value of the checked radio.
    ElementKind kind() const;
    int groundType() const;

    // 正方形地层[通常], [阻挡], 三角形地层[向左], [向右], 楼梯.
    std::array<QRadioButton*, 5> kinds;
    QCheckBox* create;
    QPushButton* undoBox;
    QLineEdit* number;
    QPushButton* deleteGround;

signals:
    void kindChanged();
};

}  // namespace editor
