#include "app/game_menus.h"

#include <cstdio>

#include "app/game.h"
#include "core/json_writer.h"
#include "shared/gbk.h"
#include "ui/text_wrap.h"
#include "ui/ui_layer.h"

namespace {

// Screen places; the pictures' own layouts are drawn to match.
constexpr float kTitleButtonsX = 300, kTitleButtonsY = 306, kTitleStep = 44;
constexpr float kSystemX = 280, kSystemY = 155, kSystemW = 240;
constexpr float kSlotsX = 170, kSlotsY = 110, kSlotsW = 460;
constexpr float kRowX = kSlotsX + 14, kRowY = kSlotsY + 44, kRowW = 432, kRowH = 52, kRowStep = 56;
constexpr float kQuestionX = 220, kQuestionY = 200, kQuestionW = 360;
constexpr std::size_t kQuestionLineBytes = 54;
constexpr int kQuestionLines = 7;

constexpr std::uint32_t kGold = 0xFFFFD04A, kCream = 0xFFFFF3D6, kMist = 0xFFC9C4D6, kFaded = 0xFF8E8A9A;

std::string PlayTime(double seconds) {
    const long total = static_cast<long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    return text;
}

void PrintCentred(GdiFont& font, float x, float width, float y, const std::string& gbkText, std::uint32_t colour) {
    font.SetColour(colour);
    font.Print(x + (width - font.TextWidth(gbkText)) / 2, y, gbkText);
    font.SetColour(0xFFFFFFFF);
}

// The base of the menu layers: each is modal while it shows and takes
// every press on the screen.
class MenuLayer : public UiLayer {
public:
    explicit MenuLayer(GameMenus& menus) : m(menus), g(menus.game()) {}
    bool Takes(const PointerEvent&) const override { return true; }

protected:
    GameMenus& m;
    Game& g;
};

class TitleLayer final : public MenuLayer {
public:
    using MenuLayer::MenuLayer;
    std::string_view Name() const override { return "title"; }
    bool Shown() const override { return m.title(); }
    bool Covers() const override { return true; }
    void Keys(Controls& c) override {
        // The slot list or a question over it has the keys.
        if (!m.slots() && m.question().what == MenuQuestion::kNone) Pick(m.titleButtons.Keys(c));
    }
    void Update(const Controls& input) override {
        if (!m.slots() && m.question().what == MenuQuestion::kNone) Pick(m.titleButtons.Update(input));
    }
    void Draw() override {
        m.titlePicture.Render(0, 0);
        m.titleButtons.Draw(g.fonts.game);
        const std::string version = gbk::Lit("版本 ") + LUMO_VERSION;
        g.fonts.small.SetColour(0xCC2B2233);
        g.fonts.small.Print(790 - g.fonts.small.TextWidth(version), 580, version);
        g.fonts.small.SetColour(0xFFFFFFFF);
    }

private:
    void Pick(int i) {
        static constexpr GameMenus::Choice kChoices[] = {GameMenus::Choice::kContinue, GameMenus::Choice::kNewGame,
                                                         GameMenus::Choice::kLoadList, GameMenus::Choice::kQuit};
        if (i >= 0 && i < 4) m.Choose(kChoices[i]);
    }
};

class SystemLayer final : public MenuLayer {
public:
    using MenuLayer::MenuLayer;
    std::string_view Name() const override { return "system"; }
    // The slot list or the settings page opened from it takes its place
    // until it closes.
    bool Shown() const override { return m.system() && !m.slots() && !g.settingsPage.open(); }
    void Keys(Controls& c) override {
        // Cancel (pad B) and the system-menu key (pad Start) close it.
        for (Action a : {Action::Cancel, Action::SystemMenu}) {
            if (!c.Pressed(a)) continue;
            c.Consume(a);
            m.Choose(GameMenus::Choice::kCloseSystem);
            return;
        }
        if (m.question().what == MenuQuestion::kNone) Pick(m.systemButtons.Keys(c));
    }
    void Update(const Controls& input) override {
        if (m.slots() || m.question().what != MenuQuestion::kNone) return;
        Pick(m.systemButtons.Update(input));
        if (m.systemClose.Update(input)) m.Choose(GameMenus::Choice::kCloseSystem);
    }
    void Draw() override {
        m.systemPicture.Render(kSystemX, kSystemY);
        m.systemButtons.Draw(g.fonts.game);
        m.closePicture.Render(m.systemClose.x(), m.systemClose.y());
    }

private:
    void Pick(int i) {
        static constexpr GameMenus::Choice kChoices[] = {GameMenus::Choice::kSaveList, GameMenus::Choice::kLoadList,
                                                         GameMenus::Choice::kSettings, GameMenus::Choice::kBackToTitle,
                                                         GameMenus::Choice::kQuit};
        if (i >= 0 && i < 5) m.Choose(kChoices[i]);
    }
};

class SlotLayer final : public MenuLayer {
public:
    using MenuLayer::MenuLayer;
    std::string_view Name() const override { return "saveSlots"; }
    bool Shown() const override { return m.slots(); }
    void Keys(Controls& c) override {
        if (m.question().what != MenuQuestion::kNone) return;  // the question has the keys
        if (c.Pressed(Action::Cancel)) {
            c.Consume(Action::Cancel);
            m.Choose(GameMenus::Choice::kCloseSlots);
            return;
        }
        Pick(m.slotRows.Keys(c));
    }
    void Update(const Controls& input) override {
        if (m.question().what != MenuQuestion::kNone) return;
        Pick(m.slotRows.Update(input));
        if (m.slotBack.Update(input) == 0) m.Choose(GameMenus::Choice::kCloseSlots);
    }
    void Draw() override {
        m.slotPicture.Render(kSlotsX, kSlotsY);
        PrintCentred(g.fonts.game, kSlotsX + 8, kSlotsW - 64, kSlotsY + 10,
                     gbk::Lit(m.saving() ? "保存进度" : "读取进度"), kCream);
        for (std::size_t i = 0; i < m.summaries.size(); ++i) DrawRow(static_cast<int>(i));
        m.slotBack.Draw(g.fonts.game);
    }

private:
    void Pick(int i) {
        if (i >= 0 && i < static_cast<int>(m.summaries.size())) m.Choose(GameMenus::Choice::kSlot, m.summaries[i].slot);
    }
    void DrawRow(int i) {
        const SlotSummary& s = m.summaries[static_cast<std::size_t>(i)];
        const bool enabled = m.slotRows.entries()[static_cast<std::size_t>(i)].enabled;
        const float x = kRowX, y = kRowY + kRowStep * static_cast<float>(i);
        if (enabled && m.slotRows.highlight() == i) m.rowHighlight.Render(x, y);
        GdiFont& big = g.fonts.game;
        GdiFont& small = g.fonts.small;
        big.SetColour(enabled ? kGold : kFaded);
        big.Print(x + 12, y + 8, SlotDisplayName(s.slot));
        big.SetColour(0xFFFFFFFF);
        if (!s.present || !s.readable) {
            small.SetColour(enabled ? kMist : kFaded);
            small.Print(x + 130, y + 10, gbk::Lit(!s.present ? "(空)" : "(存档已损坏)"));
            small.SetColour(0xFFFFFFFF);
            return;
        }
        big.SetColour(enabled ? kCream : kFaded);
        big.Print(x + 130, y + 8, gbk::Lit("等级 ") + std::to_string(s.level) + "   " + s.mapName);
        big.SetColour(0xFFFFFFFF);
        small.SetColour(enabled ? kMist : kFaded);
        small.Print(x + 12, y + 32, gbk::Lit("游戏时间 ") + PlayTime(s.playSeconds));
        small.Print(x + 230, y + 32, s.savedAt);
        small.SetColour(0xFFFFFFFF);
    }
};

class QuestionLayer final : public MenuLayer {
public:
    using MenuLayer::MenuLayer;
    std::string_view Name() const override { return "question"; }
    bool Shown() const override { return m.question().what != MenuQuestion::kNone; }
    void Keys(Controls& c) override {
        if (c.Pressed(Action::Cancel)) {
            c.Consume(Action::Cancel);
            m.Choose(GameMenus::Choice::kNo);
            return;
        }
        Pick(m.answers.Keys(c));
    }
    void Update(const Controls& input) override { Pick(m.answers.Update(input)); }
    void Draw() override {
        m.questionPicture.Render(kQuestionX, kQuestionY);
        PrintCentred(g.fonts.game, kQuestionX + 10, kQuestionW - 20, kQuestionY + 12, m.question().caption, kCream);
        const std::vector<std::string>& lines = m.question().lines;
        for (int i = 0; i < kQuestionLines && i < static_cast<int>(lines.size()); ++i) {
            g.fonts.small.SetColour(kCream);
            g.fonts.small.Print(kQuestionX + 18, kQuestionY + 44 + 16 * static_cast<float>(i),
                                lines[static_cast<std::size_t>(i)]);
        }
        g.fonts.small.SetColour(0xFFFFFFFF);
        m.answers.Draw(g.fonts.game);
    }

private:
    void Pick(int i) {
        if (i == 0) m.Choose(GameMenus::Choice::kYes);
        if (i == 1) m.Choose(GameMenus::Choice::kNo);
    }
};

}  // namespace

