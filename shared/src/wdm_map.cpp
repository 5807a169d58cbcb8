// Map files: reading and writing the ten sections.

#include "shared/wdm_map.h"

#include "shared/atomic_file.h"
#include "shared/gbk.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace wdm {
namespace {

namespace fs = std::filesystem;

fs::path FsPath(const std::string& utf8Path) {
    return fs::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

// Looked up once: the format's two booleans.
const std::string& TrueText() {
    static const std::string& text = gbk::Lit("真");
    return text;
}
const std::string& FalseText() {
    static const std::string& text = gbk::Lit("假");
    return text;
}

ReadResult Fail(ReadError error, std::string reason) {
    ReadResult r;
    r.error = error;
    r.reason = std::move(reason);
    return r;
}

// --- reading ---------------------------------------------------------------
//
// The text is walked once, character by character (a separator counts only
// where a character starts, counting from the start of the text). Sections,
// records and fields end where their separators are met, and each record is
// converted as soon as it ends, from views into the text: nothing is copied
// but the texts the records keep. The result is that of splitting the text
// into sections, each section into records and each record into fields, one
// split after the other: every separator is made of whole characters, so a
// piece always starts where a character of the whole text starts.

constexpr unsigned char kMarker0 = 0xC0, kMarker1 = 0x5E, kMarker2 = 0xE8, kMarker3 = 0x7A;
// Eleven pieces are enough to tell ten sections from more.
constexpr std::size_t kEnoughPieces = 11;
constexpr std::size_t kMostFields = 9;  // the header's

// The first byte at or after i that may end a field or start a two-byte
// character: "|", ">" or a byte of 0x80 and above; n when there is none.
// Sixteen bytes at a time where the processor can.
inline std::size_t NextSpecial(const unsigned char* p, std::size_t i, std::size_t n) {
#if defined(__SSE2__)
    const __m128i bar = _mm_set1_epi8('|'), greater = _mm_set1_epi8('>');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i sep = _mm_or_si128(_mm_cmpeq_epi8(v, bar), _mm_cmpeq_epi8(v, greater));
        // movemask of the bytes themselves: their top bits, set from 0x80 up.
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(sep) | _mm_movemask_epi8(v));
        if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    while (i < n && p[i] < 0x80 && p[i] != '|' && p[i] != '>') ++i;
    return i;
}

// A field as an integer: gbk::ToInt, with a quick way for the usual field of
// at most nine digits after an optional minus sign.
inline int FieldInt(std::string_view f) {
    std::size_t i = !f.empty() && f[0] == '-' ? 1 : 0;
    const std::size_t digits = f.size() - i;
    if (digits == 0 || digits > 9) return gbk::ToInt(f);
    int v = 0;
    for (; i < f.size(); ++i) {
        const unsigned d = static_cast<unsigned char>(f[i]) - unsigned{'0'};
        if (d > 9) return gbk::ToInt(f);
        v = v * 10 + static_cast<int>(d);
    }
    return f[0] == '-' ? -v : v;
}

class OnePassReader {
public:
    OnePassReader(std::string_view text, MapData& map) : m_text(text), m_map(map) {}

    void Run();

    std::size_t pieces() const { return m_section; }  // at most kEnoughPieces
    std::size_t headerFields() const { return m_headerFields; }
    bool overBudget() const { return m_overBudget; }

private:
    std::string_view Field(std::size_t i) const { return i < m_fieldCount ? m_fields[i] : std::string_view{}; }
    void EndField(std::size_t end) {
        if (m_fieldCount < kMostFields) m_fields[m_fieldCount] = m_text.substr(m_fieldStart, end - m_fieldStart);
        ++m_fieldCount;
    }
    void EndRecord(std::size_t end, bool sectionEnd);
    void EndSection(std::size_t end);
    void Header();
    void Sprite(std::vector<SpriteRecord>& list);
    void Ground(std::vector<GroundRecord>& list);
    void Event();
    // Counts the rest of the sections without reading records (the record
    // budget is spent).
    void CountRest(std::size_t from);

