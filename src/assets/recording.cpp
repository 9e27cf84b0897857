#include "assets/recording.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "assets/replay_text.h"

static const char VERSION_LINE[] = "quovix recording";
// A frame's clock step as one character: the steps of 0 to 61 ms a frame at any usual rate.
static const char STEP_CHARS[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
static const int  STEP_CHAR_COUNT = sizeof(STEP_CHARS) - 1;
// Alike steps this many or more in a row are written once with their count.
static const size_t STEPS_PACKED_FROM = 4;
static const int    END_FIELDS = 4 * LEVEL_COUNT + 2;

std::string content_hash(const std::string& bytes) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char hex[17];
    snprintf(hex, sizeof(hex), "%016llx", (unsigned long long)h);
    return hex;
}

bool text_is_recording(const std::string& text) {
    size_t n = strlen(VERSION_LINE);
    return text.compare(0, n, VERSION_LINE) == 0 && text.size() > n && text[n] == ' ';
}

static uint32_t scale_bits(float scale) {
    uint32_t bits;
    memcpy(&bits, &scale, sizeof(bits));
    return bits;
}

static std::string step_text(int32_t step) {
    if (step >= 0 && step < STEP_CHAR_COUNT)
        return std::string(1, STEP_CHARS[step]);
    return "(" + std::to_string(step) + ")";
}

// What a run of frames shares besides its clock steps.
struct run_key_t {
    buttons_t held;
    bool      pressed_given;   // pressed is not the buttons held now and not in the frame before
    buttons_t pressed;
    bool      focused;
    uint32_t  scale;
};

static run_key_t key_of(const command_t& cmd, buttons_t held_before) {
    bool given = cmd.pressed != (cmd.held & ~held_before);
    return {cmd.held, given, given ? cmd.pressed : 0, cmd.focused, scale_bits(cmd.speed_scale)};
}

static bool same_run(const run_key_t& a, const run_key_t& b) {
    return a.held == b.held && a.pressed_given == b.pressed_given && a.pressed == b.pressed && a.focused == b.focused &&
           a.scale == b.scale;
}

static std::string header_text(const recording_t& r) {
    std::string text = std::string(VERSION_LINE) + " " + std::to_string(RECORDING_VERSION) + "\n";
    text += "game " + r.game_version + "\n";
    for (int i = 0; i < LEVEL_COUNT; i++)
        text += "level " + std::to_string(i + 1) + " " + r.levels[i].name + " " + r.levels[i].hash + "\n";
    text += "screen " + std::to_string(r.screen_w) + " " + std::to_string(r.screen_h) + "\n";
    text += "end";
    for (const level_record_t& rec : r.end.records)
        text += " " + std::to_string(rec.level) + " " + std::to_string(rec.stars) + " " + std::to_string(rec.time) +
                " " + std::to_string(rec.lives);
    text += " " + std::to_string(r.end.total_stars) + " " + std::to_string(r.end.total_time) + "\n";
    text += "points " + std::to_string(r.points) + "\n";
    text += "clock " + std::to_string(r.frames.empty() ? 0 : r.frames[0].now_ms) + "\n";
    text += "# each line: frames, keys held, then !keys pressed where not those held anew, focus and\n"
            "# scale where they change, and a clock step a frame: 0-9 a-z A-Z for 0 to 61 ms, (N) for others,\n"
            "# a step then {N} for N steps alike\n";
    return text;
}

// A run's line up to its clock steps: only what differs from the line before is written.
static std::string run_head(long count, const run_key_t& key, bool* focused, uint32_t* scale) {
    std::string line = std::to_string(count) + " " + keys_name(key.held);
    if (key.pressed_given)
        line += " !" + keys_name(key.pressed);
    if (key.focused != *focused)
        line += key.focused ? " focused" : " unfocused";
    if (key.scale != *scale) {
        float value;
        memcpy(&value, &key.scale, sizeof(value));
        char buf[32];
        snprintf(buf, sizeof(buf), " scale=%.9g", value);
        line += buf;
    }
    *focused = key.focused;
    *scale = key.scale;
    return line + " ";
}

