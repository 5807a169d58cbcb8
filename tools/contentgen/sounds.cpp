// Sound effects, each built from tones and filtered noise and normalised to
// one loudness, plus the town tune as MP3.

#include "audio.h"
#include "generate.h"
#include "music.h"

#include <cstdio>
#include <string>

namespace contentgen {

namespace {

// Skill cast: a rising shimmer with sparkles on top.
Sound Cast() {
    Sound s = Silence(0.9);
    AddTone(s, 0, 0.8, 330, 990, 0.5, 0, 0.05, 0.4);
    AddTone(s, 0.05, 0.75, 495, 1480, 0.25, 0, 0.05, 0.4);
    for (int k = 0; k < 6; ++k) AddTone(s, 0.3 + k * 0.08, 0.18, 2000 + k * 260, 2200 + k * 260, 0.12);
    return s;
}

// Player attack: the broom's whoosh, a noise sweep up then down.
Sound Whoosh() {
    Sound s = Silence(0.32);
    AddNoise(s, 0, 0.3, 500, 2200, 2.4, 0.12, 3);
    AddNoise(s, 0.02, 0.26, 300, 900, 1.6, 0.1, 4);
    return s;
}

// Item window: a soft wooden click.
Sound Click() {
    Sound s = Silence(0.1);
    AddTone(s, 0, 0.06, 1200, 700, 0.6, 0, 0.001);
    AddNoise(s, 0, 0.03, 3000, 2000, 0.8, 0.001, 5);
    return s;
}

// Item window: a cloth-bag rustle.
Sound Rustle() {
    Sound s = Silence(0.25);
    AddNoise(s, 0, 0.1, 2500, 1800, 1.5, 0.01, 6);
    AddNoise(s, 0.09, 0.14, 2000, 1500, 1.2, 0.01, 7);
    return s;
}

// Player death: three falling notes over a low thud.
Sound Death() {
    Sound s = Silence(1.4);
    const double notes[3] = {392, 330, 262};
    for (int i = 0; i < 3; ++i) AddTone(s, i * 0.28, 0.5, notes[i], notes[i] * 0.98, 0.4, 1, 0.01);
    AddTone(s, 0.84, 0.55, 196, 150, 0.45, 1, 0.01, 0.3);
    AddNoise(s, 0.84, 0.3, 150, 80, 2.0, 0.005, 8);
    return s;
}

// Monster: a low growl.
Sound Growl() {
    Sound s = Silence(0.6);
    AddTone(s, 0, 0.55, 95, 70, 0.5, 2, 0.05, 1.2);
    AddNoise(s, 0, 0.5, 400, 250, 1.2, 0.05, 9);
    return s;
}

// Level up: a bright rising arpeggio with a sparkle.
Sound LevelUp() {
    Sound s = Silence(1.2);
    const double notes[5] = {523.25, 659.25, 783.99, 1046.5, 1318.5};
    for (int i = 0; i < 5; ++i) AddTone(s, i * 0.09, 0.6, notes[i], notes[i], 0.3, 1, 0.005);
    AddTone(s, 0.45, 0.7, 1046.5, 1046.5, 0.25, 0, 0.01, 0.15);
    AddTone(s, 0.45, 0.7, 1568, 1568, 0.15, 0, 0.01, 0.15);
    return s;
}

// Monster: a hurt squeak.
Sound Squeak() {
    Sound s = Silence(0.3);
    AddTone(s, 0, 0.25, 900, 500, 0.5, 1, 0.005, 0.5);
    AddNoise(s, 0, 0.08, 1500, 800, 1.0, 0.002, 10);
    return s;
}

// Item window: a coin's clink, two bright partials.
Sound Coin() {
    Sound s = Silence(0.45);
    AddTone(s, 0, 0.4, 2637, 2637, 0.3, 0, 0.001);
    AddTone(s, 0, 0.35, 3520, 3520, 0.2, 0, 0.001);
    AddTone(s, 0.07, 0.35, 3136, 3136, 0.25, 0, 0.001);
    return s;
}

// Interface click: a very short tick.
Sound Tick() {
    Sound s = Silence(0.05);
    AddTone(s, 0, 0.035, 1800, 1400, 0.6, 0, 0.0005);
    return s;
}

}  // namespace

void GenerateSounds(Output& out) {
    struct Entry {
        const char* file;
        Sound (*make)();
    };
    const Entry effects[] = {
        {"music/9994.wav", Cast},   {"music/600331.wav", Whoosh}, {"music/70321.wav", Click},
        {"music/9995.wav", Rustle}, {"music/9010.wav", Death},    {"music/1415.wav", Growl},
        {"music/9012.wav", LevelUp}, {"music/9015.wav", Squeak},  {"music/90101.wav", Coin},
        {"music/90010.wav", Tick},
    };
    for (const Entry& e : effects) {
        Sound s = e.make();
        Normalise(s);
        out.Bytes(e.file, EncodeWav(s));
    }
    const std::vector<std::uint8_t> mp3 = EncodeMp3(TownTune());
    if (mp3.empty()) std::fprintf(stderr, "contentgen: the MP3 encoder failed\n");
    out.Bytes("music/Wdm.mp3", mp3);
}

}  // namespace contentgen
