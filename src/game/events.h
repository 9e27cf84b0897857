// What happened in a frame, raised by the rules for others to act on (sound, the
// runner's record); cleared as each frame begins. The rules never read them.
#pragma once
#include <cstdint>

enum game_event_t {
    EV_JUMP,             // a jump from the ground
    EV_HIGH_JUMP,        // a jump from a wall top
    EV_LAND,             // a falling ship came to rest on the ground or a wall top
    EV_STAR,             // a star taken
    EV_HEART,            // a heart taken: a life more
    EV_LIFE_LOST,        // the ship fell below the track
    EV_LEVEL_FINISHED,   // the finish tile reached
    EV_GAME_WON,         // the fifth level's fly-off over: the summary follows
    EV_GAME_LOST,        // the last life lost: the summary follows
    EV_MENU_MOVED,       // the menu's choice changed
    EV_MENU_CONFIRMED,   // Enter on the menu: play starts or the game leaves
    EV_PAUSE,
    EV_RESUME,
    EV_COUNT,
};

// One bit an event, so a frame's events are one word of the game state.
typedef uint32_t game_events_t;

void raise_event(game_event_t event);
bool event_raised(game_event_t event);
// A frame begins with none.
void clear_events();
// The event's name as tests and the runner's record print it, such as "star".
const char* event_name(game_event_t event);
