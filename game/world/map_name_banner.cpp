#include "world/map_name_banner.h"

#include "platform/fonts.h"
#include "platform/sprite.h"

bool MapNameBanner::Step(float dt) {
    if (mapNameTimer <= 0) return false;
    if (mapNameTimer >= 1) mapNameTimer -= dt;
    if (mapNameTimer > 2) {
        // Fading in up to 200; between 2 and 1 seconds the colour holds.
        if (bannerAlpha > 200) bannerAlpha = 0;
        if (bannerAlpha < 200) bannerAlpha += 2;
    }
    if (mapNameTimer <= 1) {
        // Fading out: the timer is held at 1 until the alpha is spent.
        mapNameTimer = 1;
        bannerAlpha -= 2;
        if (bannerAlpha <= 0) {
            bannerAlpha = 0;
            mapNameTimer = 0;
        }
    }
    return true;
}

std::uint32_t MapNameBanner::Colour() const {
    return (static_cast<std::uint32_t>(bannerAlpha & 0xFF) << 24) | 0x0000FFFFu;
}

void MapNameBanner::Draw(float dt, int screenWidth, Sprite& backdrop, GdiFont& font, float textHeight,
                         const std::string& gbkName) {
    if (!Step(dt)) return;
    std::uint32_t colour = Colour();
    backdrop.SetColour(colour);
    font.SetColour(colour);
    float left = static_cast<float>(screenWidth - kWidth) / 2;
    backdrop.Render(left, kTop);
    float textWidth = font.TextWidth(gbkName);
    font.Print(left + (kWidth - textWidth) / 2, kTop + (kHeight - textHeight) / 2, gbkName);
}
