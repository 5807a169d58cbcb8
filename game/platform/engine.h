#pragma once
// The one object through which the game talks to the engine. It holds the
// engine handle obtained at initiation; every call that takes the handle is
// made through here. Before Initiate (and after Release) the handle is 0 and
// every call does nothing and returns 0 / false, as the engine promises for
// a 0 handle, so objects can be built and tested without a live engine.

#include <cstdint>
#include <functional>
#include <string>

#include "core/asset_log.h"
#include "lumo/lumo.h"
#include "platform/engine_start_record.h"

class Engine {
public:
    Engine() = default;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Configures and starts the engine from the record: obtains the handle,
    // sets the engine states in their fixed order and calls
    // System_Initiate_e. Returns the handle, or 0 when the record has no
    // frame callback (an error box has then been shown). `videoStarted`
    // tells whether the engine could open its video output.
    HENGINE Initiate(const EngineStartRecord& record, bool windowed);
    bool videoStarted() const { return m_videoStarted; }

    // Runs the engine's frame loop until the frame callback returns true.
    void Start();
    // System_Shutdown_e then Release_e; the handle becomes 0.
    void Shutdown();

    HENGINE handle() const { return m_handle; }

    // Test hook: told of every engine state Initiate sets, in the order it
    // sets them, as kind letter, state number and value: "b4=0", "i24=60",
    // "f101=0.016667", "h16=1", "s27" and "func8" (texts and callbacks
    // without their value).
    std::function<void(const std::string&)> stateTrace;

    // ---- system
    // SIGINT or SIGTERM arrived: the loop ends at the next frame.
    static bool QuitSignalled() { return System_QuitSignalled_e(); }
    int Width() const { return System_GetWidth_e(m_handle); }
    int Height() const { return System_GetHeight_e(m_handle); }
    int MessageBox(const std::string& gbkText, const std::string& gbkCaption, int flags) {
        return System_MessageBox_e(m_handle, gbkText.c_str(), gbkCaption.c_str(), flags);
    }

    // ---- graphics
    void Clear(std::uint32_t argb) { Gfx_Clear_e(m_handle, argb); }
    bool BeginScene(HTARGET target = 0) { return Gfx_BeginScene_e(m_handle, target); }
    void EndScene() { Gfx_EndScene_e(m_handle); }
    // path: a UTF-8 file-system path. Returns 0 when missing or corrupt (and
    // names the file once through asset_log).
    HTEXTURE LoadTexture(const std::string& fsPath) {
        return Checked(Texture_Load_e(m_handle, fsPath.c_str()), "picture", fsPath);
    }
    // Same size and pixels, less to fill: see Texture_LoadTrimmed_e.
    HTEXTURE LoadTrimmedTexture(const std::string& fsPath) {
        return Checked(Texture_LoadTrimmed_e(m_handle, fsPath.c_str()), "picture", fsPath);
    }
    int TextureWidth(HTEXTURE t) const { return Texture_GetWidth_e(m_handle, t); }
    int TextureHeight(HTEXTURE t) const { return Texture_GetHeight_e(m_handle, t); }
    void FreeTexture(HTEXTURE t) { Texture_Free_e(m_handle, t); }

    // ---- input (virtual-key codes)
    bool KeyHeld(int key) const { return Input_GetKeyState_e(key); }
    bool KeyDown(int key) const { return Input_KeyDown_e(m_handle, key); }
    bool KeyUp(int key) const { return Input_KeyUp_e(m_handle, key); }
    int KeyPressed() const { return System_Input_GetKey(m_handle); }
    void MousePos(float* x, float* y) const { Input_GetMousePos_e(m_handle, x, y); }
    int MouseWheel() const { return Input_GetMouseWheel_e(m_handle); }
    const char* TypedChars() const { return Input_GetChars_e(m_handle); }
    int PadCount() const { return Input_GetPadCount_e(m_handle); }
    // The UTF-8 name of a joystick plugged in without a controller mapping
    // (each told once); "" when none waits.
    std::string TakeUnmappedPad() { return Input_TakeUnmappedPad_e(m_handle); }

