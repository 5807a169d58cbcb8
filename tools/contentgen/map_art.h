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
// - Slope pieces are slope width x (slope height + kLip), placed at
//   (slope left, slope top - kLip); their surface is the slope's diagonal.
// - Fill pieces (dirt, soil, stone) are 64 x 64 and have no lip.

#include "output.h"

namespace contentgen {

inline constexpr int kLip = 8;

// All map pictures.
void GenerateMapArt(Output& out);

// The three themes, each in its own file.
void GenerateMapScenery(Output& out);  // skies, far and near layers, clouds, foreground
void GenerateMapTiles(Output& out);    // ground, platforms, slopes, walls, ladders, decks
void GenerateMapProps(Output& out);    // houses, fences, well, signs, plants, forest props

}  // namespace contentgen
