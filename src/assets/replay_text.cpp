#include "assets/replay_text.h"

#include <sstream>

// Every button as a line names it, in the order a line names them.
static const struct {
    button_t    button;
    const char* key;
} run_keys[] = {
    {BUTTON_LEFT, "a"},       {BUTTON_RIGHT, "d"},
    {BUTTON_JUMP, "space"},   {BUTTON_MENU_UP, "w"},
    {BUTTON_MENU_DOWN, "s"},  {BUTTON_CONFIRM, "enter"},
    {BUTTON_BACK, "esc"},     {BUTTON_PAUSE, "p"},
    {BUTTON_MUTE, "m"},       {BUTTON_PAUSE_OR_LEAVE, "pad_back"},
    {BUTTON_CANCEL, "pad_b"}, {BUTTON_RECORDS, "r"},
    {BUTTON_GHOST, "g"},      {BUTTON_FAST, "f"},
    {BUTTON_WINDOW, "f11"},   {BUTTON_SETTINGS, "o"},
    {BUTTON_WORLDS, "l"},
};

// The most frames one line may hold.
static const long RUN_MAX_FRAMES = 1000000;

std::string keys_name(buttons_t held) {
    std::string name;
    for (const auto& k : run_keys) {
        if (held & button_bit(k.button))
            name += (name.empty() ? "" : "+") + std::string(k.key);
    }
    return name.empty() ? "-" : name;
}

std::string replay_keys_name(buttons_t held) { return keys_name(held & replay_buttons); }

// One key's button bit among the readable ones, 0 for a name that is none.
static buttons_t key_bit(const std::string& key, buttons_t readable) {
    for (const auto& k : run_keys) {
        if (key == k.key)
            return button_bit(k.button) & readable;
    }
    return 0;
}

bool keys_from_name(const std::string& name, buttons_t readable, buttons_t* held) {
    *held = 0;
    if (name == "-")
        return true;
    std::stringstream in(name);
    std::string       key;
    while (std::getline(in, key, '+')) {
        buttons_t bit = key_bit(key, readable);
        if (!bit)
            return false;
        *held |= bit;
    }
    return !name.empty();
}

bool next_run_line(const std::string& text, size_t* at, int* number, std::string* line) {
    while (*at < text.size()) {
        size_t end = text.find('\n', *at);
        if (end == std::string::npos)
            end = text.size();
        line->assign(text, *at, end - *at);
        *at = end + 1;
        ++*number;
        if (!line->empty() && line->back() == '\r')
            line->pop_back();
        if (!line->empty() && (*line)[0] != '#')
            return true;
    }
    return false;
}

bool run_from_fields(std::istream& fields, buttons_t readable, long* count, buttons_t* held) {
    std::string keys;
    *count = 0;
    return (fields >> *count >> keys) && *count > 0 && *count <= RUN_MAX_FRAMES && keys_from_name(keys, readable, held);
}

std::string replay_to_text(const std::vector<buttons_t>& frames, const std::string& notes) {
    std::string text = notes;
    size_t      i = 0;
    while (i < frames.size()) {
        size_t run = 1;
        while (i + run < frames.size() && frames[i + run] == frames[i])
            run++;
        text += std::to_string(run) + " " + replay_keys_name(frames[i]) + "\n";
        i += run;
    }
    return text;
}

bool replay_from_text(const std::string& text, std::vector<buttons_t>* frames, std::string* why) {
    frames->clear();
    size_t      at = 0;
    int         number = 0;
    std::string line;
    while (next_run_line(text, &at, &number, &line)) {
        std::istringstream fields(line);
        long               count = 0;
        std::string        extra;
        buttons_t          held = 0;
        if (!run_from_fields(fields, replay_buttons, &count, &held) || (fields >> extra)) {
            *why = "line " + std::to_string(number) + ": not \"count keys\": " + line;
            return false;
        }
        if (frames->size() + (size_t)count > replay_max_frames) {
            *why = "line " + std::to_string(number) + ": more than " + std::to_string(replay_max_frames) + " frames";
            return false;
        }
        frames->insert(frames->end(), (size_t)count, held);
    }
    return true;
}
