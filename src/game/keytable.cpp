#include "game/keytable.h"

#include <cstring>

#include "game/state.h"

void key_press(int key, int source) {
    game.keys[key] |= source;
    game.key_marks.pressed[key] |= source;
    game.key_marks.release_after[key] &= ~source;
}

void key_release(int key, int source) {
    if (game.key_marks.pressed[key] & source)
        game.key_marks.release_after[key] |= source;
    else
        game.keys[key] &= ~source;
}

void keys_frame_begin() { memset(game.key_marks.pressed, 0, sizeof(game.key_marks.pressed)); }

void keys_frame_end() {
    key_marks_t& marks = game.key_marks;
    memcpy(marks.was_held, game.keys, sizeof(marks.was_held));
    for (int k = 0; k < 256; k++)
        game.keys[k] &= ~marks.release_after[k];
    memset(marks.release_after, 0, sizeof(marks.release_after));
}

void keys_release_all() {
    memset(game.keys, 0, sizeof(game.keys));
    memset(game.key_marks.pressed, 0, sizeof(game.key_marks.pressed));
    memset(game.key_marks.release_after, 0, sizeof(game.key_marks.release_after));
}

bool key_pressed_now(int key) { return game.keys[key] && !game.key_marks.was_held[key]; }
