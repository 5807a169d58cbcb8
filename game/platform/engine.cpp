#include "platform/engine.h"

#include "shared/gbk.h"

HENGINE Engine::Initiate(const EngineStartRecord& record, bool windowed) {
    m_handle = _Interface_Get();
    m_videoStarted = false;
    // Headless mode must be known before any other state touches video or
    // audio, so it goes first.
    if (record.headless) {
        System_SetState_b(m_handle, LUMO_HEADLESS, true);
        System_SetState_f(m_handle, LUMO_FIXED_DELTA, 1.0f / 60.0f);
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
    if (record.framesPerSecond != 0) System_SetState_i(m_handle, LUMO_FPS, record.framesPerSecond);
    if (!record.logFile.empty()) System_SetState_s(m_handle, LUMO_LOGFILE, record.logFile.c_str());
    if (record.exitFunc) System_SetState_func(m_handle, LUMO_EXITFUNC, record.exitFunc);
    if (record.keepRunningInactive == 1) System_SetState_b(m_handle, LUMO_DONTSUSPEND, true);
    if (record.colourDepth != 0) System_SetState_i(m_handle, LUMO_SCREENBPP, record.colourDepth);
    if (record.parentWindow != 0) System_SetState_h(m_handle, LUMO_HWNDPARENT, record.parentWindow);
    if (record.focusLostFunc) System_SetState_func(m_handle, LUMO_FOCUSLOSTFUNC, record.focusLostFunc);
    if (record.focusGainFunc) System_SetState_func(m_handle, LUMO_FOCUSGAINFUNC, record.focusGainFunc);
    if (record.depthBuffer == 1) System_SetState_b(m_handle, LUMO_ZBUFFER, true);
    System_SetState_b(m_handle, LUMO_USESOUND, record.soundOn == 1);
    System_SetState_func(m_handle, LUMO_FRAMEFUNC, record.frameFunc);
    System_SetState_func(m_handle, LUMO_RENDERFUNC, record.renderFunc);
    // The engine layer shows its own title; the record's title stays in the record.
    System_SetState_s(m_handle, LUMO_TITLE, gbk::Lit("Lumo 横板RPG").c_str());
    System_SetState_i(m_handle, LUMO_SCREENWIDTH, width);
    System_SetState_i(m_handle, LUMO_SCREENHEIGHT, height);
    System_SetState_b(m_handle, LUMO_HIDEMOUSE, record.hideMouse != 0);
    System_SetState_b(m_handle, LUMO_SHOWSPLASH, false);
    System_SetState_b(m_handle, LUMO_WINDOWED, windowed);
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
