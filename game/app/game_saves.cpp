#include "app/game_saves.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "app/game.h"
#include "core/json_writer.h"
#include "core/save_store.h"
#include "gameplay/save_format.h"
#include "shared/gbk.h"

namespace {

constexpr std::uint32_t kSystemRed = 0xFFFF0000;

std::string LocalTime(const char* format) {
    char text[32] = "";
    std::time_t now = std::time(nullptr);
    if (const std::tm* t = std::localtime(&now)) std::strftime(text, sizeof text, format, t);
    return text;
}

template <std::size_t N>
void CaptureCells(const ItemSlots<N>& cells, const DataTables& tables, std::array<SavedRef, N>& out) {
    for (int n = 1; n <= static_cast<int>(N); ++n) {
        const int number = cells.At(n).itemNumber;
        const ItemRow* row = tables.items.At(number);
        out[static_cast<std::size_t>(n - 1)] = SavedRef{number, row ? row->name : std::string()};
    }
}

template <std::size_t N>
void ApplyCells(const std::array<SavedRef, N>& saved, const ItemTemplates& templates, ItemSlots<N>& cells) {
    cells.Clear();
    for (int n = 1; n <= static_cast<int>(N); ++n) {
        const ItemRef* t = templates.Item(saved[static_cast<std::size_t>(n - 1)].number);
        if (t) cells.Set(n, *t);
    }
}

SavedRef SkillRefOf(int number, const DataTables& tables) {
    const SkillRow* row = tables.skills.At(number);
    return SavedRef{number, row ? row->name : std::string()};
}

}  // namespace

std::string SlotDisplayName(std::string_view slot) {
    if (slot == "quick") return gbk::Lit("快速存档");
    if (slot == "auto") return gbk::Lit("自动存档");
    return gbk::Lit("存档") + std::string(slot);
}

std::string GameSaves::folder() const { return save_store::SavesFolder(m_game.options.saveDir); }

// ------------------------------------------------------------ capture

SaveGame GameSaves::Capture() const {
    const Game& g = m_game;
    const DataTables& tables = g.dataTables();
    const Player& p = g.player;
    SaveGame s;
    s.gameVersion = LUMO_VERSION;
    s.playSeconds = m_playSeconds;
    s.mapFile = g.map.fileName();
    s.x = p.x;
    s.y = p.y;
    s.ground = p.currentGround;
    s.facing = p.facing == PlayerMotion::kFacingLeft ? 1 : 2;
    s.level = p.level;
    s.experience = p.experience;
    s.gold = p.gold;
    s.hp = p.hp;
    s.maxHp = p.maxHp;
    s.mp = p.mp;
    s.maxMp = p.maxMp;
    s.poisoned = p.statusFlags[Player::kPoison] != 0;
    s.cursed = p.statusFlags[Player::kCurse] != 0;
    s.poison = p.statusRecords[Player::kPoison];
    s.curse = p.statusRecords[Player::kCurse];
    s.doubleExpElapsed = p.doubleExpElapsed;
    s.doubleExpTotal = p.doubleExpTotal;
    s.doubleExpMultiplier = p.doubleExpMultiplier;
    s.restTimer = p.restTimer;
    s.regenCounter = p.regenCounter;

    // An item in the hand still belongs to its cell (a shop item was never
    // taken out of the shop).
    Inventory inv = g.inventory;
    const HeldItem& held = g.gameInterface.hand.held;
    if (held.FromBelongings()) {
        bool placed = false;
        if (item_slots::IsBag(held.source) && inv.bag.At(held.source).itemNumber == 0) {
            inv.bag.Set(held.source, held.item);
            placed = true;
        } else if (item_slots::IsEquipment(held.source)) {
            const int slot = held.source - item_slots::kEquipmentFirst + 1;
            if (inv.equipment.At(slot).itemNumber == 0) {
                inv.equipment.Set(slot, held.item);
                placed = true;
            }
        }
        for (int n = 1; !placed && n <= ItemSlots<36>::kSize; ++n) {
            if (inv.bag.At(n).itemNumber == 0) {
                inv.bag.Set(n, held.item);
                placed = true;
            }
        }
    }
    CaptureCells(inv.bag, tables, s.bag);
    CaptureCells(inv.equipment, tables, s.equipment);
    CaptureCells(inv.shop, tables, s.shop);

    for (std::size_t i = 0; i < s.skills.size(); ++i) {
        const SkillEntry& e = p.skills.entries[i];
        s.skills[i] = SavedSkill{SkillRefOf(e.skill, tables), e.level, e.key};
    }
    const SkillBarSlots& bar = g.skills.bar.slots;
    for (int n = 1; n <= SkillBarSlots::kCells; ++n)
        s.bar[static_cast<std::size_t>(n - 1)] = SkillRefOf(bar.At(n).skill.skillNumber, tables);
    // A skill carried off a cell goes back to it.
    if (bar.carrying() && bar.carriedFrom() >= 1 && s.bar[static_cast<std::size_t>(bar.carriedFrom() - 1)].number == 0)
        s.bar[static_cast<std::size_t>(bar.carriedFrom() - 1)] = SkillRefOf(bar.carried().skillNumber, tables);

    for (int i = 1; i <= QuestLog::kSlots; ++i) s.quests[static_cast<std::size_t>(i - 1)] = g.questLog.At(i);
    s.npcs = tables.npcState.records();
    const std::size_t lines = g.chatLog.size();
    for (std::size_t i = lines > SaveGame::kChatLines ? lines - SaveGame::kChatLines : 0; i < lines; ++i) {
        const ChatLine& c = g.chatLog.Line(i);
        s.chat.push_back(SavedChatLine{c.label, c.text, c.labelColour, c.textColour});
    }
    s.mapRandomState = m_mapRandomState;
    return s;
}

