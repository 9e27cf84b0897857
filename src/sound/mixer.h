// The mixer: the voices playing and how they add up into the device's samples.
// The SDL side runs it on the audio thread; the frame's thread only queues into it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Enough for a jump, a star and a landing in one moment, and a tune still ringing.
const int SOUND_VOICES = 8;
// The engine fades in and out over this many samples, so it never clicks.
const int ENGINE_FADE_SAMPLES = 2205;
// A volume's steps: 0 silent to 10, the sound as it was made.
const int SOUND_VOLUME_MAX = 10;

typedef std::vector<int16_t> sound_clip_t;

struct sound_voice_t {
    const sound_clip_t* clip;   // nullptr for a free voice
    size_t              at;     // the next sample to play
};

struct sound_mixer_t {
    sound_voice_t       voices[SOUND_VOICES];
    const sound_clip_t* engine;   // the hum, looped; nullptr for none
    size_t              engine_at;
    bool                engine_on;     // wanted: the fade follows it
    int                 engine_fade;   // 0 silent to ENGINE_FADE_SAMPLES full
    int                 effects_volume = SOUND_VOLUME_MAX;
    int                 engine_volume = SOUND_VOLUME_MAX;
};

// Starts a clip on a free voice, or on the one playing longest when all are busy.
void mixer_play(sound_mixer_t* mixer, const sound_clip_t* clip);
// Every voice stops at once and the engine with them.
void mixer_stop_all(sound_mixer_t* mixer);
// The next count samples of everything playing, added up and held within 16 bits.
void mixer_mix(sound_mixer_t* mixer, int16_t* out, int count);
