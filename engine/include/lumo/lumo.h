#pragma once
// The engine boundary: everything the game asks of the 2D engine goes through
// the functions in this header. No SDL type appears here; every object the
// engine owns is named by an opaque integer handle, and 0 always means "none".
//
// Ownership: the engine owns every object it hands out. Handles stay valid
// until freed (Texture_Free_e, Spr_Del, ...) or until Release_e, which frees
// everything. Any call with a 0 or stale handle does nothing and returns
// 0 / false / 0.0f. No function throws.
//
// Text: every text parameter is a GBK byte string (NUL-terminated), except
// where a comment says UTF-8. File paths are UTF-8 file-system paths.
//
// Colours are 32-bit ARGB (alpha in the top byte). Coordinates are floats in
// screen pixels, x to the right, y downwards.
//
// One engine is live at a time: sprites, fonts and controls that take no
// engine handle belong to the engine most recently initiated.

#include <cstdint>

typedef std::uintptr_t HENGINE;   // the engine
typedef std::uint32_t HTEXTURE;   // a loaded picture
typedef std::uint32_t HSPRITE;    // a picture rectangle with hot spot, colour, blend, z
typedef std::uint32_t HFONT;      // a GDI-style font (face by name)
typedef std::uint32_t HFONTM;     // a TrueType font manager (face from a file)
typedef std::uint32_t HBMFONT;    // a bitmap font (.fnt)
typedef std::uint32_t HEFFECT;    // a loaded sound
typedef std::uint32_t HCHANNEL;   // a playing sound
typedef std::uint32_t HTARGET;    // a render target (0 = the screen)
typedef std::uint32_t HGUI;       // a set of controls
typedef std::uint32_t HCTRL;      // one control
typedef std::uint32_t HCOLL;      // a collision box

typedef bool (*LumoCallback)();        // frame / render / focus / exit callbacks
typedef void (*LumoDrawListener)(void* user, const struct LumoDrawRecord* rec);

// ---------------------------------------------------------------- states

enum LumoBoolState {
    LUMO_WINDOWED = 1,
    LUMO_ZBUFFER = 2,
    LUMO_USESOUND = 4,
    LUMO_DONTSUSPEND = 5,  // keep running when the window is inactive
    LUMO_HIDEMOUSE = 6,
    LUMO_SHOWSPLASH = 7,
    // Our own extensions (not used by stored content, only by programs and tests).
    LUMO_HEADLESS = 100,   // offscreen video, software renderer, dummy audio, fixed delta
};
enum LumoFuncState {
    LUMO_FRAMEFUNC = 8,
    LUMO_RENDERFUNC = 9,
    LUMO_FOCUSLOSTFUNC = 10,
    LUMO_FOCUSGAINFUNC = 11,
    LUMO_EXITFUNC = 13,
};
enum LumoHandleState {
    LUMO_HWNDPARENT = 16,
};
enum LumoIntState {
    LUMO_SCREENWIDTH = 17,
    LUMO_SCREENHEIGHT = 18,
    LUMO_SCREENBPP = 19,
    LUMO_FPS = 24,          // frame-rate cap; 0 = uncapped
};
enum LumoTextState {
    LUMO_TITLE = 27,        // GBK
    LUMO_LOGFILE = 29,      // UTF-8 path
};
enum LumoFloatState {
    LUMO_FIXED_DELTA = 101,  // > 0: Timer_GetDelta_e returns this instead of the wall clock
};

// Blend modes for Spr_SetBlendMode_e (bit flags).
enum LumoBlend {
    BLEND_COLORMUL = 0,   // texture colour multiplied by the sprite colour
    BLEND_COLORADD = 1,   // sprite colour added to the texture colour
    BLEND_ALPHABLEND = 0, // normal alpha blending
    BLEND_ALPHAADD = 2,   // additive
    BLEND_ZWRITE = 4,
    BLEND_DEFAULT = BLEND_COLORMUL | BLEND_ALPHABLEND,
};

// Text alignment for hFont_printf_e.
enum LumoAlign { LUMO_ALIGN_LEFT = 0, LUMO_ALIGN_RIGHT = 1, LUMO_ALIGN_CENTER = 2 };

