#include "gameplay/item_use.h"

#include <algorithm>
#include <string>

#include "gameplay/data_tables.h"
#include "gameplay/player.h"
#include "shared/gbk.h"

bool UseBagItem(Inventory& inv, int slot, Player& player, ItemUseWorld& world) {
    if (!item_slots::IsBag(slot)) return false;
    const int number = inv.bag.At(slot).itemNumber;
    const ItemRow* row = world.Row(number);
    if (row == nullptr || row->category != ItemRow::kConsumable) return false;
    // A dead player uses nothing: only the revival brings HP back.
    if (player.IsDead()) {
        world.PlaySound(ItemSound::Refuse);
        return true;
    }
    using namespace item_use;
    if (number >= kFirstPotion && number <= kLastPotion) {
        const int h = row->hpRestored(), m = row->mpRestored();
        if (h > 0) {
            if (player.hp >= player.maxHp) {
                world.PlaySound(ItemSound::Refuse);
                return true;
            }
            world.SystemLine(gbk::Lit("药品发挥了疗效! HP +") + std::to_string(h));
        }
        if (m > 0) {
            if (player.mp >= player.maxMp) {
                world.PlaySound(ItemSound::Refuse);
                return true;
            }
            world.SystemLine(gbk::Lit("药品发挥了疗效! MP +") + std::to_string(m));
        }
        player.hp = std::min(player.hp + static_cast<float>(h), player.maxHp);
        player.mp = std::min(player.mp + static_cast<float>(m), player.maxMp);
        world.PlaySound(ItemSound::Drink);
        return true;  // potions stay in their cell
    }
    if (number == kReturnScroll) {
        world.PlaySound(ItemSound::Use);
        inv.bag.Set(slot, ItemRef{});
        world.ReturnToTown();
        return true;
    }
    if (number == kDoubleExperience) {
        world.PlaySound(ItemSound::Use);
        world.StartDoubleExperience();
        return true;
    }
    if (const SkillRow* skill = world.BookSkill(number)) {
        // The skill row's required level gates its book ("雷电术需要等级2以上.").
        if (player.level < skill->requiredLevel) {
            world.PlainLine(skill->name + gbk::Lit("需要等级") + std::to_string(skill->requiredLevel) +
                            gbk::Lit("以上."));
            return true;
        }
        if (!world.LearnSkill(number)) {
            world.PlaySound(ItemSound::Refuse);
            return true;
        }
        world.PlaySound(ItemSound::Use);
        inv.bag.Set(slot, ItemRef{});
        return true;
    }
    return false;
}
