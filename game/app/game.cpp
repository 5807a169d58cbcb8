#include "app/game.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>

#include <ctime>
#include <filesystem>
#include <memory>

#include "core/asset_log.h"
#include "core/json_writer.h"
#include "core/tolerance.h"
#include "core/user_folders.h"
#include "gameplay/quest_rules.h"
#include "shared/gbk.h"

namespace {

// The engine's callbacks are plain C functions; they reach the running game
// through this one pointer, set by Game::Run for the length of the loop.
Game* g_running = nullptr;

// No exception may cross the engine: one that reaches a callback is
// reported, the game's exit status becomes 1, and the next frame callback
// ends the loop.
template <typename Step>
bool Guarded(Step step, bool resultOnError) {
    try {
        return step();
    } catch (const std::exception& e) {
        std::cerr << "game: stopped by an error: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "game: stopped by an unknown error\n";
    }
    g_running->RequestExit(1);
    return resultOnError;
}

bool OnFrame() {
    if (g_running == nullptr || g_running->exitStatus() != 0) return true;
    return Guarded([] { return g_running->FrameFunc(); }, true);
}
bool OnRender() {
    if (g_running == nullptr) return false;
    return Guarded([] { return g_running->RenderFunc(); }, false);
}
bool OnFocusLost() {
    if (g_running) g_running->FocusLost();
    return false;
}
bool OnFocusGained() {
    if (g_running) g_running->FocusGained();
    return false;
}

constexpr std::uint32_t kSystemRed = 0xFFFF0000;

bool HasDisplay() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && std::string(driver) == "offscreen") return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

constexpr const char* kNoDisplayHelp =
    "game: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
    "Run it headless instead, for example:\n"
    "  game --headless --frames 400 --screenshot 399:shot.png --dump-state state.json\n";

}  // namespace

EngineStartRecord GameStartRecord(bool headless) {
    EngineStartRecord record;
    record.hideMouse = 1;
    record.title = gbk::Lit("Lumo 横板RPG - 项目组");
    record.framesPerSecond = 60;
    record.keepRunningInactive = 1;
    record.soundOn = 1;
    record.depthBuffer = 1;
    record.frameFunc = OnFrame;
    record.renderFunc = OnRender;
    record.focusLostFunc = OnFocusLost;
    record.focusGainFunc = OnFocusGained;
    record.headless = headless ? 1 : 0;
    return record;
}

Game::Game(GameOptions opts)
    : options(std::move(opts)),
      dataPaths(paths::ProgramFolder(),
                options.dataDir.empty() ? FindDataFolder(paths::ProgramFolder()) : options.dataDir),
      random(options.seed ? *options.seed : Random::ClockSeed()) {
    // Before any table or script runs: the commands act on this game.
    scripts.SetServices(&m_scriptServices);
    // SIGINT / SIGTERM stop a running script at once; the loop then ends.
    scripts.SetInterrupt(&Engine::QuitSignalled);
}

Game::~Game() {
    if (g_running == this) g_running = nullptr;
}

// ------------------------------------------------------------ start-up

int Game::Run() {
    if (!options.inputFile.empty()) {
        InputScript script = LoadInputScript(options.inputFile);
        if (!script.error.empty()) {
            std::cerr << script.error << "\n";
            return 2;
        }
        scriptedInput = std::move(script.events);
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(dataPaths.dataFolder(), ec)) {
        std::cerr << "game: the data folder " << dataPaths.dataFolder() << " does not exist (see --data)\n";
        return 2;
    }
    if (!options.mapFile.empty() && !std::filesystem::is_regular_file(options.mapFile, ec)) {
        std::cerr << "game: the map file " << options.mapFile << " does not exist\n";
        return 2;
    }
    if (!options.headless && !HasDisplay()) {
        std::cerr << kNoDisplayHelp;
        return 3;
    }
    // Content files that cannot be used are named once each on stderr.
    asset_log::Enable(dataPaths.dataFolder());
    struct StopAssetLog {
        ~StopAssetLog() { asset_log::Disable(); }
    } stopAssetLog;

    settingsKeeper.Load(options);
    EngineStartRecord record = GameStartRecord(options.headless);
    if (engine.Initiate(record, true) == 0) return 1;
    if (!engine.videoStarted() && !options.headless) {
        engine.Shutdown();
        std::cerr << kNoDisplayHelp;
        return 3;
    }
    // A window's renderer keeps no picture after presenting; screenshots
    // need the engine to copy each finished scene.
    if (!options.screenshots.empty()) engine.KeepFrames(true);
    settingsKeeper.ApplyAtStart(engine, controlsReader);
    logicActive = 1;
    loader.Initialise();

    g_running = this;
    InjectInputFor(1);
    engine.Start();
    g_running = nullptr;
    settingsKeeper.GameEnding(engine);
    // Esc or the window closed ends the game: it is kept in "auto". A run
    // cut off by --frames or stopped by an error is no end of the game.
    // Ending at the title screen leaves the saves alone: the game under it
    // is not the player's.
    if (phase == kPhasePlaying && m_exitStatus == 0 && !m_framesRanOut && !menus.titleShown()) saves.GameEnding();
    saves.Finish();  // a save under way reaches the disk (and the dump) before the game ends

    if (!options.dumpStatePath.empty() && !WriteStateDump(options.dumpStatePath)) {
        std::cerr << "game: cannot write the state dump to " << options.dumpStatePath << "\n";
        m_outputFailed = true;
    }
    engine.Shutdown();
    // A run whose pictures or dump are missing must not look like a success.
    if (m_exitStatus == 0 && m_outputFailed) return kExitOutputFailed;
    return m_exitStatus;
}

