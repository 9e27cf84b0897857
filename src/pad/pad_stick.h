// A stick read as a direction: a dead zone, and a lower mark to let go at, so a
// stick held near the edge of the zone does not flicker.
#pragma once

// A stick held past this far from its centre steers; it lets go only once back under the lower mark.
const int PAD_STICK_ENGAGE = 8000;
const int PAD_STICK_RELEASE = 6000;

// The stick's side along one axis, -1, 0 or 1, from its value and its side the last frame.
int pad_stick_side(int value, int was);
