#include "map_data_page.h"

#include "form_helpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace editor {

MapDataPage::MapDataPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    auto* sizeForm = new QFormLayout;
    width = AddField(sizeForm, "宽度:", "编辑框1_地图宽度", "800");
    height = AddField(sizeForm, "高度:", "编辑框2_地图高度", "600");
    applySize = NamedButton("提交(&S)", "按钮_提交");
    sizeForm->addRow(QString(), applySize);
    background = AddField(sizeForm, "整体背景:", "编辑框_整体背景");
    chooseBackground = NamedButton("选择(&X)", "按钮_选择背景");
    sizeForm->addRow(QString(), chooseBackground);
    v->addLayout(sizeForm);

    auto* floating = new QGroupBox(U("飘动设置"));
    floating->setObjectName(U("分组框_飘动设置"));
    auto* floatForm = new QFormLayout(floating);
    floatInterval = AddField(floatForm, "飘动间隔:", "编辑框_飘动间隔", "0");
    auto* dirs = new QHBoxLayout;
    const char* const captions[] = {"四边", "右下", "左下", "右上", "左上"};
    const char* const names[] = {"单选框_四边", "单选框_右下", "单选框_左下", "单选框_右上", "单选框_左上"};
    for (std::size_t i = 0; i < floatDirection.size(); ++i) {
        floatDirection[i] = NamedRadio(captions[i], names[i]);
        dirs->addWidget(floatDirection[i]);
    }
    floatDirection[0]->setChecked(true);
    floatForm->addRow(dirs);
    v->addWidget(floating);

    auto* start = new QGroupBox(U("角色初始设置"));
    start->setObjectName(U("分组框_角色初始设置"));
    auto* startForm = new QFormLayout(start);
    startGround = AddField(startForm, "地层编号:", "编辑框_初始地层编号", "0");
    startOffset = AddField(startForm, "地层偏左:", "编辑框_初始地层X偏移", "10");
    v->addWidget(start);

    auto* townForm = new QFormLayout;
    townMap = AddField(townForm, "回城地图编号:", "编辑框_主地图", "0");
    townGround = AddField(townForm, "初始地层编号:", "编辑框_主地图初始地层编号", "0");
    v->addLayout(townForm);

    auto* files = new QHBoxLayout;
    load = NamedButton("载入工程", "按钮_载入工程");
    save = NamedButton("保存工程", "按钮_保存工程");
    files->addWidget(load);
    files->addWidget(save);
    v->addLayout(files);
    v->addStretch(1);
}

}  // namespace editor
