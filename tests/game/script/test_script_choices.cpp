// "选择项": each argument is "caption@action"; only the first two "@" fields
// count, however many a text holds.

#include "core/random.h"
#include "script/script_runtime.h"
#include "script/script_services.h"
#include "shared/gbk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

class ChoiceServices : public NullScriptServices {
public:
    void SetDialogChoices(const std::vector<ScriptChoice>& c) override {
        choices = c;
        ++calls;
    }
    std::vector<ScriptChoice> choices;
    int calls = 0;
};

class ScriptChoicesTest : public ::testing::Test {
protected:
    ScriptChoicesTest() : runtime(random, [](const std::string&, const std::string&) {}) {
        runtime.CreateStates();
        runtime.SetServices(&services);
    }
    bool Run(const std::string& utf8) { return runtime.RunScriptText(gbk::FromUtf8(utf8)); }

    Random random;
    ChoiceServices services;
    ScriptRuntime runtime;
};

TEST_F(ScriptChoicesTest, CaptionAndActionAreTheFirstTwoFields) {
    ASSERT_TRUE(Run("选择项('接受@f1@多余', '离开@', '@exit', '闲聊', '')"));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"接受", "f1"}, {"离开", ""}, {"", "exit"}, {"闲聊", ""}, {"", ""}};
    ASSERT_EQ(services.choices.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(gbk::ToUtf8(services.choices[i].caption), expected[i].first) << i;
        EXPECT_EQ(gbk::ToUtf8(services.choices[i].action), expected[i].second) << i;
    }
}

TEST_F(ScriptChoicesTest, ATextOfManyFieldsIsNotSplitWhole) {
    // Four texts of a million fields each, twenty times: splitting every
    // field makes 80 million strings (most of a minute); reading two takes a
    // moment.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Run(R"(
        local t = string.rep("字@", 1000000)
        for i = 1, 20 do 选择项(t, t, t, t) end
    )"));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(services.calls, 20);
    ASSERT_EQ(services.choices.size(), 4u);
    EXPECT_EQ(gbk::ToUtf8(services.choices[0].caption), "字");
    EXPECT_EQ(gbk::ToUtf8(services.choices[0].action), "字");
    EXPECT_LT(seconds, 10.0);
}

}  // namespace
