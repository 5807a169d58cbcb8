#include "platform/settings_file.h"

#include <filesystem>
#include <set>

#include <nlohmann/json.hpp>

#include "core/save_store.h"
#include "platform/key_names.h"

using Json = nlohmann::ordered_json;

void GameSettings::WindowSize(int w, int h, int* outW, int* outH) const {
    switch (windowScale) {
        case WindowScale::k1: *outW = w; *outH = h; return;
        case WindowScale::k1_5: *outW = w * 3 / 2; *outH = h * 3 / 2; return;
        case WindowScale::k2: *outW = w * 2; *outH = h * 2; return;
        case WindowScale::kLast: break;
    }
    *outW = window.w > 0 ? window.w : w;
    *outH = window.w > 0 ? window.h : h;
}

const char* WindowScaleText(WindowScale s) {
    switch (s) {
        case WindowScale::k1: return "1";
        case WindowScale::k1_5: return "1.5";
        case WindowScale::k2: return "2";
        case WindowScale::kLast: return "last";
    }
    return "1";
}

bool WindowScaleFromText(const std::string& text, WindowScale& out) {
    for (WindowScale s : {WindowScale::k1, WindowScale::k1_5, WindowScale::k2, WindowScale::kLast}) {
        if (text == WindowScaleText(s)) {
            out = s;
            return true;
        }
    }
    return false;
}

namespace settings_file {
namespace {

// A window larger than this, or placed further out, was not left by a user.
constexpr int kMaxWindowSide = 16384;
constexpr int kMaxWindowPlace = 100000;

class Reader {
public:
    explicit Reader(SettingsLoad& out) : m_out(out) {}
    void Bad(const std::string& field, const std::string& why) {
        if (m_out.problem.empty()) m_out.problem = field + ": " + why;
    }
    void Int(const Json& doc, const char* key, int lo, int hi, int& value) {
        auto it = doc.find(key);
        if (it == doc.end()) return;
        if (!it->is_number_integer() || it->get<long long>() < lo || it->get<long long>() > hi) {
            Bad(key, "not a whole number in " + std::to_string(lo) + ".." + std::to_string(hi));
            return;
        }
        value = static_cast<int>(it->get<long long>());
    }
    void Bool(const Json& doc, const char* key, bool& value) {
        auto it = doc.find(key);
        if (it == doc.end()) return;
        if (!it->is_boolean()) {
            Bad(key, "not true or false");
            return;
        }
        value = it->get<bool>();
    }

private:
    SettingsLoad& m_out;
};

// The keys of the file's actions first (a key used twice in a group keeps
// its first use), then the defaults of the actions the file leaves out,
// less the keys the file gave away.
void ReadKeys(const Json& keys, Reader& r, KeyBindings& out) {
    if (!keys.is_object()) {
        r.Bad("keys", "not an object");
        return;
    }
    KeyBindings b;
    std::set<Action> fromFile;
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        const Action a = KeyBindings::FromId(it.key());
        if (a == Action::Count || !KeyBindings::Bindable(a)) {
            r.Bad("keys." + it.key(), "no such action");
            continue;
        }
        if (!it.value().is_array() || it.value().size() > kKeysPerAction) {
            r.Bad("keys." + it.key(), "not a list of at most two key names");
            continue;
        }
        fromFile.insert(a);
    }
    // Clear the file's actions, then bind them in action order.
    for (Action a : fromFile) {
        b.Clear(a, 1);
        b.Clear(a, 0);
    }
    for (Action a : fromFile) {
        const Json& list = keys.at(KeyBindings::Id(a));
        int slot = 0;
        for (const Json& name : list) {
            const int vk = name.is_string() ? key_names::FromName(name.get<std::string>()) : 0;
            if (vk == 0) {
                r.Bad(std::string("keys.") + KeyBindings::Id(a), "unknown key");
                continue;
            }
            // A default key of an action not yet seen gives way to the file.
            const Action holder = b.ActionOfKey(vk, a);
            if (holder != Action::Count && holder != a && !fromFile.count(holder)) {
                for (int s = kKeysPerAction - 1; s >= 0; --s)
                    if (b.KeysOf(holder)[static_cast<std::size_t>(s)] == vk) b.Clear(holder, s);
            }
            if (b.Bind(a, slot, vk).ok) {
                ++slot;
            } else {
                r.Bad(std::string("keys.") + KeyBindings::Id(a), key_names::Name(vk) + " is bound twice");
            }
        }
        // Nothing of the file's keys could be used: the defaults still free.
        if (slot == 0 && !list.empty()) {
            for (int vk : KeyBindings::DefaultKeys(a))
                if (vk != 0 && b.ActionOfKey(vk, a) == Action::Count && b.Bind(a, slot, vk).ok) ++slot;
        }
    }
    out = b;
}

}  // namespace