// The same step many times over, as a menu's frames have it: "0{3600}".
static std::string packed_steps(const std::vector<std::string>& steps) {
    std::string text;
    for (size_t i = 0, n; i < steps.size(); i += n) {
        for (n = 1; i + n < steps.size() && steps[i + n] == steps[i];)
            n++;
        if (n >= STEPS_PACKED_FROM)
            text += steps[i] + "{" + std::to_string(n) + "}";
        else
            for (size_t k = 0; k < n; k++)
                text += steps[i];
    }
    return text;
}

std::string recording_to_text(const recording_t& r) {
    std::string text = header_text(r);
    bool        focused = true;
    uint32_t    scale = scale_bits(1.0f);
    buttons_t   held_before = 0;
    int32_t     now = r.frames.empty() ? 0 : r.frames[0].now_ms;
    size_t      i = 0;
    while (i < r.frames.size()) {
        run_key_t                key = key_of(r.frames[i], held_before);
        std::vector<std::string> step_texts;
        size_t                   run = 0;
        for (; i + run < r.frames.size(); run++) {
            const command_t& cmd = r.frames[i + run];
            if (run > 0 && !same_run(key_of(cmd, held_before), key))
                break;
            step_texts.push_back(step_text((int32_t)((uint32_t)cmd.now_ms - (uint32_t)now)));
            now = cmd.now_ms;
            held_before = cmd.held;
        }
        text += run_head((long)run, key, &focused, &scale) + packed_steps(step_texts) + "\n";
        i += run;
    }
    return text;
}

