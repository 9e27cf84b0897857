#include "game/pause.h"

#include "game/actions.h"
#include "game/events.h"
#include "game/keytable.h"
#include "game/state.h"
#include "game/timer.h"

// Play proper: not the menu, the summary, the level's start or its fly-off.
static bool in_play() {
    const game_flow_t& flow = game.flow;
    return flow.game_started && !flow.game_over && flow.lives > 0 && !flow.level_start && !flow.on_finish &&
           !flow.level_complete;
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

void pause_key_step() {
    if (!key_pressed_now(KEY_P) || !in_play())
        return;
    set_paused(!game.flow.paused);
    raise_event(game.flow.paused ? EV_PAUSE : EV_RESUME);
}

// The focus is looked at between frames: the pause is heard with the frame that shows it.
void pause_on_focus_loss() {
    if (game.flow.paused || !in_play())
        return;
    set_paused(true);
    raise_event_next_frame(EV_PAUSE);
}

bool action_stands_still(int code) {
    if (!game.flow.paused)
        return false;
    return code == ACT_VERTICAL || code == ACT_RISE || code == ACT_FORWARD || code == ACT_STEER_LEFT ||
           code == ACT_STEER_RIGHT;
}
