#include <gtest/gtest.h>

#include "app/game_options.h"
#include "app/input_script.h"
#include "lumo/lumo.h"

namespace {

TEST(InputScriptTest, GoodLinesBecomeEventsInFileOrder) {
    const std::string text =
        "# walk right, then jump\n"
        "\n"
        "3 key down Right\n"
        "3 key down x   # jump too\n"
        "10 key up 39\n"
        "12 mouse 400 526.5\n"
        "12 button left down\n"
        "13 button RIGHT up\n"
        "20 text \"\xe4\xbd\xa0\xe5\xa5\xbd \\\"hi\\\" # not a comment\"\n"
        "21 key up Esc\r\n"
        "22 wheel -3\n";
    InputScript s = ParseInputScript(text, "input.txt");
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.events.size(), 9u);
    using K = InputEvent::Kind;
    EXPECT_EQ(s.events[0].kind, K::Key);
    EXPECT_EQ(s.events[0].frame, 3);
    EXPECT_EQ(s.events[0].code, 39);
    EXPECT_TRUE(s.events[0].down);
    EXPECT_EQ(s.events[1].code, 'X');
    EXPECT_EQ(s.events[2].code, 39);
    EXPECT_FALSE(s.events[2].down);
    EXPECT_EQ(s.events[3].kind, K::Mouse);
    EXPECT_FLOAT_EQ(s.events[3].y, 526.5f);
    EXPECT_EQ(s.events[4].kind, K::Button);
    EXPECT_EQ(s.events[4].code, 1);
    EXPECT_EQ(s.events[5].code, 2);
    EXPECT_FALSE(s.events[5].down);
    EXPECT_EQ(s.events[6].kind, K::Text);
    EXPECT_EQ(s.events[6].text, "\xe4\xbd\xa0\xe5\xa5\xbd \"hi\" # not a comment");
    EXPECT_EQ(s.events[7].code, 27);
    EXPECT_EQ(s.events[7].line, 10);
    EXPECT_EQ(s.events[8].kind, K::Wheel);
    EXPECT_EQ(s.events[8].code, -3);
}

TEST(InputScriptTest, EachMalformedLineNamesFileAndLine) {
    struct Case {
        const char* line;
        const char* needle;
    };
    const Case cases[] = {
        {"key down Left", "expected a frame number"},
        {"0 key down Left", "expected a frame number"},
        {"5", "missing command"},
        {"5 jump", "unknown command 'jump'"},
        {"5 key sideways Left", "expected down or up"},
        {"5 key down Banana", "unknown key 'Banana'"},
        {"5 key down 300", "unknown key '300'"},
        {"5 key down", "F key down|up"},
        {"5 mouse 10", "F mouse X Y"},
        {"5 mouse ten 10", "two numbers"},
        // Positions the game cannot turn into whole pixels.
        {"5 mouse nan 10", "two numbers"},
        {"5 mouse 10 -inf", "two numbers"},
        {"5 mouse infinity 10", "two numbers"},
        {"5 mouse 1e30 10", "two numbers"},
        {"5 mouse 10 2E6", "two numbers"},
        {"5 button middle down", "left or right"},
        {"5 button left pressed", "expected down or up"},
        {"5 text hello", "F text"},
        {"5 text \"open", "unclosed quote"},
        {"5 wheel", "F wheel N"},
        {"5 wheel up", "whole number in -100..100"},
        {"5 wheel 101", "whole number in -100..100"},
        {"5 pad Z down", "unknown pad button 'Z'"},
        {"5 pad A pressed", "expected down or up"},
        {"5 pad A", "F pad BUTTON down|up"},
        {"5 pad axis LeftZ 100", "unknown pad axis 'LeftZ'"},
        {"5 pad axis LeftX 40000", "-32768..32767"},
        {"5 pad axis LeftX", "F pad axis AXIS VALUE"},
    };
    for (const Case& c : cases) {
        InputScript s = ParseInputScript(std::string("1 key down A\n\n") + c.line + "\n", "input.txt");
        EXPECT_EQ(s.error.rfind("input.txt:3: ", 0), 0u) << c.line << " -> " << s.error;
        EXPECT_NE(s.error.find(c.needle), std::string::npos) << c.line << " -> " << s.error;
        EXPECT_TRUE(s.events.empty());
    }
    // The edges of the pointer's scale are still taken.
    InputScript edges = ParseInputScript("1 mouse 1000000 -1e6\n2 mouse -20.5 0\n", "in");
    ASSERT_EQ(edges.error, "");
    ASSERT_EQ(edges.events.size(), 2u);
    EXPECT_EQ(edges.events[0].y, -1e6f);
    InputScript back = ParseInputScript("9 key down A\n8 key up A\n", "in");
    EXPECT_EQ(back.error.rfind("in:2: ", 0), 0u) << back.error;
}

