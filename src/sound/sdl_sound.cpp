// SDL's audio subsystem only: the window and the keys stay with the window library.
#include <SDL.h>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "sound/load.h"
#include "sound/sound.h"
#include "sound/sounds.h"

// About 23 ms at the game's rate: short enough that a sound follows its frame closely.
static const int DEVICE_SAMPLES = 512;

static SDL_AudioDeviceID device;
static sound_clip_t      clips[EV_COUNT];
static sound_clip_t      engine;
static sound_mixer_t     mixer;
static bool              close_at_exit;
static int               effects_volume = SOUND_VOLUME_MAX, engine_volume = SOUND_VOLUME_MAX;
// The device is opened on a thread of its own: without a sound card, letting go of
// the audio library waits out its device search, a tenth of a second or more.
static SDL_Thread*  opener;
static SDL_atomic_t playing;   // set by the opener once the device plays: only then is it touched here

// SDL's audio thread: it holds the device's lock while it runs.
static void fill_device(void*, Uint8* stream, int len) { mixer_mix(&mixer, (int16_t*)stream, len / 2); }

static bool open_device() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        fprintf(stderr, "quovix: no sound: %s\n", SDL_GetError());
        return false;
    }
    platform_quiet_sound_library();
    SDL_AudioSpec want{};
    want.freq = SOUND_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = DEVICE_SAMPLES;
    want.callback = fill_device;
    // no changes allowed: SDL converts for a device that wants another format
    device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!device) {
        fprintf(stderr, "quovix: no sound: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

static int open_and_play(void* folder) {
    if (!open_device())
        return 0;
    load_sounds((const char*)folder, clips, &engine);
    mixer = sound_mixer_t{};
    mixer.engine = &engine;
    // published before the device starts: a frame that hears it play may queue sounds
    SDL_AtomicSet(&playing, 1);
    SDL_PauseAudioDevice(device, 0);
    return 0;
}

static bool device_plays() { return SDL_AtomicGet(&playing) != 0; }

void sound_open(const char* folder) {
    if (opener || device_plays())
        return;
    // the audio thread must be gone before the clips it reads are destroyed at exit
    if (!close_at_exit)
        atexit(sound_close);
    close_at_exit = true;
    opener = SDL_CreateThread(open_and_play, "quovix sound", (void*)folder);
    if (!opener)
        open_and_play((void*)folder);
}

void sound_frame(game_events_t events, bool muted, bool engine_on) {
    if (!device_plays())
        return;
    SDL_LockAudioDevice(device);
    mixer.effects_volume = effects_volume;
    mixer.engine_volume = engine_volume;
    if (muted) {
        mixer_stop_all(&mixer);
    } else {
        for (int e = 0; e < EV_COUNT; e++)
            if ((events >> e) & 1)
                mixer_play(&mixer, &clips[e]);
        mixer.engine_on = engine_on;
    }
    SDL_UnlockAudioDevice(device);
}

void sound_set_volumes(int effects, int engine) {
    // the mixer takes them with the next frame's sounds, under the lock it takes then
    effects_volume = effects;
    engine_volume = engine;
}

void sound_close() {
    // an open still under way finishes first: what it opens is let go of here
    if (opener)
        SDL_WaitThread(opener, nullptr);
    opener = nullptr;
    if (!device_plays())
        return;
    SDL_AtomicSet(&playing, 0);
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
