#include "ui/game_interface.h"

#include <algorithm>
#include <cmath>

#include "core/decimal_text.h"
#include "core/json_writer.h"
#include "gameplay/data_tables.h"
#include "gameplay/item_use.h"
#include "gameplay/player.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "shared/paths.h"
#include "ui/chat_log.h"
#include "ui/hud.h"
#include "ui/text_wrap.h"

namespace {

constexpr const char* kWindowNames[5] = {"状态窗口", "物品窗口", "技能窗口", "任务窗口", "交易窗口"};
constexpr const char* kPanelNames[5] = {"状态", "物品", "技能", "任务", "系统"};
constexpr float kPanelY[5] = {170, 205, 235, 265, 295};
// Picture sizes used when a picture is missing (hit tests still work).
constexpr float kFallbackW[5] = {240, 460, 240, 300, 236};
constexpr float kFallbackH[5] = {300, 340, 300, 320, 340};
constexpr float kEquipOffsetX[12] = {57, 57, 57, 57, 57, 57, 218, 218, 218, 218, 218, 218};
constexpr float kEquipOffsetY[12] = {100, 142, 184, 226, 268, 310, 100, 142, 184, 226, 268, 310};
constexpr float kCell = 30;
constexpr std::uint32_t kYellow = 0xFFFFFF00;

Sprite Whole(Engine& engine, const paths::DataPaths& dataPaths, const char* utf8Path) {
    HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbk::Lit(utf8Path)));
    return Sprite(t, 0, 0, static_cast<float>(engine.TextureWidth(t)), static_cast<float>(engine.TextureHeight(t)));
}

Sprite Rect(Engine& engine, const paths::DataPaths& dataPaths, const char* utf8Path, float w, float h) {
    HTEXTURE t = engine.LoadTexture(dataPaths.Resolve(gbk::Lit(utf8Path)));
    return Sprite(t, 0, 0, w, h);
}

float PicX(int window) {
    if (window == 1) return GameInterface::kItemPicX;
    if (window == 4) return GameInterface::kTradePicX;
    return GameInterface::kWindowPicX;
}
float PicY(int window) {
    if (window == 1) return GameInterface::kItemPicY;
    if (window == 4) return GameInterface::kTradePicY;
    return GameInterface::kWindowPicY;
}

bool Inside(float px, float py, float x, float y, float w, float h) {
    return px >= x && px < x + w && py >= y && py < y + h;
}

}  // namespace

// ------------------------------------------------------------ icons

void ItemIcons::Load(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables) {
    m_sprites.clear();
    m_iconOfItem.assign(1, 0);
    LoadNewRows(engine, dataPaths, tables);
}

void ItemIcons::LoadNewRows(Engine& engine, const paths::DataPaths& dataPaths, const DataTables& tables) {
    if (m_iconOfItem.empty()) m_iconOfItem.assign(1, 0);
    const std::vector<ItemRow>& rows = tables.items.rows();
    for (std::size_t i = m_iconOfItem.size() - 1; i < rows.size(); ++i) {
        const ItemRow& row = rows[i];
        m_iconOfItem.push_back(row.icon);
        if (m_sprites.count(row.icon) != 0) continue;
        HTEXTURE t = engine.LoadTexture(
            dataPaths.Resolve(gbk::Lit("\\data\\道具\\") + std::to_string(row.icon) + ".png"));
        m_sprites.emplace(row.icon, Sprite(t, 0, 0, kCell, kCell));
    }
}

void ItemIcons::Draw(int itemNumber, float x, float y) const {
    if (itemNumber < 1 || static_cast<std::size_t>(itemNumber) >= m_iconOfItem.size()) return;
    auto it = m_sprites.find(m_iconOfItem[static_cast<std::size_t>(itemNumber)]);
    if (it != m_sprites.end()) it->second.Render(x, y);
}

// ------------------------------------------------------------ layout

