#include "element_item.h"

#include <QPainter>

namespace editor {

ElementItem::ElementItem(const Element& element) : m_element(element) { setPos(element.left, element.top); }

void ElementItem::setElement(const Element& element, int number, const QPixmap& picture) {
    if (element.width != m_element.width || element.height != m_element.height) prepareGeometryChange();
    m_element = element;
    m_number = number;
    m_picture = picture;
    setPos(element.left, element.top);
    update();
}

void ElementItem::setOutlineOnly(bool on) {
    m_outlineOnly = on;
    update();
}

void ElementItem::setMarked(bool on) {
    m_marked = on;
    update();
}

void ElementItem::setSelectedMark(bool on) {
    m_selected = on;
    update();
}

QRectF ElementItem::boundingRect() const {
    return QRectF(-1, -1, std::max(m_element.width, 1) + 2, std::max(m_element.height, 1) + 2);
}

QColor ElementItem::BoxColour(ElementKind kind, int type) {
    switch (kind) {
    case ElementKind::Square: return type == 1 ? QColor(220, 60, 50) : QColor(40, 180, 70);
    case ElementKind::Slope: return type == 1 ? QColor(40, 190, 210) : QColor(50, 110, 230);
    case ElementKind::Stair: return QColor(240, 150, 30);
    case ElementKind::Event:
        switch (type) {
        case 1: return QColor(250, 220, 40);
        case 2: return QColor(200, 40, 120);
        case 3: return QColor(150, 70, 230);
        case 4: return QColor(250, 120, 200);
        default: return QColor(230, 190, 90);
        }
    case ElementKind::Sprite: break;
    }
    return Qt::gray;
}

void ElementItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (m_element.kind == ElementKind::Sprite) {
        paintSprite(painter);
    } else {
        paintBox(painter);
    }
    const QRectF r(0, 0, m_element.width, m_element.height);
    if (m_marked) {
        painter->setPen(QPen(Qt::yellow, 2, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(r);
    } else if (m_selected) {
        painter->setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(r);
    }
}

void ElementItem::paintSprite(QPainter* painter) {
    const QRectF target(0, 0, m_element.width, m_element.height);
    if (m_picture.isNull()) {
        // A picture that does not load shows as a crossed box of its size.
        painter->setPen(QPen(QColor(255, 0, 255), 1));
        painter->setBrush(QColor(255, 0, 255, 40));
        painter->drawRect(target);
        painter->drawLine(target.topLeft(), target.bottomRight());
        painter->drawLine(target.topRight(), target.bottomLeft());
        return;
    }
    // The game shows the part (0, 0, width, height) of the picture.
    const QRectF source(0, 0, std::min<qreal>(m_element.width, m_picture.width()),
                        std::min<qreal>(m_element.height, m_picture.height()));
    painter->save();
    if (m_element.mirrored) {
        painter->translate(m_element.width, 0);
        painter->scale(-1, 1);
    }
    painter->drawPixmap(QRectF(0, 0, source.width(), source.height()), m_picture, source);
    painter->restore();
}

void ElementItem::paintBox(QPainter* painter) {
    const QColor c = BoxColour(m_element.kind, m_element.type);
    const QRectF r(0, 0, m_element.width, m_element.height);
    painter->setPen(QPen(c.darker(150), 1));
    QColor fill = c;
    fill.setAlpha(m_outlineOnly ? 0 : 90);
    painter->setBrush(fill);
    painter->drawRect(r);
    if (m_element.kind == ElementKind::Slope) {
        // Kind 0 rises to the right, kind 1 to the left.
        painter->setPen(QPen(c.darker(170), 2));
        if (m_element.type == 0) {
            painter->drawLine(r.bottomLeft(), r.topRight());
        } else {
            painter->drawLine(r.topLeft(), r.bottomRight());
        }
    } else if (m_element.kind == ElementKind::Stair) {
        painter->setPen(QPen(c.darker(170), 1));
        for (qreal y = 6; y < r.height(); y += 8) painter->drawLine(QPointF(2, y), QPointF(r.width() - 2, y));
    }
    static const char* const kEventNames[] = {"?", "NPC", "怪物", "链接", "动画", "物品"};
    QString label = QString::number(m_number);
    if (m_element.kind == ElementKind::Event) {
        const int t = m_element.type >= 1 && m_element.type <= 5 ? m_element.type : 0;
        label = QString::fromUtf8(kEventNames[t]) + " " + label;
    }
    painter->setPen(m_outlineOnly ? c : Qt::white);
    QFont f = painter->font();
    f.setPixelSize(11);
    painter->setFont(f);
    painter->drawText(r.adjusted(2, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop, label);
}

}  // namespace editor
