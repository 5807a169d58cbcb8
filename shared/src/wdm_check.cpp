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
            Add(ProblemKind::GroundNumber, ProblemPlace::Header, 0,
                {"header startGround " + N(h.startGround) + ": no such square" + Have(squares),
                 "角色初始地层编号 " + N(h.startGround) + ": 没有这个正方形" + HaveZh(squares)});
        }
        if (h.townMap > 0) {
            CheckTargetMap(ProblemPlace::Header, 0, {"header townMap", "回城地图编号"}, h.townMap, h.townGround);
        } else if (h.townGround != 0 && (h.townGround < 1 || h.townGround > squares)) {
            Add(ProblemKind::GroundNumber, ProblemPlace::Header, 0,
                {"header townGround " + N(h.townGround) + ": no such square" + Have(squares),
                 "回城初始地层编号 " + N(h.townGround) + ": 没有这个正方形" + HaveZh(squares)});
        }
        CheckEvents(squares);
        CheckPictures();
        CheckSmallBoxes();
        return m_problems;
    }

private:
    // One problem line in English and in Chinese (UTF-8).
    struct Line {
        std::string en, zh;
    };

    static std::string N(long long n) { return std::to_string(n); }
    static std::size_t SavedSquares(const MapData& map) {
        std::size_t n = 0;
        for (const auto& g : map.squares) n += IsSavedBox(g.width, g.height);
        return n;
    }
    static std::string Have(int squares) { return " (the map has " + N(squares) + " squares)"; }
    static std::string HaveZh(int squares) { return " (地图共有 " + N(squares) + " 个正方形)"; }

    void Add(ProblemKind kind, ProblemPlace place, int index, Line text, int section = 0) {
        m_problems.push_back(MapProblem{kind, place, section, index, std::move(text.en), std::move(text.zh)});
    }

    void CheckEvents(int squares) {
        for (std::size_t i = 0; i < m_map.events.size(); ++i) {
            const EventRecord& e = m_map.events[i];
            if (!IsSavedBox(e.width, e.height)) continue;  // reported as dropped
            const Line name{"event " + N(static_cast<long long>(i) + 1), "事件 " + N(static_cast<long long>(i) + 1)};
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
                    Add(ProblemKind::LinkTarget, ProblemPlace::Event, at,
                        {name.en + " (link): target map 0 leads nowhere", name.zh + " (地图链接): 地图编号为 0, 链接不到任何地图"});
                } else {
                    CheckTargetMap(ProblemPlace::Event, at, {name.en + " (link) target map", name.zh + " (地图链接) 地图编号"},
                                   d.targetMap < 0 ? -d.targetMap : d.targetMap, d.targetGround);
                }
                continue;
            }
            case kEventAnimation:
            case kEventItem:
                continue;
            default:
                Add(ProblemKind::EventKind, ProblemPlace::Event, at,
                    {name.en + ": unknown event kind " + N(e.kind), name.zh + ": 未知的事件类型 " + N(e.kind)});
                continue;
            }
            if (ground < 1 || ground > squares) {
                const bool npc = e.kind == kEventNpc;
                Add(ProblemKind::GroundNumber, ProblemPlace::Event, at,
                    {name.en + (npc ? " (NPC)" : " (monster)") + ": ground " + N(ground) + ": no such square" + Have(squares),
                     name.zh + (npc ? " (NPC)" : " (怪物)") + ": 地层编号 " + N(ground) + ": 没有这个正方形" + HaveZh(squares)});
            }
        }
    }

    // A map number of the map table and a ground on that map (0: its start).
    void CheckTargetMap(ProblemPlace place, int index, const Line& what, int mapNumber, int ground) {
        if (!m_options.mapTable) return;
        const auto& table = *m_options.mapTable;
        const Line head{what.en + " " + N(mapNumber), what.zh + " " + N(mapNumber)};
        if (mapNumber < 1 || static_cast<std::size_t>(mapNumber) > table.size()) {
            Add(ProblemKind::LinkTarget, place, index,
                {head.en + ": not in the map table (" + N(static_cast<long long>(table.size())) + " rows)",
                 head.zh + ": 地图表中没有这一行 (共 " + N(static_cast<long long>(table.size())) + " 行)"});
            return;
        }
        if (m_options.dataDir.empty() || ground == 0) return;
        const std::string& file = table[static_cast<std::size_t>(mapNumber) - 1];
        const std::string path = m_paths.Resolve(gbk::Lit("\\data\\地图\\") + file);
        ReadResult target = ReadMap(path);
        const std::string name = gbk::ToUtf8(file);
        if (!target) {
            Add(ProblemKind::LinkTarget, place, index,
                {head.en + ": map file " + name + " cannot be read", head.zh + ": 无法读取地图文件 " + name});
            return;
        }
        const int squares = static_cast<int>(target.map.squares.size());
        if (ground < 1 || ground > squares) {
            Add(ProblemKind::LinkTarget, place, index,
                {head.en + ": ground " + N(ground) + ": no such square on " + name + Have(squares),
                 head.zh + ": 地层编号 " + N(ground) + ": " + name + " 上没有这个正方形" + HaveZh(squares)});
        }
    }

    void CheckPictures() {
        if (m_options.dataDir.empty()) return;
        std::set<std::string> reported;
        auto check = [&](ProblemPlace place, int section, int index, const Line& what, const std::string& picture) {
            if (reported.count(picture)) return;
            if (!FileExists(m_paths.Resolve(picture))) {
                reported.insert(picture);
                const std::string name = gbk::ToUtf8(picture);
                Add(ProblemKind::Picture, place, index, {what.en + ": picture " + name + " not found", what.zh + ": 找不到图片 " + name},
                    section);
            }
        };
        check(ProblemPlace::Header, 0, 0, {"header background", "整体背景"}, m_map.header.background);
        static const char* const kSectionsZh[] = {"地图精灵", "顶层精灵", "二层背景", "三层背景", "飘动背景"};
        for (std::size_t list = 0; list < m_map.sprites.size(); ++list) {
            for (std::size_t i = 0; i < m_map.sprites[list].size(); ++i) {
                const long long n = static_cast<long long>(i) + 1;
                check(ProblemPlace::Sprite, static_cast<int>(list), static_cast<int>(i),
                      {"sprite " + N(n) + " of section " + N(static_cast<long long>(list) + 1),
                       std::string(list < 5 ? kSectionsZh[list] : "精灵") + " 第 " + N(n) + " 个精灵"},
                      m_map.sprites[list][i].picture);
            }
        }
    }

    void CheckSmallBoxes() {
        struct Kind {
            const char* name;
            const char* nameZh;
            const std::vector<GroundRecord>* list;
            ProblemPlace place;
        };
        for (const Kind& k : {Kind{"square", "正方形", &m_map.squares, ProblemPlace::Square},
                              Kind{"slope", "三角形", &m_map.slopes, ProblemPlace::Slope},
                              Kind{"stair", "楼梯", &m_map.stairs, ProblemPlace::Stair}}) {
            for (std::size_t i = 0; i < k.list->size(); ++i) {
                const GroundRecord& g = (*k.list)[i];
                if (IsSavedBox(g.width, g.height)) continue;
                const std::string n = N(static_cast<long long>(i) + 1);
                Line line{std::string(k.name) + " " + n + " (" + Box(g.width, g.height) + ") is under 10 pixels and is dropped when saved",
                          std::string(k.nameZh) + " " + n + " (" + Box(g.width, g.height) + ") 小于10像素, 保存时会被丢弃"};
                if (k.list == &m_map.squares) {
                    line.en += "; the squares after it move up one number";
                    line.zh += "; 其后的正方形编号都会减一";
                }
                Add(ProblemKind::SmallBox, k.place, static_cast<int>(i), line);
            }
        }
        for (std::size_t i = 0; i < m_map.events.size(); ++i) {
            const EventRecord& e = m_map.events[i];
            if (!IsSavedBox(e.width, e.height)) {
                const std::string n = N(static_cast<long long>(i) + 1);
                Add(ProblemKind::SmallBox, ProblemPlace::Event, static_cast<int>(i),
                    {"event " + n + " (" + Box(e.width, e.height) + ") is under 10 pixels and is dropped when saved",
                     "事件 " + n + " (" + Box(e.width, e.height) + ") 小于10像素, 保存时会被丢弃"});
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
