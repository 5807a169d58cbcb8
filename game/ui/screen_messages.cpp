#include "ui/screen_messages.h"

#include <algorithm>

#include "core/json_writer.h"

bool ScreenMessages::Add(const std::string& gbkText, std::uint32_t colour, float clock) {
    if (gbkText.empty()) return false;
    for (ScreenMessage& m : m_entries) {
        if (m.text.empty()) {
            m = ScreenMessage{gbkText, colour, clock, 0};
            return true;
        }
    }
    return false;
}

void ScreenMessages::Update(float clock) {
    for (ScreenMessage& m : m_entries) {
        if (m.text.empty()) continue;
        m.counter += 2;
        if (clock - m.startTime >= kLifetime) m = ScreenMessage{};
    }
}

std::array<float, ScreenMessages::kEntries> ScreenMessages::Lifts(float lineHeight) const {
    std::array<int, kEntries> order{};
    for (int i = 0; i < kEntries; ++i) order[static_cast<std::size_t>(i)] = i;
    // Oldest first: the highest counter, then the lower slot.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return m_entries[static_cast<std::size_t>(a)].counter > m_entries[static_cast<std::size_t>(b)].counter;
    });
    std::array<float, kEntries> lifts{};
    bool first = true;
    float previous = 0;
    for (int i : order) {
        const ScreenMessage& m = m_entries[static_cast<std::size_t>(i)];
        if (m.text.empty()) continue;
        float lift = static_cast<float>(m.counter);
        if (!first) lift = std::min(lift, previous - lineHeight);
        lifts[static_cast<std::size_t>(i)] = lift;
        previous = lift;
        first = false;
    }
    return lifts;
}

std::uint32_t ScreenMessages::Faded(std::uint32_t colour, int amount) {
    int alpha = static_cast<int>(colour >> 24) - std::max(amount, 0);
    return (static_cast<std::uint32_t>(std::max(alpha, 0)) << 24) | (colour & 0x00FFFFFFu);
}

void ScreenMessages::DumpState(JsonWriter& w) const {
    w.BeginArray();
    for (const ScreenMessage& m : m_entries) {
        if (m.text.empty()) continue;
        w.BeginObject();
        w.Field("text", m.text);
        w.Field("colour", m.colour);
        w.Field("counter", m.counter);
        w.Field("startTime", m.startTime);
        w.EndObject();
    }
    w.EndArray();
}
