#include "music.h"

#include <cmath>

namespace contentgen {

namespace {

double Midi(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// A soft plucked note: a few decaying partials (a music-box / harp voice).
void Pluck(Sound& s, double start, double length, int note, double gain) {
    const double f = Midi(note);
    AddTone(s, start, length, f, f, gain, 0, 0.004);
    AddTone(s, start, length * 0.6, 2 * f, 2 * f, gain * 0.28, 0, 0.004);
    AddTone(s, start, length * 0.3, 3 * f, 3 * f, gain * 0.1, 0, 0.004);
}

// A pad chord: slow attack, gentle vibrato.
void Pad(Sound& s, double start, double length, const int* notes, int count, double gain) {
    for (int i = 0; i < count; ++i) {
        const double f = Midi(notes[i]);
        AddTone(s, start, length, f, f, gain, 0, length * 0.35, 0.06);
    }
}

}  // namespace

Sound TownTune() {
    // 96 beats per minute, 12 bars of 4/4 in F major:
    // F  Dm  Bb  C | F  Am  Bb  C | Dm  Bb  F  C
    const double beat = 60.0 / 96.0, bar = 4 * beat;
    const int bars = 12;
    const double loopLength = bars * bar;
    Sound s = Silence(loopLength + 3.0);
    const int chords[12][3] = {{53, 57, 60}, {50, 53, 57}, {46, 50, 53}, {48, 52, 55}, {53, 57, 60}, {45, 48, 52},
                               {46, 50, 53}, {48, 52, 55}, {50, 53, 57}, {46, 50, 53}, {53, 57, 60}, {48, 52, 55}};
    // Melody: (bar, beat offset, length in beats, midi note); a question in
    // the first four bars, an answer in the next four, a coda that leads home.
    struct N {
        int bar;
        double beat, len;
        int note;
    };
    const N melody[] = {
        {0, 0, 1.5, 72}, {0, 1.5, 0.5, 74}, {0, 2, 1, 76}, {0, 3, 1, 72},
        {1, 0, 2, 74}, {1, 2, 1, 72}, {1, 3, 1, 69},
        {2, 0, 1.5, 70}, {2, 1.5, 0.5, 72}, {2, 2, 1, 74}, {2, 3, 1, 70},
        {3, 0, 3, 72}, {3, 3, 1, 67},
        {4, 0, 1.5, 72}, {4, 1.5, 0.5, 74}, {4, 2, 1, 76}, {4, 3, 1, 79},
        {5, 0, 2, 76}, {5, 2, 1, 74}, {5, 3, 1, 72},
        {6, 0, 1, 74}, {6, 1, 1, 72}, {6, 2, 1, 70}, {6, 3, 1, 69},
        {7, 0, 3, 67}, {7, 3, 1, 72},
        {8, 0, 1, 69}, {8, 1, 1, 72}, {8, 2, 2, 74},
        {9, 0, 1, 74}, {9, 1, 1, 72}, {9, 2, 2, 70},
        {10, 0, 1.5, 69}, {10, 1.5, 0.5, 70}, {10, 2, 2, 72},
        {11, 0, 2, 67}, {11, 2, 2, 64},
    };
    for (const N& n : melody) Pluck(s, n.bar * bar + n.beat * beat, n.len * beat + 0.9, n.note, 0.22);
    for (int b = 0; b < bars; ++b) {
        const double t = b * bar;
        Pad(s, t, bar + 0.4, chords[b], 3, 0.045);
        // Bass on beats 1 and 3, arpeggio on the off-beats.
        Pluck(s, t, 2 * beat + 0.3, chords[b][0] - 12, 0.2);
        Pluck(s, t + 2 * beat, 2 * beat + 0.3, chords[b][0] - 12 + (b % 2 ? 7 : 0), 0.16);
        for (int k = 0; k < 4; ++k) Pluck(s, t + (k + 0.5) * beat, beat * 1.2, chords[b][(k + 1) % 3] + 12, 0.05);
    }
    // Fold the tail past the loop point back onto the start.
    const std::size_t loopSamples = static_cast<std::size_t>(loopLength * s.rate);
    for (std::size_t i = loopSamples; i < s.samples.size(); ++i) s.samples[i - loopSamples] += s.samples[i];
    s.samples.resize(loopSamples);
    Normalise(s, 0.12, 0.8);
    return s;
}

}  // namespace contentgen
