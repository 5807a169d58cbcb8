#pragma once
// Tab page "NPC-怪物-链接设置": the event kind, "创建事件", the event number
// with "编辑事件" and "查看", and one inner page of fields per kind. Turns
// its fields into an event's detail text and back.

#include "element.h"

#include <QWidget>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace editor {

class EventPage : public QWidget {
    Q_OBJECT
public:
    explicit EventPage(QWidget* parent = nullptr);

    // Event kind of the checked radio (1 NPC .. 5 item).
    int kind() const;
    void setKind(int kind);

    // The refusal for placing an event of this kind with the fields as they
    // are (a missing id or target map), or an empty string.
    QString missingField(int kind) const;
    // Writes where an event was placed into the fields: the ground and
    // offset for NPC, monster and item events, the point for animations and
    // items.
    void setPlacement(int kind, int ground, int offset, QPoint at);
    // The detail text of the fields; std::nullopt with *error set when a
    // text cannot be stored in a map file.
    std::optional<std::string> detail(int kind, QString* error) const;
    // Fills the fields (and the kind) from an event.
    void showEvent(const Element& e);
    // The counts of NPC, monster, link, animation and item events.
    void setCounts(const std::array<int, 5>& counts);

    std::array<QRadioButton*, 5> kinds;
    QCheckBox* create;
    QLineEdit* eventNumber;
    QPushButton* editEvent;
    QPushButton* view;
    QTabWidget* pages;
    QLabel* counts;
    // NPC
    QLineEdit* npcId;
    QLineEdit* npcGround;
    QLineEdit* npcOffset;
    // Monster
    QLineEdit* monsterId;
    QLineEdit* monsterGround;
    QLineEdit* monsterOffset;
    QLineEdit* flyTop;
    QLineEdit* flyLowest;
    // Link
    QLineEdit* linkMap;
    QLineEdit* linkGround;
    QLineEdit* linkOffset;
    QCheckBox* linkTouch;
    QComboBox* linkFacing;
    // Animation
    QLineEdit* effectId;
    QLineEdit* animX;
    QLineEdit* animY;
    QRadioButton* playNormal;
    QRadioButton* playBackAndForth;
    // Item
    QLineEdit* itemName;
    QLineEdit* itemCount;
    QLineEdit* itemX;
    QLineEdit* itemY;
    QComboBox* itemDirection;

signals:
    void kindChanged(int kind);
};

}  // namespace editor
