#include "app/game_script_services.h"

#include "app/game.h"

void GameScriptServices::SetDialogChoices(const std::vector<ScriptChoice>& choices) {
    std::vector<DialogChoice>& list = m_game.dialogBox.choices;
    list.clear();
    for (const ScriptChoice& c : choices) list.push_back({c.caption, c.action});
}

void GameScriptServices::CloseDialog() { m_game.dialogBox.dialogOpen = 0; }

void GameScriptServices::SetDialogPrompt(const std::string& text) { m_game.dialogBox.prompt = text; }

void GameScriptServices::AddChatLine(const std::string& label, const std::string& text, std::uint32_t labelColour,
                                     bool hasLabelColour, std::uint32_t textColour, bool hasTextColour) {
    m_game.chatLog.AddLine(label, text, labelColour, hasLabelColour, textColour, hasTextColour);
}

void GameScriptServices::AddBanner(const std::string& text, std::uint32_t colour) { m_game.hud.AddBanner(text, colour); }

void GameScriptServices::AddNotice(const std::string& text, std::uint32_t colour) { m_game.hud.AddNotice(text, colour); }

void GameScriptServices::ShowWindow(const std::string& windowName) { m_game.hud.ShowWindow(windowName); }

std::string GameScriptServices::PlayerName() const { return m_game.player.name; }

int GameScriptServices::PlayerValue(PlayerAttribute a) const {
    const Player& p = m_game.player;
    switch (a) {
        case PlayerAttribute::Level: return p.level;
        case PlayerAttribute::MinPhysAttack: return p.minPhysAttack;
        case PlayerAttribute::MaxPhysAttack: return p.maxPhysAttack;
        case PlayerAttribute::MinPhysDefence: return p.minPhysDefence;
        case PlayerAttribute::MaxPhysDefence: return p.maxPhysDefence;
        case PlayerAttribute::MinMagicAttack: return p.minMagicAttack;
        case PlayerAttribute::MaxMagicAttack: return p.maxMagicAttack;
        case PlayerAttribute::MinMagicDefence: return p.minMagicDefence;
        case PlayerAttribute::MaxMagicDefence: return p.maxMagicDefence;
        case PlayerAttribute::Agility: return p.agility;
        case PlayerAttribute::Strength: return p.strength;
        case PlayerAttribute::Accuracy: return p.accuracy;
        case PlayerAttribute::Intelligence: return p.intelligence;
        case PlayerAttribute::Constitution: return p.constitution;
        case PlayerAttribute::Gold: return p.gold;
        case PlayerAttribute::Experience: return p.experience;
    }
    return 0;
}

void GameScriptServices::SetPlayerLevel(int level) { m_game.SetPlayerLevel(level); }

void GameScriptServices::SetPlayerGold(int gold) { m_game.SetPlayerGold(gold); }

void GameScriptServices::AddExperience(int amount) { m_game.AddExperience(amount); }

int GameScriptServices::BagItem(int slot) const {
    // The held item still belongs to the bag: its home cell shows it, so
    // "增加物品" passes it by and the item commands count and take it.
    const ItemHand& hand = m_game.gameInterface.hand;
    if (slot != 0 && slot == hand.HomeBagSlot()) return hand.held.item.itemNumber;
    return m_game.inventory.bag.At(slot).itemNumber;
}

void GameScriptServices::SetBagItem(int slot, const ItemRef& item) {
    m_game.inventory.bag.Set(slot, item);
    ItemHand& hand = m_game.gameInterface.hand;
    if (slot != 0 && slot == hand.HomeBagSlot()) hand.HomeCellWritten(m_game.inventory);
}

int GameScriptServices::ShopItem(int slot) const { return m_game.inventory.shop.At(slot).itemNumber; }

void GameScriptServices::SetShopItem(int slot, const ItemRef& item) { m_game.inventory.shop.Set(slot, item); }

void GameScriptServices::SetEquipment(int slot, const ItemRef& item) {
    // "装备物品" replaces what the slot held: the old item goes to the bag,
    // or to the player's feet when the bag is full; nothing is destroyed.
    int old = m_game.inventory.equipment.At(slot).itemNumber;
    ItemHand& hand = m_game.gameInterface.hand;
    const bool heldHome = slot != 0 && slot == hand.HomeEquipmentSlot();
    // The item held from this slot is what the slot held.
    if (heldHome) old = hand.held.item.itemNumber;
    const ItemRow* oldRow = m_game.dataTables().items.At(old);
    const bool quest = oldRow != nullptr && oldRow->category == ItemRow::kQuestItem;
    // A quest item that has nowhere to go keeps its slot.
    if (quest && m_game.items.BagFull()) return;
    m_game.inventory.equipment.Set(slot, item);
    if (heldHome) hand.held.Clear();
    if (old != 0 && !m_game.items.AddToBag(old)) m_game.items.DropAtFeet(old);
}

int GameScriptServices::QuestSlot(int slot) const { return m_game.questLog.At(slot); }

void GameScriptServices::SetQuestSlot(int slot, int questNumber) { m_game.questLog.Set(slot, questNumber); }

void GameScriptServices::SpawnEffect(int mode, int effect, float x, float y, int repeatCount, int backAndForth,
                                     std::uint32_t colour, bool drawnBehind) {
    m_game.map.SpawnEffect(mode, effect, x, y, repeatCount, backAndForth, colour, drawnBehind ? 1 : 0);
}

void GameScriptServices::DropItem(const std::string& itemName, float x, float y, int count, int counted) {
    m_game.DropItem(itemName, x, y, count, counted);
}
