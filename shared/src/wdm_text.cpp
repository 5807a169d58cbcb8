// The text form of a map.
//
//   # comment (also after a record, outside quotes)
//   header width=800 height=600 startGround=1 startOffset=10
//          background="\data\map\48.png" floatInterval=0 townMap=0 townGround=0 facing=0
//   sprite layer=0 left=10 top=20 width=64 height=32 picture="\data\map\a.png" mirrored=false z=0
//   square left=0 top=560 width=800 height=40 kind=0
//   slope left=100 top=500 width=60 height=60 kind=1
//   stair left=300 top=400 width=20 height=160
//   npc left=200 top=480 width=40 height=80 id=1 ground=1 offset=200
//   monster left=.. top=.. width=.. height=.. id=2 ground=1 offset=30 flyTop=50 flyLowest=400
//   link left=.. top=.. width=.. height=.. map=2 ground=0 offset=-1 touch=true facing=2
//   animation left=.. top=.. width=.. height=.. effect=3 x=120 y=300 mode="往返"
//   item left=.. top=.. width=.. height=.. name="太阳神水" count=1
//   event left=.. top=.. width=.. height=.. kind=9 detail="a"/"b"/""
//
// One record a line (a record cannot span lines). Keys may come in any order;
// an omitted key takes its default. The order of lines of one kind is the
// order of the records (square numbers count the square lines). Values:
// integers ("-1"), reals ("2.5"), true/false, texts in double quotes with ""
// for a quote inside (a backslash is an ordinary character), x"C4E3" for
// raw GBK bytes, and for an event detail a list of texts joined by "/".

#include "shared/wdm_text.h"

#include "shared/gbk.h"

#include <charconv>
#include <cmath>
#include <map>
#include <stdexcept>

namespace wdm {

const char* const kMapTextHelp = R"(Map text: one record a line, UTF-8; blank lines and # comments allowed.
  header width=800 height=600 startGround=1 startOffset=10 background="\data\map\48.png"
         floatInterval=0 townMap=0 townGround=0 facing=0        (all on one line)
  sprite layer=0 left=10 top=20 width=64 height=32 picture="\data\map\a.png" mirrored=false z=0
         layer: 0 map, -1 map with priority, 1 top, 2 second background,
         3 third background, 4 floating; z: 0 top, 1 middle, 2 bottom;
         section=1..5 puts a sprite into another section than its layer's
  square left=0 top=560 width=800 height=40 kind=0     kind 0 normal, 1 blocking
  slope  left=.. top=.. width=.. height=.. kind=0      kind 0 left, 1 right
  stair  left=.. top=.. width=.. height=..
  npc       left=.. top=.. width=.. height=.. id=1 ground=1 offset=10
  monster   left=.. top=.. width=.. height=.. id=2 ground=1 offset=30 [flyTop=50 flyLowest=400]
  link      left=.. top=.. width=.. height=.. map=2 ground=0 offset=-1 touch=false facing=0
  animation left=.. top=.. width=.. height=.. effect=3 x=120 y=300 mode="往返"
  item      left=.. top=.. width=.. height=.. name="太阳神水" count=1
  event     left=.. top=.. width=.. height=.. kind=6 detail="a"/"b"   (any detail text)
Values: integers, reals, true/false, "texts" ("" is a quote inside; backslashes
are plain characters), x"C4E3" for raw GBK bytes. Keys in any order; omitted
keys take their defaults (0, false, empty; header 800x600, startOffset 10,
background "\data\map\48.png"). Square numbers follow the square lines in order.
Boxes (grounds, events) under 10 pixels wide or high are not saved.
)";

