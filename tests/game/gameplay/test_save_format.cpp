// The save file's text: what is written comes back equal, and a file that a
// person or a crash has damaged is refused whole, naming its first bad field.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/random.h"
#include "gameplay/data_tables.h"
#include "gameplay/save_format.h"
#include "shared/gbk.h"

using Json = nlohmann::json;

namespace {

DataTables Tables() {
    DataTables t;
    for (const char* name : {"扫把", "铁剑", "皮帽", "小红药水"}) {
        ItemRow row;
        row.name = gbk::Lit(name);
        t.items.Append(row);
    }
    for (const char* name : {"雷电术", "治愈术"}) {
        SkillRow row;
        row.name = gbk::Lit(name);
        t.skills.Append(row);
    }
    return t;
}

SavedRef Item(int n, const char* utf8) { return SavedRef{n, gbk::Lit(utf8)}; }

// Every field away from its default.
SaveGame FullSave() {
    SaveGame s;
    s.gameVersion = "9.9.9";
    s.savedAt = "2026-01-02 03:04:05";
    s.playSeconds = 1234.5;
    s.mapFile = gbk::Lit("林间小路.Wdm");
    s.x = 123.5f;
    s.y = -40;
    s.ground = -2;
    s.facing = 1;
    s.level = 7;
    s.experience = 321;
    s.gold = -5;
    s.hp = 17.5f;
    s.maxHp = 90;
    s.mp = 3;
    s.maxMp = 600;
    s.poisoned = true;
    s.poison = {1.5f, 10, 2, 1};
    s.cursed = true;
    s.curse = {0.25f, 4, 0, 0};
    s.doubleExpElapsed = 5;
    s.doubleExpTotal = 120;
    s.doubleExpMultiplier = 2;
    s.restTimer = 3.5f;
    s.regenCounter = 17;
    for (std::size_t i = 0; i < s.bag.size(); ++i) s.bag[i] = i % 2 ? Item(4, "小红药水") : Item(3, "皮帽");
    s.equipment[10] = Item(2, "铁剑");
    s.equipment[0] = Item(3, "皮帽");
    s.shop[47] = Item(1, "扫把");
    s.skills[0] = SavedSkill{SavedRef{1, gbk::Lit("雷电术")}, 1, 0x56};
    s.skills[1] = SavedSkill{SavedRef{2, gbk::Lit("治愈术")}, 3, 0};
    s.bar[0] = SavedRef{2, gbk::Lit("治愈术")};
    s.bar[7] = SavedRef{1, gbk::Lit("雷电术")};
    s.quests = {1, 0, 3, 0, 0, 0, 0, 0, 0, 9};
    s.npcs = {{1, 2, 3}, {-4, 0, 2147483647}};
    s.chat = {{gbk::Lit("[系统]"), gbk::Lit("获得经验 +20"), 0xFFFF0000, 0xFFFFFFFF}, {"a", "b", 1, 2}};
    s.mapRandomState = Random(7).State();
    return s;
}

void ExpectEqual(const SaveGame& a, const SaveGame& b) {
    EXPECT_EQ(WriteSaveJson(a), WriteSaveJson(b));
    EXPECT_EQ(a.mapFile, b.mapFile);
    EXPECT_EQ(a.chat.size(), b.chat.size());
    EXPECT_EQ(a.npcs.size(), b.npcs.size());
}

TEST(SaveFormat, AFullSaveComesBackEqualAndReadable) {
    const DataTables tables = Tables();
    const SaveGame s = FullSave();
    const std::string text = WriteSaveJson(s);
    SaveReadResult r = ReadSaveJson(text, tables);
    ASSERT_TRUE(r.save) << r.error;
    EXPECT_TRUE(r.dropped.empty());
    ExpectEqual(s, *r.save);
    EXPECT_EQ(r.save->bag[1].name, gbk::Lit("小红药水"));
    EXPECT_EQ(r.save->npcs[1].questVariable, 2147483647);
    // Human-readable UTF-8, one field a line, with its format number.
    const Json j = Json::parse(text);
    EXPECT_EQ(j["format"], SaveGame::kFormat);
    EXPECT_EQ(j["player"]["map"], "林间小路.Wdm");
    EXPECT_EQ(j["bag"][1]["name"], "小红药水");
    EXPECT_NE(text.find("\n  \"player\": {\n"), std::string::npos);
}

TEST(SaveFormat, AnItemOrSkillWhoseNumberNoLongerCarriesItsNameIsDropped) {
    SaveGame s = FullSave();
    s.bag[0] = Item(2, "旧铁剑");       // row 2 is now "铁剑"
    s.equipment[5] = Item(40, "神剑");  // no row 40 any more
    s.skills[1].skill.name = gbk::Lit("冰冻术");
    s.bar[0].name = gbk::Lit("冰冻术");
    SaveReadResult r = ReadSaveJson(WriteSaveJson(s), Tables());
    ASSERT_TRUE(r.save) << r.error;
    EXPECT_EQ(r.dropped, (std::vector<std::string>{gbk::Lit("旧铁剑"), gbk::Lit("神剑"), gbk::Lit("冰冻术"),
                                                   gbk::Lit("冰冻术")}));
    EXPECT_EQ(r.save->bag[0].number, 0);
    EXPECT_EQ(r.save->equipment[5].number, 0);
    EXPECT_EQ(r.save->skills[1].skill.number, 0);
    EXPECT_EQ(r.save->skills[1].level, 0);
    EXPECT_EQ(r.save->bar[0].number, 0);
    EXPECT_EQ(r.save->bar[7].number, 1);  // the rest stays
}

// A hand-edited empty cell (number 0) that still names an item or skill is
// read as the empty cell it is, so the save written back is the game's own.
TEST(SaveFormat, AnEmptyCellKeepsNoName) {
    SaveGame s = FullSave();
    s.bag[4] = Item(0, "铁剑");
    s.shop[0] = Item(0, "神剑");
    s.bar[2] = SavedRef{0, gbk::Lit("冰冻术")};
    SaveReadResult r = ReadSaveJson(WriteSaveJson(s), Tables());
    ASSERT_TRUE(r.save) << r.error;
    EXPECT_TRUE(r.dropped.empty());
    EXPECT_EQ(r.save->bag[4].name, "");
    EXPECT_EQ(r.save->shop[0].name, "");
    EXPECT_EQ(r.save->bar[2].name, "");
    s.bag[4] = s.shop[0] = s.bar[2] = SavedRef{};
    EXPECT_EQ(WriteSaveJson(*r.save), WriteSaveJson(s));
}

TEST(SaveFormat, HandEditedFilesAreRefusedNamingTheFirstBadField) {
    struct Case {
        const char* pointer;  // JSON pointer of the edited field
        Json value;
        const char* badField;
    };
    const Case cases[] = {
        {"/player/level", "7", "player.level"},
        {"/player/level", 0, "player.level"},
        {"/player/level", 7.5, "player.level"},
        {"/player/hp", -1, "player.hp"},
        {"/player/x", 1e300, "player.x"},
        {"/player/facing", 3, "player.facing"},
        {"/player/gold", 4294967296LL, "player.gold"},
        {"/player/map", "../../etc/passwd", "player.map"},
        {"/player/map", "", "player.map"},
        {"/player/map", 5, "player.map"},
        {"/poison/active", 1, "poison.active"},
        {"/doubleExperience/multiplier", 1000, "doubleExperience.multiplier"},
        {"/bag/3/number", -1, "bag[3].number"},
        {"/bag/3/name", nullptr, "bag[3].name"},
        {"/bag", Json::array(), "bag"},
        {"/equipment/11", "铁剑", "equipment[11]"},
        {"/skills/0/key", 300, "skills[0].key"},
        {"/skillBar", Json::object(), "skillBar"},
        {"/quests/9", -3, "quests[9]"},
        {"/npcs/1/questVariable", 2147483648LL, "npcs[1].questVariable"},
        {"/chat/0/labelColour", -1, "chat[0].labelColour"},
        {"/mapRandomState", "not a state", "mapRandomState"},
        {"/playSeconds", "long", "playSeconds"},
    };
    const DataTables tables = Tables();
    const Json good = Json::parse(WriteSaveJson(FullSave()));
    for (const Case& c : cases) {
        Json edited = good;
        edited[Json::json_pointer(c.pointer)] = c.value;
        SaveReadResult r = ReadSaveJson(edited.dump(), tables);
        EXPECT_FALSE(r.save) << c.pointer;
        EXPECT_EQ(r.badField, c.badField) << c.pointer << ": " << r.error;
        EXPECT_FALSE(r.newerFormat);
    }
    // Generator states the generator could never be in: a word past 32 bits
    // (draws then fall outside the asked range) and all zeros (a draw of
    // [0, 2] then never ends). Loading the map would draw from them.
    std::string zeros;
    for (int i = 0; i < 624; ++i) zeros += "0 ";
    const std::string wide = "4294967296 " + Random(7).State().substr(Random(7).State().find(' ') + 1);
    for (const std::string& state : {zeros + "624", wide}) {
        Json edited = good;
        edited["mapRandomState"] = state;
        EXPECT_EQ(ReadSaveJson(edited.dump(), tables).badField, "mapRandomState") << state.substr(0, 24);
    }
    // A missing field is named too.
    Json missing = good;
    missing["player"].erase("experience");
    EXPECT_EQ(ReadSaveJson(missing.dump(), tables).badField, "player.experience");
    Json noChat = good;
    noChat.erase("chat");
    EXPECT_EQ(ReadSaveJson(noChat.dump(), tables).badField, "chat");
}

TEST(SaveFormat, EveryTruncationAndDamageIsRefused) {
    const DataTables tables = Tables();
    const std::string text = WriteSaveJson(FullSave());
    // Cut anywhere (the final newline is whitespace, so stop before it).
    for (std::size_t n = 0; n + 1 < text.size(); ++n) {
        SaveReadResult r = ReadSaveJson(std::string_view(text).substr(0, n), tables);
        ASSERT_FALSE(r.save) << "cut at " << n;
    }
    EXPECT_FALSE(ReadSaveJson("\x00\x01garbage", tables).save);
    EXPECT_FALSE(ReadSaveJson("[]", tables).save);
    EXPECT_FALSE(ReadSaveJson("{}", tables).save);
    EXPECT_EQ(ReadSaveJson("{}", tables).badField, "format");
}

TEST(SaveFormat, ANewerFormatIsRefusedAsNewer) {
    Json j = Json::parse(WriteSaveJson(FullSave()));
    j["format"] = SaveGame::kFormat + 1;
    j["somethingNew"] = 1;
    SaveReadResult r = ReadSaveJson(j.dump(), Tables());
    EXPECT_FALSE(r.save);
    EXPECT_TRUE(r.newerFormat);
    j["format"] = SaveGame::kFormat;
    EXPECT_TRUE(ReadSaveJson(j.dump(), Tables()).save);  // unknown keys of this format are ignored
}

TEST(SaveFormat, MapNamesStayInsideTheMapFolder) {
    EXPECT_TRUE(IsPlainMapFileName(gbk::Lit("新手村1.Wdm")));
    // GBK trail bytes may be 0x5C ('\\'): "圹" is 0xDB 0x5C.
    EXPECT_TRUE(IsPlainMapFileName("\xDB\x5C.Wdm"));
    for (const char* bad : {"", ".", "..", "a/b.Wdm", "..\\x.Wdm", "c:x.Wdm"}) EXPECT_FALSE(IsPlainMapFileName(bad)) << bad;
}

}  // namespace
