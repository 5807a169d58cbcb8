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

bool GameInterface::OverInterface(float x, float y) const {
    if (!(x <= kPlayAreaRight && y <= kPlayAreaBottom)) return true;
    if (Inside(x, y, 0, 0, 236, 84)) return true;         // player panel
    if (Inside(x, y, 20, 470, 383, 90)) return true;      // chat box
    if (chatInput.focused() && Inside(x, y, ChatInput::kX, ChatInput::kY, ChatInput::kWidth, ChatInput::kHeight))
        return true;
    const std::string& open = m_hud.openWindow();
    for (int i = 0; i < 5; ++i) {
        // The quest window is the quest code's: it takes its own clicks.
        const bool visible = open == gbk::Lit(kWindowNames[i]) || (i == 1 && itemWindowVisible());
        if (!visible || i == 3) continue;
        const auto n = static_cast<std::size_t>(i);
        if (Inside(x, y, PicX(i), PicY(i), m_windowW[n], m_windowH[n])) return true;
    }
    return false;
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
    m_cellTile = m_tile;
    m_slider = Whole(e, dataPaths, "\\data\\其它\\聊天框滑动条.png");
    m_carry = Rect(e, dataPaths, "\\data\\道具\\888.png", 30, 30);
    m_statusPic = Whole(e, dataPaths, "\\data\\其它\\状态背景.png");
    m_itemPic = Whole(e, dataPaths, "\\data\\其它\\物品背景.png");
    m_skillPic = Whole(e, dataPaths, "\\data\\其它\\技能背景.png");
    m_tradePic = Whole(e, dataPaths, "\\data\\其它\\交易框背景.png");
    m_tooltip.SetTile(m_tile);
    const Sprite* pics[5] = {&m_statusPic, &m_itemPic, &m_skillPic, &m_skillPic, &m_tradePic};
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

InterfaceResult GameInterface::Update(const InterfaceFrame& f) {
    InterfaceResult r;
    const Controls& c = f.controls;
    m_mouseX = c.mouseX;
    m_mouseY = c.mouseY;
    if (++m_blink > 20) m_blink = 0;

    r.chatLine = chatInput.Update(c.Pressed(Action::Enter), f.dt);

    // Window cells and buttons first, then the HUD's controls, then the drop.
    if (c.Pressed(Action::MouseLeft)) HandleLeftPress(f, r);
    if (c.Pressed(Action::MouseRight)) HandleRightPress(f, r);
    for (std::size_t i = 0; i < panelButtons.size(); ++i) {
        if (!panelButtons[i].Update(c)) continue;
        if (i == 4) {
            PlayClick();  // "系统" opens nothing
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

    // A held item whose window is gone goes home.
    if (hand.held.holding) {
        const bool visible = hand.held.FromShop() ? tradeWindowVisible() : itemWindowVisible();
        if (!visible) hand.ReturnHome(f.inventory, f.world);
    }
    return r;
}

void GameInterface::HandleLeftPress(const InterfaceFrame& f, InterfaceResult& r) {
    const float x = f.controls.mouseX, y = f.controls.mouseY;
    const bool over = OverInterface(x, y);
    r.leftTaken = over;
    // Window buttons.
    const std::string& open = m_hud.openWindow();
    for (int i = 0; i < 5; ++i) {
        const bool visible = open == gbk::Lit(kWindowNames[i]) || (i == 1 && itemWindowVisible());
        if (!visible || i == 3) continue;
        if (m_closeButtons[static_cast<std::size_t>(i)].Contains(x, y)) {
            PlayClick();
            m_hud.ShowWindow(gbk::Lit("无"));
            return;
        }
        if (m_helpButtons[static_cast<std::size_t>(i)].Contains(x, y)) {
            PlayClick();
            return;
        }
    }
    // Cells.
    const int cell = CellAt(x, y);
    if (item_slots::IsBag(cell)) {
        hand.ClickBag(f.inventory, cell, f.world);
        return;
    }
    if (item_slots::IsEquipment(cell)) {
        hand.ClickEquipment(f.inventory, cell - item_slots::kEquipmentFirst + 1, f.world);
        return;
    }
    if (item_slots::IsShop(cell)) {
        hand.ClickShop(f.inventory, cell - item_slots::kShopBase, f.world);
        return;
    }
    if (over) return;  // the HUD's own controls take it (buttons act on release)
    // The drop: outside the item window's area, in the play area.
    if (hand.held.holding && !InItemArea(x, y)) {
        hand.ClickOutside(f.world);
        r.leftTaken = true;
    }
}

void GameInterface::HandleRightPress(const InterfaceFrame& f, InterfaceResult& r) {
    const float x = f.controls.mouseX, y = f.controls.mouseY;
    r.rightTaken = OverInterface(x, y);
    if (hand.RightClick()) {
        r.rightTaken = true;
        return;
    }
    const int cell = CellAt(x, y);
    if (item_slots::IsBag(cell) && !hand.held.holding) UseBagItem(f.inventory, cell, f.player, f.world);
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

void GameInterface::DrawWindowPicture(const Sprite& picture, float x, float y) const { picture.Render(x, y); }

void GameInterface::DrawCell(int itemNumber, float x, float y, bool highlight) const {
    if (highlight) m_cellTile.RenderEx(x, y, 0, 3.0f, 3.0f);
    if (itemNumber != 0) icons.Draw(itemNumber, x, y);
}

void GameInterface::DrawItemWindow(const Player& p, const Inventory& inv, const DataTables& tables) const {
    DrawWindowPicture(m_itemPic, kItemPicX, kItemPicY);
    m_closeButtons[1].picture.Render(m_closeButtons[1].x, m_closeButtons[1].y);
    m_helpButtons[1].picture.Render(m_helpButtons[1].x, m_helpButtons[1].y);
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
    DrawWindowPicture(m_tradePic, kTradePicX, kTradePicY);
    m_closeButtons[4].picture.Render(m_closeButtons[4].x, m_closeButtons[4].y);
    m_helpButtons[4].picture.Render(m_helpButtons[4].x, m_helpButtons[4].y);
    for (int c = 1; c <= 48; ++c) DrawCell(inv.shop.At(c).itemNumber, ShopCellX(c), ShopCellY(c), false);
}

void GameInterface::DrawStatusWindow(const Player& p) const {
    DrawWindowPicture(m_statusPic, kWindowPicX, kWindowPicY);
    m_closeButtons[0].picture.Render(m_closeButtons[0].x, m_closeButtons[0].y);
    auto range = [](int a, int b) { return std::to_string(a) + "-" + std::to_string(b); };
    const std::string lines[] = {
        gbk::Lit("角色名: ") + p.name,
        gbk::Lit("等级: ") + std::to_string(p.level),
        "HP: " + std::to_string(static_cast<long long>(p.hp)) + "/" + std::to_string(static_cast<long long>(p.maxHp)),
        "MP: " + std::to_string(static_cast<long long>(p.mp)) + "/" + std::to_string(static_cast<long long>(p.maxMp)),
        gbk::Lit("物攻: ") + range(p.minPhysAttack, p.maxPhysAttack),
        gbk::Lit("物防: ") + range(p.minPhysDefence, p.maxPhysDefence),
        gbk::Lit("魔攻: ") + range(p.minMagicAttack, p.maxMagicAttack),
        gbk::Lit("魔防: ") + range(p.minMagicDefence, p.maxMagicDefence),
        gbk::Lit("武力: ") + std::to_string(p.strength) + gbk::Lit("  灵活: ") + std::to_string(p.agility),
        gbk::Lit("命中: ") + std::to_string(p.accuracy) + gbk::Lit("  智力: ") + std::to_string(p.intelligence),
        gbk::Lit("体质: ") + std::to_string(p.constitution),
        gbk::Lit("金币: ") + std::to_string(p.gold),
        gbk::Lit("经验: ") + std::to_string(p.experience) + "/" +
            std::to_string(static_cast<long long>(Player::LevelUpNeed(p.level))),
    };
    float y = kWindowPicY + 40;
    m_fonts.small.SetColour(0xFFFFFFFF);
    for (const std::string& line : lines) {
        m_fonts.small.Print(kWindowPicX + 24, y, line);
        y += 19;
    }
}

void GameInterface::DrawFront(const Player& p, const Inventory& inv, const DataTables& tables) {
    if (!m_built) return;
    const std::string& open = m_hud.openWindow();
    if (open == gbk::Lit(kWindowNames[0])) DrawStatusWindow(p);
    if (open == gbk::Lit(kWindowNames[2])) {
        DrawWindowPicture(m_skillPic, kWindowPicX, kWindowPicY);
        m_closeButtons[2].picture.Render(m_closeButtons[2].x, m_closeButtons[2].y);
    }
    if (tradeWindowVisible()) DrawTradeWindow(inv);
    if (itemWindowVisible()) {
        // The blink: yellow for ten frames, pale for the next ten.
        m_cellTile.SetColour(m_blink < 10 ? 0xFFFFFF00 : 0x88FFFFFF);
        DrawItemWindow(p, inv, tables);
    }
    for (std::size_t i = 0; i < panelButtons.size(); ++i) panelButtons[i].Draw();
    // The skill bar's cells, icons and key labels are the skill bar's.
    chatInput.Draw();
    if (hand.held.holding) {
        m_carry.Render(m_mouseX - 15, m_mouseY - 15);
        icons.Draw(hand.held.item.itemNumber, m_mouseX - 15, m_mouseY - 15);
    } else {
        const int cell = CellAt(m_mouseX, m_mouseY);
        int item = 0;
        if (item_slots::IsBag(cell)) item = inv.bag.At(cell).itemNumber;
        if (item_slots::IsEquipment(cell)) item = inv.equipment.At(cell - 36).itemNumber;
        if (item_slots::IsShop(cell)) item = inv.shop.At(cell - item_slots::kShopBase).itemNumber;
        if (const ItemRow* row = tables.items.At(item)) {
            m_tooltip.Draw(m_fonts.small, m_mouseX, m_mouseY, *row, item_slots::IsShop(cell),
                           static_cast<float>(m_engine.Width()), static_cast<float>(m_engine.Height()));
        }
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
    w.Field("clickSounds", m_clicks);
    w.Field("iconSprites", static_cast<int>(icons.SpriteCount()));
    w.EndObject();
}
