#pragma once
// Character-aligned splitting of GBK text into views, for the map reader.
//
// Gives exactly the pieces gbk::Split gives (a separator only matches where a
// character starts, counting characters from the start of the text), but
// walks the text once, allocates nothing per piece, and can stop early, so a
// hostile file of millions of separators costs no more than its own size.

#include <cstddef>
#include <string_view>
#include <vector>

namespace wdm {

class PieceSplitter {
public:
    PieceSplitter(std::string_view text, std::string_view sep) : m_text(text), m_sep(sep) {}

    // Stores the next piece and returns true, or returns false when every
    // piece has been given. The last piece is the rest of the text (possibly
    // empty); an empty text gives one empty piece.
    bool Next(std::string_view& piece);

    // True once every piece has been given.
    bool Done() const { return m_done; }

    // The text not yet given as pieces (empty once Done).
    std::string_view Rest() const { return m_done ? std::string_view{} : m_text.substr(m_start); }

private:
    std::string_view m_text;
    std::string_view m_sep;
    std::size_t m_start = 0;  // start of the next piece
    std::size_t m_pos = 0;    // scan position, always on a character start
    bool m_done = false;
};

// At most maxPieces pieces; when the limit is reached the last piece holds
// the rest of the text unsplit. maxPieces 0 counts as 1.
std::vector<std::string_view> SplitViews(std::string_view text, std::string_view sep,
                                         std::size_t maxPieces = static_cast<std::size_t>(-1));

}  // namespace wdm
