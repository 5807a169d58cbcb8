// Save slots on disk: the folder rules, the atomic write with its backup,
// and what an interrupted or failed write leaves behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <vector>

#include "core/random.h"
#include "core/save_store.h"

namespace fs = std::filesystem;

namespace {

fs::path Scratch(const std::string& name) {
    fs::path p = fs::temp_directory_path() / ("lumo_save_store_" + name + "_" + std::to_string(std::random_device{}()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::string Read(const fs::path& p) {
    std::string text, error;
    return save_store::ReadWhole(p.string(), text, error) ? text : "<" + error + ">";
}

// Sets an environment variable for the length of a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SaveStore, TheFolderFollowsTheOptionThenXdgThenHome) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/data/xdg");
        EXPECT_EQ(save_store::SavesFolder(""), "/data/xdg/lumo-rpg/saves");
        EXPECT_EQ(save_store::SavesFolder("/tmp/mine"), "/tmp/mine");
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", "relative/ignored");
        EXPECT_EQ(save_store::SavesFolder(""), "/home/someone/.local/share/lumo-rpg/saves");
    }
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(save_store::SavesFolder(""), "/home/someone/.local/share/lumo-rpg/saves");
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(save_store::SavesFolder(""), "");
}

TEST(SaveStore, SlotsAreTheThreeNumbersQuickAndAuto) {
    for (const char* s : {"1", "2", "3", "quick", "auto"}) EXPECT_TRUE(save_store::IsSlot(s)) << s;
    for (const char* s : {"0", "4", "", "Quick", "../1", "1.json"}) EXPECT_FALSE(save_store::IsSlot(s)) << s;
    EXPECT_EQ(save_store::SlotPath("/s", "quick"), "/s/quick.json");
}

TEST(SaveStore, AWriteReplacesTheFileAndKeepsThePreviousAsBackup) {
    const fs::path dir = Scratch("write");
    const std::string path = save_store::SlotPath((dir / "new" / "folder").string(), "1");
    EXPECT_EQ(save_store::WriteAtomically(path, "first"), "");
    EXPECT_EQ(Read(path), "first");
    EXPECT_FALSE(fs::exists(save_store::BackupPath(path)));
    EXPECT_EQ(save_store::WriteAtomically(path, "second"), "");
    EXPECT_EQ(Read(path), "second");
    EXPECT_EQ(Read(save_store::BackupPath(path)), "first");
    EXPECT_EQ(save_store::WriteAtomically(path, "third"), "");
    EXPECT_EQ(Read(path), "third");
    EXPECT_EQ(Read(save_store::BackupPath(path)), "second");
    EXPECT_FALSE(fs::exists(save_store::TemporaryPath(path)));
    fs::remove_all(dir);
}

TEST(SaveStore, AWriteKilledBeforeItsRenameLeavesThePreviousSaveWhole) {
    const fs::path dir = Scratch("killed");
    const std::string path = save_store::SlotPath(dir.string(), "quick");
    const std::string good(5000, 'g');
    ASSERT_EQ(save_store::WriteAtomically(path, good), "");
    // A process killed at any byte of the temporary file, before the rename.
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2499}, std::size_t{4999}}) {
        std::ofstream(save_store::TemporaryPath(path), std::ios::binary) << std::string(cut, 'n');
        EXPECT_EQ(Read(path), good) << cut;
    }
    // The next save overwrites the leftover.
    EXPECT_EQ(save_store::WriteAtomically(path, "next"), "");
    EXPECT_EQ(Read(path), "next");
    EXPECT_EQ(Read(save_store::BackupPath(path)), good);
    fs::remove_all(dir);
}

