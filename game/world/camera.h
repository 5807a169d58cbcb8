#pragma once
// The camera record shared by the map, the player's movement and every
// drawing part: a thing at map position (x, y) is drawn at screen position
// (x + offsetX, y + offsetY).

struct Camera {
    float mapWidth = 0;
    float mapHeight = 0;
    float anchorX = 0;
    float anchorY = 0;
    float offsetX = 0;  // whole numbers
    float offsetY = 0;
};
