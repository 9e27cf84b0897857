#include "sound/sounds.h"

static const char* const sound_files[EV_COUNT] = {
    "jump.wav",     "high_jump.wav", "land.wav",      "star.wav",         "heart.wav", "life_lost.wav", "level.wav",
    "game_won.wav", "game_lost.wav", "menu_move.wav", "menu_confirm.wav", "pause.wav", "resume.wav",
};

const char* sound_file(game_event_t event) { return event >= 0 && event < EV_COUNT ? sound_files[event] : nullptr; }
