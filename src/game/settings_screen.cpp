#include "game/settings_screen.h"

#include "game/requests.h"
#include "game/screen.h"
#include "game/state.h"

static void open_settings() {
    game.flow.settings_open = 1;
    game.flow.settings_selection = 0;
    game.flow.settings_rows = 0;
    request_settings_listed();
}

// Esc still held would leave the game the next frame: the buttons start afresh.
static void close_settings() {
    game.flow.settings_open = 0;
    game.flow.settings_selection = game.flow.settings_rows = 0;
    request_buttons_afresh();
}

static void change_row() {
    game_flow_t& flow = game.flow;
    if (presses(game.cmd, BUTTON_MENU_UP) && flow.settings_selection > 0)
        flow.settings_selection--;
    if (presses(game.cmd, BUTTON_MENU_DOWN) && flow.settings_selection + 1 < flow.settings_rows)
        flow.settings_selection++;
    if (flow.settings_selection >= flow.settings_rows)
        return;
    if (presses(game.cmd, BUTTON_CONFIRM))
        request_setting_changed(flow.settings_selection, 0);
    else if (presses(game.cmd, BUTTON_LEFT))
        request_setting_changed(flow.settings_selection, -1);
    else if (presses(game.cmd, BUTTON_RIGHT))
        request_setting_changed(flow.settings_selection, +1);
}

bool settings_screen_step() {
    screen_t screen = game_screen();
    bool     from_menu = screen == SCREEN_MENU && !game.flow.ship_drawn;
    if ((from_menu || screen == SCREEN_PAUSED) && presses(game.cmd, BUTTON_SETTINGS)) {
        open_settings();
        return true;
    }
    if (screen != SCREEN_SETTINGS)
        return false;
    if (presses(game.cmd, BUTTON_BACK) || presses(game.cmd, BUTTON_PAUSE_OR_LEAVE) || presses(game.cmd, BUTTON_CANCEL))
        close_settings();
    else
        change_row();
    return true;
}
