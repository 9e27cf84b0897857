#include "app/setting_rows.h"

#include <algorithm>

#include "app/bindings.h"
#include "app/settings.h"
#include "game/state.h"
#include "render/render.h"

// After the key rows, in this order.
enum {
    ROW_EFFECTS_VOLUME,
    ROW_ENGINE_VOLUME,
    ROW_FULL_SCREEN,
    ROW_LARGE_TEXT,
    ROW_DEFAULTS,
    ROWS_AFTER_KEYS,
};

// The key row waiting for its new key; -1 when none is.
static int key_row_waiting = -1;

static std::string capitals(const char* text) {
    std::string s = text ? text : "?";
    for (char& c : s)
        c = (char)toupper((unsigned char)c);
    return s;
}

void name_the_keys() {
    records_view.menu_keys.clear();
    for (int row = 0; row < MENU_KEY_LINES; row++)
        records_view.menu_keys.push_back(menu_keys_line(row));
    records_view.sound_off = sound_off_line();
    records_view.pause_keys = pause_keys_line();
    records_view.settings_keys = settings_keys_line();
    records_view.worlds_keys = worlds_keys_line();
}

static void list_rows() {
    std::vector<int>          rows = changeable_binding_rows();
    std::vector<std::string>& names = records_view.setting_names;
    std::vector<std::string>& values = records_view.setting_values;
    names.clear();
    values.clear();
    for (size_t i = 0; i < rows.size(); i++) {
        names.push_back(button_label(bindings[rows[i]].button));
        values.push_back((int)i == key_row_waiting ? "..." : capitals(bindings[rows[i]].name));
    }
    auto on = [](bool b) { return b ? "ON" : "OFF"; };
    names.insert(names.end(), {"EFFECTS VOLUME", "ENGINE VOLUME", "FULL SCREEN", "LARGE TEXT", "RESTORE THE DEFAULTS"});
    values.insert(values.end(), {std::to_string(settings.effects_volume), std::to_string(settings.engine_volume),
                                 on(settings.full_screen), on(settings.large_text), ""});
    game.flow.settings_rows = (int16_t)names.size();
}

void list_settings_when_asked() {
    if (!game.requests.list_settings)
        return;
    game.requests.list_settings = false;
    key_row_waiting = -1;
    capture_next_key(nullptr);
    records_view.setting_note.clear();
    list_rows();
}

static void take_key(binding_device_t device, int code) {
    int row = key_row_waiting;
    key_row_waiting = -1;
    records_view.setting_note.clear();
    std::string why;
    // Esc keeps the key the row had
    if (device == DEVICE_KEY && code == 27) {
    } else if (settings_bind(row, {device, code}, &why)) {
        settings_save();
        name_the_keys();
    } else {
        records_view.setting_note = capitals(why.c_str());
    }
    list_rows();
}

static void wait_for_key(int row) {
    key_row_waiting = row;
    capture_next_key(take_key);
    records_view.setting_note = "PRESS THE NEW KEY FOR " + records_view.setting_names[row] + "     ESC KEEPS IT";
}

static int stepped(int volume, int change) {
    if (change == 0)
        return volume == SOUND_VOLUME_MAX ? 0 : volume + 1;
    return std::max(0, std::min(SOUND_VOLUME_MAX, volume + change));
}

static void change_row(int row, int change) {
    switch (row) {
    case ROW_EFFECTS_VOLUME: settings.effects_volume = stepped(settings.effects_volume, change); break;
    case ROW_ENGINE_VOLUME: settings.engine_volume = stepped(settings.engine_volume, change); break;
    case ROW_FULL_SCREEN: settings.full_screen = !settings.full_screen; break;
    case ROW_LARGE_TEXT: settings.large_text = !settings.large_text; break;
    case ROW_DEFAULTS:
        if (change != 0)
            return;
        {
            // the ghost is g's, not a row of this screen
            bool ghost = settings.ghost_shown;
            settings = settings_defaults();
            settings.ghost_shown = ghost;
        }
        settings_apply_keys();
        name_the_keys();
        break;
    }
    settings_save();
}

void change_setting_when_asked() {
    requests_t& requests = game.requests;
    // the screen left while a key was asked for: the next key is the buttons' again
    if (!game.flow.settings_open && key_row_waiting >= 0) {
        key_row_waiting = -1;
        capture_next_key(nullptr);
    }
    if (!requests.setting_asked)
        return;
    requests.setting_asked = false;
    int keys = (int)changeable_binding_rows().size(), row = requests.setting_row;
    if (key_row_waiting >= 0 || row < 0 || row >= keys + ROWS_AFTER_KEYS)
        return;
    records_view.setting_note.clear();
    if (row < keys) {
        if (requests.setting_change == 0)
            wait_for_key(row);
    } else {
        change_row(row - keys, requests.setting_change);
    }
    list_rows();
}
