// Script commands that change the player, the bag, the shop, the equipment,
// the NPC state records and the quest log.

#include "core/tolerance.h"
#include "gameplay/data_tables.h"
#include "gameplay/item_templates.h"
#include "script/script_command_handlers.h"
#include "script/script_services.h"
#include "script/script_state.h"
#include "shared/gbk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace script_commands {
namespace {

struct NamedAttribute {
    const char* utf8Name;
    PlayerAttribute attribute;
};

// "角色名" is handled apart (it is the one text attribute).
constexpr NamedAttribute kAttributes[] = {
    {"等级", PlayerAttribute::Level},
    {"最小物攻", PlayerAttribute::MinPhysAttack},
    {"最大物攻", PlayerAttribute::MaxPhysAttack},
    {"最小物防", PlayerAttribute::MinPhysDefence},
    {"最大物防", PlayerAttribute::MaxPhysDefence},
    {"最小魔攻", PlayerAttribute::MinMagicAttack},
    {"最大魔攻", PlayerAttribute::MaxMagicAttack},
    {"最小魔防", PlayerAttribute::MinMagicDefence},
    {"最大魔防", PlayerAttribute::MaxMagicDefence},
    {"灵活", PlayerAttribute::Agility},
    {"武力", PlayerAttribute::Strength},
    {"命中", PlayerAttribute::Accuracy},
    {"智力", PlayerAttribute::Intelligence},
    {"体质", PlayerAttribute::Constitution},
    {"金币", PlayerAttribute::Gold},
    {"经验", PlayerAttribute::Experience},
};

// Gold, level and experience never wrap: a sum beyond the int range stops
// at its end (truncated toward zero inside it).
int SaturatingInt(double value) {
    if (!(value == value)) return 0;  // NaN
    constexpr double kMin = -2147483648.0, kMax = 2147483647.0;
    return static_cast<int>(std::trunc(std::clamp(value, kMin, kMax)));
}

// Equipment slot names in slot order (slot 1 .. 12).
constexpr const char* kEquipmentSlotNames[ScriptServices::kEquipmentSlots] = {
    "头盔", "项链", "盔甲", "手套", "盾牌", "戒指", "面具", "披风", "裤子", "鞋子", "武器", "饰品",
};

// First bag slot holding `item` (0 = first empty slot), or 0 when none.
int FirstBagSlot(const ScriptServices& services, int item) {
    for (int slot = 1; slot <= ScriptServices::kBagSlots; ++slot) {
        if (services.BagItem(slot) == item) return slot;
    }
    return 0;
}

int FirstFreeShopSlot(const ScriptServices& services) {
    for (int slot = 1; slot <= ScriptServices::kShopSlots; ++slot) {
        if (services.ShopItem(slot) == 0) return slot;
    }
    return 0;
}

NpcStateRecord* Npc(ScriptContext& c, int npc) { return c.tables != nullptr ? c.tables->npcState.At(npc) : nullptr; }

int FindItem(const ScriptContext& c, const std::string& name) {
    return c.tables != nullptr ? c.tables->FindItem(name) : 0;
}

// The template of the first item of that name, or nullptr when there is no
// such item or no templates at all.
const ItemRef* FindTemplate(const ScriptContext& c, const std::string& name) {
    return c.templates != nullptr ? c.templates->Item(FindItem(c, name)) : nullptr;
}

// Pushes an NPC record field as a number; an NPC outside the table reads 0.
int PushNpcField(ScriptContext& c, ScriptState& s, std::int32_t NpcStateRecord::*field) {
    const NpcStateRecord* record = Npc(c, s.ToInt(1));
    s.PushNumber(record != nullptr ? record->*field : 0);
    return 1;
}

}  // namespace

int PlayerAttributeValue(ScriptContext& c, ScriptState& s) {
    const std::string name = s.ToText(1);
    if (name == gbk::Lit("角色名")) {
        s.PushText(c.services->PlayerName());
        return 1;
    }
    for (const NamedAttribute& entry : kAttributes) {
        if (name == gbk::Lit(entry.utf8Name)) {
            s.PushNumber(c.services->PlayerValue(entry.attribute));
            return 1;
        }
    }
    s.PushNil();  // not an attribute name
    return 1;
}

