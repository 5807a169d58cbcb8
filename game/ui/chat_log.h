#pragma once
// The chat log: every game message goes through AddLine, most with the
// label "[系统]". Lines are kept in arrival order (the oldest are dropped
// past kCapacity); a text is broken at "\r\n" and wrapped at kWrapBytes
// bytes on character boundaries so it fits the box beside its label.

#include <cstdint>
#include <deque>
#include <string>

class TrueTypeFont;
class JsonWriter;

struct ChatLine {
    std::string label;  // GBK
    std::string text;   // GBK
    std::uint32_t labelColour = 0xFF00FFFF;
    std::uint32_t textColour = 0xFFFFFFFF;
    bool continued = false;  // a wrapped line's later piece: drawn without its label
};

class ChatLog {
public:
    static constexpr std::uint32_t kDefaultLabelColour = 0xFF00FFFF;
    static constexpr std::uint32_t kDefaultTextColour = 0xFFFFFFFF;
    static constexpr std::size_t kCapacity = 200;
    static constexpr std::size_t kWrapBytes = 48;  // text column x 100..400 at 6 px a byte
    // The lines drawn: from kFirstLineY down, kLineHeight apart, as many as
    // end above the frame's bottom edge (y kFrameBottom).
    static constexpr float kFirstLineY = 484, kLineHeight = 14, kFrameBottom = 555;
    static constexpr int kVisibleLines = static_cast<int>((kFrameBottom - kFirstLineY) / kLineHeight);
    static constexpr float kLabelX = 45, kTextX = 100;

    // Empties the log and writes the welcome line.
    void Create();
    // Empties the log (a loaded game brings its own lines).
    void Clear() {
        m_lines.clear();
        m_scroll = 0;
    }

    void AddLine(const std::string& label, const std::string& text, std::uint32_t labelColour, bool hasLabelColour,
                 std::uint32_t textColour, bool hasTextColour);
    // With the default colours.
    void AddLine(const std::string& label, const std::string& text) { AddLine(label, text, 0, false, 0, false); }

    // Scrolling: 0 shows the newest lines; larger values show older ones.
    void Scroll(int lines);
    // Shows the lines `scroll` back from the newest (clamped to the log).
    void ScrollTo(int scroll);
    int MaxScroll() const;
    int scroll() const { return m_scroll; }

    // Draws the visible lines: label + ":" at x 45 (not on a continued
    // line), text at x 100, from y 484 down, lineHeight apart.
    void Draw(TrueTypeFont& font, float lineHeight) const;

    std::size_t size() const { return m_lines.size(); }
    const ChatLine& Line(std::size_t i) const { return m_lines[i]; }  // 0 = oldest
    void DumpState(JsonWriter& w) const;

private:
    void Append(ChatLine line);

    std::deque<ChatLine> m_lines;
    int m_scroll = 0;
};