void Game::LoadScripts() {
    scripts.LoadDataTables(dataPaths);
    levelUpScript = scripts.levelUpScript();
}

void Game::RunMainScript() { scripts.RunMainScriptFile(Resolve(gbk::Lit("\\data\\脚本\\Main.lua"))); }

// ------------------------------------------------------------ frame loop

bool Game::FrameFunc() {
    if (options.frames > 0 && frameCount >= options.frames) {
        m_framesRanOut = true;
        return true;
    }
    ++frameCount;
    // While the chat input has the focus, keys that type text are no action's.
    controls = controlsReader.Read(engine, gameInterface.chatInput.focused());
    Trace("esc");
    // Esc ends the game, except while the settings page has it (to close).
    if ((controls.Released(Action::Quit) && !settingsPage.open()) || menus.quitRequested()) return true;
    HandleWindowKeys();
    float dt = engine.Delta();
    if (phase == kPhaseLoading) {
        Trace("loader.step");
        int exitBefore = m_exitStatus;
        loader.Step(dt);
        if (m_exitStatus != 0 && exitBefore == 0) return true;  // a failed start-up step ends the game
        // A game started from a save is first shown exactly as it was saved.
        if (phase == kPhasePlaying && !options.loadSlot.empty()) return false;
    }
    // Read again: the frame that finishes loading already plays.
    if (phase == kPhasePlaying) PlayingFrame(dt);
    // Keys a menu took this frame act again only from their next press.
    controlsReader.TakeConsumed(controls);
    return false;
}

void Game::PlayingFrame(float dt) {
    // While a menu shows the world waits: only the interface runs.
    if (menus.Pauses()) {
        UpdateInterface(dt);
        return;
    }
    // Item rows a script added since the last frame get their icons.
    gameInterface.icons.LoadNewRows(engine, dataPaths, dataTables());
    settingsKeeper.ReportProblem(chatLog);
    ReportPads();
    Trace("hud.update");
    hud.Update(dt, player);
    gameInterface.Tick(InterfaceFrame{controls, inventory, player, items, dataTables(), dt});
    // The interface's commands apply right after its input pass.
    UpdateInterface(dt);
    Trace("pointer.update");
    pointer.Update(controls.Held(Action::MouseLeft), mouseY);
    Trace("map.update");
    map.Update(dt, controls.Released(Action::Up));
    Trace("groundItems.update");
    for (auto& item : actors.groundItems) {
        item->SetHost(&items);
        item->Update();
    }

    Trace("npcs.update");
    for (auto& npc : actors.npcs) npc->Update();
    Trace("monsters.update");
    monsters.Update(dt);

    Trace("pickup");
    if (controls.Held(Action::PickUp) && PlayerCanAct()) {
        // At most one item a frame: the first in list order that accepts.
        for (auto& item : actors.groundItems) {
            item->SetHost(&items);
            if (InPickUpReach(player, item->x(), item->y()) && item->PickUp()) break;
        }
    }
    UpdatePlayer(dt);

    Trace("dialogBox.place");
    // The bubble stands centred over the player.
    int w = speechBubble.Width(), h = speechBubble.Height();
    int px = static_cast<int>(player.x + player.width / 2), py = static_cast<int>(player.y);
    speechBubble.SetPosition(static_cast<float>(static_cast<int>(camera.offsetX) + px - w / 2),
                             static_cast<float>(static_cast<int>(camera.offsetY) + py - h - 16),
                             static_cast<float>(w / 2));

    Trace("damageNumbers.update");
    damageNumbers.Update(dt, camera.offsetX, camera.offsetY);

    // Ground items that went this frame (delivered to the player) leave the
    // list here, at the frame's end, all together and whether or not the
    // frame is drawn.
    std::erase_if(actors.groundItems, [](const std::unique_ptr<GroundItem>& item) { return item->gone(); });
    saves.Update(controls, dt);
}

