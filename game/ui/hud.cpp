#include "ui/hud.h"

#include <algorithm>

#include "core/game.h"
#include "core/json_writer.h"
#include "shared/gbk.h"

namespace {
constexpr const char* kWindows[] = {"状态窗口", "物品窗口", "技能窗口", "任务窗口", "交易窗口"};
}

void Hud::Build() { m_built = true; }

void Hud::Update(float dt) {
    auto age = [dt](std::vector<ScreenMessage>& list) {
        for (ScreenMessage& m : list) {
            m.counter += 2;
            m.age += dt;
        }
        std::erase_if(list, [](const ScreenMessage& m) { return m.age >= 1.0f; });
    };
    age(banners);
    age(notices);
}

void Hud::Draw() {
    if (!m_built) return;
    m_game.chatLog.Draw(m_game.fonts.chat, 14);
    // The map-name banner, while its timer runs; 20 is the banner font's size.
    m_game.map.banner.Draw(m_game.engine.Delta(), m_game.screenWidth, mapNameBackdrop, m_game.fonts.banner, 20,
                           m_game.map.DisplayName());
}

void Hud::ShowWindow(const std::string& gbkName) {
    m_openWindow.clear();
    for (const char* w : kWindows) {
        if (gbkName == gbk::Lit(w)) m_openWindow = gbkName;
    }
}

void Hud::AddBanner(const std::string& gbkText, std::uint32_t colour) { banners.push_back({gbkText, colour, 0, 0}); }

void Hud::AddNotice(const std::string& gbkText, std::uint32_t colour) { notices.push_back({gbkText, colour, 0, 0}); }

void Hud::DumpState(JsonWriter& w) const {
    auto list = [&w](const char* key, const std::vector<ScreenMessage>& l) {
        w.Key(key);
        w.BeginArray();
        for (const ScreenMessage& m : l) {
            w.BeginObject();
            w.Field("text", m.text);
            w.Field("colour", m.colour);
            w.Field("counter", m.counter);
            w.EndObject();
        }
        w.EndArray();
    };
    w.Key("hud");
    w.BeginObject();
    w.Field("openWindow", m_openWindow);
    w.EndObject();
    list("banners", banners);
    list("notices", notices);
}
