#include "game/records_screen.h"

#include "game/requests.h"
#include "game/screen.h"
#include "game/state.h"

static void open_records() {
    game.flow.records_open = 1;
    game.flow.records_selection = 0;
    game.flow.records_lines = 0;
    request_records_listed();
}

// Esc still held would leave from the menu the next frame: the buttons start afresh.
static void close_records() {
    game.flow.records_open = 0;
    game.flow.records_selection = game.flow.records_lines = 0;
    request_buttons_afresh();
}

static void choose_line() {
    game_flow_t& flow = game.flow;
    if (presses(game.cmd, BUTTON_MENU_UP) && flow.records_selection > 0)
        flow.records_selection--;
    if (presses(game.cmd, BUTTON_MENU_DOWN) && flow.records_selection + 1 < flow.records_lines)
        flow.records_selection++;
    if (presses(game.cmd, BUTTON_CONFIRM) && flow.records_selection < flow.records_lines)
        request_watch(flow.records_selection);
}

bool records_screen_step() {
    screen_t screen = game_screen();
    if (screen == SCREEN_MENU && presses(game.cmd, BUTTON_RECORDS) && !game.flow.ship_drawn) {
        open_records();
        return true;
    }
    if (screen != SCREEN_RECORDS)
        return false;
    if (presses(game.cmd, BUTTON_BACK) || presses(game.cmd, BUTTON_PAUSE_OR_LEAVE) || presses(game.cmd, BUTTON_CANCEL))
        close_records();
    else
        choose_line();
    return true;
}
