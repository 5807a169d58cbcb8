#pragma once
// Using a bag item with the right button: potions (kept in their
// cell), the return-to-town scroll, the double-experience item and the
// skill books. What the use needs beyond the ItemWorld of the hand comes
// through ItemUseWorld.

#include "gameplay/held_item.h"

class Player;
struct SkillRow;

class ItemUseWorld : public ItemWorld {
public:
    // The double-experience item: one more minute and its log line.
    virtual void StartDoubleExperience() = 0;
    // The skill row item n teaches when it is a skill book (its name is a
    // skill row's name followed by "书"); nullptr for any other item.
    virtual const SkillRow* BookSkill(int itemNumber) const = 0;
    // LearnSkill (the skills); false when the skill cannot be learnt.
    virtual bool LearnSkill(int itemNumber) = 0;
    // The map's return to town.
    virtual void ReturnToTown() = 0;
    // A chat log line with the label "[系统]" in the log's default colours
    // (a skill book's level line).
    virtual void PlainLine(const std::string& gbkText) = 0;
};

namespace item_use {
constexpr int kFirstPotion = 17, kLastPotion = 19;
constexpr int kReturnScroll = 20, kDoubleExperience = 21, kThunderBook = 22;
constexpr int kGold = 16;
}  // namespace item_use

// Right click on bag cell `slot` (1..36): uses the item when its category is
// 13. Returns true when the item did something (or was refused with a
// sound or line), false when the cell holds nothing usable.
bool UseBagItem(Inventory& inv, int slot, Player& player, ItemUseWorld& world);
