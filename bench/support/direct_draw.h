#pragma once
// The baseline the map benchmarks compare against: the current map's layer
// sprites and background drawn straight through the engine, at the places
// the map gives them this frame, with none of the game around them.

#include <vector>

#include "app/game.h"

namespace bench_support {

struct DirectSprite {
    HSPRITE sprite;
    float x, y, mirror;
};

// The map's sprites in the map's drawing order, placed for the camera as it is now.
inline std::vector<DirectSprite> MapSpritesAsPlaced(const Game& game) {
    std::vector<DirectSprite> spots;
    const Camera& c = game.camera;
    const float shift[GameMap::kLayers] = {0, c.anchorX / 5, -c.anchorX / 10, -c.anchorX / 5, -c.anchorX / 5, 0};
    for (int layer : {4, 3, 2, 0, 5, 1}) {
        for (const LayerSprite& s : game.map.layer(layer))
            spots.push_back({s.sprite.handle(), c.offsetX + static_cast<int>(s.x + shift[layer]),
                             c.offsetY + static_cast<int>(s.y), static_cast<float>(s.mirrorSign)});
    }
    return spots;
}

// One frame of the baseline: the background, then every sprite.
inline void DrawDirectly(Game& game, const std::vector<DirectSprite>& spots) {
    game.engine.BeginScene(0);
    Spr_Render_e(game.map.backgroundSprite().handle(), 0, 0);
    for (const DirectSprite& s : spots) Spr_RenderEx_e(s.sprite, s.x, s.y, 0, s.mirror, 1);
    game.engine.EndScene();
}

}  // namespace bench_support
