// The content build's UTF-8 -> GBK conversion of text sources.

#include "gbk_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

class GbkConvert : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("lumo_gbk_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path p = m_dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream f(p, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    }

    fs::path m_dir;
};

TEST_F(GbkConvert, ConvertsAFileIntoANewFolder) {
    const fs::path in = Write("Goods.csv", "\xEF\xBB\xBF" "物品(\"扫把\",1)\r\n-- ok\n");
    const fs::path out = m_dir / "脚本" / "Goods.csv";
    std::string error;
    ASSERT_TRUE(contentgen::ConvertFileToGbk(in.string(), out.string(), &error)) << error;
    // 物 = CE EF, 品 = C6 B7, 扫 = C9 A8, 把 = B0 D1; the byte-order mark is gone.
    EXPECT_EQ(Read(out), "\xCE\xEF\xC6\xB7(\"\xC9\xA8\xB0\xD1\",1)\r\n-- ok\n");
    EXPECT_FALSE(fs::exists(out.string() + ".tmp"));
}

TEST_F(GbkConvert, RefusesCharactersGbkCannotHold) {
    struct Case {
        const char* text;
        const char* where;
    };
    const Case cases[] = {
        {"好\n第二行 \xF0\x9F\x98\x80 笑", "line 2, column 5"},  // an emoji
        {"ab\xC3(", "line 1, column 3"},                          // broken UTF-8
        {"\xE2\x82", "line 1, column 1"},                         // truncated at the end
    };
    for (const Case& c : cases) {
        const fs::path in = Write("bad.lua", c.text);
        const fs::path out = m_dir / "out" / "bad.lua";
        std::string error;
        EXPECT_FALSE(contentgen::ConvertFileToGbk(in.string(), out.string(), &error)) << c.text;
        EXPECT_NE(error.find(c.where), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(GbkConvert, MissingInputFails) {
    std::string error;
    EXPECT_FALSE(contentgen::ConvertFileToGbk((m_dir / "none.txt").string(), (m_dir / "o.txt").string(), &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
