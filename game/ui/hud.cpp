#include "ui/hud.h"

#include "core/json_writer.h"
#include "gameplay/player.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "shared/paths.h"
#include "ui/chat_log.h"
#include "world/camera.h"
#include "world/map_name_banner.h"

namespace {
constexpr const char* kWindows[] = {"状态窗口", "物品窗口", "技能窗口", "任务窗口", "交易窗口"};
}

Sprite Hud::WholePicture(const paths::DataPaths& dataPaths, const char* utf8Path) {
    HTEXTURE t = m_engine.LoadTexture(dataPaths.Resolve(gbk::Lit(utf8Path)));
    return Sprite(t, 0, 0, static_cast<float>(m_engine.TextureWidth(t)), static_cast<float>(m_engine.TextureHeight(t)));
}

void Hud::LoadPanel(const paths::DataPaths& dataPaths) {
    panel.portrait = WholePicture(dataPaths, "\\data\\头像\\1.png");
    panel.portraitShow = WholePicture(dataPaths, "\\data\\头像\\1show.png");
    panel.base = WholePicture(dataPaths, "\\data\\其它\\主进度底图.png");
    panel.hpFront = WholePicture(dataPaths, "\\data\\其它\\血条前景.png");
    panel.hpBack = WholePicture(dataPaths, "\\data\\其它\\血条背景.png");
    panel.smallFront = WholePicture(dataPaths, "\\data\\其它\\小进度前景.png");
    panel.smallBack = WholePicture(dataPaths, "\\data\\其它\\小进度背景.png");
    HTEXTURE box = m_engine.LoadTexture(dataPaths.Resolve(gbk::Lit("\\data\\其它\\46987-1.png")));
    messageBox = Sprite(box, 0, 0, kMessageBoxWidth, kMessageBoxHeight);
    deathButton.Init(m_engine, dataPaths, kDeathButtonX, kDeathButtonY, gbk::Lit("\\data\\其它"), gbk::Lit("确定"));
}

void Hud::LoadMapNameBackdrop(const paths::DataPaths& dataPaths) {
    HTEXTURE t = m_engine.LoadTexture(dataPaths.Resolve(gbk::Lit("\\data\\其它\\地图名底图.png")));
    mapNameBackdrop = Sprite(t, 0, 0, 271, 92);
    // Alpha 0, red 0, green 255, blue 255: the banner fades in from nothing.
    mapNameBackdrop.SetColour(0x0000FFFF);
}

void Hud::Build() { m_built = true; }

bool Hud::DeathBoxShown(const Player& player) { return player.DeathAnimationDone(); }

void Hud::Update(float, const Player& player) {
    const float clock = m_engine.Time();
    banners.Update(clock);
    notices.Update(clock);
    const bool shown = DeathBoxShown(player);
    if (!shown && m_deathBoxShown) deathButton.Release();
    m_deathBoxShown = shown;
}

bool Hud::UpdateDeathBox(const Controls& input) {
    const bool clicked = deathButton.Update(input);
    if (clicked) m_deathBoxShown = false;
    return clicked;
}

bool Hud::DeathBoxKeys(bool confirm) {
    if (confirm) m_deathBoxShown = false;
    return confirm;
}

void Hud::DrawPanels(const Player& player) {
    if (!m_built) return;
    m_chatLog.Draw(m_fonts.chat, ChatLog::kLineHeight);
    DrawPlayerPanel(player);
}

