#include "game/mute.h"

#include "game/keytable.h"
#include "game/state.h"

void mute_key_step() {
    if (key_pressed_now(KEY_M))
        game.muted = !game.muted;
}
