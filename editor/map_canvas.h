#pragma once
// The canvas: a scrollable view of the map in which every sprite, ground box
// and event marker is one item. It shows the document and turns mouse and
// key input into requests (signals); the main window decides and applies
// them as undo commands. Scene coordinates are map pixels.

#include "element.h"

#include <QGraphicsView>
#include <QHash>
#include <QPixmap>

#include <array>
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

    // Zooms so the whole map fits the view.
    void zoomToFit();

    // The layers: the five sprite layers (by layer value, the priority
    // sprites with the map sprites), then squares, slopes, stairs, events.
    static constexpr int kLayerSlots = 9;
    static int LayerSlot(const Element& e);
    // A hidden layer is not drawn and cannot be picked; a locked one is
    // drawn but cannot be picked.
    void setLayerShown(int slot, bool shown);
    void setLayerLocked(int slot, bool locked);
    bool layerShown(int slot) const { return m_layerShown[static_cast<std::size_t>(slot)]; }
    bool layerLocked(int slot) const { return m_layerLocked[static_cast<std::size_t>(slot)]; }
    int currentLayer() const { return m_currentLayer; }

    // The selection: any elements; the primary one is the last picked.
    quint64 selectedId() const { return m_selected; }
    const std::vector<quint64>& selection() const { return m_selection; }
    void select(quint64 id);
    void setSelection(const std::vector<quint64>& ids);
    // Ends a box being drawn, a drag (its elements go back) or a rubber
    // band, without applying anything.
    void cancelInteraction();
    bool interacting() const { return m_boxStarted || m_dragging || m_rubber; }
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
    // boxId: a ground box or event under the pointer beneath a sprite, or 0.
    void contextMenuAt(quint64 id, QPoint globalPos, quint64 boxId);
    void deletePressed();
    void arrowPressed(int dx, int dy);
    void copyPressed();
    void pastePressed();
    void duplicatePressed();
    void selectionChanged();
    // One element being dragged is at this place (not yet applied).
    void dragPreview(quint64 id, QPoint at);
    void zoomChanged(qreal zoom);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    // skipSprites: only events and ground boxes.
    ElementItem* pickAt(QPointF map, bool skipSprites = false) const;
    QPoint snapped(QPointF map) const;
    void placeMarkers(QPoint a, QPoint b);
    void hideMarkers();
    void endGroup();
    void startDrag(QPointF map, const std::vector<quint64>& ids);
    void markSelection();
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

    std::array<bool, kLayerSlots> m_layerShown{true, true, true, true, true, true, true, true, true};
    std::array<bool, kLayerSlots> m_layerLocked{};

    quint64 m_selected = 0;
    std::vector<quint64> m_selection;
    // A press in event mode; only its release places an event.
    bool m_eventPressed = false;
    // Rubber-band selection.
    QGraphicsRectItem* m_rubber = nullptr;
    QPointF m_rubberStart;
    bool m_rubberAdds = false;
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