float GameInterface::BagCellX(int slot) { return kItemX + 246 + 37.0f * static_cast<float>((slot - 1) % 6 + 1); }
float GameInterface::BagCellY(int slot) { return kItemY + 85 + 38.0f * static_cast<float>((slot - 1) / 6 + 1); }
float GameInterface::EquipmentCellX(int slot) { return kItemX + kEquipOffsetX[std::clamp(slot, 1, 12) - 1]; }
float GameInterface::EquipmentCellY(int slot) { return kItemY + kEquipOffsetY[std::clamp(slot, 1, 12) - 1]; }
float GameInterface::ShopCellX(int cell) { return 27 + 37.0f * static_cast<float>((cell - 1) % 6 + 1); }
float GameInterface::ShopCellY(int cell) { return 88 + 38.0f * static_cast<float>((cell - 1) / 6 + 1); }

bool GameInterface::itemWindowVisible() const {
    const std::string& open = m_hud.openWindow();
    return open == gbk::Lit(kWindowNames[1]) || open == gbk::Lit(kWindowNames[4]);
}

bool GameInterface::tradeWindowVisible() const { return m_hud.openWindow() == gbk::Lit(kWindowNames[4]); }

int GameInterface::CellAt(float x, float y) const {
    if (itemWindowVisible()) {
        for (int s = 1; s <= 36; ++s)
            if (Inside(x, y, BagCellX(s), BagCellY(s), kCell, kCell)) return s;
        for (int s = 1; s <= 12; ++s)
            if (Inside(x, y, EquipmentCellX(s), EquipmentCellY(s), kCell, kCell)) return 36 + s;
    }
    if (tradeWindowVisible()) {
        for (int c = 1; c <= 48; ++c)
            if (Inside(x, y, ShopCellX(c), ShopCellY(c), kCell, kCell)) return item_slots::kShopBase + c;
    }
    return 0;
}

bool GameInterface::InItemArea(float x, float y) { return Inside(x, y, kItemX + 20, kItemY + 20, 520, 400); }

float GameInterface::WindowX(int w) const { return PicX(w); }
float GameInterface::WindowY(int w) const { return PicY(w); }

bool GameInterface::WindowShown(int w) const {
    if (w == kItemWindow) return itemWindowVisible();
    if (w < 0 || w > 4) return false;
    return m_hud.openWindow() == gbk::Lit(kWindowNames[w]);
}

bool GameInterface::WindowHolds(int w, float x, float y) const {
    if (w < 0 || w > 4) return false;
    return Inside(x, y, PicX(w), PicY(w), WindowWidth(w), WindowHeight(w));
}

bool GameInterface::HudHolds(float x, float y) const {
    if (!(x <= kPlayAreaRight && y <= kPlayAreaBottom)) return true;
    if (Inside(x, y, 0, 0, 236, 84)) return true;  // player panel
    if (Inside(x, y, 20, 470, 383, 90)) return true;  // chat box
    return chatInput.focused() && Inside(x, y, ChatInput::kX, ChatInput::kY, ChatInput::kWidth, ChatInput::kHeight);
}

// ------------------------------------------------------------ build

