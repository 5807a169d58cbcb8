#pragma once
// The game's interface stack: every layer of the screen, bottom to top, as
// one object each, and the commands their input asks for. A layer turns the
// input the stack gave it into a change of its own piece or a command; the
// commands (talk to an NPC, run a dialog choice, revive, a sent chat line)
// are applied by Apply() after the input pass, so no script runs inside a
// click.
//
// Order, bottom to top: world, NPC plates and bubbles, HUD and chat box,
// skill bar, the open game window, the trade window, the NPC dialog,
// banners and notices, message boxes (the death box), tooltip, held item,
// pointer. A new screen is one more layer added at its place.

#include <memory>
#include <string>
#include <vector>

#include "ui/dialog_box.h"
#include "ui/interface_stack.h"

class Game;

// What the layers' input asked for this frame.
struct InterfaceCommands {
    int talkTo = 0;             // the NPC clicked
    DialogCommand dialog;       // a choice or the close button
    bool revive = false;        // the death box's "确定"
    bool questClick = false;    // a quest row was picked (click sound)
    std::string chatLine;       // typed and sent with Enter (GBK)
    bool openSystem = false;    // the right panel's "系统" button
};

class GameLayers {
public:
    // Builds the layers and adds them to the game's stack in order.
    explicit GameLayers(Game& game);
    ~GameLayers();
    GameLayers(const GameLayers&) = delete;
    GameLayers& operator=(const GameLayers&) = delete;

    // The commands gathered during the input pass, then cleared.
    void Apply();

    InterfaceCommands commands;

private:
    Game& m_game;
    std::vector<std::unique_ptr<UiLayer>> m_layers;
};
