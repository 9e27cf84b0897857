#include "app/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/paths.h"
#include "platform/platform.h"

settings_t settings;

static const char     VERSION_LINE_START[] = "quovix settings ";
static const int      SETTINGS_VERSION = 1;
static const uint64_t SETTINGS_FILE_MAX_BYTES = 16 << 10;

// A file the game could not set aside is the player's to mend: never written over.
static bool file_writable = true;

// Each changeable button as the file names it and the settings screen shows it.
static const struct {
    button_t    button;
    const char* name;
    const char* label;
} button_names[] = {
    {BUTTON_LEFT, "left", "STEER LEFT"},
    {BUTTON_RIGHT, "right", "STEER RIGHT"},
    {BUTTON_JUMP, "jump", "JUMP"},
    {BUTTON_MENU_UP, "menu_up", "MENU UP"},
    {BUTTON_MENU_DOWN, "menu_down", "MENU DOWN"},
    {BUTTON_PAUSE, "pause", "PAUSE"},
    {BUTTON_MUTE, "sound", "SOUND OFF AND ON"},
    {BUTTON_RECORDS, "records", "RECORDS AND REPLAYS"},
    {BUTTON_GHOST, "ghost", "GHOST"},
    {BUTTON_FAST, "fast", "WATCH AT FOUR TIMES"},
    {BUTTON_WINDOW, "window", "FULL SCREEN OR WINDOW"},
    {BUTTON_SETTINGS, "settings", "SETTINGS"},
    {BUTTON_WORLDS, "worlds", "WORLDS"},
};

static const char* button_name(button_t button) {
    for (const auto& b : button_names)
        if (b.button == button)
            return b.name;
    return "?";
}

const char* button_label(button_t button) {
    for (const auto& b : button_names)
        if (b.button == button)
            return b.label;
    return "?";
}

std::vector<int> changeable_binding_rows() {
    std::vector<int> rows;
    for (int i = 0; i < binding_count; i++)
        if (binding_can_change(i))
            rows.push_back(i);
    return rows;
}

settings_t settings_defaults() {
    settings_t s;
    for (int row : changeable_binding_rows())
        s.keys.push_back({default_binding(row).device, default_binding(row).code});
    return s;
}

// A label as the file keeps it: one word, spaces as underscores.
static std::string file_word(const char* label) {
    std::string word = label;
    for (char& c : word)
        c = c == ' ' ? '_' : c;
    return word;
}

std::string settings_to_text(const settings_t& s) {
    auto        on = [](bool b) { return b ? "on" : "off"; };
    std::string text = VERSION_LINE_START + std::to_string(SETTINGS_VERSION) + "\n";
    text += std::string("ghost ") + on(s.ghost_shown) + "\n";
    text += "effects volume " + std::to_string(s.effects_volume) + "\n";
    text += "engine volume " + std::to_string(s.engine_volume) + "\n";
    text += std::string("full screen ") + on(s.full_screen) + "\n";
    text += std::string("large text ") + on(s.large_text) + "\n";
    std::vector<int> rows = changeable_binding_rows();
    for (size_t i = 0; i < rows.size() && i < s.keys.size(); i++)
        text += std::string("key ") + button_name(bindings[rows[i]].button) + " " +
                file_word(key_label(s.keys[i].device, s.keys[i].code)) + "\n";
    return text;
}

static bool read_switch(const std::string& word, bool* value) {
    if (word != "on" && word != "off")
        return false;
    *value = word == "on";
    return true;
}

