// Scripts of our own in the running program: a loop of "选择项" with a long
// text in an NPC's script is stopped at its deadline with the runaway box and
// the game plays on; a growing text meets the memory limit; the ways out of
// the game are closed to scripts; and SIGTERM ends a game whose script is
// stuck in a loop of commands within a second, as closing the window does.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "run_support.h"
#include "shared/gbk.h"
#include "test_dirs.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

using run_support::ReadAll;
fs::path TempDir(const std::string& name) { return run_support::TempDir("sandbox", name); }

Json Dump(const fs::path& dir) { return Json::parse(ReadAll(dir / "state.json")); }

// The scripts here run for many minutes, or take gigabytes, where the
// sandbox is broken; such a game is killed after a minute.
int RunGame(const fs::path& dir, const std::string& args) {
    return run_support::RunProgram(dir, args, "timeout -s KILL 60");
}

std::string Args(const fs::path& dir, const fs::path& data, int frames) {
    return "--headless --frames " + std::to_string(frames) + " --seed 1 --data " + data.string() +
           " --dump-state " + (dir / "state.json").string();
}

bool HasBox(const Json& s, const std::string& caption, const std::string& text) {
    for (const Json& box : s["messageBoxes"]) {
        if (box["caption"] == caption && box["text"] == text) return true;
    }
    return false;
}

bool HasChatLine(const Json& s, const std::string& text) {
    for (const Json& line : s["chatLog"]) {
        if (line["text"] == text) return true;
    }
    return false;
}

// Writes UTF-8 text as GBK into the data copy's script folder.
void WriteScript(const fs::path& data, const std::string& name, const std::string& utf8) {
    std::ofstream(data / gbk::ToUtf8(gbk::Lit("脚本")) / name, std::ios::binary | std::ios::trunc)
        << gbk::FromUtf8(utf8);
}

// Clicks the village head (map x 650) from the start place.
constexpr const char* kClickVillageHead = "30 mouse 690 470\n31 button left down\n32 button left up\n";

TEST(ScriptSandboxRun, AChoiceLoopWithAMegabyteTextIsStoppedAndTheGamePlaysOn) {
    const fs::path dir = TempDir("choices");
    const fs::path data = run_support::DataWith(dir, "");
    // The village head's script: a 1 MB text offered as a choice over and
    // over (each call runs few instructions; the instruction budget alone
    // let this run for many minutes).
    WriteScript(data, "村长.lua", "local t = string.rep(\"字\", 524288)\nwhile true do 选择项(t) end\n");
    std::ofstream(dir / "input.txt") << kClickVillageHead;
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(RunGame(dir, Args(dir, data, 120) + " --input " + (dir / "input.txt").string() +
                                               " --screenshot 119:" + (dir / "after.png").string()),
              0)
        << ReadAll(dir / "out.txt");
    const auto took = Clock::now() - start;
    const Json s = Dump(dir);
    EXPECT_TRUE(HasBox(s, "运行时出错", "运行错误！,错误码 ==脚本运行超出时间上限,已被中止")) << s["messageBoxes"];
    EXPECT_EQ(s["messageBoxes"].size(), 1u) << s["messageBoxes"];
    // The game went on to its last frame; the whole run (loading, the
    // stopped script at 1 s, 120 frames) stays far below a minute.
    EXPECT_EQ(s["frame"], 120);
    EXPECT_EQ(s["phase"], 31);
    EXPECT_LT(took, std::chrono::seconds(20));
    EXPECT_TRUE(fs::exists(dir / "after.png"));
}

TEST(ScriptSandboxRun, AGrowingTextMeetsTheMemoryLimitAndIsReported) {
    const fs::path dir = TempDir("memory");
    const fs::path data = run_support::DataWith(dir, "local s = \"x\"\nwhile true do s = s .. s end\n");
    ASSERT_EQ(RunGame(dir, Args(dir, data, 20)), 0) << ReadAll(dir / "out.txt");
    const Json s = Dump(dir);
    EXPECT_TRUE(HasBox(s, "运行时出错", "内存分配错误！,错误码 ==not enough memory")) << s["messageBoxes"];
    EXPECT_EQ(s["frame"], 20);
    EXPECT_EQ(s["phase"], 31);
}