bool Game::RenderFunc() {
    // A logic-only run still runs every draw step (they advance animations
    // and remove finished objects); only the pixels are left out.
    if (options.noRender) {
        bool shot = false;
        for (const ScreenshotRequest& s : options.screenshots) shot = shot || s.frame == frameCount;
        engine.SetDrawing(shot);
    }
    engine.Clear(0xFF000000);
    engine.BeginScene(0);
    if (phase == kPhaseLoading) {
        Trace("loader.draw");
        loader.DrawMessage();
    } else if (phase == kPhasePlaying) {
        PlayingRender();
    }
    engine.EndScene();

    for (const ScreenshotRequest& s : options.screenshots) {
        if (s.frame == frameCount && !engine.Screenshot(s.path)) {
            std::cerr << "game: could not save the screenshot of frame " << s.frame << " to " << s.path << "\n";
            m_outputFailed = true;
        }
    }
    InjectInputFor(frameCount + 1);
    return false;
}

void Game::PlayingRender() { interfaceStack.Draw(); }

void Game::DrawWorld() {
    Trace("map.pass0");
    map.RenderPass(0);
    Trace("npcs.draw");
    for (auto& npc : actors.npcs) npc->Draw(camera, engine.Delta());
    Trace("monsters.draw");
    monsters.Draw();
    Trace("effects.back");
    map.effects.RenderPass(true, MakeEffectContext(engine.Delta()));
    Trace("player.draw");
    player.Draw(camera, engine.Delta());
    Trace("map.pass1");
    map.RenderPass(1);
    Trace("damageNumbers.draw");
    damageNumbers.Draw();
    Trace("mouse.refresh");
    engine.MousePos(&mouseX, &mouseY);
    Trace("effects.front");
    map.effects.RenderPass(false, MakeEffectContext(engine.Delta()));
    Trace("groundItems.draw");
    for (auto& item : actors.groundItems) {
        item->SetHost(&items);
        item->Draw();
    }
}

void Game::InjectInputFor(long frame) {
    while (m_nextInput < scriptedInput.size() && scriptedInput[m_nextInput].frame <= frame) {
        const InputEvent& ev = scriptedInput[m_nextInput++];
        switch (ev.kind) {
            case InputEvent::Kind::Key: engine.InjectKey(ev.code, ev.down); break;
            case InputEvent::Kind::Mouse: engine.InjectMouseMove(ev.x, ev.y); break;
            case InputEvent::Kind::Button: engine.InjectMouseButton(ev.code, ev.down); break;
            case InputEvent::Kind::Text: engine.InjectText(ev.text); break;
            case InputEvent::Kind::Focus: engine.InjectFocus(ev.down); break;
            case InputEvent::Kind::Wheel: engine.InjectWheel(ev.code); break;
            case InputEvent::Kind::PadButton: engine.InjectPadButton(ev.code, ev.down); break;
            case InputEvent::Kind::PadAxis: engine.InjectPadAxis(ev.code, static_cast<int>(ev.x)); break;
        }
    }
}

// ------------------------------------------------------------ window keys

void Game::HandleWindowKeys() {
    if (controls.Pressed(Action::ToggleFullscreen) && engine.SetFullscreen(!engine.IsFullscreen())) {
        GameSettings s = settingsKeeper.settings();
        s.fullscreen = engine.IsFullscreen();
        settingsKeeper.Change(engine, controlsReader, s);
        settingsPage.SetCurrent(settingsKeeper.settings());
    }
    if (controls.Pressed(Action::Screenshot)) SaveUserScreenshot();
}

void Game::ReportPads() {
    for (std::string name = engine.TakeUnmappedPad(); !name.empty(); name = engine.TakeUnmappedPad())
        chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("手柄没有按键映射，无法使用：") + gbk::FromUtf8(name), kSystemRed,
                        true, 0, false);
    const int pads = engine.PadCount();
    if (pads > m_padCount) chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("手柄已连接"), kSystemRed, true, 0, false);
    if (pads < m_padCount) chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("手柄已断开"), kSystemRed, true, 0, false);
    m_padCount = pads;
}

