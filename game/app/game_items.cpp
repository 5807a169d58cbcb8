#include "app/game_items.h"

#include <limits>

#include "app/game.h"
#include "gameplay/data_tables.h"
#include "shared/gbk.h"

namespace {
constexpr std::uint32_t kRed = 0xFFFF0000;
}

const ItemRow* GameItems::Row(int itemNumber) const { return m_game.dataTables().items.At(itemNumber); }

int GameItems::Gold() const { return m_game.player.gold; }

void GameItems::ChangeGold(int delta) {
    // The gold operation of "增加金币": never wraps, and its log line.
    const long long sum = static_cast<long long>(m_game.player.gold) + delta;
    const long long lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    m_game.SetPlayerGold(static_cast<int>(sum < lo ? lo : (sum > hi ? hi : sum)));
    const std::string& prefix = delta > 0 ? gbk::Lit("获得金币 +") : gbk::Lit("金币");
    SystemLine(prefix + std::to_string(delta));
}

void GameItems::Banner(const std::string& gbkText, std::uint32_t colour) { m_game.hud.AddBanner(gbkText, colour); }

void GameItems::SystemLine(const std::string& gbkText) {
    m_game.chatLog.AddLine(gbk::Lit("[系统]"), gbkText, kRed, true, 0, false);
}

void GameItems::PlaySound(ItemSound sound) {
    const GameSounds& s = m_game.sounds;
    HEFFECT e = sound == ItemSound::Refuse ? s.itemWindowC : (sound == ItemSound::Drink ? s.itemWindowA : s.itemWindowB);
    m_game.engine.PlaySound(e, 50, 0, 1.0f, false);
}

void GameItems::DropAtFeet(int itemNumber) {
    const ItemRow* row = Row(itemNumber);
    // A quest item never lies on the ground: a full bag could not take it
    // back and the next map would lose it.
    if (row == nullptr || row->category == ItemRow::kQuestItem) return;
    const Player& p = m_game.player;
    const float x = p.x + 5.0f * static_cast<float>(m_game.random.Int(-5, 5));
    m_game.DropItem(row->name, x, p.y + p.height - 30, 0, 0);
}

void GameItems::StartDoubleExperience() { m_game.StartDoubleExperience(); }

const SkillRow* GameItems::BookSkill(int itemNumber) const {
    return m_game.dataTables().skills.At(m_game.skills.BookSkill(itemNumber));
}

bool GameItems::LearnSkill(int itemNumber) { return m_game.skills.LearnFromBook(itemNumber); }

void GameItems::ReturnToTown() { m_game.map.ReturnToTown(); }

void GameItems::PlainLine(const std::string& gbkText) { m_game.chatLog.AddLine(gbk::Lit("[系统]"), gbkText); }

int GameItems::ItemNumber(const std::string& gbkName) const { return m_game.dataTables().FindItem(gbkName); }

bool GameItems::BagFull() const {
    // The held item's home cell counts as taken: it is kept for that item.
    const int reserved = m_game.gameInterface.hand.HomeBagSlot() != 0 ? 1 : 0;
    return m_game.inventory.bag.Occupied() + reserved >= ItemSlots<36>::kSize;
}

void GameItems::ReportBagFull() {
    const std::string& text = gbk::Lit("包裹已满!! ");
    const ChatLog& log = m_game.chatLog;
    if (log.size() > 0 && log.Line(log.size() - 1).text == text) return;
    SystemLine(text);
}

void GameItems::PlayerBox(float& x, float& y, float& w, float& h) const {
    const Player& p = m_game.player;
    x = p.x;
    y = p.y;
    w = p.width;
    h = p.height;
}

bool GameItems::ShowNames() const { return m_game.controls.Held(Action::ShowNames); }

bool GameItems::AddToBag(int itemNumber) {
    const ItemRef* t = m_game.scripts.templates().Item(itemNumber);
    if (t == nullptr) return false;
    const int reserved = m_game.gameInterface.hand.HomeBagSlot();
    for (int n = 1; n <= ItemSlots<36>::kSize; ++n) {
        if (n != reserved && m_game.inventory.bag.At(n).itemNumber == 0) {
            m_game.inventory.bag.Set(n, *t);
            return true;
        }
    }
    return false;
}

bool GameItems::Deliver(const GroundItem& item) {
    if (item.itemNumber() == item_use::kGold) {
        ChangeGold(item.goldAmount());
        return true;
    }
    return AddToBag(item.itemNumber());
}

void GameItems::DrawIcon(int itemNumber, float mapX, float mapY) {
    m_game.gameInterface.icons.Draw(itemNumber, mapX + m_game.camera.offsetX, mapY + m_game.camera.offsetY);
}

void GameItems::DrawName(const std::string& gbkName, float mapX, float mapY) {
    GdiFont& f = m_game.fonts.game;
    f.SetColour(0xFFFFFFFF);
    const float w = f.TextWidth(gbkName);
    f.Print(mapX + m_game.camera.offsetX - w / 2, mapY + m_game.camera.offsetY - 18, gbkName);
}
