// The game's sound: an effect for each of a frame's events and a quiet engine
// during play. One of two sides is linked: SDL's audio, or the silent null side.
#pragma once
#include "game/events.h"

// Opens the audio device and reads the sounds out of folder, on a thread of its own
// while the first frames are drawn; the events of frames before it plays are not
// heard. No device: one line on standard error, and the game plays silent.
void sound_open(const char* folder);
// After each frame: starts the sounds of the frame's events, stops every sound
// while muted, and hums the engine when the game says it is heard; only queues
// for the mixer, which runs on the audio thread.
void sound_frame(game_events_t events, bool muted, bool engine_on);
// The effects' and the engine's volumes, 0 to 10; both 10 until set.
void sound_set_volumes(int effects, int engine);
// Waits for an open under way, stops the sound and lets go of the device; also run at exit.
void sound_close();
