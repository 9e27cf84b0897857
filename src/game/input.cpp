#include "game/input.h"

#include "game/actions.h"
#include "game/events.h"
#include "game/flow.h"
#include "game/mute.h"
#include "game/pause.h"
#include "game/records_screen.h"
#include "game/requests.h"
#include "game/screen.h"
#include "game/settings_screen.h"
#include "game/state.h"
#include "game/tuning.h"
#include "game/worlds_screen.h"

// Queue a steering code in place of the opposite one.
static void queue_steer(int code, int opposite) {
    if (!actions_has(code)) {
        actions_remove(opposite);
        actions_add_front(code);
    }
}

// One steering key: its own rate climbs while held and falls back after, and
// the code keeps being queued while the ship still drifts. Rates are floats:
// compare with float bounds, or the idle rate 0.1f would read as above 0.1
// and drift the ship.
static void steer_button(button_t button, float* rate, float* other_rate, int code, int opposite) {
    if (holds(game.cmd, button)) {
        *other_rate = STEER_RATE_IDLE;
        if (*rate < STEER_RATE_MAX)
            *rate += STEER_RATE_STEP;
        queue_steer(code, opposite);
    } else if (*rate > STEER_RATE_IDLE) {
        *rate -= STEER_RATE_STEP;
        queue_steer(code, opposite);
    }
}

// The ship banks toward the steering button held, right before left.
static ship_bank_t bank_of_buttons() {
    if (holds(game.cmd, BUTTON_RIGHT))
        return BANK_RIGHT;
    if (holds(game.cmd, BUTTON_LEFT))
        return BANK_LEFT;
    return BANK_NONE;
}

static void take_off(game_event_t event) {
    game.ship.jump = 1;
    game.ship.contact = CONTACT_AIRBORNE;
    raise_event(event);
}

static void jump_button() {
    ship_t& ship = game.ship;
    if (holds(game.cmd, BUTTON_JUMP) && !ship.falling && !ship.jump) {
        if (ship.on_wall == 0.0f && ship.on_ground == 1) {
            if (!ship.jump_descending)
                take_off(EV_JUMP);
        } else if (ship.on_ground == 0 && ship.on_wall == 1.0f && !ship.jump_descending) {
            take_off(EV_HIGH_JUMP);
            ship.jump_apex = (float)(ship.jump_apex * WALL_JUMP_APEX_FACTOR);
        }
    }
    if (ship.jump == 1 && !actions_has(ACT_RISE))
        actions_add_front(ACT_RISE);
}

// Returns true when play is confirmed.
static bool menu_buttons() {
    game_flow_t& flow = game.flow;
    int          was = flow.menu_selection;
    if (holds(game.cmd, BUTTON_MENU_UP))
        flow.menu_selection = 0;
    if (holds(game.cmd, BUTTON_MENU_DOWN))
        flow.menu_selection = 1;
    // the buttons move a choice nobody sees once play is on: only the menu's own move is heard
    if (flow.menu_selection != was && game_screen() == SCREEN_MENU)
        raise_event(EV_MENU_MOVED);
    if (!holds(game.cmd, BUTTON_CONFIRM) || flow.ship_drawn)
        return false;
    raise_event(EV_MENU_CONFIRMED);
    if (flow.menu_selection == 1) {
        request_exit(0);
    } else if (flow.menu_selection == 0) {
        flow.game_started = 1;
        actions_remove(ACT_MENU);
        return true;
    }
    return false;
}

input_request_t input_step() {
    // the settings, the records and the worlds stand over the menu and take its buttons, Esc going back
    // rather than leaving; a world chosen starts play as the menu's PLAY GAME does
    bool world_chosen = false;
    if (settings_screen_step() || records_screen_step() || worlds_screen_step(&world_chosen)) {
        mute_step();
        return world_chosen ? INPUT_STARTUP : INPUT_GO_ON;
    }
    // Esc leaves from the menu, play and the summary alike, before any other button acts;
    // a controller's Back leaves from the screens that are not play
    screen_t screen = game_screen();
    bool     back_leaves = screen == SCREEN_MENU || screen == SCREEN_PAUSED || screen == SCREEN_SUMMARY;
    if (holds(game.cmd, BUTTON_BACK) || (back_leaves && presses(game.cmd, BUTTON_PAUSE_OR_LEAVE))) {
        request_exit(0);
        return INPUT_GO_ON;
    }
    // Enter acts on the summary only once a frame has shown it
    bool summary_shown = game.flow.game_over;
    mute_step();
    pause_on_focus_loss();
    pause_step();
    if (game.flow.paused)
        return INPUT_GO_ON;
    game.ship.bank = bank_of_buttons();
    steer_button(BUTTON_LEFT, &game.ship.left_rate, &game.ship.right_rate, ACT_STEER_LEFT, ACT_STEER_RIGHT);
    steer_button(BUTTON_RIGHT, &game.ship.right_rate, &game.ship.left_rate, ACT_STEER_RIGHT, ACT_STEER_LEFT);
    if (!actions_has(ACT_FORWARD))
        actions_add_front(ACT_FORWARD);
    jump_button();
    if (!actions_has(ACT_VERTICAL))
        actions_add_front(ACT_VERTICAL);
    end_game_when_over();
    if (summary_shown && presses(game.cmd, BUTTON_CONFIRM))
        return INPUT_NEW_GAME;
    return menu_buttons() ? INPUT_STARTUP : INPUT_GO_ON;
}
