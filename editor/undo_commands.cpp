#include "undo_commands.h"

#include <QCoreApplication>

#include <algorithm>

namespace editor {
namespace {

QString Tr(const char* text) { return QString::fromUtf8(text); }

std::vector<quint64> Ids(const std::vector<Element>& list) {
    std::vector<quint64> ids;
    ids.reserve(list.size());
    for (const Element& e : list) ids.push_back(e.id);
    return ids;
}

// The ground sub-field of an NPC or monster detail, rewritten.
std::optional<std::string> WithGround(const Element& e, int ground) {
    if (e.type == wdm::kEventNpc) {
        wdm::NpcDetail d = wdm::ParseNpcDetail(e.detail);
        if (d.ground == ground) return std::nullopt;
        d.ground = ground;
        return wdm::FormatDetail(d);
    }
    if (e.type == wdm::kEventMonster) {
        wdm::MonsterDetail d = wdm::ParseMonsterDetail(e.detail);
        if (d.ground == ground) return std::nullopt;
        d.ground = ground;
        return wdm::FormatDetail(d);
    }
    return std::nullopt;
}

int GroundOf(const Element& e) {
    if (e.type == wdm::kEventNpc) return wdm::ParseNpcDetail(e.detail).ground;
    if (e.type == wdm::kEventMonster) return wdm::ParseMonsterDetail(e.detail).ground;
    return 0;
}

}  // namespace

DocumentCommand::DocumentCommand(MapDocument& doc, const QString& text) : m_doc(doc) { setText(text); }

void DocumentCommand::setHeaderChange(const wdm::MapHeader& before, const wdm::MapHeader& after) {
    m_headerBefore = before;
    m_headerAfter = after;
}

void DocumentCommand::renumberGrounds(const std::vector<quint64>& before, const std::vector<quint64>& after) {
    for (const Element& e : m_doc.list(ElementKind::Event)) {
        const int ground = GroundOf(e);
        const int renumbered = MapDocument::RenumberedGround(ground, before, after);
        if (renumbered < 0 || renumbered == ground) continue;
        if (auto detail = WithGround(e, renumbered)) {
            Element changed = e;
            changed.detail = *detail;
            addChange(Change{e, -1, changed, -1});
        }
    }
    const wdm::MapHeader& h = m_headerBefore ? *m_headerBefore : m_doc.header();
    const int start = MapDocument::RenumberedGround(h.startGround, before, after);
    if (start >= 0 && start != h.startGround) {
        wdm::MapHeader changed = m_headerAfter ? *m_headerAfter : h;
        changed.startGround = start;
        setHeaderChange(h, changed);
    }
}

void DocumentCommand::redo() { apply(true); }
void DocumentCommand::undo() { apply(false); }

void DocumentCommand::apply(bool forward) {
    // Removals first, then replacements, then insertions in ascending list
    // position, so every index is the one it was recorded at.
    std::vector<const Change*> inserts;
    for (const Change& c : m_changes) {
        const auto& from = forward ? c.before : c.after;
        const auto& to = forward ? c.after : c.before;
        if (from && !to) m_doc.take(from->id);
    }
    for (const Change& c : m_changes) {
        const auto& from = forward ? c.before : c.after;
        const auto& to = forward ? c.after : c.before;
        if (from && to) m_doc.replace(*to, forward ? c.afterIndex : c.beforeIndex);
        if (!from && to) inserts.push_back(&c);
    }
    std::sort(inserts.begin(), inserts.end(), [&](const Change* a, const Change* b) {
        return (forward ? a->afterIndex : a->beforeIndex) < (forward ? b->afterIndex : b->beforeIndex);
    });
    for (const Change* c : inserts) m_doc.insert(forward ? *c->after : *c->before, forward ? c->afterIndex : c->beforeIndex);
    if (m_headerBefore) m_doc.setHeader(forward ? *m_headerAfter : *m_headerBefore);
}

// ---------------------------------------------------------------------------

namespace {

QString AddText(const Element& e) {
    switch (e.kind) {
    case ElementKind::Sprite: return Tr("添加精灵");
    case ElementKind::Square: return Tr("画正方形地层");
    case ElementKind::Slope: return Tr("画三角形地层");
    case ElementKind::Stair: return Tr("画楼梯");
    case ElementKind::Event: return Tr("放置事件");
    }
    return {};
}

QString DeleteText(ElementKind k) {
    switch (k) {
    case ElementKind::Sprite: return Tr("删除精灵");
    case ElementKind::Event: return Tr("删除事件");
    default: return Tr("删除地层");
    }
}

}  // namespace

AddElementCommand::AddElementCommand(MapDocument& doc, Element element)
    : DocumentCommand(doc, AddText(element)), m_id(element.id ? element.id : doc.reserveId()) {
    element.id = m_id;
    addChange(Change{std::nullopt, -1, element, -1});
}

DeleteElementCommand::DeleteElementCommand(MapDocument& doc, quint64 id) : DocumentCommand(doc, Tr("删除")) {
    const Element* e = doc.find(id);
    if (!e) return;
    setText(DeleteText(e->kind));
    if (e->kind == ElementKind::Square) {
        const std::vector<quint64> before = Ids(doc.list(ElementKind::Square));
        std::vector<quint64> after = before;
        after.erase(std::find(after.begin(), after.end(), id));
        renumberGrounds(before, after);
    }
    addChange(Change{*e, doc.indexOf(id), std::nullopt, -1});
}

AddElementsCommand::AddElementsCommand(MapDocument& doc, std::vector<Element> elements) : DocumentCommand(doc, Tr("粘贴")) {
    for (Element& e : elements) {
        e.id = doc.reserveId();
        m_ids.push_back(e.id);
        addChange(Change{std::nullopt, -1, e, -1});
    }
}

DeleteElementsCommand::DeleteElementsCommand(MapDocument& doc, const std::vector<quint64>& ids) : DocumentCommand(doc, Tr("删除")) {
    auto deleted = [&](quint64 id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    const std::vector<quint64> before = Ids(doc.list(ElementKind::Square));
    std::vector<quint64> after;
    for (quint64 id : before) {
        if (!deleted(id)) after.push_back(id);
    }
    if (after.size() != before.size()) {
        renumberGrounds(before, after);
        // Events deleted in this step are not renumbered.
        std::erase_if(changes(), [&](const Change& c) { return c.before && c.after && deleted(c.before->id); });
    }
    // Removals in list order from the back, so undo re-inserts each at the
    // index it had.
    for (int k = kElementKinds - 1; k >= 0; --k) {
        const auto& list = doc.list(static_cast<ElementKind>(k));
        for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
            const Element& e = list[static_cast<std::size_t>(i)];
            if (deleted(e.id)) addChange(Change{e, i, std::nullopt, -1});
        }
    }
}

MoveElementsCommand::MoveElementsCommand(MapDocument& doc, const std::vector<Element>& moved)
    : DocumentCommand(doc, Tr("移动")) {
    for (const Element& after : moved) {
        if (const Element* before = doc.find(after.id)) addChange(Change{*before, -1, after, -1});
    }
}

ResizeElementCommand::ResizeElementCommand(MapDocument& doc, const Element& after, int newIndex)
    : DocumentCommand(doc, Tr("调整")) {
    const Element* before = doc.find(after.id);
    if (!before) return;
    const int oldIndex = doc.indexOf(after.id);
    if (before->kind == ElementKind::Square && newIndex != oldIndex) {
        const std::vector<quint64> ids = Ids(doc.list(ElementKind::Square));
        std::vector<quint64> reordered = ids;
        reordered.erase(reordered.begin() + oldIndex);
        reordered.insert(reordered.begin() + std::min<int>(newIndex, static_cast<int>(reordered.size())), after.id);
        renumberGrounds(ids, reordered);
    }
    addChange(Change{*before, oldIndex, after, newIndex});
}

SpriteLayerCommand::SpriteLayerCommand(MapDocument& doc, quint64 id, int layer) : DocumentCommand(doc, Tr("调整精灵层")) {
    if (const Element* e = doc.find(id)) {
        Element after = *e;
        after.type = layer;
        addChange(Change{*e, -1, after, -1});
    }
}

SpriteZOrderCommand::SpriteZOrderCommand(MapDocument& doc, quint64 id, int zLevel) : DocumentCommand(doc, Tr("调整精灵顺序")) {
    if (const Element* e = doc.find(id)) {
        Element after = *e;
        after.zLevel = zLevel;
        addChange(Change{*e, -1, after, -1});
    }
}

SpriteFlipCommand::SpriteFlipCommand(MapDocument& doc, quint64 id) : DocumentCommand(doc, Tr("调整翻转")) {
    if (const Element* e = doc.find(id)) {
        Element after = *e;
        after.mirrored = !after.mirrored;
        addChange(Change{*e, -1, after, -1});
    }
}

EditEventCommand::EditEventCommand(MapDocument& doc, quint64 id, const std::string& detail) : DocumentCommand(doc, Tr("编辑事件")) {
    if (const Element* e = doc.find(id)) {
        Element after = *e;
        after.detail = detail;
        addChange(Change{*e, -1, after, -1});
    }
}

MapSettingsCommand::MapSettingsCommand(MapDocument& doc, const wdm::MapHeader& after) : DocumentCommand(doc, Tr("地图设置")) {
    setHeaderChange(doc.header(), after);
}

}  // namespace editor