void GameInterface::Build(const paths::DataPaths& dataPaths, const DataTables& tables) {
    Engine& e = m_engine;
    m_bottomBar = Rect(e, dataPaths, "\\data\\其它\\底部UI.png", 800, 55);
    m_expFill = Rect(e, dataPaths, "\\data\\其它\\经验条.png", 632, 5);
    m_rightPanel = Rect(e, dataPaths, "\\data\\其它\\右侧背景.png", 45, 327);
    m_chatTop = Rect(e, dataPaths, "\\data\\其它\\聊天背景框上.png", 383, 5);
    m_chatMid = Rect(e, dataPaths, "\\data\\其它\\聊天背景框中.png", 383, 1);
    m_chatBottom = Rect(e, dataPaths, "\\data\\其它\\聊天背景框下.png", 383, 5);
    m_tile = Rect(e, dataPaths, "\\data\\其它\\msg.png", 10, 10);
    const std::uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    m_white = Sprite(e.handle() != 0 ? Texture_Create_e(e.handle(), 2, 2, white) : 0, 0, 0, 2, 2);
    m_slider = Whole(e, dataPaths, "\\data\\其它\\聊天框滑动条.png");
    m_carry = Rect(e, dataPaths, "\\data\\道具\\888.png", 30, 30);
    m_statusPic = Whole(e, dataPaths, "\\data\\其它\\状态背景.png");
    m_itemPic = Whole(e, dataPaths, "\\data\\其它\\物品背景.png");
    m_skillPic = Whole(e, dataPaths, "\\data\\其它\\技能背景.png");
    m_tradePic = Whole(e, dataPaths, "\\data\\其它\\交易框背景.png");
    m_tooltip.SetBox(m_white);
    m_questPic = Whole(e, dataPaths, "\\data\\其它\\任务背景.png");
    const Sprite* pics[5] = {&m_statusPic, &m_itemPic, &m_skillPic, &m_questPic, &m_tradePic};
    Sprite close = Rect(e, dataPaths, "\\data\\其它\\关闭.png", 20, 20);
    Sprite help = Rect(e, dataPaths, "\\data\\其它\\问号.png", 20, 20);
    for (int i = 0; i < 5; ++i) {
        const bool missing = pics[i]->empty() || pics[i]->Width() <= 0;
        const float w = missing ? kFallbackW[i] : pics[i]->Width();
        m_windowW[static_cast<std::size_t>(i)] = w;
        m_windowH[static_cast<std::size_t>(i)] = missing ? kFallbackH[i] : pics[i]->Height();
        m_closeButtons[static_cast<std::size_t>(i)] = {close, PicX(i) + w - 28, PicY(i) + 8, 20, 20};
        m_helpButtons[static_cast<std::size_t>(i)] = {help, PicX(i) + w - 51, PicY(i) + 8, 20, 20};
    }
    for (std::size_t i = 0; i < panelButtons.size(); ++i) {
        panelButtons[i].Init(e, dataPaths, 750, kPanelY[i], gbk::Lit("\\data\\其它"), gbk::Lit(kPanelNames[i]));
        // A missing picture still leaves a clickable button.
        if (panelButtons[i].width() <= 0) panelButtons[i].SetBox(750, kPanelY[i], 48, 28);
    }
    m_clickSound = e.LoadSound(dataPaths.Resolve(gbk::Lit("\\data\\music\\90010.wav")));
    icons.Load(e, dataPaths, tables);
    chatInput.Create(e, m_fonts.small);
    m_built = true;
}

// ------------------------------------------------------------ update

void GameInterface::PlayClick() {
    ++m_clicks;
    m_engine.PlaySound(m_clickSound, 10, 0, 1.0f, false);
}

void GameInterface::ToggleWindow(const std::string& gbkName) {
    PlayClick();
    m_hud.ShowWindow(m_hud.openWindow() == gbkName ? gbk::Lit("无") : gbkName);
}

void GameInterface::Tick(const InterfaceFrame& f) {
    if (++m_blink > 20) m_blink = 0;
    if (m_helpShown >= 0 && !WindowShown(m_helpShown)) m_helpShown = -1;
    // A held item whose window is gone goes home.
    if (hand.held.holding) {
        const bool visible = hand.held.FromShop() ? tradeWindowVisible() : itemWindowVisible();
        if (!visible) hand.ReturnHome(f.inventory, f.world);
    }
}

std::string GameInterface::ChatKeys(Controls& c, float dt) {
    std::string sent = chatInput.Update(c.Pressed(Action::Enter), dt);
    if (chatInput.focused() || !sent.empty()) {
        // Typing: no game key acts (walking, jumping, attacking, picking
        // up, spells and the quick slots).
        for (Action a : {Action::WalkLeft, Action::WalkRight, Action::Up, Action::Down, Action::Jump, Action::Attack,
                         Action::PickUp, Action::CastSpell, Action::ShowNames, Action::QuickSlot1, Action::QuickSlot2,
                         Action::QuickSlot3, Action::QuickSlot4, Action::QuickSlot5, Action::QuickSlot6,
                         Action::QuickSlot7, Action::QuickSlot8}) {
            c[a] = ActionState{};
        }
        c.keyPressed = 0;
    }
    // Enter belongs to the chat: the same key confirms no menu this frame.
    c.Consume(Action::Enter);
    return sent;
}

