#include "effects.h"

#include <cmath>
#include <string>

namespace contentgen {

double Dice::Next() {
    m_state = m_state * 1664525u + 1013904223u;
    return (m_state >> 8) / 16777216.0;
}

double Smooth(double t) {
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return t * t * (3 - 2 * t);
}

double Bump(double t, double a, double b) {
    if (t <= a || t >= b) return 0;
    return std::sin((t - a) / (b - a) * kPi);
}

EffectSpec OnPlayer(const char* name, int frames, int w, int h, double feetX, double feetY, bool loops) {
    // The game anchors on-player effects 20 px left of and 70 px above the
    // player's 40 x 70 box; the figure's feet are then 35 px right of and
    // 140 px below the anchor.
    return EffectSpec{name, frames, w, h, feetX - 35.0, 140.0 - feetY, loops};
}

void WriteEffect(Output& out, const EffectSpec& spec, const EffectDraw& draw) {
    const std::string folder = std::string("效果/") + spec.name;
    for (int i = 0; i <= spec.frames; ++i) {
        double t = static_cast<double>(i) / spec.frames;
        if (spec.loops && i == spec.frames) t = 0;
        Canvas c(spec.w, spec.h);
        draw(c.cr(), t, spec);
        out.Frame(folder, i, c, spec.ox, spec.oy);
    }
}

}  // namespace contentgen
