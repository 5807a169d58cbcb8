#pragma once
// The map being edited: the shared map header and one list per element
// kind, each element with a stable id. All edits go through undo commands,
// which call the mutators below; every mutator emits changed().

#include "element.h"
#include "shared/wdm_map.h"

#include <QObject>

#include <array>
#include <optional>
#include <vector>

namespace editor {

// Where each record of a MapData came from: the ids of its elements, list by
// list, in the MapData's order.
struct MapOrigin {
    std::array<std::vector<quint64>, wdm::kSpriteSections> sprites;
    std::vector<quint64> squares, slopes, stairs, events;
};

class MapDocument : public QObject {
    Q_OBJECT
public:
    explicit MapDocument(QObject* parent = nullptr);

    const wdm::MapHeader& header() const { return m_header; }
    void setHeader(const wdm::MapHeader& header);

    // The elements of one kind, in list order (number = index + 1).
    const std::vector<Element>& list(ElementKind kind) const { return m_lists[static_cast<int>(kind)]; }
    // nullptr when no element has this id.
    const Element* find(quint64 id) const;
    // 0-based list position, or -1.
    int indexOf(quint64 id) const;
    // The id of element number (1-based) of a kind, or 0.
    quint64 idAt(ElementKind kind, int number) const;
    bool hasContent() const;

    // A fresh id for an element that an undo command will insert.
    quint64 reserveId() { return m_nextId++; }

    // Inserts at index (clamped; -1 appends). An element without an id gets a
    // new one. Returns the id.
    quint64 insert(Element element, int index = -1);
    // Removes and returns the element; std::nullopt when the id is unknown.
    std::optional<Element> take(quint64 id, int* index = nullptr);
    // Replaces the element with the same id (kind must match), at the same
    // position or, when index >= 0, moved to that position.
    void replace(const Element& element, int index = -1);
    // Reorders the sprite list (save order); ids are kept.
    void setSpriteOrder(const std::vector<quint64>& ids);

    // Replaces everything with a loaded map. The header's fields are kept as
    // read, facing included.
    void load(const wdm::MapData& map);
    void clear();

    // The records as the map file holds them. origin, when given, receives
    // the element id of every record.
    wdm::MapData toMapData(MapOrigin* origin = nullptr) const;

    // Square numbering: the square numbers that events and the header use
    // after the square list changes from `before` (ids in order) to the
    // current list. A number whose square is gone maps to -1.
    static int RenumberedGround(int ground, const std::vector<quint64>& before, const std::vector<quint64>& after);

signals:
    void changed();

private:
    std::vector<Element>& mutableList(ElementKind kind) { return m_lists[static_cast<int>(kind)]; }

    wdm::MapHeader m_header;
    std::array<std::vector<Element>, kElementKinds> m_lists;
    quint64 m_nextId = 1;
};

// Sprite z order inside its layer, as saved: index in the save-sorted list.
std::vector<quint64> SpriteSaveOrder(const std::vector<Element>& sprites);

Element SpriteElement(const wdm::SpriteRecord& r);
Element GroundElement(ElementKind kind, const wdm::GroundRecord& r);
Element EventElement(const wdm::EventRecord& r);

}  // namespace editor
