// Game controllers: pads plugged in at start or mid-game, read as a set of controls
// held; the app's binding table says which buttons those hold.
#pragma once

// A pad's controls, one bit each, as read from the device.
enum {
    PAD_LEFT = 1,
    PAD_RIGHT = 2,
    PAD_UP = 4,
    PAD_DOWN = 8,
    PAD_SOUTH = 16,   // A, or cross
    PAD_START = 32,
    PAD_BACK = 64,    // Back, or Select
    PAD_EAST = 128,   // B, or circle
    PAD_WEST = 256,   // X, or square
};

// Once at start; false, with one line on standard error, when controllers cannot be read.
bool pad_open();
// Before each frame: pads plugged in or out, then the controls every open pad holds.
unsigned pad_poll();
// Closes every pad.
void pad_close();
// The pads open now.
int pad_count();