void Game::SaveUserScreenshot() {
    std::string folder = user_folders::PicturesFolder();
    char stamp[32] = "";
    std::time_t now = std::time(nullptr);
    if (const std::tm* t = std::localtime(&now)) std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", t);
    std::string path = folder.empty() ? std::string() : user_folders::FreeScreenshotPath(folder, stamp);
    if (!path.empty() && engine.SaveScreenshot(path)) {
        lastUserScreenshot = path;
        chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("截图已保存到 ") + gbk::FromUtf8(path), kSystemRed, true, 0, false);
    } else {
        chatLog.AddLine(gbk::Lit("[系统]"), gbk::Lit("截图保存失败"), kSystemRed, true, 0, false);
    }
}

// ------------------------------------------------------------ services

bool Game::InPickUpReach(const Player& p, float ix, float iy) {
    return GroundItem::InReach(p.x, p.y, p.width, p.height, ix, iy);
}

int Game::ShowMessageBox(const std::string& gbkText, const std::string& gbkCaption, int flags) {
    RecordMessageBox(gbkText, gbkCaption, flags);
    return engine.MessageBox(gbkText, gbkCaption, flags);
}

void Game::RecordMessageBox(const std::string& gbkText, const std::string& gbkCaption, int flags) {
    // A script can show boxes in a loop; the record keeps the first ones.
    if (messageBoxes.size() < kMaxMessageBoxRecords) messageBoxes.push_back({gbkText, gbkCaption, flags});
}

void Game::DropItem(const std::string& gbkName, float x, float y, int count, int) {
    const int number = dataTables().FindItem(gbkName);
    if (number == 0) return;
    auto item = std::make_unique<GroundItem>(x, y);
    item->SetName(gbkName);
    item->SetItem(number, count);  // gold: a count of 0 or less gives 1
    item->SetHost(&items);
    actors.groundItems.push_back(std::move(item));
}

void Game::UpdateInterface(float dt) {
    Trace("interface.update");
    frameDt = dt;
    // The gold-collection quest follows the gold every frame.
    quest_rules::ApplyGoldQuest(questLog, player.gold, dataTables().npcState);
    questWindow.ForgetMissing(questLog);
    interfaceStack.Dispatch(controls);
    layers.Apply();
    bubbleMessages.Update(dt);
    const std::string text = bubbleMessages.Text();
    speechBubble.SetContent(text, gbk::Lit("名字"), 1, fonts.small.TextWidth(text), fonts.small.TextHeight(text));
}

// ------------------------------------------------------------ map host

std::string Game::MapFileOfRow(int row) const {
    const MapRow* r = dataTables().maps.At(row);
    return r ? r->fileName : std::string();
}

void Game::CreateActors(const std::vector<wdm::EventRecord>& events, const Terrain& terrain) {
    actors.Create(events, terrain, dataTables(), map.startGround(), &random);
    SetUpNpcs();
    monsters.SetUp();
}

void Game::ClearActors() {
    // A map load starts here, before its first random draw.
    saves.MapLoadStarting();
    CloseDialogForMapChange();
    // Items in flight reach the player before the map goes.
    for (auto& item : actors.groundItems) {
        item->SetHost(&items);
        if (item->picked()) item->DeliverNow();
    }
    actors.Clear();
    pointer.SetMode(MousePointer::kNormal);
}

void Game::MapLoadFailed(const std::string& gbkText, bool fatal) {
    if (fatal) {
        // Nothing to stay on: say what is wrong and end the game.
        ShowMessageBox(gbkText, gbk::Lit("地图错误"), LUMO_MB_ICONERROR);
        RequestExit(1);
        return;
    }
    chatLog.AddLine(gbk::Lit("[系统]"), gbkText, kSystemRed, true, 0, false);
}

void Game::ShowDamageNumber(float value, int x, int y) { damageNumbers.Show(value, x, y, glyphs, camera.offsetX); }

EffectContext Game::MakeEffectContext(float dt) {
    EffectContext ctx;
    ctx.dt = dt;
    ctx.cameraX = camera.offsetX;
    ctx.cameraY = camera.offsetY;
    ctx.playerX = player.x;
    ctx.playerY = player.y;
    ctx.playerWidth = player.width;
    ctx.playerHeight = player.height;
    ctx.playerStatus = [this](int slot) { return slot >= 1 && slot <= 2 ? player.statusFlags[static_cast<std::size_t>(slot)] : 0; };
    ctx.monsterSpellEnded = [this](int index, std::uint32_t effectId) {
        if (index >= 1 && static_cast<std::size_t>(index) <= actors.monsters.size())
            actors.monsters[static_cast<std::size_t>(index - 1)]->SpellEnded(EffectHandle{effectId});
    };
    return ctx;
}

