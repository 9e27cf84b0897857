// Which screen is up, worked out in one place from the designed flags and the
// action list: every reader asks here, and a new screen is added here.
#pragma once

enum screen_t {
    SCREEN_MENU,
    SCREEN_LEVEL_START,   // the level loaded, its timer not yet running
    SCREEN_PLAY,
    SCREEN_PAUSED,
    SCREEN_LEVEL_CHANGE,   // the fly-off, then the wait before the next level or the summary
    SCREEN_SUMMARY,        // no lives left, or every level done
    SCREEN_RECORDS,        // over the menu: the bests and the last games, one to watch
    SCREEN_SETTINGS,       // over the menu or the pause screen: the keys, the volumes, the window
    SCREEN_WORLDS,         // over the menu: the worlds of five levels, one to play
};

screen_t game_screen();
// The engine hums while the ship flies: in play, its fly-off and the change after it.
bool engine_heard();