bool GameInterface::UpdateHud(const Controls& c) {
    m_mouseX = c.mouseX;
    m_mouseY = c.mouseY;
    bool system = false;
    for (std::size_t i = 0; i < panelButtons.size(); ++i) {
        if (!panelButtons[i].Update(c)) continue;
        if (i == 4) {
            PlayClick();
            system = true;  // the game's system window
        } else {
            ToggleWindow(gbk::Lit(kWindowNames[i]));
        }
    }
    // The chat log scrolls with the wheel over the chat box, and with its
    // slider: a press on the track takes the slider there, and it follows
    // the pointer while the button stays down.
    if (c.wheel != 0 && Inside(c.mouseX, c.mouseY, 20, 470, 383, 90)) m_chatLog.Scroll(c.wheel);
    if (c.Pressed(Action::MouseLeft) && Inside(c.mouseX, c.mouseY, kTrackX, kTrackY, kTrackWidth, kTrackHeight))
        m_draggingSlider = true;
    if (!c.Held(Action::MouseLeft)) m_draggingSlider = false;
    if (m_draggingSlider) m_chatLog.ScrollTo(ScrollAtPointer(c.mouseY));
    if (c.Pressed(Action::MouseRight)) hand.RightClick();
    return system;
}

void GameInterface::UpdateWindow(int w, const InterfaceFrame& f) {
    const Controls& c = f.controls;
    const float x = c.mouseX, y = c.mouseY;
    if (c.Pressed(Action::MouseRight)) {
        if (hand.RightClick()) return;
        const int cell = CellAt(x, y);
        if (w == kItemWindow && item_slots::IsBag(cell) && !hand.held.holding)
            UseBagItem(f.inventory, cell, f.player, f.world);
        return;
    }
    if (!c.Pressed(Action::MouseLeft)) return;
    const auto n = static_cast<std::size_t>(w);
    if (m_closeButtons[n].Contains(x, y)) {
        PlayClick();
        m_hud.ShowWindow(gbk::Lit("无"));
        return;
    }
    if (m_helpButtons[n].Contains(x, y)) {
        PlayClick();
        m_helpShown = m_helpShown == w ? -1 : w;
        return;
    }
    // A press anywhere else on the window puts its help away.
    if (m_helpShown == w) m_helpShown = -1;
    const int cell = CellAt(x, y);
    if (w == kItemWindow && item_slots::IsBag(cell)) hand.ClickBag(f.inventory, cell, f.world);
    if (w == kItemWindow && item_slots::IsEquipment(cell))
        hand.ClickEquipment(f.inventory, cell - item_slots::kEquipmentFirst + 1, f.world);
    if (w == kTradeWindow && item_slots::IsShop(cell)) hand.ClickShop(f.inventory, cell - item_slots::kShopBase, f.world);
}

bool GameInterface::WorldPress(const InterfaceFrame& f, float x, float y) {
    if (!hand.held.holding || InItemArea(x, y)) return false;
    hand.ClickOutside(f.world);
    return true;
}

// ------------------------------------------------------------ drawing

float GameInterface::ExperienceWidth(const Player& p) {
    const double level = p.level;
    const double need = 50.0 * (level + 1) * (level + 1);
    if (!(need > 0)) return 0;
    const double w = static_cast<double>(p.experience) * kExpBarWidth / need;
    return static_cast<float>(std::clamp(w, 0.0, static_cast<double>(kExpBarWidth)));
}

std::string GameInterface::ExperienceText(const Player& p) {
    return TwoDecimalsText(ExperienceWidth(p) / kExpBarWidth * 100.0) + "%";
}

void GameInterface::DrawBack(const Player& p) {
    if (!m_built) return;
    const float h = static_cast<float>(m_engine.Height());
    m_bottomBar.Render(0, h - 55);
    m_rightPanel.Render(755, 165);
    m_chatTop.Render(20, 470);
    m_chatMid.RenderStretch(20, 475, 403, 555);
    m_chatBottom.Render(20, 555);
    DrawChatTrack();
    const float w = ExperienceWidth(p);
    m_expFill.SetTextureRect(0, 0, w, 5);
    if (w > 0) m_expFill.Render(kExpBarX, h - 55 + 47);
    m_fonts.digits.SetScale(0.6f);
    m_fonts.digits.SetColour(kYellow);
    m_fonts.digits.Print(58, h - 15, LUMO_ALIGN_LEFT, ExperienceText(p));
    m_fonts.digits.SetScale(1.0f);
}