// ------------------------------------------------------------ apply

void GameSaves::Apply(const SaveGame& s) {
    Game& g = m_game;
    m_applying = true;
    // The map's monsters draw as they did when the saved map was loaded.
    if (!s.mapRandomState.empty()) g.random.SetState(s.mapRandomState);
    const std::string fsMap = g.Resolve(gbk::Lit("\\data\\地图\\") + s.mapFile);
    std::error_code ec;
    Player& p = g.player;
    bool townInstead = true;
    if (std::filesystem::is_regular_file(fsMap, ec) && g.map.LoadMap(s.mapFile, s.ground > 0 ? s.ground : 0)) {
        p.x = s.x;
        p.y = s.y;
        p.currentGround = s.ground;
        p.Face(s.facing);
        p.state = PlayerMotion::kIdle;
        p.jumping = 0;
        p.fallSpeed = 0;
        townInstead = false;
    } else {
        g.map.ReturnToTown();
    }
    p.level = s.level;
    p.experience = s.experience;
    p.gold = s.gold;
    p.hp = s.hp;
    p.maxHp = s.maxHp;
    p.mp = s.mp;
    p.maxMp = s.maxMp;
    p.statusFlags[Player::kPoison] = s.poisoned ? 1 : 0;
    p.statusFlags[Player::kCurse] = s.cursed ? 1 : 0;
    p.statusRecords[Player::kPoison] = s.poison;
    p.statusRecords[Player::kCurse] = s.curse;
    p.doubleExpElapsed = s.doubleExpElapsed;
    p.doubleExpTotal = s.doubleExpTotal;
    p.doubleExpMultiplier = s.doubleExpMultiplier;
    p.restTimer = s.restTimer;
    p.regenCounter = s.regenCounter;
    p.hurtImmunity = 0;

    const ItemTemplates& templates = g.scripts.templates();
    g.gameInterface.hand.held.Clear();
    ApplyCells(s.bag, templates, g.inventory.bag);
    ApplyCells(s.equipment, templates, g.inventory.equipment);
    ApplyCells(s.shop, templates, g.inventory.shop);
    for (std::size_t i = 0; i < s.skills.size(); ++i) {
        const SavedSkill& k = s.skills[i];
        p.skills.entries[i] = k.skill.number ? SkillEntry{k.skill.number, k.level, k.key} : SkillEntry{};
    }
    SkillBarSlots& bar = g.skills.bar.slots;
    bar = SkillBarSlots{};
    for (int n = 1; n <= SkillBarSlots::kCells; ++n) {
        if (const SkillRef* t = templates.Skill(s.bar[static_cast<std::size_t>(n - 1)].number)) bar.Set(n, *t);
    }
    for (int i = 1; i <= QuestLog::kSlots; ++i) g.questLog.Set(i, s.quests[static_cast<std::size_t>(i - 1)]);
    NpcState& npcs = g.dataTables().npcState;
    for (int i = 1; i <= npcs.Count(); ++i)
        *npcs.At(i) = static_cast<std::size_t>(i) <= s.npcs.size() ? s.npcs[static_cast<std::size_t>(i - 1)] : NpcStateRecord{};
    g.chatLog.Clear();
    for (const SavedChatLine& c : s.chat) g.chatLog.AddLine(c.label, c.text, c.labelColour, true, c.textColour, true);
    if (townInstead) SystemLine(gbk::Lit("存档的地图 ") + s.mapFile + gbk::Lit(" 已不存在, 回到城镇"));
    m_playSeconds = s.playSeconds;
    m_mapChanged = false;
    m_applying = false;
}

