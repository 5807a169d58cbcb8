#pragma once
// The engine's inner state, shared by the service files. Nothing here is
// visible to users of lumo.h.

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <cstdio>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "bmfont_text.h"
#include "lumo/lumo.h"
#include "slot_table.h"

namespace lumo {

struct Texture {
    SDL_Texture* tex = nullptr;
    int w = 0, h = 0;  // the whole picture
    // The part of the picture `tex` holds, in picture pixels: all of it, or
    // for a trimmed load only what lies inside its fully transparent border.
    int keepX = 0, keepY = 0, keepW = 0, keepH = 0;
    // Last modulation applied, so repeated draws with one colour skip the calls.
    std::uint32_t appliedColor = 0xFFFFFFFF;
    SDL_BlendMode appliedBlend = SDL_BLENDMODE_BLEND;
    // Every pixel fully opaque (no colour key, no alpha below 255).
    bool opaque = false;
};

struct Sprite {
    std::uint32_t tex = 0;
    float rx = 0, ry = 0, rw = 0, rh = 0;  // picture rectangle as given
    // The part of the rectangle inside the picture: fullW x fullH at (ox, oy)
    // inside the rectangle. Of that, a trimmed texture holds src (in the SDL
    // texture's own pixels), which begins (cutLeft, cutTop) into it.
    SDL_Rect src{0, 0, 0, 0};
    float ox = 0, oy = 0;
    int fullW = 0, fullH = 0;
    int cutLeft = 0, cutTop = 0;
    float hotX = 0, hotY = 0;
    std::uint32_t color = 0xFFFFFFFF;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    int blendFlags = BLEND_DEFAULT;
    float z = 0.5f;
};

// A TrueType face opened at one size and style. `serial` is unique per
// opening so cached text of an older size never matches.
struct TtfFont {
    TTF_Font* font = nullptr;
    std::string file;
    long index = 0;
    int size = 12;
    int style = TTF_STYLE_NORMAL;
    bool smooth = true;   // antialiased (blended) glyph edges; false = hard (solid) edges
    std::uint32_t color = 0xFFFFFFFF;
    std::uint32_t serial = 0;
};

struct Sound {
    Mix_Chunk* chunk = nullptr;
};

struct Collision {
    float x = 0, y = 0, w = 0, h = 0;
};

enum class CtrlKind { Button, Edit, Slider };

struct Control {
    CtrlKind kind = CtrlKind::Button;
    int id = 0;
    float x = 0, y = 0, w = 0, h = 0;
    bool visible = true;
    std::uint32_t gui = 0;      // owning GUI, 0 = none yet
    // button
    std::uint32_t tex[3] = {0, 0, 0};
    int state = 0;
    bool pressed = false;
    // edit
    std::uint32_t font = 0;
    int maxBytes = 0;
    std::string text;
    std::uint32_t textColor = 0xFF000000, backColor = 0xFFFFFFFF;
    // slider
    bool vertical = false;
    bool dragging = false;
    float minV = 0, maxV = 100, value = 0;
};

struct Gui {
    std::vector<std::uint32_t> ctrls;
};

// One pending piece of injected input.
struct Injected {
    enum Kind { Key, MouseMove, MouseButton, Wheel, Text, Focus, PadButton, PadAxis } kind = Key;
    int key = 0;
    bool down = false;
    float x = 0, y = 0;
    int steps = 0;
    std::string text;
};

// Text cache: rendered strings, white, keyed by font serial, style + GBK text.
struct CachedText {
    std::string key;
    SDL_Texture* tex = nullptr;
    int w = 0, h = 0;
};

struct Engine {
    // States.
    bool windowed = true, zbuffer = false, useSound = true, dontSuspend = false;
    bool hideMouse = false, splash = false, headless = false;
    LumoCallback frameFn = nullptr, renderFn = nullptr, focusLostFn = nullptr,
                 focusGainFn = nullptr, exitFn = nullptr;
    std::uintptr_t parent = 0;
    int width = 800, height = 600, bpp = 32, fps = 0;
    std::string title = "Lumo", logFile;
    float fixedDelta = 0;

    // SDL objects.
    bool sdlStarted = false, initiated = false, audioOpen = false, ttfStarted = false;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    bool softwareRenderer = false;
    bool focused = true;
    bool quitRequested = false;

    // Timer.
    std::uint64_t lastCounter = 0;
    float delta = 0, time = 0;
    int fpsNow = 0, fpsFrames = 0;
    float fpsClock = 0;

    // Frame read-back.
    bool frameInRenderer = false;   // the renderer still holds the last finished scene
    bool keepFrames = false;
    std::vector<std::uint32_t> lastFrame;  // ARGB, kept at EndScene when asked
    int lastFrameW = 0, lastFrameH = 0;
    std::string pendingShot;   // UTF-8 path to save the next finished scene to
    long frameCount = 0;
    long rasterCount = 0;
    LumoDrawListener listener = nullptr;
    void* listenerUser = nullptr;
    bool drawingOff = false;   // Harness_SetDrawing(false): draw calls change no pixels

    // Input.
    bool held[256] = {};
    bool wentDown[256] = {};
    bool wentUp[256] = {};
    bool repeated[256] = {};
    int firstDown = 0;
    float mouseX = 0, mouseY = 0;
    int wheel = 0;
    std::string charsUtf8, charsGbk;
    std::vector<Injected> injected;

