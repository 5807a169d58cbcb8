#include "layers_panel.h"

#include "form_helpers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>

namespace editor {

LayersPanel::LayersPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(U("面板_图层"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(U("图层")), 0, 0);
    grid->addWidget(new QLabel(U("当前")), 0, 1);
    grid->addWidget(new QLabel(U("显示")), 0, 2);
    grid->addWidget(new QLabel(U("锁定")), 0, 3);
    static const char* const kNames[kSlots] = {"地图精灵", "顶层精灵", "二层背景", "三层背景", "飘动背景",
                                               "正方形", "三角形", "楼梯", "事件"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < kSlots; ++i) {
        const QString name = U(kNames[i]);
        auto* label = new QLabel(name);
        label->setObjectName(U("标签_图层_") + name);
        grid->addWidget(label, i + 1, 0);
        m_labels[static_cast<std::size_t>(i)] = label;
        if (i < 5) {
            auto* r = new QRadioButton;
            r->setObjectName(U("单选框_当前图层_") + name);
            r->setToolTip(U("当前图层"));
            group->addButton(r, i);
            currentLayer[static_cast<std::size_t>(i)] = r;
            grid->addWidget(r, i + 1, 1);
            connect(r, &QRadioButton::toggled, this, [this, i](bool on) {
                if (on) emit currentChanged(i);
            });
        }
        auto* s = new QCheckBox;
        s->setObjectName(U("选择框_显示_") + name);
        s->setChecked(true);
        s->setToolTip(U("显示/隐藏"));
        shown[static_cast<std::size_t>(i)] = s;
        grid->addWidget(s, i + 1, 2);
        connect(s, &QCheckBox::toggled, this, [this, i](bool on) { emit shownChanged(i, on); });
        auto* l = new QCheckBox;
        l->setObjectName(U("选择框_锁定_") + name);
        l->setToolTip(U("锁定"));
        locked[static_cast<std::size_t>(i)] = l;
        grid->addWidget(l, i + 1, 3);
        connect(l, &QCheckBox::toggled, this, [this, i](bool on) { emit lockedChanged(i, on); });
    }
    grid->setRowStretch(kSlots + 1, 1);
    setCurrent(0);
}

void LayersPanel::setCurrent(int layer) {
    if (layer < 0 || layer >= 5) return;
    QRadioButton* r = currentLayer[static_cast<std::size_t>(layer)];
    const bool blocked = r->blockSignals(true);
    r->setChecked(true);
    r->blockSignals(blocked);
    // The current layer's name is shown in bold.
    for (int i = 0; i < 5; ++i) {
        QLabel* label = m_labels[static_cast<std::size_t>(i)];
        QFont f = label->font();
        f.setBold(i == layer);
        label->setFont(f);
    }
}

int LayersPanel::current() const {
    for (int i = 0; i < 5; ++i) {
        if (currentLayer[static_cast<std::size_t>(i)]->isChecked()) return i;
    }
    return 0;
}

void LayersPanel::setShown(int slot, bool on) {
    if (slot >= 0 && slot < kSlots) shown[static_cast<std::size_t>(slot)]->setChecked(on);
}

}  // namespace editor
