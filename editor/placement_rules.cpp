#include "placement_rules.h"

#include <algorithm>

namespace editor {

QRect NormalisedBox(QPoint a, QPoint b) {
    const int left = std::min(a.x(), b.x());
    const int top = std::min(a.y(), b.y());
    return QRect(left, top, std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}

int SquareAt(QPoint p, const std::vector<Element>& squares) {
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const Element& s = squares[i];
        if (p.x() >= s.left && p.x() <= s.left + s.width && p.y() >= s.top && p.y() <= s.top + s.height) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::optional<QPoint> GroundStart(ElementKind kind, int groundKind, QPoint p, const std::vector<Element>& squares) {
    if (kind == ElementKind::Square) return p;
    const int n = SquareAt(p, squares);
    if (n == 0) return std::nullopt;
    const Element& s = squares[static_cast<std::size_t>(n - 1)];
    if (kind == ElementKind::Slope) {
        return groundKind == 0 ? QPoint(s.left, s.top + 5) : QPoint(s.left + s.width, s.top + 5);
    }
    if (kind == ElementKind::Stair) return QPoint(p.x(), s.top + 7);
    return std::nullopt;
}

EventPlacement PlaceEvent(int eventKind, QPoint p, const std::vector<Element>& squares) {
    EventPlacement r;
    const int half = kEventBoxSize / 2;
    if (eventKind == 3 || eventKind == 4) {
        r.ok = true;
        r.box = QRect(p.x() - half, p.y() - half, kEventBoxSize, kEventBoxSize);
        return r;
    }
    const int n = SquareAt(p, squares);
    if (n == 0) return r;
    const Element& s = squares[static_cast<std::size_t>(n - 1)];
    r.ok = true;
    r.box = QRect(p.x() - half, s.top - kEventBoxSize, kEventBoxSize, kEventBoxSize);
    r.ground = n;
    r.offset = r.box.left() - s.left;
    return r;
}

EventPlacement SettleEvent(QRect box, const std::vector<Element>& squares) {
    EventPlacement r;
    const int x = box.left() + box.width() / 2;
    const int bottom = box.top() + box.height();
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const Element& s = squares[i];
        if (x < s.left || x > s.left + s.width) continue;
        if (bottom < s.top - box.height() || bottom > s.top + s.height) continue;
        r.ok = true;
        r.box = QRect(box.left(), s.top - box.height(), box.width(), box.height());
        r.ground = static_cast<int>(i) + 1;
        r.offset = box.left() - s.left;
        return r;
    }
    return r;
}

}  // namespace editor
