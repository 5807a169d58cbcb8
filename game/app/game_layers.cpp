#include "app/game_layers.h"

#include "app/game.h"
#include "shared/gbk.h"

namespace {

constexpr float kPlayAreaRight = 750, kPlayAreaBottom = 526;

bool InPlayArea(float x, float y) { return x <= kPlayAreaRight && y <= kPlayAreaBottom; }

// A menu on the screen owns the keys that move and choose in it.
void ConsumeMenuKeys(Controls& c) {
    for (Action a : {Action::Up, Action::Down, Action::Confirm, Action::Cancel})
        if (c.Held(a) || c.Pressed(a) || c.Released(a)) c.Consume(a);
}

// The base of the game's layers: the game and the commands.
class GameLayer : public UiLayer {
public:
    GameLayer(Game& game, InterfaceCommands& commands) : g(game), cmd(commands) {}

protected:
    InterfaceFrame Frame(const Controls& input) const {
        return InterfaceFrame{input, g.inventory, g.player, g.items, g.dataTables(), g.frameDt};
    }
    Game& g;
    InterfaceCommands& cmd;
};

// The world: the map with its characters, effects and ground items. It
// takes what falls into the play area and on no layer above: a press on an
// NPC talks to it, a press while an item is held drops it, a press while a
// skill is carried lets the skill go back.
class WorldLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "world"; }
    bool Shown() const override { return true; }
    bool Takes(const PointerEvent& e) const override { return InPlayArea(e.x, e.y); }
    void Update(const Controls& input) override {
        const int npc = g.NpcUnderPointer(input.mouseX, input.mouseY);
        g.pointer.SetMode(npc != 0 ? MousePointer::kBusy : MousePointer::kNormal);
        if (input.Pressed(Action::MouseRight)) g.gameInterface.RightPressLetsGo();
        if (!input.Pressed(Action::MouseLeft)) return;
        if (g.gameInterface.hand.held.holding) {
            g.gameInterface.WorldPress(Frame(input), input.mouseX, input.mouseY);
            return;
        }
        if (g.skills.LetGoCarried()) return;
        if (npc != 0) cmd.talkTo = npc;
    }
    void Draw() override { g.DrawWorld(); }
};

// The NPCs' name plates and quest marks, and the speech bubble.
class NpcOverlayLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "npcOverlays"; }
    bool Shown() const override { return true; }
    bool Takes(const PointerEvent&) const override { return false; }
    void Update(const Controls&) override {}
    void Draw() override {
        g.DrawNpcOverlays();
        g.Trace("dialogBox.draw");
        g.speechBubble.Draw(g.fonts.small, g.camera.offsetX + g.player.x + g.player.width / 2);
    }
};

// The HUD: bottom bar with the experience bar, the right panel and its
// buttons, the player panel, the chat box with its log, slider and input.
// The chat input has the keys first while it has the focus.
class HudLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "hud"; }
    bool Shown() const override { return true; }
    bool Takes(const PointerEvent& e) const override { return g.gameInterface.HudHolds(e.x, e.y); }
    bool HasFocus() const override { return g.gameInterface.chatInput.focused(); }
    void Keys(Controls& controls) override {
        std::string line = g.gameInterface.ChatKeys(controls, g.frameDt);
        if (!line.empty()) cmd.chatLine = std::move(line);
        if (controls.Pressed(Action::QuestWindow)) g.gameInterface.ToggleWindow(gbk::Lit("任务窗口"));
        if (controls.Pressed(Action::SystemMenu)) {
            controls.Consume(Action::SystemMenu);
            cmd.openSystem = true;
        }
    }
    void Update(const Controls& input) override {
        if (g.gameInterface.UpdateHud(input)) cmd.openSystem = true;
    }
    void Draw() override {
        g.Trace("hud.draw");
        g.gameInterface.DrawBack(g.player);
        g.hud.DrawPanels(g.player);
        g.monsters.DrawTarget();
        g.gameInterface.DrawHudFront();
    }
};

// The skill bar's eight cells, and the quick-slot keys.
class SkillBarLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "skillBar"; }
    bool Shown() const override { return true; }
    bool Takes(const PointerEvent& e) const override { return g.skills.bar.CellAt(e.x, e.y) != 0; }
    void Keys(Controls& controls) override { g.skills.UpdateKeys(controls, g.frameDt); }
    void Update(const Controls& input) override { g.skills.BarInput(input); }
    void Draw() override { g.skills.DrawBar(); }
};

