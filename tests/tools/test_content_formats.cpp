// File formats of the pack: the bitmap font, the WAV sounds and the MP3.

#include "content_fixture.h"

#include <cmath>
#include <map>
#include <sstream>

using namespace content_test;

namespace {

// "key=value key="quoted value"" -> map
std::map<std::string, std::string> Fields(const std::string& line) {
    std::map<std::string, std::string> m;
    std::size_t i = line.find(' ');
    while (i != std::string::npos && i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const std::size_t eq = line.find('=', i);
        if (eq == std::string::npos) break;
        const std::string key = line.substr(i, eq - i);
        std::size_t end;
        std::string value;
        if (eq + 1 < line.size() && line[eq + 1] == '"') {
            end = line.find('"', eq + 2);
            value = line.substr(eq + 2, end - eq - 2);
            if (end != std::string::npos) ++end;
        } else {
            end = line.find(' ', eq + 1);
            value = line.substr(eq + 1, end == std::string::npos ? std::string::npos : end - eq - 1);
        }
        m[key] = value;
        i = end;
    }
    return m;
}

TEST(ContentFormats, BitmapFontParsesAndFitsItsPage) {
    std::istringstream in(ReadText(P("其它/font1.fnt")));
    std::string line;
    std::map<std::string, std::string> common, page;
    int declared = -1, chars = 0;
    bool info = false;
    std::map<int, std::map<std::string, std::string>> glyphs;
    while (std::getline(in, line)) {
        const std::string tag = line.substr(0, line.find(' '));
        if (tag == "info") info = true;
        else if (tag == "common") common = Fields(line);
        else if (tag == "page") page = Fields(line);
        else if (tag == "chars") declared = std::stoi(Fields(line)["count"]);
        else if (tag == "char") {
            auto f = Fields(line);
            glyphs[std::stoi(f["id"])] = f;
            ++chars;
        }
    }
    ASSERT_TRUE(info);
    ASSERT_FALSE(common.empty());
    ASSERT_EQ(page["id"], "0");
    EXPECT_EQ(declared, chars);
    const Size pageSize = PngSize(P("其它/" + page["file"]));
    ASSERT_EQ(pageSize, (Size{std::stoi(common["scaleW"]), std::stoi(common["scaleH"])}));
    const int lineHeight = std::stoi(common["lineHeight"]), base = std::stoi(common["base"]);
    EXPECT_GT(lineHeight, 0);
    EXPECT_LE(base, lineHeight);
    for (auto& [id, f] : glyphs) {
        const int x = std::stoi(f["x"]), y = std::stoi(f["y"]), w = std::stoi(f["width"]), h = std::stoi(f["height"]);
        EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= pageSize.w && y + h <= pageSize.h) << "char " << id;
        EXPECT_GT(std::stoi(f["xadvance"]), 0) << "char " << id;
        EXPECT_LE(std::stoi(f["yoffset"]) + h, lineHeight + 2) << "char " << id;
    }
    // The HUD writes levels, "HP/max" and percentages with it.
    for (char c : std::string("0123456789/%.:+- ")) EXPECT_TRUE(glyphs.count(c)) << "missing '" << c << "'";
    for (char c = 'A'; c <= 'Z'; ++c) EXPECT_TRUE(glyphs.count(c) && glyphs.count(c + 32)) << c;
}

struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<float> samples;
    std::string error;
};

