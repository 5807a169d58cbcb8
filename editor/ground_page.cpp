#include "ground_page.h"

#include "form_helpers.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace editor {

GroundPage::GroundPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    const char* const captions[] = {"正方形地层[通常]", "正方形地层[阻挡]", "三角形地层[向左]", "三角形地层[向右]", "楼梯"};
    const char* const names[] = {"单选框_正方形通常", "单选框_正方形阻挡", "单选框_三角形向左", "单选框_三角形向右", "单选框_楼梯"};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        kinds[i] = NamedRadio(captions[i], names[i]);
        v->addWidget(kinds[i]);
        connect(kinds[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) emit kindChanged();
        });
    }
    kinds[0]->setChecked(true);
    create = NamedCheck("创建新地层  F3热键", "选择框_创建地层");
    v->addWidget(create);
    undoBox = NamedButton("撤销(&Z)", "按钮_撤销地层");
    v->addWidget(undoBox);
    auto* form = new QFormLayout;
    number = AddField(form, "序号:", "编辑框_地层序号");
    v->addLayout(form);
    deleteGround = NamedButton("删除地层", "按钮_删除地层");
    v->addWidget(deleteGround);
    v->addStretch(1);
}

ElementKind GroundPage::kind() const {
    if (kinds[2]->isChecked() || kinds[3]->isChecked()) return ElementKind::Slope;
    if (kinds[4]->isChecked()) return ElementKind::Stair;
    return ElementKind::Square;
}

int GroundPage::groundType() const { return kinds[1]->isChecked() || kinds[3]->isChecked() ? 1 : 0; }

}  // namespace editor
