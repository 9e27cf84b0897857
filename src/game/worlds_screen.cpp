#include "game/worlds_screen.h"

#include "game/actions.h"
#include "game/events.h"
#include "game/requests.h"
#include "game/screen.h"
#include "game/state.h"

static void open_worlds() {
    game.flow.worlds_open = 1;
    game.flow.worlds_selection = 0;
    game.flow.worlds_lines = 0;
    game.flow.world_ready = 0;
    request_worlds_listed();
}

// Esc still held would leave from the menu the next frame: the buttons start afresh.
static void close_worlds() {
    game.flow.worlds_open = 0;
    game.flow.worlds_selection = game.flow.worlds_lines = 0;
    request_buttons_afresh();
}

static void choose_world() {
    game_flow_t& flow = game.flow;
    if (presses(game.cmd, BUTTON_MENU_UP) && flow.worlds_selection > 0)
        flow.worlds_selection--;
    if (presses(game.cmd, BUTTON_MENU_DOWN) && flow.worlds_selection + 1 < flow.worlds_lines)
        flow.worlds_selection++;
    if (presses(game.cmd, BUTTON_CONFIRM) && flow.worlds_selection < flow.worlds_lines)
        request_world(flow.worlds_selection);
}

// The chosen world plays as PLAY GAME's choice does: the menu's code goes, start-up runs again.
static void start_world() {
    close_worlds();
    game.flow.world_ready = 0;
    game.flow.game_started = 1;
    actions_remove(ACT_MENU);
    raise_event(EV_MENU_CONFIRMED);
}

bool worlds_screen_step(bool* play) {
    *play = false;
    // most frames neither find the picker open nor open it
    if (!game.flow.worlds_open && !presses(game.cmd, BUTTON_WORLDS))
        return false;
    screen_t screen = game_screen();
    if (screen == SCREEN_MENU && presses(game.cmd, BUTTON_WORLDS) && !game.flow.ship_drawn) {
        open_worlds();
        return true;
    }
    if (screen != SCREEN_WORLDS)
        return false;
    if (game.flow.world_ready) {
        start_world();
        *play = true;
    } else if (presses(game.cmd, BUTTON_BACK) || presses(game.cmd, BUTTON_PAUSE_OR_LEAVE) ||
               presses(game.cmd, BUTTON_CANCEL)) {
        close_worlds();
    } else {
        choose_world();
    }
    return true;
}