GameMenus::GameMenus(Game& game)
    : m_game(game),
      m_systemLayer(std::make_unique<SystemLayer>(*this)),
      m_titleLayer(std::make_unique<TitleLayer>(*this)),
      m_slotLayer(std::make_unique<SlotLayer>(*this)),
      m_questionLayer(std::make_unique<QuestionLayer>(*this)) {
    // Sizes stand without pictures too (tests build a Game without an engine).
    for (MenuButtons* b : {&titleButtons, &systemButtons}) b->SetFaceSize(200, 36);
    for (MenuButtons* b : {&slotBack, &answers}) b->SetFaceSize(80, 28);
    slotRows.SetFaceSize(kRowW, kRowH);
    systemClose.SetBox(kSystemX + kSystemW - 28, kSystemY + 8, 20, 20);
}

GameMenus::~GameMenus() = default;

void GameMenus::Load() {
    Game& g = m_game;
    auto picture = [&g](const char* utf8Path) {
        HTEXTURE t = g.engine.LoadTexture(g.Resolve(gbk::Lit(utf8Path)));
        return Sprite(t, 0, 0, static_cast<float>(g.engine.TextureWidth(t)), static_cast<float>(g.engine.TextureHeight(t)));
    };
    titlePicture = picture("\\data\\其它\\标题画面.png");
    systemPicture = picture("\\data\\其它\\系统背景.png");
    slotPicture = picture("\\data\\其它\\存档背景.png");
    questionPicture = picture("\\data\\其它\\询问背景.png");
    rowHighlight = picture("\\data\\其它\\存档高亮.png");
    closePicture = picture("\\data\\其它\\关闭.png");
    const std::string wide = gbk::Lit("\\data\\其它\\菜单按钮"), narrow = gbk::Lit("\\data\\其它\\小按钮");
    for (MenuButtons* b : {&titleButtons, &systemButtons}) b->Load(g.engine, g.dataPaths, wide);
    for (MenuButtons* b : {&slotBack, &answers}) b->Load(g.engine, g.dataPaths, narrow);
    std::vector<MenuEntry> system;
    for (const char* caption : {"保存进度", "读取进度", "设置", "返回标题", "退出游戏"})
        system.push_back(MenuEntry{gbk::Lit(caption)});
    systemButtons.Set(std::move(system), kSystemX + 20, kSystemY + 48, 44);
    slotBack.Set({MenuEntry{gbk::Lit("返回")}}, kSlotsX + 190, kSlotsY + 340, 0);
    answers.Set({MenuEntry{gbk::Lit("是")}, MenuEntry{gbk::Lit("否")}}, kQuestionX + 80, kQuestionY + 158, 120, true);
}

