#include "gameplay/save_format.h"

#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

#include "core/random.h"
#include "gameplay/data_tables.h"
#include "shared/gbk.h"

using Json = nlohmann::ordered_json;

namespace {

// Bounds of what a running game can reach; anything past them was not
// written by the game.
constexpr double kMaxCoordinate = 1'000'000;
constexpr double kMaxPoints = 1'000'000'000;
constexpr double kMaxSeconds = 1'000'000'000;
constexpr int kMaxTableRow = 1'000'000;
constexpr std::size_t kMaxNpcs = 100'000;
constexpr std::size_t kMaxText = 4096;

// ------------------------------------------------------------ writing

Json Ref(const SavedRef& r) { return Json{{"number", r.number}, {"name", gbk::ToUtf8(r.name)}}; }

template <std::size_t N>
Json Refs(const std::array<SavedRef, N>& cells) {
    Json a = Json::array();
    for (const SavedRef& r : cells) a.push_back(Ref(r));
    return a;
}

Json Status(bool on, const SavedStatus& s) {
    return Json{{"active", on}, {"elapsed", s[0]}, {"duration", s[1]}, {"amountPerTick", s[2]}, {"lastTick", s[3]}};
}

// ------------------------------------------------------------ reading

// Walks the document, remembering the first field that is missing, of the
// wrong type or out of range; after a failure every read returns a default
// and the caller checks ok() once at the end.
class Reader {
public:
    bool ok() const { return m_bad.empty(); }
    const std::string& bad() const { return m_bad; }
    const std::string& why() const { return m_why; }