    std::string_view m_text;
    MapData& m_map;
    std::array<std::string_view, kMostFields> m_fields{};
    std::size_t m_fieldCount = 0;
    std::size_t m_fieldStart = 0, m_recordStart = 0, m_sectionStart = 0;
    std::size_t m_section = 0;  // the section being read; at the end, the number of pieces
    std::size_t m_headerFields = 0;
    std::size_t m_budget = kMaxRecords;
    bool m_overBudget = false;
};

void OnePassReader::Run() {
    const auto* p = reinterpret_cast<const unsigned char*>(m_text.data());
    const std::size_t n = m_text.size();
    std::size_t i = 0;
    for (;;) {
        i = NextSpecial(p, i, n);
        if (i >= n) break;
        const unsigned char c = p[i];
        if (!gbk::IsLeadByte(c) || i + 1 == n) {
            if (c == '|') {
                EndField(i);
                m_fieldStart = ++i;
            } else if (c == '>' && m_section > 0 && i + 1 < n && p[i + 1] == '<') {
                EndField(i);
                EndRecord(i, false);
                i += 2;
                m_fieldStart = m_recordStart = i;
                if (m_overBudget) return CountRest(i);
            } else {
                ++i;
            }
            continue;
        }
        if (c == kMarker0 && p[i + 1] == kMarker1 && i + 4 <= n && p[i + 2] == kMarker2 && p[i + 3] == kMarker3) {
            EndField(i);
            EndSection(i);
            i += 4;
            m_fieldStart = m_recordStart = m_sectionStart = i;
            if (m_section == kEnoughPieces - 1) {
                ++m_section;  // the rest is one more piece; what it holds does not matter
                return;
            }
            if (m_overBudget) return CountRest(i);
            continue;
        }
        i += 2;
    }
    EndField(n);
    EndSection(n);
}

void OnePassReader::CountRest(std::size_t from) {
    const auto* p = reinterpret_cast<const unsigned char*>(m_text.data());
    const std::size_t n = m_text.size();
    for (std::size_t i = from; i < n;) {
        if (!gbk::IsLeadByte(p[i]) || i + 1 == n) {
            ++i;
        } else if (p[i] == kMarker0 && p[i + 1] == kMarker1 && i + 4 <= n && p[i + 2] == kMarker2 &&
                   p[i + 3] == kMarker3) {
            i += 4;
            if (++m_section == kEnoughPieces - 1) break;
        } else {
            i += 2;
        }
    }
    ++m_section;
}

void OnePassReader::EndSection(std::size_t end) {
    if (m_section == 0) {
        m_headerFields = std::min(m_fieldCount, kMostFields);
        Header();
    } else {
        EndRecord(end, true);
    }
    m_fieldCount = 0;
    ++m_section;
}

void OnePassReader::EndRecord(std::size_t end, bool sectionEnd) {
    // The piece after a section's last record end is no record, nor is an
    // empty section; an events section of a single space holds no events.
    if (sectionEnd) {
        if (end == m_recordStart) return;
        const bool wholeSection = m_recordStart == m_sectionStart;
        if (m_section == 9 && wholeSection && m_text.substr(m_recordStart, end - m_recordStart) == " ") return;
    }
    if (m_overBudget) return;
    if (m_budget == 0) {
        m_overBudget = true;
        m_fieldCount = 0;
        return;
    }
    --m_budget;
    if (m_section <= kSpriteSections) {
        Sprite(m_map.sprites[m_section - 1]);
    } else if (m_section == 6) {
        Ground(m_map.squares);
    } else if (m_section == 7) {
        Ground(m_map.slopes);
    } else if (m_section == 8) {
        Ground(m_map.stairs);
    } else {
        Event();
    }
    m_fieldCount = 0;
}

void OnePassReader::Header() {
    MapHeader& h = m_map.header;
    h.width = FieldInt(Field(0));
    h.height = FieldInt(Field(1));
    h.startGround = FieldInt(Field(2));
    h.startOffset = FieldInt(Field(3));
    h.background = std::string(Field(4));
    h.floatInterval = gbk::ToReal(Field(5));
    h.townMap = FieldInt(Field(6));
    h.townGround = FieldInt(Field(7));
    h.facing = FieldInt(Field(8));
    h.fieldCount = static_cast<int>(m_headerFields);
}

void OnePassReader::Sprite(std::vector<SpriteRecord>& list) {
    SpriteRecord& s = list.emplace_back();
    s.left = FieldInt(Field(0));
    s.top = FieldInt(Field(1));
    s.width = FieldInt(Field(2));
    s.height = FieldInt(Field(3));
    s.layer = FieldInt(Field(4));
    s.picture = Field(5);
    s.mirrored = Field(6) == TrueText();
    // Older files hold a boolean here: "真" was the top level, "假" the bottom.
    const std::string_view z = Field(7);
    if (z == TrueText()) {
        s.zLevel = kZTop;
    } else if (z == FalseText()) {
        s.zLevel = kZBottom;
    } else {
        s.zLevel = FieldInt(z);
    }
}

void OnePassReader::Ground(std::vector<GroundRecord>& list) {
    list.push_back(GroundRecord{FieldInt(Field(0)), FieldInt(Field(1)), FieldInt(Field(2)),
                                FieldInt(Field(3)), FieldInt(Field(4))});
}

void OnePassReader::Event() {
    EventRecord& e = m_map.events.emplace_back();
    e.left = FieldInt(Field(0));
    e.top = FieldInt(Field(1));
    e.width = FieldInt(Field(2));
    e.height = FieldInt(Field(3));
    e.kind = FieldInt(Field(4));
    e.detail = Field(5);
}

// --- writing ---------------------------------------------------------------

// Why a text cannot be stored as a field (it would read back differently),
// or nullptr. lastField: the text ends its record, so "><" follows it. One
// walk over the text; when it has several problems, the first of this list
// is named.
const char* FieldProblem(std::string_view text, bool lastField) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    bool bar = false, recordEnd = false, marker = false, halfCharacter = false;
    for (std::size_t i = NextSpecial(p, 0, n); i < n; i = NextSpecial(p, i, n)) {
        const unsigned char c = p[i];
        if (!gbk::IsLeadByte(c)) {
            bar = bar || c == '|';
            recordEnd = recordEnd || (c == '>' && i + 1 < n && p[i + 1] == '<');
            ++i;
        } else if (i + 1 == n) {
            halfCharacter = true;
            ++i;
        } else {
            marker = marker || (c == kMarker0 && p[i + 1] == kMarker1 && i + 4 <= n && p[i + 2] == kMarker2 &&
                                p[i + 3] == kMarker3);
            i += 2;
        }
    }
    if (bar) return "holds the field separator \"|\"";
    if (recordEnd) return "holds the record end \"><\"";
    if (marker) return "holds the section marker";
    if (halfCharacter) return "ends in half a GBK character";
    if (lastField && n > 0 && text.back() == '>') return "ends in \">\"";
    return nullptr;
}

