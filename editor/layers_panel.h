#pragma once
// The layers dock: the five sprite layers, the squares, slopes, stairs and
// events, each with show/hide and lock, and the current sprite layer.

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace editor {

class LayersPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlots = 9;
    explicit LayersPanel(QWidget* parent = nullptr);

    // The current sprite layer (0..4), without signals.
    void setCurrent(int layer);
    int current() const;
    void setShown(int slot, bool shown);

    std::array<QCheckBox*, kSlots> shown{};
    std::array<QCheckBox*, kSlots> locked{};
    std::array<QRadioButton*, 5> currentLayer{};

signals:
    void shownChanged(int slot, bool shown);
    void lockedChanged(int slot, bool locked);
    void currentChanged(int layer);

private:
    std::array<QLabel*, kSlots> m_labels{};
};

}  // namespace editor
