#pragma once
// The game's side of the items: what the held-item rules, item use and
// ground items need from the game (gold with its log line, banners, sounds,
// drops at the player's feet, delivery of picked items, icons).

#include "gameplay/ground_item.h"
#include "gameplay/item_use.h"

class Game;

class GameItems final : public ItemUseWorld, public GroundItemHost {
public:
    explicit GameItems(Game& game) : m_game(game) {}

    // ---- ItemWorld / ItemUseWorld
    const ItemRow* Row(int itemNumber) const override;
    int Gold() const override;
    void ChangeGold(int delta) override;
    void Banner(const std::string& gbkText, std::uint32_t colour) override;
    void SystemLine(const std::string& gbkText) override;
    void PlaySound(ItemSound sound) override;
    void DropAtFeet(int itemNumber) override;
    void StartDoubleExperience() override;
    const SkillRow* BookSkill(int itemNumber) const override;
    bool LearnSkill(int itemNumber) override;
    void ReturnToTown() override;
    void PlainLine(const std::string& gbkText) override;

    // ---- GroundItemHost
    int ItemNumber(const std::string& gbkName) const override;
    bool BagFull() const override;
    void ReportBagFull() override;
    void PlayerBox(float& x, float& y, float& w, float& h) const override;
    bool ShowNames() const override;
    bool Deliver(const GroundItem& item) override;
    void DrawIcon(int itemNumber, float mapX, float mapY) override;
    void DrawName(const std::string& gbkName, float mapX, float mapY) override;

    // Puts a copy of item n's template into the first empty bag slot; false
    // when the bag is full or the item has no template.
    bool AddToBag(int itemNumber);

private:
    Game& m_game;
};
