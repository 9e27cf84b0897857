// The binding table: the one place that names the keys and the controls each
// button answers to. The key callbacks and the pads read it; so do --help and the tests.
#pragma once
#include <string>

#include "game/command.h"

enum binding_device_t {
    DEVICE_KEY,           // a character, letters as lower case
    DEVICE_SPECIAL_KEY,   // one of the window library's special keys
    DEVICE_ALT_KEY,       // a character pressed with Alt held
    DEVICE_PAD,           // a pad control, as pad_poll reports it
};

struct binding_t {
    binding_device_t device;
    int              code;
    button_t         button;
    const char*      name;   // as --help and the manual page name it
};

extern const binding_t bindings[];
extern const int       binding_count;

// The window library's keyboard callbacks.
void key_down(unsigned char key, int x, int y);
// A character pressed with Alt held: true when a binding of Alt took it, else it is a plain press.
bool alt_key_down(unsigned char key);
void key_up(unsigned char key, int x, int y);
void special_down(int special, int x, int y);
void special_up(int special, int x, int y);
// The controls every pad holds now: buttons pressed and released under the pads' own source.
void hold_pad_controls(unsigned controls);
// --help's list of keys: a line for each thing a player does, the keys from the table.
std::string keys_help();
// The menu's lines of keys, the bottom one first (steer, jump, pause, sound, records, ghost;
// then the settings and the window), and the line shown while the sound is off, each
// naming the table's first key for its buttons.
const int   MENU_KEY_LINES = 2;
std::string menu_keys_line(int row);
std::string sound_off_line();
