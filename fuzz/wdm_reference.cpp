// The map reader and writer as first written: a split into sections, then
// records, then fields, each a walk of its own over the text. Slow, and
// plainly right; the fuzzer and the tests hold the one-pass reader and
// writer of shared/ to the same results.

#include "wdm_reference.h"

#include "shared/gbk.h"
#include "shared/wdm_split.h"

#include <algorithm>

namespace wdm_reference {

using namespace wdm;

namespace {

const std::string& TrueText() { return gbk::Lit("真"); }
const std::string& FalseText() { return gbk::Lit("假"); }

ReadResult Fail(ReadError error, std::string reason) {
    ReadResult r;
    r.error = error;
    r.reason = std::move(reason);
    return r;
}

// Splits one record into at most N fields; the fields it lacks stay empty.
// Fields beyond N are ignored.
template <std::size_t N>
std::size_t SplitFields(std::string_view record, std::array<std::string_view, N>& fields) {
    fields = {};
    PieceSplitter splitter(record, kFieldSeparator);
    std::size_t n = 0;
    std::string_view piece;
    while (n < N && splitter.Next(piece)) fields[n++] = piece;
    return n;
}

// Calls add(record) for every record of a section. An empty section gives no
// records, and the empty piece after the last record end is no record.
// Returns false when the record budget runs out.
template <class Add>
bool ForEachRecord(std::string_view section, std::size_t& budget, Add add) {
    PieceSplitter splitter(section, kRecordEnd);
    std::string_view record;
    while (splitter.Next(record)) {
        if (splitter.Done() && record.empty()) break;
        if (budget == 0) return false;
        --budget;
        add(record);
    }
    return true;
}

SpriteRecord ParseSprite(std::string_view record) {
    std::array<std::string_view, 8> f;
    SplitFields(record, f);
    SpriteRecord s;
    s.left = gbk::ToInt(f[0]);
    s.top = gbk::ToInt(f[1]);
    s.width = gbk::ToInt(f[2]);
    s.height = gbk::ToInt(f[3]);
    s.layer = gbk::ToInt(f[4]);
    s.picture = std::string(f[5]);
    s.mirrored = f[6] == TrueText();
    // Older files hold a boolean here: "真" was the top level, "假" the bottom.
    if (f[7] == TrueText()) {
        s.zLevel = kZTop;
    } else if (f[7] == FalseText()) {
        s.zLevel = kZBottom;
    } else {
        s.zLevel = gbk::ToInt(f[7]);
    }
    return s;
}

GroundRecord ParseGround(std::string_view record) {
    std::array<std::string_view, 5> f;
    SplitFields(record, f);
    return GroundRecord{gbk::ToInt(f[0]), gbk::ToInt(f[1]), gbk::ToInt(f[2]), gbk::ToInt(f[3]), gbk::ToInt(f[4])};
}

EventRecord ParseEvent(std::string_view record) {
    std::array<std::string_view, 6> f;
    SplitFields(record, f);
    return EventRecord{gbk::ToInt(f[0]), gbk::ToInt(f[1]), gbk::ToInt(f[2]),
                       gbk::ToInt(f[3]), gbk::ToInt(f[4]), std::string(f[5])};
}

// --- writing ---------------------------------------------------------------

// Why a text cannot be stored as a field (it would read back differently),
// or nullptr. lastField: the text ends its record, so "><" follows it.
const char* FieldProblem(std::string_view text, bool lastField) {
    if (gbk::Find(text, kFieldSeparator) != gbk::npos) return "holds the field separator \"|\"";
    if (gbk::Find(text, kRecordEnd) != gbk::npos) return "holds the record end \"><\"";
    if (gbk::Find(text, kSectionMarker) != gbk::npos) return "holds the section marker";
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += gbk::CharLength(text, i)) last = i;
    if (!text.empty() && gbk::IsLeadByte(static_cast<unsigned char>(text[last])) && last + 1 == text.size()) {
        return "ends in half a GBK character";
    }
    if (lastField && !text.empty() && text.back() == '>') return "ends in \">\"";
    return nullptr;
}

WriteResult Refuse(const std::string& what, std::string_view text, const char* problem) {
    WriteResult r;
    r.ok = false;
    r.error = what + ": text \"" + gbk::ToUtf8(text) + "\" " + problem;
    return r;
}

void AppendInt(std::string& out, int v) { out += std::to_string(v); }

void AppendBox(std::string& out, int left, int top, int width, int height) {
    AppendInt(out, left);
    out += kFieldSeparator;
    AppendInt(out, top);
    out += kFieldSeparator;
    AppendInt(out, width);
    out += kFieldSeparator;
    AppendInt(out, height);
}

const char* const kSectionNames[] = {"header", "map sprites", "top layer", "second background",
                                     "third background", "floating layer", "squares", "slopes",
                                     "stairs", "events"};


void SortSprites(std::vector<SpriteRecord>& sprites) {
    auto rank = [](int z) { return z == kZBottom ? 0 : z == kZMiddle ? 1 : z == kZTop ? 2 : 3; };
    std::stable_sort(sprites.begin(), sprites.end(),
                     [](const SpriteRecord& a, const SpriteRecord& b) { return a.top < b.top; });
    std::stable_sort(sprites.begin(), sprites.end(), [&](const SpriteRecord& a, const SpriteRecord& b) {
        return rank(a.zLevel) < rank(b.zLevel);
    });
}

}  // namespace

