// The game's NPC side: the NPC pictures and the dialog, quest window and
// speech bubble loaded at start, the NPCs set up after each map load, the
// click on an NPC, the dialog's and quest window's commands, the
// gold-collection rule and the NPC overlays.

#include "app/game.h"

#include "shared/gbk.h"
#include "ui/text_wrap.h"

namespace {

// Only clicks inside the play area reach the map: not over the right-hand
// panel or the bottom bar.
constexpr float kPlayAreaRight = 750, kPlayAreaBottom = 526;
constexpr std::size_t kBubbleLineBytes = 42;

}  // namespace

void Game::LoadDialogs() {
    speechBubble.Init(engine, dataPaths, 3);
    dialogBox.Load(engine, dataPaths, fonts.game);
    for (std::size_t i = 0; i < 3; ++i) {
        HTEXTURE t = engine.LoadTexture(Resolve(gbk::Lit("\\data\\其它\\npc名称") + std::to_string(i + 1) + ".png"));
        npcArt.plate[i] = t;
        npcArt.plateWidth[i] = engine.TextureWidth(t);
        npcArt.plateHeight[i] = engine.TextureHeight(t);
    }
    auto frames = [this](const char* utf8Folder) {
        std::vector<FrameInfo> list;
        for (int k = 0; k < kQuestMarkFrames; ++k)
            list.push_back(LoadFrame(engine, dataPaths, gbk::Lit(utf8Folder) + std::to_string(k) + ".png"));
        return list;
    };
    npcArt.markAvailable = frames("\\data\\其它\\任务\\可接\\");
    npcArt.markReturn = frames("\\data\\其它\\任务\\可交\\");
    npcPictures.SetLoader([this](const std::string& folder, int count) {
        NpcPictures p;
        const std::string base = gbk::Lit("\\data\\NPC\\") + folder + "\\";
        for (int k = 0; k < count; ++k) p.frames.push_back(LoadFrame(engine, dataPaths, base + std::to_string(k) + ".png"));
        p.portrait = engine.LoadTexture(Resolve(base + "show.png"));
        p.portraitWidth = engine.TextureWidth(p.portrait);
        p.portraitHeight = engine.TextureHeight(p.portrait);
        return p;
    });
}

void Game::SetUpNpcs() {
    const float charWidth = fonts.game.TextWidth("A");
    for (auto& npc : actors.npcs) {
        const NpcRow* row = dataTables().npcs.At(npc->number());
        if (row == nullptr) continue;
        const NpcPictures& pictures = npcPictures.Get(row->folder, row->frameCount);
        std::string script = ScriptRuntime::ReadWholeFile(Resolve(gbk::Lit("\\data\\脚本\\") + row->scriptFile));
        npc->Init(pictures, npcArt, std::move(script), charWidth);
    }
}

void Game::CloseDialogForMapChange() {
    dialogBox.Close();
    for (auto& npc : actors.npcs) npc->OpenDialog(0);
}

int Game::NpcUnderPointer(float mx, float my) const {
    const bool windowOpen = !hud.openWindow().empty() && hud.openWindow() != gbk::Lit("无");
    if (mx > kPlayAreaRight || my > kPlayAreaBottom || windowOpen || dialogBox.dialogOpen != 0) return 0;
    // The click box is in map coordinates: the pointer is moved by the camera.
    const float mapX = mx - camera.offsetX, mapY = my - camera.offsetY;
    for (const auto& npc : actors.npcs) {
        if (npc->Contains(mapX, mapY)) return npc->number();
    }
    return 0;
}

void Game::TalkTo(int npcNumber) {
    Npc* target = nullptr;
    for (auto& npc : actors.npcs) {
        if (npc->number() == npcNumber) {
            target = npc.get();
            break;
        }
    }
    if (target == nullptr) return;
    engine.PlaySound(sounds.click, 10, 0, 1.0f, false);
    target->OpenDialog(1);
    dialogBox.Open(target->number(), target->name(), target->script(), target->portrait(), target->portraitWidth(),
                   target->portraitHeight());
    // The script sets the prompt and the choices.
    scripts.mainState().RunText(dialogBox.npcScript);
}

void Game::SystemMessage(const std::string& gbkText) { SayInBubble(gbk::Lit("[系统]:") + gbkText); }

void Game::SayInBubble(const std::string& gbkLine) {
    for (const std::string& piece : WrapText(gbkLine, kBubbleLineBytes)) bubbleMessages.Add(piece);
}

void Game::DrawNpcOverlays() {
    const NpcState& states = dataTables().npcState;
    for (auto& npc : actors.npcs) {
        const NpcStateRecord* r = states.At(npc->number());
        npc->DrawOverlay(camera, engine.Delta(), r ? r->questState : 0, fonts.game, static_cast<float>(screenWidth),
                         static_cast<float>(screenHeight));
    }
}

