// Engine lifetime, states, the frame loop, the frame timer and message boxes.

#include <SDL_image.h>

#include <algorithm>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include <signal.h>

#include "engine_internal.h"
#include "shared/gbk.h"

namespace lumo {

Engine* g_engine = nullptr;

namespace {

// SIGINT and SIGTERM: set here, read by the frame loop (which ends as if the
// window were closed) and by anyone who asks, such as a script that runs long
// inside a frame. SDL's own handlers would only queue a quit event that
// nobody reads while a frame takes long.
volatile std::sig_atomic_t g_quitSignal = 0;
struct sigaction g_previousInt {};
struct sigaction g_previousTerm {};
bool g_signalsInstalled = false;

void OnQuitSignal(int) { g_quitSignal = 1; }

void InstallSignalHandlers() {
    g_quitSignal = 0;
    if (g_signalsInstalled) return;
    struct sigaction action {};
    action.sa_handler = &OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // One-shot: a second signal, should the game not end, takes the default
    // action and ends the process.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, &g_previousInt);
    sigaction(SIGTERM, &action, &g_previousTerm);
    g_signalsInstalled = true;
}

void RestoreSignalHandlers() {
    if (!g_signalsInstalled) return;
    sigaction(SIGINT, &g_previousInt, nullptr);
    sigaction(SIGTERM, &g_previousTerm, nullptr);
    g_signalsInstalled = false;
}

}  // namespace

void LogLine(Engine& g, const char* fmt, ...) {
    if (!g.log) return;
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(g.log.get(), fmt, ap);
    va_end(ap);
    std::fputc('\n', g.log.get());
    std::fflush(g.log.get());
}

void TimerStart(Engine& g) {
    g.lastCounter = SDL_GetPerformanceCounter();
    g.time = 0;
    g.delta = 0;
    g.fpsClock = 0;
    g.fpsFrames = 0;
}

void TimerTick(Engine& g) {
    const std::uint64_t now = SDL_GetPerformanceCounter();
    float d = static_cast<float>(static_cast<double>(now - g.lastCounter) /
                                 static_cast<double>(SDL_GetPerformanceFrequency()));
    g.lastCounter = now;
    if (g.fixedDelta > 0) d = g.fixedDelta;
    // A debugger stop or a dragged window must not throw objects across the map.
    if (d > 0.25f) d = 0.25f;
    if (d < 0) d = 0;
    g.delta = d;
    g.time += d;
    g.fpsClock += d;
    ++g.fpsFrames;
    if (g.fpsClock >= 1.0f) {
        g.fpsNow = g.fpsFrames;
        g.fpsFrames = 0;
        g.fpsClock -= 1.0f;
    }
}

namespace {

bool EnvOn(const char* name) {
    const char* v = std::getenv(name);
    return v && *v && std::strcmp(v, "0") != 0;
}

// SDL falls back to its offscreen or dummy driver when no display exists; a
// windowed run only accepts them when they were asked for by name.
bool DisplayDriverOk() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked && std::strstr(asked, driver) != nullptr;
}

void ReleaseObjects(Engine& g) {
    FontsClose(g);
    g.sprites.Clear();
    g.textures.ForEach([](std::uint32_t, Texture& t) {
        if (t.tex) SDL_DestroyTexture(t.tex);
    });
    g.textures.Clear();
    g.colls.Clear();
    g.ctrls.Clear();
    g.guis.Clear();
    g.focus = 0;
    SoundClose(g);
}

void CloseVideo(Engine& g) {
    if (g.renderer) SDL_DestroyRenderer(g.renderer);
    if (g.window) SDL_DestroyWindow(g.window);
    g.renderer = nullptr;
    g.window = nullptr;
    g.initiated = false;
}

void PaceFrame(Engine& g, std::uint64_t frameStart) {
    if (g.headless || g.fps <= 0) return;
    const double freq = static_cast<double>(SDL_GetPerformanceFrequency());
    const double target = 1.0 / g.fps;
    for (;;) {
        const double spent = static_cast<double>(SDL_GetPerformanceCounter() - frameStart) / freq;
        const double left = target - spent;
        if (left <= 0) break;
        // Sleep in whole milliseconds, spin the last one for an even rhythm.
        if (left > 0.002) SDL_Delay(static_cast<Uint32>((left - 0.001) * 1000.0));
    }
}

}  // namespace

}  // namespace lumo

using namespace lumo;

HENGINE _Interface_Get() {
    if (!g_engine) g_engine = new (std::nothrow) Engine();
    return reinterpret_cast<HENGINE>(g_engine);
}

