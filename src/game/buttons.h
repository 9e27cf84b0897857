// The button table: presses and releases as the devices report them between frames,
// and the command's view of them, a quick tap held for one frame.
#pragma once
#include "game/command.h"

void button_press(button_t button, int source);
// A release of a press no command has seen yet waits for the end of the next frame.
void button_release(button_t button, int source);
// The command's buttons: held now, and held now but not in the last frame. A
// window that lost the keyboard first lets go of every button: their releases would never come.
void buttons_read(bool focused, buttons_t* held, buttons_t* pressed);
// After the frame: the releases held back for a tap come.
void buttons_frame_end();
// Every button let go of, from every source, held back or not.
void buttons_release_all();
// As at start-up: nothing held, and nothing held before, so the next press is a press.
void buttons_start_afresh();
// Exactly these held, as one source: the window-free runner's frames.
void buttons_hold_exactly(buttons_t held);
