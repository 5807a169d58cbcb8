#include "map_document.h"

#include <algorithm>

namespace editor {

Element SpriteElement(const wdm::SpriteRecord& r) {
    Element e;
    e.kind = ElementKind::Sprite;
    e.left = r.left;
    e.top = r.top;
    e.width = r.width;
    e.height = r.height;
    e.type = r.layer;
    e.picture = r.picture;
    e.mirrored = r.mirrored;
    e.zLevel = r.zLevel;
    return e;
}

Element GroundElement(ElementKind kind, const wdm::GroundRecord& r) {
    Element e;
    e.kind = kind;
    e.left = r.left;
    e.top = r.top;
    e.width = r.width;
    e.height = r.height;
    e.type = r.kind;
    return e;
}

Element EventElement(const wdm::EventRecord& r) {
    Element e;
    e.kind = ElementKind::Event;
    e.left = r.left;
    e.top = r.top;
    e.width = r.width;
    e.height = r.height;
    e.type = r.kind;
    e.detail = r.detail;
    return e;
}

namespace {

wdm::SpriteRecord SpriteRecordOf(const Element& e) {
    return wdm::SpriteRecord{e.left, e.top, e.width, e.height, e.type, e.picture, e.mirrored, e.zLevel};
}

wdm::GroundRecord GroundRecordOf(const Element& e) { return wdm::GroundRecord{e.left, e.top, e.width, e.height, e.type}; }

}  // namespace

std::vector<quint64> SpriteSaveOrder(const std::vector<Element>& sprites) {
    // The shared sort works on records; carry the ids along in a parallel
    // field (the picture) that the sort never reads.
    std::vector<wdm::SpriteRecord> records;
    records.reserve(sprites.size());
    for (const Element& e : sprites) {
        wdm::SpriteRecord r = SpriteRecordOf(e);
        r.picture = std::to_string(e.id);
        records.push_back(std::move(r));
    }
    wdm::SortSpritesForSave(records);
    std::vector<quint64> ids;
    ids.reserve(records.size());
    for (const wdm::SpriteRecord& r : records) ids.push_back(std::stoull(r.picture));
    return ids;
}

// A new map puts the player on its first square: the first square drawn
// is the start ground.
MapDocument::MapDocument(QObject* parent) : QObject(parent) { m_header.startGround = 1; }

void MapDocument::setHeader(const wdm::MapHeader& header) {
    m_header = header;
    emit changed();
}

const Element* MapDocument::find(quint64 id) const {
    for (const auto& list : m_lists) {
        for (const Element& e : list) {
            if (e.id == id) return &e;
        }
    }
    return nullptr;
}

int MapDocument::indexOf(quint64 id) const {
    for (const auto& list : m_lists) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].id == id) return static_cast<int>(i);
        }
    }
    return -1;
}

quint64 MapDocument::idAt(ElementKind kind, int number) const {
    const auto& l = list(kind);
    if (number < 1 || number > static_cast<int>(l.size())) return 0;
    return l[static_cast<std::size_t>(number - 1)].id;
}

bool MapDocument::hasContent() const {
    return std::any_of(m_lists.begin(), m_lists.end(), [](const auto& l) { return !l.empty(); });
}

quint64 MapDocument::insert(Element element, int index) {
    if (element.id == 0) element.id = m_nextId++;
    m_nextId = std::max(m_nextId, element.id + 1);
    auto& l = mutableList(element.kind);
    const quint64 id = element.id;
    if (index < 0 || index > static_cast<int>(l.size())) index = static_cast<int>(l.size());
    l.insert(l.begin() + index, std::move(element));
    emit changed();
    return id;
}

std::optional<Element> MapDocument::take(quint64 id, int* index) {
    for (auto& l : m_lists) {
        for (std::size_t i = 0; i < l.size(); ++i) {
            if (l[i].id != id) continue;
            Element e = std::move(l[i]);
            l.erase(l.begin() + static_cast<std::ptrdiff_t>(i));
            if (index) *index = static_cast<int>(i);
            emit changed();
            return e;
        }
    }
    return std::nullopt;
}

