#pragma once
// One thing on the editor's canvas: a sprite, a ground box or an event.
//
// The editor keeps every element with a stable id, so undo commands, canvas
// items and the "撤销(&D)" list find an element again after others were
// added or removed before it. Numbers shown to the user (sprite number,
// ground number, event number) are list positions + 1 and change with the
// list; ids never do.

#include <QtGlobal>

#include <string>

namespace editor {

enum class ElementKind { Sprite = 0, Square = 1, Slope = 2, Stair = 3, Event = 4 };
inline constexpr int kElementKinds = 5;

inline bool IsBox(ElementKind k) { return k != ElementKind::Sprite; }
inline bool IsGround(ElementKind k) { return k == ElementKind::Square || k == ElementKind::Slope || k == ElementKind::Stair; }

struct Element {
    quint64 id = 0;            // 0 until the document gives it one
    ElementKind kind = ElementKind::Sprite;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int type = 0;              // sprite layer, ground kind or event kind
    // Sprites only.
    std::string picture;       // GBK, "\data\..." as stored in the map file
    bool mirrored = false;
    int zLevel = 0;            // 0 top, 1 middle, 2 bottom
    // Events only.
    std::string detail;        // GBK sub-fields
    bool operator==(const Element&) const = default;
};

}  // namespace editor
