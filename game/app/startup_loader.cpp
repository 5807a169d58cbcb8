#include "app/startup_loader.h"

#include "app/game.h"
#include <filesystem>

#include "shared/gbk.h"

void StartupLoader::Initialise() {
    Game& g = m_game;
    g.phase = kPhaseLoading;
    g.screenWidth = g.engine.Width();
    g.screenHeight = g.engine.Height();
    g.map.SetScreenSize(g.screenWidth, g.screenHeight);
    g.fonts.loading.Create(gbk::Lit("宋体"), 12, 0, 0, 0, 0xFFFFFFFF);
    g.chatLog.Create();
    m_message = "Lumo Game";
    m_stage = 1;
}

void StartupLoader::Step(float) {
    switch (m_stage) {
        case 1:
            m_message = gbk::Lit("加载Loading资源...");
            m_stage = 2;
            break;
        case 2: StageFonts(); break;
        case 3: StageScripts(); break;
        case 4: StagePlayer(); break;
        case 5:
            StageWorld();
            StageSounds();
            m_stage = 6;
            break;
        case 6:
            m_message = gbk::Lit("加载完成........");
            Finished();
            // The first map is no change of map; a save asked for on the
            // command line replaces the new game.
            m_game.saves.ForgetMapChange();
            // A windowed start shows the title screen (unless a save or a
            // map was named and loaded); a headless run plays at once unless
            // it asks for the title.
            {
                const GameOptions& o = m_game.options;
                m_game.menus.KeepNewGame();
                const bool loaded = !o.loadSlot.empty() && m_game.saves.Load(o.loadSlot);
                if (o.title || (!o.headless && !loaded && o.mapFile.empty())) m_game.menus.ShowTitle();
            }
            m_game.phase = kPhasePlaying;
            break;
        default: break;
    }
}

void StartupLoader::DrawMessage() {
    const GdiFont& font = m_game.fonts.loading;
    float width = font.TextWidth(m_message);
    font.Print((static_cast<float>(m_game.screenWidth) - width) / 2, 300, m_message);
}

void StartupLoader::StageFonts() {
    Game& g = m_game;
    m_message = gbk::Lit(" 创建游戏字体..");
    g.fonts.small.Create(gbk::Lit("宋体"), 12, 0, 0, 0, 0xFFFFFFFF);
    g.fonts.game.Create(gbk::Lit("幼圆"), 13, 1, 0, 1, 0xFFFFFFFF);
    // A bare file name is looked up among the system fonts.
    g.fonts.chat.Create(g.engine.handle(), "SIMHEI.TTF", 12);
    g.fonts.digits.Create(g.Resolve(gbk::Lit("\\data\\其它\\font1.fnt")));
    g.fonts.large.Create(gbk::Lit("幼圆"), 25, 1, 0, 1, 0xFFFFFFFF);
    m_stage = 3;
}

void StartupLoader::StageScripts() {
    Game& g = m_game;
    m_message = gbk::Lit("加载游戏脚本模块...");
    g.LoadScripts();
    g.dialogBox.pendingFunction = gbk::Lit("无");
    m_message = gbk::Lit("创建游戏界面....");
    g.hud.Build();
    g.gameInterface.Build(g.dataPaths, g.dataTables());
    g.skills.Load();
    g.pointer.Create(g.engine, g.dataPaths);
    m_stage = 4;
}

void StartupLoader::StagePlayer() {
    Game& g = m_game;
    m_message = gbk::Lit("创建游戏角色...");
    g.player.CreateAttacks(g.frameCache);
    g.player.LoadAnimations(g.frameCache);
    g.hud.LoadPanel(g.dataPaths);
    g.player.ResetToStart();
    g.player.LoadJumpSprites(g.engine, g.dataPaths);
    m_stage = 5;
}

void StartupLoader::StageWorld() {
    Game& g = m_game;
    m_message = gbk::Lit("创建游戏地图...");
    g.LoadDialogs();
    // Number glyphs: style i, digit j.
    g.glyphs.assign(10, std::vector<FrameInfo>(10));
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            std::string path = gbk::Lit("\\data\\文字\\") + std::to_string(i) + "\\" + std::to_string(j) + ".png";
            g.glyphs[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                LoadFrame(g.engine, g.dataPaths, path);
        }
    }
    g.effectLibrary.Load(g.frameCache);
    if (g.options.mapFile.empty()) {
        g.map.LoadMap(gbk::Lit("新手村1.Wdm"));
    } else {
        // A map under test (the editor's play-test): known by its file name.
        std::string name = std::filesystem::path(g.options.mapFile).filename().string();
        g.map.LoadMapFile(g.options.mapFile, gbk::FromUtf8(name));
    }
    g.RunMainScript();
    g.hud.LoadMapNameBackdrop(g.dataPaths);
    g.menus.Load();
    g.fonts.banner.Create(gbk::Lit("黑体"), 20, 0, 0, 0, 0xFFFFFFFF);
}

void StartupLoader::StageSounds() {
    Game& g = m_game;
    m_message = gbk::Lit("正在载入音效...");
    GameSounds& s = g.sounds;
    auto load = [&g](const char* utf8Path) { return g.engine.LoadSound(g.Resolve(gbk::Lit(utf8Path))); };
    s.music = load("\\data\\music\\Wdm.mp3");
    s.musicChannel = g.engine.PlaySound(s.music, 80, 0, 1.0f, true);
    g.engine.SetChannelGroup(s.musicChannel, LUMO_SOUND_MUSIC);  // the music volume applies to it
    s.skillCast = load("\\data\\music\\9994.wav");
    s.playerAttack = load("\\data\\music\\600331.wav");
    s.itemWindowA = load("\\data\\music\\70321.wav");
    s.itemWindowB = load("\\data\\music\\9995.wav");
    s.playerDeath = load("\\data\\music\\9010.wav");
    s.monsterA = load("\\data\\music\\1415.wav");
    s.levelUp = load("\\data\\music\\9012.wav");
    s.monsterB = load("\\data\\music\\9015.wav");
    s.itemWindowC = load("\\data\\music\\90101.wav");
    s.click = load("\\data\\music\\90010.wav");
}