// The open game window: status, items (also beside the trade window),
// skills or quests.
class WindowLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "window"; }
    bool Shown() const override { return Open() >= 0; }
    bool Takes(const PointerEvent& e) const override { return g.gameInterface.WindowHolds(Open(), e.x, e.y); }
    void Update(const Controls& input) override {
        const int w = Open();
        g.gameInterface.UpdateWindow(w, Frame(input));
        if (Open() != w || g.gameInterface.helpShown() == w) return;  // closed, or the help shows
        if (w == kSkillWindow) g.skills.WindowInput(input);
        if (w == kQuestWindow) {
            if (g.questWindow.Update(input, g.questLog).click) cmd.questClick = true;
        }
    }
    void Draw() override {
        const int w = Open();
        g.gameInterface.DrawWindow(w, g.player, g.inventory, g.dataTables());
        if (w == kSkillWindow) g.skills.DrawWindow();
        if (w == kQuestWindow) g.questWindow.Draw(g.fonts.small, g.questLog, g.dataTables());
        g.gameInterface.DrawWindowHelp(w);
    }

private:
    int Open() const {
        for (int w : {kStatusWindow, kItemWindow, kSkillWindow, kQuestWindow})
            if (g.gameInterface.WindowShown(w)) return w;
        return -1;
    }
};

// The trade window, left of the item window.
class TradeLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "trade"; }
    bool Shown() const override { return g.gameInterface.WindowShown(kTradeWindow); }
    bool Takes(const PointerEvent& e) const override { return g.gameInterface.WindowHolds(kTradeWindow, e.x, e.y); }
    void Update(const Controls& input) override { g.gameInterface.UpdateWindow(kTradeWindow, Frame(input)); }
    void Draw() override {
        g.gameInterface.DrawWindow(kTradeWindow, g.player, g.inventory, g.dataTables());
        g.gameInterface.DrawWindowHelp(kTradeWindow);
    }
};

// The NPC dialog with its portrait.
class DialogLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "dialog"; }
    bool Shown() const override { return g.dialogBox.dialogOpen != 0; }
    bool Takes(const PointerEvent& e) const override { return g.dialogBox.Holds(e.x, e.y); }
    // Up and down move the highlight over the choices, confirm picks, cancel
    // closes; while the dialog shows, these keys do nothing else.
    void Keys(Controls& c) override {
        DialogCommand d = g.dialogBox.Keys(c.Pressed(Action::Up), c.Pressed(Action::Down), c.Pressed(Action::Confirm),
                                           c.Pressed(Action::Cancel));
        if (d.click || d.kind != DialogCommand::kNone) cmd.dialog = std::move(d);
        ConsumeMenuKeys(c);
    }
    void Update(const Controls& input) override {
        DialogCommand c = g.dialogBox.Update(input);
        if (c.click || c.kind != DialogCommand::kNone) cmd.dialog = std::move(c);
    }
    void Draw() override { g.dialogBox.Draw(g.fonts.game); }
};

// The map-name banner, the banners and the notices: above the windows and
// the dialog, so a refusal is seen where it happens. They take no clicks.
class BannerLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "banners"; }
    bool Shown() const override { return true; }
    bool Takes(const PointerEvent&) const override { return false; }
    void Update(const Controls&) override {}
    void Draw() override {
        g.hud.DrawBanners(HudView{g.player, g.camera, g.map.banner, g.map.DisplayName(), g.engine.Delta()});
    }
};

// Message boxes: the death box is modal; while it shows, it takes every
// click on the screen.
class MessageBoxLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "messageBox"; }
    bool Shown() const override { return Hud::DeathBoxShown(g.player); }
    bool Takes(const PointerEvent&) const override { return true; }
    // Confirm presses the box's one button.
    void Keys(Controls& c) override {
        if (g.hud.DeathBoxKeys(c.Pressed(Action::Confirm))) cmd.revive = true;
        ConsumeMenuKeys(c);
    }
    void Update(const Controls& input) override {
        if (g.hud.UpdateDeathBox(input)) cmd.revive = true;
    }
    void Draw() override { g.hud.DrawDeathBox(g.player); }
};

// The tooltip of what lies under the pointer, only when the layer it
// belongs to is the one under the pointer.
class TooltipLayer final : public GameLayer {
public:
    TooltipLayer(Game& game, InterfaceCommands& commands, const InterfaceStack& stack)
        : GameLayer(game, commands), m_stack(stack) {}
    std::string_view Name() const override { return "tooltip"; }
    bool Shown() const override { return true; }
    bool Takes(const PointerEvent&) const override { return false; }
    void Update(const Controls&) override {}
    void Draw() override {
        const PointerEvent at{PointerEvent::kMove, PointerEvent::kNone, g.mouseX, g.mouseY};
        const UiLayer* under = m_stack.TakerOf(at);
        const std::string_view name = under != nullptr ? under->Name() : std::string_view();
        g.gameInterface.SetPointer(g.mouseX, g.mouseY);
        g.gameInterface.ForgetTooltip();
        if (name == "window" || name == "trade") g.gameInterface.DrawTooltip(g.inventory, g.dataTables());
        if (name == "window" && g.hud.openWindow() == gbk::Lit("技能窗口")) g.skills.DrawWindowTooltip();
        if (name == "skillBar") g.skills.DrawBarTooltip();
    }

private:
    const InterfaceStack& m_stack;
};

