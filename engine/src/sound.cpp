// Sound effects and channels over SDL_mixer. Without an audio device every
// call is silent and returns 0.

#include <algorithm>

#include "engine_internal.h"

namespace lumo {

constexpr int kChannels = 32;

namespace {

// What the mixer plays channel `ch` (0-based) at: its own volume times its
// group's, nothing while muted.
int MixerVolumeOf(const Engine& g, int ch) {
    if (g.soundMuted) return 0;
    const int group = g.channelGroup[ch] == LUMO_SOUND_MUSIC ? 1 : 0;
    return g.channelVolume[ch] * g.groupVolume[group] * MIX_MAX_VOLUME / (100 * 100);
}

void ApplyVolumes(Engine& g) {
    if (!g.audioOpen) return;
    for (int ch = 0; ch < kChannels; ++ch) Mix_Volume(ch, MixerVolumeOf(g, ch));
    Mix_VolumeMusic(g.soundMuted ? 0 : g.groupVolume[1] * MIX_MAX_VOLUME / 100);
}

}  // namespace

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
    ApplyVolumes(g);
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
    if (ch >= kChannels) {
        Mix_HaltChannel(ch);
        return 0;
    }
    g->channelVolume[ch] = volume;
    g->channelGroup[ch] = LUMO_SOUND_EFFECTS;
    Mix_Volume(ch, MixerVolumeOf(*g, ch));
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

void Sound_SetVolume_e(HENGINE e, int group, int volume) {
    Engine* g = Get(e);
    if (!g || (group != LUMO_SOUND_EFFECTS && group != LUMO_SOUND_MUSIC)) return;
    g->groupVolume[group] = std::clamp(volume, 0, 100);
    ApplyVolumes(*g);
}

int Sound_GetVolume_e(HENGINE e, int group) {
    Engine* g = Get(e);
    if (!g || (group != LUMO_SOUND_EFFECTS && group != LUMO_SOUND_MUSIC)) return 0;
    return g->groupVolume[group];
}

void Sound_SetMuted_e(HENGINE e, bool muted) {
    Engine* g = Get(e);
    if (!g || g->soundMuted == muted) return;
    g->soundMuted = muted;
    ApplyVolumes(*g);
}

void Channel_SetGroup_e(HENGINE e, HCHANNEL ch, int group) {
    Engine* g = Get(e);
    if (!g || !g->audioOpen || ch == 0 || ch > static_cast<HCHANNEL>(kChannels)) return;
    if (group != LUMO_SOUND_EFFECTS && group != LUMO_SOUND_MUSIC) return;
    const int c = static_cast<int>(ch) - 1;
    g->channelGroup[c] = group;
    Mix_Volume(c, MixerVolumeOf(*g, c));
}

int Harness_MixerVolume(HENGINE e, HCHANNEL ch) {
    Engine* g = Get(e);
    if (!g || !g->audioOpen || ch > static_cast<HCHANNEL>(kChannels)) return -1;
    return ch == 0 ? Mix_VolumeMusic(-1) : Mix_Volume(static_cast<int>(ch) - 1, -1);
}
