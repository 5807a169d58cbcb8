#include "audio.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>

namespace contentgen {

namespace {
constexpr double kTau = 6.283185307179586;

void Put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(static_cast<std::uint8_t>(x & 0xFF));
    v.push_back(static_cast<std::uint8_t>((x >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& v, unsigned x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void PutTag(std::vector<std::uint8_t>& v, const char* tag) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(tag[i]));
}

double Envelope(double t, double length, double attack) {
    if (t < attack) return t / attack;
    const double d = (t - attack) / std::max(length - attack, 1e-6);
    return std::pow(1 - std::min(d, 1.0), 2.0);
}
}  // namespace

Sound Silence(double seconds, int rate) {
    Sound s;
    s.rate = rate;
    s.samples.assign(static_cast<std::size_t>(seconds * rate), 0.0f);
    return s;
}

void AddTone(Sound& s, double start, double length, double f0, double f1, double gain, int shape, double attack,
             double vibrato) {
    const std::size_t first = static_cast<std::size_t>(start * s.rate);
    const std::size_t n = static_cast<std::size_t>(length * s.rate);
    if (first + n > s.samples.size()) s.samples.resize(first + n, 0.0f);
    double phase = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / s.rate;
        const double u = t / length;
        double f = f0 * std::pow(f1 / f0, u);
        if (vibrato > 0) f *= std::pow(2.0, vibrato * std::sin(kTau * 6 * t) / 12);
        phase += kTau * f / s.rate;
        double v = 0;
        switch (shape) {
        case 0: v = std::sin(phase); break;
        case 1: v = std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 6; break;
        default:
            for (int h = 1; h <= 6; ++h) v += std::sin(h * phase) / h;
            v *= 0.6;
            break;
        }
        s.samples[first + i] += static_cast<float>(v * gain * Envelope(t, length, attack));
    }
}

void AddNoise(Sound& s, double start, double length, double centre, double centreEnd, double gain, double attack,
              unsigned seed) {
    const std::size_t first = static_cast<std::size_t>(start * s.rate);
    const std::size_t n = static_cast<std::size_t>(length * s.rate);
    if (first + n > s.samples.size()) s.samples.resize(first + n, 0.0f);
    unsigned state = seed * 747796405u + 2891336453u;
    double low = 0, band = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / s.rate;
        state = state * 1664525u + 1013904223u;
        const double white = (state >> 8) / 8388608.0 - 1.0;
        // State-variable filter: band-pass around the gliding centre.
        const double fc = centre * std::pow(centreEnd / centre, t / length);
        const double k = 2 * std::sin(3.14159265 * std::min(fc / s.rate, 0.24));
        low += k * band;
        const double high = white - low - 0.7 * band;
        band += k * high;
        s.samples[first + i] += static_cast<float>(band * gain * Envelope(t, length, attack));
    }
}

void Normalise(Sound& s, double targetRms, double peak) {
    if (s.samples.empty()) return;
    double maxAbs = 0;
    for (float v : s.samples) maxAbs = std::max(maxAbs, static_cast<double>(std::fabs(v)));
    if (maxAbs <= 0) return;
    // Loudness over the part that is within 20 dB of the peak, so a long
    // quiet tail does not make a short sound louder.
    double sum = 0;
    std::size_t count = 0;
    for (float v : s.samples)
        if (std::fabs(v) > maxAbs * 0.1) {
            sum += static_cast<double>(v) * v;
            ++count;
        }
    const double rms = count ? std::sqrt(sum / count) : maxAbs;
    const double gain = std::min(targetRms / rms, peak / maxAbs);
    for (float& v : s.samples) v = static_cast<float>(v * gain);
}

std::vector<std::uint8_t> EncodeWav(const Sound& s) {
    std::vector<std::uint8_t> v;
    const unsigned dataBytes = static_cast<unsigned>(s.samples.size() * 2);
    PutTag(v, "RIFF");
    Put32(v, 36 + dataBytes);
    PutTag(v, "WAVE");
    PutTag(v, "fmt ");
    Put32(v, 16);
    Put16(v, 1);  // PCM
    Put16(v, 1);  // mono
    Put32(v, static_cast<unsigned>(s.rate));
    Put32(v, static_cast<unsigned>(s.rate * 2));
    Put16(v, 2);
    Put16(v, 16);
    PutTag(v, "data");
    Put32(v, dataBytes);
    for (float f : s.samples) {
        const int x = static_cast<int>(std::lround(std::clamp(f, -1.0f, 1.0f) * 32767));
        Put16(v, static_cast<unsigned>(x) & 0xFFFF);
    }
    return v;
}

std::vector<std::uint8_t> EncodeMp3(const Sound& s, int kbps) {
    lame_t lame = lame_init();
    if (!lame) return {};
    lame_set_num_channels(lame, 1);
    lame_set_in_samplerate(lame, s.rate);
    lame_set_out_samplerate(lame, s.rate);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return {};
    }
    std::vector<short> pcm(s.samples.size());
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<short>(std::lround(std::clamp(s.samples[i], -1.0f, 1.0f) * 32767));
    std::vector<std::uint8_t> out(pcm.size() * 5 / 4 + 7200 + 16384);
    const int n = lame_encode_buffer(lame, pcm.data(), pcm.data(), static_cast<int>(pcm.size()), out.data(),
                                     static_cast<int>(out.size()));
    if (n < 0) {
        lame_close(lame);
        return {};
    }
    const int tail = lame_encode_flush(lame, out.data() + n, static_cast<int>(out.size()) - n);
    lame_close(lame);
    if (tail < 0) return {};
    out.resize(static_cast<std::size_t>(n + tail));
    return out;
}

}  // namespace contentgen