    // Gamepads.
    bool padsStarted = false;
    std::vector<SDL_GameController*> pads;
    int padAxes[6] = {};
    std::vector<std::string> unmappedPads;     // waiting to be told
    std::vector<std::string> unmappedTold;     // names told so far
    std::string unmappedScratch;

    // Sound volumes: each channel's own volume (0..100) and group.
    int groupVolume[2] = {100, 100};
    bool soundMuted = false;
    int channelVolume[32] = {};
    int channelGroup[32] = {};

    // The window's place and size in a window (kept while fullscreen).
    int windowX = 0, windowY = 0, windowW = 0, windowH = 0;

    // Objects.
    SlotTable<Texture> textures;
    SlotTable<Sprite> sprites;
    SlotTable<TtfFont> fonts;    // HFONT
    SlotTable<TtfFont> fontMs;   // HFONTM
    SlotTable<BmFont> bmFonts;
    SlotTable<Sound> sounds;
    SlotTable<Collision> colls;
    SlotTable<Control> ctrls;
    SlotTable<Gui> guis;
    std::uint32_t focus = 0;
    std::uint32_t nextFontSerial = 1;

    // Text cache (LRU: front = most recent).
    std::list<CachedText> textLru;
    std::unordered_map<std::string, std::list<CachedText>::iterator> textIndex;
    std::size_t textBytes = 0;  // pixel bytes of the cached texts
    std::string keyScratch;
    std::unordered_map<std::string, std::pair<std::string, long>> faceFiles;

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> log{nullptr, &std::fclose};
};

// The live engine (nullptr when none).
extern Engine* g_engine;

// The engine named by `e`, or nullptr when e is not the live one.
inline Engine* Get(HENGINE e) {
    return (e != 0 && g_engine && e == reinterpret_cast<std::uintptr_t>(g_engine)) ? g_engine
                                                                                      : nullptr;
}

// The engine when it can draw, else nullptr.
inline Engine* Drawable() { return (g_engine && g_engine->renderer) ? g_engine : nullptr; }

// Marks that the renderer's content no longer shows the last finished scene.
inline void SceneTouched(Engine& g) { g.frameInRenderer = false; }

// The window's pixels are scaled from the logical picture (width x height)
// with black bars; mouse positions from the window are mapped back.
void WindowResized(Engine& g);

void LogLine(Engine& g, const char* fmt, ...);

// Service hooks used across files.
void InputBeginFrame(Engine& g);       // clears per-frame input, pumps events, applies injections
void InputHandleEvent(Engine& g, const SDL_Event& ev);
void FrameBegin(Engine& g);           // input, timer and frame counter for a new frame
// A virtual key went down or up (repeat: a key repeat of a held key).
void InputSetKey(Engine& g, int vk, bool down, bool repeat);
void PadsOpen(Engine& g);
void PadsClose(Engine& g);
// Controller and joystick events; false when `ev` is none of them.
bool PadHandleEvent(Engine& g, const SDL_Event& ev);
void PadButton(Engine& g, int padKey, bool down);
void PadAxis(Engine& g, int axis, int value);
// Every pad key let go (focus lost, a pad unplugged).
void PadsReleaseAll(Engine& g);
// Keeps the window rectangle in a window up to date.
void WindowMovedOrSized(Engine& g);
void TimerStart(Engine& g);
void TimerTick(Engine& g);
bool SoundOpen(Engine& g);
void SoundClose(Engine& g);
void FontsClose(Engine& g);
// `opaque`, when given, is set to whether every pixel is fully opaque.
SDL_Texture* LoadTexture(Engine& g, const char* path, int* w, int* h, bool* opaque = nullptr);
// As LoadTexture, keeping only the picture inside its fully transparent
// border; fills t (tex, whole size and the part kept). False when missing or
// corrupt.
bool LoadTrimmedTexture(Engine& g, const char* path, Texture& t);
void FillRect(Engine& g, float x, float y, float w, float h, std::uint32_t argb);
// Draws cached text with a TTF font; returns its width.
float TtfPrint(Engine& g, TtfFont& f, float x, float y, const char* text, std::uint32_t argb);
float TtfWidth(Engine& g, TtfFont& f, const char* text);
float TtfHeight(Engine& g, TtfFont& f, const char* text);
void Notify(Engine& g, int kind, std::uint32_t spr, std::uint32_t tex, float x, float y, float w,
            float h, std::uint32_t color, const char* text);

// The blend mode a draw of `t` in `wanted` mode with `color` is given to
// SDL: a blended draw of a fully opaque picture at full alpha is a plain
// copy, pixel for pixel, which the software renderer does many times faster
// than it blends.
inline SDL_BlendMode DrawnBlend(const Texture& t, SDL_BlendMode wanted, std::uint32_t color) {
    return wanted == SDL_BLENDMODE_BLEND && t.opaque && (color >> 24) == 0xFF ? SDL_BLENDMODE_NONE : wanted;
}

inline void ApplyMod(SDL_Texture* t, std::uint32_t argb) {
    SDL_SetTextureColorMod(t, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    SDL_SetTextureAlphaMod(t, argb >> 24);
}

}  // namespace lumo
