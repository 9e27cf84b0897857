#include "assets/replay_text.h"

#include <sstream>

// The buttons a replay holds, in the order a line names them.
static const struct {
    button_t    button;
    const char* key;
} replay_keys[] = {
    {BUTTON_LEFT, "a"},
    {BUTTON_RIGHT, "d"},
    {BUTTON_JUMP, "space"},
};

// The most frames one line may hold.
static const long RUN_MAX_FRAMES = 1000000;

std::string replay_keys_name(buttons_t held) {
    std::string name;
    for (const auto& k : replay_keys) {
        if (held & button_bit(k.button))
            name += (name.empty() ? "" : "+") + std::string(k.key);
    }
    return name.empty() ? "-" : name;
}

// One key's button bit, 0 for a name that is none.
static buttons_t key_bit(const std::string& key) {
    for (const auto& k : replay_keys) {
        if (key == k.key)
            return button_bit(k.button);
    }
    return 0;
}

static bool keys_from_name(const std::string& name, buttons_t* held) {
    *held = 0;
    if (name == "-")
        return true;
    std::stringstream in(name);
    std::string       key;
    while (std::getline(in, key, '+')) {
        buttons_t bit = key_bit(key);
        if (!bit)
            return false;
        *held |= bit;
    }
    return !name.empty();
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
    std::istringstream in(text);
    std::string        line;
    int                number = 0;
    while (std::getline(in, line)) {
        number++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        long               count = 0;
        std::string        keys, extra;
        buttons_t          held = 0;
        if (!(fields >> count >> keys) || (fields >> extra) || count <= 0 || count > RUN_MAX_FRAMES ||
            !keys_from_name(keys, &held)) {
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
