#include "map_canvas.h"

#include "element_item.h"
#include "map_document.h"
#include "picture_library.h"
#include "placement_rules.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace editor {
namespace {

constexpr int kGrid = 10;

// Drawing order of the game: the floating layer and the third background
// behind the second background, the map sprites, the characters, then the
// priority sprites and the top layer in front. Boxes and events sit above
// every picture so they can always be picked.
qreal LayerBase(int layer) {
    switch (layer) {
    case 4: return 100;
    case 3: return 200;
    case 2: return 300;
    case 0: return 400;
    case -1: return 500;
    case 1: return 600;
    default: return 50;
    }
}

QPixmap MarkerPicture() {
    QPixmap p(4, 4);
    p.fill(QColor(255, 40, 40));
    return p;
}

}  // namespace

MapCanvas::MapCanvas(MapDocument& doc, PictureLibrary& pictures, QWidget* parent)
    : QGraphicsView(parent), m_doc(doc), m_pictures(pictures), m_scene(new QGraphicsScene(this)) {
    setObjectName(QString::fromUtf8("画板_地图"));
    setScene(m_scene);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    for (auto*& m : m_markers) {
        m = m_scene->addPixmap(MarkerPicture());
        m->setZValue(3000);
        m->setPos(-4, -4);
    }
    sync();
}

void MapCanvas::setDrawGround(bool on, ElementKind kind, int groundKind) {
    // A box being drawn belongs to the mode it was started in.
    if (on != m_drawGround || kind != m_groundKind || groundKind != m_groundType) cancelInteraction();
    m_drawGround = on;
    m_groundKind = kind;
    m_groundType = groundKind;
    setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
}

