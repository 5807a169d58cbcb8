#pragma once
// The one door through which the script commands reach the game objects that
// own the state they change: the player, the bag, the shop, the equipment,
// the quest log, the dialog box, the HUD's message lists, the chat log, the
// effects and the ground items.
//
// The interface has no behaviour of its own: the game implements every
// method against its objects, and NullScriptServices (below) is the silent
// stand-in for tests that want none.
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
    virtual void SetDialogChoices(const std::vector<ScriptChoice>& choices) = 0;
    // DialogOpen := 0.
    virtual void CloseDialog() = 0;
    // The text shown above the choices.
    virtual void SetDialogPrompt(const std::string& text) = 0;

    // --- chat log and on-screen message lists -------------------------------
    virtual void AddChatLine(const std::string& label, const std::string& text,
                             std::uint32_t labelColour, bool hasLabelColour,
                             std::uint32_t textColour, bool hasTextColour) = 0;
    // Banner list: first free of five entries, dropped when all are taken.
    virtual void AddBanner(const std::string& text, std::uint32_t colour) = 0;
    // Notice list: same rules as the banner list.
    virtual void AddNotice(const std::string& text, std::uint32_t colour) = 0;
    // HUD show-window by name ("交易窗口").
    virtual void ShowWindow(const std::string& windowName) = 0;

    // --- player ---------------------------------------------------------------
    virtual std::string PlayerName() const = 0;
    virtual int PlayerValue(PlayerAttribute attribute) const = 0;
    virtual void SetPlayerLevel(int level) = 0;
    virtual void SetPlayerGold(int gold) = 0;
    // The player's add-experience operation (multiplier, messages, level-up).
    virtual void AddExperience(int amount) = 0;

    // --- item slots ------------------------------------------------------------
    // The getters answer the item number a slot holds (0 = empty). The
    // setters store a copy of `item`: a copy of the item's template (the
    // commands never make one up), or an empty ItemRef to empty the slot.
    virtual int BagItem(int slot) const = 0;
    virtual void SetBagItem(int slot, const ItemRef& item) = 0;
    virtual int ShopItem(int slot) const = 0;
    virtual void SetShopItem(int slot, const ItemRef& item) = 0;
    virtual void SetEquipment(int slot, const ItemRef& item) = 0;

    // --- quest log (ActiveQuests): quest numbers, 0 = free --------------------
    virtual int QuestSlot(int slot) const = 0;
    virtual void SetQuestSlot(int slot, int questNumber) = 0;

    // --- world ----------------------------------------------------------------
    // SpawnEffect: mode 1 = screen position, 2 = on the player.
    virtual void SpawnEffect(int mode, int effect, float x, float y,
                             int repeatCount, int backAndForth, std::uint32_t colour,
                             bool drawnBehind) = 0;
    // DropItem: a ground item of the first item row with that name.
    virtual void DropItem(const std::string& itemName, float x, float y,
                          int count, int counted) = 0;
};

// Does nothing and reads zeros: for tests that run commands without a game.
class NullScriptServices : public ScriptServices {
public:
    void SetDialogChoices(const std::vector<ScriptChoice>&) override {}
    void CloseDialog() override {}
    void SetDialogPrompt(const std::string&) override {}
    void AddChatLine(const std::string&, const std::string&, std::uint32_t, bool, std::uint32_t, bool) override {}
    void AddBanner(const std::string&, std::uint32_t) override {}
    void AddNotice(const std::string&, std::uint32_t) override {}
    void ShowWindow(const std::string&) override {}
    std::string PlayerName() const override { return {}; }
    int PlayerValue(PlayerAttribute) const override { return 0; }
    void SetPlayerLevel(int) override {}
    void SetPlayerGold(int) override {}
    void AddExperience(int) override {}
    int BagItem(int) const override { return 0; }
    void SetBagItem(int, const ItemRef&) override {}
    int ShopItem(int) const override { return 0; }
    void SetShopItem(int, const ItemRef&) override {}
    void SetEquipment(int, const ItemRef&) override {}
    int QuestSlot(int) const override { return 0; }
    void SetQuestSlot(int, int) override {}
    void SpawnEffect(int, int, float, float, int, int, std::uint32_t, bool) override {}
    void DropItem(const std::string&, float, float, int, int) override {}
};