WriteResult Refuse(const std::string& what, std::string_view text, const char* problem) {
    WriteResult r;
    r.ok = false;
    r.error = what + ": text \"" + gbk::ToUtf8(text) + "\" " + problem;
    return r;
}

void AppendInt(std::string& out, int v) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    out.append(buffer, static_cast<std::size_t>(end - buffer));
}

// The numbers of a record, each followed by "|", gathered before they go
// into the text in one piece.
class NumberFields {
public:
    NumberFields& operator<<(int v) {
        m_end = std::to_chars(m_end, m_buffer + sizeof m_buffer, v).ptr;
        *m_end++ = '|';
        return *this;
    }
    // Appends the numbers; withLastBar false drops the "|" after the last.
    void AppendTo(std::string& out, bool withLastBar) const {
        out.append(m_buffer, static_cast<std::size_t>(m_end - m_buffer) - (withLastBar ? 0 : 1));
    }

private:
    char m_buffer[6 * 12];  // six numbers of at most 11 characters, each with its "|"
    char* m_end = m_buffer;
};

// The order SortSpritesForSave gives, as indices into the list: by zLevel
// rank, then top, then place in the list. Sorted as packed 64-bit keys.
std::vector<std::size_t> SaveOrder(const std::vector<SpriteRecord>& sprites) {
    auto rank = [](int z) -> std::uint64_t { return z == kZBottom ? 0 : z == kZMiddle ? 1 : z == kZTop ? 2 : 3; };
    std::vector<std::size_t> order(sprites.size());
    constexpr std::size_t kIndexBits = 30;
    if (sprites.size() < (std::size_t{1} << kIndexBits)) {
        std::vector<std::uint64_t> keys(sprites.size());
        for (std::size_t i = 0; i < sprites.size(); ++i) {
            const std::uint64_t top = static_cast<std::uint32_t>(sprites[i].top) ^ 0x80000000u;
            keys[i] = rank(sprites[i].zLevel) << 62 | top << kIndexBits | i;
        }
        std::sort(keys.begin(), keys.end());
        for (std::size_t i = 0; i < keys.size(); ++i) order[i] = keys[i] & ((std::uint64_t{1} << kIndexBits) - 1);
        return order;
    }
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::uint64_t ra = rank(sprites[a].zLevel), rb = rank(sprites[b].zLevel);
        return ra != rb ? ra < rb : sprites[a].top < sprites[b].top;
    });
    return order;
}