void MapCanvas::setPlaceEvents(bool on) {
    if (on != m_placeEvents) cancelInteraction();
    m_placeEvents = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MapCanvas::setCurrentLayer(int layer) {
    m_currentLayer = layer;
    sync();
}

void MapCanvas::setOutlineBoxes(bool on) {
    m_outline = on;
    for (ElementItem* item : std::as_const(m_items)) item->setOutlineOnly(on);
}

void MapCanvas::setGrid(bool show, bool snap) {
    m_showGrid = show;
    m_snapGrid = snap;
    viewport()->update();
}

void MapCanvas::setZoom(qreal factor) {
    m_zoom = std::clamp<qreal>(factor, 0.1, 8.0);
    setTransform(QTransform::fromScale(m_zoom, m_zoom));
    emit zoomChanged(m_zoom);
}

void MapCanvas::zoomToFit() {
    const QRectF map = sceneRect();
    const QSize view = viewport()->size();
    if (map.isEmpty() || view.isEmpty()) return;
    setZoom(std::min(view.width() / map.width(), view.height() / map.height()));
}

int MapCanvas::LayerSlot(const Element& e) {
    switch (e.kind) {
    case ElementKind::Sprite: return e.type >= 0 && e.type <= 4 ? e.type : 0;
    case ElementKind::Square: return 5;
    case ElementKind::Slope: return 6;
    case ElementKind::Stair: return 7;
    case ElementKind::Event: return 8;
    }
    return 0;
}

void MapCanvas::setLayerShown(int slot, bool shown) {
    if (slot < 0 || slot >= kLayerSlots) return;
    m_layerShown[static_cast<std::size_t>(slot)] = shown;
    sync();
}

void MapCanvas::setLayerLocked(int slot, bool locked) {
    if (slot < 0 || slot >= kLayerSlots) return;
    m_layerLocked[static_cast<std::size_t>(slot)] = locked;
    sync();
}

void MapCanvas::markSelection() {
    for (ElementItem* item : std::as_const(m_items)) {
        item->setSelectedMark(std::find(m_selection.begin(), m_selection.end(), item->id()) != m_selection.end());
    }
}

void MapCanvas::select(quint64 id) {
    setSelection(id ? std::vector<quint64>{id} : std::vector<quint64>{});
}

void MapCanvas::setSelection(const std::vector<quint64>& ids) {
    std::vector<quint64> kept;
    for (quint64 id : ids) {
        if (m_items.contains(id) && std::find(kept.begin(), kept.end(), id) == kept.end()) kept.push_back(id);
    }
    const bool same = kept == m_selection;
    m_selection = kept;
    m_selected = kept.empty() ? 0 : kept.back();
    markSelection();
    if (!same) emit selectionChanged();
}

void MapCanvas::cancelInteraction() {
    if (m_boxStarted || m_drawing) {
        m_boxStarted = false;
        delete m_drawing;
        m_drawing = nullptr;
        hideMarkers();
    }
    if (m_dragging) {
        for (const Element& e : m_dragOriginals) {
            if (ElementItem* item = m_items.value(e.id, nullptr)) item->setPos(e.left, e.top);
        }
        m_dragOriginals.clear();
        m_dragging = false;
        if (m_groupDrag) endGroup();
        emit dragInfo(QString());
    }
    if (m_rubber) {
        delete m_rubber;
        m_rubber = nullptr;
    }
    m_eventPressed = false;
}

qreal MapCanvas::zFor(const Element& e, int orderInLayer) const {
    if (e.kind == ElementKind::Sprite) return LayerBase(e.type) + orderInLayer * 1e-4;
    return e.kind == ElementKind::Event ? 1100 : 1000 + static_cast<int>(e.kind);
}

void MapCanvas::sync() {
    const wdm::MapHeader& h = m_doc.header();
    m_scene->setSceneRect(0, 0, std::max(h.width, 1), std::max(h.height, 1));
    QHash<quint64, ElementItem*> seen;
    // Sprites in save order, so the z order inside a layer is what the game
    // draws (first record first, under the later ones).
    const std::vector<quint64> order = SpriteSaveOrder(m_doc.list(ElementKind::Sprite));
    QHash<quint64, int> spriteRank;
    for (std::size_t i = 0; i < order.size(); ++i) spriteRank.insert(order[i], static_cast<int>(i));
    for (int k = 0; k < kElementKinds; ++k) {
        const auto& list = m_doc.list(static_cast<ElementKind>(k));
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Element& e = list[i];
            ElementItem* item = m_items.value(e.id, nullptr);
            if (!item) {
                item = new ElementItem(e);
                m_scene->addItem(item);
            }
            const QPixmap picture = e.kind == ElementKind::Sprite ? m_pictures.picture(e.picture) : QPixmap();
            item->setElement(e, static_cast<int>(i) + 1, picture);
            item->setZValue(zFor(e, spriteRank.value(e.id)));
            item->setOutlineOnly(m_outline);
            const int slot = LayerSlot(e);
            const bool shown = m_layerShown[static_cast<std::size_t>(slot)];
            item->setVisible(shown);
            item->setPickable(shown && !m_layerLocked[static_cast<std::size_t>(slot)] &&
                              (e.kind != ElementKind::Sprite || slot == m_currentLayer));
            item->setSelectedMark(std::find(m_selection.begin(), m_selection.end(), e.id) != m_selection.end());
            item->setMarked(std::find(m_group.begin(), m_group.end(), e.id) != m_group.end());
            seen.insert(e.id, item);
        }
    }
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (!seen.contains(it.key())) delete it.value();
    }
    m_items = seen;
    if (std::any_of(m_selection.begin(), m_selection.end(), [&](quint64 id) { return !m_items.contains(id); })) {
        setSelection(m_selection);
    }
    std::erase_if(m_group, [&](quint64 id) { return !m_items.contains(id); });
    viewport()->update();
}

QRect MapCanvas::visibleMapRect() const {
    return mapToScene(viewport()->rect()).boundingRect().toAlignedRect().intersected(sceneRect().toAlignedRect());
}

QPointF MapCanvas::markerPos(int i) const { return m_markers[i]->pos(); }

ElementItem* MapCanvas::pickAt(QPointF map, bool skipSprites) const {
    // Events first, then sprites of the current layer, then squares, slopes
    // and stairs.
    const QList<QGraphicsItem*> under = m_scene->items(map, Qt::IntersectsItemBoundingRect, Qt::DescendingOrder);
    static const ElementKind kOrder[] = {ElementKind::Event, ElementKind::Sprite, ElementKind::Square, ElementKind::Slope,
                                         ElementKind::Stair};
    for (ElementKind kind : kOrder) {
        if (skipSprites && kind == ElementKind::Sprite) continue;
        for (QGraphicsItem* g : under) {
            auto* item = dynamic_cast<ElementItem*>(g);
            if (!item || !item->isVisible() || !item->pickable() || item->element().kind != kind) continue;
            const Element& e = item->element();
            if (map.x() >= e.left && map.x() <= e.left + e.width && map.y() >= e.top && map.y() <= e.top + e.height) {
                return item;
            }
        }
    }
    return nullptr;
}

