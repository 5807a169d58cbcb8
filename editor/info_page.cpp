#include "info_page.h"

#include "form_helpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace editor {

InfoPage::InfoPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    capture = NamedCheck("开启信息捕捉  热键F2", "选择框_信息捕捉");
    v->addWidget(capture);
    auto* form = new QFormLayout;
    number = AddField(form, "精灵序号:", "编辑框_精灵序号");
    type = AddField(form, "类型:", "编辑框_精灵类型");
    left = AddField(form, "左边:", "编辑框_精灵左边");
    top = AddField(form, "顶边:", "编辑框_精灵顶边");
    width = AddField(form, "宽度:", "编辑框_精灵宽度");
    height = AddField(form, "高度:", "编辑框_精灵高度");
    v->addLayout(form);
    auto* buttons = new QHBoxLayout;
    adjust = NamedButton("调整(&T)", "按钮_调整");
    deleteSprite = NamedButton("删除精灵", "按钮_删除精灵");
    buttons->addWidget(adjust);
    buttons->addWidget(deleteSprite);
    v->addLayout(buttons);
    info = new QLabel(U("目前是[精灵]信息"));
    info->setObjectName(U("标签_信息"));
    info->setWordWrap(true);
    v->addWidget(info);
    v->addStretch(1);
}

void InfoPage::clear() {
    m_shown = 0;
    for (QLineEdit* e : {number, type, left, top, width, height}) e->clear();
    info->setText(U("目前是[精灵]信息"));
}

void InfoPage::show(const Element& e, int n) {
    m_shown = e.id;
    number->setText(QString::number(n));
    type->setText(QString::number(e.type));
    type->setReadOnly(e.kind == ElementKind::Event);
    left->setText(QString::number(e.left));
    top->setText(QString::number(e.top));
    width->setText(QString::number(e.width));
    height->setText(QString::number(e.height));
    static const char* const kLabels[] = {"目前是[精灵]信息", "目前是[正方形]信息", "目前是[三角形]信息", "目前是[楼梯]信息",
                                          "目前是[事件]信息"};
    info->setText(U(kLabels[static_cast<int>(e.kind)]));
}

}  // namespace editor