// Message box flags (the Windows values).
enum LumoMessageBoxFlags {
    LUMO_MB_OK = 0x00,
    LUMO_MB_OKCANCEL = 0x01,
    LUMO_MB_YESNO = 0x04,
    LUMO_MB_ICONERROR = 0x10,
    LUMO_MB_ICONQUESTION = 0x20,
    LUMO_MB_ICONWARNING = 0x30,
    LUMO_MB_ICONINFORMATION = 0x40,
};
enum LumoMessageBoxResult { LUMO_IDOK = 1, LUMO_IDCANCEL = 2, LUMO_IDYES = 6, LUMO_IDNO = 7 };

// ---------------------------------------------------------------- system

HENGINE _Interface_Get();
void System_SetState_i(HENGINE e, int state, int value);
void System_SetState_s(HENGINE e, int state, const char* value);
void System_SetState_f(HENGINE e, int state, float value);
void System_SetState_b(HENGINE e, int state, bool value);
void System_SetState_h(HENGINE e, int state, std::uintptr_t value);
// For LUMO_FRAMEFUNC .. LUMO_EXITFUNC.
void System_SetState_func(HENGINE e, int state, LumoCallback fn);
int System_GetState_i(HENGINE e, int state);

// Opens the window (or the offscreen surface) and the audio device.
// Returns false when the video system cannot start; the engine stays usable
// for non-drawing calls and every draw does nothing.
bool System_Initiate_e(HENGINE e);
// Runs the frame loop: each frame polls input, calls the frame callback and,
// unless it returned true, the render callback. Returns when the frame
// callback returns true or the window is closed (the exit callback, if bound,
// is asked first and may veto by returning false). `mode` is accepted for
// compatibility and ignored.
bool System_Start_e(HENGINE e, int mode);
// True once SIGINT or SIGTERM has arrived since System_Initiate_e installed
// the engine's handlers for them. The frame loop then ends at its next frame
// as if the window were closed; a callback that runs long asks this to stop
// early. A second signal takes the default action. Safe to call any time.
bool System_QuitSignalled_e();
void System_Shutdown_e(HENGINE e);
void Release_e(HENGINE e);
// The logical picture size (LUMO_SCREENWIDTH x LUMO_SCREENHEIGHT), whatever
// the window's size. The window can be resized and made fullscreen; the
// picture is then scaled to it with its aspect kept, and the rest of the
// window is black bars. Mouse positions stay in picture coordinates: a
// pointer over a bar is held at the picture's nearest edge.
int System_GetWidth_e(HENGINE e);
int System_GetHeight_e(HENGINE e);
// Switches the window to desktop fullscreen (on) or back to its window
// size (off). Returns false when there is no window or the system refused;
// the window is then left as it was.
bool System_SetFullscreen_e(HENGINE e, bool on);
// True while the window is fullscreen; false with no window.
bool System_IsFullscreen_e(HENGINE e);
// Saves the last finished scene as a PNG at utf8Path, exactly as the window
// shows it: at the window's size, bars included. The file is written beside
// the target under a temporary name and renamed, so a failed write leaves no
// partial picture. Returns false with no renderer, an empty path, no
// finished scene yet or a failed write. With a hardware renderer whose
// picture is gone after presenting (and frames not kept, Harness_KeepFrames),
// the scene in progress is saved at its Gfx_EndScene_e instead and the call
// returns true at once; a failure of that save is only logged.
bool System_SaveScreenshot_e(HENGINE e, const char* utf8Path);
// Vertical sync of presenting with the display (off by default). Returns
// false with no renderer or when the renderer refused; nothing changes then.
// Headless, nothing waits for a display; the call is accepted.
bool System_SetVSync_e(HENGINE e, bool on);
// The window's place and size as the user left it in a window: while it is
// fullscreen, the window it will return to. False (zeros) with no window.
bool System_GetWindowRect_e(HENGINE e, int* x, int* y, int* w, int* h);
// Places and sizes the window (w, h in 1..16384; x or y LUMO_WINDOW_CENTERED
// centres it on its display). A place off every display is centred instead.
// Fullscreen, this sets the window it returns to. False with no window or
// a bad size.
enum { LUMO_WINDOW_CENTERED = -100000 };
bool System_SetWindowRect_e(HENGINE e, int x, int y, int w, int h);
// A modal message box. Headless: logged to stderr as one line and answered
// at once with IDOK / IDYES. Returns a LumoMessageBoxResult.
int System_MessageBox_e(HENGINE e, const char* text, const char* caption, int flags);

// ---------------------------------------------------------------- graphics

