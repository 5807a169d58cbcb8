// Engine initiation with the game's own start record, and frames driven by
// hand on a live headless engine: the loading screen on another screen
// width, Esc in both phases, the pick-up key, the texture-size loop, an
// exception in a callback.
#include <gtest/gtest.h>

#include <filesystem>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/game.h"
#include "shared/gbk.h"
#include "test_dirs.h"

namespace {

std::vector<std::string> InitiationTrace(EngineStartRecord record) {
    Engine engine;
    std::vector<std::string> states;
    engine.stateTrace = [&](const std::string& s) { states.push_back(s); };
    engine.Initiate(record, true);
    engine.Shutdown();
    return states;
}

TEST(EngineInitiation, TheGameRecordSetsTheStatesInTheirFixedOrder) {
    EngineStartRecord record = GameStartRecord(true);
    EXPECT_EQ(record.title, gbk::Lit("Lumo 横板RPG - 项目组"));
    EXPECT_EQ(record.width, 0);
    EXPECT_EQ(record.height, 0);
    // Headless mode comes first; then the callbacks, the engine's own title
    // (text state 27) before the screen size, and windowed (bool state 1)
    // last before the engine starts.
    const std::vector<std::string> expected = {
        "b100=1", "f101=0.016667", "i24=60", "b5=1", "func10", "func11", "b2=1",  "b4=1", "func8",
        "func9",  "s27",           "i17=800", "i18=600", "b6=1", "b7=0", "b1=1", "initiate",
    };
    EXPECT_EQ(InitiationTrace(record), expected);

    // Sound off is said explicitly; a width of its own is passed on.
    record.soundOn = 0;
    record.width = 640;
    std::vector<std::string> states = InitiationTrace(record);
    ASSERT_EQ(states.size(), expected.size());
    EXPECT_EQ(states[7], "b4=0");
    EXPECT_EQ(states[11], "i17=640");
    EXPECT_EQ(states[12], "i18=600");
}

// A Game on a live headless engine whose frames the test drives.
struct LiveGame {
    Game game;
    std::vector<std::string> steps;

    explicit LiveGame(int width = 0) : game(Options()) {
        EngineStartRecord record = GameStartRecord(true);
        record.width = width;
        game.engine.Initiate(record, true);
        game.logicActive = 1;
        game.loader.Initialise();
        game.trace = [this](std::string_view s) { steps.emplace_back(s); };
    }
    ~LiveGame() { game.engine.Shutdown(); }

