#pragma once
// The script commands' door into the running game: every ScriptServices
// method acts on the Game's own objects (dialog box, chat log, HUD lists,
// player record, bag, shop, equipment, quest log, effects, ground items).

#include "script/script_services.h"

class Game;

class GameScriptServices final : public ScriptServices {
public:
    explicit GameScriptServices(Game& game) : m_game(game) {}

    void SetDialogChoices(const std::vector<ScriptChoice>& choices) override;
    void CloseDialog() override;
    void SetDialogPrompt(const std::string& text) override;

    void AddChatLine(const std::string& label, const std::string& text, std::uint32_t labelColour,
                     bool hasLabelColour, std::uint32_t textColour, bool hasTextColour) override;
    void AddBanner(const std::string& text, std::uint32_t colour) override;
    void AddNotice(const std::string& text, std::uint32_t colour) override;
    void ShowWindow(const std::string& windowName) override;

    std::string PlayerName() const override;
    int PlayerValue(PlayerAttribute attribute) const override;
    void SetPlayerLevel(int level) override;
    void SetPlayerGold(int gold) override;
    void AddExperience(int amount) override;

    int BagItem(int slot) const override;
    void SetBagItem(int slot, const ItemRef& item) override;
    int ShopItem(int slot) const override;
    void SetShopItem(int slot, const ItemRef& item) override;
    void SetEquipment(int slot, const ItemRef& item) override;

    int QuestSlot(int slot) const override;
    void SetQuestSlot(int slot, int questNumber) override;

    void SpawnEffect(int mode, int effect, float x, float y, int repeatCount, int backAndForth, std::uint32_t colour,
                     bool drawnBehind) override;
    void DropItem(const std::string& itemName, float x, float y, int count, int counted) override;

private:
    Game& m_game;
};
