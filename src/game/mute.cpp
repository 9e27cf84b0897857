#include "game/mute.h"

#include "game/state.h"

void mute_step() {
    if (presses(game.cmd, BUTTON_MUTE))
        game.muted = !game.muted;
}
