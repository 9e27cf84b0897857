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

// As the settings left them: the keyboard's rows may be bound to other keys.
extern binding_t bindings[];
extern const int binding_count;
// The table as the game ships it.
const binding_t& default_binding(int row);
// Whether the settings may bind a row to another key: Enter and Esc drive the settings themselves.
bool binding_can_change(int row);
// A key's name as the table, --help and the screens give it ("a", "space", "left arrow",
// "F11"); nullptr for a key no binding can take.
const char* key_label(binding_device_t device, int code);
// The key a label names, as key_label gives it, letters in either case; false for none.
bool key_of_label(const std::string& label, binding_device_t* device, int* code);
// The next key pressed goes to `take` instead of the buttons, once; nullptr stops waiting.
void capture_next_key(void (*take)(binding_device_t device, int code));

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
// then the worlds, the settings and the window), and the line shown while the sound is off, each
// naming the table's first key for its buttons.
const int   MENU_KEY_LINES = 2;
std::string menu_keys_line(int row);
std::string sound_off_line();
// Under the pause screen's hint: the key that opens the settings from it.
std::string pause_keys_line();
// The settings screen's keys: choose, less or more, change, back.
std::string settings_keys_line();
// The world picker's keys: choose, play, back.
std::string worlds_keys_line();
