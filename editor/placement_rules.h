#pragma once
// Where drawn ground boxes start and where placed or dragged events land.
// Pure functions of the pointer and the squares, so they are tested without
// a window.

#include "element.h"

#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

namespace editor {

// Boxes narrower or lower than this are discarded as they are drawn.
inline constexpr int kMinBoxSize = 10;
// Events are placed as boxes of this size.
inline constexpr int kEventBoxSize = 40;

// The rectangle spanned by two corners, whichever way the box was dragged.
QRect NormalisedBox(QPoint a, QPoint b);

// 1-based number of the first square containing p (edges included), or 0.
int SquareAt(QPoint p, const std::vector<Element>& squares);

// Where a box of this ground kind starts for a press at p: a square starts
// at p; a slope or a stair only inside a square, snapped to it (left slope
// to the square's top-left corner 5 px down, right slope to its top-right
// corner 5 px down, stairs to the pointer's x 7 px below the square's top).
// std::nullopt: nothing starts.
// groundKind: 0 / 1 for squares and slopes, 0 for stairs.
std::optional<QPoint> GroundStart(ElementKind kind, int groundKind, QPoint p, const std::vector<Element>& squares);

struct EventPlacement {
    bool ok = false;
    QRect box;
    int ground = 0;      // square number for NPC, monster and item events
    int offset = 0;      // box left - square left
};

// An NPC, monster or item event must be dropped on a square: its box is
// centred on the pointer's x with its bottom on the square's top. A link or
// an animation is centred on the pointer anywhere. ok = false: refused.
EventPlacement PlaceEvent(int eventKind, QPoint p, const std::vector<Element>& squares);

// An NPC or monster event dragged to `box`: the square under the box's
// bottom centre (or at most one box height above the square) takes it, with
// its bottom set on the square's top. ok = false: dropped off every square.
EventPlacement SettleEvent(QRect box, const std::vector<Element>& squares);

// Whether an event of this kind stands on a square (NPC, monster).
inline bool EventHasGround(int eventKind) { return eventKind == 1 || eventKind == 2; }

}  // namespace editor