// ------------------------------------------------------------ state dump

void Game::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("phase", phase);
    w.Field("frame", frameCount);
    w.Field("logicActive", logicActive);
    w.Key("screen");
    w.BeginObject();
    w.Field("width", screenWidth);
    w.Field("height", screenHeight);
    w.EndObject();
    w.Key("loading");
    w.BeginObject();
    w.Field("stage", loader.stage());
    w.Field("message", loader.message());
    w.EndObject();
    w.Key("player");
    player.DumpState(w);
    w.Key("camera");
    w.BeginObject();
    w.Field("offsetX", camera.offsetX);
    w.Field("offsetY", camera.offsetY);
    w.Field("anchorX", camera.anchorX);
    w.Field("anchorY", camera.anchorY);
    w.Field("mapWidth", camera.mapWidth);
    w.Field("mapHeight", camera.mapHeight);
    w.EndObject();
    w.Key("mouse");
    w.BeginObject();
    w.Field("x", mouseX);
    w.Field("y", mouseY);
    w.Field("pointerMode", pointer.Mode());
    w.EndObject();
    map.DumpState(w);     // map, effects
    actors.DumpState(w, dataTables().npcState);  // npcs, monsters, groundItems
    monsters.DumpState(w);  // combat
    w.Key("damageNumbers");
    damageNumbers.DumpState(w);
    w.Key("chatLog");
    chatLog.DumpState(w);
    hud.DumpState(w);  // hud, banners, notices
    gameInterface.DumpState(w);  // heldItem, interface
    interfaceStack.DumpState(w);  // interfaceStack
    skills.DumpState(w);         // skills
    w.Key("dialog");
    dialogBox.DumpState(w);
    w.Key("questWindow");
    questWindow.DumpState(w);
    w.Key("speechBubble");
    speechBubble.DumpState(w);
    w.Key("bubbleMessages");
    bubbleMessages.DumpState(w);
    w.Field("npcPictureLoads", npcPictures.loads());
    w.Key("dataTables");
    w.BeginObject();
    const DataTables& tables = dataTables();
    w.Field("items", tables.items.Count());
    w.Field("skills", tables.skills.Count());
    w.Field("maps", tables.maps.Count());
    w.Field("npcs", tables.npcs.Count());
    w.Field("monsters", tables.monsters.Count());
    w.Field("quests", tables.quests.Count());
    w.Field("itemTemplates", scripts.templates().ItemCount());
    w.Field("skillTemplates", scripts.templates().SkillCount());
    w.EndObject();
    w.Key("messageBoxes");
    w.BeginArray();
    for (const MessageBoxRecord& m : messageBoxes) {
        w.BeginObject();
        w.Field("text", m.text);
        w.Field("caption", m.caption);
        w.Field("flags", m.flags);
        w.EndObject();
    }
    w.EndArray();
    saves.DumpState(w);      // saves
    menus.DumpState(w);      // menus
    settingsKeeper.DumpState(w, engine.MixerVolume(sounds.musicChannel));  // settings
    settingsPage.DumpState(w);  // settingsPage
    inventory.DumpState(w);  // bag, equipment, shop
    w.Key("quests");
    questLog.DumpState(w);
    w.Key("npcStates");
    w.BeginArray();
    for (const NpcStateRecord& r : dataTables().npcState.records()) {
        w.BeginObject();
        w.Field("variable", r.variable);
        w.Field("questState", r.questState);
        w.Field("questVariable", r.questVariable);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

bool Game::WriteStateDump(const std::string& fsPath) const {
    JsonWriter w;
    DumpState(w);
    std::string tmp = fsPath + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << w.str();
        out.flush();
        if (!out) return false;
    }
    return std::rename(tmp.c_str(), fsPath.c_str()) == 0;
}

// ------------------------------------------------------------ entry

int RunGame(const GameOptions& options) {
    Game game(options);
    return game.Run();
}

int GameMain(int argc, char** argv) {
    ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.error.empty()) {
        std::cerr << "game: " << parsed.error << "\n" << UsageText();
        return 2;
    }
    if (parsed.options.help) {
        std::cout << UsageText();
        return 0;
    }
    if (parsed.options.version) {
        std::cout << "game " << LUMO_VERSION << "\n";
        return 0;
    }
    return RunGame(parsed.options);
}
