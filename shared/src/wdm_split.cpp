#include "shared/wdm_split.h"

#include "shared/gbk.h"

namespace wdm {

bool PieceSplitter::Next(std::string_view& piece) {
    if (m_done) return false;
    if (!m_sep.empty()) {
        while (m_pos + m_sep.size() <= m_text.size()) {
            if (m_text[m_pos] == m_sep[0] && m_text.compare(m_pos, m_sep.size(), m_sep) == 0) {
                piece = m_text.substr(m_start, m_pos - m_start);
                const std::size_t next = m_pos + m_sep.size();
                // Resume on the first character start at or after the
                // separator's end, as a search from the text's start would.
                while (m_pos < next) m_pos += gbk::CharLength(m_text, m_pos);
                m_start = next;
                return true;
            }
            m_pos += gbk::CharLength(m_text, m_pos);
        }
    }
    piece = m_text.substr(m_start);
    m_done = true;
    return true;
}

std::vector<std::string_view> SplitViews(std::string_view text, std::string_view sep, std::size_t maxPieces) {
    std::vector<std::string_view> pieces;
    if (maxPieces == 0) maxPieces = 1;
    PieceSplitter splitter(text, sep);
    std::string_view piece;
    for (;;) {
        if (pieces.size() + 1 == maxPieces) {
            if (!splitter.Done()) pieces.push_back(splitter.Rest());
            break;
        }
        if (!splitter.Next(piece)) break;
        pieces.push_back(piece);
    }
    return pieces;
}

}  // namespace wdm