    const Json* Field(const Json& obj, const std::string& path, const char* key) {
        if (!ok()) return nullptr;
        if (!obj.is_object()) return Fail(path, "not an object");
        auto it = obj.find(key);
        if (it == obj.end()) return Fail(Join(path, key), "missing");
        return &*it;
    }
    int Int(const Json& obj, const std::string& path, const char* key, long long lo, long long hi) {
        const Json* v = Field(obj, path, key);
        return v ? IntValue(*v, Join(path, key), lo, hi) : 0;
    }
    int IntValue(const Json& v, const std::string& path, long long lo, long long hi) {
        if (!ok()) return 0;
        if (!v.is_number_integer()) return Fail(path, "not a whole number"), 0;
        long long n = v.is_number_unsigned() && v.get<unsigned long long>() > static_cast<unsigned long long>(hi)
                          ? hi + 1
                          : v.get<long long>();
        if (n < lo || n > hi) return Fail(path, "out of range"), 0;
        return static_cast<int>(n);
    }
    std::uint32_t Colour(const Json& obj, const std::string& path, const char* key) {
        const Json* v = Field(obj, path, key);
        if (!v || !ok()) return 0;
        if (!v->is_number_unsigned() || v->get<unsigned long long>() > 0xFFFFFFFFull)
            return Fail(Join(path, key), "not a colour"), 0;
        return static_cast<std::uint32_t>(v->get<unsigned long long>());
    }
    double Real(const Json& obj, const std::string& path, const char* key, double lo, double hi) {
        const Json* v = Field(obj, path, key);
        if (!v || !ok()) return 0;
        if (!v->is_number()) return Fail(Join(path, key), "not a number"), 0;
        double d = v->get<double>();
        if (!std::isfinite(d) || d < lo || d > hi) return Fail(Join(path, key), "out of range"), 0;
        return d;
    }
    bool Bool(const Json& obj, const std::string& path, const char* key) {
        const Json* v = Field(obj, path, key);
        if (!v || !ok()) return false;
        if (!v->is_boolean()) return Fail(Join(path, key), "not true or false"), false;
        return v->get<bool>();
    }
    // A UTF-8 text as GBK.
    std::string Text(const Json& obj, const std::string& path, const char* key) {
        const Json* v = Field(obj, path, key);
        if (!v || !ok()) return {};
        if (!v->is_string()) return Fail(Join(path, key), "not a text"), std::string();
        const std::string& s = v->get_ref<const std::string&>();
        if (s.size() > kMaxText) return Fail(Join(path, key), "too long"), std::string();
        return gbk::FromUtf8(s);
    }
    // The array `key` with exactly `n` entries (n < 0: at most -n).
    const Json* Array(const Json& obj, const std::string& path, const char* key, long long n) {
        const Json* v = Field(obj, path, key);
        if (!v || !ok()) return nullptr;
        const std::string p = Join(path, key);
        if (!v->is_array()) return Fail(p, "not a list");
        if (n >= 0 && v->size() != static_cast<std::size_t>(n))
            return Fail(p, "has " + std::to_string(v->size()) + " entries, not " + std::to_string(n));
        if (n < 0 && v->size() > static_cast<std::size_t>(-n)) return Fail(p, "too many entries");
        return v;
    }
    SavedRef RefValue(const Json& v, const std::string& path) {
        SavedRef r;
        r.number = Int(v, path, "number", 0, kMaxTableRow);
        r.name = Text(v, path, "name");
        return r;
    }
    template <std::size_t N>
    void Refs(const Json& obj, const char* key, std::array<SavedRef, N>& out) {
        const Json* a = Array(obj, "", key, static_cast<long long>(N));
        for (std::size_t i = 0; a && ok() && i < N; ++i)
            out[i] = RefValue((*a)[i], std::string(key) + "[" + std::to_string(i) + "]");
    }
    std::nullptr_t Fail(const std::string& path, const std::string& why) {
        if (ok()) {
            m_bad = path.empty() ? "(file)" : path;
            m_why = why;
        }
        return nullptr;
    }
    static std::string Join(const std::string& path, const char* key) {
        return path.empty() ? std::string(key) : path + "." + key;
    }

private:
    std::string m_bad, m_why;
};

SavedStatus ReadStatus(Reader& r, const Json& root, const char* key, bool& active) {
    SavedStatus s{};
    const Json* o = r.Field(root, "", key);
    if (!o) return s;
    active = r.Bool(*o, key, "active");
    s[0] = static_cast<float>(r.Real(*o, key, "elapsed", 0, kMaxSeconds));
    s[1] = static_cast<float>(r.Real(*o, key, "duration", 0, kMaxSeconds));
    s[2] = static_cast<float>(r.Real(*o, key, "amountPerTick", 0, kMaxPoints));
    s[3] = static_cast<float>(r.Real(*o, key, "lastTick", 0, kMaxSeconds));
    return s;
}

void ReadPlayer(Reader& r, const Json& root, SaveGame& s) {
    const Json* p = r.Field(root, "", "player");
    if (!p) return;
    const std::string k = "player";
    s.mapFile = r.Text(*p, k, "map");
    if (r.ok() && !IsPlainMapFileName(s.mapFile)) r.Fail("player.map", "not a map file name");
    s.x = static_cast<float>(r.Real(*p, k, "x", -kMaxCoordinate, kMaxCoordinate));
    s.y = static_cast<float>(r.Real(*p, k, "y", -kMaxCoordinate, kMaxCoordinate));
    s.ground = r.Int(*p, k, "ground", -kMaxTableRow, kMaxTableRow);
    s.facing = r.Int(*p, k, "facing", 1, 2);
    s.level = r.Int(*p, k, "level", 1, kMaxTableRow);
    s.experience = r.Int(*p, k, "experience", 0, std::numeric_limits<int>::max());
    s.gold = r.Int(*p, k, "gold", std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    s.maxHp = static_cast<float>(r.Real(*p, k, "maxHp", 0, kMaxPoints));
    s.hp = static_cast<float>(r.Real(*p, k, "hp", 0, kMaxPoints));
    s.maxMp = static_cast<float>(r.Real(*p, k, "maxMp", 0, kMaxPoints));
    s.mp = static_cast<float>(r.Real(*p, k, "mp", 0, kMaxPoints));
    s.restTimer = static_cast<float>(r.Real(*p, k, "restTimer", 0, kMaxSeconds));
    s.regenCounter = r.Int(*p, k, "regenCounter", 0, 1'000'000);
    s.poison = ReadStatus(r, root, "poison", s.poisoned);
    s.curse = ReadStatus(r, root, "curse", s.cursed);
    if (const Json* d = r.Field(root, "", "doubleExperience")) {
        s.doubleExpElapsed = static_cast<float>(r.Real(*d, "doubleExperience", "elapsed", 0, kMaxSeconds));
        s.doubleExpTotal = static_cast<float>(r.Real(*d, "doubleExperience", "total", 0, kMaxSeconds));
        s.doubleExpMultiplier = static_cast<float>(r.Real(*d, "doubleExperience", "multiplier", 0, 100));
    }
}

void ReadSkills(Reader& r, const Json& root, SaveGame& s) {
    const Json* a = r.Array(root, "", "skills", SaveGame::kSkillSlots);
    for (std::size_t i = 0; a && r.ok() && i < s.skills.size(); ++i) {
        const std::string path = "skills[" + std::to_string(i) + "]";
        s.skills[i].skill = r.RefValue((*a)[i], path);
        s.skills[i].level = r.Int((*a)[i], path, "level", 0, kMaxTableRow);
        s.skills[i].key = r.Int((*a)[i], path, "key", 0, 255);
    }
    r.Refs(root, "skillBar", s.bar);
}

void ReadProgress(Reader& r, const Json& root, SaveGame& s) {
    const Json* q = r.Array(root, "", "quests", SaveGame::kQuestSlots);
    for (std::size_t i = 0; q && r.ok() && i < s.quests.size(); ++i)
        s.quests[i] = r.IntValue((*q)[i], "quests[" + std::to_string(i) + "]", 0, kMaxTableRow);
    const Json* n = r.Array(root, "", "npcs", -static_cast<long long>(kMaxNpcs));
    for (std::size_t i = 0; n && r.ok() && i < n->size(); ++i) {
        const std::string path = "npcs[" + std::to_string(i) + "]";
        constexpr long long lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
        NpcStateRecord rec;
        rec.variable = r.Int((*n)[i], path, "variable", lo, hi);
        rec.questState = r.Int((*n)[i], path, "questState", lo, hi);
        rec.questVariable = r.Int((*n)[i], path, "questVariable", lo, hi);
        s.npcs.push_back(rec);
    }
    const Json* c = r.Array(root, "", "chat", -static_cast<long long>(SaveGame::kChatLines));
    for (std::size_t i = 0; c && r.ok() && i < c->size(); ++i) {
        const std::string path = "chat[" + std::to_string(i) + "]";
        SavedChatLine line;
        line.label = r.Text((*c)[i], path, "label");
        line.text = r.Text((*c)[i], path, "text");
        line.labelColour = r.Colour((*c)[i], path, "labelColour");
        line.textColour = r.Colour((*c)[i], path, "textColour");
        s.chat.push_back(std::move(line));
    }
}

// Empty (no state saved) or a state Random::State() could have written.
bool IsGeneratorState(const std::string& text) {
    if (text.empty()) return true;
    if (text.size() > 20'000) return false;
    Random random;
    return random.SetState(text);
}

// Empties `ref` when its number no longer carries its saved name; an empty
// cell keeps no name.
template <typename Table>
void CheckName(SavedRef& ref, const Table& table, std::vector<std::string>& dropped) {
    if (ref.number == 0) {
        ref.name.clear();
        return;
    }
    const auto* row = table.At(ref.number);
    if (row && row->name == ref.name) return;
    dropped.push_back(ref.name);
    ref = SavedRef{};
}

}  // namespace

bool IsPlainMapFileName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    for (std::size_t i = 0; i < name.size(); i += gbk::CharLength(name, i)) {
        const char c = name[i];
        // A lead byte's trail may be '\\' (0x5C); only single bytes count.
        if (gbk::CharLength(name, i) == 1 && (c == '/' || c == '\\' || c == ':' || c == '\0')) return false;
    }
    return true;
}

std::string WriteSaveJson(const SaveGame& s) {
    Json j;
    j["format"] = s.format;
    j["gameVersion"] = s.gameVersion;
    j["savedAt"] = s.savedAt;
    j["playSeconds"] = s.playSeconds;
    j["player"] = Json{{"map", gbk::ToUtf8(s.mapFile)}, {"x", s.x}, {"y", s.y}, {"ground", s.ground},
                       {"facing", s.facing}, {"level", s.level}, {"experience", s.experience}, {"gold", s.gold},
                       {"hp", s.hp}, {"maxHp", s.maxHp}, {"mp", s.mp}, {"maxMp", s.maxMp},
                       {"restTimer", s.restTimer}, {"regenCounter", s.regenCounter}};
    j["poison"] = Status(s.poisoned, s.poison);
    j["curse"] = Status(s.cursed, s.curse);
    j["doubleExperience"] = Json{
        {"elapsed", s.doubleExpElapsed}, {"total", s.doubleExpTotal}, {"multiplier", s.doubleExpMultiplier}};
    j["bag"] = Refs(s.bag);
    j["equipment"] = Refs(s.equipment);
    j["shop"] = Refs(s.shop);
    Json skills = Json::array();
    for (const SavedSkill& k : s.skills) {
        Json o = Ref(k.skill);
        o["level"] = k.level;
        o["key"] = k.key;
        skills.push_back(std::move(o));
    }
    j["skills"] = std::move(skills);
    j["skillBar"] = Refs(s.bar);
    j["quests"] = s.quests;
    Json npcs = Json::array();
    for (const NpcStateRecord& n : s.npcs)
        npcs.push_back(Json{{"variable", n.variable}, {"questState", n.questState}, {"questVariable", n.questVariable}});
    j["npcs"] = std::move(npcs);
    Json chat = Json::array();
    for (const SavedChatLine& c : s.chat)
        chat.push_back(Json{{"label", gbk::ToUtf8(c.label)}, {"text", gbk::ToUtf8(c.text)},
                            {"labelColour", c.labelColour}, {"textColour", c.textColour}});
    j["chat"] = std::move(chat);
    j["mapRandomState"] = s.mapRandomState;
    return j.dump(2) + "\n";
}

SaveReadResult ReadSaveJson(std::string_view text, const DataTables& tables) {
    SaveReadResult result;
    Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded()) {
        result.error = "not a complete JSON document (damaged or cut short)";
        return result;
    }
    Reader r;
    SaveGame s;
    s.format = r.Int(root, "", "format", 1, std::numeric_limits<int>::max());
    if (r.ok() && s.format > SaveGame::kFormat) {
        result.newerFormat = true;
        result.badField = "format";
        result.error = "written by a newer game (format " + std::to_string(s.format) + ")";
        return result;
    }
    s.gameVersion = r.Text(root, "", "gameVersion");
    s.savedAt = r.Text(root, "", "savedAt");
    s.playSeconds = r.Real(root, "", "playSeconds", 0, kMaxSeconds);
    ReadPlayer(r, root, s);
    r.Refs(root, "bag", s.bag);
    r.Refs(root, "equipment", s.equipment);
    r.Refs(root, "shop", s.shop);
    ReadSkills(r, root, s);
    ReadProgress(r, root, s);
    if (const Json* m = r.Field(root, "", "mapRandomState")) {
        if (!m->is_string() || !IsGeneratorState(m->get_ref<const std::string&>()))
            r.Fail("mapRandomState", "not a generator state");
        else
            s.mapRandomState = m->get<std::string>();
    }
    if (!r.ok()) {
        result.badField = r.bad();
        result.error = r.bad() + ": " + r.why();
        return result;
    }
    for (SavedRef& ref : s.bag) CheckName(ref, tables.items, result.dropped);
    for (SavedRef& ref : s.equipment) CheckName(ref, tables.items, result.dropped);
    for (SavedRef& ref : s.shop) CheckName(ref, tables.items, result.dropped);
    for (SavedSkill& k : s.skills) {
        CheckName(k.skill, tables.skills, result.dropped);
        if (k.skill.number == 0) k = SavedSkill{};
    }
    for (SavedRef& ref : s.bar) CheckName(ref, tables.skills, result.dropped);
    result.save = std::move(s);
    return result;
}
