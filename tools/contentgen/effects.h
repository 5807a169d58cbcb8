#pragma once
// Shared machinery of the effect animations: a frame folder under "效果/"
// drawn from a phase t in [0, 1] and a small deterministic random source
// for particles.

#include "canvas.h"
#include "output.h"

#include <cstdint>
#include <functional>

namespace contentgen {

struct EffectSpec {
    const char* name;  // folder under 效果/
    int frames;        // frame count the game plays
    int w, h;          // picture size
    double ox, oy;     // info offsets (the same for every frame)
    bool loops;        // the phase wraps: frame `frames` equals frame 0
};

using EffectDraw = std::function<void(cairo_t* cr, double t, const EffectSpec& spec)>;

// Writes frames 0..frames (one extra closing frame, so the range 1..frames
// the effect player uses is complete as well as 0..frames-1). Frame i gets
// the phase i / frames.
void WriteEffect(Output& out, const EffectSpec& spec, const EffectDraw& draw);

// Effects drawn on the player: their offsets put the player's feet at
// (feetX, feetY) of the picture. The game anchors such effects at
// (player x - box width / 2, player y - box height).
EffectSpec OnPlayer(const char* name, int frames, int w, int h, double feetX, double feetY, bool loops);

// Deterministic particle source (the same content on every build).
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_state(seed * 2654435761u + 1013904223u) {}
    double Next();  // [0, 1)
    double Range(double a, double b) { return a + (b - a) * Next(); }

private:
    std::uint32_t m_state;
};

// 0 -> 0, 1 -> 1, smooth in between.
double Smooth(double t);
// A bump: 0 at a, 1 at the middle, 0 at b.
double Bump(double t, double a, double b);

void GenerateMagicEffects(Output& out);
void GenerateNatureEffects(Output& out);

}  // namespace contentgen
