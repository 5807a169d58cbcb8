#include "shared/wdm_check.h"

#include "shared/gbk.h"
#include "shared/paths.h"

#include <filesystem>
#include <set>

namespace wdm {
namespace {

std::string Box(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

std::string Unquote(std::string_view arg) {
    std::size_t b = 0, e = arg.size();
    while (b < e && (arg[b] == ' ' || arg[b] == '\t' || arg[b] == '\r' || arg[b] == '\n')) ++b;
    while (e > b && (arg[e - 1] == ' ' || arg[e - 1] == '\t' || arg[e - 1] == '\r' || arg[e - 1] == '\n')) --e;
    if (e - b >= 2 && (arg[b] == '"' || arg[b] == '\'') && arg[e - 1] == arg[b]) return std::string(arg.substr(b + 1, e - b - 2));
    return std::string(arg.substr(b, e - b));
}

bool FileExists(const std::string& utf8Path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())), ec);
}

class Checker {
public:
    Checker(const MapData& map, const CheckOptions& options)
        : m_map(map), m_options(options), m_paths(std::string(), options.dataDir) {}

    std::vector<MapProblem> Run() {
        const MapHeader& h = m_map.header;
        // Ground numbers count the squares as the map is saved.
        const int squares = static_cast<int>(SavedSquares(m_map));
        if (h.startGround < 1 || h.startGround > squares) {
            Add(ProblemKind::GroundNumber, ProblemPlace::Header, 0, "header startGround " + std::to_string(h.startGround) + ": no such square" + Have(squares));
        }
        if (h.townMap > 0) {
            CheckTargetMap(ProblemPlace::Header, 0, "header townMap", h.townMap, h.townGround);
        } else if (h.townGround != 0 && (h.townGround < 1 || h.townGround > squares)) {
            Add(ProblemKind::GroundNumber, ProblemPlace::Header, 0, "header townGround " + std::to_string(h.townGround) + ": no such square" + Have(squares));
        }
        CheckEvents(squares);
        CheckPictures();
        CheckSmallBoxes();
        return m_problems;
    }

private:
    static std::size_t SavedSquares(const MapData& map) {
        std::size_t n = 0;
        for (const auto& g : map.squares) n += IsSavedBox(g.width, g.height);
        return n;
    }
    static std::string Have(int squares) { return " (the map has " + std::to_string(squares) + " squares)"; }

    void Add(ProblemKind kind, ProblemPlace place, int index, std::string text, int section = 0) {
        m_problems.push_back(MapProblem{kind, place, section, index, std::move(text)});
    }

    void CheckEvents(int squares) {
        for (std::size_t i = 0; i < m_map.events.size(); ++i) {
            const EventRecord& e = m_map.events[i];
            if (!IsSavedBox(e.width, e.height)) continue;  // reported as dropped
            const std::string name = "event " + std::to_string(i + 1);
            const int at = static_cast<int>(i);
            int ground = 0;
            switch (e.kind) {
            case kEventNpc:
                ground = ParseNpcDetail(e.detail).ground;
                break;
            case kEventMonster:
                ground = ParseMonsterDetail(e.detail).ground;
                break;
            case kEventLink: {
                const LinkDetail d = ParseLinkDetail(e.detail);
                if (d.targetMap == 0) {
                    Add(ProblemKind::LinkTarget, ProblemPlace::Event, at, name + " (link): target map 0 leads nowhere");
                } else {
                    CheckTargetMap(ProblemPlace::Event, at, name + " (link) target map", d.targetMap < 0 ? -d.targetMap : d.targetMap, d.targetGround);
                }
                continue;
            }
            case kEventAnimation:
            case kEventItem:
                continue;
            default:
                Add(ProblemKind::EventKind, ProblemPlace::Event, at, name + ": unknown event kind " + std::to_string(e.kind));
                continue;
            }
            if (ground < 1 || ground > squares) {
                Add(ProblemKind::GroundNumber, ProblemPlace::Event, at, name + (e.kind == kEventNpc ? " (NPC)" : " (monster)") + ": ground " + std::to_string(ground) +
                    ": no such square" + Have(squares));
            }
        }
    }

