#pragma once
// Map pictures: sky backgrounds, parallax layers, clouds, ground tiles,
// slopes, ladders and the props that dress the town, the fields and the
// forest path. Every picture goes to "map/<name>.png" and is drawn at the
// size a map sprite shows it.
//
// Tile layout (what the map sources rely on):
// - Ground pieces are 64 px wide. A piece whose top carries a grass or moss
//   lip has kLip transparent-ish pixels above the lip for blade tips, so it is
//   placed at (square top - kLip): the lip line then lies exactly on the
//   square's top edge, where the feet stand.
// - Slope pieces are (slope width + kSlopeLead) x (slope height + kLip).
//   A walker stands on a slope at the height of its box's leading edge (right
//   edge on kind 0, left edge on kind 1), so the drawn diagonal is moved
//   kSlopeLead px (half the player's box) toward the low end: a kind 0 piece
//   goes at (slope left - kSlopeLead, slope top - kLip), a kind 1 piece at
//   (slope left, slope top - kLip); each has a flat top kSlopeLead long at
//   its high end.
// - Fill pieces (dirt, soil, stone) are 64 x 64 and have no lip.

#include "output.h"

namespace contentgen {

inline constexpr int kLip = 8;
inline constexpr int kSlopeLead = 20;

// All map pictures.
void GenerateMapArt(Output& out);

// The three themes, each in its own file.
void GenerateMapScenery(Output& out);  // skies, far and near layers, clouds, foreground
void GenerateMapTiles(Output& out);    // ground, platforms, slopes, walls, ladders, decks
void GenerateMapProps(Output& out);    // houses, fences, well, signs, plants, forest props

}  // namespace contentgen
