#include "game/pause.h"

#include "game/actions.h"
#include "game/events.h"
#include "game/screen.h"
#include "game/state.h"
#include "game/timer.h"

// Play proper, paused or not: not the menu, the summary, the level's start or its change.
static bool in_play() {
    screen_t screen = game_screen();
    return screen == SCREEN_PLAY || screen == SCREEN_PAUSED;
}

static void set_paused(bool paused) {
    game.flow.paused = paused;
    if (paused) {
        timer_stop();
        actions_add_back(ACT_PAUSED);
    } else {
        timer_start();
        actions_remove(ACT_PAUSED);
    }
}

// The pause button anywhere in play; a controller's Back in play, its B on the pause screen.
static bool pause_toggled() {
    screen_t screen = game_screen();
    return presses(game.cmd, BUTTON_PAUSE) || (presses(game.cmd, BUTTON_PAUSE_OR_LEAVE) && screen == SCREEN_PLAY) ||
           (presses(game.cmd, BUTTON_CANCEL) && screen == SCREEN_PAUSED);
}

void pause_step() {
    if (!pause_toggled() || !in_play())
        return;
    set_paused(!game.flow.paused);
    raise_event(game.flow.paused ? EV_PAUSE : EV_RESUME);
}

void pause_on_focus_loss() {
    game_flow_t& flow = game.flow;
    if (!game.cmd.focused && !flow.focus_lost)
        flow.focus_pause_due = 1;
    flow.focus_lost = !game.cmd.focused;
    // back in focus, the player decides
    if (!flow.focus_lost)
        flow.focus_pause_due = 0;
    if (!flow.focus_pause_due || !in_play())
        return;
    flow.focus_pause_due = 0;
    if (flow.paused)
        return;
    set_paused(true);
    raise_event(EV_PAUSE);
}

bool action_stands_still(int code) {
    if (!game.flow.paused)
        return false;
    return code == ACT_VERTICAL || code == ACT_RISE || code == ACT_FORWARD || code == ACT_STEER_LEFT ||
           code == ACT_STEER_RIGHT;
}