int BagItemCount(ScriptContext& c, ScriptState& s) {
    int count = 0;
    for (int slot = 1; slot <= ScriptServices::kBagSlots; ++slot) {
        if (c.services->BagItem(slot) != 0) ++count;
    }
    s.PushNumber(count);
    return 1;
}

int AddShopItem(ScriptContext& c, ScriptState& s) {
    const ItemRef* item = FindTemplate(c, s.ToText(2));
    if (item == nullptr) return 0;
    // Each copy takes its own slot, so more copies than slots never fit.
    const int copies = std::min(s.ToInt(1), ScriptServices::kShopSlots);
    for (int i = 0; i < copies; ++i) {
        const int slot = FirstFreeShopSlot(*c.services);
        if (slot == 0) break;
        c.services->SetShopItem(slot, *item);
    }
    return 0;
}

int ResetShop(ScriptContext& c, ScriptState&) {
    for (int slot = 1; slot <= ScriptServices::kShopSlots; ++slot) c.services->SetShopItem(slot, ItemRef{});
    return 0;
}

int OpenShop(ScriptContext& c, ScriptState&) {
    c.services->ShowWindow(gbk::Lit("交易窗口"));
    return 0;
}

int AddExperience(ScriptContext& c, ScriptState& s) {
    c.services->AddExperience(SaturatingInt(s.ToNumber(1)));
    return 0;
}

int AddLevel(ScriptContext& c, ScriptState& s) {
    const double n = s.ToNumber(1);
    const int level = c.services->PlayerValue(PlayerAttribute::Level);
    c.services->SetPlayerLevel(SaturatingInt(level + n));
    c.services->AddBanner(gbk::Lit("[奖励]:等级 +") + gbk::NumberToText(n), kYellow);
    return 0;
}

int CheckItem(ScriptContext& c, ScriptState& s) {
    const int item = FindItem(c, s.ToText(2));
    const int wanted = s.ToInt(1);
    bool enough = false;
    if (item != 0) {
        int held = 0;
        for (int slot = 1; slot <= ScriptServices::kBagSlots; ++slot) {
            if (c.services->BagItem(slot) == item) ++held;
        }
        enough = held >= wanted;
    }
    s.PushBoolean(enough);
    return 1;
}

int AddGold(ScriptContext& c, ScriptState& s) {
    const double amount = s.ToNumber(1);
    const int gold = c.services->PlayerValue(PlayerAttribute::Gold);
    c.services->SetPlayerGold(SaturatingInt(gold + amount));
    // A loss reads "金币-50": the sign is the amount's own.
    const std::string& prefix = tolerance::Gt(amount, 0) ? gbk::Lit("获得金币 +") : gbk::Lit("金币");
    AddSystemLine(*c.services, prefix + gbk::NumberToText(amount));
    return 0;
}

int AddItem(ScriptContext& c, ScriptState& s) {
    const ItemRef* item = FindTemplate(c, s.ToText(2));
    if (item == nullptr) return 0;
    const int copies = std::min(s.ToInt(1), ScriptServices::kBagSlots);
    for (int i = 0; i < copies; ++i) {
        const int slot = FirstBagSlot(*c.services, 0);
        if (slot == 0) break;
        c.services->SetBagItem(slot, *item);
    }
    return 0;
}

int RemoveItem(ScriptContext& c, ScriptState& s) {
    const std::string name = s.ToText(2);
    const int count = s.ToInt(1);
    const int item = FindItem(c, name);
    if (item == 0) return 0;
    for (int i = 0; i < std::min(count, ScriptServices::kBagSlots); ++i) {
        const int slot = FirstBagSlot(*c.services, item);
        if (slot == 0) break;
        c.services->SetBagItem(slot, ItemRef{});
    }
    // The requested count is logged even when fewer copies were held.
    AddSystemLine(*c.services, gbk::Lit("失去 ") + name + gbk::Lit(" x ") + std::to_string(count));
    return 0;
}

