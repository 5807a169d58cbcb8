#include "sprite_page.h"

#include "editor_texts.h"
#include "form_helpers.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace editor {

SpritePage::SpritePage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    auto* radios = new QGridLayout;
    int cell = 0;
    // Radio order on the page; the array is indexed by layer value.
    struct R {
        int layer;
        const char* caption;
        const char* name;
    };
    for (const R& r : {R{0, "地图精灵", "单选框_地图精灵"}, R{1, "顶层精灵", "单选框_顶层精灵"}, R{2, "二层背景", "单选框_二层背景"},
                       R{3, "三层背景", "单选框_三层背景"}, R{4, "飘动背景", "单选框_飘动背景"}}) {
        auto* b = NamedRadio(r.caption, r.name);
        layers[static_cast<std::size_t>(r.layer)] = b;
        radios->addWidget(b, cell / 3, cell % 3);
        ++cell;
        connect(b, &QRadioButton::toggled, this, [this, layer = r.layer](bool on) {
            if (on) emit layerChanged(layer);
        });
    }
    layers[0]->setChecked(true);
    v->addLayout(radios);

    files = new QListWidget;
    files->setObjectName(U("超级列表框1"));
    v->addWidget(files, 2);
    preview = new QLabel;
    preview->setObjectName(U("画板_预览"));
    preview->setMinimumHeight(120);
    preview->setAlignment(Qt::AlignCenter);
    preview->setStyleSheet("background: #202024; color: #ccc;");
    v->addWidget(preview, 1);

    auto* buttons = new QHBoxLayout;
    changeFolder = NamedButton("更换目录", "按钮_更换目录");
    loadPicture = NamedButton("装载(&O)", "按钮_装载");
    undoSprite = NamedButton("撤销(&D)", "按钮_撤销精灵");
    buttons->addWidget(changeFolder);
    buttons->addWidget(loadPicture);
    buttons->addWidget(undoSprite);
    v->addLayout(buttons);
}

int SpritePage::currentLayer() const {
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (layers[i]->isChecked()) return static_cast<int>(i);
    }
    return 0;
}

void SpritePage::showFolder(const QString& folder) {
    m_folder = QDir(folder).absolutePath();
    files->clear();
    files->addItem(U(texts::kUpDir));
    QDir dir(m_folder);
    for (const QFileInfo& f : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        auto* item = new QListWidgetItem("[" + f.fileName() + "]");
        item->setData(Qt::UserRole, f.absoluteFilePath());
        item->setData(Qt::UserRole + 1, true);
        files->addItem(item);
    }
    for (const QFileInfo& f : dir.entryInfoList({"*.*"}, QDir::Files, QDir::Name)) {
        auto* item = new QListWidgetItem(f.fileName());
        item->setData(Qt::UserRole, f.absoluteFilePath());
        item->setData(Qt::UserRole + 1, false);
        files->addItem(item);
    }
}

QString SpritePage::pathOfRow(int row) const {
    if (row <= 0 || row >= files->count()) return {};
    return files->item(row)->data(Qt::UserRole).toString();
}

bool SpritePage::rowIsFolder(int row) const {
    return row > 0 && row < files->count() && files->item(row)->data(Qt::UserRole + 1).toBool();
}

}  // namespace editor
