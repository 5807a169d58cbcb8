#pragma once
// The canvas object of one element: a sprite's picture, or a coloured ground
// or event box with its number. Positioned at the element's left/top in
// scene coordinates, which are map pixels.

#include "element.h"

#include <QGraphicsItem>
#include <QPixmap>

namespace editor {

class ElementItem : public QGraphicsItem {
public:
    explicit ElementItem(const Element& element);

    quint64 id() const { return m_element.id; }
    const Element& element() const { return m_element; }
    // New contents; number is the element's 1-based list position.
    void setElement(const Element& element, int number, const QPixmap& picture);

    // F5: boxes drawn filled (false) or as outlines only (true).
    void setOutlineOnly(bool on);
    // Shift-group member mark and the selection mark.
    void setMarked(bool on);
    void setSelectedMark(bool on);
    // Sprites of other layers than the current one cannot be picked.
    void setPickable(bool on) { m_pickable = on; }
    bool pickable() const { return m_pickable; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // The fill colour of a kind of box.
    static QColor BoxColour(ElementKind kind, int type);

private:
    void paintSprite(QPainter* painter);
    void paintBox(QPainter* painter);

    Element m_element;
    int m_number = 0;
    QPixmap m_picture;
    bool m_outlineOnly = false;
    bool m_marked = false;
    bool m_selected = false;
    bool m_pickable = true;
};

}  // namespace editor
