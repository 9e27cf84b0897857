// Game controllers: pads plugged in at start or mid-game hold the game's keys beside the keyboard.
#pragma once

// Once at start; false, with one line on standard error, when controllers cannot be read.
bool pad_open();
// Before each frame: pads plugged in or out, then the keys the open pads hold.
void pad_poll();
// Lets go of every key the pads hold and closes them.
void pad_close();
// The pads open now.
int pad_count();
