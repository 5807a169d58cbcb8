#pragma once
// The undo commands of the editor, one class per kind of edit. Each command
// records the elements (and the header) before and after its edit, so undo
// and redo restore the document exactly, list positions included.

#include "map_document.h"

#include <QUndoCommand>

#include <optional>
#include <vector>

namespace editor {

// Base of every command: a set of element changes plus an optional header
// change. A change with no `before` inserts, one with no `after` removes.
class DocumentCommand : public QUndoCommand {
public:
    void redo() override;
    void undo() override;

protected:
    struct Change {
        std::optional<Element> before;
        int beforeIndex = -1;
        std::optional<Element> after;
        int afterIndex = -1;
    };
    DocumentCommand(MapDocument& doc, const QString& text);

    void addChange(Change c) { m_changes.push_back(std::move(c)); }
    std::vector<Change>& changes() { return m_changes; }
    void setHeaderChange(const wdm::MapHeader& before, const wdm::MapHeader& after);
    // Records, for every NPC and monster event and the header's start
    // ground, the ground numbers after the square list goes from `before` to
    // `after` (ids in order). Numbers of removed squares are left alone.
    void renumberGrounds(const std::vector<quint64>& before, const std::vector<quint64>& after);
    MapDocument& doc() { return m_doc; }

private:
    void apply(bool forward);

    MapDocument& m_doc;
    std::vector<Change> m_changes;
    std::optional<wdm::MapHeader> m_headerBefore, m_headerAfter;
};

// Adds one element (a sprite, a drawn ground box or a placed event).
class AddElementCommand : public DocumentCommand {
public:
    AddElementCommand(MapDocument& doc, Element element);
    quint64 elementId() const { return m_id; }

private:
    quint64 m_id;
};

// Deletes one element. Deleting square n moves the ground numbers above n
// down by one in NPC and monster events and the start ground; the caller
// refuses the deletion while something stands on square n.
class DeleteElementCommand : public DocumentCommand {
public:
    DeleteElementCommand(MapDocument& doc, quint64 id);
};

// Adds several elements in one step (paste, duplicate). The elements get
// fresh ids; ids() gives them in the order given.
class AddElementsCommand : public DocumentCommand {
public:
    AddElementsCommand(MapDocument& doc, std::vector<Element> elements);
    const std::vector<quint64>& ids() const { return m_ids; }

private:
    std::vector<quint64> m_ids;
};

// Deletes several elements of any kind in one step; square numbers above
// deleted squares move down in the events that stay and in the start
// ground.
class DeleteElementsCommand : public DocumentCommand {
public:
    DeleteElementsCommand(MapDocument& doc, const std::vector<quint64>& ids);
};

// Moves elements to new positions (a drag, a group drag, an arrow key).
// Only left and top (and the ground and offset of a dropped NPC or monster)
// change.
class MoveElementsCommand : public DocumentCommand {
public:
    MoveElementsCommand(MapDocument& doc, const std::vector<Element>& moved);
};

// "调整(&T)" and "调整宽度": position, size, type and list position. Moving a
// square to another number renumbers the events and start ground with it.
class ResizeElementCommand : public DocumentCommand {
public:
    ResizeElementCommand(MapDocument& doc, const Element& after, int newIndex);
};

// The sprite menu's layer commands ("调整成[...]", "优先显示", "取消优先").
class SpriteLayerCommand : public DocumentCommand {
public:
    SpriteLayerCommand(MapDocument& doc, quint64 id, int layer);
};

// "调到顶层", "调到中层", "调到底层".
class SpriteZOrderCommand : public DocumentCommand {
public:
    SpriteZOrderCommand(MapDocument& doc, quint64 id, int zLevel);
};

// "调整翻转".
class SpriteFlipCommand : public DocumentCommand {
public:
    SpriteFlipCommand(MapDocument& doc, quint64 id);
};

// "编辑事件": a new detail text for an event.
class EditEventCommand : public DocumentCommand {
public:
    EditEventCommand(MapDocument& doc, quint64 id, const std::string& detail);
};

// Map size, background, floating interval, start and town settings.
class MapSettingsCommand : public DocumentCommand {
public:
    MapSettingsCommand(MapDocument& doc, const wdm::MapHeader& after);
};

}  // namespace editor
