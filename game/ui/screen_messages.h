#pragma once
// A list of five short-lived on-screen texts: the banner list ("屏幕信息",
// across the screen) and the notice list ("普通信息", next to the player).
//
// A text goes into the first free entry and is dropped when all five are
// taken. Every frame each used entry's counter grows by 2 (the drawing lifts
// the text by the counter and fades it); an entry is freed once the engine
// clock has passed one second after the text was added.

#include <array>
#include <cstdint>
#include <string>

class JsonWriter;

struct ScreenMessage {
    std::string text;  // GBK; empty = free entry
    std::uint32_t colour = 0;
    float startTime = 0;  // the engine clock when it was added, seconds
    int counter = 0;
};

class ScreenMessages {
public:
    static constexpr int kEntries = 5;
    static constexpr float kLifetime = 1.0f;

    // Into the first free entry; false (and nothing kept) when all are taken
    // or the text is empty.
    bool Add(const std::string& gbkText, std::uint32_t colour, float clock);
    // Once a frame: counters of used entries +2, then entries older than a
    // second are freed.
    void Update(float clock);
    void Clear() { m_entries = {}; }

    const std::array<ScreenMessage, kEntries>& entries() const { return m_entries; }
    // How far each entry is lifted when drawn: its counter, except that a text
    // never overlaps an older one still showing; it stands at least a line
    // below it instead (two texts added together read as two lines).
    std::array<float, kEntries> Lifts(float lineHeight) const;
    // The colour with its alpha lowered by `amount` (not below 0).
    static std::uint32_t Faded(std::uint32_t colour, int amount);
    // An array of the used entries.
    void DumpState(JsonWriter& w) const;

private:
    std::array<ScreenMessage, kEntries> m_entries{};
};