std::string Encipher(std::string_view plain) {
    std::string out(plain);
    const std::uint32_t check = CheckValue(plain);
    for (std::size_t i = 0; i < 4; ++i) out += static_cast<char>((check >> (8 * i)) & 0xFFu);
    // The keystream byte by byte: one generator, its top byte XOR the
    // password character.
    std::uint32_t state = 2166136261u;
    for (unsigned char c : kPassword) {
        state ^= c;
        state *= 16777619u;
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const auto key = static_cast<unsigned char>((state >> 24) ^ static_cast<unsigned char>(kPassword[i % kPassword.size()]));
        out[i] = static_cast<char>(static_cast<unsigned char>(out[i]) ^ key);
    }
    return out;
}

ReadResult ParseMapText(std::string_view text, SectionRule rule) {
    // Eleven pieces are enough to tell ten sections from more.
    std::vector<std::string_view> sections = SplitViews(text, kSectionMarker, 11);
    // A text that ends in the marker has an empty events section. Reading it
    // as " " keeps the piece after the final marker counted.
    if (sections.back().empty() && text.size() >= kSectionMarker.size() &&
        text.substr(text.size() - kSectionMarker.size()) == kSectionMarker) {
        sections.back() = " ";
    }
    const std::size_t count = sections.size();
    if (rule == SectionRule::Exactly10 ? count != 10 : count < 10) {
        return Fail(ReadError::SectionCount,
                    (count > 10 ? std::string("more than 10") : std::to_string(count)) +
                        " sections; a map file has " + (rule == SectionRule::Exactly10 ? "exactly" : "at least") +
                        " 10 (not a map file, damaged, or enciphered with another password)");
    }

    ReadResult result;
    MapData& map = result.map;

    std::array<std::string_view, 9> h;
    const std::size_t headerFields = SplitFields(sections[0], h);
    if (headerFields < 6) {
        return Fail(ReadError::HeaderFields,
                    "the header has " + std::to_string(headerFields) + " fields; at least 6 are needed");
    }
    map.header.width = gbk::ToInt(h[0]);
    map.header.height = gbk::ToInt(h[1]);
    map.header.startGround = gbk::ToInt(h[2]);
    map.header.startOffset = gbk::ToInt(h[3]);
    map.header.background = std::string(h[4]);
    map.header.floatInterval = gbk::ToReal(h[5]);
    map.header.townMap = gbk::ToInt(h[6]);
    map.header.townGround = gbk::ToInt(h[7]);
    map.header.facing = gbk::ToInt(h[8]);
    map.header.fieldCount = static_cast<int>(headerFields);

    std::size_t budget = kMaxRecords;
    bool withinBudget = true;
    for (std::size_t i = 0; i < kSpriteSections && withinBudget; ++i) {
        auto& list = map.sprites[i];
        withinBudget = ForEachRecord(sections[1 + i], budget,
                                     [&](std::string_view r) { list.push_back(ParseSprite(r)); });
    }
    std::vector<GroundRecord>* grounds[] = {&map.squares, &map.slopes, &map.stairs};
    for (std::size_t i = 0; i < 3 && withinBudget; ++i) {
        auto& list = *grounds[i];
        withinBudget = ForEachRecord(sections[6 + i], budget,
                                     [&](std::string_view r) { list.push_back(ParseGround(r)); });
    }
    if (withinBudget && sections[9] != " ") {
        withinBudget = ForEachRecord(sections[9], budget,
                                     [&](std::string_view r) { map.events.push_back(ParseEvent(r)); });
    }
    if (!withinBudget) {
        return Fail(ReadError::TooManyRecords,
                    "more than " + std::to_string(kMaxRecords) + " records; the file is not a usable map");
    }
    return result;
}

