#include "app/bindings.h"

#include <GL/freeglut_std.h>   // the special keys' codes; no call is made here
#include <algorithm>
#include <cstring>

#include "game/buttons.h"
#include "game/state.h"
#include "pad/pad.h"

const binding_t bindings[] = {
    {DEVICE_KEY, 'a', BUTTON_LEFT, "a"},
    {DEVICE_SPECIAL_KEY, GLUT_KEY_LEFT, BUTTON_LEFT, "left arrow"},
    {DEVICE_KEY, 'd', BUTTON_RIGHT, "d"},
    {DEVICE_SPECIAL_KEY, GLUT_KEY_RIGHT, BUTTON_RIGHT, "right arrow"},
    {DEVICE_KEY, ' ', BUTTON_JUMP, "space"},
    {DEVICE_KEY, 'w', BUTTON_MENU_UP, "w"},
    {DEVICE_SPECIAL_KEY, GLUT_KEY_UP, BUTTON_MENU_UP, "up arrow"},
    {DEVICE_KEY, 's', BUTTON_MENU_DOWN, "s"},
    {DEVICE_SPECIAL_KEY, GLUT_KEY_DOWN, BUTTON_MENU_DOWN, "down arrow"},
    {DEVICE_KEY, '\r', BUTTON_CONFIRM, "Enter"},
    {DEVICE_KEY, 27, BUTTON_BACK, "Esc"},
    {DEVICE_KEY, 'p', BUTTON_PAUSE, "p"},
    {DEVICE_KEY, 'm', BUTTON_MUTE, "m"},
    {DEVICE_KEY, 'r', BUTTON_RECORDS, "r"},
    {DEVICE_KEY, 'g', BUTTON_GHOST, "g"},
    {DEVICE_KEY, 'f', BUTTON_FAST, "f"},
    // the south button confirms where Enter does and jumps where space does, Start
    // pauses where p does: neither button acts where the other one does. Back pauses
    // play rather than end a run a thumb slipped on, and leaves from every other screen
    {DEVICE_PAD, PAD_LEFT, BUTTON_LEFT, "D-pad or left stick left"},
    {DEVICE_PAD, PAD_RIGHT, BUTTON_RIGHT, "D-pad or left stick right"},
    {DEVICE_PAD, PAD_UP, BUTTON_MENU_UP, "D-pad or left stick up"},
    {DEVICE_PAD, PAD_DOWN, BUTTON_MENU_DOWN, "D-pad or left stick down"},
    {DEVICE_PAD, PAD_SOUTH, BUTTON_JUMP, "A"},
    {DEVICE_PAD, PAD_SOUTH, BUTTON_CONFIRM, "A"},
    {DEVICE_PAD, PAD_WEST, BUTTON_JUMP, "X"},
    {DEVICE_PAD, PAD_START, BUTTON_CONFIRM, "Start"},
    {DEVICE_PAD, PAD_START, BUTTON_PAUSE, "Start"},
    {DEVICE_PAD, PAD_BACK, BUTTON_PAUSE_OR_LEAVE, "Back"},
    {DEVICE_PAD, PAD_EAST, BUTTON_CANCEL, "B"},
};
const int binding_count = sizeof(bindings) / sizeof(bindings[0]);

// Shift and Caps Lock change a letter's code, not its key: a release under Shift
// lets go of what was pressed without it.
static int folded(unsigned char key) {
    if (key >= 'A' && key <= 'Z')
        return key - 'A' + 'a';
    return key;
}

static void key_event(binding_device_t device, int code, int source, bool down) {
    for (int i = 0; i < binding_count; i++) {
        const binding_t& b = bindings[i];
        if (b.device != device || b.code != code)
            continue;
        if (down)
            button_press(b.button, source);
        else
            button_release(b.button, source);
    }
}

void key_down(unsigned char key, int, int) { key_event(DEVICE_KEY, folded(key), SOURCE_KEYS, true); }
void key_up(unsigned char key, int, int) { key_event(DEVICE_KEY, folded(key), SOURCE_KEYS, false); }
void special_down(int special, int, int) { key_event(DEVICE_SPECIAL_KEY, special, SOURCE_SPECIAL_KEYS, true); }
void special_up(int special, int, int) { key_event(DEVICE_SPECIAL_KEY, special, SOURCE_SPECIAL_KEYS, false); }

// The buttons the pads held at the last poll; kept apart from the game, whose reset does not unplug a pad.
static buttons_t pads_held_before;