// ------------------------------------------------------------ slots

void GameSaves::SystemLine(const std::string& gbkText) {
    m_game.chatLog.AddLine(gbk::Lit("[系统]"), gbkText, kSystemRed, true, 0, false);
}

bool GameSaves::Save(std::string_view slot, bool announce) {
    Finish();
    m_pendingSlot = std::string(slot);
    m_pendingAnnounce = announce;
    const std::string dir = folder();
    if (dir.empty()) {
        Report("no saves folder (HOME is not set)");
        return false;
    }
    SaveGame s = Capture();
    s.savedAt = LocalTime("%Y-%m-%d %H:%M:%S");
    m_pending = std::async(std::launch::async, [path = save_store::SlotPath(dir, slot), text = WriteSaveJson(s)] {
        return save_store::WriteAtomically(path, text);
    });
    return true;
}

void GameSaves::Finish() {
    if (m_pending.valid()) Report(m_pending.get());
}

void GameSaves::Report(const std::string& error) {
    if (!error.empty()) {
        ++m_writeFailures;
        std::cerr << "game: could not save to slot " << m_pendingSlot << ": " << error << "\n";
        SystemLine(gbk::Lit("保存失败: ") + SlotDisplayName(m_pendingSlot) + gbk::Lit(" 无法写入"));
        return;
    }
    m_lastSaved = m_pendingSlot;
    if (m_pendingAnnounce)
        SystemLine(gbk::Lit("已保存到 ") + SlotDisplayName(m_pendingSlot) + " (" + LocalTime("%H:%M:%S") + ")");
}

bool GameSaves::Load(std::string_view slot) {
    Finish();  // a save under way is read back whole
    const std::string path = save_store::SlotPath(folder(), slot);
    std::error_code ec;
    if (folder().empty() || !std::filesystem::exists(path, ec)) {
        SystemLine(SlotDisplayName(slot) + gbk::Lit(" 中没有存档"));
        return false;
    }
    return LoadFile(path, slot, false);
}

bool GameSaves::LoadBackup(std::string_view slot) {
    Finish();
    if (folder().empty()) return false;
    return LoadFile(save_store::BackupPath(save_store::SlotPath(folder(), slot)), slot, true);
}

std::vector<SlotSummary> GameSaves::Summaries() {
    Finish();  // a write under way is listed as it will be
    std::vector<SlotSummary> list;
    for (const char* slot : {"1", "2", "3", "quick", "auto"}) {
        SlotSummary s;
        s.slot = slot;
        const std::string path = folder().empty() ? std::string() : save_store::SlotPath(folder(), slot);
        std::error_code ec;
        std::string text, error;
        s.present = !path.empty() && std::filesystem::is_regular_file(path, ec);
        if (s.present && save_store::ReadWhole(path, text, error)) {
            const SaveReadResult r = ReadSaveJson(text, m_game.dataTables());
            if (r.save) {
                s.readable = true;
                s.level = r.save->level;
                s.mapName = GameMap::DisplayNameOf(r.save->mapFile);
                s.playSeconds = r.save->playSeconds;
                s.savedAt = r.save->savedAt;
            }
        }
        list.push_back(std::move(s));
    }
    return list;
}

