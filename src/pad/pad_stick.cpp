#include "pad/pad_stick.h"

int pad_stick_side(int value, int was) {
    int mark = was ? PAD_STICK_RELEASE : PAD_STICK_ENGAGE;
    if (value > mark && was >= 0)
        return 1;
    if (value < -mark && was <= 0)
        return -1;
    // flung across the centre in one frame: engage on the far side only past the full dead zone
    if (value > PAD_STICK_ENGAGE)
        return 1;
    if (value < -PAD_STICK_ENGAGE)
        return -1;
    return 0;
}