void Gfx_Clear_e(HENGINE e, std::uint32_t argb);
bool Gfx_BeginScene_e(HENGINE e, HTARGET target);
void Gfx_EndScene_e(HENGINE e);
void Gfx_RenderLine_e(HENGINE e, float x1, float y1, float x2, float y2, std::uint32_t argb);

// Loads a PNG (or any SDL_image format). Returns 0 when missing or corrupt.
HTEXTURE Texture_Load_e(HENGINE e, const char* path);
// As Texture_Load_e, for pictures drawn often over a large, mostly empty
// area: the fully transparent border is dropped at load, so drawing fills
// only what can show. Everything else sees the whole picture: its width and
// height, sprite rectangles, hot spots and mirroring are those of the whole
// picture, and it draws the same pixels as Texture_Load_e's texture (drawn
// scaled or turned, within a pixel's rounding).
HTEXTURE Texture_LoadTrimmed_e(HENGINE e, const char* path);
// A w x h texture from ARGB pixels, row by row (w, h in 1..16384). 0 on failure.
HTEXTURE Texture_Create_e(HENGINE e, int w, int h, const std::uint32_t* argb);
int Texture_GetWidth_e(HENGINE e, HTEXTURE tex);
int Texture_GetHeight_e(HENGINE e, HTEXTURE tex);
void Texture_Free_e(HENGINE e, HTEXTURE tex);

// ---------------------------------------------------------------- sprites

// A sprite showing the rectangle (x, y, w, h) of `tex` (tex may be 0: the
// sprite then draws nothing until a texture is set).
HSPRITE Spr_Interface_Get(HTEXTURE tex, float x, float y, float w, float h);
void Spr_Render_e(HSPRITE spr, float x, float y);
void Spr_RenderStretch_e(HSPRITE spr, float x1, float y1, float x2, float y2);
// Draws with rotation (radians, about the hot spot) and scales; a negative
// hscale mirrors horizontally, a negative vscale vertically. vscale 0 means
// "same as hscale".
void Spr_RenderEx_e(HSPRITE spr, float x, float y, float rot, float hscale, float vscale);
void Spr_SetTexture_e(HSPRITE spr, HTEXTURE tex);
void Spr_SetTextureRect_e(HSPRITE spr, float x, float y, float w, float h);
void Spr_SetHotSpot_e(HSPRITE spr, float x, float y);
void Spr_SetColor_e(HSPRITE spr, std::uint32_t argb);
void Spr_SetBlendMode_e(HSPRITE spr, int blend);
// z in [0, 1]; i = -1 applies to all corners (kept for compatibility).
void Spr_Set_Z_e(HSPRITE spr, float z, int i);
float Spr_GetWidth_e(HSPRITE spr);
float Spr_GetHeight_e(HSPRITE spr);
HTEXTURE Spr_GetTexture_e(HSPRITE spr);
void Spr_Del(HSPRITE spr);

// ---------------------------------------------------------------- fonts

// A font by face name ("宋体", "幼圆", "黑体", ... in GBK), resolved through
// fontconfig to an installed CJK font. size is the pixel height (clamped to
// 1..512). The style flags (non-zero = on): bold, italic, and smooth, which
// draws antialiased glyph edges; with smooth 0 every pixel is either the
// text colour or untouched. No flag underlines.
HFONT Font_Interface_Get(const char* face, int size, int bold, int italic, int smooth);
void Font_SetColor(HFONT font, std::uint32_t argb);
void Font_Printf(HFONT font, float x, float y, const char* text);
// Width of the widest line, in pixels (0 for an empty text or a bad handle).
float Font_GetTextWidth(HFONT font, const char* text);
// Height in pixels of the block Font_Printf draws for `text`: a one-line text
// is one font height (the height of "A" sizes a one-line box), and each
// '\n' adds a line. 0 for an empty text or a bad handle.
float Font_GetTextHeight(HFONT font, const char* text);
void Font_Del(HFONT font);

HFONTM FontM_Interface_Get();
void FontM_Initialize(HFONTM fm, HENGINE e);
// Loads a TrueType file; a bare file name (no '/') is looked up among the
// system fonts and falls back to the CJK font. Returns false when nothing
// could be loaded.
bool FontM_loadFont(HFONTM fm, const char* path, int size);
void FontN_printf(HFONTM fm, float x, float y, const char* text);
void FontN_setSize(HFONTM fm, int size);
void FontN_setColor(HFONTM fm, std::uint32_t argb);
float FontN_getTextWidth(HFONTM fm, const char* text);
// As Font_GetTextHeight, for the manager's font (0 before a font is loaded).
float FontN_getTextHeight(HFONTM fm, const char* text);