namespace {

// --- writing the text --------------------------------------------------------

std::string Quote(const std::string& gbkText) {
    bool plain = true;
    for (unsigned char c : gbkText) {
        if (c < 0x20 || c == 0x7F) plain = false;
    }
    std::string utf8 = gbk::ToUtf8(gbkText);
    if (plain && gbk::FromUtf8(utf8) == gbkText) {
        std::string out = "\"";
        for (char c : utf8) {
            out += c;
            if (c == '"') out += '"';
        }
        return out + "\"";
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "x\"";
    for (unsigned char c : gbkText) {
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    return out + "\"";
}

class LineWriter {
public:
    explicit LineWriter(std::string_view kind) : m_line(kind) {}
    LineWriter& Int(std::string_view key, int v) { return Raw(key, std::to_string(v)); }
    LineWriter& Real(std::string_view key, double v) { return Raw(key, gbk::NumberToText(v)); }
    LineWriter& Bool(std::string_view key, bool v) { return Raw(key, v ? "true" : "false"); }
    LineWriter& Text(std::string_view key, const std::string& gbkText) { return Raw(key, Quote(gbkText)); }
    LineWriter& Box(int left, int top, int width, int height) {
        return Int("left", left).Int("top", top).Int("width", width).Int("height", height);
    }
    LineWriter& Raw(std::string_view key, const std::string& value) {
        m_line += ' ';
        m_line += key;
        m_line += '=';
        m_line += value;
        return *this;
    }
    std::string Take(std::string_view comment = {}) {
        if (!comment.empty()) {
            m_line += "  # ";
            m_line += comment;
        }
        return m_line + "\n";
    }

private:
    std::string m_line;
};

// An event as a typed line when its detail is exactly what that kind writes,
// else as a generic line keeping the detail's sub-fields.
std::string EventLine(const EventRecord& e) {
    auto start = [&](std::string_view kind) {
        LineWriter w(kind);
        w.Box(e.left, e.top, e.width, e.height);
        return w;
    };
    switch (e.kind) {
    case kEventNpc: {
        NpcDetail d = ParseNpcDetail(e.detail);
        if (FormatDetail(d) == e.detail) return start("npc").Int("id", d.npcId).Int("ground", d.ground).Real("offset", d.offset).Take();
        break;
    }
    case kEventMonster: {
        MonsterDetail d = ParseMonsterDetail(e.detail);
        if (FormatDetail(d) == e.detail) {
            LineWriter w = start("monster");
            w.Int("id", d.monsterId).Int("ground", d.ground).Real("offset", d.offset);
            if (d.hasFlyingLimits) w.Int("flyTop", d.flyTopOffset).Int("flyLowest", d.flyLowestTop);
            return w.Take();
        }
        break;
    }
    case kEventLink: {
        LinkDetail d = ParseLinkDetail(e.detail);
        if (FormatDetail(d) == e.detail) {
            return start("link").Int("map", d.targetMap).Int("ground", d.targetGround).Int("offset", d.targetOffset)
                .Bool("touch", d.jumpOnTouch).Int("facing", d.facing).Take();
        }
        break;
    }
    case kEventAnimation: {
        AnimationDetail d = ParseAnimationDetail(e.detail);
        if (FormatDetail(d) == e.detail) {
            return start("animation").Int("effect", d.effectId).Int("x", d.x).Int("y", d.y).Text("mode", d.playMode).Take();
        }
        break;
    }
    case kEventItem: {
        ItemDetail d = ParseItemDetail(e.detail);
        if (FormatDetail(d) == e.detail) return start("item").Text("name", d.name).Int("count", d.count).Take();
        break;
    }
    default:
        break;
    }
    std::string detail;
    for (const std::string& f : DetailFields(e.detail)) {
        if (!detail.empty()) detail += '/';
        detail += Quote(f);
    }
    return start("event").Int("kind", e.kind).Raw("detail", detail).Take();
}

const char* const kSpriteHeadings[] = {"map sprites", "top layer", "second background", "third background",
                                       "floating layer"};

// --- reading the text --------------------------------------------------------

struct TextError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Value {
    bool text = false;               // quoted (or a list of quoted texts)
    std::vector<std::string> parts;  // GBK texts
    std::string bare;                // unquoted token
};

class Line {
public:
    Line(std::string_view text) : m_text(text) {}

    // Returns false for a blank or comment line; else reads the record kind
    // and every key=value pair.
    bool Parse() {
        SkipBlanks();
        if (AtEnd()) return false;
        m_kind = Word();
        if (m_kind.empty()) throw TextError("a record begins with its kind (header, sprite, square, ...)");
        for (;;) {
            SkipBlanks();
            if (AtEnd()) break;
            std::string key = Word();
            if (key.empty() || m_pos >= m_text.size() || m_text[m_pos] != '=') {
                throw TextError("expected key=value near \"" + std::string(m_text.substr(m_pos, 20)) + "\"");
            }
            ++m_pos;
            if (m_values.count(key)) throw TextError("key \"" + key + "\" given twice");
            m_values[key] = ReadValue(key);
        }
        return true;
    }

    const std::string& kind() const { return m_kind; }

    int Int(const std::string& key, int def = 0) {
        const Value* v = Take(key);
        if (!v) return def;
        long long n = 0;
        if (v->text || !Whole(v->bare, std::from_chars(v->bare.data(), v->bare.data() + v->bare.size(), n)) ||
            n < INT32_MIN || n > INT32_MAX) {
            throw TextError(key + ": expected an integer");
        }
        return static_cast<int>(n);
    }
    double Real(const std::string& key, double def = 0) {
        const Value* v = Take(key);
        if (!v) return def;
        double d = 0;
        if (v->text || !Whole(v->bare, std::from_chars(v->bare.data(), v->bare.data() + v->bare.size(), d)) ||
            !std::isfinite(d)) {
            throw TextError(key + ": expected a number");
        }
        return d;
    }
    bool Bool(const std::string& key, bool def = false) {
        const Value* v = Take(key);
        if (!v) return def;
        if (!v->text && v->bare == "true") return true;
        if (!v->text && v->bare == "false") return false;
        throw TextError(key + ": expected true or false");
    }
    std::string Text(const std::string& key, std::string def = {}) {
        const Value* v = Take(key);
        if (!v) return def;
        if (!v->text || v->parts.size() != 1) throw TextError(key + ": expected a text in double quotes");
        return v->parts[0];
    }
    std::vector<std::string> TextList(const std::string& key) {
        const Value* v = Take(key);
        if (!v) return {std::string()};
        if (!v->text) throw TextError(key + ": expected texts in double quotes joined by /");
        return v->parts;
    }
    bool Has(const std::string& key) const { return m_values.count(key) != 0; }

    // Every key must have been used.
    void Finish() const {
        for (const auto& [key, value] : m_values) {
            if (!m_used.count(key)) throw TextError("unknown key \"" + key + "\" for " + m_kind);
        }
    }

private:
    static bool Whole(const std::string& s, std::from_chars_result r) {
        return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
    }

    const Value* Take(const std::string& key) {
        auto it = m_values.find(key);
        if (it == m_values.end()) return nullptr;
        m_used[key] = true;
        return &it->second;
    }

    bool AtEnd() const { return m_pos >= m_text.size() || m_text[m_pos] == '#'; }
    void SkipBlanks() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r')) ++m_pos;
    }
    std::string Word() {
        std::size_t start = m_pos;
        while (m_pos < m_text.size() && std::isalpha(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
        return std::string(m_text.substr(start, m_pos - start));
    }

    Value ReadValue(const std::string& key) {
        Value v;
        if (m_pos < m_text.size() && (m_text[m_pos] == '"' || m_text.substr(m_pos, 2) == "x\"")) {
            v.text = true;
            for (;;) {
                v.parts.push_back(ReadText(key));
                if (m_pos < m_text.size() && m_text[m_pos] == '/') {
                    ++m_pos;
                    continue;
                }
                break;
            }
        } else {
            std::size_t start = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != ' ' && m_text[m_pos] != '\t' && m_text[m_pos] != '\r') ++m_pos;
            v.bare = std::string(m_text.substr(start, m_pos - start));
            if (v.bare.empty()) throw TextError(key + ": missing value");
        }
        if (m_pos < m_text.size() && m_text[m_pos] != ' ' && m_text[m_pos] != '\t' && m_text[m_pos] != '\r') {
            throw TextError(key + ": unexpected text after the value");
        }
        return v;
    }

    // One "text" (UTF-8 -> GBK) or x"hex" (raw bytes).
    std::string ReadText(const std::string& key) {
        if (m_text.substr(m_pos, 2) == "x\"") {
            m_pos += 2;
            std::string bytes;
            auto digit = [](char c) {
                return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            };
            while (m_pos + 1 < m_text.size() && m_text[m_pos] != '"') {
                int hi = digit(m_text[m_pos]), lo = digit(m_text[m_pos + 1]);
                if (hi < 0 || lo < 0) throw TextError(key + ": x\"...\" holds pairs of hex digits");
                bytes += static_cast<char>(hi * 16 + lo);
                m_pos += 2;
            }
            if (m_pos >= m_text.size() || m_text[m_pos] != '"') throw TextError(key + ": x\"...\" is not closed");
            ++m_pos;
            return bytes;
        }
        if (m_pos >= m_text.size() || m_text[m_pos] != '"') throw TextError(key + ": expected a text in double quotes");
        ++m_pos;
        std::string utf8;
        for (;;) {
            if (m_pos >= m_text.size()) throw TextError(key + ": the text is not closed (missing \")");
            char c = m_text[m_pos++];
            if (c == '"') {
                if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                    utf8 += '"';
                    ++m_pos;
                    continue;
                }
                break;
            }
            utf8 += c;
        }
        std::string gbkText = gbk::FromUtf8(utf8);
        if (gbk::ToUtf8(gbkText) != utf8) throw TextError(key + ": the text holds characters GBK cannot hold");
        return gbkText;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_kind;
    std::map<std::string, Value> m_values;
    std::map<std::string, bool> m_used;
};

struct Box {
    int left, top, width, height;
};
Box ReadBox(Line& l) { return Box{l.Int("left"), l.Int("top"), l.Int("width"), l.Int("height")}; }

EventRecord MakeEvent(const Box& b, int kind, std::string detail) {
    return EventRecord{b.left, b.top, b.width, b.height, kind, std::move(detail)};
}

void ReadRecord(Line& l, MapData& map, bool& haveHeader) {
    const std::string& kind = l.kind();
    if (kind == "header") {
        if (haveHeader) throw TextError("a second header line");
        haveHeader = true;
        MapHeader h;
        h.width = l.Int("width", h.width);
        h.height = l.Int("height", h.height);
        h.startGround = l.Int("startGround", h.startGround);
        h.startOffset = l.Int("startOffset", h.startOffset);
        h.background = l.Text("background", h.background);
        h.floatInterval = l.Real("floatInterval", h.floatInterval);
        h.townMap = l.Int("townMap");
        h.townGround = l.Int("townGround");
        h.facing = l.Int("facing");
        map.header = h;
    } else if (kind == "sprite") {
        SpriteRecord s;
        s.layer = l.Int("layer");
        s.left = l.Int("left");
        s.top = l.Int("top");
        s.width = l.Int("width");
        s.height = l.Int("height");
        s.picture = l.Text("picture");
        s.mirrored = l.Bool("mirrored");
        s.zLevel = l.Int("z");
        int list = SpriteListOfLayer(s.layer);
        if (l.Has("section")) {
            int section = l.Int("section");
            if (section < 1 || section > kSpriteSections) throw TextError("section: sprites go to sections 1 to 5");
            list = section - 1;
        }
        if (list < 0) throw TextError("layer " + std::to_string(s.layer) + " has no section; give section=1..5");
        map.sprites[static_cast<std::size_t>(list)].push_back(std::move(s));
    } else if (kind == "square" || kind == "slope" || kind == "stair") {
        Box b = ReadBox(l);
        GroundRecord g{b.left, b.top, b.width, b.height, l.Int("kind")};
        (kind == "square" ? map.squares : kind == "slope" ? map.slopes : map.stairs).push_back(g);
    } else if (kind == "npc") {
        Box b = ReadBox(l);
        NpcDetail d{l.Int("id"), l.Int("ground"), l.Real("offset")};
        map.events.push_back(MakeEvent(b, kEventNpc, FormatDetail(d)));
    } else if (kind == "monster") {
        Box b = ReadBox(l);
        MonsterDetail d;
        d.monsterId = l.Int("id");
        d.ground = l.Int("ground");
        d.offset = l.Real("offset");
        d.hasFlyingLimits = l.Has("flyTop") || l.Has("flyLowest");
        d.flyTopOffset = l.Int("flyTop");
        d.flyLowestTop = l.Int("flyLowest");
        map.events.push_back(MakeEvent(b, kEventMonster, FormatDetail(d)));
    } else if (kind == "link") {
        Box b = ReadBox(l);
        LinkDetail d{l.Int("map"), l.Int("ground"), l.Int("offset"), l.Bool("touch"), l.Int("facing")};
        map.events.push_back(MakeEvent(b, kEventLink, FormatDetail(d)));
    } else if (kind == "animation") {
        Box b = ReadBox(l);
        AnimationDetail d{l.Int("effect"), l.Int("x"), l.Int("y"), l.Text("mode", gbk::Lit("普通"))};
        map.events.push_back(MakeEvent(b, kEventAnimation, FormatDetail(d)));
    } else if (kind == "item") {
        Box b = ReadBox(l);
        ItemDetail d{l.Text("name"), l.Int("count")};
        map.events.push_back(MakeEvent(b, kEventItem, FormatDetail(d)));
    } else if (kind == "event") {
        Box b = ReadBox(l);
        int k = l.Int("kind");
        map.events.push_back(MakeEvent(b, k, JoinDetail(l.TextList("detail"))));
    } else {
        throw TextError("unknown record kind \"" + kind + "\"");
    }
    l.Finish();
}

}  // namespace

std::string MapToText(const MapData& map) {
    std::string out;
    const MapHeader& h = map.header;
    if (h.fieldCount < 9) out += "# the file's header had " + std::to_string(h.fieldCount) + " fields\n";
    out += LineWriter("header")
               .Int("width", h.width)
               .Int("height", h.height)
               .Int("startGround", h.startGround)
               .Int("startOffset", h.startOffset)
               .Text("background", h.background)
               .Real("floatInterval", h.floatInterval)
               .Int("townMap", h.townMap)
               .Int("townGround", h.townGround)
               .Int("facing", h.facing)
               .Take();
    for (std::size_t list = 0; list < kSpriteSections; ++list) {
        if (map.sprites[list].empty()) continue;
        out += std::string("\n# ") + kSpriteHeadings[list] + "\n";
        for (const SpriteRecord& s : map.sprites[list]) {
            LineWriter w("sprite");
            w.Int("layer", s.layer).Box(s.left, s.top, s.width, s.height).Text("picture", s.picture)
                .Bool("mirrored", s.mirrored).Int("z", s.zLevel);
            if (SpriteListOfLayer(s.layer) != static_cast<int>(list)) w.Int("section", static_cast<int>(list) + 1);
            out += w.Take();
        }
    }
    struct Grounds {
        const char* heading;
        const char* kind;
        const std::vector<GroundRecord>* list;
    };
    for (const Grounds& g : {Grounds{"squares", "square", &map.squares}, Grounds{"slopes", "slope", &map.slopes},
                             Grounds{"stairs", "stair", &map.stairs}}) {
        if (g.list->empty()) continue;
        out += std::string("\n# ") + g.heading + "\n";
        for (std::size_t i = 0; i < g.list->size(); ++i) {
            const GroundRecord& r = (*g.list)[i];
            LineWriter w(g.kind);
            w.Box(r.left, r.top, r.width, r.height).Int("kind", r.kind);
            out += g.list == &map.squares ? w.Take("ground " + std::to_string(i + 1)) : w.Take();
        }
    }
    if (!map.events.empty()) {
        out += "\n# events\n";
        for (const EventRecord& e : map.events) out += EventLine(e);
    }
    return out;
}

TextResult MapFromText(std::string_view utf8Text) {
    TextResult result;
    bool haveHeader = false;
    int lineNo = 0;
    std::size_t start = 0;
    try {
        while (start <= utf8Text.size()) {
            std::size_t end = utf8Text.find('\n', start);
            if (end == std::string_view::npos) end = utf8Text.size();
            ++lineNo;
            Line line(utf8Text.substr(start, end - start));
            if (line.Parse()) ReadRecord(line, result.map, haveHeader);
            start = end + 1;
        }
    } catch (const TextError& e) {
        TextResult failed;
        failed.ok = false;
        failed.line = lineNo;
        failed.error = "line " + std::to_string(lineNo) + ": " + e.what();
        return failed;
    }
    return result;
}

}  // namespace wdm