Wav ReadWav(const std::filesystem::path& p) {
    const auto b = ReadBytes(p);
    Wav w;
    auto le16 = [&](std::size_t i) { return b[i] | (b[i + 1] << 8); };
    auto le32 = [&](std::size_t i) { return static_cast<std::uint32_t>(le16(i) | (le16(i + 2) << 16)); };
    auto tag = [&](std::size_t i) { return std::string(b.begin() + i, b.begin() + i + 4); };
    if (b.size() < 44 || tag(0) != "RIFF" || tag(8) != "WAVE") return w.error = "not RIFF/WAVE", w;
    if (le32(4) != b.size() - 8) return w.error = "RIFF size", w;
    if (tag(12) != "fmt " || le32(16) != 16 || le16(20) != 1) return w.error = "not PCM", w;
    w.channels = le16(22);
    w.rate = static_cast<int>(le32(24));
    w.bits = le16(34);
    if (le32(28) != static_cast<std::uint32_t>(w.rate * w.channels * w.bits / 8)) return w.error = "byte rate", w;
    if (tag(36) != "data" || le32(40) != b.size() - 44) return w.error = "data size", w;
    for (std::size_t i = 44; i + 1 < b.size(); i += 2)
        w.samples.push_back(static_cast<std::int16_t>(le16(i)) / 32768.0f);
    return w;
}

TEST(ContentFormats, SoundEffectsAreValidWavsOfOneLoudness) {
    const char* files[] = {"9994", "600331", "70321", "9995", "9010", "1415", "9012", "9015", "90101", "90010"};
    std::vector<double> loudness;
    for (const char* f : files) {
        const Wav w = ReadWav(P(std::string("music/") + f + ".wav"));
        ASSERT_TRUE(w.error.empty()) << f << ": " << w.error;
        EXPECT_EQ(w.channels, 1) << f;
        EXPECT_EQ(w.bits, 16) << f;
        EXPECT_GE(w.rate, 11025) << f;
        const double seconds = static_cast<double>(w.samples.size()) / w.rate;
        EXPECT_GT(seconds, 0.02) << f;
        EXPECT_LT(seconds, 3.0) << f;  // effects, not music
        float peak = 0;
        for (float s : w.samples) peak = std::max(peak, std::fabs(s));
        EXPECT_LT(peak, 0.95f) << f << " clips";
        double sum = 0;
        int n = 0;
        for (float s : w.samples)
            if (std::fabs(s) > peak * 0.1f) sum += s * s, ++n;
        loudness.push_back(std::sqrt(sum / std::max(n, 1)));
    }
    const auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_LT(*hi / *lo, 2.0) << "effects differ by more than 6 dB";
}

TEST(ContentFormats, TownTuneIsAnMp3OfHalfAMinute) {
    const auto b = ReadBytes(P("music/Wdm.mp3"));
    ASSERT_GE(b.size(), 4u);
    std::size_t i = 0;
    if (b[0] == 'I' && b[1] == 'D' && b[2] == '3' && b.size() > 10)  // skip an ID3v2 tag
        i = 10 + ((b[6] & 0x7F) << 21 | (b[7] & 0x7F) << 14 | (b[8] & 0x7F) << 7 | (b[9] & 0x7F));
    ASSERT_LT(i + 4, b.size());
    // Frame header: 11 sync bits, a known MPEG version, layer III, a valid
    // bit-rate index and sample-rate index.
    EXPECT_EQ(b[i], 0xFF);
    EXPECT_EQ(b[i + 1] & 0xE0, 0xE0);
    const int version = (b[i + 1] >> 3) & 3, layer = (b[i + 1] >> 1) & 3;
    const int bitrateIndex = b[i + 2] >> 4, rateIndex = (b[i + 2] >> 2) & 3;
    EXPECT_NE(version, 1);
    EXPECT_EQ(layer, 1);  // binary 01 is layer III
    EXPECT_TRUE(bitrateIndex > 0 && bitrateIndex < 15);
    EXPECT_NE(rateIndex, 3);
    // Length from the constant bit rate.
    static const int kV2Rates[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static const int kV1Rates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    const int kbps = version == 3 ? kV1Rates[bitrateIndex] : kV2Rates[bitrateIndex];
    ASSERT_GT(kbps, 0);
    const double seconds = b.size() * 8.0 / (kbps * 1000.0);
    EXPECT_GT(seconds, 20.0);
    EXPECT_LT(seconds, 40.0);
}

}  // namespace