// Bitmap font in the AngelCode BMFont text format; pages are PNG files
// beside the .fnt. Returns 0 when missing or malformed.
HBMFONT hFont_Interface_Get(const char* fntPath);
// Draws each '\n'-separated line one line height below the last; x is the
// left end, right end or centre of each line as `align` (LumoAlign) says.
void hFont_printf_e(HBMFONT font, float x, float y, int align, const char* text);
void hFont_SetColor_e(HBMFONT font, std::uint32_t argb);
// Width of the widest line, times the scale.
float hFont_GetTextWidth_e(HBMFONT font, const char* text);
// The font's line height ("common lineHeight") times the number of lines,
// times the scale; 0 for an empty text or a bad handle.
float hFont_GetTextHeight_e(HBMFONT font, const char* text);
// Scales drawing and both measurements (1 = the pictures' own size, the
// default). A scale that is not finite, <= 0 or above 64 is ignored.
void hFont_SetScale_e(HBMFONT font, float scale);

// ---------------------------------------------------------------- input
// Keys are Windows virtual-key codes (1 = left mouse button, 2 = right,
// 4 = middle, 13 Enter, 27 Esc, 37..40 arrows, '0'..'9', 'A'..'Z', ...).
// Keyboard keys are mapped from physical scancodes, so layouts don't move
// bindings.

bool Input_GetKeyState_e(int key);                 // held now
bool Input_KeyDown_e(HENGINE e, int key);          // went down this frame
bool Input_KeyUp_e(HENGINE e, int key);            // went up this frame
int System_Input_GetKey(HENGINE e);                // a key that went down this frame, or 0
void Input_GetMousePos_e(HENGINE e, float* x, float* y);
int Input_GetMouseWheel_e(HENGINE e);              // wheel steps this frame (+ away from user)
// Text typed this frame, converted to GBK (empty when none).
const char* Input_GetChars_e(HENGINE e);

// Gamepads (SDL game controllers, plugged in and out at any time) act as
// more virtual keys, the Windows gamepad codes: buttons, the d-pad, the
// triggers past half-way and each stick pushed past its dead zone (a
// quarter of its travel) in one of four directions. Every connected pad
// drives the same keys.
enum LumoPadKey {
    LUMO_PAD_A = 0xC3, LUMO_PAD_B = 0xC4, LUMO_PAD_X = 0xC5, LUMO_PAD_Y = 0xC6,
    LUMO_PAD_RIGHT_SHOULDER = 0xC7, LUMO_PAD_LEFT_SHOULDER = 0xC8,
    LUMO_PAD_LEFT_TRIGGER = 0xC9, LUMO_PAD_RIGHT_TRIGGER = 0xCA,
    LUMO_PAD_DPAD_UP = 0xCB, LUMO_PAD_DPAD_DOWN = 0xCC, LUMO_PAD_DPAD_LEFT = 0xCD,
    LUMO_PAD_DPAD_RIGHT = 0xCE,
    LUMO_PAD_START = 0xCF, LUMO_PAD_BACK = 0xD0,
    LUMO_PAD_LEFT_STICK_BUTTON = 0xD1, LUMO_PAD_RIGHT_STICK_BUTTON = 0xD2,
    LUMO_PAD_LEFT_STICK_UP = 0xD3, LUMO_PAD_LEFT_STICK_DOWN = 0xD4,
    LUMO_PAD_LEFT_STICK_RIGHT = 0xD5, LUMO_PAD_LEFT_STICK_LEFT = 0xD6,
    LUMO_PAD_RIGHT_STICK_UP = 0xD7, LUMO_PAD_RIGHT_STICK_DOWN = 0xD8,
    LUMO_PAD_RIGHT_STICK_RIGHT = 0xD9, LUMO_PAD_RIGHT_STICK_LEFT = 0xDA,
};
// Stick and trigger axes; values -32768..32767 (triggers 0..32767), y
// positive downwards.
enum LumoPadAxis {
    LUMO_PAD_AXIS_LEFTX = 0, LUMO_PAD_AXIS_LEFTY = 1, LUMO_PAD_AXIS_RIGHTX = 2,
    LUMO_PAD_AXIS_RIGHTY = 3, LUMO_PAD_AXIS_LEFT_TRIGGER = 4, LUMO_PAD_AXIS_RIGHT_TRIGGER = 5,
};
// Game controllers connected now.
int Input_GetPadCount_e(HENGINE e);
// The next joystick plugged in that has no game-controller mapping (so
// drives nothing), by its UTF-8 name; each name is told once per engine.
// "" when none is waiting.
const char* Input_TakeUnmappedPad_e(HENGINE e);

