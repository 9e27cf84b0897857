#include "game/events.h"

#include "game/state.h"

static const char* const event_names[EV_COUNT] = {
    "jump",     "high jump", "land",       "star",           "heart", "life lost", "level finished",
    "game won", "game lost", "menu moved", "menu confirmed", "pause", "resume",
};

void raise_event(game_event_t event) { game.events |= (game_events_t)1 << event; }
bool event_raised(game_event_t event) { return (game.events >> event) & 1; }

void        clear_events() { game.events = 0; }
const char* event_name(game_event_t event) { return event < EV_COUNT ? event_names[event] : "?"; }
