#include "game/buttons.h"

#include <cstring>

#include "game/state.h"

void button_press(button_t button, int source) {
    button_table_t& table = game.buttons;
    table.held[button] |= source;
    table.pressed_since[button] |= source;
    table.release_after[button] &= ~source;
}

void button_release(button_t button, int source) {
    button_table_t& table = game.buttons;
    if (table.pressed_since[button] & source)
        table.release_after[button] |= source;
    else
        table.held[button] &= ~source;
}

void buttons_read(bool focused, buttons_t* held, buttons_t* pressed) {
    button_table_t& table = game.buttons;
    if (!focused && !table.focus_lost)
        buttons_release_all();
    table.focus_lost = !focused;
    *held = *pressed = 0;
    for (int b = 0; b < BUTTON_COUNT; b++) {
        if (!table.held[b])
            continue;
        *held |= button_bit((button_t)b);
        if (!table.was_held[b])
            *pressed |= button_bit((button_t)b);
    }
    // presses from here on are the next frame's: a release of one is held back for it
    memset(table.pressed_since, 0, sizeof(table.pressed_since));
}

void buttons_frame_end() {
    button_table_t& table = game.buttons;
    memcpy(table.was_held, table.held, sizeof(table.was_held));
    for (int b = 0; b < BUTTON_SLOTS; b++)
        table.held[b] &= ~table.release_after[b];
    memset(table.release_after, 0, sizeof(table.release_after));
}

void buttons_release_all() {
    button_table_t& table = game.buttons;
    memset(table.held, 0, sizeof(table.held));
    memset(table.pressed_since, 0, sizeof(table.pressed_since));
    memset(table.release_after, 0, sizeof(table.release_after));
}

void buttons_start_afresh() {
    buttons_release_all();
    memset(game.buttons.was_held, 0, sizeof(game.buttons.was_held));
}

void buttons_hold_exactly(buttons_t held) {
    buttons_release_all();
    for (int b = 0; b < BUTTON_COUNT; b++)
        game.buttons.held[b] = (held & button_bit((button_t)b)) ? SOURCE_KEYS : 0;
}
