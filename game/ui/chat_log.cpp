#include "ui/chat_log.h"

#include <algorithm>

#include "core/json_writer.h"
#include "platform/fonts.h"
#include "shared/gbk.h"

void ChatLog::Create() {
    m_lines.clear();
    m_scroll = 0;
    AddLine(gbk::Lit("[系统]"), gbk::Lit("[欢迎进入风铃谷]"));
}

void ChatLog::Append(ChatLine line) {
    m_lines.push_back(std::move(line));
    while (m_lines.size() > kCapacity) m_lines.pop_front();
}

void ChatLog::AddLine(const std::string& label, const std::string& text, std::uint32_t labelColour,
                      bool hasLabelColour, std::uint32_t textColour, bool hasTextColour) {
    ChatLine proto;
    proto.label = label;
    proto.labelColour = hasLabelColour ? labelColour : kDefaultLabelColour;
    proto.textColour = hasTextColour ? textColour : kDefaultTextColour;
    bool first = true;
    for (const std::string& piece : gbk::Split(text, "\r\n")) {
        // Wrap on character boundaries; a piece that is empty still makes a line.
        std::size_t start = 0;
        do {
            std::size_t end = start, width = 0;
            while (end < piece.size()) {
                std::size_t n = gbk::CharLength(piece, end);
                if (width + n > kWrapBytes && width > 0) break;
                width += n;
                end += n;
            }
            ChatLine line = proto;
            line.text = piece.substr(start, end - start);
            // The label shows once, on the first piece of the message.
            line.continued = !first;
            first = false;
            Append(std::move(line));
            start = end;
        } while (start < piece.size());
    }
}

void ChatLog::Scroll(int lines) { ScrollTo(m_scroll + lines); }

void ChatLog::ScrollTo(int scroll) { m_scroll = std::clamp(scroll, 0, MaxScroll()); }

int ChatLog::MaxScroll() const { return std::max(0, static_cast<int>(m_lines.size()) - kVisibleLines); }

void ChatLog::Draw(TrueTypeFont& font, float lineHeight) const {
    int total = static_cast<int>(m_lines.size());
    int last = total - m_scroll;  // one past the newest visible line
    int first = std::max(0, last - kVisibleLines);
    float y = kFirstLineY;
    for (int i = first; i < last; ++i) {
        const ChatLine& line = m_lines[static_cast<std::size_t>(i)];
        if (!line.continued) {
            font.SetColour(line.labelColour);
            font.Print(kLabelX, y, line.label + ":");
        }
        font.SetColour(line.textColour);
        font.Print(kTextX, y, line.text);
        y += lineHeight;
    }
}

void ChatLog::DumpState(JsonWriter& w) const {
    w.BeginArray();
    for (const ChatLine& line : m_lines) {
        w.BeginObject();
        w.Field("label", line.label);
        w.Field("text", line.text);
        w.Field("labelColour", line.labelColour);
        w.Field("textColour", line.textColour);
        if (line.continued) w.Field("continued", true);
        w.EndObject();
    }
    w.EndArray();
}
