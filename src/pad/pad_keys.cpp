#include "pad/pad_keys.h"

#include <cstring>

#include "game/keytable.h"
#include "game/state.h"

// Each control and the keys it holds: the south button confirms where Enter does and
// jumps where space does, Start pauses where p does; neither key acts where the other one does.
static const struct {
    unsigned control;
    int      keys[2];
} control_keys[] = {
    {PAD_LEFT, {KEY_A, 0}},
    {PAD_RIGHT, {KEY_D, 0}},
    {PAD_UP, {KEY_W, 0}},
    {PAD_DOWN, {KEY_S, 0}},
    {PAD_SOUTH, {KEY_SPACE, KEY_ENTER}},
    {PAD_START, {KEY_ENTER, KEY_P}},
    {PAD_BACK, {KEY_ESC, 0}},
};

// The keys the pads held at the last poll; kept apart from the game, whose reset does not unplug a pad.
static bool held_before[256];

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

void pad_hold_controls(unsigned controls) {
    bool held[256] = {};
    for (const auto& c : control_keys)
        if (controls & c.control)
            for (int key : c.keys)
                if (key)
                    held[key] = true;
    for (int k = 0; k < 256; k++) {
        if (held[k] && !held_before[k])
            key_press(k, KEY_SOURCE_PAD);
        else if (!held[k] && held_before[k])
            key_release(k, KEY_SOURCE_PAD);
    }
    memcpy(held_before, held, sizeof(held_before));
}