    static GameOptions Options() {
        GameOptions o;
        o.headless = true;
        o.dataDir = "/nonexistent";
        o.seed = 1;
        return o;
    }
    // One engine frame: injected input, the frame callback and, unless it
    // ended the loop, the render callback. True when the loop ends.
    bool Frame() {
        steps.clear();
        Harness_BeginFrame(game.engine.handle());
        if (game.FrameFunc()) return true;
        game.RenderFunc();
        return false;
    }
};

TEST(LiveFrames, TheLoadingMessageIsCentredOnTheWidthTheEngineReports) {
    LiveGame live(640);
    ASSERT_EQ(live.game.screenWidth, 640);
    struct Seen {
        float x = -1, y = -1;
        std::string text;
    } seen;
    live.game.engine.SetDrawListener(
        [](void* user, const LumoDrawRecord* r) {
            if (r->kind == LUMO_DRAW_TEXT && r->text) {
                auto* s = static_cast<Seen*>(user);
                s->x = r->x;
                s->y = r->y;
                s->text = r->text;
            }
        },
        &seen);
    ASSERT_FALSE(live.Frame());
    live.game.engine.SetDrawListener(nullptr, nullptr);
    EXPECT_EQ(seen.text, gbk::Lit("加载Loading资源..."));
    float width = live.game.fonts.loading.TextWidth(seen.text);
    ASSERT_GT(width, 0);
    EXPECT_FLOAT_EQ(seen.x, (640 - width) / 2);
    EXPECT_FLOAT_EQ(seen.y, 300);
}

TEST(LiveFrames, EscReleasedEndsTheRunInBothPhasesBeforeAnythingElse) {
    for (int phase : {kPhaseLoading, kPhasePlaying}) {
        LiveGame live;
        live.game.phase = phase;
        live.game.engine.InjectKey(27, true);
        ASSERT_FALSE(live.Frame()) << phase;  // going down does not end it
        int stage = live.game.loader.stage();
        live.game.engine.InjectKey(27, false);
        EXPECT_TRUE(live.Frame()) << phase;
        EXPECT_EQ(live.steps, std::vector<std::string>{"esc"}) << phase;
        EXPECT_EQ(live.game.loader.stage(), stage) << phase;
    }
}

// An item that records its pick-up tries and, once taken, reports itself gone.
class TestItem : public GroundItem {
public:
    TestItem(Game&, float x, float y, bool accepts, std::vector<std::string>& log, std::string name)
        : GroundItem(x, y), m_accepts(accepts), m_log(log), m_id(std::move(name)) {}
    bool PickUp() override {
        m_log.push_back("try " + m_id);
        if (!m_accepts) return false;
        SetGone(true);
        m_log.push_back("took " + m_id);
        return true;
    }

private:
    bool m_accepts;
    std::vector<std::string>& m_log;
    std::string m_id;
};

TEST(LiveFrames, HoldingCPicksUpTheFirstAcceptingItemInReachOneAFrame) {
    LiveGame live;
    Game& g = live.game;
    g.phase = kPhasePlaying;
    g.FocusLost();  // the player stays where the test puts it
    g.player.x = 100;
    g.player.y = 200;
    g.player.width = 40;
    g.player.height = 60;
    std::vector<std::string> log;
    auto add = [&](float x, bool accepts, const char* name) {
        g.actors.groundItems.push_back(std::make_unique<TestItem>(g, x, 250.f, accepts, log, name));
    };
    add(500, true, "far");
    add(120, false, "refuses");
    add(121, true, "first");
    add(122, true, "second");

    ASSERT_FALSE(live.Frame());
    EXPECT_TRUE(log.empty());  // C not held

    g.engine.InjectKey(67, true);
    ASSERT_FALSE(live.Frame());
    EXPECT_EQ(log, (std::vector<std::string>{"try refuses", "try first", "took first"}));
    EXPECT_EQ(g.actors.groundItems.size(), 3u);  // the taken one is gone by the end of the frame

    log.clear();
    ASSERT_FALSE(live.Frame());
    EXPECT_EQ(log, (std::vector<std::string>{"try refuses", "try second", "took second"}));
    EXPECT_EQ(g.actors.groundItems.size(), 2u);

    g.engine.InjectKey(67, false);
    log.clear();
    ASSERT_FALSE(live.Frame());
    EXPECT_TRUE(log.empty());
}

TEST(LiveFrames, TheTextureSizeLoopTakesTheRectangleFromTheTexture) {
    LiveGame live;
    std::vector<std::vector<FrameInfo>> table(2, std::vector<FrameInfo>(1));
    for (auto& row : table) {
        row[0].width = 10;
        row[0].height = 20;
        row[0].textureWidth = 30;
        row[0].textureHeight = 40;
    }
    FrameAnimation a;
    a.Load(table, 0);
    a.StepLoop(10, 1, 2, 0);
    EXPECT_FLOAT_EQ(a.CurrentWidth(), 10);
    EXPECT_FLOAT_EQ(a.CurrentHeight(), 20);
    a.StepLoopTextureSize(10, 1, 2, 0);
    EXPECT_FLOAT_EQ(a.CurrentWidth(), 30);
    EXPECT_FLOAT_EQ(a.CurrentHeight(), 40);
}

// An exception that reaches the engine's callbacks stops the run with
// status 1 instead of crossing the engine: thrown in a frame callback, that
// frame ends the loop; thrown in a render callback, the next frame does.
TEST(LiveFrames, AnExceptionInACallbackEndsTheRunWithStatusOne) {
    struct Case {
        const char* step;
        int stage;  // the first frame's loading step ran only before a render throw
    };
    for (const Case& c : {Case{"loader.step", 1}, Case{"loader.draw", 2}}) {
        const char* step = c.step;
        // A data folder that exists (and holds nothing): Run refuses a missing one.
        const auto data = std::filesystem::temp_directory_path() / "lumo_exception_data";
        std::filesystem::create_directories(data);
        GameOptions options = LiveGame::Options();
        options.dataDir = data.string();
        Game game(options);
        game.options.frames = 20;
        game.trace = [step](std::string_view s) {
            if (s == step) throw std::runtime_error("broken step");
        };
        int status = -1;
        EXPECT_NO_THROW(status = game.Run()) << step;
        EXPECT_EQ(status, 1) << step;
        EXPECT_EQ(game.frameCount, 1) << step;
        EXPECT_EQ(game.loader.stage(), c.stage) << step;
    }
}

}  // namespace