std::string PathIn(const std::string& folder) { return (std::filesystem::path(folder) / kFileName).string(); }

std::string ToJson(const GameSettings& s) {
    Json keys = Json::object();
    for (std::size_t i = 0; i < kActionCount; ++i) {
        const Action a = static_cast<Action>(i);
        if (!KeyBindings::Bindable(a)) continue;
        Json list = Json::array();
        for (int vk : s.keys.KeysOf(a))
            if (vk != 0) list.push_back(key_names::Name(vk));
        keys[KeyBindings::Id(a)] = list;
    }
    Json doc = {
        {"format", kFormat},
        {"keys", keys},
        {"musicVolume", s.musicVolume},
        {"effectVolume", s.effectVolume},
        {"muteOnFocusLoss", s.muteOnFocusLoss},
        {"fullscreen", s.fullscreen},
        {"windowScale", WindowScaleText(s.windowScale)},
        {"vsync", s.vsync},
    };
    if (s.window.w > 0) doc["window"] = {{"x", s.window.x}, {"y", s.window.y}, {"w", s.window.w}, {"h", s.window.h}};
    return doc.dump(2) + "\n";
}

SettingsLoad FromJson(const std::string& text) {
    SettingsLoad out;
    out.found = true;
    const Json doc = Json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) {
        out.problem = "not a JSON object";
        return out;
    }
    Reader r(out);
    GameSettings& s = out.settings;
    if (auto f = doc.find("format"); f != doc.end() && (!f->is_number_integer() || f->get<long long>() > kFormat))
        r.Bad("format", "a newer or unknown format; what could be read is used");
    if (auto k = doc.find("keys"); k != doc.end()) ReadKeys(*k, r, s.keys);
    r.Int(doc, "musicVolume", 0, 100, s.musicVolume);
    r.Int(doc, "effectVolume", 0, 100, s.effectVolume);
    r.Bool(doc, "muteOnFocusLoss", s.muteOnFocusLoss);
    r.Bool(doc, "fullscreen", s.fullscreen);
    r.Bool(doc, "vsync", s.vsync);
    if (auto w = doc.find("windowScale"); w != doc.end()) {
        if (!w->is_string() || !WindowScaleFromText(w->get<std::string>(), s.windowScale))
            r.Bad("windowScale", "not \"1\", \"1.5\", \"2\" or \"last\"");
    }
    if (auto w = doc.find("window"); w != doc.end()) {
        WindowRect rect;
        SettingsLoad scratch;
        Reader wr(scratch);
        if (w->is_object() && w->contains("w") && w->contains("h")) {
            wr.Int(*w, "x", -kMaxWindowPlace, kMaxWindowPlace, rect.x);
            wr.Int(*w, "y", -kMaxWindowPlace, kMaxWindowPlace, rect.y);
            wr.Int(*w, "w", 1, kMaxWindowSide, rect.w);
            wr.Int(*w, "h", 1, kMaxWindowSide, rect.h);
        } else {
            scratch.problem = "not an object with x, y, w and h";
        }
        if (scratch.problem.empty() && rect.w > 0 && rect.h > 0) s.window = rect;
        else r.Bad("window", scratch.problem.empty() ? "left out" : scratch.problem);
    }
    return out;
}

SettingsLoad Load(const std::string& path) {
    std::string text, error;
    if (!std::filesystem::exists(path)) return SettingsLoad{};
    if (!save_store::ReadWhole(path, text, error, 1u << 20)) {
        SettingsLoad out;
        out.found = true;
        out.problem = error;
        return out;
    }
    return FromJson(text);
}

std::string Save(const std::string& path, const GameSettings& s) { return save_store::WriteAtomically(path, ToJson(s)); }

}  // namespace settings_file