QPoint MapCanvas::snapped(QPointF map) const {
    QPoint p(static_cast<int>(std::floor(map.x())), static_cast<int>(std::floor(map.y())));
    if (m_snapGrid) p = QPoint(qRound(map.x() / kGrid) * kGrid, qRound(map.y() / kGrid) * kGrid);
    return p;
}

void MapCanvas::placeMarkers(QPoint a, QPoint b) {
    m_markers[0]->setPos(a.x() - 2, a.y() - 2);
    m_markers[1]->setPos(b.x() - 2, b.y() - 2);
}

void MapCanvas::hideMarkers() {
    for (auto* m : m_markers) m->setPos(-4, -4);
}

void MapCanvas::endGroup() {
    for (quint64 id : m_group) {
        if (ElementItem* item = m_items.value(id, nullptr)) item->setMarked(false);
    }
    m_group.clear();
    m_groupDrag = false;
}

void MapCanvas::pressAt(QPointF map, Qt::KeyboardModifiers mods) {
    const QPoint p = snapped(map);
    if (m_drawGround) {
        const std::optional<QPoint> start = GroundStart(m_groundKind, m_groundType, p, m_doc.list(ElementKind::Square));
        if (!start) return;
        m_boxStarted = true;
        m_boxStart = *start;
        if (*start != p && isVisible()) QCursor::setPos(viewport()->mapToGlobal(mapFromScene(QPointF(*start))));
        m_drawing = m_scene->addRect(QRectF(*start, QSizeF(0, 0)), QPen(Qt::white, 1, Qt::DashLine),
                                     QColor(255, 255, 255, 60));
        m_drawing->setZValue(2000);
        placeMarkers(*start, *start);
        return;
    }
    if (m_placeEvents) {
        m_eventPressed = true;
        return;
    }
    if (mods & Qt::ShiftModifier) return;
    if (!m_group.empty()) {
        m_groupDrag = true;
        startDrag(map, m_group);
        return;
    }
    ElementItem* item = pickAt(map);
    if (mods & Qt::ControlModifier) {
        // Ctrl+click adds or removes one element; Ctrl on empty space
        // starts a rubber band that adds.
        if (item) {
            std::vector<quint64> ids = m_selection;
            auto it = std::find(ids.begin(), ids.end(), item->id());
            if (it == ids.end()) {
                ids.push_back(item->id());
            } else {
                ids.erase(it);
            }
            setSelection(ids);
            if (std::find(m_selection.begin(), m_selection.end(), item->id()) != m_selection.end()) {
                emit elementPressed(item->id());
            }
            return;
        }
    }
    if (!item) {
        if (!(mods & Qt::ControlModifier)) select(0);
        m_rubberAdds = mods.testFlag(Qt::ControlModifier);
        m_rubberStart = map;
        m_rubber = m_scene->addRect(QRectF(map, QSizeF(0, 0)), QPen(QColor(120, 200, 255), 0, Qt::DashLine),
                                    QColor(120, 200, 255, 40));
        m_rubber->setZValue(2500);
        return;
    }
    const bool inSelection = std::find(m_selection.begin(), m_selection.end(), item->id()) != m_selection.end();
    if (inSelection && m_selection.size() > 1) {
        // Pressing a member of a selection drags the whole selection; the
        // pressed one becomes the primary.
        std::vector<quint64> ids = m_selection;
        ids.erase(std::find(ids.begin(), ids.end(), item->id()));
        ids.push_back(item->id());
        setSelection(ids);
    } else {
        select(item->id());
    }
    emit elementPressed(item->id());
    startDrag(map, m_selection);
}

