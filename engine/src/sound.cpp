// Sound effects and channels over SDL_mixer. Without an audio device every
// call is silent and returns 0.

#include <algorithm>

#include "engine_internal.h"

namespace lumo {

constexpr int kChannels = 32;

bool SoundOpen(Engine& g) {
    if (g.audioOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        LogLine(g, "engine: no audio: %s", SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        LogLine(g, "engine: audio device: %s", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(kChannels);
    g.audioOpen = true;
    return true;
}

void SoundClose(Engine& g) {
    if (g.audioOpen) Mix_HaltChannel(-1);
    g.sounds.ForEach([](std::uint32_t, Sound& s) {
        if (s.chunk) Mix_FreeChunk(s.chunk);
    });
    g.sounds.Clear();
    if (!g.audioOpen) return;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g.audioOpen = false;
}

}  // namespace lumo

using namespace lumo;

bool Effect_AudioOpen_e(HENGINE e) {
    Engine* g = Get(e);
    return g && g->audioOpen;
}

HEFFECT Effect_Load_e(HENGINE e, const char* path) {
    Engine* g = Get(e);
    if (!g || !g->audioOpen || !path || !*path) return 0;
    Mix_Chunk* chunk = Mix_LoadWAV(path);
    if (!chunk) return 0;
    const std::uint32_t h = g->sounds.Add(Sound{chunk});
    if (!h) Mix_FreeChunk(chunk);
    return h;
}

HCHANNEL Effect_PlayEx_e(HENGINE e, HEFFECT eff, int volume, int pan, float /*pitch*/, bool loop) {
    Engine* g = Get(e);
    Sound* s = g && g->audioOpen ? g->sounds.Get(eff) : nullptr;
    if (!s || !s->chunk) return 0;
    const int ch = Mix_PlayChannel(-1, s->chunk, loop ? -1 : 0);
    if (ch < 0) return 0;
    volume = std::clamp(volume, 0, 100);
    pan = std::clamp(pan, -100, 100);
    Mix_Volume(ch, volume * MIX_MAX_VOLUME / 100);
    const int left = pan > 0 ? 255 * (100 - pan) / 100 : 255;
    const int right = pan < 0 ? 255 * (100 + pan) / 100 : 255;
    Mix_SetPanning(ch, static_cast<Uint8>(left), static_cast<Uint8>(right));
    return static_cast<HCHANNEL>(ch + 1);
}

void Effect_Free_e(HENGINE e, HEFFECT eff) {
    Engine* g = Get(e);
    Sound* s = g ? g->sounds.Get(eff) : nullptr;
    if (!s) return;
    if (s->chunk) Mix_FreeChunk(s->chunk);  // halts the channels playing it
    g->sounds.Remove(eff);
}

void Channel_Stop_e(HENGINE e, HCHANNEL ch) {
    Engine* g = Get(e);
    if (!g || !g->audioOpen || ch == 0 || ch > static_cast<HCHANNEL>(kChannels)) return;
    Mix_HaltChannel(static_cast<int>(ch) - 1);
}

bool Channel_IsPlaying_e(HENGINE e, HCHANNEL ch) {
    Engine* g = Get(e);
    if (!g || !g->audioOpen || ch == 0 || ch > static_cast<HCHANNEL>(kChannels)) return false;
    return Mix_Playing(static_cast<int>(ch) - 1) != 0;
}