// A whole decimal number of int32_t's range, nothing around it.
static bool int_field(const std::string& s, int32_t* value) {
    if (s.empty() || s.size() > 12)
        return false;
    errno = 0;
    char*     end = nullptr;
    long long v = strtoll(s.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    *value = (int32_t)v;
    return true;
}

static bool is_hash(const std::string& s) {
    if (s == "-")
        return true;
    return s.size() == 16 && s.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// The frames read so far and what the lines carry on from one to the next.
struct reading_t {
    recording_t* r;
    bool         focused;
    float        scale;
    buttons_t    held_before;
    uint32_t     clock_sum;   // the steps so far: the clock line's reading is added at the end
    int32_t      clock;
    bool         seen_level[LEVEL_COUNT];
    bool         seen_game, seen_screen, seen_end, seen_points, seen_clock;
};

// "{N}" after a step: it comes N times in all; no more than the line's frames.
static bool repeat_from_text(const std::string& text, size_t* i, size_t most, std::vector<int32_t>* steps) {
    if (*i + 1 >= text.size() || text[*i + 1] != '{')
        return true;
    size_t  close = text.find('}', *i + 2);
    int32_t times;
    if (close == std::string::npos || steps->empty() || !int_field(text.substr(*i + 2, close - *i - 2), &times) ||
        times < 2 || steps->size() - 1 + (size_t)times > most)
        return false;
    steps->insert(steps->end(), (size_t)times - 1, steps->back());
    *i = close;
    return true;
}

static bool steps_from_text(const std::string& text, size_t most, std::vector<int32_t>* steps) {
    for (size_t i = 0; i < text.size(); i++) {
        const char* at = strchr(STEP_CHARS, text[i]);
        size_t      close = text.find(')', i);
        int32_t     step;
        if (at && text[i] != '\0') {
            steps->push_back((int32_t)(at - STEP_CHARS));
        } else if (text[i] == '(' && close != std::string::npos &&
                   int_field(text.substr(i + 1, close - i - 1), &step)) {
            steps->push_back(step);
            i = close;
        } else {
            return false;
        }
        if (!repeat_from_text(text, &i, most, steps))
            return false;
    }
    return true;
}

static bool option_from_field(const std::string& field, reading_t* rd, bool* pressed_given, buttons_t* pressed) {
    if (field == "focused" || field == "unfocused") {
        rd->focused = field == "focused";
        return true;
    }
    if (field[0] == '!') {
        *pressed_given = true;
        return keys_from_name(field.substr(1), ~(buttons_t)0, pressed);
    }
    if (field.compare(0, 6, "scale=") != 0 || field.size() == 6)
        return false;
    char* end = nullptr;
    float scale = strtof(field.c_str() + 6, &end);
    if (*end != '\0' || !std::isfinite(scale))
        return false;
    rd->scale = scale;
    return true;
}

static bool frames_from_line(const std::string& line, reading_t* rd, std::string* what) {
    std::istringstream       fields(line);
    long                     count;
    buttons_t                held = 0, pressed = 0;
    bool                     pressed_given = false;
    std::vector<std::string> rest;
    std::string              field;
    bool                     head = run_from_fields(fields, ~(buttons_t)0, &count, &held);
    while (head && fields >> field)
        rest.push_back(field);
    std::vector<int32_t> steps;
    if (!head || rest.empty() || !steps_from_text(rest.back(), (size_t)count, &steps)) {
        *what = "not \"count keys [options] clock-steps\"";
        return false;
    }
    for (size_t i = 0; i + 1 < rest.size(); i++) {
        if (!option_from_field(rest[i], rd, &pressed_given, &pressed)) {
            *what = "not a pressed key, focus or scale: " + rest[i];
            return false;
        }
    }
    if (steps.size() != (size_t)count) {
        *what = std::to_string(count) + " frames but " + std::to_string(steps.size()) + " clock steps";
        return false;
    }
    std::vector<command_t>& frames = rd->r->frames;
    if (frames.size() + (size_t)count > replay_max_frames) {
        *what = "more than " + std::to_string(replay_max_frames) + " frames";
        return false;
    }
    for (int32_t step : steps) {
        rd->clock_sum += (uint32_t)step;
        command_t cmd{};
        cmd.held = held;
        cmd.pressed = pressed_given ? pressed : held & ~rd->held_before;
        cmd.focused = rd->focused;
        cmd.now_ms = (int32_t)rd->clock_sum;
        cmd.speed_scale = rd->scale;
        frames.push_back(cmd);
        rd->held_before = held;
    }
    return true;
}

// Sets the header's flag; false when it was set already.
static bool first_time(bool* seen, const std::string& name, std::string* what) {
    if (*seen)
        *what = "a second \"" + name + "\" line";
    bool first = !*seen;
    *seen = true;
    return first;
}

static bool level_from_fields(const std::vector<std::string>& f, reading_t* rd, std::string* what) {
    int32_t n = 0;
    if (f.size() != 4 || !int_field(f[1], &n) || !is_hash(f[3])) {
        *what = "not \"level N name hash\"";
        return false;
    }
    if (n < 1 || n > LEVEL_COUNT) {
        *what = "no level " + f[1] + ": levels are 1 to " + std::to_string(LEVEL_COUNT);
        return false;
    }
    if (!first_time(&rd->seen_level[n - 1], "level " + f[1], what))
        return false;
    rd->r->levels[n - 1] = {f[2], f[3]};
    return true;
}

static bool end_from_fields(const std::vector<std::string>& f, results_t* end, std::string* what) {
    int32_t v[END_FIELDS];
    bool    ok = f.size() == END_FIELDS + 1;
    for (int i = 0; ok && i < END_FIELDS; i++)
        ok = int_field(f[i + 1], &v[i]);
    if (!ok) {
        *what = "not \"end\" and " + std::to_string(END_FIELDS) + " whole numbers";
        return false;
    }
    for (int i = 0; i < LEVEL_COUNT; i++)
        end->records[i] = {v[4 * i], v[4 * i + 1], v[4 * i + 2], v[4 * i + 3]};
    end->total_stars = v[END_FIELDS - 2];
    end->total_time = v[END_FIELDS - 1];
    return true;
}

static bool numbers_from_fields(const std::vector<std::string>& f, size_t fields, int32_t* a, int32_t* b) {
    return f.size() == fields && int_field(f[1], a) && (fields == 2 || int_field(f[2], b));
}

static bool header_from_line(const std::string& line, reading_t* rd, std::string* what) {
    std::istringstream       in(line);
    std::vector<std::string> f;
    std::string              field;
    while (in >> field)
        f.push_back(field);
    if (f.empty()) {
        *what = "a line of nothing but spaces";
        return false;
    }
    recording_t& r = *rd->r;
    if (f[0] == "level")
        return level_from_fields(f, rd, what);
    if (f[0] == "end")
        return first_time(&rd->seen_end, "end", what) && end_from_fields(f, &r.end, what);
    bool ok = false;
    if (f[0] == "game" && f.size() == 2 && first_time(&rd->seen_game, "game", what)) {
        r.game_version = f[1];
        ok = true;
    } else if (f[0] == "screen" && first_time(&rd->seen_screen, "screen", what)) {
        ok = numbers_from_fields(f, 3, &r.screen_w, &r.screen_h);
    } else if (f[0] == "points" && first_time(&rd->seen_points, "points", what)) {
        ok = numbers_from_fields(f, 2, &r.points, nullptr);
    } else if (f[0] == "clock" && first_time(&rd->seen_clock, "clock", what)) {
        ok = numbers_from_fields(f, 2, &rd->clock, nullptr);
    }
    if (!ok && what->empty())
        *what = "not a frame line nor one of game, level, screen, end, points, clock";
    return ok;
}

static bool version_from_text(const std::string& text, std::string* why) {
    std::string        first = text.substr(0, text.find('\n'));
    std::istringstream in(first);
    std::string        word1, word2, extra;
    int32_t            version = 0;
    std::string        number;
    if (!text_is_recording(text) || !(in >> word1 >> word2 >> number) || (in >> extra) ||
        !int_field(number, &version) || version < 1) {
        *why = "line 1: not \"" + std::string(VERSION_LINE) + " N\"";
        return false;
    }
    if (version > RECORDING_VERSION) {
        *why = "line 1: recording version " + number + " is newer than this game reads (" +
               std::to_string(RECORDING_VERSION) + ")";
        return false;
    }
    return true;
}

static bool headers_all_seen(const reading_t& rd, std::string* why) {
    const struct {
        bool        seen;
        const char* name;
    } headers[] = {{rd.seen_game, "game"},
                   {rd.seen_screen, "screen"},
                   {rd.seen_end, "end"},
                   {rd.seen_points, "points"},
                   {rd.seen_clock, "clock"}};
    for (const auto& header : headers) {
        if (!header.seen) {
            *why = "no \"" + std::string(header.name) + "\" line";
            return false;
        }
    }
    for (int i = 0; i < LEVEL_COUNT; i++) {
        if (!rd.seen_level[i]) {
            *why = "no line for level " + std::to_string(i + 1);
            return false;
        }
    }
    return true;
}

bool recording_from_text(const std::string& text, recording_t* r, std::string* why) {
    *r = recording_t{};
    if (text.size() > replay_file_max_bytes) {
        *why = "more than " + std::to_string(replay_file_max_bytes) + " bytes";
        return false;
    }
    if (!version_from_text(text, why))
        return false;
    reading_t rd{};
    rd.r = r;
    rd.focused = true;
    rd.scale = 1.0f;
    size_t at = text.find('\n');
    at = at == std::string::npos ? text.size() : at + 1;
    int         number = 1;
    std::string line, what;
    while (next_run_line(text, &at, &number, &line)) {
        bool frames = line[0] >= '0' && line[0] <= '9';
        if (!(frames ? frames_from_line(line, &rd, &what) : header_from_line(line, &rd, &what))) {
            *why = "line " + std::to_string(number) + ": " + what;
            return false;
        }
    }
    if (!headers_all_seen(rd, why))
        return false;
    for (command_t& cmd : r->frames)
        cmd.now_ms = (int32_t)((uint32_t)cmd.now_ms + (uint32_t)rd.clock);
    return true;
}