void MapCanvas::startDrag(QPointF map, const std::vector<quint64>& ids) {
    m_dragging = true;
    m_dragStart = map;
    m_dragOriginals.clear();
    for (quint64 id : ids) {
        if (const Element* e = m_doc.find(id)) m_dragOriginals.push_back(*e);
    }
}

void MapCanvas::moveTo(QPointF map, Qt::KeyboardModifiers) {
    const QPoint p = snapped(map);
    emit cursorMoved(QPoint(static_cast<int>(std::floor(map.x())), static_cast<int>(std::floor(map.y()))));
    if (m_boxStarted && m_drawing) {
        const QRect box = NormalisedBox(m_boxStart, p);
        m_drawing->setRect(box);
        placeMarkers(m_boxStart, p);
        return;
    }
    if (m_rubber) {
        m_rubber->setRect(QRectF(m_rubberStart, map).normalized());
        return;
    }
    if (!m_dragging) return;
    const int dx = static_cast<int>(std::lround(map.x() - m_dragStart.x()));
    const int dy = static_cast<int>(std::lround(map.y() - m_dragStart.y()));
    for (const Element& e : m_dragOriginals) {
        ElementItem* item = m_items.value(e.id, nullptr);
        if (!item) continue;
        QPoint to(e.left + dx, e.top + dy);
        if (m_snapGrid) to = QPoint(qRound(to.x() / double(kGrid)) * kGrid, qRound(to.y() / double(kGrid)) * kGrid);
        item->setPos(to);
    }
    if (m_dragOriginals.size() == 1) {
        const Element& e = m_dragOriginals.front();
        const QPointF at = m_items.contains(e.id) ? m_items.value(e.id)->pos() : QPointF();
        QString info = QString(" X:%1 Y:%2").arg(at.x()).arg(at.y());
        if (e.kind == ElementKind::Event && EventHasGround(e.type)) {
            const EventPlacement s =
                SettleEvent(QRect(at.toPoint(), QSize(e.width, e.height)), m_doc.list(ElementKind::Square));
            if (s.ok) info += QString::fromUtf8(" 地层编号:%1 地层偏X:%2").arg(s.ground).arg(s.offset);
        }
        emit dragInfo(info);
        emit dragPreview(e.id, at.toPoint());
    }
}

void MapCanvas::releaseAt(QPointF map, Qt::KeyboardModifiers mods) {
    const QPoint p = snapped(map);
    if (m_drawGround) {
        if (!m_boxStarted) return;
        m_boxStarted = false;
        delete m_drawing;
        m_drawing = nullptr;
        hideMarkers();
        emit groundDrawn(m_groundKind, m_groundType, NormalisedBox(m_boxStart, p));
        return;
    }
    if (m_placeEvents) {
        // Only the release of a press on the canvas places an event: the
        // second release of a double-click has no press of its own.
        if (!m_eventPressed) return;
        m_eventPressed = false;
        emit eventDropRequested(p);
        return;
    }
    if (m_rubber) {
        const QRectF band = m_rubber->rect();
        delete m_rubber;
        m_rubber = nullptr;
        std::vector<quint64> ids = m_rubberAdds ? m_selection : std::vector<quint64>{};
        for (ElementItem* item : std::as_const(m_items)) {
            if (!item->isVisible() || !item->pickable()) continue;
            const Element& e = item->element();
            if (!band.intersects(QRectF(e.left, e.top, std::max(e.width, 1), std::max(e.height, 1)))) continue;
            if (std::find(ids.begin(), ids.end(), e.id) == ids.end()) ids.push_back(e.id);
        }
        // Keep a stable order: list order of the document.
        std::vector<quint64> ordered;
        for (int k = 0; k < kElementKinds; ++k) {
            for (const Element& e : m_doc.list(static_cast<ElementKind>(k))) {
                if (std::find(ids.begin(), ids.end(), e.id) != ids.end()) ordered.push_back(e.id);
            }
        }
        setSelection(ordered);
        return;
    }
    if (!m_dragging && (mods & Qt::ShiftModifier) && !m_groupDrag) {
        if (ElementItem* item = pickAt(map)) {
            if (std::find(m_group.begin(), m_group.end(), item->id()) == m_group.end()) {
                m_group.push_back(item->id());
                item->setMarked(true);
            }
        }
        return;
    }
    if (!m_dragging) return;
    m_dragging = false;
    std::vector<Element> moved;
    for (Element e : m_dragOriginals) {
        ElementItem* item = m_items.value(e.id, nullptr);
        if (!item) continue;
        const QPoint at = item->pos().toPoint();
        if (at == QPoint(e.left, e.top)) continue;
        e.left = at.x();
        e.top = at.y();
        moved.push_back(e);
    }
    m_dragOriginals.clear();
    if (m_groupDrag) endGroup();
    if (!moved.empty()) emit elementsMoved(moved);
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressAt(mapToScene(event->position().toPoint()), event->modifiers());
    QGraphicsView::mousePressEvent(event);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
    // A drag, band or box whose release never came (the button is up)
    // ends here instead of following the pointer.
    if ((m_dragging || m_rubber || m_boxStarted) && !(event->buttons() & Qt::LeftButton)) cancelInteraction();
    moveTo(mapToScene(event->position().toPoint()), event->modifiers());
    QGraphicsView::mouseMoveEvent(event);
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) releaseAt(mapToScene(event->position().toPoint()), event->modifiers());
    QGraphicsView::mouseReleaseEvent(event);
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double-click arrives as press, release, press, double-click,
    // release: the second press does not place a second event.
    m_eventPressed = false;
    event->accept();
}