int GameInterface::ScrollAtPointer(float y) const {
    // The slider's middle under the pointer: its top runs from the track's
    // top (oldest lines) down kSliderTravel pixels (newest).
    const float down = std::clamp((y - kSliderTop - kSliderHeight / 2) / kSliderTravel, 0.0f, 1.0f);
    return static_cast<int>(std::lround((1 - down) * static_cast<float>(m_chatLog.MaxScroll())));
}

void GameInterface::DrawChatTrack() const {
    m_tile.RenderEx(30, 472, 0, 0.5f, 8.7f);
    // The slider: at the bottom for the newest lines, rising as the log scrolls back.
    const int total = static_cast<int>(m_chatLog.size());
    const int maxScroll = std::max(0, total - ChatLog::kVisibleLines);
    const float t = maxScroll > 0 ? static_cast<float>(m_chatLog.scroll()) / static_cast<float>(maxScroll) : 0.0f;
    m_slider.Render(28, kSliderTop + kSliderTravel * (1 - t));
}

void GameInterface::DrawButtons(int w) const {
    const auto n = static_cast<std::size_t>(w);
    m_closeButtons[n].picture.Render(m_closeButtons[n].x, m_closeButtons[n].y);
    m_helpButtons[n].picture.Render(m_helpButtons[n].x, m_helpButtons[n].y);
}

void GameInterface::DrawCell(int itemNumber, float x, float y, bool highlight) const {
    if (highlight) {
        // A bright frame around the cell in the blink phase's colour, on a
        // dark band a pixel wider each side, so both phases stand out from
        // the well and from each other (a tinted dark tile stays dark).
        const float f = kFrameWidth;
        auto ring = [&](float out, float in, std::uint32_t colour) {
            m_white.SetColour(colour);
            m_white.RenderStretch(x - out, y - out, x + kCell + out, y - in);
            m_white.RenderStretch(x - out, y + kCell + in, x + kCell + out, y + kCell + out);
            m_white.RenderStretch(x - out, y - in, x - in, y + kCell + in);
            m_white.RenderStretch(x + kCell + in, y - in, x + kCell + out, y + kCell + in);
        };
        ring(f + 1, -1, kFrameDark);
        ring(f, 0, BlinkColour());
    }
    if (itemNumber != 0) icons.Draw(itemNumber, x, y);
}

void GameInterface::DrawItemWindow(const Player& p, const Inventory& inv, const DataTables& tables) const {
    m_itemPic.Render(kItemPicX, kItemPicY);
    DrawButtons(kItemWindow);
    int heldCategory = -1;
    if (hand.held.holding) {
        if (const ItemRow* row = tables.items.At(hand.held.item.itemNumber)) heldCategory = row->category;
    }
    for (int s = 1; s <= 12; ++s) {
        const float x = EquipmentCellX(s), y = EquipmentCellY(s);
        const int item = inv.equipment.At(s).itemNumber;
        DrawCell(item, x, y, heldCategory == item_slots::EquipmentCategory(s));
        // The hint over an empty slot while nothing is held: the slot's name.
        if (item == 0 && !hand.held.holding && Inside(m_mouseX, m_mouseY, x, y, kCell, kCell)) {
            m_fonts.small.SetColour(0xFFFFFFFF);
            m_fonts.small.Print(x + 2, y + 9, item_slots::EquipmentName(s));
        }
    }
    for (int s = 1; s <= 36; ++s) DrawCell(inv.bag.At(s).itemNumber, BagCellX(s), BagCellY(s), false);
    m_fonts.small.SetColour(0xFFFFCC00);
    m_fonts.small.Print(BagCellX(1), BagCellY(31) + 42, gbk::Lit("金币: ") + std::to_string(p.gold));
}

