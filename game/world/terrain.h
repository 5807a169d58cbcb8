#pragma once
// The ground of one map as the player's movement sees it, and the three
// terrain queries over it. Plain lists and plain functions: the map fills a
// Terrain when it loads, and tests build one by hand.
//
// Every comparison carries a tolerance of 1e-7 (a <= b means a - b <= 1e-7,
// a < b means a - b < -1e-7, and so on). Boxes are (x, y, width, height) in
// map pixels with (x, y) the top-left corner; the feet are at y + height.

#include <vector>

#include "shared/wdm_map.h"

struct PlayerMotion;

struct Terrain {
    std::vector<wdm::GroundRecord> squares;          // ground number n is squares[n - 1]
    std::vector<wdm::GroundRecord> blockingSquares;  // the squares of kind 1, in file order
    std::vector<wdm::GroundRecord> slopes;           // kind 0 rises to the right, kind 1 falls
    std::vector<wdm::GroundRecord> stairs;

    // Square n (1-based), or nullptr when n names no square.
    const wdm::GroundRecord* Square(int n) const;
    void Clear();
};

namespace terrain {

// Snaps the player onto a slope or square under its feet. Slopes are tried
// before squares, each list in file order, and the first that holds the
// player wins. Returns -n when slope n holds the player, 1 when a square
// does, 0 when nothing does. Sets p.currentGround (-n, the square's number,
// or 0) and, when the player stands, p.y. Reads p.fallSpeed. The box and
// facing are passed apart from p so callers can test a box that is not the
// player's current one.
int StandTest(const Terrain& t, PlayerMotion& p, float x, float y, int width, int height, int facing);

// Nonzero (the blocking square's number among the blocking squares) when a
// blocking square stops the box: with ceiling 0 a wall on the side given by
// direction (1 left, anything else right); with ceiling != 0 a ceiling above
// the head. The first hit in file order answers.
int WallTest(const Terrain& t, int x, int y, int width, int height, int direction, int ceiling);

// The number of the first stair the box may climb in the given direction,
// or 0. Only the stair's width enters the horizontal test.
int StairTest(const Terrain& t, int x, int y, int width, int height, bool up);

}  // namespace terrain
