#pragma once
// The loading sequence: six stages, one per frame, with a progress line
// drawn between them. Stage 1 only sets the first message; stage 6 switches
// the game from loading (30) to playing (31). The loader only orders the
// stages: each subsystem loads its own pictures, sounds and scripts.

#include <string>

#include "lumo/lumo.h"

class Game;

class StartupLoader {
public:
    explicit StartupLoader(Game& game) : m_game(game) {}

    // Phase 30, screen size from the engine, the loading-screen font, the
    // chat log, message "Lumo Game", stage 1.
    void Initialise();
    // Runs the next stage (called by the frame callback while loading).
    void Step(float dt);
    // The message, centred on the screen width at y 300.
    void DrawMessage();
    // Called once after the last stage.
    void Finished() {}

    const std::string& message() const { return m_message; }
    int stage() const { return m_stage; }

private:
    void StageFonts();
    void StageScripts();
    void StagePlayer();
    void StageWorld();
    void StageSounds();

    Game& m_game;
    std::string m_message;
    int m_stage = 1;
};
