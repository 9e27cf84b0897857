// What a pad's controls hold: the game's keys, under the pad's own source.
#pragma once

// A pad's controls, one bit each, as read from the device.
enum {
    PAD_LEFT = 1,
    PAD_RIGHT = 2,
    PAD_UP = 4,
    PAD_DOWN = 8,
    PAD_SOUTH = 16,   // A, or cross
    PAD_START = 32,
    PAD_BACK = 64,   // Back, or Select
};

// A stick held past this far from its centre steers; it lets go only once back under the lower mark.
const int PAD_STICK_ENGAGE = 8000;
const int PAD_STICK_RELEASE = 6000;

// The stick's side along one axis, -1, 0 or 1, from its value and its side the last frame.
int pad_stick_side(int value, int was);
// Presses the keys the controls of every pad hold now and not before, releases those no longer held.
void pad_hold_controls(unsigned controls);
