#include "shared/gbk.h"
#include "shared/paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, DataPathsMapToUtf8UnderTheDataFolder) {
    paths::DataPaths p("/opt/game");
    EXPECT_EQ(p.Resolve(gbk::FromUtf8("\\data\\地图\\新手村1.Wdm")), "/opt/game/data/地图/新手村1.Wdm");
    EXPECT_EQ(p.Resolve("\\Data\\x.png"), "/opt/game/data/x.png");
    EXPECT_EQ(p.Resolve("readme.txt"), "/opt/game/readme.txt");
}

TEST(Paths, DataFolderOptionOverridesProgramFolder) {
    paths::DataPaths p("/opt/game", "/tmp/pack/");
    EXPECT_EQ(p.Resolve("\\data\\music\\1.wav"), "/tmp/pack/music/1.wav");
}

TEST(Paths, TrailBackslashIsNotASeparator) {
    // "\xB1\x5C" is one character whose trail byte is '\'.
    std::string gbkPath = std::string("\\data\\\xB1\x5C\\a.png");
    std::string fs = paths::GbkPathToFs(gbkPath);
    EXPECT_EQ(fs, "/data/" + gbk::ToUtf8("\xB1\x5C") + "/a.png");
}

TEST(Paths, ProgramFolderIsTheExecutablesFolder) {
    std::string folder = paths::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.find("bin"), std::string::npos);
}

}  // namespace