// ---------------------------------------------------------------- timer

float Timer_GetDelta_e(HENGINE e);   // seconds since the last frame (fixed when headless)
float Timer_GetTime_e(HENGINE e);    // seconds since System_Start_e
int Timer_GetFPS_e(HENGINE e);

// ---------------------------------------------------------------- sound
// A missing or corrupt file gives 0; playing 0 does nothing and returns 0.
// Without an open audio device (sound off, no device) every load gives 0.

bool Effect_AudioOpen_e(HENGINE e);                     // the audio device is open
HEFFECT Effect_Load_e(HENGINE e, const char* path);     // WAV, MP3, OGG
// volume 0..100, pan -100..100, pitch 1.0 = normal (accepted, not applied)
HCHANNEL Effect_PlayEx_e(HENGINE e, HEFFECT eff, int volume, int pan, float pitch, bool loop);
void Effect_Free_e(HENGINE e, HEFFECT eff);
// Two volume groups, each 0..100 (100 by default): every effect played is
// heard at its own volume times its group's. A channel joins the music group
// by Channel_SetGroup_e. Changes reach the channels playing at once. Muted,
// every channel is silent until unmuted.
enum LumoSoundGroup { LUMO_SOUND_EFFECTS = 0, LUMO_SOUND_MUSIC = 1 };
void Sound_SetVolume_e(HENGINE e, int group, int volume);
int Sound_GetVolume_e(HENGINE e, int group);
void Sound_SetMuted_e(HENGINE e, bool muted);
void Channel_SetGroup_e(HENGINE e, HCHANNEL ch, int group);

void Channel_Stop_e(HENGINE e, HCHANNEL ch);
bool Channel_IsPlaying_e(HENGINE e, HCHANNEL ch);

// ---------------------------------------------------------------- controls
// A GUI holds controls; Gui_Update_e feeds them input and returns the id of
// the control that was clicked this frame (0 = none). Controls draw in the
// order they were added.

HGUI Gui_Interface_Get(HENGINE e);
void Gui_AddCtrl_e(HGUI gui, HCTRL ctrl);
int Gui_Update_e(HGUI gui, float dt);
void Gui_Render_e(HGUI gui);
void Gui_Del(HGUI gui);

// A picture button with three states: normal, hover, pressed. A click is a
// press and release inside the button.
HCTRL GUIButton_Interface_Get(int id, float x, float y, float w, float h,
                              HTEXTURE normal, HTEXTURE hover, HTEXTURE pressed);
void Button_SetPos_e(HCTRL ctrl, float x, float y);
int Button_GetState_e(HCTRL ctrl);   // 0 normal, 1 hover, 2 pressed
void Button_SetVisible_e(HCTRL ctrl, bool visible);

// A one-line text box (GBK text). It receives typed text only while it has
// the focus; Enter does not enter the text.
HCTRL Edit_Interface_Get(int id, float x, float y, float w, float h, HFONT font, int maxBytes);
const char* Edit_GetText_e(HCTRL ctrl);
void Edit_SetText_e(HCTRL ctrl, const char* text);
void Edit_SetColor_e(HCTRL ctrl, std::uint32_t textArgb, std::uint32_t backArgb);

// A horizontal or vertical slider with a picture thumb; value in [min, max].
HCTRL GUISlider_Interface_Get(int id, float x, float y, float w, float h, HTEXTURE thumb,
                              bool vertical);
void GUISlider_SetRange_e(HCTRL ctrl, float min, float max);
void GUISlider_SetValue_e(HCTRL ctrl, float value);
float GUISlider_GetValue_e(HCTRL ctrl);

void SetFocus_e(HCTRL ctrl);
void KillFocus_e(HCTRL ctrl);
HCTRL GetFocus_e();
void Ctrl_Del(HCTRL ctrl);

// ---------------------------------------------------------------- collision