void GameMenus::KeepNewGame() { m_newGame = std::make_unique<SaveGame>(m_game.saves.Capture()); }

void GameMenus::ShowTitle() {
    // A question already asked (a damaged save's backup) stays over it.
    m_system = m_slots = false;
    m_title = true;
    Game& g = m_game;
    g.CloseDialogForMapChange();
    g.hud.ShowWindow(std::string());
    g.gameInterface.chatInput.SetFocus(false);
    RefreshTitle();
}

void GameMenus::RefreshTitle() {
    summaries = m_game.saves.Summaries();
    bool any = false;
    for (const SlotSummary& s : summaries) any = any || s.present;
    titleButtons.Set({MenuEntry{gbk::Lit("继续游戏"), !GameSaves::Newest(summaries).empty()},
                      MenuEntry{gbk::Lit("新游戏")}, MenuEntry{gbk::Lit("读取进度"), any},
                      MenuEntry{gbk::Lit("退出游戏")}},
                     kTitleButtonsX, kTitleButtonsY, kTitleStep);
}

void GameMenus::OpenSystemWindow() {
    if (m_title) return;
    m_system = true;
    m_game.gameInterface.chatInput.SetFocus(false);
    systemButtons.Set(systemButtons.entries(), kSystemX + 20, kSystemY + 48, 44);
}

void GameMenus::CloseSystemWindow() {
    m_system = false;
    m_slots = false;
}

void GameMenus::OpenSlotList(bool saving) {
    m_slots = true;
    m_saving = saving;
    RefreshSlots();
}

