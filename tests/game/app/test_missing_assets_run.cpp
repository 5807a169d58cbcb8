// A damaged content pack: with each folder of the bundled pack removed in
// turn, and with every file of one kind replaced by garbage, the adventure
// input still plays to its end (or the game stops with a message box), and
// each missing or broken file is named once on stderr, never once a frame.
// The runs are logic-only, over packs of links to the built one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run_support.h"
#include "test_dirs.h"

namespace fs = std::filesystem;

namespace {

using run_support::ReadAll;

const fs::path kPack = test_dirs::Pack();

// A pack in dir/data: links to the built pack's files, leaving out those
// under `without`, and garbage in place of those ending in `garbageSuffix`.
fs::path MakePack(const fs::path& dir, const std::string& without, const std::string& garbageSuffix) {
    const fs::path data = dir / "data";
    for (const auto& entry : fs::recursive_directory_iterator(kPack)) {
        const fs::path rel = entry.path().lexically_relative(kPack);
        if (!without.empty() && *rel.begin() == without) continue;
        if (entry.is_directory()) {
            fs::create_directories(data / rel);
            continue;
        }
        const std::string name = rel.filename().string();
        if (!garbageSuffix.empty() && name.size() >= garbageSuffix.size() &&
            name.compare(name.size() - garbageSuffix.size(), garbageSuffix.size(), garbageSuffix) == 0) {
            std::string garbage;
            for (std::size_t i = 0; i < 300; ++i) garbage += static_cast<char>((i * 73 + name.size() * 31) % 251);
            std::ofstream(data / rel, std::ios::binary) << garbage;
        } else {
            fs::create_symlink(entry.path(), data / rel);
        }
    }
    return data;
}

struct Outcome {
    int status = -1;
    std::vector<std::string> named;  // the "game: missing ..." and "game: broken ..." lines
    bool messageBox = false;
    std::string out;
};

Outcome Play(const fs::path& dir, const fs::path& data) {
    const char* testData = std::getenv("LUMO_TEST_DATA");
    Outcome o;
    o.status = run_support::RunProgram(dir, "--headless --no-render --frames 2080 --seed 1 --data " + data.string() +
                                                " --input " + (fs::path(testData) / "game" / "adventure.txt").string());
    o.out = ReadAll(dir / "out.txt");
    std::istringstream lines(o.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("game: missing ", 0) == 0 || line.rfind("game: broken ", 0) == 0) o.named.push_back(line);
        if (line.rfind("[messagebox]", 0) == 0) o.messageBox = true;
    }
    return o;
}

// Played to the end, or stopped with a message box; every file named once.
void ExpectPlayedAndNamedOnce(const Outcome& o, const std::string& what) {
    EXPECT_TRUE(o.status == 0 || (o.status == 1 && o.messageBox)) << what << ": status " << o.status << "\n"
                                                                  << o.out.substr(0, 2000);
    const std::set<std::string> distinct(o.named.begin(), o.named.end());
    EXPECT_EQ(distinct.size(), o.named.size()) << what << ": a file named more than once";
}

TEST(MissingAssetsRun, TheWholePackNamesNothing) {
    const fs::path dir = run_support::TempDir("assets", "whole");
    const Outcome o = Play(dir, MakePack(dir, "", ""));
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_TRUE(o.named.empty()) << o.out;
    EXPECT_FALSE(o.messageBox) << o.out;
    fs::remove_all(dir);
}

TEST(MissingAssetsRun, EachFolderRemovedInTurn) {
    std::vector<std::string> folders;
    for (const auto& entry : fs::directory_iterator(kPack))
        if (entry.is_directory()) folders.push_back(entry.path().filename().string());
    ASSERT_GE(folders.size(), 10u);
    for (const std::string& folder : folders) {
        const fs::path dir = run_support::TempDir("assets", "without");
        const Outcome o = Play(dir, MakePack(dir, folder, ""));
        ExpectPlayedAndNamedOnce(o, folder);
        // What is named lies in the missing folder, and the loss is said.
        for (const std::string& line : o.named)
            EXPECT_NE(line.find("/data/" + folder + "/"), std::string::npos) << folder << ": " << line;
        EXPECT_TRUE(!o.named.empty() || o.messageBox) << folder << ": nothing said\n" << o.out.substr(0, 2000);
        fs::remove_all(dir);
    }
}

TEST(MissingAssetsRun, EachKindOfFileReplacedByGarbage) {
    // The pack's kinds of files, each with the word its lines use.
    const std::map<std::string, std::string> kinds = {
        {".png", "picture"}, {".info.txt", "frame information"}, {".wav", "sound"}, {".mp3", "sound"},
        {".fnt", "font"},    {".Wdm", ""},                       {".lua", ""},      {".csv", ""}};
    for (const auto& [suffix, word] : kinds) {
        const fs::path dir = run_support::TempDir("assets", "garbage");
        const Outcome o = Play(dir, MakePack(dir, "", suffix));
        ExpectPlayedAndNamedOnce(o, suffix);
        for (const std::string& line : o.named) {
            // A bitmap font whose page picture is garbage is itself broken.
            if (suffix == ".png" && line.rfind("game: broken font ", 0) == 0) continue;
            EXPECT_EQ(line.rfind("game: broken " + word + " ", 0), 0u) << suffix << ": " << line;
            EXPECT_EQ(line.compare(line.size() - suffix.size(), suffix.size(), suffix), 0) << line;
        }
        // Pictures, frame information, sounds and fonts are named; maps and
        // scripts that do not read say so in their message boxes.
        if (!word.empty()) EXPECT_FALSE(o.named.empty()) << suffix << "\n" << o.out.substr(0, 2000);
        else EXPECT_TRUE(o.messageBox) << suffix << "\n" << o.out.substr(0, 2000);
        fs::remove_all(dir);
    }
}

}  // namespace