// The built content pack against the game's own loading stages: a path
// that differs in one character leaves its handle empty here.
TEST(LoadingStages, EveryFileTheStagesNameIsFoundInTheBuiltPack) {
    GameOptions o = LiveGame::Options();
    o.dataDir = test_dirs::Pack();
    o.frames = 7;
    Game game(o);
    ASSERT_EQ(game.Run(), 0);
    ASSERT_EQ(game.phase, kPhasePlaying);
    EXPECT_TRUE(game.messageBoxes.empty());

    EXPECT_FALSE(game.fonts.digits.empty());
    const GameSounds& s = game.sounds;
    const HEFFECT sounds[] = {s.music,    s.skillCast, s.playerAttack, s.itemWindowA, s.itemWindowB, s.playerDeath,
                              s.monsterA, s.levelUp,   s.monsterB,     s.itemWindowC, s.click};
    for (std::size_t i = 0; i < std::size(sounds); ++i) EXPECT_NE(sounds[i], 0u) << "sound " << i + 1;

    ASSERT_EQ(game.glyphs.size(), 10u);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            EXPECT_NE(game.glyphs[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)].texture, 0u)
                << "glyph " << i << "/" << j;

    for (int n = 1; n <= EffectLibrary::kSize; ++n) {
        const FrameAnimation& a = game.effectLibrary.Entry(n)->animation();
        ASSERT_EQ(a.FrameCount(), game.effectLibrary.Entry(n)->frameCount()) << n;
        for (int k = 1; k <= a.FrameCount(); ++k) EXPECT_NE(a.Frame(k).texture, 0u) << "effect " << n << " frame " << k;
    }

    int animations = 0;
    for (const auto* layer : {&game.player.body, &game.player.weapon}) {
        for (const FrameAnimation& a : *layer) {
            if (!a.loaded()) continue;
            ++animations;
            ASSERT_GT(a.FrameCount(), 0) << gbk::ToUtf8(a.folder());
            for (int k = 1; k <= a.FrameCount(); ++k)
                EXPECT_NE(a.Frame(k).texture, 0u) << gbk::ToUtf8(a.folder()) << k;
        }
    }
    EXPECT_EQ(animations, 16);

    const Hud::PlayerPanel& p = game.hud.panel;
    for (const Sprite* sprite : std::initializer_list<const Sprite*>{&p.portrait, &p.portraitShow, &p.base, &p.hpFront, &p.hpBack, &p.smallFront,
                                 &p.smallBack, &game.hud.mapNameBackdrop, &game.player.jumpBody,
                                 &game.player.jumpWeapon})
        EXPECT_NE(sprite->texture(), 0u);
}