void GameInterface::DrawTradeWindow(const Inventory& inv) const {
    m_tradePic.Render(kTradePicX, kTradePicY);
    DrawButtons(kTradeWindow);
    for (int c = 1; c <= 48; ++c) DrawCell(inv.shop.At(c).itemNumber, ShopCellX(c), ShopCellY(c), false);
}

float GameInterface::StatusCellX(int column) { return kWindowPicX + (column == 1 ? kStatusRightX : kStatusLeftX); }
float GameInterface::StatusCellY(int row) { return kWindowPicY + kStatusTop + kStatusRowStep * static_cast<float>(row); }

void GameInterface::DrawStatusWindow(const Player& p) const {
    m_statusPic.Render(kWindowPicX, kWindowPicY);
    DrawButtons(kStatusWindow);
    auto range = [](int a, int b) { return std::to_string(a) + "-" + std::to_string(b); };
    auto whole = [](float v) { return std::to_string(static_cast<long long>(v)); };
    // Row by row: the left cell's text, the right cell's (empty: the left
    // one spans the row).
    const std::pair<std::string, std::string> rows[kStatusRows] = {
        {gbk::Lit("角色名: ") + p.name, ""},
        {gbk::Lit("等级: ") + std::to_string(p.level), gbk::Lit("金币: ") + std::to_string(p.gold)},
        {"HP: " + whole(p.hp) + "/" + whole(p.maxHp), "MP: " + whole(p.mp) + "/" + whole(p.maxMp)},
        {gbk::Lit("经验: ") + std::to_string(p.experience) + "/" + whole(static_cast<float>(Player::LevelUpNeed(p.level))),
         ""},
        {gbk::Lit("物攻: ") + range(p.minPhysAttack, p.maxPhysAttack), gbk::Lit("武力: ") + std::to_string(p.strength)},
        {gbk::Lit("物防: ") + range(p.minPhysDefence, p.maxPhysDefence), gbk::Lit("灵活: ") + std::to_string(p.agility)},
        {gbk::Lit("魔攻: ") + range(p.minMagicAttack, p.maxMagicAttack), gbk::Lit("命中: ") + std::to_string(p.accuracy)},
        {gbk::Lit("魔防: ") + range(p.minMagicDefence, p.maxMagicDefence),
         gbk::Lit("智力: ") + std::to_string(p.intelligence)},
        {gbk::Lit("体质: ") + std::to_string(p.constitution), ""},
    };
    m_fonts.small.SetColour(0xFFFFFFFF);
    for (int r = 0; r < kStatusRows; ++r) {
        const float y = StatusCellY(r) + kStatusTextDy;
        m_fonts.small.Print(StatusCellX(0) + kStatusTextDx, y, rows[r].first);
        if (!rows[r].second.empty()) m_fonts.small.Print(StatusCellX(1) + kStatusTextDx, y, rows[r].second);
    }
}

std::string GameInterface::HelpText(int w) {
    static const char* kTexts[5] = {
        "这里是角色的等级、生命、魔法、经验、金币和各项属性。穿上装备，属性随之改变。",
        "左键拿起物品，再点一个格子放下或交换；右键使用药水和卷轴。拿着装备会闪烁提示它的装备格；拿着物品点窗口以外的地方就丢在地上。",
        "左键点一个技能把它拿起，再点下方技能栏的格子放上去；按 A S D F Q W E R 使用技能栏的技能。",
        "左键点左边的任务名，右边显示任务描述、提示、奖励和跟踪。",
        "左键点商品把它拿起，放进包裹的格子就是购买；把包裹里的物品放到商店格子就是出售；右键放回商品。",
    };
    return w >= 0 && w < 5 ? gbk::Lit(kTexts[w]) : std::string();
}

