// Saving and loading through the real program: a game saved with F5 comes
// back equal with --load; the adventure interrupted at the portal and
// continued from its autosave ends as the uninterrupted one; damaged,
// hand-edited and newer files are refused and the game goes on unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "run_support.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;
using run_support::ReadAll;

namespace {

const char* const kItems[] = {"",       "扫把",     "铁剑",     "粗布衣",   "平安项链", "皮帽",     "皮手套",
                              "铜戒指", "草鞋",     "布裤",     "旧披风",   "木盾",     "鬼脸面具", "护身玉佩",
                              "村长的信", "野狗皮", "金币",     "小红药水", "小蓝药水", "太阳神水", "回城卷轴",
                              "双倍经验卷", "雷电术书", "树妖的枝条", "野猪獠牙", "治愈术书"};

Json Ref(int n) { return Json{{"number", n}, {"name", kItems[n]}}; }
Json Skill(int n, const char* name) { return Json{{"number", n}, {"name", name}}; }
Json Empty() { return Json{{"number", 0}, {"name", ""}}; }

// A save with every field away from a new game's: a full bag of mixed items,
// an item in every equipment slot (by the slots' categories), two skills on
// the bar, poison and curse running, double experience, quests and NPC
// variables.
Json FullSave() {
    Json s;
    s["format"] = 1;
    s["gameVersion"] = "0.0.1";
    s["savedAt"] = "2026-05-06 07:08:09";
    s["playSeconds"] = 4321.5;
    s["player"] = {{"map", "新手村2.Wdm"}, {"x", 700.0}, {"y", 380.0}, {"ground", 1},  {"facing", 1},
                   {"level", 6},          {"experience", 77}, {"gold", 1234}, {"hp", 55.5}, {"maxHp", 80.0},
                   {"mp", 321.0},         {"maxMp", 640.0}, {"restTimer", 1.5}, {"regenCounter", 12}};
    s["poison"] = {{"active", true}, {"elapsed", 2.0}, {"duration", 30.0}, {"amountPerTick", 1.0}, {"lastTick", 2.0}};
    s["curse"] = {{"active", true}, {"elapsed", 1.0}, {"duration", 40.0}, {"amountPerTick", 0.0}, {"lastTick", 0.0}};
    s["doubleExperience"] = {{"elapsed", 10.0}, {"total", 180.0}, {"multiplier", 2.0}};
    s["bag"] = Json::array();
    for (int i = 0; i < 36; ++i) s["bag"].push_back(Ref(15 + i % 11));  // 15 .. 25
    s["equipment"] = Json::array();
    for (int n : {5, 4, 3, 6, 11, 7, 12, 10, 9, 8, 2, 13}) s["equipment"].push_back(Ref(n));
    s["shop"] = Json::array();
    for (int i = 0; i < 48; ++i) s["shop"].push_back(i < 5 ? Ref(17 + i) : Empty());
    s["skills"] = Json::array();
    for (int i = 0; i < 10; ++i) {
        Json k = i == 0 ? Skill(1, "雷电术") : i == 1 ? Skill(3, "治愈术") : Empty();
        k["level"] = i < 2 ? i + 1 : 0;
        k["key"] = i == 0 ? 86 : 0;
        s["skills"].push_back(k);
    }
    s["skillBar"] = Json::array();
    for (int i = 0; i < 8; ++i) s["skillBar"].push_back(i == 0 ? Skill(3, "治愈术") : i == 3 ? Skill(1, "雷电术") : Empty());
    s["quests"] = {1, 3, 0, 0, 0, 0, 0, 0, 0, 0};
    s["npcs"] = Json::array();
    for (int i = 0; i < 6; ++i) s["npcs"].push_back({{"variable", i + 1}, {"questState", i % 3}, {"questVariable", 10 * i}});
    s["chat"] = Json::array();
    for (int i = 0; i < 50; ++i)
        s["chat"].push_back({{"label", "[系统]"}, {"text", "第" + std::to_string(i) + "行"}, {"labelColour", 4294901760u},
                             {"textColour", 4294967295u}});
    s["mapRandomState"] = "";
    return s;
}

using run_support::WriteAll;

class SaveRun : public run_support::ProgramRun {
protected:
    // Runs the game with `args`; the state dump.
    Json Run(const std::string& name, const std::string& args, const std::string& input = "") {
        const std::string text = RunNamed(name, args, input);
        return text.empty() ? Json() : Json::parse(text);
    }
    std::string SaveDir() const { return " --save-dir " + saves.string(); }
};

// The dump's keys a save holds.
Json SavedKeys(const Json& s) {
    Json o;
    for (const char* k : {"x", "y", "currentGround", "facing", "hp", "maxHp", "mp", "maxMp", "level", "experience",
                          "gold", "status", "poison", "curse", "doubleExp", "restTimer", "regenCounter"})
        o["player"][k] = s["player"][k];
    o["map"] = s["map"]["name"];
    for (const char* k : {"bag", "equipment", "shop", "quests", "npcStates"}) o[k] = s[k];
    o["skills"] = s["skills"]["list"];
    for (const Json& cell : s["skills"]["bar"]) o["bar"].push_back(cell["skill"]);
    return o;
}

bool ChatHas(const Json& s, const std::string& text) {
    return std::any_of(s["chatLog"].begin(), s["chatLog"].end(),
                       [&](const Json& l) { return l["text"].get<std::string>().find(text) != std::string::npos; });
}

TEST_F(SaveRun, AGameSavedWithF5ComesBackEqualWithLoad) {
    WriteAll(saves / "1.json", FullSave().dump(2));
    // Loaded on frame 6, played on 7 and 8, saved with F5 on 8.
    const Json a = Run("a", "--frames 8 --load 1" + SaveDir(), "8 key down F5\n9 key up F5\n");
    ASSERT_TRUE(a["messageBoxes"].empty()) << a["messageBoxes"];
    EXPECT_EQ(a["saves"]["lastLoaded"], "1");
    EXPECT_EQ(a["saves"]["lastSaved"], "quick");
    EXPECT_TRUE(ChatHas(a, "已保存到 快速存档 (")) << a["chatLog"];
    // Every saved field is away from a new game's.
    EXPECT_EQ(a["map"]["name"], "新手村2.Wdm");
    EXPECT_EQ(a["player"]["level"], 6);
    EXPECT_EQ(a["player"]["status"], Json::parse("[1,1]"));
    EXPECT_EQ(a["player"]["doubleExp"]["multiplier"], 2.0);
    EXPECT_EQ(std::count(a["bag"].begin(), a["bag"].end(), Json(0)), 0);
    EXPECT_EQ(std::count(a["equipment"].begin(), a["equipment"].end(), Json(0)), 0);
    EXPECT_EQ(a["skills"]["bar"][0]["skill"], 3);
    EXPECT_EQ(a["skills"]["bar"][3]["skill"], 1);
    EXPECT_EQ(a["quests"][1], 3);
    EXPECT_EQ(a["npcStates"][5]["questVariable"], 50);
    ASSERT_TRUE(fs::is_regular_file(saves / "quick.json"));
    EXPECT_FALSE(fs::exists(saves / "auto.json"));  // a run cut off by --frames is no end of the game

    const Json b = Run("b", "--frames 6 --load quick" + SaveDir());
    ASSERT_TRUE(b["messageBoxes"].empty()) << b["messageBoxes"];
    EXPECT_EQ(SavedKeys(b), SavedKeys(a));
    EXPECT_EQ(b["saves"]["playSeconds"], a["saves"]["playSeconds"]);
    // The last 50 chat lines before the save's own line, then the load's.
    Json chatA = a["chatLog"], chatB = b["chatLog"];
    ASSERT_EQ(chatB.size(), 51u);
    chatB.erase(chatB.size() - 1);
    chatA.erase(chatA.size() - 1);
    EXPECT_EQ(chatB, Json(std::vector<Json>(chatA.end() - 50, chatA.end())));
    EXPECT_TRUE(ChatHas(b, "已读取 快速存档 ("));
}

TEST_F(SaveRun, TheAdventureInterruptedAtThePortalEndsAsTheUninterruptedOne) {
    const char* testData = std::getenv("LUMO_TEST_DATA");
    ASSERT_NE(testData, nullptr);
    const std::string adventure = ReadAll(fs::path(testData) / "game" / "adventure.txt");
    ASSERT_FALSE(adventure.empty());
    const Json whole = Run("whole", "--frames 2080" + SaveDir(), adventure);

    // The portal is used on frame 142: quit with Esc right after it.
    constexpr long kPortal = 142;
    // The continued game loads on frame 6 and plays from 7, where the
    // uninterrupted one played the rest of frame 142.
    constexpr long kShift = kPortal - 7;
    std::ostringstream first, rest;
    std::istringstream in(adventure);
    for (std::string line; std::getline(in, line);) {
        long frame = 0;
        std::istringstream words(line);
        if (!(words >> frame)) continue;
        std::string tail;
        std::getline(words, tail);
        if (frame <= kPortal)
            first << line << "\n";
        else
            rest << frame - kShift << tail << "\n";
    }
    first << kPortal + 1 << " key down Escape\n" << kPortal + 2 << " key up Escape\n";
    const fs::path splitSaves = dir / "split";
    const Json before = Run("before", "--frames 3000 --save-dir " + splitSaves.string(), first.str());
    EXPECT_EQ(before["frame"], kPortal + 2);  // ended by Esc
    EXPECT_EQ(before["map"]["name"], "新手村2.Wdm");
    ASSERT_TRUE(fs::is_regular_file(splitSaves / "auto.json"));
    ASSERT_TRUE(fs::is_regular_file(splitSaves / "auto.json.bak"));  // the portal's autosave, replaced at the end

    // Its monsters come back as the portal brought them: the random
    // generator stands where it stood when the map was loaded.
    const Json atPortal = Run("atPortal", "--frames " + std::to_string(kPortal) + SaveDir(), first.str());
    const Json resumed = Run("resumed", "--frames 7 --load auto --save-dir " + splitSaves.string());
    ASSERT_FALSE(atPortal["monsters"].empty());
    EXPECT_EQ(resumed["monsters"], atPortal["monsters"]);

    const Json after = Run("after", "--frames " + std::to_string(2080 - kShift) + " --load auto --save-dir " +
                                        splitSaves.string(), rest.str());
    EXPECT_EQ(after["saves"]["lastLoaded"], "auto");
    EXPECT_EQ(SavedKeys(after), SavedKeys(whole));
    EXPECT_EQ(whole["player"]["level"], 2);  // the adventure did finish
}

TEST_F(SaveRun, DamagedHandEditedAndNewerFilesAreRefusedAndTheNewGameGoesOn) {
    const Json reference = Run("reference", "--frames 8 --load 2" + SaveDir());
    EXPECT_TRUE(ChatHas(reference, "存档2 中没有存档"));
    const std::string good = FullSave().dump(2);
    struct Case {
        const char* name;
        std::string text;
        const char* inMessage;
    };
    Json wrongType = FullSave(), outOfRange = FullSave(), unknownMap = FullSave(), newer = FullSave();
    wrongType["player"]["level"] = "6";
    outOfRange["bag"][4]["number"] = -3;
    unknownMap["player"]["map"] = "../../新手村2.Wdm";
    newer["format"] = 2;
    const Case cases[] = {
        {"garbage", "\x01\x02 this is no save", "(文件不完整)"},
        {"truncated", good.substr(0, good.size() / 2), "(文件不完整)"},
        {"wrongType", wrongType.dump(), "player.level"},
        {"outOfRange", outOfRange.dump(), "bag[4].number"},
        {"unknownMap", unknownMap.dump(), "player.map"},
        {"newer", newer.dump(), "更新版本"},
    };
    for (const Case& c : cases) {
        WriteAll(saves / "1.json", c.text);
        const Json s = Run(c.name, "--frames 8 --load 1" + SaveDir());
        ASSERT_EQ(s["messageBoxes"].size(), 1u) << c.name;
        const std::string text = s["messageBoxes"][0]["text"];
        EXPECT_NE(text.find((saves / "1.json").string()), std::string::npos) << c.name << ": " << text;
        EXPECT_NE(text.find(c.inMessage), std::string::npos) << c.name << ": " << text;
        EXPECT_EQ(s["messageBoxes"][0]["caption"], "读取进度");
        EXPECT_EQ(SavedKeys(s), SavedKeys(reference)) << c.name;
        EXPECT_EQ(s["saves"]["lastLoaded"], "") << c.name;
    }
}

TEST_F(SaveRun, ADamagedFileOffersItsBackupAndF9LeavesTheRunningGameAsItWas) {
    Json older = FullSave();
    older["player"]["level"] = 9;
    WriteAll(saves / "quick.json.bak", older.dump());
    WriteAll(saves / "quick.json", "{\"format\": 1, \"player\": ");
    // The offer is the game's own question box, over everything; the world
    // waits until it is answered. Its "是" (at 340, 372) loads the backup.
    const Json asked = Run("asked", "--frames 12 --load quick" + SaveDir());
    ASSERT_EQ(asked["messageBoxes"].size(), 1u);
    EXPECT_NE(asked["messageBoxes"][0]["text"].get<std::string>().find("quick.json.bak"), std::string::npos);
    EXPECT_EQ(asked["messageBoxes"][0]["flags"], 0x04 | 0x30);  // yes / no, warning
    EXPECT_NE(asked["menus"]["question"].get<std::string>().find("quick.json.bak"), std::string::npos);
    EXPECT_EQ(asked["interfaceStack"]["hovered"], "question");
    EXPECT_EQ(asked["player"]["level"], 1);
    const Json s = Run("backup", "--frames 14 --load quick" + SaveDir(),
                       "9 mouse 340 372\n9 button left down\n10 button left up\n");
    EXPECT_EQ(s["menus"]["question"], "");
    EXPECT_EQ(s["player"]["level"], 9);
    EXPECT_TRUE(ChatHas(s, "已读取 快速存档 的备份"));

    // F9 on a damaged quick save with no backup: refused, the game unchanged.
    fs::remove(saves / "quick.json.bak");
    const std::string walk = "7 key down Right\n40 key up Right\n";
    const Json plain = Run("plain", "--frames 60" + SaveDir(), walk);
    const Json f9 = Run("f9", "--frames 60" + SaveDir(), "7 key down Right\n30 key down F9\n31 key up F9\n40 key up Right\n");
    ASSERT_EQ(f9["messageBoxes"].size(), 1u);
    EXPECT_EQ(SavedKeys(f9), SavedKeys(plain));
}

TEST_F(SaveRun, ASaveOnAMissingMapStartsInTownAndUnknownItemsAreDropped) {
    Json s = FullSave();
    s["player"]["map"] = "早已删除的地图.Wdm";
    s["bag"][0] = {{"number", 2}, {"name", "旧铁剑"}};
    WriteAll(saves / "3.json", s.dump());
    const Json t = Run("missing", "--frames 8 --load 3" + SaveDir());
    EXPECT_TRUE(t["messageBoxes"].empty());
    EXPECT_EQ(t["map"]["name"], "新手村1.Wdm");
    EXPECT_EQ(t["player"]["currentGround"], t["map"]["townGround"]);
    EXPECT_EQ(t["player"]["level"], 6);
    EXPECT_EQ(t["bag"][0], 0);
    EXPECT_EQ(t["bag"][1], 16);
    EXPECT_TRUE(ChatHas(t, "存档的地图 早已删除的地图.Wdm 已不存在, 回到城镇"));
    EXPECT_TRUE(ChatHas(t, "存档中的 旧铁剑 已不在游戏数据中, 已丢弃"));
}

TEST_F(SaveRun, AnInterruptedWriteLeavesThePreviousSaveAndAFailedWriteLetsTheGameGoOn) {
    WriteAll(saves / "quick.json", FullSave().dump());
    // Killed while writing the next save, before its rename.
    WriteAll(saves / "quick.json.tmp", FullSave().dump().substr(0, 700));
    const Json s = Run("interrupted", "--frames 10 --load quick" + SaveDir(), "9 key down F5\n10 key up F5\n");
    EXPECT_TRUE(s["messageBoxes"].empty());
    EXPECT_EQ(s["player"]["level"], 6);
    EXPECT_EQ(s["saves"]["lastSaved"], "quick");
    EXPECT_FALSE(fs::exists(saves / "quick.json.tmp"));
    EXPECT_EQ(Json::parse(ReadAll(saves / "quick.json.bak")), FullSave());

    // A saves folder that cannot be created (a file stands in its place).
    WriteAll(dir / "blocked", "x");
    const Json f = Run("failed", "--frames 40 --save-dir " + (dir / "blocked").string(),
                       "10 key down F5\n11 key up F5\n20 key down Right\n30 key up Right\n");
    EXPECT_EQ(f["saves"]["writeFailures"], 1);
    EXPECT_TRUE(ChatHas(f, "保存失败: 快速存档 无法写入"));
    EXPECT_GT(f["player"]["x"].get<double>(), 330.0);  // still playing
}

}  // namespace