void hold_pad_controls(unsigned controls) {
    // nothing held now or at the last poll, as in most frames: nothing to press or let go of
    if (controls == 0 && pads_held_before == 0)
        return;
    buttons_t held = 0;
    for (int i = 0; i < binding_count; i++)
        if (bindings[i].device == DEVICE_PAD && (controls & (unsigned)bindings[i].code))
            held |= button_bit(bindings[i].button);
    for (int b = 0; b < BUTTON_COUNT; b++) {
        buttons_t bit = button_bit((button_t)b);
        if ((held & bit) && !(pads_held_before & bit))
            button_press((button_t)b, SOURCE_PADS);
        else if (!(held & bit) && (pads_held_before & bit))
            button_release((button_t)b, SOURCE_PADS);
    }
    pads_held_before = held;
}

// What each button does, in the order --help lists them; buttons on one line share it.
static const struct {
    buttons_t   buttons;
    const char* does;
} help_lines[] = {
    {button_bit(BUTTON_MENU_UP) | button_bit(BUTTON_MENU_DOWN), "choose PLAY GAME or EXIT GAME on the menu"},
    {button_bit(BUTTON_CONFIRM), "confirm the menu choice; on the summary, back to the menu"},
    {button_bit(BUTTON_LEFT) | button_bit(BUTTON_RIGHT), "steer left or right"},
    {button_bit(BUTTON_JUMP), "jump; from the top of a wall, a high jump"},
    {button_bit(BUTTON_PAUSE), "pause play, and go on"},
    {button_bit(BUTTON_MUTE), "sound off and on again"},
    {button_bit(BUTTON_BACK), "leave the game at any time"},
    {button_bit(BUTTON_PAUSE_OR_LEAVE), "pause play; leave from the menu, the pause and the summary"},
    {button_bit(BUTTON_CANCEL), "go on from the pause"},
    {button_bit(BUTTON_RECORDS), "the records and replays, from the menu"},
    {button_bit(BUTTON_GHOST), "hide or show the ghost of the level's best run"},
    {button_bit(BUTTON_FAST), "watching a game, four times its speed (the right arrow while held)"},
};

static std::string keys_of(buttons_t buttons) {
    std::string names;
    for (int i = 0; i < binding_count; i++) {
        const binding_t& b = bindings[i];
        if (b.device == DEVICE_PAD || !(buttons & button_bit(b.button)))
            continue;
        names += (names.empty() ? "" : ", ") + std::string(b.name);
    }
    return names;
}

// What the menu's line names, in its order: the first key of each button, in capitals.
static const struct {
    buttons_t   buttons;
    const char* does;
} menu_line_words[] = {
    {button_bit(BUTTON_LEFT) | button_bit(BUTTON_RIGHT), "STEER"},
    {button_bit(BUTTON_JUMP), "JUMP"},
    {button_bit(BUTTON_PAUSE), "PAUSE"},
    {button_bit(BUTTON_MUTE), "SOUND"},
    {button_bit(BUTTON_RECORDS), "RECORDS AND REPLAYS"},
    {button_bit(BUTTON_GHOST), "GHOST"},
};

// The first key the table binds to each of the buttons, in capitals, joined by " / ".
static std::string first_keys(buttons_t buttons) {
    std::string names;
    for (int b = 0; b < BUTTON_COUNT; b++) {
        for (int i = 0; i < binding_count && (buttons & button_bit((button_t)b)); i++) {
            const binding_t& k = bindings[i];
            if (k.device == DEVICE_PAD || k.button != b)
                continue;
            std::string name = k.name;
            std::transform(name.begin(), name.end(), name.begin(), ::toupper);
            names += (names.empty() ? "" : " / ") + name;
            break;
        }
    }
    return names;
}

std::string menu_keys_line() {
    std::string line;
    for (const auto& words : menu_line_words)
        line += (line.empty() ? "" : "     ") + first_keys(words.buttons) + " " + words.does;
    return line;
}

std::string sound_off_line() { return "SOUND OFF: " + first_keys(button_bit(BUTTON_MUTE)) + " TURNS IT ON"; }

std::string keys_help() {
    size_t width = 0;
    for (const auto& line : help_lines)
        width = std::max(width, keys_of(line.buttons).size());
    std::string help;
    for (const auto& line : help_lines) {
        std::string keys = keys_of(line.buttons);
        // a controller's own buttons are the manual page's
        if (keys.empty())
            continue;
        help += "  " + keys + std::string(width + 3 - keys.size(), ' ') + line.does + "\n";
    }
    return help;
}
