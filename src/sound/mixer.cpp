#include "sound/mixer.h"

#include <cstring>

void mixer_play(sound_mixer_t* mixer, const sound_clip_t* clip) {
    if (!clip || clip->empty())
        return;
    sound_voice_t* chosen = &mixer->voices[0];
    for (sound_voice_t& voice : mixer->voices) {
        if (!voice.clip) {
            chosen = &voice;
            break;
        }
        if (voice.at > chosen->at)
            chosen = &voice;
    }
    chosen->clip = clip;
    chosen->at = 0;
}

void mixer_stop_all(sound_mixer_t* mixer) {
    for (sound_voice_t& voice : mixer->voices)
        voice.clip = nullptr;
    mixer->engine_on = false;
    mixer->engine_fade = 0;
}

static void add_voice(sound_voice_t* voice, int volume, int32_t* sum, int count) {
    for (int i = 0; i < count && voice->clip; i++) {
        sum[i] += (int32_t)(*voice->clip)[voice->at++] * volume / SOUND_VOLUME_MAX;
        if (voice->at == voice->clip->size())
            voice->clip = nullptr;
    }
}

static void add_engine(sound_mixer_t* mixer, int32_t* sum, int count) {
    const sound_clip_t* hum = mixer->engine;
    if (!hum || hum->empty())
        return;
    for (int i = 0; i < count; i++) {
        if (mixer->engine_on && mixer->engine_fade < ENGINE_FADE_SAMPLES)
            mixer->engine_fade++;
        else if (!mixer->engine_on && mixer->engine_fade > 0)
            mixer->engine_fade--;
        if (mixer->engine_fade == 0)
            continue;
        sum[i] += (int32_t)(*hum)[mixer->engine_at] * mixer->engine_fade / ENGINE_FADE_SAMPLES * mixer->engine_volume /
                  SOUND_VOLUME_MAX;
        mixer->engine_at = (mixer->engine_at + 1) % hum->size();
    }
}

void mixer_mix(sound_mixer_t* mixer, int16_t* out, int count) {
    // a device buffer at a time; SDL asks for far fewer samples than this
    const int CHUNK = 1024;
    for (int done = 0; done < count; done += CHUNK) {
        int     n = count - done < CHUNK ? count - done : CHUNK;
        int32_t sum[CHUNK];
        memset(sum, 0, sizeof(sum));
        for (sound_voice_t& voice : mixer->voices)
            add_voice(&voice, mixer->effects_volume, sum, n);
        add_engine(mixer, sum, n);
        for (int i = 0; i < n; i++)
            out[done + i] = (int16_t)(sum[i] > INT16_MAX ? INT16_MAX : sum[i] < INT16_MIN ? INT16_MIN : sum[i]);
    }
}
