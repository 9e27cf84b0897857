#include "game/screen.h"

#include "game/state.h"

screen_t game_screen() {
    const game_flow_t& flow = game.flow;
    if (flow.settings_open)
        return SCREEN_SETTINGS;
    if (!flow.game_started && flow.worlds_open)
        return SCREEN_WORLDS;
    if (!flow.game_started)
        return flow.records_open ? SCREEN_RECORDS : SCREEN_MENU;
    // the last life lost ends the game: the next input step queues the summary
    if (flow.game_over || flow.lives <= 0)
        return SCREEN_SUMMARY;
    if (flow.paused)
        return SCREEN_PAUSED;
    if (flow.level_start)
        return SCREEN_LEVEL_START;
    if (flow.on_finish || flow.level_complete)
        return SCREEN_LEVEL_CHANGE;
    return SCREEN_PLAY;
}

bool engine_heard() {
    screen_t screen = game_screen();
    return screen == SCREEN_PLAY || screen == SCREEN_LEVEL_CHANGE;
}
