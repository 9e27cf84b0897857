// Reading the sound files into the clips the mixer plays.
#pragma once
#include "game/events.h"
#include "sound/mixer.h"

// One file's samples; a missing file leaves the clip empty and silent, a bad one
// too, with one line on standard error.
void load_sound(const char* path, sound_clip_t* clip);
// Every event's sound out of folder, and the engine's hum.
void load_sounds(const char* folder, sound_clip_t clips[EV_COUNT], sound_clip_t* engine);
