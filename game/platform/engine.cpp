#include "platform/engine.h"

#include "shared/gbk.h"

HENGINE Engine::Initiate(const EngineStartRecord& record, bool windowed) {
    m_handle = _Interface_Get();
    m_videoStarted = false;
    // Headless mode must be known before any other state touches video or
    // audio, so it goes first.
    if (record.headless) {
        SetBool(LUMO_HEADLESS, true);
        SetFloat(LUMO_FIXED_DELTA, 1.0f / 60.0f);
    }
    int width = record.width == 0 ? 800 : record.width;
    int height = record.height == 0 ? 600 : record.height;
    if (record.frameFunc == nullptr) {
        System_MessageBox_e(m_handle, gbk::Lit("警告! 未绑定 逻辑函数! 程序退出!").c_str(), "Lumo Error",
                            LUMO_MB_ICONERROR);
        Release_e(m_handle);
        m_handle = 0;
        return 0;
    }
    if (record.framesPerSecond != 0) SetInt(LUMO_FPS, record.framesPerSecond);
    if (!record.logFile.empty()) SetText(LUMO_LOGFILE, record.logFile);
    if (record.exitFunc) SetFunc(LUMO_EXITFUNC, record.exitFunc);
    if (record.keepRunningInactive == 1) SetBool(LUMO_DONTSUSPEND, true);
    if (record.colourDepth != 0) SetInt(LUMO_SCREENBPP, record.colourDepth);
    if (record.parentWindow != 0) SetHandle(LUMO_HWNDPARENT, record.parentWindow);
    if (record.focusLostFunc) SetFunc(LUMO_FOCUSLOSTFUNC, record.focusLostFunc);
    if (record.focusGainFunc) SetFunc(LUMO_FOCUSGAINFUNC, record.focusGainFunc);
    if (record.depthBuffer == 1) SetBool(LUMO_ZBUFFER, true);
    SetBool(LUMO_USESOUND, record.soundOn == 1);
    SetFunc(LUMO_FRAMEFUNC, record.frameFunc);
    SetFunc(LUMO_RENDERFUNC, record.renderFunc);
    // The engine layer shows its own title; the record's title stays in the record.
    SetText(LUMO_TITLE, gbk::Lit("Lumo 横板RPG"));
    SetInt(LUMO_SCREENWIDTH, width);
    SetInt(LUMO_SCREENHEIGHT, height);
    SetBool(LUMO_HIDEMOUSE, record.hideMouse != 0);
    SetBool(LUMO_SHOWSPLASH, false);
    SetBool(LUMO_WINDOWED, windowed);
    TraceState("initiate");
    m_videoStarted = System_Initiate_e(m_handle);
    return m_handle;
}

void Engine::Start() { System_Start_e(m_handle, 166); }

void Engine::Shutdown() {
    if (m_handle == 0) return;
    System_Shutdown_e(m_handle);
    Release_e(m_handle);
    m_handle = 0;
}

void Engine::SetBool(int state, bool value) {
    TraceState("b" + std::to_string(state) + "=" + (value ? "1" : "0"));
    System_SetState_b(m_handle, state, value);
}

void Engine::SetInt(int state, int value) {
    TraceState("i" + std::to_string(state) + "=" + std::to_string(value));
    System_SetState_i(m_handle, state, value);
}

void Engine::SetFloat(int state, float value) {
    TraceState("f" + std::to_string(state) + "=" + std::to_string(value));
    System_SetState_f(m_handle, state, value);
}

void Engine::SetHandle(int state, std::uintptr_t value) {
    TraceState("h" + std::to_string(state) + "=" + std::to_string(value));
    System_SetState_h(m_handle, state, value);
}

void Engine::SetText(int state, const std::string& value) {
    TraceState("s" + std::to_string(state));
    System_SetState_s(m_handle, state, value.c_str());
}

void Engine::SetFunc(int state, LumoCallback fn) {
    TraceState("func" + std::to_string(state));
    System_SetState_func(m_handle, state, fn);
}