void System_SetState_i(HENGINE e, int state, int value) {
    Engine* g = Get(e);
    if (!g) return;
    switch (state) {
        case LUMO_SCREENWIDTH: if (value > 0 && value <= 16384) g->width = value; break;
        case LUMO_SCREENHEIGHT: if (value > 0 && value <= 16384) g->height = value; break;
        case LUMO_SCREENBPP: g->bpp = value; break;
        case LUMO_FPS: g->fps = value < 0 ? 0 : value; break;
        default: System_SetState_b(e, state, value != 0); break;
    }
}

void System_SetState_s(HENGINE e, int state, const char* value) {
    Engine* g = Get(e);
    if (!g || !value) return;
    if (state == LUMO_TITLE) {
        g->title = gbk::ToUtf8(value);
        if (g->window) SDL_SetWindowTitle(g->window, g->title.c_str());
    } else if (state == LUMO_LOGFILE) {
        g->logFile = value;
        g->log.reset(value[0] ? std::fopen(value, "a") : nullptr);
    }
}

void System_SetState_f(HENGINE e, int state, float value) {
    Engine* g = Get(e);
    if (!g) return;
    if (state == LUMO_FIXED_DELTA) g->fixedDelta = value > 0 && value < 10 ? value : 0;
}

void System_SetState_b(HENGINE e, int state, bool value) {
    Engine* g = Get(e);
    if (!g) return;
    switch (state) {
        case LUMO_WINDOWED: g->windowed = value; break;
        case LUMO_ZBUFFER: g->zbuffer = value; break;
        case LUMO_USESOUND: g->useSound = value; break;
        case LUMO_DONTSUSPEND: g->dontSuspend = value; break;
        case LUMO_HIDEMOUSE:
            g->hideMouse = value;
            if (g->initiated && !g->headless) SDL_ShowCursor(value ? SDL_DISABLE : SDL_ENABLE);
            break;
        case LUMO_SHOWSPLASH: g->splash = value; break;
        case LUMO_HEADLESS: if (!g->initiated) g->headless = value; break;
        default: break;
    }
}

void System_SetState_h(HENGINE e, int state, std::uintptr_t value) {
    Engine* g = Get(e);
    if (g && state == LUMO_HWNDPARENT) g->parent = value;
}

void System_SetState_func(HENGINE e, int state, LumoCallback fn) {
    Engine* g = Get(e);
    if (!g) return;
    switch (state) {
        case LUMO_FRAMEFUNC: g->frameFn = fn; break;
        case LUMO_RENDERFUNC: g->renderFn = fn; break;
        case LUMO_FOCUSLOSTFUNC: g->focusLostFn = fn; break;
        case LUMO_FOCUSGAINFUNC: g->focusGainFn = fn; break;
        case LUMO_EXITFUNC: g->exitFn = fn; break;
        default: break;
    }
}

int System_GetState_i(HENGINE e, int state) {
    Engine* g = Get(e);
    if (!g) return 0;
    switch (state) {
        case LUMO_SCREENWIDTH: return g->width;
        case LUMO_SCREENHEIGHT: return g->height;
        case LUMO_SCREENBPP: return g->bpp;
        case LUMO_FPS: return g->fps;
        case LUMO_WINDOWED: return g->windowed;
        case LUMO_ZBUFFER: return g->zbuffer;
        case LUMO_USESOUND: return g->useSound;
        case LUMO_DONTSUSPEND: return g->dontSuspend;
        case LUMO_HIDEMOUSE: return g->hideMouse;
        case LUMO_SHOWSPLASH: return g->splash;
        case LUMO_HEADLESS: return g->headless;
        default: return 0;
    }
}