void MapDocument::replace(const Element& element, int index) {
    auto& l = mutableList(element.kind);
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (l[i].id != element.id) continue;
        if (index < 0 || index == static_cast<int>(i)) {
            l[i] = element;
        } else {
            l.erase(l.begin() + static_cast<std::ptrdiff_t>(i));
            index = std::min(index, static_cast<int>(l.size()));
            l.insert(l.begin() + index, element);
        }
        emit changed();
        return;
    }
}

void MapDocument::setSpriteOrder(const std::vector<quint64>& ids) {
    auto& sprites = mutableList(ElementKind::Sprite);
    std::vector<Element> ordered;
    ordered.reserve(sprites.size());
    for (quint64 id : ids) {
        auto it = std::find_if(sprites.begin(), sprites.end(), [&](const Element& e) { return e.id == id; });
        if (it != sprites.end()) ordered.push_back(*it);
    }
    // Sprites the caller did not name keep their relative order at the end.
    for (const Element& e : sprites) {
        if (std::find(ids.begin(), ids.end(), e.id) == ids.end()) ordered.push_back(e);
    }
    sprites = std::move(ordered);
    emit changed();
}

void MapDocument::load(const wdm::MapData& map) {
    for (auto& l : m_lists) l.clear();
    m_header = map.header;
    auto add = [&](Element e) {
        e.id = m_nextId++;
        mutableList(e.kind).push_back(std::move(e));
    };
    for (const auto& section : map.sprites) {
        for (const wdm::SpriteRecord& r : section) add(SpriteElement(r));
    }
    for (const auto& r : map.squares) add(GroundElement(ElementKind::Square, r));
    for (const auto& r : map.slopes) add(GroundElement(ElementKind::Slope, r));
    for (const auto& r : map.stairs) add(GroundElement(ElementKind::Stair, r));
    for (const auto& r : map.events) add(EventElement(r));
    emit changed();
}

void MapDocument::clear() {
    wdm::MapData empty;
    empty.header.startGround = 1;
    load(empty);
}

wdm::MapData MapDocument::toMapData(MapOrigin* origin) const {
    wdm::MapData map;
    map.header = m_header;
    // Sprites go to the list of their layer in save order, so the origin's
    // indices match the records as written.
    const std::vector<quint64> order = SpriteSaveOrder(list(ElementKind::Sprite));
    for (quint64 id : order) {
        const Element* e = find(id);
        const int section = wdm::SpriteListOfLayer(e->type);
        if (section < 0) continue;
        map.sprites[static_cast<std::size_t>(section)].push_back(SpriteRecordOf(*e));
        if (origin) origin->sprites[static_cast<std::size_t>(section)].push_back(id);
    }
    struct Grounds {
        ElementKind kind;
        std::vector<wdm::GroundRecord>* records;
        std::vector<quint64>* ids;
    };
    for (const Grounds& g : {Grounds{ElementKind::Square, &map.squares, origin ? &origin->squares : nullptr},
                             Grounds{ElementKind::Slope, &map.slopes, origin ? &origin->slopes : nullptr},
                             Grounds{ElementKind::Stair, &map.stairs, origin ? &origin->stairs : nullptr}}) {
        for (const Element& e : list(g.kind)) {
            g.records->push_back(GroundRecordOf(e));
            if (g.ids) g.ids->push_back(e.id);
        }
    }
    for (const Element& e : list(ElementKind::Event)) {
        map.events.push_back(wdm::EventRecord{e.left, e.top, e.width, e.height, e.type, e.detail});
        if (origin) origin->events.push_back(e.id);
    }
    return map;
}

int MapDocument::RenumberedGround(int ground, const std::vector<quint64>& before, const std::vector<quint64>& after) {
    if (ground < 1 || ground > static_cast<int>(before.size())) return ground;
    const quint64 id = before[static_cast<std::size_t>(ground - 1)];
    auto it = std::find(after.begin(), after.end(), id);
    return it == after.end() ? -1 : static_cast<int>(it - after.begin()) + 1;
}

}  // namespace editor
