#pragma once
// Mono PCM buffers, a little synthesis toolkit, and the two file writers:
// 16-bit PCM WAV and MP3 (through libmp3lame).

#include <cstdint>
#include <vector>

namespace contentgen {

struct Sound {
    int rate = 22050;
    std::vector<float> samples;  // -1..1

    double seconds() const { return static_cast<double>(samples.size()) / rate; }
};

// A silent sound of the given length.
Sound Silence(double seconds, int rate = 22050);

// Adds a tone at `start` seconds: frequency glides from f0 to f1, with an
// attack/decay envelope. `shape` 0 sine, 1 soft square (odd harmonics),
// 2 saw-ish (all harmonics). `vibrato` is the depth in semitones at 6 Hz.
void AddTone(Sound& s, double start, double length, double f0, double f1, double gain, int shape = 0,
             double attack = 0.005, double vibrato = 0);
// Adds noise through a one-pole band filter centred near `centre` Hz that
// glides to `centreEnd`; the envelope rises for `attack` then decays.
void AddNoise(Sound& s, double start, double length, double centre, double centreEnd, double gain,
              double attack = 0.01, unsigned seed = 1);

// Scales so the loudness (RMS over the loud part) reaches `targetRms`,
// limited so no sample passes `peak`.
void Normalise(Sound& s, double targetRms = 0.16, double peak = 0.89);

// 16-bit mono PCM WAV bytes.
std::vector<std::uint8_t> EncodeWav(const Sound& s);
// MP3 bytes (mono, constant bit rate); empty when the encoder fails.
std::vector<std::uint8_t> EncodeMp3(const Sound& s, int kbps = 96);

}  // namespace contentgen