void GameMenus::RefreshSlots() {
    summaries = m_game.saves.Summaries();
    std::vector<MenuEntry> rows;
    for (const SlotSummary& s : summaries) {
        // Slots 1 to 3 take a save by hand; "quick" and "auto" are F5's and
        // the autosave's. Any slot with a file can be loaded (a damaged one
        // is refused with its reason, and its backup offered).
        const bool hand = s.slot == "1" || s.slot == "2" || s.slot == "3";
        rows.push_back(MenuEntry{SlotDisplayName(s.slot), m_saving ? hand : s.present});
    }
    slotRows.Set(std::move(rows), kRowX, kRowY, kRowStep);
}

void GameMenus::Ask(const std::string& gbkText, const std::string& gbkCaption, MenuQuestion what, std::string slot) {
    m_question = Question{gbkText, gbkCaption, what, std::move(slot), WrapText(gbkText, kQuestionLineBytes)};
    answers.Set(answers.entries(), kQuestionX + 80, kQuestionY + 158, 120, true);
}

void GameMenus::CloseAll() {
    m_title = m_system = m_slots = false;
    m_question = Question{};
}

void GameMenus::SaveInto(const std::string& slot) {
    m_game.saves.Save(slot, true);
    CloseSystemWindow();
}

void GameMenus::LoadFrom(const std::string& slot) {
    // A refused file leaves the menus as they were (with the backup's
    // question over them when there is one).
    if (m_game.saves.Load(slot)) CloseAll();
}

void GameMenus::Apply() {
    const Choice c = m_choice;
    const std::string slot = std::move(m_choiceSlot);
    m_choice = Choice::kNone;
    m_choiceSlot.clear();
    if (c == Choice::kNone) return;
    Game& g = m_game;
    g.engine.PlaySound(g.sounds.click, 10, 0, 1.0f, false);
    switch (c) {
        case Choice::kContinue: LoadFrom(GameSaves::Newest(summaries)); break;
        case Choice::kNewGame:
            if (m_newGame) g.saves.Apply(*m_newGame);
            CloseAll();
            break;
        case Choice::kLoadList: OpenSlotList(false); break;
        case Choice::kQuit: m_quit = true; break;
        case Choice::kSaveList: OpenSlotList(true); break;
        case Choice::kSettings: g.OpenSettings(); break;
        case Choice::kBackToTitle:
            // Leaving the game for the title keeps it in "auto", as ending it does.
            g.saves.GameEnding();
            ShowTitle();
            break;
        case Choice::kCloseSystem: CloseSystemWindow(); break;
        case Choice::kSlot: {
            if (!m_saving) {
                LoadFrom(slot);
                break;
            }
            bool taken = false;
            for (const SlotSummary& s : summaries) taken = taken || (s.slot == slot && s.present);
            if (taken) {
                Ask(gbk::Lit("覆盖 ") + SlotDisplayName(slot) + gbk::Lit(" 中的存档?"), gbk::Lit("保存进度"),
                    MenuQuestion::kOverwrite, slot);
            } else {
                SaveInto(slot);
            }
            break;
        }
        case Choice::kCloseSlots:
            m_slots = false;
            if (m_title) RefreshTitle();
            break;
        case Choice::kYes: {
            const Question q = m_question;
            m_question = Question{};
            if (q.what == MenuQuestion::kOverwrite) SaveInto(q.slot);
            if (q.what == MenuQuestion::kLoadBackup && g.saves.LoadBackup(q.slot)) CloseAll();
            break;
        }
        case Choice::kNo: m_question = Question{}; break;
        case Choice::kNone: break;
    }
}

void GameMenus::DumpState(JsonWriter& w) const {
    w.Key("menus");
    w.BeginObject();
    w.Field("title", m_title);
    w.Field("system", m_system);
    w.Field("slotList", std::string(!m_slots ? "" : m_saving ? "save" : "load"));
    w.Field("question", m_question.text);
    auto entries = [&w](std::string_view key, const MenuButtons& b) {
        w.Key(key);
        w.BeginArray();
        for (const MenuEntry& e : b.entries()) {
            w.BeginObject();
            w.Field("label", e.caption);
            w.Field("enabled", e.enabled);
            w.EndObject();
        }
        w.EndArray();
    };
    entries("titleEntries", titleButtons);
    w.Field("titleHighlight", titleButtons.highlight());
    entries("systemEntries", systemButtons);
    w.Field("systemHighlight", systemButtons.highlight());
    w.Field("slotHighlight", slotRows.highlight());
    w.Key("slots");
    w.BeginArray();
    for (const SlotSummary& s : summaries) {
        w.BeginObject();
        w.Field("slot", s.slot);
        w.Field("present", s.present);
        w.Field("readable", s.readable);
        w.Field("level", s.level);
        w.Field("map", s.mapName);
        w.Field("playSeconds", s.playSeconds);
        w.Field("savedAt", s.savedAt);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}