// Bytes of the text of a map, near enough to reserve once.
std::size_t EstimatedSize(const MapData& map) {
    std::size_t size = 64 + map.header.background.size();
    for (const auto& list : map.sprites)
        for (const SpriteRecord& s : list) size += 40 + s.picture.size();
    size += (map.squares.size() + map.slopes.size() + map.stairs.size()) * 30;
    for (const EventRecord& e : map.events) size += 30 + e.detail.size();
    return size;
}

const char* const kSectionNames[] = {"header", "map sprites", "top layer", "second background",
                                     "third background", "floating layer", "squares", "slopes",
                                     "stairs", "events"};

}  // namespace

int SpriteListOfLayer(int layer) {
    if (layer == kLayerMap || layer == kLayerPriority) return 0;
    if (layer >= kLayerTop && layer <= kLayerFloating) return layer;
    return -1;
}

void AssignSprites(MapData& map, const std::vector<SpriteRecord>& sprites) {
    for (auto& list : map.sprites) list.clear();
    for (const SpriteRecord& s : sprites) {
        const int list = SpriteListOfLayer(s.layer);
        if (list >= 0) map.sprites[static_cast<std::size_t>(list)].push_back(s);
    }
}

void SortSpritesForSave(std::vector<SpriteRecord>& sprites) {
    auto rank = [](int z) { return z == kZBottom ? 0 : z == kZMiddle ? 1 : z == kZTop ? 2 : 3; };
    std::stable_sort(sprites.begin(), sprites.end(),
                     [](const SpriteRecord& a, const SpriteRecord& b) { return a.top < b.top; });
    std::stable_sort(sprites.begin(), sprites.end(), [&](const SpriteRecord& a, const SpriteRecord& b) {
        return rank(a.zLevel) < rank(b.zLevel);
    });
}

// --- reading ---------------------------------------------------------------

ReadResult ParseMapText(std::string_view text, SectionRule rule) {
    ReadResult result;
    OnePassReader reader(text, result.map);
    reader.Run();
    const std::size_t count = reader.pieces();
    if (rule == SectionRule::Exactly10 ? count != 10 : count < 10) {
        return Fail(ReadError::SectionCount,
                    (count > 10 ? std::string("more than 10") : std::to_string(count)) +
                        " sections; a map file has " + (rule == SectionRule::Exactly10 ? "exactly" : "at least") +
                        " 10 (not a map file, damaged, or enciphered with another password)");
    }
    if (reader.headerFields() < 6) {
        return Fail(ReadError::HeaderFields,
                    "the header has " + std::to_string(reader.headerFields()) + " fields; at least 6 are needed");
    }
    if (reader.overBudget()) {
        return Fail(ReadError::TooManyRecords,
                    "more than " + std::to_string(kMaxRecords) + " records; the file is not a usable map");
    }
    return result;
}

namespace {

ReadResult CheckSize(std::size_t size) {
    if (size > kMaxFileBytes) {
        return Fail(ReadError::TooLarge, "the file is larger than " + std::to_string(kMaxFileBytes) + " bytes");
    }
    return {};
}

ReadResult NotDeciphered() {
    return Fail(ReadError::SectionCount,
                "the check value does not match the contents: the file is damaged, is not a map file, "
                "or was enciphered with another password");
}

}  // namespace

ReadResult ReadMapBytes(std::string_view fileBytes, SectionRule rule) {
    if (ReadResult tooLarge = CheckSize(fileBytes.size()); !tooLarge.ok()) return tooLarge;
    std::string text;
    if (!Decipher(fileBytes, text)) return NotDeciphered();
    return ParseMapText(text, rule);
}

ReadResult ReadMap(const std::string& utf8Path, SectionRule rule) {
    const fs::path path = FsPath(utf8Path);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return Fail(ReadError::Unreadable, utf8Path + ": no such file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(ReadError::Unreadable, utf8Path + ": cannot open");
    // Room for one byte more than the file holds, or than the limit: the
    // size on disk may change between the check and the read. The bytes are
    // deciphered where they were read.
    const std::uintmax_t onDisk = fs::file_size(path, ec);
    std::string bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(ec ? 0 : onDisk, kMaxFileBytes)) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        in.read(bytes.data() + got, static_cast<std::streamsize>(bytes.size() - got));
        got += static_cast<std::size_t>(in.gcount());
        if (got < bytes.size() || bytes.size() > kMaxFileBytes) break;  // the end, or past the limit
        bytes.resize(std::min(bytes.size() * 2, kMaxFileBytes + 1));     // the file grew: read on
    }
    if (in.bad()) return Fail(ReadError::Unreadable, utf8Path + ": read error");
    bytes.resize(got);
    ReadResult r = CheckSize(bytes.size());
    if (r.ok()) r = DecipherInPlace(bytes) ? ParseMapText(bytes, rule) : NotDeciphered();
    if (!r.ok()) r.reason = utf8Path + ": " + r.reason;
    return r;
}