void MapCanvas::contextMenuEvent(QContextMenuEvent* event) {
    ElementItem* item = pickAt(mapToScene(event->pos()));
    if (!item) return;
    if (std::find(m_selection.begin(), m_selection.end(), item->id()) == m_selection.end()) select(item->id());
    // A sprite over a square still leads to the square's menu.
    ElementItem* box = item->element().kind == ElementKind::Sprite ? pickAt(mapToScene(event->pos()), true) : nullptr;
    emit contextMenuAt(item->id(), event->globalPos(), box ? box->id() : 0);
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) return emit copyPressed();
    if (event->matches(QKeySequence::Paste)) return emit pastePressed();
    if (event->key() == Qt::Key_D && event->modifiers() == Qt::ControlModifier) return emit duplicatePressed();
    switch (event->key()) {
    case Qt::Key_Escape: return cancelInteraction();
    case Qt::Key_Delete: return emit deletePressed();
    case Qt::Key_Left: return emit arrowPressed(-1, 0);
    case Qt::Key_Right: return emit arrowPressed(1, 0);
    case Qt::Key_Up: return emit arrowPressed(0, -1);
    case Qt::Key_Down: return emit arrowPressed(0, 1);
    default: QGraphicsView::keyPressEvent(event);
    }
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        setZoom(m_zoom * std::pow(1.15, event->angleDelta().y() / 120.0));
        event->accept();
        return;
    }
    QGraphicsView::wheelEvent(event);
}

void MapCanvas::drawBackground(QPainter* painter, const QRectF& rect) {
    painter->fillRect(rect, QColor(60, 60, 66));
    const QRectF map = sceneRect();
    painter->fillRect(rect.intersected(map), QColor(20, 20, 24));
    // The game draws the background picture unscrolled behind everything, on
    // an 800 x 600 screen: show it from the visible top-left corner of the
    // map, repeated where the view is larger than the game's screen.
    const QPixmap bg = m_pictures.picture(m_doc.header().background);
    if (bg.isNull()) return;
    const QRectF visible = mapToScene(viewport()->rect()).boundingRect().intersected(map);
    const QPixmap screen = bg.copy(0, 0, std::min(bg.width(), 800), std::min(bg.height(), 600));
    painter->save();
    painter->setClipRect(map);
    painter->drawTiledPixmap(visible, screen);
    painter->restore();
}

void MapCanvas::drawForeground(QPainter* painter, const QRectF& rect) {
    if (!m_showGrid || m_zoom < 0.5) return;
    painter->setPen(QPen(QColor(255, 255, 255, 40), 0));
    const QRectF r = rect.intersected(sceneRect());
    for (int x = static_cast<int>(r.left()) / kGrid * kGrid; x <= r.right(); x += kGrid) {
        painter->drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    for (int y = static_cast<int>(r.top()) / kGrid * kGrid; y <= r.bottom(); y += kGrid) {
        painter->drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

}  // namespace editor