bool System_Initiate_e(HENGINE e) {
    Engine* g = Get(e);
    if (!g) return false;
    if (g->initiated) return true;
    if (EnvOn("LUMO_HEADLESS")) g->headless = true;
    if (g->headless) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Headless windows are drawn in software; a GL-backed window buffer
        // would only load the GL driver for nothing.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (g->fixedDelta <= 0) g->fixedDelta = 1.0f / 60.0f;
    }
    LogLine(*g, "engine: initiating %dx%d%s", g->width, g->height, g->headless ? " headless" : "");
    if (!g->sdlStarted) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        InstallSignalHandlers();
        if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return false;
        g->sdlStarted = true;
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
        g->ttfStarted = TTF_Init() == 0;
    }
    if (g->useSound) SoundOpen(*g);

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        LogLine(*g, "engine: no video: %s", SDL_GetError());
        return false;
    }
    if (!g->headless && !DisplayDriverOk()) {
        LogLine(*g, "engine: no display");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    Uint32 flags = (g->headless ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN) | SDL_WINDOW_RESIZABLE;
    if (!g->windowed && !g->headless) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    g->window = SDL_CreateWindow(g->title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 g->width, g->height, flags);
    if (!g->window) {
        LogLine(*g, "engine: no window: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    if (!g->headless) g->renderer = SDL_CreateRenderer(g->window, -1, SDL_RENDERER_ACCELERATED);
    if (!g->renderer) {
        g->renderer = SDL_CreateRenderer(g->window, -1, SDL_RENDERER_SOFTWARE);
        g->softwareRenderer = g->renderer != nullptr;
    }
    if (!g->renderer) {
        LogLine(*g, "engine: no renderer: %s", SDL_GetError());
        CloseVideo(*g);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // The game always draws width x height; SDL scales that picture to the
    // window, keeping its aspect with black bars, and maps mouse events back.
    SDL_RenderSetLogicalSize(g->renderer, g->width, g->height);
    SDL_SetRenderDrawBlendMode(g->renderer, SDL_BLENDMODE_BLEND);
    if (g->hideMouse && !g->headless) SDL_ShowCursor(SDL_DISABLE);
    SDL_StartTextInput();
    WindowMovedOrSized(*g);
    // Real pads never reach a headless run; its input files inject them.
    if (!g->headless) PadsOpen(*g);
    g->focused = true;
    g->initiated = true;
    TimerStart(*g);
    return true;
}

bool System_Start_e(HENGINE e, int /*mode*/) {
    Engine* g = Get(e);
    if (!g || !g->initiated || !g->frameFn) return false;
    TimerStart(*g);
    for (;;) {
        const std::uint64_t frameStart = SDL_GetPerformanceCounter();
        // Closing the window is looked at here; everything else goes to input.
        bool running = true;
        SDL_Event ev;
        SDL_PumpEvents();
        while (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT) > 0) g->quitRequested = true;
        if (g_quitSignal != 0) g->quitRequested = true;
        if (g->quitRequested) {
            g->quitRequested = false;
            if (!g->exitFn || g->exitFn()) running = false;
        }
        if (!running) break;
        if (!g->focused && !g->dontSuspend && !g->headless) {
            SDL_WaitEventTimeout(nullptr, 50);
            InputBeginFrame(*g);
            TimerStart(*g);
            continue;
        }
        FrameBegin(*g);
        if (g->frameFn()) break;
        if (g != g_engine) return true;  // released from inside the callback
        if (g->renderFn) g->renderFn();
        PaceFrame(*g, frameStart);
    }
    return true;
}

void System_Shutdown_e(HENGINE e) {
    Engine* g = Get(e);
    if (!g) return;
    ReleaseObjects(*g);
    PadsClose(*g);
    CloseVideo(*g);
    if (g->ttfStarted) TTF_Quit();
    if (g->sdlStarted) {
        IMG_Quit();
        SDL_Quit();
        RestoreSignalHandlers();
    }
    g->sdlStarted = g->ttfStarted = false;
}

void Release_e(HENGINE e) {
    Engine* g = Get(e);
    if (!g) return;
    System_Shutdown_e(e);
    delete g;
    g_engine = nullptr;
}

bool System_QuitSignalled_e() { return lumo::g_quitSignal != 0; }

int System_GetWidth_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->width : 0;
}

int System_GetHeight_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->height : 0;
}

