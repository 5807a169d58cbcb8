// The generated pack holds every picture the game loads at start, with the
// sizes the interface places them at and frame folders the animation
// player can read.

#include "content_fixture.h"

#include "shared/gbk.h"

#include <cmath>
#include <cstdlib>

using namespace content_test;

namespace {

const auto* const kCleaner = ::testing::AddGlobalTestEnvironment(new PackCleaner);

struct SizedPicture {
    const char* path;
    int w, h;
};

// Pictures whose size the interface code relies on.
const SizedPicture kSized[] = {
    {"其它/46987-1.png", 265, 171},   {"道具/888.png", 30, 30},          {"其它/msg.png", 10, 10},
    {"其它/底部UI.png", 800, 55},     {"其它/经验条.png", 632, 5},       {"其它/聊天背景框上.png", 383, 5},
    {"其它/聊天背景框中.png", 383, 1}, {"其它/聊天背景框下.png", 383, 5}, {"其它/右侧背景.png", 45, 327},
    {"其它/问号.png", 20, 20},        {"其它/关闭.png", 20, 20},         {"其它/地图名底图.png", 271, 92},
    {"其它/血条前景.png", 122, 25},    {"其它/血条背景.png", 122, 25},    {"其它/小进度前景.png", 100, 10},
    {"其它/小进度背景.png", 100, 10},  {"其它/p.png", 25, 25},
};

TEST(ContentPack, InterfacePicturesHaveTheirExactSizes) {
    for (const SizedPicture& p : kSized) EXPECT_EQ(PngSize(P(p.path)), (Size{p.w, p.h})) << p.path;
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(PngSize(P("其它/指针" + std::to_string(n) + ".png")), (Size{30, 30})) << n;
}

TEST(ContentPack, EveryPictureLoadedAtStartExists) {
    const char* wholePictures[] = {
        "头像/1.png", "头像/1show.png", "其它/主进度底图.png", "其它/聊天框滑动条.png", "其它/状态背景.png",
        "其它/物品背景.png", "其它/技能背景.png", "其它/任务背景.png", "其它/npc交互框.png", "其它/交易框背景.png",
    };
    for (const char* p : wholePictures) EXPECT_GT(PngSize(P(p)).w, 0) << p;
    for (const char* plate : {"npc名称", "怪物名称"})
        for (int k = 1; k <= 3; ++k) {
            const Size s = PngSize(P(std::string("其它/") + plate + std::to_string(k) + ".png"));
            EXPECT_GT(s.w, 0) << plate << k;
            EXPECT_EQ(s.h, 18) << plate << k;  // the three pieces join into one plate
        }
}

TEST(ContentPack, ButtonsHaveThreeDistinctStatesOfOneSize) {
    for (const char* name : {"状态", "物品", "技能", "任务", "系统", "确定"}) {
        const std::string folder = std::string("其它/") + name + "/";
        const Size first = PngSize(P(folder + "1.png"));
        EXPECT_GT(first.w, 0) << name;
        std::vector<std::vector<std::uint8_t>> states;
        for (int k = 1; k <= 3; ++k) {
            EXPECT_EQ(PngSize(P(folder + std::to_string(k) + ".png")), first) << name << k;
            states.push_back(ReadBytes(P(folder + std::to_string(k) + ".png")));
        }
        EXPECT_NE(states[0], states[1]) << name;
        EXPECT_NE(states[1], states[2]) << name;
        EXPECT_NE(states[0], states[2]) << name;
    }
    EXPECT_EQ(PngSize(P("其它/状态/1.png")), (Size{48, 28}));  // fits the 50 px right-hand strip
}

TEST(ContentPack, SpeechBubbleTilesAreTwentyFivePixelsSquare) {
    for (int style = 1; style <= 3; ++style) {
        for (int k = 0; k <= 9; ++k)
            EXPECT_EQ(PngSize(P("对话框/" + std::to_string(style) + std::to_string(k) + ".png")), (Size{25, 25}))
                << style << k;
        for (int k = 0; k <= 2; ++k)
            EXPECT_GT(PngSize(P("对话框选项/" + std::to_string(style) + std::to_string(k) + ".png")).w, 0) << k;
    }
}

// ---------------------------------------------------------------- frames

struct Info {
    double ox = 0, oy = 0;
    int w = 0, h = 0;
    bool ok = false;
};

// Reads an info file the way the game does: split at "," into four fields.
Info ReadInfo(const std::filesystem::path& p) {
    const std::string text = ReadText(p);
    const auto fields = gbk::Split(text, ",");
    Info i;
    if (fields.size() != 4) return i;
    for (const auto& f : fields)
        if (f.empty() || f.find_first_not_of("-.0123456789") != std::string::npos) return i;
    i.ox = gbk::ToReal(fields[0]);
    i.oy = gbk::ToReal(fields[1]);
    i.w = gbk::ToInt(fields[2]);
    i.h = gbk::ToInt(fields[3]);
    i.ok = true;
    return i;
}

// Checks frames 0..count-1 of a folder; returns their infos.
std::vector<Info> CheckFolder(const std::string& folder, int count) {
    std::vector<Info> infos;
    for (int i = 0; i < count; ++i) {
        const std::string base = folder + "/" + std::to_string(i) + ".png";
        const Size s = PngSize(P(base));
        const Info info = ReadInfo(P(base + ".info.txt"));
        EXPECT_GT(s.w, 0) << base;
        EXPECT_TRUE(info.ok) << base << ".info.txt: \"" << ReadText(P(base + ".info.txt")) << "\"";
        EXPECT_EQ((Size{info.w, info.h}), s) << base;
        infos.push_back(info);
    }
    return infos;
}

struct PlayerAnimation {
    const char* body;
    const char* weapon;
    int frames;
};

const PlayerAnimation kPlayer[] = {
    {"原地", "10", 4},         {"慢跑", "24", 8},         {"待战", "1", 4},       {"攻击_右手", "攻击_右手", 7},
    {"上爬", "4", 2},          {"被攻击", "被攻击", 2},   {"死亡", "死亡", 5},    {"魔法", "魔法", 8},
    {"跳跃", "跳跃", 1},
};

TEST(ContentPack, PlayerFramesShareOneAnchorWithTheirWeaponOverlay) {
    for (const PlayerAnimation& a : kPlayer) {
        const auto body = CheckFolder(std::string("人物/") + a.body, a.frames);
        const auto weapon = CheckFolder(std::string("武器/扫把/") + a.weapon, a.frames);
        for (int i = 0; i < a.frames; ++i) {
            // Same size and offsets in every frame and layer: the feet stay put.
            EXPECT_EQ(body[i].ox, body[0].ox) << a.body << i;
            EXPECT_EQ(body[i].oy, body[0].oy) << a.body << i;
            EXPECT_EQ((Size{body[i].w, body[i].h}), (Size{body[0].w, body[0].h})) << a.body << i;
            EXPECT_EQ(weapon[i].ox, body[i].ox) << a.weapon << i;
            EXPECT_EQ(weapon[i].oy, body[i].oy) << a.weapon << i;
            EXPECT_EQ((Size{weapon[i].w, weapon[i].h}), (Size{body[i].w, body[i].h})) << a.weapon << i;
        }
    }
    // The anchor is the top-left of the 40 x 70 box: feet 70 px below it.
    const Info i = ReadInfo(P("人物/原地/0.png.info.txt"));
    EXPECT_EQ(i.ox, contentgen::PlayerFrame::kAnchorX);
    EXPECT_EQ(-i.oy + 70, contentgen::PlayerFrame::kFootY);
}

TEST(ContentPack, AnimationFramesDiffer) {
    // A walk whose frames were all the same picture would still pass the
    // folder checks; the cycle must really move.
    for (int i = 1; i < 8; ++i)
        EXPECT_NE(ReadBytes(P("人物/慢跑/0.png")), ReadBytes(P("人物/慢跑/" + std::to_string(i) + ".png"))) << i;
    EXPECT_NE(ReadBytes(P("人物/死亡/0.png")), ReadBytes(P("人物/死亡/4.png")));
}

struct EffectFolder {
    const char* name;
    int frames;
};

const EffectFolder kEffects[] = {
    {"特效1", 20}, {"特效2", 9},   {"传送门", 16}, {"命中", 4},     {"光明祈福", 11},  {"毁灭之颂歌", 9},
    {"小鸟2", 29}, {"小鸟", 12},   {"旗子", 21},   {"蝴蝶", 29},    {"按右_小", 2},    {"按左_小", 2},
    {"按上_小", 2}, {"蝴蝶2", 29}, {"远程魔法1", 5}, {"闪电", 7},    {"蓝光魔法", 14},  {"绿色泡泡", 15},
    {"中毒", 10},  {"诅咒", 20},
};

TEST(ContentPack, EffectsHaveTheirFrameCounts) {
    for (const EffectFolder& e : kEffects) CheckFolder(std::string("效果/") + e.name, e.frames);
    // The hit spark is centred by subtracting 59.5 from the hit point.
    EXPECT_EQ(PngSize(P("效果/命中/0.png")), (Size{119, 119}));
}

TEST(ContentPack, NumberGlyphsCoverTenSetsOfTenDigits) {
    for (int i = 0; i < 10; ++i) {
        const auto infos = CheckFolder("文字/" + std::to_string(i), 10);
        for (const Info& info : infos) EXPECT_LE(info.w, 60) << "set " << i;
    }
    // Later sets rise: the number floats up while it plays.
    EXPECT_LT(ReadInfo(P("文字/9/5.png.info.txt")).oy + 0.5 * ReadInfo(P("文字/9/5.png.info.txt")).h,
              ReadInfo(P("文字/3/5.png.info.txt")).oy + 0.5 * ReadInfo(P("文字/3/5.png.info.txt")).h);
}

TEST(ContentPack, QuestMarksAreFrameFolders) {
    CheckFolder("其它/任务/可接", 8);
    CheckFolder("其它/任务/可交", 8);
}

}  // namespace