std::string GameSaves::Newest(const std::vector<SlotSummary>& slots) {
    const SlotSummary* newest = nullptr;
    for (const SlotSummary& s : slots)
        if (s.readable && (newest == nullptr || s.savedAt > newest->savedAt)) newest = &s;
    return newest != nullptr ? newest->slot : std::string();
}

bool GameSaves::LoadFile(const std::string& path, std::string_view slot, bool isBackup) {
    Game& g = m_game;
    std::string text, error;
    SaveReadResult r;
    if (!save_store::ReadWhole(path, text, error)) {
        r.error = error;
    } else {
        r = ReadSaveJson(text, g.dataTables());
    }
    const std::string gbkPath = gbk::FromUtf8(path);
    const std::string caption = gbk::Lit("读取进度");
    if (r.save) {
        Apply(*r.save);
        for (const std::string& name : r.dropped)
            SystemLine(gbk::Lit("存档中的 ") + name + gbk::Lit(" 已不在游戏数据中, 已丢弃"));
        SystemLine(gbk::Lit("已读取 ") + SlotDisplayName(slot) + (isBackup ? gbk::Lit(" 的备份") : std::string()) +
                 " (" + r.save->savedAt + ")");
        m_lastLoaded = std::string(slot);
        return true;
    }
    std::cerr << "game: refused the save " << path << ": " << r.error << "\n";
    if (r.newerFormat) {
        g.ShowMessageBox(gbk::Lit("存档 ") + gbkPath + gbk::Lit(" 由更新版本的游戏写成, 本版本无法读取。"), caption,
                         LUMO_MB_ICONERROR);
        return false;
    }
    std::string message = gbk::Lit("存档 ") + gbkPath + gbk::Lit(" 已损坏, 无法读取。\r\n第一个错误的字段: ") +
                          (r.badField.empty() ? gbk::Lit("(文件不完整)") : gbk::FromUtf8(r.badField));
    const std::string bak = save_store::BackupPath(path);
    std::error_code ec;
    if (!isBackup && std::filesystem::is_regular_file(bak, ec)) {
        // The offer is a question of the interface stack: its yes loads the
        // backup after the frame's input pass.
        message += gbk::Lit("\r\n是否读取备份 ") + gbk::FromUtf8(bak) + "?";
        g.RecordMessageBox(message, caption, LUMO_MB_YESNO | LUMO_MB_ICONWARNING);
        g.menus.Ask(message, caption, MenuQuestion::kLoadBackup, std::string(slot));
        return false;
    }
    g.ShowMessageBox(message, caption, LUMO_MB_ICONERROR);
    return false;
}

// ------------------------------------------------------------ the frame

void GameSaves::Update(const Controls& controls, float dt) {
    m_playSeconds += dt;
    if (m_pending.valid() && m_pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        Report(m_pending.get());
    if (m_mapChanged) {
        m_mapChanged = false;
        if (AutosaveOn()) Save("auto", false);
    }
    if (controls.Pressed(Action::QuickSave)) Save("quick", true);
    if (controls.Pressed(Action::QuickLoad)) Load("quick");
}

void GameSaves::MapLoadStarting() {
    m_mapRandomState = m_game.random.State();
    if (!m_applying) m_mapChanged = true;
}

void GameSaves::GameEnding() {
    if (!AutosaveOn()) return;
    Save("auto", false);
    Finish();
}

bool GameSaves::AutosaveOn() const {
    // A play-test of a map under edit is no game of the player's, and a
    // headless run (a test, a tool) touches no saves folder it was not given.
    const GameOptions& o = m_game.options;
    return o.mapFile.empty() && (!o.headless || !o.saveDir.empty());
}

void GameSaves::DumpState(JsonWriter& w) const {
    w.Key("saves");
    w.BeginObject();
    w.Field("playSeconds", m_playSeconds);
    w.Field("lastSaved", m_lastSaved);
    w.Field("lastLoaded", m_lastLoaded);
    w.Field("writeFailures", m_writeFailures);
    w.EndObject();
}
