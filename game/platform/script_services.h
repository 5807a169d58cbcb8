#pragma once
// The one door through which the script commands reach the game objects that
// own the state they change: the player, the bag, the shop, the equipment,
// the quest log, the dialog box, the HUD's message lists, the chat log, the
// effects and the ground items.
//
// Every method has a do-nothing (or zero / empty) default, so the commands can
// be registered before their owners exist: until a method is overridden the
// command that uses it changes nothing and reads zeros. The game derives one
// class from this and overrides a method as soon as the owner of that action
// exists.
//
// Conventions: slots and indexes are 1-based as the game numbers them
// (bag 1..36, shop 1..48, equipment 1..12, quest log 1..10); an item number
// of 0 means "empty"; colours are 32-bit ARGB; texts are GBK. The commands
// range-check what they pass, but an override must still tolerate any value.

#include "gameplay/item_templates.h"

#include <cstdint>
#include <string>
#include <vector>

// One entry of the NPC dialog's choice list, as "选择项" hands it over.
struct ScriptChoice {
    std::string caption;
    std::string action;  // global Lua function name, "exit", or empty
};

// The player attributes scripts can read, in the order of their names.
enum class PlayerAttribute {
    Level,
    MinPhysAttack,
    MaxPhysAttack,
    MinPhysDefence,
    MaxPhysDefence,
    MinMagicAttack,
    MaxMagicAttack,
    MinMagicDefence,
    MaxMagicDefence,
    Agility,
    Strength,
    Accuracy,
    Intelligence,
    Constitution,
    Gold,
    Experience,
};

class ScriptServices {
public:
    static constexpr int kBagSlots = 36;
    static constexpr int kShopSlots = 48;
    static constexpr int kEquipmentSlots = 12;
    static constexpr int kQuestSlots = 10;

    virtual ~ScriptServices() = default;

    // --- NPC dialog box ---------------------------------------------------
    // Replaces the whole choice list (the dialog lays out the buttons).
    virtual void SetDialogChoices(const std::vector<ScriptChoice>& /*choices*/) {}
    // DialogOpen := 0.
    virtual void CloseDialog() {}
    // The text shown above the choices.
    virtual void SetDialogPrompt(const std::string& /*text*/) {}

    // --- chat log and on-screen message lists -------------------------------
    virtual void AddChatLine(const std::string& /*label*/, const std::string& /*text*/,
                             std::uint32_t /*labelColour*/, bool /*hasLabelColour*/,
                             std::uint32_t /*textColour*/, bool /*hasTextColour*/) {}
    // Banner list: first free of five entries, dropped when all are taken.
    virtual void AddBanner(const std::string& /*text*/, std::uint32_t /*colour*/) {}
    // Notice list: same rules as the banner list.
    virtual void AddNotice(const std::string& /*text*/, std::uint32_t /*colour*/) {}
    // HUD show-window by name ("交易窗口").
    virtual void ShowWindow(const std::string& /*windowName*/) {}

    // --- player ---------------------------------------------------------------
    virtual std::string PlayerName() const { return {}; }
    virtual int PlayerValue(PlayerAttribute /*attribute*/) const { return 0; }
    virtual void SetPlayerLevel(int /*level*/) {}
    virtual void SetPlayerGold(int /*gold*/) {}
    // The player's add-experience operation (multiplier, messages, level-up).
    virtual void AddExperience(int /*amount*/) {}

    // --- item slots ------------------------------------------------------------
    // The getters answer the item number a slot holds (0 = empty). The
    // setters store a copy of `item`: a copy of the item's template (the
    // commands never make one up), or an empty ItemRef to empty the slot.
    virtual int BagItem(int /*slot*/) const { return 0; }
    virtual void SetBagItem(int /*slot*/, const ItemRef& /*item*/) {}
    virtual int ShopItem(int /*slot*/) const { return 0; }
    virtual void SetShopItem(int /*slot*/, const ItemRef& /*item*/) {}
    virtual void SetEquipment(int /*slot*/, const ItemRef& /*item*/) {}

    // --- quest log (ActiveQuests): quest numbers, 0 = free --------------------
    virtual int QuestSlot(int /*slot*/) const { return 0; }
    virtual void SetQuestSlot(int /*slot*/, int /*questNumber*/) {}

    // --- world ----------------------------------------------------------------
    // SpawnEffect: mode 1 = screen position, 2 = on the player.
    virtual void SpawnEffect(int /*mode*/, int /*effect*/, float /*x*/, float /*y*/,
                             int /*repeatCount*/, int /*backAndForth*/, std::uint32_t /*colour*/,
                             bool /*drawnBehind*/) {}
    // DropItem: a ground item of the first item row with that name.
    virtual void DropItem(const std::string& /*itemName*/, float /*x*/, float /*y*/,
                          int /*count*/, int /*counted*/) {}
};
