#pragma once
// The one palette of the bundled content. Every picture the generator draws
// takes its colours from here, so characters, interface and effects stay
// one family. Warm greens and ochres belong to the town, blues and violets to
// the fields and caves; the saturated accents are kept for effects, rewards
// and danger.

namespace contentgen {

struct Rgb {
    double r, g, b;
};

constexpr Rgb Hex(unsigned v) {
    return Rgb{((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}

namespace pal {
// Neutrals
inline constexpr Rgb kInk = Hex(0x2B2233);        // text and the darkest lines
inline constexpr Rgb kNight = Hex(0x1E1A2E);      // panel fill (used translucent)
inline constexpr Rgb kDusk = Hex(0x3F3366);       // cave violet, panel borders
inline constexpr Rgb kStone = Hex(0x8E8A9A);
inline constexpr Rgb kMist = Hex(0xC9C4D6);       // light stone, inner borders
inline constexpr Rgb kCream = Hex(0xFFF3D6);
inline constexpr Rgb kWhite = Hex(0xFFFFFF);
// Town
inline constexpr Rgb kSkin = Hex(0xF8D5B4);
inline constexpr Rgb kBlush = Hex(0xF2A19A);
inline constexpr Rgb kHair = Hex(0x6B3F26);
inline constexpr Rgb kWood = Hex(0x9C6B3F);
inline constexpr Rgb kOchre = Hex(0xDDA846);
inline constexpr Rgb kLeaf = Hex(0x5FA046);
inline constexpr Rgb kGrass = Hex(0xA8D36A);
// Fields and caves
inline constexpr Rgb kSky = Hex(0xA9DCF5);
inline constexpr Rgb kBlue = Hex(0x4F86C6);
inline constexpr Rgb kDeepBlue = Hex(0x2F4F8F);
inline constexpr Rgb kViolet = Hex(0x8A64D6);
// Accents: effects, rewards, danger
inline constexpr Rgb kRed = Hex(0xE0463C);
inline constexpr Rgb kGold = Hex(0xFFD04A);
inline constexpr Rgb kOrange = Hex(0xFF8A2A);
inline constexpr Rgb kCyan = Hex(0x64F0FF);
inline constexpr Rgb kToxic = Hex(0x8CF04A);
inline constexpr Rgb kMagenta = Hex(0xC64BE6);
inline constexpr Rgb kPink = Hex(0xFF94C8);
}  // namespace pal

}  // namespace contentgen
