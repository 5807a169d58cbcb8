#include "generate.h"
#include "map_art.h"

namespace contentgen {

void GenerateAll(Output& out) {
    GenerateInterface(out);
    GenerateMenus(out);
    GenerateItems(out);
    GenerateWidgets(out);
    GenerateGlyphs(out);
    GeneratePlayer(out);
    GenerateNpcs(out);
    GenerateMonsters(out);
    GenerateEffects(out);
    GenerateSkills(out);
    GenerateSounds(out);
    GenerateMapArt(out);
}

}  // namespace contentgen
