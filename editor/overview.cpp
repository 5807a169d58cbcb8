#include "overview.h"

#include "map_canvas.h"

#include <QGraphicsScene>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace editor {

Overview::Overview(MapCanvas& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
    setObjectName(QString::fromUtf8("画板_总览"));
    setMinimumSize(120, 90);
    connect(canvas.scene(), &QGraphicsScene::changed, this, qOverload<>(&QWidget::update));
    connect(canvas.horizontalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    connect(canvas.verticalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&canvas, &MapCanvas::zoomChanged, this, qOverload<>(&QWidget::update));
}

QRectF Overview::mapArea() const {
    const QRectF map = m_canvas.sceneRect();
    if (map.isEmpty()) return {};
    const qreal scale = std::min((width() - 4) / map.width(), (height() - 4) / map.height());
    const QSizeF size(map.width() * scale, map.height() * scale);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void Overview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(50, 50, 56));
    const QRectF area = mapArea();
    if (area.isEmpty()) return;
    p.fillRect(area, QColor(20, 20, 24));
    m_canvas.scene()->render(&p, area, m_canvas.sceneRect(), Qt::KeepAspectRatio);
    const QRectF map = m_canvas.sceneRect();
    const QRectF visible = QRectF(m_canvas.visibleMapRect());
    const qreal sx = area.width() / map.width();
    const qreal sy = area.height() / map.height();
    const QRectF frame(area.left() + (visible.left() - map.left()) * sx, area.top() + (visible.top() - map.top()) * sy,
                       visible.width() * sx, visible.height() * sy);
    p.setPen(QPen(QColor(255, 220, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
}

void Overview::centreAt(QPointF at) {
    const QRectF area = mapArea();
    if (area.isEmpty()) return;
    const QRectF map = m_canvas.sceneRect();
    m_canvas.centerOn(map.left() + (at.x() - area.left()) * map.width() / area.width(),
                      map.top() + (at.y() - area.top()) * map.height() / area.height());
    update();
}

void Overview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) centreAt(event->position());
}

void Overview::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) centreAt(event->position());
}

}  // namespace editor
