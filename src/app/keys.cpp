#include "app/keys.h"

#include <GL/freeglut_std.h>   // the arrow keys' codes; no call is made here

#include "game/keytable.h"
#include "game/pause.h"
#include "game/state.h"

// Shift and Caps Lock change a letter's code, not its key: a release under Shift
// lets go of what was pressed without it.
static int folded(unsigned char key) {
    if (key >= 'A' && key <= 'Z')
        return key - 'A' + 'a';
    return key;
}

void key_down(unsigned char key, int, int) { key_press(folded(key), KEY_SOURCE_CHAR); }
void key_up(unsigned char key, int, int) { key_release(folded(key), KEY_SOURCE_CHAR); }

// The arrows steer and choose as a, d, w and s do.
static const struct {
    int special;
    int key;
} arrow_keys[] = {
    {GLUT_KEY_LEFT, KEY_A},
    {GLUT_KEY_RIGHT, KEY_D},
    {GLUT_KEY_UP, KEY_W},
    {GLUT_KEY_DOWN, KEY_S},
};

static int arrow_key(int special) {
    for (const auto& a : arrow_keys)
        if (a.special == special)
            return a.key;
    return -1;
}

void special_down(int special, int, int) {
    int key = arrow_key(special);
    if (key >= 0)
        key_press(key, KEY_SOURCE_SPECIAL);
}

void special_up(int special, int, int) {
    int key = arrow_key(special);
    if (key >= 0)
        key_release(key, KEY_SOURCE_SPECIAL);
}

void keys_follow_focus(bool focused) {
    bool just_lost = !focused && !game.key_marks.focus_lost;
    game.key_marks.focus_lost = !focused;
    if (!just_lost)
        return;
    keys_release_all();
    pause_on_focus_loss();
}
