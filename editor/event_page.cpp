#include "event_page.h"

#include "editor_texts.h"
#include "form_helpers.h"
#include "shared/gbk.h"
#include "shared/wdm_map.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace editor {
namespace {

QWidget* Page(QFormLayout*& form) {
    auto* w = new QWidget;
    form = new QFormLayout(w);
    return w;
}

QComboBox* Facing(const char* name) {
    auto* c = new QComboBox;
    c->setObjectName(U(name));
    c->addItems({U("默认"), U("左"), U("右")});
    return c;
}

QString Num(double v) { return QString::fromStdString(gbk::NumberToText(v)); }

}  // namespace

EventPage::EventPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    auto* radios = new QHBoxLayout;
    const char* const captions[] = {"NPC", "怪物", "地图链接", "动画", "物品"};
    const char* const names[] = {"单选框_NPC", "单选框_怪物", "单选框_地图链接", "单选框_动画", "单选框_物品"};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        kinds[i] = NamedRadio(captions[i], names[i]);
        radios->addWidget(kinds[i]);
        connect(kinds[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            pages->setCurrentIndex(static_cast<int>(i));
            emit kindChanged(static_cast<int>(i) + 1);
        });
    }
    v->addLayout(radios);
    create = NamedCheck("创建事件  F4热键", "选择框_创建事件");
    v->addWidget(create);
    auto* numberRow = new QFormLayout;
    eventNumber = AddField(numberRow, "事件序号:", "编辑框_事件序号");
    v->addLayout(numberRow);
    auto* buttons = new QHBoxLayout;
    editEvent = NamedButton("编辑事件", "按钮_编辑事件");
    view = NamedButton("查看", "按钮_查看");
    buttons->addWidget(editEvent);
    buttons->addWidget(view);
    v->addLayout(buttons);

    pages = new QTabWidget;
    pages->setObjectName(U("选择夹_事件"));
    QFormLayout* f = nullptr;
    pages->addTab(Page(f), U("NPC设置"));
    npcId = AddField(f, "NPC ID:", "编辑框_NPCID");
    npcGround = AddField(f, "地层编号:", "编辑框_NPC地层编号");
    npcOffset = AddField(f, "偏左:", "编辑框_NPC偏左");
    pages->addTab(Page(f), U("怪物设置"));
    monsterId = AddField(f, "怪物ID:", "编辑框_怪物ID");
    monsterGround = AddField(f, "地层编号:", "编辑框_怪物地层编号");
    monsterOffset = AddField(f, "偏左:", "编辑框_怪物偏左");
    flyTop = AddField(f, "地层偏顶:", "编辑框_地层偏顶");
    flyLowest = AddField(f, "最低顶边:", "编辑框_最低顶边");
    pages->addTab(Page(f), U("地图链接"));
    linkMap = AddField(f, "地图编号:", "编辑框_地图编号");
    linkGround = AddField(f, "地层编号:", "编辑框_链接地层编号", "0");
    linkOffset = AddField(f, "偏左:", "编辑框_链接偏左", "-1");
    linkTouch = NamedCheck("接触即跳转", "选择框_接触即跳转");
    f->addRow(linkTouch);
    linkFacing = Facing("组合框_人物方向");
    f->addRow(U("人物方向:"), linkFacing);
    pages->addTab(Page(f), U("动画"));
    effectId = AddField(f, "特效ID:", "编辑框_特效ID");
    animX = AddField(f, "X:", "编辑框_动画X");
    animY = AddField(f, "Y:", "编辑框_动画Y");
    playNormal = NamedRadio("普通播放", "单选框_普通播放");
    playBackAndForth = NamedRadio("往返播放", "单选框_往返播放");
    playNormal->setChecked(true);
    f->addRow(playNormal, playBackAndForth);
    pages->addTab(Page(f), U("物品"));
    itemName = AddField(f, "物品名称:", "编辑框_物品名称", U("太阳神水"));
    itemCount = AddField(f, "数量:", "编辑框_物品数量", "1");
    itemX = AddField(f, "X:", "编辑框_物品X");
    itemY = AddField(f, "Y:", "编辑框_物品Y");
    itemDirection = Facing("组合框_物品方向");
    f->addRow(U("方向:"), itemDirection);
    v->addWidget(pages);

    auto* help = new QLabel(U(texts::kHelpLine));
    help->setObjectName(U("标签_说明"));
    help->setWordWrap(true);
    v->addWidget(help);
    counts = new QLabel;
    counts->setObjectName(U("标签_事件数量"));
    v->addWidget(counts);
    v->addStretch(1);
    kinds[0]->setChecked(true);
    setCounts({0, 0, 0, 0, 0});
}

int EventPage::kind() const {
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i]->isChecked()) return static_cast<int>(i) + 1;
    }
    return 1;
}

void EventPage::setKind(int k) {
    if (k >= 1 && k <= 5) kinds[static_cast<std::size_t>(k - 1)]->setChecked(true);
}

QString EventPage::missingField(int k) const {
    switch (k) {
    case wdm::kEventNpc: return npcId->text().trimmed().isEmpty() ? U(texts::kNeedNpcId) : QString();
    case wdm::kEventMonster: return monsterId->text().trimmed().isEmpty() ? U(texts::kNeedMonsterId) : QString();
    case wdm::kEventLink: return linkMap->text().trimmed().isEmpty() ? U(texts::kNeedLinkMap) : QString();
    case wdm::kEventAnimation: return effectId->text().trimmed().isEmpty() ? U(texts::kNeedAnimationId) : QString();
    default: return {};
    }
}