TEST(SaveStore, AFailedWriteSaysWhyAndLeavesTheOldFile) {
    const fs::path dir = Scratch("fail");
    std::ofstream(dir / "file") << "x";
    // The "folder" is a file: nothing can be created under it.
    EXPECT_NE(save_store::WriteAtomically((dir / "file" / "1.json").string(), "text"), "");
    const std::string path = save_store::SlotPath(dir.string(), "2");
    ASSERT_EQ(save_store::WriteAtomically(path, "old"), "");
    fs::create_directory(save_store::TemporaryPath(path));  // the temporary file cannot be created
    EXPECT_NE(save_store::WriteAtomically(path, "new"), "");
    EXPECT_EQ(Read(path), "old");
    fs::remove_all(dir);
}

TEST(SaveStore, ReadingRefusesMissingAndOversizedFiles) {
    const fs::path dir = Scratch("read");
    std::string text, error;
    EXPECT_FALSE(save_store::ReadWhole((dir / "none.json").string(), text, error));
    std::ofstream(dir / "big") << std::string(100, 'x');
    EXPECT_FALSE(save_store::ReadWhole((dir / "big").string(), text, error, 99));
    EXPECT_TRUE(save_store::ReadWhole((dir / "big").string(), text, error, 100));
    fs::remove_all(dir);
}

}  // namespace

namespace {

TEST(RandomState, AGeneratorPutBackDrawsTheSameNumbersAndBadTextChangesNothing) {
    Random r(1234);
    for (int i = 0; i < 10; ++i) r.Int(0, 100);
    const std::string state = r.State();
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) first.push_back(r.Int(0, 1000000));
    Random other(99);
    ASSERT_TRUE(other.SetState(state));
    std::vector<int> again;
    for (int i = 0; i < 20; ++i) again.push_back(other.Int(0, 1000000));
    EXPECT_EQ(again, first);
    const std::string before = other.State();
    EXPECT_FALSE(other.SetState("12 34 not a state"));
    EXPECT_FALSE(other.SetState(""));
    EXPECT_EQ(other.State(), before);
}

// A saved state is text from the disk: only states the generator can be in
// are taken. Words past 32 bits made draws fall outside [a, b]; a state of
// zeros made a draw of [0, 2] loop for ever; a position past the state or
// trailing text is no state the generator wrote.
TEST(RandomState, StatesTheGeneratorCannotBeInAreRefused) {
    const std::string good = Random(5).State();
    const std::size_t firstSpace = good.find(' ');
    const std::size_t lastSpace = good.rfind(' ');
    std::string zeros;
    for (int i = 0; i < 624; ++i) zeros += "0 ";
    const std::string bad[] = {
        "4294967296" + good.substr(firstSpace),             // a 33-bit word
        "3175010407141" + good.substr(firstSpace),          // the fuzzer's word
        zeros + "624",                                      // nothing but zeros
        "2147483647 " + zeros.substr(2) + "0",              // only the first word's low bits
        good.substr(0, lastSpace) + " 625",                 // position past the state
        good + " 7",                                        // a word too many
        good.substr(0, lastSpace),                          // a word short
        "-1" + good.substr(firstSpace),                     // a negative word
    };
    Random r(9);
    const std::string before = r.State();
    for (const std::string& text : bad) {
        EXPECT_FALSE(r.SetState(text)) << text.substr(0, 30) << " .. " << text.substr(text.size() - 10);
        EXPECT_EQ(r.State(), before);
    }
    // The edges that are real states are still taken: the largest words, the
    // first word's top bit alone, and every position.
    std::string top = "2147483648 " + zeros.substr(2);
    ASSERT_TRUE(r.SetState(top + "624"));
    for (int i = 0; i < 1000; ++i) ASSERT_LE(r.Int(0, 2), 2);
    std::string ones;
    for (int i = 0; i < 624; ++i) ones += "4294967295 ";
    ASSERT_TRUE(r.SetState(ones + "0"));
    for (int i = 0; i < 1000; ++i) {
        const int v = r.Int(-5, 1000);
        ASSERT_GE(v, -5);
        ASSERT_LE(v, 1000);
    }
    EXPECT_TRUE(r.SetState(good.substr(0, lastSpace) + " 624"));
}

}  // namespace
