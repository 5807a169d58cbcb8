#pragma once
// The map-name banner: after each map load the map's display name fades in
// over the banner picture, stays, and fades out. The map starts it; the HUD
// steps and draws it once per render.

#include <cstdint>
#include <string>

class Sprite;
class GdiFont;

class MapNameBanner {
public:
    static constexpr int kWidth = 271, kHeight = 92;
    static constexpr float kTop = 100;

    // A fresh banner: timer 4 seconds. The alpha is left as it was (it
    // starts at 0 once per run).
    void Start() { mapNameTimer = 4.0f; }
    bool visible() const { return mapNameTimer > 0; }

    // One render's step with the frame's elapsed seconds. Returns false when
    // the banner is not shown (nothing to draw).
    bool Step(float dt);
    // The colour of the banner and its text: alpha bannerAlpha, cyan.
    std::uint32_t Colour() const;

    // Step, then the banner picture centred on the screen width at y 100 and
    // the name centred on it, both in Colour().
    void Draw(float dt, int screenWidth, Sprite& backdrop, GdiFont& font, float textHeight,
              const std::string& gbkName);

    float mapNameTimer = 0;
    int bannerAlpha = 0;
};
