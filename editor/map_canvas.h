#pragma once
// The canvas: a scrollable view of the map in which every sprite, ground box
// and event marker is one item. It shows the document and turns mouse and
// key input into requests (signals); the main window decides and applies
// them as undo commands. Scene coordinates are map pixels.

#include "element.h"

#include <QGraphicsView>
#include <QHash>
#include <QPixmap>

#include <vector>

class QGraphicsPixmapItem;
class QGraphicsRectItem;

namespace editor {

class ElementItem;
class MapDocument;
class PictureLibrary;

class MapCanvas : public QGraphicsView {
    Q_OBJECT
public:
    MapCanvas(MapDocument& doc, PictureLibrary& pictures, QWidget* parent = nullptr);

    // Modes, set by the window's check boxes and hot keys.
    void setDrawGround(bool on, ElementKind kind, int groundKind);
    void setPlaceEvents(bool on);
    void setCurrentLayer(int layer);
    void setOutlineBoxes(bool on);
    bool outlineBoxes() const { return m_outline; }
    void setGrid(bool show, bool snap);
    void setZoom(qreal factor);
    qreal zoom() const { return m_zoom; }

    quint64 selectedId() const { return m_selected; }
    void select(quint64 id);
    // Makes the whole canvas follow the document (items added, changed,
    // removed; z order; scene size).
    void sync();

    // Mouse input in map coordinates; the mouse events of the view come
    // here, and tests call them directly.
    void pressAt(QPointF map, Qt::KeyboardModifiers mods);
    void moveTo(QPointF map, Qt::KeyboardModifiers mods);
    void releaseAt(QPointF map, Qt::KeyboardModifiers mods);

    // The visible part of the map, in map pixels.
    QRect visibleMapRect() const;
    // The marker items showing the corners of a box being drawn.
    QPointF markerPos(int i) const;
    ElementItem* itemOf(quint64 id) const { return m_items.value(id, nullptr); }
    const std::vector<quint64>& group() const { return m_group; }

signals:
    void groundDrawn(editor::ElementKind kind, int groundKind, QRect box);
    void eventDropRequested(QPoint map);
    void elementsMoved(std::vector<editor::Element> moved);
    void elementPressed(quint64 id);
    void dragInfo(QString text);
    void cursorMoved(QPoint map);
    void contextMenuAt(quint64 id, QPoint globalPos);
    void deletePressed();
    void arrowPressed(int dx, int dy);
    void copyPressed();
    void pastePressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    ElementItem* pickAt(QPointF map) const;
    QPoint snapped(QPointF map) const;
    void placeMarkers(QPoint a, QPoint b);
    void hideMarkers();
    void endGroup();
    qreal zFor(const Element& e, int orderInLayer) const;

    MapDocument& m_doc;
    PictureLibrary& m_pictures;
    QGraphicsScene* m_scene;
    QHash<quint64, ElementItem*> m_items;
    QGraphicsPixmapItem* m_markers[2] = {nullptr, nullptr};
    QGraphicsRectItem* m_drawing = nullptr;

    bool m_drawGround = false;
    ElementKind m_groundKind = ElementKind::Square;
    int m_groundType = 0;
    bool m_placeEvents = false;
    int m_currentLayer = 0;
    bool m_outline = false;
    bool m_showGrid = false;
    bool m_snapGrid = false;
    qreal m_zoom = 1.0;

    quint64 m_selected = 0;
    // Drawing a box.
    bool m_boxStarted = false;
    QPoint m_boxStart;
    // Dragging one element or the group.
    bool m_dragging = false;
    bool m_groupDrag = false;
    QPointF m_dragStart;
    std::vector<Element> m_dragOriginals;
    std::vector<quint64> m_group;
};

}  // namespace editor
