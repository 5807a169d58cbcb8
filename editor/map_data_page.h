#pragma once
// Tab page "地图数据": map size, background, floating and start settings,
// return-to-town fields, load and save.

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace editor {

class MapDataPage : public QWidget {
    Q_OBJECT
public:
    explicit MapDataPage(QWidget* parent = nullptr);

    QLineEdit* width;
    QLineEdit* height;
    QPushButton* applySize;
    QLineEdit* background;
    QPushButton* chooseBackground;
    QLineEdit* floatInterval;
    std::array<QRadioButton*, 5> floatDirection;
    QLineEdit* startGround;
    QLineEdit* startOffset;
    QLineEdit* townMap;
    QLineEdit* townGround;
    QPushButton* load;
    QPushButton* save;
};

}  // namespace editor