void Hud::DrawBanners(const HudView& view) {
    if (!m_built) return;
    // The map-name banner, while its timer runs, its name centred by the font's own height.
    view.banner.Draw(view.dt, m_engine.Width(), mapNameBackdrop, m_fonts.banner, m_fonts.banner.TextHeight(view.mapName),
                     view.mapName);
    // Banners: centred across the screen, rising from y 200 and fading by the counter.
    const float screenWidth = static_cast<float>(m_engine.Width());
    const auto bannerLifts = banners.Lifts(m_fonts.large.TextHeight(gbk::Lit("国")));
    for (std::size_t i = 0; i < banners.entries().size(); ++i) {
        const ScreenMessage& m = banners.entries()[i];
        if (m.text.empty()) continue;
        float w = m_fonts.large.TextWidth(m.text);
        PrintOutlined(m_fonts.large, (screenWidth - w) / 2, 200 - bannerLifts[i], m.text,
                      ScreenMessages::Faded(m.colour, m.counter));
    }
    // Notices: over the player's head, fading twice as fast.
    const Player& p = view.player;
    const auto noticeLifts = notices.Lifts(m_fonts.game.TextHeight(gbk::Lit("国")));
    for (std::size_t i = 0; i < notices.entries().size(); ++i) {
        const ScreenMessage& m = notices.entries()[i];
        if (m.text.empty()) continue;
        float w = m_fonts.game.TextWidth(m.text);
        float x = view.camera.offsetX + p.x + p.width / 2 - w / 2;
        float y = view.camera.offsetY + p.y - 24 - noticeLifts[i];
        PrintOutlined(m_fonts.game, x, y, m.text, ScreenMessages::Faded(m.colour, 2 * m.counter));
    }
}

void Hud::PrintOutlined(GdiFont& font, float x, float y, const std::string& text, std::uint32_t colour) {
    // The outline: the text eight times, a pixel off each way, in a dark
    // ink with the text's own alpha.
    font.SetColour((colour & 0xFF000000u) | 0x00181410u);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0) font.Print(x + static_cast<float>(dx), y + static_cast<float>(dy), text);
        }
    }
    font.SetColour(colour);
    font.Print(x, y, text);
}

namespace {

// A bar's visible width: value / maximum of the full width, within 0..full.
float BarWidth(float value, float maximum, float full) {
    if (!(maximum > 0)) return 0;
    float w = value * full / maximum;
    return w < 0 ? 0 : (w > full ? full : w);
}

std::string WholeNumber(float v) { return std::to_string(static_cast<long long>(v)); }

}  // namespace

void Hud::DrawPlayerPanel(const Player& p) {
    panel.base.Render(0, 0);
    panel.hpFront.SetTextureRect(0, 0, BarWidth(p.hp, p.maxHp, 122), 25);
    panel.hpFront.Render(99, 24);
    panel.smallFront.SetTextureRect(0, 0, BarWidth(p.mp, p.maxMp, 100), 10);
    panel.smallFront.Render(99, 49);
    panel.portrait.Render(0, 0);
    m_fonts.digits.SetScale(0.7f);
    m_fonts.digits.SetColour(0xFFFFFF00);
    m_fonts.digits.Print(125, 62, LUMO_ALIGN_LEFT, std::to_string(p.level));
    m_fonts.digits.SetScale(1.0f);
    m_fonts.game.SetColour(0xFFFFFFFF);
    m_fonts.game.Print(125, 5, p.name);
    m_fonts.digits.SetColour(0x88FFFFFF);
    m_fonts.digits.Print(150, 30, LUMO_ALIGN_LEFT, WholeNumber(p.hp) + "/" + WholeNumber(p.maxHp));
}

void Hud::DrawDeathBox(const Player& p) {
    if (!DeathBoxShown(p)) return;
    const float x = (static_cast<float>(m_engine.Width()) - kMessageBoxWidth) / 2;
    const float y = (static_cast<float>(m_engine.Height()) - kMessageBoxHeight) / 2;
    messageBox.Render(x, y);
    deathButton.Draw();
}

void Hud::ShowWindow(const std::string& gbkName) {
    m_openWindow.clear();
    for (const char* w : kWindows) {
        if (gbkName == gbk::Lit(w)) m_openWindow = gbkName;
    }
}

void Hud::AddBanner(const std::string& gbkText, std::uint32_t colour) { banners.Add(gbkText, colour, m_engine.Time()); }

void Hud::AddNotice(const std::string& gbkText, std::uint32_t colour) { notices.Add(gbkText, colour, m_engine.Time()); }

void Hud::DumpState(JsonWriter& w) const {
    w.Key("hud");
    w.BeginObject();
    w.Field("openWindow", m_openWindow);
    w.Field("deathBoxShown", m_deathBoxShown);
    w.Field("deathButtonState", static_cast<int>(deathButton.state()));
    w.EndObject();
    w.Key("banners");
    banners.DumpState(w);
    w.Key("notices");
    notices.DumpState(w);
}
