#include "assets/scale.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/tuning.h"
#include "platform/platform.h"

// Usable when every step it divides stays a finite float.
static bool scale_is_usable(float s) {
    return std::isfinite(s) && s > 0 && std::isfinite((float)(FORWARD_STEP / s)) && std::isfinite(PICKUP_SPIN_STEP / s);
}

static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A float as a stream's extraction takes it: white space skipped, then the longest
// run of a sign, digits with one point, and an exponent after a digit; that run must
// be a number whole, and one too large for a float is refused. Nothing after it counts.
static bool extract_scale(const char* text, size_t size, float* scale) {
    size_t i = 0;
    while (i < size && is_space(text[i]))
        i++;
    std::string run;
    if (i < size && (text[i] == '+' || text[i] == '-'))
        run += text[i++];
    bool digits = false, point = false;
    for (; i < size && (is_digit(text[i]) || (text[i] == '.' && !point)); i++) {
        digits = digits || text[i] != '.';
        point = point || text[i] == '.';
        run += text[i];
    }
    if (digits && i < size && (text[i] == 'e' || text[i] == 'E')) {
        run += text[i++];
        if (i < size && (text[i] == '+' || text[i] == '-'))
            run += text[i++];
        for (; i < size && is_digit(text[i]); i++)
            run += text[i];
    }
    char* end = nullptr;
    float s = strtof(run.c_str(), &end);
    if (run.empty() || *end != '\0' || std::isinf(s) || !scale_is_usable(s))
        return false;
    *scale = s;
    return true;
}

bool parse_scale(const char* text, float* scale) { return extract_scale(text, strlen(text), scale); }

float read_scale(float last_good) {
    // read whole, so a file that is no regular one never blocks a frame
    std::string why, text;
    FILE*       f = platform_open_regular("scale.txt", SCALE_FILE_MAX_BYTES, &why);
    if (!f || !platform_read_all(f, SCALE_FILE_MAX_BYTES, &text, &why))
        return last_good;
    float scale = last_good;
    extract_scale(text.data(), text.size(), &scale);
    return scale;
}