int EquipItem(ScriptContext& c, ScriptState& s) {
    const std::string slotName = s.ToText(2);
    const std::string itemName = s.ToText(1);
    const int item = FindItem(c, itemName);
    if (item == 0) {
        AddSystemLine(*c.services, gbk::Lit("道具 ") + itemName + gbk::Lit(" 不存在!"));
        return 0;
    }
    // An item without a template (no templates were built) cannot go into
    // a slot; it is refused without a message.
    const ItemRef* itemTemplate = c.templates != nullptr ? c.templates->Item(item) : nullptr;
    if (itemTemplate == nullptr) return 0;
    for (int slot = 1; slot <= ScriptServices::kEquipmentSlots; ++slot) {
        if (slotName == gbk::Lit(kEquipmentSlotNames[slot - 1])) {
            c.services->SetEquipment(slot, *itemTemplate);
            break;
        }
    }
    return 0;
}

int DropItem(ScriptContext& c, ScriptState& s) {
    const std::string name = s.ToText(3);
    const auto x = static_cast<float>(s.ToNumber(2));
    const auto y = static_cast<float>(s.ToNumber(1));
    c.services->DropItem(name, x, y, 0, 0);
    return 0;
}

int SetNpcQuestState(ScriptContext& c, ScriptState& s) {
    if (NpcStateRecord* record = Npc(c, s.ToInt(2))) record->questState = s.ToInt(1);
    return 0;
}

int GetNpcQuestState(ScriptContext& c, ScriptState& s) { return PushNpcField(c, s, &NpcStateRecord::questState); }

int GetNpcVariable(ScriptContext& c, ScriptState& s) { return PushNpcField(c, s, &NpcStateRecord::variable); }

int GetNpcVariableText(ScriptContext& c, ScriptState& s) {
    const NpcStateRecord* record = Npc(c, s.ToInt(1));
    s.PushText(std::to_string(record != nullptr ? record->variable : 0));
    return 1;
}

int SetNpcVariable(ScriptContext& c, ScriptState& s) {
    if (NpcStateRecord* record = Npc(c, s.ToInt(2))) record->variable = s.ToInt(1);
    return 0;
}

int AddQuest(ScriptContext& c, ScriptState& s) {
    const int quest = s.ToInt(1);
    // Only quests of the quest table go into the log.
    if (c.tables == nullptr || c.tables->quests.At(quest) == nullptr) return 0;
    for (int slot = 1; slot <= ScriptServices::kQuestSlots; ++slot) {
        if (c.services->QuestSlot(slot) == 0) {
            c.services->SetQuestSlot(slot, quest);
            break;
        }
    }
    return 0;
}

int EndQuest(ScriptContext& c, ScriptState& s) {
    const int quest = s.ToInt(1);
    for (int slot = 1; slot <= ScriptServices::kQuestSlots; ++slot) {
        if (c.services->QuestSlot(slot) == quest) {
            c.services->SetQuestSlot(slot, 0);
            break;
        }
    }
    return 0;
}

int HasQuest(ScriptContext& c, ScriptState& s) {
    const int quest = s.ToInt(1);
    bool found = false;
    for (int slot = 1; slot <= ScriptServices::kQuestSlots && !found; ++slot) {
        found = c.services->QuestSlot(slot) == quest;
    }
    s.PushBoolean(found);
    return 1;
}

int GetQuestVariable(ScriptContext& c, ScriptState& s) { return PushNpcField(c, s, &NpcStateRecord::questVariable); }

int AddQuestVariable(ScriptContext& c, ScriptState& s) {
    if (NpcStateRecord* record = Npc(c, s.ToInt(2))) {
        // Added, not assigned.
        record->questVariable = ScriptState::TruncateToInt(record->questVariable + s.ToNumber(1));
    }
    return 0;
}

}  // namespace script_commands
