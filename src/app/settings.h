// The player's settings: the keys, the volumes, full screen or a window, large text and
// the ghost, kept in "settings.txt" in the player's folder.
#pragma once
#include <string>
#include <vector>

#include "app/bindings.h"
#include "sound/mixer.h"

struct key_choice_t {
    binding_device_t device;
    int              code;
};

struct settings_t {
    bool ghost_shown = true;
    int  effects_volume = SOUND_VOLUME_MAX;   // 0 to SOUND_VOLUME_MAX, the mixer's steps
    int  engine_volume = SOUND_VOLUME_MAX;
    bool full_screen = true;
    bool large_text = false;
    // a key for each row of the binding table the settings may change, in the table's order;
    // none before the settings are loaded: the table's own stand
    std::vector<key_choice_t> keys;
};

extern settings_t settings;

settings_t  settings_defaults();
std::string settings_to_text(const settings_t& s);
// Rows left out keep their defaults; false with why for a file the game did not write.
bool settings_from_text(const std::string& text, settings_t* s, std::string* why);
// Read at start-up, before the window opens: a damaged or later version's file is set
// aside with one line on standard error, and the defaults are played with.
void settings_load();
// Written through the one writer; a file that could not be set aside is never written over.
void settings_save();
// The binding table's keyboard rows as the settings have them.
void settings_apply_keys();
// The key for a changeable row of the binding table: bound there, and the row that had it
// gets the key it leaves, so no button is left without its key. Enter and Esc are refused.
bool settings_bind(int key_index, key_choice_t key, std::string* why);
// The binding table's rows the settings may change, in order.
std::vector<int> changeable_binding_rows();
// What a changeable button does, as the settings screen names it.
const char* button_label(button_t button);
