#include "app/bindings.h"

#include <GL/freeglut_std.h>   // the special keys' codes; no call is made here
#include <algorithm>
#include <cstring>
#include <vector>

#include "game/buttons.h"
#include "game/state.h"
#include "pad/pad.h"

binding_t bindings[] = {
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
    {DEVICE_SPECIAL_KEY, GLUT_KEY_F11, BUTTON_WINDOW, "F11"},
    {DEVICE_ALT_KEY, '\r', BUTTON_WINDOW, "Alt+Enter"},
    {DEVICE_KEY, 'o', BUTTON_SETTINGS, "o"},
    {DEVICE_KEY, 'l', BUTTON_WORLDS, "l"},
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

// The table as shipped: copied at the first call, which comes before any setting changes a row.
const binding_t& default_binding(int row) {
    static const std::vector<binding_t> shipped(bindings, bindings + binding_count);
    return shipped[row];
}

bool binding_can_change(int row) {
    const binding_t& b = default_binding(row);
    return (b.device == DEVICE_KEY || b.device == DEVICE_SPECIAL_KEY) && b.button != BUTTON_CONFIRM &&
           b.button != BUTTON_BACK;
}

// The special keys a binding may take, by name.
static const struct {
    int         code;
    const char* label;
} special_labels[] = {
    {GLUT_KEY_LEFT, "left arrow"}, {GLUT_KEY_RIGHT, "right arrow"},
    {GLUT_KEY_UP, "up arrow"},     {GLUT_KEY_DOWN, "down arrow"},
    {GLUT_KEY_PAGE_UP, "page up"}, {GLUT_KEY_PAGE_DOWN, "page down"},
    {GLUT_KEY_HOME, "home"},       {GLUT_KEY_END, "end"},
    {GLUT_KEY_INSERT, "insert"},   {GLUT_KEY_F1, "F1"},
    {GLUT_KEY_F2, "F2"},           {GLUT_KEY_F3, "F3"},
    {GLUT_KEY_F4, "F4"},           {GLUT_KEY_F5, "F5"},
    {GLUT_KEY_F6, "F6"},           {GLUT_KEY_F7, "F7"},
    {GLUT_KEY_F8, "F8"},           {GLUT_KEY_F9, "F9"},
    {GLUT_KEY_F10, "F10"},         {GLUT_KEY_F11, "F11"},
    {GLUT_KEY_F12, "F12"},
};
// Characters without a printed shape of their own.
static const struct {
    int         code;
    const char* label;
} character_labels[] = {
    {' ', "space"}, {'\r', "Enter"}, {27, "Esc"}, {'\t', "tab"}, {8, "backspace"}, {127, "delete"},
};

const char* key_label(binding_device_t device, int code) {
    // one printed character each, letters as the keys fold them
    static char printed[128][2];
    if (device == DEVICE_SPECIAL_KEY) {
        for (const auto& k : special_labels)
            if (k.code == code)
                return k.label;
        return nullptr;
    }
    if (device != DEVICE_KEY && device != DEVICE_ALT_KEY)
        return nullptr;
    for (const auto& k : character_labels)
        if (k.code == code)
            return k.label;
    if (code <= ' ' || code >= 127 || (code >= 'A' && code <= 'Z'))
        return nullptr;
    printed[code][0] = (char)code;
    return printed[code];
}

static bool same_label(const std::string& a, const char* b) {
    if (a.size() != strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

bool key_of_label(const std::string& label, binding_device_t* device, int* code) {
    for (const auto& k : special_labels) {
        if (same_label(label, k.label)) {
            *device = DEVICE_SPECIAL_KEY;
            *code = k.code;
            return true;
        }
    }
    for (int c = 1; c < 128; c++) {
        const char* name = key_label(DEVICE_KEY, c);
        // a printed letter names itself in one case only: the folded one
        if (name && (name[1] ? same_label(label, name) : label == name)) {
            *device = DEVICE_KEY;
            *code = c;
            return true;
        }
    }
    return false;
}

static void (*key_taker)(binding_device_t device, int code);

void capture_next_key(void (*take)(binding_device_t device, int code)) { key_taker = take; }

// A key waited for goes to its taker alone; true when it went.
static bool key_taken(binding_device_t device, int code) {
    if (!key_taker)
        return false;
    void (*take)(binding_device_t, int) = key_taker;
    key_taker = nullptr;
    take(device, code);
    return true;
}

// Shift and Caps Lock change a letter's code, not its key: a release under Shift
// lets go of what was pressed without it.
static int folded(unsigned char key) {
    if (key >= 'A' && key <= 'Z')
        return key - 'A' + 'a';
    return key;
}

// True when some binding took the key.
static bool key_event(binding_device_t device, int code, int source, bool down) {
    bool taken = false;
    for (int i = 0; i < binding_count; i++) {
        const binding_t& b = bindings[i];
        // Alt may be let go of first: a release lets go of the key with and without it
        bool released_with_alt = !down && device == DEVICE_KEY && b.device == DEVICE_ALT_KEY;
        if ((b.device != device && !released_with_alt) || b.code != code)
            continue;
        taken = true;
        if (down)
            button_press(b.button, source);
        else
            button_release(b.button, source);
    }
    return taken;
}

void key_down(unsigned char key, int, int) {
    if (!key_taken(DEVICE_KEY, folded(key)))
        key_event(DEVICE_KEY, folded(key), SOURCE_KEYS, true);
}
bool alt_key_down(unsigned char key) { return key_event(DEVICE_ALT_KEY, folded(key), SOURCE_KEYS, true); }
void key_up(unsigned char key, int, int) { key_event(DEVICE_KEY, folded(key), SOURCE_KEYS, false); }
void special_down(int special, int, int) {
    if (!key_taken(DEVICE_SPECIAL_KEY, special))
        key_event(DEVICE_SPECIAL_KEY, special, SOURCE_SPECIAL_KEYS, true);
}
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
    {button_bit(BUTTON_WINDOW), "full screen or a window, at any time"},
    {button_bit(BUTTON_SETTINGS), "the settings, from the menu and the pause screen"},
    {button_bit(BUTTON_WORLDS), "the worlds of five levels to play, from the menu"},
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

// What the menu's lines name, in their order: the first key of each button, in capitals.
static const struct {
    int         line;
    buttons_t   buttons;
    const char* does;
} menu_line_words[] = {
    {0, button_bit(BUTTON_LEFT) | button_bit(BUTTON_RIGHT), "STEER"},
    {0, button_bit(BUTTON_JUMP), "JUMP"},
    {0, button_bit(BUTTON_PAUSE), "PAUSE"},
    {0, button_bit(BUTTON_MUTE), "SOUND"},
    {0, button_bit(BUTTON_RECORDS), "RECORDS AND REPLAYS"},
    {0, button_bit(BUTTON_GHOST), "GHOST"},
    {1, button_bit(BUTTON_WORLDS), "WORLDS"},
    {1, button_bit(BUTTON_SETTINGS), "SETTINGS"},
    {1, button_bit(BUTTON_WINDOW), "FULL SCREEN OR WINDOW"},
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

std::string menu_keys_line(int row) {
    std::string line;
    for (const auto& words : menu_line_words)
        if (words.line == row)
            line += (line.empty() ? "" : "     ") + first_keys(words.buttons) + " " + words.does;
    return line;
}

std::string settings_keys_line() {
    return first_keys(button_bit(BUTTON_MENU_UP) | button_bit(BUTTON_MENU_DOWN)) + " CHOOSE     " +
           first_keys(button_bit(BUTTON_LEFT) | button_bit(BUTTON_RIGHT)) + " LESS OR MORE     " +
           first_keys(button_bit(BUTTON_CONFIRM)) + " CHANGE     " + first_keys(button_bit(BUTTON_BACK)) + " BACK";
}

std::string worlds_keys_line() {
    return first_keys(button_bit(BUTTON_MENU_UP) | button_bit(BUTTON_MENU_DOWN)) + " CHOOSE     " +
           first_keys(button_bit(BUTTON_CONFIRM)) + " PLAY     " + first_keys(button_bit(BUTTON_BACK)) + " BACK";
}

std::string pause_keys_line() { return first_keys(button_bit(BUTTON_SETTINGS)) + " SETTINGS"; }

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