WriteResult BuildMapText(const MapData& map, std::string_view programFolder, std::string& text) {
    std::string out;
    const MapHeader& h = map.header;
    if (const char* p = FieldProblem(h.background, false)) return Refuse("header background", h.background, p);
    AppendInt(out, h.width);
    out += kFieldSeparator;
    AppendInt(out, h.height);
    out += kFieldSeparator;
    AppendInt(out, h.startGround);
    out += kFieldSeparator;
    AppendInt(out, h.startOffset);
    out += kFieldSeparator;
    out += h.background;
    out += kFieldSeparator;
    out += gbk::NumberToText(h.floatInterval);
    out += kFieldSeparator;
    AppendInt(out, h.townMap);
    out += kFieldSeparator;
    AppendInt(out, h.townGround);
    out += kFieldSeparator;
    AppendInt(out, h.facing);
    out += kSectionMarker;

    for (std::size_t list = 0; list < kSpriteSections; ++list) {
        // Checked before sorting, so a refusal names the sprite by its place
        // in the caller's list.
        std::vector<SpriteRecord> sorted = map.sprites[list];
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            std::string picture = programFolder.empty() ? sorted[i].picture
                                                        : gbk::ReplaceAll(sorted[i].picture, programFolder, "");
            if (const char* p = FieldProblem(picture, false)) {
                return Refuse("sprite " + std::to_string(i + 1) + " of section " + std::to_string(list + 1) + " (" +
                                  kSectionNames[list + 1] + ") picture",
                              picture, p);
            }
            sorted[i].picture = std::move(picture);
        }
        SortSprites(sorted);
        for (const SpriteRecord& s : sorted) {
            AppendBox(out, s.left, s.top, s.width, s.height);
            out += kFieldSeparator;
            AppendInt(out, s.layer);
            out += kFieldSeparator;
            out += s.picture;
            out += kFieldSeparator;
            out += s.mirrored ? TrueText() : FalseText();
            out += kFieldSeparator;
            AppendInt(out, s.zLevel);
            out += kRecordEnd;
        }
        out += kSectionMarker;
    }

    for (const auto* list : {&map.squares, &map.slopes, &map.stairs}) {
        for (const GroundRecord& g : *list) {
            if (!IsSavedBox(g.width, g.height)) continue;
            AppendBox(out, g.left, g.top, g.width, g.height);
            out += kFieldSeparator;
            AppendInt(out, g.kind);
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
        AppendBox(out, e.left, e.top, e.width, e.height);
        out += kFieldSeparator;
        AppendInt(out, e.kind);
        out += kFieldSeparator;
        out += e.detail;
        out += kRecordEnd;
    }
    text = std::move(out);
    return {};
}

}  // namespace wdm_reference