TEST(InputScriptTest, MissingFileIsAnError) {
    InputScript s = LoadInputScript("/nonexistent/input.txt");
    EXPECT_NE(s.error.find("/nonexistent/input.txt"), std::string::npos);
}

TEST(CommandLineTest, OptionsAndErrors) {
    ParsedCommandLine ok = ParseCommandLine(std::vector<std::string>{
        "--headless", "--frames", "400", "--data", "d", "--screenshot", "1:a.png", "--screenshot", "399:b:c.png",
        "--dump-state", "s.json", "--seed", "42", "--input", "in.txt", "--no-render"});
    ASSERT_EQ(ok.error, "");
    EXPECT_TRUE(ok.options.headless);
    EXPECT_TRUE(ok.options.noRender);
    EXPECT_EQ(ok.options.frames, 400);
    EXPECT_EQ(ok.options.dataDir, "d");
    ASSERT_EQ(ok.options.screenshots.size(), 2u);
    EXPECT_EQ(ok.options.screenshots[1].frame, 399);
    EXPECT_EQ(ok.options.screenshots[1].path, "b:c.png");
    EXPECT_EQ(ok.options.dumpStatePath, "s.json");
    EXPECT_EQ(ok.options.seed, 42u);
    EXPECT_EQ(ok.options.inputFile, "in.txt");

    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--frames"}, {"--frames", "0"}, {"--frames", "x"}, {"--screenshot", "a.png"},
             {"--screenshot", "0:a.png"}, {"--seed", "-1"}, {"--bogus"}, {"--no-render"}}) {
        EXPECT_NE(ParseCommandLine(bad).error, "") << bad[0];
    }
    EXPECT_TRUE(ParseCommandLine(std::vector<std::string>{"--help"}).options.help);
}

TEST(CommandLineTest, SaveFolderAndSlots) {
    ParsedCommandLine ok = ParseCommandLine(std::vector<std::string>{"--save-dir", "/tmp/s", "--load", "quick"});
    ASSERT_EQ(ok.error, "");
    EXPECT_EQ(ok.options.saveDir, "/tmp/s");
    EXPECT_EQ(ok.options.loadSlot, "quick");
    for (const char* slot : {"1", "2", "3", "auto"})
        EXPECT_EQ(ParseCommandLine(std::vector<std::string>{"--load", slot}).options.loadSlot, slot);
    for (const char* slot : {"0", "4", "Quick", "../1", ""})
        EXPECT_NE(ParseCommandLine(std::vector<std::string>{"--load", slot}).error, "") << slot;
    // F5 and F9 are names in input files.
    InputScript keys = ParseInputScript("1 key down F5\n2 key up f9\n", "keys.txt");
    ASSERT_EQ(keys.error, "");
    ASSERT_EQ(keys.events.size(), 2u);
    EXPECT_EQ(keys.events[0].code, 116);
    EXPECT_EQ(keys.events[1].code, 120);
}

TEST(InputScriptTest, GamepadLinesAndTheSettingsFolder) {
    const InputScript s = ParseInputScript(
        "1 pad A down\n2 pad start up\n3 pad Left down\n4 pad axis LeftY -32768\n5 pad axis rt 32767\n6 key down F10\n",
        "pad.txt");
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.events.size(), 6u);
    using K = InputEvent::Kind;
    EXPECT_EQ(s.events[0].kind, K::PadButton);
    EXPECT_EQ(s.events[0].code, LUMO_PAD_A);
    EXPECT_TRUE(s.events[0].down);
    EXPECT_EQ(s.events[1].code, LUMO_PAD_START);
    EXPECT_FALSE(s.events[1].down);
    EXPECT_EQ(s.events[2].code, LUMO_PAD_DPAD_LEFT);
    EXPECT_EQ(s.events[3].kind, K::PadAxis);
    EXPECT_EQ(s.events[3].code, LUMO_PAD_AXIS_LEFTY);
    EXPECT_FLOAT_EQ(s.events[3].x, -32768.0f);
    EXPECT_EQ(s.events[4].code, LUMO_PAD_AXIS_RIGHT_TRIGGER);
    EXPECT_EQ(s.events[5].code, 121);  // every key the settings file names
    EXPECT_EQ(ParseCommandLine(std::vector<std::string>{"--config", "/tmp/c"}).options.configDir, "/tmp/c");
}

}  // namespace
