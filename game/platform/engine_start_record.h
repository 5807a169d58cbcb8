#pragma once
// The record the program entry fills before the engine starts; Engine::Initiate
// reads it once. Fields keep the order in which the entry fills them.

#include <string>

#include "lumo/lumo.h"

struct EngineStartRecord {
    int hideMouse = 0;              // hide the system mouse pointer
    std::string title;              // GBK; kept for the record, not passed on
    int framesPerSecond = 0;        // 0: engine default
    int width = 0;                  // 0 means 800
    int height = 0;                 // 0 means 600
    std::uintptr_t parentWindow = 0;
    int colourDepth = 0;            // 0: engine default
    int keepRunningInactive = 0;
    int soundOn = 0;
    int depthBuffer = 0;
    std::string logFile;            // UTF-8 path; empty: no log
    LumoCallback frameFunc = nullptr;
    LumoCallback renderFunc = nullptr;
    LumoCallback exitFunc = nullptr;
    LumoCallback focusLostFunc = nullptr;
    LumoCallback focusGainFunc = nullptr;
    // Our extension for tests and servers: offscreen video, software
    // renderer, dummy audio and a fixed frame delta of 1/60 s.
    int headless = 0;
};