// What the hand holds: an item (a right press anywhere lets a shop item go
// back) or a skill for the bar.
class HeldLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "held"; }
    // The game under the title screen is left behind whole, the hand too.
    bool Shown() const override { return !g.menus.titleShown(); }
    bool Takes(const PointerEvent& e) const override {
        return e.kind == PointerEvent::kPress && e.button == PointerEvent::kRight &&
               g.gameInterface.hand.held.FromShop();
    }
    void Update(const Controls& input) override {
        if (input.Pressed(Action::MouseRight)) g.gameInterface.RightPressLetsGo();
    }
    void Draw() override {
        g.gameInterface.SetPointer(g.mouseX, g.mouseY);
        g.gameInterface.DrawHeld();
        g.skills.DrawCarried();
    }
};

// The game's own mouse pointer, over everything.
class PointerLayer final : public GameLayer {
public:
    using GameLayer::GameLayer;
    std::string_view Name() const override { return "pointer"; }
    bool Shown() const override { return true; }
    bool Takes(const PointerEvent&) const override { return false; }
    void Update(const Controls&) override {}
    void Draw() override {
        g.Trace("pointer.draw");
        g.pointer.Draw(g.mouseX, g.mouseY);
    }
};

}  // namespace

GameLayers::GameLayers(Game& game) : m_game(game) {
    auto add = [&](std::unique_ptr<UiLayer> layer) {
        game.interfaceStack.Add(*layer);
        m_layers.push_back(std::move(layer));
    };
    add(std::make_unique<WorldLayer>(game, commands));
    add(std::make_unique<NpcOverlayLayer>(game, commands));
    add(std::make_unique<HudLayer>(game, commands));
    add(std::make_unique<SkillBarLayer>(game, commands));
    add(std::make_unique<WindowLayer>(game, commands));
    add(std::make_unique<TradeLayer>(game, commands));
    add(std::make_unique<DialogLayer>(game, commands));
    add(std::make_unique<BannerLayer>(game, commands));
    add(std::make_unique<MessageBoxLayer>(game, commands));
    // The menus are modal, above everything that takes clicks: the system
    // window, the title screen (covering all below), the slot list opened
    // from either, the settings page opened from the system window, and
    // the question over them all.
    game.interfaceStack.Add(game.menus.systemLayer());
    game.interfaceStack.Add(game.menus.titleLayer());
    game.interfaceStack.Add(game.menus.slotLayer());
    game.interfaceStack.Add(game.settingsPage);
    game.interfaceStack.Add(game.menus.questionLayer());
    add(std::make_unique<TooltipLayer>(game, commands, game.interfaceStack));
    add(std::make_unique<HeldLayer>(game, commands));
    add(std::make_unique<PointerLayer>(game, commands));
}

GameLayers::~GameLayers() = default;

void GameLayers::Apply() {
    InterfaceCommands c = std::move(commands);
    commands = InterfaceCommands{};
    Game& g = m_game;
    if (c.revive) g.RevivePlayer();
    if (c.questClick) g.engine.PlaySound(g.sounds.click, 10, 0, 1.0f, false);
    if (c.dialog.click) g.engine.PlaySound(g.sounds.click, 10, 0, 1.0f, false);
    if (c.dialog.kind == DialogCommand::kRunFunction) {
        // The NPC's script runs again so its functions are defined, then the
        // picked function; it may set a new prompt, new choices or close.
        g.scripts.RunDialogFunction(g.dialogBox.npcScript, c.dialog.function);
    }
    if (c.talkTo != 0) g.TalkTo(c.talkTo);
    if (std::optional<GameSettings> s = g.settingsPage.TakeChange()) {
        const std::string failed = g.settingsKeeper.Change(g.engine, g.controlsReader, *s);
        g.settingsPage.SetCurrent(g.settingsKeeper.settings());
        if (!failed.empty())
            g.chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("设置保存失败：") + gbk::FromUtf8(failed), 0xFFFF0000, true, 0,
                              false);
    }
    if (!c.chatLine.empty()) {
        g.chatLog.AddLine(gbk::Lit("玩家001"), c.chatLine);
        g.SayInBubble(gbk::Lit("玩家001:") + c.chatLine);
    }
    if (c.openSystem) g.menus.OpenSystemWindow();
    g.menus.Apply();
}