HCOLL CCollision_e(HENGINE e, float x, float y, float w, float h);
void CColl_SetPoint_e(HCOLL c, float x, float y);
void CColl_SetWH_e(HCOLL c, float w, float h);
void CColl_Move_e(HCOLL c, float dx, float dy);
float CColl_GetX_e(HCOLL c);
float CColl_GetY_e(HCOLL c);
float CColl_GetW_e(HCOLL c);
float CColl_GetH_e(HCOLL c);
void CColl_Render_e(HCOLL c, std::uint32_t argb);
// Bit 0 CLEAR means the point is inside the box (so 0 = inside, 1 = outside).
int CColl_TextPoint_e(HCOLL c, float x, float y);
void CColl_Del(HCOLL c);

// ---------------------------------------------------------------- harness
// Our own additions for headless runs, tests and benchmarks.

// Input injected here is applied at the start of the next frame, exactly as
// if it came from the window (key codes are virtual keys).
void Harness_InjectKey(HENGINE e, int key, bool down);
void Harness_InjectMouseMove(HENGINE e, float x, float y);
void Harness_InjectMouseButton(HENGINE e, int button /*1 left, 2 right, 4 middle*/, bool down);
void Harness_InjectWheel(HENGINE e, int steps);
void Harness_InjectText(HENGINE e, const char* utf8);
// The window loses (false) or regains (true) the input focus, as a user
// switching windows would: the focus callbacks run and held keys are let go.
void Harness_InjectFocus(HENGINE e, bool focused);
// A gamepad button (a LumoPadKey code) pressed or released, or an axis
// (LumoPadAxis) moved to `value`, as if a connected pad did it.
void Harness_InjectPadButton(HENGINE e, int padKey, bool down);
void Harness_InjectPadAxis(HENGINE e, int axis, int value);
// Applies pending injected input now (System_Start_e does this every frame;
// tests that drive frames by hand call it themselves).
void Harness_BeginFrame(HENGINE e);

// Saves what the last finished scene showed (after Gfx_EndScene_e) as PNG,
// at the window's size with its bars, like System_SaveScreenshot_e.
bool Harness_Screenshot(HENGINE e, const char* path);
// Reads one pixel of the last finished scene as ARGB (0 when outside), in
// window pixels: with a resized window the bars are part of the scene.
std::uint32_t Harness_ReadPixel(HENGINE e, int x, int y);
// With a hardware renderer the finished scene is copied at Gfx_EndScene_e
// only while this is on (the software renderer used headless needs no copy).
void Harness_KeepFrames(HENGINE e, bool keep);
// Resizes the window (also a headless one), as a user dragging its border
// would; w, h in 1..16384. Returns true when the window now has that size.
// Draws already made to the scene in progress are lost; start a new one.
bool Harness_SetWindowSize(HENGINE e, int w, int h);
// The volume the mixer applies to channel `ch` (0..128, SDL_mixer's scale),
// or with ch 0 to the music stream; -1 without an open audio device.
int Harness_MixerVolume(HENGINE e, HCHANNEL ch);
// Frames begun so far (System_Start_e iterations and Harness_BeginFrame calls).
long Harness_FrameCount(HENGINE e);
// Glyph rasterisations so far (text cache misses), for tests and benchmarks.
long Harness_RasterCount(HENGINE e);

// Draw recording: every draw call is reported to the listener, in order,
// before it reaches the renderer. Pass nullptr to stop.
enum LumoDrawKind { LUMO_DRAW_SPRITE = 1, LUMO_DRAW_TEXT = 2, LUMO_DRAW_LINE = 3, LUMO_DRAW_CLEAR = 4 };
struct LumoDrawRecord {
    int kind;             // LumoDrawKind
    HSPRITE sprite;       // LUMO_DRAW_SPRITE
    HTEXTURE texture;     // LUMO_DRAW_SPRITE
    float x, y, w, h;     // destination box before rotation (line: x1, y1, x2, y2)
    std::uint32_t color;
    const char* text;     // LUMO_DRAW_TEXT, GBK; valid only during the call
};
void Harness_SetDrawListener(HENGINE e, LumoDrawListener fn, void* user);
// Logic-only runs: while drawing is off, clears, sprites, text, lines,
// controls and presenting the scene change no pixels, and everything else
// they do stays the same: the listener hears every call, text is measured
// and cached as when drawn and returns the same width. A screenshot or pixel
// read shows the last scene drawn with drawing on. On by default.
void Harness_SetDrawing(HENGINE e, bool on);
