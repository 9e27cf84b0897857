#include "sound/sounds.h"

// A row an event: with one found for each, the count leaves none a second.
static const struct {
    game_event_t event;
    const char*  file;
} sound_files[] = {
    {EV_JUMP, "jump.wav"},
    {EV_HIGH_JUMP, "high_jump.wav"},
    {EV_LAND, "land.wav"},
    {EV_STAR, "star.wav"},
    {EV_HEART, "heart.wav"},
    {EV_LIFE_LOST, "life_lost.wav"},
    {EV_LEVEL_FINISHED, "level.wav"},
    {EV_GAME_WON, "game_won.wav"},
    {EV_GAME_LOST, "game_lost.wav"},
    {EV_MENU_MOVED, "menu_move.wav"},
    {EV_MENU_CONFIRMED, "menu_confirm.wav"},
    {EV_PAUSE, "pause.wav"},
    {EV_RESUME, "resume.wav"},
};
static_assert(sizeof(sound_files) / sizeof(sound_files[0]) == EV_COUNT, "a sound for each event");

const char* sound_file(game_event_t event) {
    for (const auto& row : sound_files) {
        if (row.event == event)
            return row.file;
    }
    return nullptr;
}
