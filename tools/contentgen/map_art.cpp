#include "map_art.h"

namespace contentgen {

void GenerateMapArt(Output& out) {
    GenerateMapScenery(out);
    GenerateMapTiles(out);
    GenerateMapProps(out);
}

}  // namespace contentgen
