#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/frame_animation.h"
#include "platform/frame_cache.h"
#include "platform/engine.h"
#include "shared/gbk.h"
#include "shared/paths.h"

namespace {

// One column of single-frame-per-row tables, frames without textures.
std::vector<std::vector<FrameInfo>> Table(int frames, float offX = 0, float offY = 0) {
    std::vector<std::vector<FrameInfo>> t(static_cast<std::size_t>(frames), std::vector<FrameInfo>(1));
    for (auto& row : t) {
        row[0].offsetX = offX;
        row[0].offsetY = offY;
        row[0].width = 10;
        row[0].height = 20;
    }
    return t;
}

TEST(FrameAnimationTiming, ElapsedEqualToDurationDoesNotStepButTheNextDoes) {
    FrameAnimation a;
    a.Load(Table(4), 0);
    a.StepLoop(10, 1, 4, 0.1f);
    EXPECT_EQ(a.CurrentFrame(), 1);
    EXPECT_EQ(a.StepCounter(), 0);
    a.StepLoop(10, 1, 4, 0.01f);
    EXPECT_EQ(a.CurrentFrame(), 2);
    EXPECT_FLOAT_EQ(a.Timer(), 0.0f);
}

TEST(FrameAnimationTiming, FirstEqualsLastNeverMovesAndResetsTheCounterAtEveryStep) {
    FrameAnimation a;
    a.Load(Table(5), 0);
    for (int i = 0; i < 6; ++i) {
        a.StepLoop(10, 3, 3, 0.2f);
        EXPECT_EQ(a.CurrentFrame(), 3);
        EXPECT_EQ(a.StepCounter(), 0);
    }
}

TEST(FrameAnimationTiming, LoopAndBackAndForthSequences) {
    struct Case {
        const char* name;
        bool backAndForth;
        std::vector<int> frames;
    };
    const Case cases[] = {
        {"loop", false, {2, 3, 1, 2, 3, 1}},
        // Forward, back, and the first frame again as the counter wraps.
        {"back-and-forth", true, {2, 3, 2, 1, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        FrameAnimation a;
        a.Load(Table(3), 0);
        std::vector<int> seen;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            if (c.backAndForth) {
                a.StepBackAndForth(10, 1, 3, 0.2f);
            } else {
                a.StepLoop(10, 1, 3, 0.2f);
            }
            seen.push_back(a.CurrentFrame());
        }
        EXPECT_EQ(seen, c.frames) << c.name;
    }
}

TEST(FrameAnimationDraw, MirroringChangesOnlyTheSignOfTheXOffset) {
    FrameAnimation a;
    a.Load(Table(2, 5, 7), 0);
    a.SetAnchor(100, 200);
    a.StepLoop(10, 1, 2, 0);
    EXPECT_FLOAT_EQ(a.DrawX(), 95);
    EXPECT_FLOAT_EQ(a.DrawY(), 207);
    a.StepLoop(10, 1, 2, 0, true);
    EXPECT_FLOAT_EQ(a.DrawX(), 105);
    EXPECT_FLOAT_EQ(a.DrawY(), 207);
}

TEST(FrameAnimationDraw, ResetStartsTheNextRangeAtItsFirstFrame) {
    FrameAnimation a;
    a.Load(Table(8), 0);
    a.StepLoop(10, 1, 8, 0.2f);
    a.StepLoop(10, 1, 8, 0.2f);
    a.Reset();
    a.StepLoop(10, 5, 8, 0.05f);
    EXPECT_EQ(a.CurrentFrame(), 5);
}

TEST(FrameInfoParsing, ShortOrGarbledTextsAreRejected) {
    struct Case {
        const char* text;
        bool ok;
        float x, y;
        int w, h;
    };
    const Case cases[] = {
        {"1,2,3,4", true, 1, 2, 3, 4},
        {"-1.5, 2.25 ,30,40\r\n", true, -1.5f, 2.25f, 30, 40},
        {"1,2,3,4,9", true, 1, 2, 3, 4},
        {"1,2,3", false, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0},
        {"a,b,c,d", false, 0, 0, 0, 0},
        {"1,2,3x,4", false, 0, 0, 0, 0},
        {"1,2,-3,4", false, 0, 0, 0, 0},
        {"1,2,3,99999999", false, 0, 0, 0, 0},
        {"nan,2,3,4", false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        FrameInfo f;
        EXPECT_EQ(ParseFrameInfo(c.text, f), c.ok) << c.text;
        if (c.ok) {
            EXPECT_FLOAT_EQ(f.offsetX, c.x) << c.text;
            EXPECT_FLOAT_EQ(f.offsetY, c.y) << c.text;
            EXPECT_EQ(f.width, c.w) << c.text;
            EXPECT_EQ(f.height, c.h) << c.text;
        }
    }
}

class FrameCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("lumo_frames_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        folder = root / "data" / gbk::ToUtf8(gbk::Lit("效果")) / "fx";
        std::filesystem::create_directories(folder);
        for (int i = 0; i < 2; ++i) std::ofstream(folder / (std::to_string(i) + ".png.info.txt")) << "3,4,10,20";
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::filesystem::path root, folder;
    Engine engine;  // not initiated: textures load as 0
};

TEST_F(FrameCacheTest, LoadingAFolderTwiceWithCachingReadsTheDiskOnce) {
    paths::DataPaths dp(root.string());
    FrameCache cache(engine, dp);
    const std::string gbkFolder = gbk::Lit("\\data\\效果\\fx\\");
    FrameAnimation a, b;
    a.Load(cache, gbkFolder, 2, true);
    std::filesystem::remove_all(folder);  // a second disk read would now find nothing
    b.Load(cache, gbkFolder, 2, true);
    EXPECT_EQ(cache.diskLoads(), 1);
    EXPECT_FLOAT_EQ(b.Frame(2).offsetX, 3);
    EXPECT_EQ(b.Frame(2).height, 20);

    FrameAnimation c;
    c.Load(cache, gbkFolder, 2, false);
    EXPECT_EQ(cache.diskLoads(), 2);
    EXPECT_FLOAT_EQ(c.Frame(1).offsetX, 0);  // files gone: zero offsets, texture size (0)
}

TEST_F(FrameCacheTest, MissingOrGarbledInfoFilesGiveZeroOffsets) {
    std::ofstream(folder / "0.png.info.txt", std::ios::trunc) << "12,";
    std::filesystem::remove(folder / "1.png.info.txt");
    paths::DataPaths dp(root.string());
    FrameCache cache(engine, dp);
    FrameAnimation a;
    a.Load(cache, gbk::Lit("\\data\\效果\\fx"), 3, false);
    ASSERT_EQ(a.FrameCount(), 3);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_FLOAT_EQ(a.Frame(k).offsetX, 0) << k;
        EXPECT_EQ(a.Frame(k).width, 0) << k;  // the missing texture's size
    }
}

}  // namespace