static bool read_volume(const std::string& word, int* value) {
    if (word.empty() || word.size() > 2 || word.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = atoi(word.c_str());
    return *value <= SOUND_VOLUME_MAX;
}

// The file's key lines, by button: each button's keys in the order its rows take them.
struct key_lines_t {
    std::vector<std::vector<key_choice_t>> of_button = std::vector<std::vector<key_choice_t>>(BUTTON_COUNT);
};

static bool read_key_line(const std::string& rest, key_lines_t* keys, std::string* why) {
    size_t space = rest.find(' ');
    if (space == std::string::npos)
        return false;
    std::string button = rest.substr(0, space), label = rest.substr(space + 1);
    for (char& c : label)
        c = c == '_' ? ' ' : c;
    for (const auto& b : button_names) {
        if (button != b.name)
            continue;
        key_choice_t key;
        if (!key_of_label(label, &key.device, &key.code)) {
            *why = "no key is named " + rest.substr(space + 1);
            return false;
        }
        keys->of_button[b.button].push_back(key);
        return true;
    }
    *why = "no button is named " + button;
    return false;
}

static bool same_key(key_choice_t a, key_choice_t b) { return a.device == b.device && a.code == b.code; }

// Buttons newer than the first settings files: a file from before them names no key for them.
static const button_t FIRST_BUTTON_AFTER_SETTINGS_FILES = BUTTON_WORLDS;

static bool key_in_use(const settings_t& s, key_choice_t key) {
    for (const key_choice_t& k : s.keys)
        if (same_key(k, key))
            return true;
    for (int r = 0; r < binding_count; r++)
        if (!binding_can_change(r) && bindings[r].device == key.device && bindings[r].code == key.code)
            return true;
    return false;
}

// A button newer than the file keeps its own key unless the file gave that key to another
// row: then it takes the first letter or digit nobody holds, and the player's keys stand.
static void newer_buttons_yield(const key_lines_t& lines, settings_t* s) {
    std::vector<int> rows = changeable_binding_rows();
    for (size_t i = 0; i < rows.size(); i++) {
        button_t button = bindings[rows[i]].button;
        if (button < FIRST_BUTTON_AFTER_SETTINGS_FILES || !lines.of_button[button].empty())
            continue;
        bool taken = false;
        for (size_t j = 0; j < rows.size(); j++)
            taken = taken || (j != i && same_key(s->keys[i], s->keys[j]));
        const char spares[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (const char* c = spares; taken && *c; c++) {
            key_choice_t spare = {DEVICE_KEY, *c};
            if (!key_in_use(*s, spare)) {
                s->keys[i] = spare;
                taken = false;
            }
        }
    }
}

// Each button's keys in its rows; a key on two rows, or Enter or Esc, is a file the game never wrote.
static bool keys_to_rows(const key_lines_t& lines, settings_t* s, std::string* why) {
    std::vector<int> rows = changeable_binding_rows();
    std::vector<int> taken(BUTTON_COUNT, 0);
    for (size_t i = 0; i < rows.size(); i++) {
        button_t                         button = bindings[rows[i]].button;
        const std::vector<key_choice_t>& given = lines.of_button[button];
        if (given.empty())
            continue;
        if ((size_t)taken[button] >= given.size()) {
            *why = std::string("too few keys for ") + button_name(button);
            return false;
        }
        s->keys[i] = given[taken[button]++];
    }
    newer_buttons_yield(lines, s);
    for (int b = 0; b < BUTTON_COUNT; b++) {
        if ((size_t)taken[b] < lines.of_button[b].size()) {
            *why = std::string("too many keys for ") + button_name((button_t)b);
            return false;
        }
    }
    for (size_t i = 0; i < s->keys.size(); i++) {
        for (int r = 0; r < binding_count; r++) {
            const binding_t& fixed = bindings[r];
            if (!binding_can_change(r) && fixed.device == s->keys[i].device && fixed.code == s->keys[i].code) {
                *why = std::string(key_label(fixed.device, fixed.code)) + " cannot be bound";
                return false;
            }
        }
        for (size_t j = i + 1; j < s->keys.size(); j++) {
            if (same_key(s->keys[i], s->keys[j])) {
                *why = std::string(key_label(s->keys[i].device, s->keys[i].code)) + " is bound twice";
                return false;
            }
        }
    }
    return true;
}

static bool read_line(const std::string& line, settings_t* s, key_lines_t* keys, std::string* why) {
    auto rest_after = [&](const char* start, std::string* rest) {
        if (line.rfind(start, 0) != 0)
            return false;
        *rest = line.substr(strlen(start));
        return true;
    };
    std::string rest;
    if (rest_after("ghost ", &rest))
        return read_switch(rest, &s->ghost_shown);
    if (rest_after("effects volume ", &rest))
        return read_volume(rest, &s->effects_volume);
    if (rest_after("engine volume ", &rest))
        return read_volume(rest, &s->engine_volume);
    if (rest_after("full screen ", &rest))
        return read_switch(rest, &s->full_screen);
    if (rest_after("large text ", &rest))
        return read_switch(rest, &s->large_text);
    if (rest_after("key ", &rest))
        return read_key_line(rest, keys, why);
    return false;
}

bool settings_from_text(const std::string& text, settings_t* s, std::string* why) {
    settings_t  read = settings_defaults();
    key_lines_t keys;
    size_t      at = 0;
    for (int number = 1; at < text.size(); number++) {
        size_t      end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1) {
            std::string version = line.rfind(VERSION_LINE_START, 0) == 0 ? line.substr(strlen(VERSION_LINE_START)) : "";
            if (version.empty() || version.size() > 9 || version.find_first_not_of("0123456789") != std::string::npos) {
                *why = "not a settings file";
                return false;
            }
            if (atoi(version.c_str()) != SETTINGS_VERSION) {
                *why = "settings of another version (" + version + ")";
                return false;
            }
            continue;
        }
        if (line.empty())
            continue;
        std::string what;
        if (!read_line(line, &read, &keys, &what)) {
            *why = "line " + std::to_string(number) + ": " + (what.empty() ? "not a setting" : what);
            return false;
        }
    }
    if (text.empty()) {
        *why = "empty";
        return false;
    }
    if (!keys_to_rows(keys, &read, why))
        return false;
    *s = read;
    return true;
}

void settings_apply_keys() {
    std::vector<int> rows = changeable_binding_rows();
    for (size_t i = 0; i < rows.size() && i < settings.keys.size(); i++) {
        binding_t& b = bindings[rows[i]];
        b.device = settings.keys[i].device;
        b.code = settings.keys[i].code;
        b.name = key_label(b.device, b.code);
    }
}

bool settings_bind(int key_index, key_choice_t key, std::string* why) {
    if (key_index < 0 || key_index >= (int)settings.keys.size())
        return false;
    for (int r = 0; r < binding_count; r++) {
        if (!binding_can_change(r) && bindings[r].device == key.device && bindings[r].code == key.code) {
            *why = std::string(key_label(key.device, key.code)) + " stays as it is";
            return false;
        }
    }
    if (!key_label(key.device, key.code)) {
        *why = "that key cannot be bound";
        return false;
    }
    key_choice_t left = settings.keys[key_index];
    for (key_choice_t& other : settings.keys)
        if (same_key(other, key))
            other = left;
    settings.keys[key_index] = key;
    settings_apply_keys();
    return true;
}

void settings_load() {
    settings = settings_defaults();
    settings_apply_keys();
    std::string why, text, aside;
    FILE*       f = platform_open_regular(SETTINGS_FILE, SETTINGS_FILE_MAX_BYTES, &why);
    // a first start has none: nothing is wrong
    if (!f && why == platform_cannot_open && !platform_exists(SETTINGS_FILE))
        return;
    if (f && platform_read_all(f, SETTINGS_FILE_MAX_BYTES, &text, &why) && settings_from_text(text, &settings, &why)) {
        settings_apply_keys();
        return;
    }
    settings = settings_defaults();
    file_writable = platform_set_aside(SETTINGS_FILE, &aside);
    if (file_writable)
        fprintf(stderr, "quovix: %s: %s; set aside as %s, the defaults are used\n", SETTINGS_FILE, why.c_str(),
                aside.c_str());
    else
        fprintf(stderr, "quovix: %s: %s; the defaults are used and the file is left as it is\n", SETTINGS_FILE,
                why.c_str());
}

void settings_save() {
    if (!file_writable)
        return;
    std::string text = settings_to_text(settings), why;
    if (!platform_write_file(SETTINGS_FILE, text.data(), text.size(), &why))
        fprintf(stderr, "quovix: %s: %s\n", SETTINGS_FILE, why.c_str());
}
