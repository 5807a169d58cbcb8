// Every NPC row of the bundled table has its drawn pictures: the standing
// frames it asks for (one picture size, an info file each) and the dialog
// portrait. A row whose folder the generator does not draw would be an
// invisible NPC nobody can click.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "content_fixture.h"

using namespace content_test;

namespace {

struct NpcRowText {
    std::string name, folder, script;
    int frames = 0;
};

std::vector<NpcRowText> BundledNpcRows() {
    const char* data = std::getenv("LUMO_TEST_DATA");
    EXPECT_NE(data, nullptr);
    const auto table = std::filesystem::path(data ? data : ".") / ".." / ".." / "content" / "data" / "脚本" / "Npc.csv";
    const std::string text = ReadText(table);
    const std::regex row(R"re(初始NPC\(\d+,"([^"]*)","([^"]*)","([^"]*)",(\d+),)re");
    std::vector<NpcRowText> rows;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), row); it != std::sregex_iterator(); ++it)
        rows.push_back({(*it)[1], (*it)[2], (*it)[3], std::stoi((*it)[4])});
    return rows;
}

TEST(NpcArt, EveryNpcRowHasItsFramesAndPortrait) {
    const std::vector<NpcRowText> rows = BundledNpcRows();
    ASSERT_GE(rows.size(), 5u);  // the gold quest needs NPCs 3 and 5
    for (const NpcRowText& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_GE(r.frames, 1);
        const Size first = PngSize(P("NPC/" + r.folder + "/0.png"));
        EXPECT_GT(first.w, 0);
        for (int k = 0; k < r.frames; ++k) {
            const std::string frame = "NPC/" + r.folder + "/" + std::to_string(k) + ".png";
            EXPECT_EQ(PngSize(P(frame)), first) << frame;
            // Drawn from the NPC's top-left: no offset, the whole picture.
            EXPECT_EQ(ReadText(P(frame + ".info.txt")),
                      "0,0," + std::to_string(first.w) + "," + std::to_string(first.h))
                << frame;
        }
        EXPECT_GT(PngSize(P("NPC/" + r.folder + "/show.png")).h, first.h);  // the portrait is the larger picture
    }
}

}  // namespace