void EventPage::setPlacement(int k, int ground, int offset, QPoint at) {
    if (k == wdm::kEventNpc) {
        npcGround->setText(QString::number(ground));
        npcOffset->setText(QString::number(offset));
    } else if (k == wdm::kEventMonster) {
        monsterGround->setText(QString::number(ground));
        monsterOffset->setText(QString::number(offset));
    } else if (k == wdm::kEventAnimation) {
        animX->setText(QString::number(at.x()));
        animY->setText(QString::number(at.y()));
    } else if (k == wdm::kEventItem) {
        itemX->setText(QString::number(at.x()));
        itemY->setText(QString::number(at.y()));
    }
}

std::optional<std::string> EventPage::detail(int k, QString* error) const {
    auto num = [](const QLineEdit* e) { return gbk::ToInt(e->text().toStdString()); };
    auto real = [](const QLineEdit* e) { return gbk::ToReal(e->text().toStdString()); };
    switch (k) {
    case wdm::kEventNpc: return wdm::FormatDetail(wdm::NpcDetail{num(npcId), num(npcGround), real(npcOffset)});
    case wdm::kEventMonster: {
        wdm::MonsterDetail d{num(monsterId), num(monsterGround), real(monsterOffset), false, 0, 0};
        if (!flyTop->text().trimmed().isEmpty() || !flyLowest->text().trimmed().isEmpty()) {
            d.hasFlyingLimits = true;
            d.flyTopOffset = num(flyTop);
            d.flyLowestTop = num(flyLowest);
        }
        return wdm::FormatDetail(d);
    }
    case wdm::kEventLink:
        return wdm::FormatDetail(wdm::LinkDetail{num(linkMap), num(linkGround), num(linkOffset), linkTouch->isChecked(),
                                                 linkFacing->currentIndex()});
    case wdm::kEventAnimation:
        // The captions say "普通播放" / "往返播放"; the file holds the values
        // the game compares with.
        return wdm::FormatDetail(wdm::AnimationDetail{num(effectId), num(animX), num(animY),
                                                      gbk::Lit(playBackAndForth->isChecked() ? "往返" : "普通")});
    case wdm::kEventItem: {
        const std::string utf8 = itemName->text().toStdString();
        const std::string name = gbk::FromUtf8(utf8);
        if (gbk::ToUtf8(name) != utf8 || wdm::StoredTextProblem(name, true)) {
            if (error) *error = U(texts::kBadText);
            return std::nullopt;
        }
        return wdm::FormatDetail(wdm::ItemDetail{name, num(itemCount)});
    }
    default: return std::string();
    }
}

void EventPage::showEvent(const Element& e) {
    setKind(e.type);
    switch (e.type) {
    case wdm::kEventNpc: {
        const wdm::NpcDetail d = wdm::ParseNpcDetail(e.detail);
        npcId->setText(QString::number(d.npcId));
        npcGround->setText(QString::number(d.ground));
        npcOffset->setText(Num(d.offset));
        break;
    }
    case wdm::kEventMonster: {
        const wdm::MonsterDetail d = wdm::ParseMonsterDetail(e.detail);
        monsterId->setText(QString::number(d.monsterId));
        monsterGround->setText(QString::number(d.ground));
        monsterOffset->setText(Num(d.offset));
        flyTop->setText(d.hasFlyingLimits ? QString::number(d.flyTopOffset) : QString());
        flyLowest->setText(d.hasFlyingLimits ? QString::number(d.flyLowestTop) : QString());
        break;
    }
    case wdm::kEventLink: {
        const wdm::LinkDetail d = wdm::ParseLinkDetail(e.detail);
        linkMap->setText(QString::number(d.targetMap));
        linkGround->setText(QString::number(d.targetGround));
        linkOffset->setText(QString::number(d.targetOffset));
        linkTouch->setChecked(d.jumpOnTouch);
        linkFacing->setCurrentIndex(d.facing >= 0 && d.facing <= 2 ? d.facing : 0);
        break;
    }
    case wdm::kEventAnimation: {
        const wdm::AnimationDetail d = wdm::ParseAnimationDetail(e.detail);
        effectId->setText(QString::number(d.effectId));
        animX->setText(QString::number(d.x));
        animY->setText(QString::number(d.y));
        (d.backAndForth() ? playBackAndForth : playNormal)->setChecked(true);
        break;
    }
    case wdm::kEventItem: {
        const wdm::ItemDetail d = wdm::ParseItemDetail(e.detail);
        itemName->setText(QString::fromStdString(gbk::ToUtf8(d.name)));
        itemCount->setText(QString::number(d.count));
        itemX->setText(QString::number(e.left));
        itemY->setText(QString::number(e.top));
        break;
    }
    default: break;
    }
}

void EventPage::setCounts(const std::array<int, 5>& n) {
    counts->setText(U("NPC数量:%1\n\n怪物数量:%2\n\n链接数量:%3\n\n动画数量:%4\n\n物品数量:%5")
                        .arg(n[0])
                        .arg(n[1])
                        .arg(n[2])
                        .arg(n[3])
                        .arg(n[4]));
}

}  // namespace editor
