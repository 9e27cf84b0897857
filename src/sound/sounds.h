// The game's sounds: which event plays which file, and the one format every file has.
#pragma once
#include <cstdint>

#include "game/events.h"
#include "game/paths.h"

// 16-bit mono: small files, and the mixer adds them up without converting.
const int SOUND_RATE = 22050;
const int SOUND_BITS = 16;
// Where the game finds them, from bin/ as the pictures are found.
inline constexpr char SOUND_FOLDER[] = RESOURCE_FOLDER "sounds";
// The hum under play, played round and round.
inline constexpr char ENGINE_SOUND[] = "engine.wav";
// Read whole at start: a sound is a second at most, the engine hum too.
const uint64_t SOUND_FILE_MAX_BYTES = 1 << 20;

// The file an event plays, nullptr for an event that plays none.
const char* sound_file(game_event_t event);