bool System_SetFullscreen_e(HENGINE e, bool on) {
    Engine* g = Get(e);
    if (!g || !g->window) return false;
    if (SDL_SetWindowFullscreen(g->window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        LogLine(*g, "engine: fullscreen %s failed: %s", on ? "on" : "off", SDL_GetError());
        return false;
    }
    g->windowed = !on;
    WindowResized(*g);
    return true;
}

bool System_IsFullscreen_e(HENGINE e) {
    Engine* g = Get(e);
    return g && g->window && (SDL_GetWindowFlags(g->window) & SDL_WINDOW_FULLSCREEN) != 0;
}

namespace lumo {

void WindowMovedOrSized(Engine& g) {
    if (!g.window || (SDL_GetWindowFlags(g.window) & SDL_WINDOW_FULLSCREEN) != 0) return;
    SDL_GetWindowPosition(g.window, &g.windowX, &g.windowY);
    SDL_GetWindowSize(g.window, &g.windowW, &g.windowH);
}

}  // namespace lumo

bool System_SetVSync_e(HENGINE e, bool on) {
    Engine* g = Get(e);
    if (!g || !g->renderer) return false;
    // A headless run has no display to wait for: the software renderer would
    // pace each present to 60 a second, and a test's thousand frames would
    // take as long as playing them.
    if (g->headless) return true;
    return SDL_RenderSetVSync(g->renderer, on ? 1 : 0) == 0;
}

bool System_GetWindowRect_e(HENGINE e, int* x, int* y, int* w, int* h) {
    Engine* g = Get(e);
    const bool ok = g && g->window;
    if (x) *x = ok ? g->windowX : 0;
    if (y) *y = ok ? g->windowY : 0;
    if (w) *w = ok ? g->windowW : 0;
    if (h) *h = ok ? g->windowH : 0;
    return ok;
}

bool System_SetWindowRect_e(HENGINE e, int x, int y, int w, int h) {
    Engine* g = Get(e);
    if (!g || !g->window || w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
    // A place saved on a display that is gone would put the window out of
    // sight: it is centred instead.
    bool onDisplay = x != LUMO_WINDOW_CENTERED && y != LUMO_WINDOW_CENTERED;
    if (onDisplay) {
        onDisplay = false;
        const SDL_Rect r{x, y, std::min(w, 64), std::min(h, 64)};
        for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
            SDL_Rect bounds;
            SDL_Rect overlap;
            if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_IntersectRect(&r, &bounds, &overlap)) onDisplay = true;
        }
    }
    const bool full = (SDL_GetWindowFlags(g->window) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_SetWindowSize(g->window, w, h);
    if (onDisplay) SDL_SetWindowPosition(g->window, x, y);
    else SDL_SetWindowPosition(g->window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (full) {
        // Fullscreen keeps its size; the rectangle is where it returns to.
        g->windowW = w;
        g->windowH = h;
        if (onDisplay) {
            g->windowX = x;
            g->windowY = y;
        }
        return true;
    }
    WindowResized(*g);
    WindowMovedOrSized(*g);
    return true;
}

bool Harness_SetWindowSize(HENGINE e, int w, int h) {
    Engine* g = Get(e);
    if (!g || !g->window || w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
    SDL_SetWindowSize(g->window, w, h);
    WindowResized(*g);
    int nw = 0, nh = 0;
    SDL_GetWindowSize(g->window, &nw, &nh);
    return nw == w && nh == h;
}

int System_MessageBox_e(HENGINE e, const char* text, const char* caption, int flags) {
    Engine* g = Get(e);
    const std::string t = gbk::ToUtf8(text ? text : "");
    const std::string c = gbk::ToUtf8(caption ? caption : "");
    const bool yesNo = (flags & 0x0F) == LUMO_MB_YESNO;
    const bool okCancel = (flags & 0x0F) == LUMO_MB_OKCANCEL;
    const bool headless = (g && g->headless) || (!g && EnvOn("LUMO_HEADLESS"));
    if (headless || (g && !g->window)) {
        std::fprintf(stderr, "[messagebox] %s: %s\n", c.c_str(), t.c_str());
        return yesNo ? LUMO_IDYES : LUMO_IDOK;
    }
    SDL_MessageBoxButtonData buttons[2];
    int count = 1;
    if (yesNo) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, LUMO_IDYES, "Yes"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, LUMO_IDNO, "No"};
        count = 2;
    } else if (okCancel) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, LUMO_IDOK, "OK"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, LUMO_IDCANCEL, "Cancel"};
        count = 2;
    } else {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                      LUMO_IDOK, "OK"};
    }
    Uint32 boxFlags = SDL_MESSAGEBOX_INFORMATION;
    if ((flags & 0xF0) == LUMO_MB_ICONERROR) boxFlags = SDL_MESSAGEBOX_ERROR;
    if ((flags & 0xF0) == LUMO_MB_ICONWARNING) boxFlags = SDL_MESSAGEBOX_WARNING;
    const SDL_MessageBoxData data{boxFlags, g ? g->window : nullptr, c.c_str(), t.c_str(),
                                  count, buttons, nullptr};
    int pressed = 0;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed <= 0) {
        std::fprintf(stderr, "[messagebox] %s: %s\n", c.c_str(), t.c_str());
        return yesNo ? LUMO_IDYES : LUMO_IDOK;
    }
    return pressed;
}

float Timer_GetDelta_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->delta : 0.0f;
}

float Timer_GetTime_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->time : 0.0f;
}

int Timer_GetFPS_e(HENGINE e) {
    Engine* g = Get(e);
    return g ? g->fpsNow : 0;
}