// Each way out is tried on its own, so one that is still open cannot hide
// behind another that fails first.
TEST(ScriptSandboxRun, ScriptsCannotReachOutsideTheGame) {
    const fs::path dir = TempDir("reach");
    const std::string d = dir.string();
    std::ofstream(dir / "other.lua") << "系统消息(\"dofile ran\")\n";
    const std::string probes =
        "local function probe(name, f) local ok = pcall(f) 系统消息(name .. \" \" .. tostring(ok)) end\n"
        "probe(\"os.execute\", function() os.execute(\"touch " + d + "/executed\") end)\n"
        "probe(\"io\", function() io.open(\"" + d + "/written\", \"w\"):write(\"x\") end)\n"
        "probe(\"package.loadlib\", function() assert(package.loadlib(\"libc.so.6\", \"system\")) end)\n"
        "probe(\"debug.sethook\", function() debug.sethook() end)\n"
        "probe(\"dofile\", function() dofile(\"" + d + "/other.lua\") end)\n";
    const fs::path data = run_support::DataWith(dir, probes);
    ASSERT_EQ(RunGame(dir, Args(dir, data, 20)), 0) << ReadAll(dir / "out.txt");
    const Json s = Dump(dir);
    EXPECT_TRUE(HasChatLine(s, "os.execute false")) << s["chatLog"];
    EXPECT_FALSE(fs::exists(dir / "executed"));
    EXPECT_TRUE(HasChatLine(s, "io false")) << s["chatLog"];
    EXPECT_FALSE(fs::exists(dir / "written"));
    EXPECT_TRUE(HasChatLine(s, "package.loadlib false")) << s["chatLog"];
    EXPECT_TRUE(HasChatLine(s, "debug.sethook false")) << s["chatLog"];
    EXPECT_TRUE(HasChatLine(s, "dofile false")) << s["chatLog"];
    EXPECT_FALSE(HasChatLine(s, "dofile ran")) << s["chatLog"];
}

TEST(ScriptSandboxRun, SigtermEndsAGameStuckInACommandLoopWithinASecond) {
    const fs::path dir = TempDir("sigterm");
    // "msg" tells the test the loop is about to start (headless boxes go to
    // stderr); the loop itself would run on for seconds.
    const fs::path data = run_support::DataWith(dir, "msg(\"looping\")\nwhile true do 系统消息(\"x\") end\n");
    const fs::path out = dir / "out.txt";
    const std::string game = test_dirs::Bin() + "/game";
    const std::string dataDir = data.string();
    const std::string dump = (dir / "state.json").string();
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        execl(game.c_str(), game.c_str(), "--headless", "--frames", "100000", "--data", dataDir.c_str(),
              "--dump-state", dump.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const Clock::time_point waitStart = Clock::now();
    while (ReadAll(out).find("looping") == std::string::npos && Clock::now() - waitStart < std::chrono::seconds(30))
        std::this_thread::sleep_for(milliseconds(10));
    ASSERT_NE(ReadAll(out).find("looping"), std::string::npos) << ReadAll(out);
    std::this_thread::sleep_for(milliseconds(200));  // well inside the loop

    const Clock::time_point sent = Clock::now();
    kill(pid, SIGTERM);
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && Clock::now() - sent < std::chrono::seconds(10))
        std::this_thread::sleep_for(milliseconds(5));
    const auto took = Clock::now() - sent;
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the game did not end after SIGTERM";
    }
    std::cout << "SIGTERM to exit: " << std::chrono::duration_cast<milliseconds>(took).count() << " ms\n";
    EXPECT_LT(took, milliseconds(1000));
    ASSERT_TRUE(WIFEXITED(status)) << ReadAll(out);
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadAll(out);
    // As when the window is closed: the loop ends and the state is dumped;
    // the stopped script shows no box.
    const Json s = Dump(dir);
    EXPECT_TRUE(s["messageBoxes"].size() == 1u && s["messageBoxes"][0]["text"] == "looping") << s["messageBoxes"];
}

}  // namespace