    // A map number of the map table and a ground on that map (0: its start).
    void CheckTargetMap(ProblemPlace place, int index, const std::string& what, int mapNumber, int ground) {
        if (!m_options.mapTable) return;
        const auto& table = *m_options.mapTable;
        if (mapNumber < 1 || static_cast<std::size_t>(mapNumber) > table.size()) {
            Add(ProblemKind::LinkTarget, place, index, what + " " + std::to_string(mapNumber) + ": not in the map table (" + std::to_string(table.size()) + " rows)");
            return;
        }
        if (m_options.dataDir.empty() || ground == 0) return;
        const std::string& file = table[static_cast<std::size_t>(mapNumber) - 1];
        const std::string path = m_paths.Resolve(gbk::Lit("\\data\\地图\\") + file);
        ReadResult target = ReadMap(path);
        if (!target) {
            Add(ProblemKind::LinkTarget, place, index, what + " " + std::to_string(mapNumber) + ": map file " + gbk::ToUtf8(file) + " cannot be read");
            return;
        }
        const int squares = static_cast<int>(target.map.squares.size());
        if (ground < 1 || ground > squares) {
            Add(ProblemKind::LinkTarget, place, index, what + " " + std::to_string(mapNumber) + ": ground " + std::to_string(ground) + ": no such square on " +
                gbk::ToUtf8(file) + Have(squares));
        }
    }

    void CheckPictures() {
        if (m_options.dataDir.empty()) return;
        std::set<std::string> reported;
        auto check = [&](ProblemPlace place, int section, int index, const std::string& what, const std::string& picture) {
            if (reported.count(picture)) return;
            if (!FileExists(m_paths.Resolve(picture))) {
                reported.insert(picture);
                Add(ProblemKind::Picture, place, index, what + ": picture " + gbk::ToUtf8(picture) + " not found", section);
            }
        };
        check(ProblemPlace::Header, 0, 0, "header background", m_map.header.background);
        for (std::size_t list = 0; list < m_map.sprites.size(); ++list) {
            for (std::size_t i = 0; i < m_map.sprites[list].size(); ++i) {
                check(ProblemPlace::Sprite, static_cast<int>(list), static_cast<int>(i), "sprite " + std::to_string(i + 1) + " of section " + std::to_string(list + 1),
                      m_map.sprites[list][i].picture);
            }
        }
    }

    void CheckSmallBoxes() {
        struct Kind {
            const char* name;
            const std::vector<GroundRecord>* list;
            ProblemPlace place;
        };
        for (const Kind& k : {Kind{"square", &m_map.squares, ProblemPlace::Square}, Kind{"slope", &m_map.slopes, ProblemPlace::Slope},
                              Kind{"stair", &m_map.stairs, ProblemPlace::Stair}}) {
            for (std::size_t i = 0; i < k.list->size(); ++i) {
                const GroundRecord& g = (*k.list)[i];
                if (IsSavedBox(g.width, g.height)) continue;
                std::string line = std::string(k.name) + " " + std::to_string(i + 1) + " (" + Box(g.width, g.height) +
                                   ") is under 10 pixels and is dropped when saved";
                if (k.list == &m_map.squares) line += "; the squares after it move up one number";
                Add(ProblemKind::SmallBox, k.place, static_cast<int>(i), line);
            }
        }
        for (std::size_t i = 0; i < m_map.events.size(); ++i) {
            const EventRecord& e = m_map.events[i];
            if (!IsSavedBox(e.width, e.height)) {
                Add(ProblemKind::SmallBox, ProblemPlace::Event, static_cast<int>(i), "event " + std::to_string(i + 1) + " (" + Box(e.width, e.height) + ") is under 10 pixels and is dropped when saved");
            }
        }
    }

    const MapData& m_map;
    const CheckOptions& m_options;
    paths::DataPaths m_paths;
    std::vector<MapProblem> m_problems;
};

}  // namespace

std::vector<std::string> ScanMapTable(std::string_view gbkText) {
    const std::string text = gbk::ReplaceAll(gbkText, ",,", "");
    const std::string& call = gbk::Lit("初始地图");
    std::vector<std::string> rows;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = gbk::Find(text, call, pos);
        if (at == gbk::npos) break;
        pos = at + call.size();
        const std::size_t lineStart = text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
        if (gbk::Find(std::string_view(text).substr(lineStart, at - lineStart), "--") != gbk::npos) continue;
        std::size_t i = pos;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i >= text.size() || text[i] != '(') continue;
        // Arguments up to the closing parenthesis, split at commas outside quotes.
        std::vector<std::string> args(1);
        char quote = 0;
        for (++i; i < text.size(); i += gbk::CharLength(text, i)) {
            const char c = text[i];
            const std::size_t n = gbk::CharLength(text, i);
            if (quote) {
                if (n == 1 && c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == ',') {
                args.emplace_back();
                continue;
            } else if (c == ')') {
                break;
            }
            args.back().append(text, i, n);
        }
        pos = i;
        rows.push_back(args.size() >= 2 ? Unquote(args[1]) : std::string());
    }
    return rows;
}

std::vector<MapProblem> CheckMap(const MapData& map, const CheckOptions& options) {
    return Checker(map, options).Run();
}

}  // namespace wdm