void GameInterface::DrawWindowHelp(int w) {
    if (m_helpShown != w) return;
    // A box over the lower part of the window, under its title bar.
    const std::vector<std::string> lines = WrapText(HelpText(w), kHelpBytes);
    const float lineH = 18, boxW = WindowWidth(w) - 24;
    const float boxH = static_cast<float>(lines.size()) * lineH + 16;
    const float bx = WindowX(w) + 12, by = WindowY(w) + WindowHeight(w) - boxH - 12;
    m_white.SetColour(0xF0182436);
    m_white.RenderStretch(bx, by, bx + boxW, by + boxH);
    m_white.SetColour(0xFFB8C4D8);  // a light edge
    m_white.RenderStretch(bx, by, bx + boxW, by + 1);
    m_white.RenderStretch(bx, by + boxH - 1, bx + boxW, by + boxH);
    m_white.RenderStretch(bx, by, bx + 1, by + boxH);
    m_white.RenderStretch(bx + boxW - 1, by, bx + boxW, by + boxH);
    m_fonts.small.SetColour(0xFFFFFFCC);
    float y = by + 9;
    for (const std::string& line : lines) {
        m_fonts.small.Print(bx + 8, y, line);
        y += lineH;
    }
}

void GameInterface::DrawHudFront() {
    if (!m_built) return;
    for (std::size_t i = 0; i < panelButtons.size(); ++i) panelButtons[i].Draw();
    chatInput.Draw();
}

void GameInterface::DrawWindow(int w, const Player& p, const Inventory& inv, const DataTables& tables) {
    if (!m_built) return;
    switch (w) {
        case kStatusWindow: DrawStatusWindow(p); break;
        case kItemWindow: DrawItemWindow(p, inv, tables); break;
        case kSkillWindow:
            m_skillPic.Render(kWindowPicX, kWindowPicY);
            DrawButtons(kSkillWindow);
            break;
        case kQuestWindow:
            m_questPic.Render(kWindowPicX, kWindowPicY);
            DrawButtons(kQuestWindow);
            break;
        case kTradeWindow: DrawTradeWindow(inv); break;
        default: break;
    }
}

void GameInterface::DrawHeld() {
    if (!m_built || !hand.held.holding) return;
    m_carry.Render(m_mouseX - 15, m_mouseY - 15);
    icons.Draw(hand.held.item.itemNumber, m_mouseX - 15, m_mouseY - 15);
}

void GameInterface::DrawTooltip(const Inventory& inv, const DataTables& tables) {
    if (!m_built || hand.held.holding) return;
    const int cell = CellAt(m_mouseX, m_mouseY);
    int item = 0;
    if (item_slots::IsBag(cell)) item = inv.bag.At(cell).itemNumber;
    if (item_slots::IsEquipment(cell)) item = inv.equipment.At(cell - 36).itemNumber;
    if (item_slots::IsShop(cell)) item = inv.shop.At(cell - item_slots::kShopBase).itemNumber;
    if (const ItemRow* row = tables.items.At(item)) {
        m_tooltipItem = item;
        m_tooltipBox = m_tooltip.Draw(m_fonts.small, m_mouseX, m_mouseY, *row, item_slots::IsShop(cell),
                                      static_cast<float>(m_engine.Width()), static_cast<float>(m_engine.Height()));
    }
}

void GameInterface::DumpState(JsonWriter& w) const {
    w.Key("heldItem");
    w.BeginObject();
    w.Field("holding", hand.held.holding);
    w.Field("item", hand.held.item.itemNumber);
    w.Field("source", hand.held.source);
    w.EndObject();
    w.Key("interface");
    w.BeginObject();
    w.Field("openWindow", m_hud.openWindow());
    w.Field("itemWindow", itemWindowVisible());
    w.Field("tradeWindow", tradeWindowVisible());
    w.Field("chatFocused", chatInput.focused());
    w.Field("chatText", chatInput.text());
    w.Field("chatScroll", m_chatLog.scroll());
    w.Field("helpShown", m_helpShown);
    w.Key("tooltip");
    w.BeginObject();
    w.Field("item", m_tooltipItem);
    w.Field("x", m_tooltipBox.x);
    w.Field("y", m_tooltipBox.y);
    w.Field("width", m_tooltipBox.width);
    w.Field("height", m_tooltipBox.height);
    w.EndObject();
    w.Field("blink", m_blink);
    w.Field("clickSounds", m_clicks);
    w.Field("iconSprites", static_cast<int>(icons.SpriteCount()));
    w.EndObject();
}
