#include "game/events.h"

#include "game/state.h"

// A row an event: with one found for each, the count leaves none a second.
static const struct {
    game_event_t event;
    const char*  name;
} event_names[] = {
    {EV_JUMP, "jump"},
    {EV_HIGH_JUMP, "high jump"},
    {EV_LAND, "land"},
    {EV_STAR, "star"},
    {EV_HEART, "heart"},
    {EV_LIFE_LOST, "life lost"},
    {EV_LEVEL_FINISHED, "level finished"},
    {EV_GAME_WON, "game won"},
    {EV_GAME_LOST, "game lost"},
    {EV_MENU_MOVED, "menu moved"},
    {EV_MENU_CONFIRMED, "menu confirmed"},
    {EV_PAUSE, "pause"},
    {EV_RESUME, "resume"},
};
static_assert(sizeof(event_names) / sizeof(event_names[0]) == EV_COUNT, "a name for each event");

void raise_event(game_event_t event) { game.events |= (game_events_t)1 << event; }
bool event_raised(game_event_t event) { return (game.events >> event) & 1; }

void        clear_events() { game.events = 0; }
const char* event_name(game_event_t event) {
    for (const auto& row : event_names) {
        if (row.event == event)
            return row.name;
    }
    return "?";
}
