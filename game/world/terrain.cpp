#include "world/terrain.h"

#include <cstddef>

#include "core/tolerance.h"
#include "world/movement.h"

namespace {

using tolerance::Ge;
using tolerance::Gt;
using tolerance::Le;
using tolerance::Lt;

constexpr int kFacingLeft = 1;
constexpr int kFacingRight = 2;

// A slope's surface height under the feet, or false when the slope may not
// take the player (a degenerate slope, or a player facing up the slope whose
// feet are already near the slope's bottom).
bool SlopeSurface(const wdm::GroundRecord& s, double x, double y, int width, int height, int facing,
                  double& surface) {
    if (s.width <= 0) return false;
    double feet = y + height;
    if (s.kind == 0) {
        // Rises to the right: the surface is taken under the right foot.
        if (facing == kFacingLeft && !Le(feet, s.top + s.height - 4)) return false;
        double d = static_cast<double>(static_cast<long long>((x + width - s.left) * s.height / s.width));
        surface = s.top + s.height - d;
    } else {
        if (facing == kFacingRight && !Le(feet, s.top + s.height - 4)) return false;
        double d = static_cast<double>(static_cast<long long>((x - s.left) * s.height / s.width));
        surface = s.top + d;
    }
    return true;
}

}  // namespace

const wdm::GroundRecord* Terrain::Square(int n) const {
    if (n < 1 || static_cast<std::size_t>(n) > squares.size()) return nullptr;
    return &squares[static_cast<std::size_t>(n - 1)];
}

void Terrain::Clear() {
    squares.clear();
    blockingSquares.clear();
    slopes.clear();
    stairs.clear();
}

namespace terrain {

int StandTest(const Terrain& t, PlayerMotion& p, float xf, float yf, int width, int height, int facing) {
    const double x = xf;
    for (std::size_t i = 0; i < t.slopes.size(); ++i) {
        // The pull below follows this slope only: a square beside it is
        // tested at the player's own height, or a player walking off a
        // terrace onto a slope that falls from its edge would drop through.
        double y = yf;
        const wdm::GroundRecord& s = t.slopes[i];
        const double sx = s.left, sy = s.top, sw = s.width, sh = s.height;
        bool contact;
        if (s.kind == 0 && facing == kFacingLeft) {
            // Walking down the slope: reach a little past its low end and
            // pull the player down so it follows the surface.
            contact = Ge(x + width, sx) && Le(x, sx + sw + 3) && Ge(y + height, sy - 8) && Le(y, sy + sh);
            if (contact) y += 5;
        } else if (s.kind == 1 && facing == kFacingRight) {
            contact = Ge(x + width, sx - 3) && Le(x, sx + sw) && Ge(y + height, sy - 8) && Le(y, sy + sh);
            if (contact) y += 5;
        } else {
            contact = Ge(x + width, sx) && Le(x, sx + sw) && Ge(y + height, sy) && Le(y, sy + sh);
        }
        if (!contact) continue;
        double surface = 0;
        if (!SlopeSurface(s, x, y, width, height, facing, surface)) continue;
        double feet = y + height;
        if (Le(surface - 5, feet) && Le(feet, surface + p.fallSpeed + 5)) {
            p.y = static_cast<float>(surface - height);
            p.currentGround = -static_cast<int>(i + 1);
            return p.currentGround;
        }
    }
    for (std::size_t i = 0; i < t.squares.size(); ++i) {
        const wdm::GroundRecord& q = t.squares[i];
        const double feet = static_cast<double>(yf) + height;
        if (Ge(x + width, q.left) && Le(x, q.left + q.width) && Ge(feet, q.top) &&
            Le(feet, q.top + p.fallSpeed + 5)) {
            // The feet go 2 pixels into the square.
            p.y = static_cast<float>(q.top + 2 - height);
            p.currentGround = static_cast<int>(i + 1);
            return 1;
        }
    }
    p.currentGround = 0;
    return 0;
}

int WallTest(const Terrain& t, int x, int y, int width, int height, int direction, int ceiling) {
    for (std::size_t i = 0; i < t.blockingSquares.size(); ++i) {
        const wdm::GroundRecord& b = t.blockingSquares[i];
        const long long bx = b.left, by = b.top, bw = b.width, bh = b.height;
        const long long lx = x, ly = y, lw = width, lh = height;
        bool hit;
        if (ceiling == 0) {
            bool vertical = ly <= by + bh && ly + lh - 5 >= by;
            if (direction == 1) {
                hit = vertical && lx - 4 <= bx + bw && lx + lw >= bx + bw;
            } else {
                hit = vertical && lx + lw + 4 >= bx && lx <= bx;
            }
        } else {
            hit = lx + lw >= bx && lx <= bx + bw && ly - 3 <= by + bh && ly + lh >= by + bh;
        }
        if (hit) return static_cast<int>(i + 1);
    }
    return 0;
}

int StairTest(const Terrain& t, int x, int y, int width, int height, bool up) {
    (void)width;
    for (std::size_t i = 0; i < t.stairs.size(); ++i) {
        const wdm::GroundRecord& s = t.stairs[i];
        const double sx = s.left, sy = s.top, sw = s.width, sh = s.height;
        bool horizontal = Ge(x + sw / 4, sx - sw / 2) && Le(x, sx + sw / 4);
        if (!horizontal) continue;
        bool vertical = up ? Gt(y + height, sy - 5) && Lt(y, sy + sh + 20)
                           : Gt(y + height + 5, sy - 5) && Lt(y, sy + sh);
        if (vertical) return static_cast<int>(i + 1);
    }
    return 0;
}

}  // namespace terrain
