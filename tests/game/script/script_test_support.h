#pragma once
// Shared pieces of the script tests: a recording message box, game services
// that keep their state in plain arrays, and a runtime wired to both.

#include "core/random.h"
#include "script/script_runtime.h"
#include "script/script_services.h"
#include "shared/gbk.h"

#include <array>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
};

struct ChatLine {
    std::string label;
    std::string text;  // UTF-8
    std::uint32_t labelColour;
};

struct ListEntry {
    std::string text;  // UTF-8
    std::uint32_t colour;
};

struct SpawnedEffect {
    int mode, effect;
    float x, y;
    int repeat, backAndForth;
    std::uint32_t colour;
};

class FakeServices : public ScriptServices {
public:
    void SetDialogChoices(const std::vector<ScriptChoice>& c) override { choices = c; }
    void CloseDialog() override { dialogClosed = true; }
    void SetDialogPrompt(const std::string& text) override { prompt = gbk::ToUtf8(text); }
    void AddChatLine(const std::string& label, const std::string& text, std::uint32_t labelColour, bool,
                     std::uint32_t, bool) override {
        chat.push_back({gbk::ToUtf8(label), gbk::ToUtf8(text), labelColour});
    }
    void AddBanner(const std::string& text, std::uint32_t colour) override {
        banners.push_back({gbk::ToUtf8(text), colour});
    }
    void AddNotice(const std::string& text, std::uint32_t colour) override {
        notices.push_back({gbk::ToUtf8(text), colour});
    }
    void ShowWindow(const std::string& name) override { shownWindow = gbk::ToUtf8(name); }
    std::string PlayerName() const override { return gbk::FromUtf8("小明"); }
    int PlayerValue(PlayerAttribute a) const override {
        if (a == PlayerAttribute::Gold) return gold;
        if (a == PlayerAttribute::Level) return level;
        if (a == PlayerAttribute::Strength) return 7;
        return 0;
    }
    void SetPlayerLevel(int l) override { level = l; }
    void SetPlayerGold(int g) override { gold = g; }
    void AddExperience(int amount) override { experience += amount; }
    int BagItem(int slot) const override { return InRange(slot, kBagSlots) ? bag[slot] : -1; }
    void SetBagItem(int slot, const ItemRef& item) override {
        if (InRange(slot, kBagSlots)) bag[slot] = Keep(item);
    }
    int ShopItem(int slot) const override { return InRange(slot, kShopSlots) ? shop[slot] : -1; }
    void SetShopItem(int slot, const ItemRef& item) override {
        if (InRange(slot, kShopSlots)) shop[slot] = Keep(item);
    }
    void SetEquipment(int slot, const ItemRef& item) override {
        if (InRange(slot, kEquipmentSlots)) equipment[slot] = Keep(item);
    }
    int QuestSlot(int slot) const override { return InRange(slot, kQuestSlots) ? quests[slot] : -1; }
    void SetQuestSlot(int slot, int quest) override {
        if (InRange(slot, kQuestSlots)) quests[slot] = quest;
    }
    void SpawnEffect(int mode, int effect, float x, float y, int repeat, int backAndForth,
                     std::uint32_t colour, bool) override {
        effects.push_back({mode, effect, x, y, repeat, backAndForth, colour});
    }
    void DropItem(const std::string& name, float x, float y, int, int) override {
        drops.push_back({gbk::ToUtf8(name) + "@" + std::to_string(int(x)) + "," + std::to_string(int(y)), 0});
    }

    int OccupiedBagSlots() const {
        int n = 0;
        for (int s = 1; s <= kBagSlots; ++s) n += bag[s] != 0 ? 1 : 0;
        return n;
    }

    std::vector<ScriptChoice> choices;
    bool dialogClosed = false;
    std::string prompt;
    std::vector<ChatLine> chat;
    std::vector<ListEntry> banners, notices;
    std::string shownWindow;
    int level = 1, gold = 0, experience = 0;
    std::array<int, kBagSlots + 1> bag{};
    std::array<int, kShopSlots + 1> shop{};
    std::array<int, kEquipmentSlots + 1> equipment{};
    std::array<int, kQuestSlots + 1> quests{};
    std::vector<SpawnedEffect> effects;
    std::vector<ListEntry> drops;

    // Every item reference handed to a slot, in order (empties included).
    std::vector<ItemRef> placed;

private:
    static bool InRange(int slot, int count) { return slot >= 1 && slot <= count; }
    int Keep(const ItemRef& item) {
        placed.push_back(item);
        return item.itemNumber;
    }
};

// A runtime with both states created, the fake services attached and every
// message box recorded (in UTF-8).
class ScriptFixtureBase {
public:
    ScriptFixtureBase()
        : random(1234), runtime(random, [this](const std::string& text, const std::string& caption) {
              messages.push_back({gbk::ToUtf8(text), gbk::ToUtf8(caption)});
          }) {
        runtime.CreateStates();
        runtime.SetServices(&services);
    }

    // Runs UTF-8 source in the main state (as GBK, the way files arrive).
    bool RunMain(const std::string& utf8) { return runtime.mainState().RunText(gbk::FromUtf8(utf8)); }
    bool RunLevelUpState(const std::string& utf8) { return runtime.levelUpState().RunText(gbk::FromUtf8(utf8)); }

    // Global number of the main state (after a run that set it).
    double Number(const std::string& utf8Name) {
        ScriptState& s = runtime.mainState();
        s.GetGlobal(gbk::FromUtf8(utf8Name));
        const double v = s.ToNumber(1);
        s.Pop(1);
        return v;
    }
    std::string Text(const std::string& utf8Name, ScriptState* state = nullptr) {
        ScriptState& s = state != nullptr ? *state : runtime.mainState();
        s.GetGlobal(gbk::FromUtf8(utf8Name));
        const std::string v = gbk::ToUtf8(s.ToText(1));
        s.Pop(1);
        return v;
    }
    std::string TypeOf(const std::string& utf8Name, ScriptState* state = nullptr) {
        ScriptState& s = state != nullptr ? *state : runtime.mainState();
        s.GetGlobal(gbk::FromUtf8(utf8Name));
        const std::string v = lua_typename(s.lua(), lua_type(s.lua(), -1));
        s.Pop(1);
        return v;
    }

    Random random;
    FakeServices services;
    std::vector<ShownMessage> messages;
    ScriptRuntime runtime;
};