    // ---- timer
    float Delta() const { return Timer_GetDelta_e(m_handle); }
    // ---- window
    bool SetFullscreen(bool on) { return System_SetFullscreen_e(m_handle, on); }
    bool IsFullscreen() const { return System_IsFullscreen_e(m_handle); }
    bool SetVSync(bool on) { return System_SetVSync_e(m_handle, on); }
    // The window's place and size in a window (see System_GetWindowRect_e).
    bool WindowRect(int* x, int* y, int* w, int* h) const { return System_GetWindowRect_e(m_handle, x, y, w, h); }
    bool SetWindowRect(int x, int y, int w, int h) { return System_SetWindowRect_e(m_handle, x, y, w, h); }
    // The last finished frame as shown in the window, as a PNG file.
    bool SaveScreenshot(const std::string& fsPath) { return System_SaveScreenshot_e(m_handle, fsPath.c_str()); }
    float Time() const { return Timer_GetTime_e(m_handle); }

    // ---- sound (fsPath: UTF-8 file-system path)
    // Without an audio device every sound gives 0, and none is named.
    HEFFECT LoadSound(const std::string& fsPath) {
        const HEFFECT s = Effect_Load_e(m_handle, fsPath.c_str());
        return Effect_AudioOpen_e(m_handle) ? Checked(s, "sound", fsPath) : s;
    }
    HCHANNEL PlaySound(HEFFECT s, int volume, int pan, float pitch, bool loop) {
        return Effect_PlayEx_e(m_handle, s, volume, pan, pitch, loop);
    }
    void StopChannel(HCHANNEL c) { Channel_Stop_e(m_handle, c); }
    // Volume groups (LUMO_SOUND_EFFECTS, LUMO_SOUND_MUSIC), 0..100.
    void SetVolume(int group, int volume) { Sound_SetVolume_e(m_handle, group, volume); }
    int Volume(int group) const { return Sound_GetVolume_e(m_handle, group); }
    void SetMuted(bool muted) { Sound_SetMuted_e(m_handle, muted); }
    void SetChannelGroup(HCHANNEL c, int group) { Channel_SetGroup_e(m_handle, c, group); }

    // ---- fonts that need the engine
    void InitFontManager(HFONTM fm) { FontM_Initialize(fm, m_handle); }

    // ---- harness (headless runs and tests)
    void InjectKey(int key, bool down) { Harness_InjectKey(m_handle, key, down); }
    void InjectMouseMove(float x, float y) { Harness_InjectMouseMove(m_handle, x, y); }
    void InjectMouseButton(int button, bool down) { Harness_InjectMouseButton(m_handle, button, down); }
    void InjectText(const std::string& utf8) { Harness_InjectText(m_handle, utf8.c_str()); }
    void InjectFocus(bool focused) { Harness_InjectFocus(m_handle, focused); }
    void InjectWheel(int steps) { Harness_InjectWheel(m_handle, steps); }
    void InjectPadButton(int padKey, bool down) { Harness_InjectPadButton(m_handle, padKey, down); }
    void InjectPadAxis(int axis, int value) { Harness_InjectPadAxis(m_handle, axis, value); }
    int MixerVolume(HCHANNEL c) const { return Harness_MixerVolume(m_handle, c); }
    bool Screenshot(const std::string& fsPath) { return Harness_Screenshot(m_handle, fsPath.c_str()); }
    void KeepFrames(bool keep) { Harness_KeepFrames(m_handle, keep); }
    // Off: draw calls run as usual but change no pixels (logic-only runs).
    void SetDrawing(bool on) { Harness_SetDrawing(m_handle, on); }
    void SetDrawListener(LumoDrawListener fn, void* user) { Harness_SetDrawListener(m_handle, fn, user); }

private:
    // A file that gave no handle is named (once) as missing or broken.
    template <typename Handle>
    static Handle Checked(Handle h, const char* what, const std::string& fsPath) {
        if (h == 0) asset_log::CannotLoad(what, fsPath);
        return h;
    }
    void SetBool(int state, bool value);
    void SetInt(int state, int value);
    void SetFloat(int state, float value);
    void SetHandle(int state, std::uintptr_t value);
    void SetText(int state, const std::string& value);
    void SetFunc(int state, LumoCallback fn);
    void TraceState(const std::string& entry) {
        if (stateTrace) stateTrace(entry);
    }

    HENGINE m_handle = 0;
    bool m_videoStarted = false;
};
