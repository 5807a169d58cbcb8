#pragma once
// The overview: the whole map drawn small, with the part the canvas shows
// framed. A click or a drag moves the canvas there.

#include <QWidget>

namespace editor {

class MapCanvas;

class Overview : public QWidget {
    Q_OBJECT
public:
    explicit Overview(MapCanvas& canvas, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {240, 180}; }
    // Where a map point is drawn in the widget, and back.
    QRectF mapArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void centreAt(QPointF widgetPoint);

    MapCanvas& m_canvas;
};

}  // namespace editor