// --- writing ---------------------------------------------------------------

WriteResult BuildMapText(const MapData& map, std::string_view programFolder, std::string& text) {
    std::string out;
    out.reserve(EstimatedSize(map));
    const MapHeader& h = map.header;
    if (const char* p = FieldProblem(h.background, false)) return Refuse("header background", h.background, p);
    AppendInt(out, h.width);
    out += '|';
    AppendInt(out, h.height);
    out += '|';
    AppendInt(out, h.startGround);
    out += '|';
    AppendInt(out, h.startOffset);
    out += '|';
    out += h.background;
    out += '|';
    out += gbk::NumberToText(h.floatInterval);
    out += '|';
    AppendInt(out, h.townMap);
    out += '|';
    AppendInt(out, h.townGround);
    out += '|';
    AppendInt(out, h.facing);
    out += kSectionMarker;

    const std::string& trueText = TrueText();
    const std::string& falseText = FalseText();
    std::vector<std::string> stripped;  // pictures without the program folder
    for (std::size_t list = 0; list < kSpriteSections; ++list) {
        const std::vector<SpriteRecord>& sprites = map.sprites[list];
        // Checked before sorting, so a refusal names the sprite by its place
        // in the caller's list.
        if (!programFolder.empty()) {
            stripped.resize(sprites.size());
            for (std::size_t i = 0; i < sprites.size(); ++i)
                stripped[i] = gbk::ReplaceAll(sprites[i].picture, programFolder, "");
        }
        auto picture = [&](std::size_t i) -> std::string_view {
            return programFolder.empty() ? std::string_view(sprites[i].picture) : std::string_view(stripped[i]);
        };
        for (std::size_t i = 0; i < sprites.size(); ++i) {
            if (const char* p = FieldProblem(picture(i), false)) {
                return Refuse("sprite " + std::to_string(i + 1) + " of section " + std::to_string(list + 1) + " (" +
                                  kSectionNames[list + 1] + ") picture",
                              picture(i), p);
            }
        }
        for (std::size_t i : SaveOrder(sprites)) {
            const SpriteRecord& s = sprites[i];
            (NumberFields() << s.left << s.top << s.width << s.height << s.layer).AppendTo(out, true);
            out += picture(i);
            out += '|';
            out += s.mirrored ? trueText : falseText;
            out += '|';
            AppendInt(out, s.zLevel);
            out += kRecordEnd;
        }
        out += kSectionMarker;
    }

    for (const auto* list : {&map.squares, &map.slopes, &map.stairs}) {
        for (const GroundRecord& g : *list) {
            if (!IsSavedBox(g.width, g.height)) continue;
            (NumberFields() << g.left << g.top << g.width << g.height << g.kind).AppendTo(out, false);
            out += kRecordEnd;
        }
        out += kSectionMarker;
    }

    for (std::size_t i = 0; i < map.events.size(); ++i) {
        const EventRecord& e = map.events[i];
        if (!IsSavedBox(e.width, e.height)) continue;
        if (const char* p = FieldProblem(e.detail, true)) {
            return Refuse("event " + std::to_string(i + 1) + " detail", e.detail, p);
        }
        (NumberFields() << e.left << e.top << e.width << e.height << e.kind).AppendTo(out, true);
        out += e.detail;
        out += kRecordEnd;
    }
    text = std::move(out);
    return {};
}

const char* StoredTextProblem(std::string_view text, bool inDetail) {
    if (inDetail && gbk::Find(text, kSubFieldSeparator) != gbk::npos) return "holds the sub-field separator";
    return FieldProblem(text, inDetail);
}

WriteResult EncodeMap(const MapData& map, std::string_view programFolder, std::string& fileBytes) {
    std::string text;
    WriteResult r = BuildMapText(map, programFolder, text);
    if (r) {
        EncipherInPlace(text);
        fileBytes = std::move(text);
    }
    return r;
}

WriteResult WriteMap(const std::string& utf8Path, const MapData& map, std::string_view programFolder) {
    std::string bytes;
    WriteResult r = EncodeMap(map, programFolder, bytes);
    if (!r) {
        r.error = utf8Path + ": not saved: " + r.error;
        return r;
    }
    files::WriteOutcome written = files::WriteFileAtomically(utf8Path, bytes);
    if (!written) {
        r.ok = false;
        r.error = utf8Path + ": " + written.error;
    }
    return r;
}

}  // namespace wdm
