#include "assets/scale.h"

#include <algorithm>
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

// Every whole number up to 2^24 is an exact float, and so is every power of ten up to 10^10.
const uint64_t     FLOAT_WHOLE_EXACT = 1u << 24;
static const float TENS[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The run taken whole by strtof, or refused.
static bool run_as_float(const char* run, size_t length, float* value) {
    std::string whole(run, length);
    char*       end = nullptr;
    *value = strtof(whole.c_str(), &end);
    return length > 0 && *end == '\0';
}

// A float as a stream's extraction takes it: white space skipped, then the longest
// run of a sign, digits with one point, and an exponent after a digit; that run must
// be a number whole, and one too large for a float is refused. Nothing after it counts.
static bool extract_scale(const char* text, size_t size, float* scale) {
    size_t i = 0;
    while (i < size && is_space(text[i]))
        i++;
    size_t start = i;
    bool   negative = i < size && text[i] == '-';
    if (i < size && (text[i] == '+' || text[i] == '-'))
        i++;
    bool     digits = false, point = false, exponent = false;
    uint64_t whole = 0;   // the digits as one number, held just past where a float stops being exact
    size_t   places = 0;
    for (; i < size && (is_digit(text[i]) || (text[i] == '.' && !point)); i++) {
        digits = digits || text[i] != '.';
        point = point || text[i] == '.';
        if (text[i] != '.') {
            whole = std::min(whole * 10 + (uint64_t)(text[i] - '0'), FLOAT_WHOLE_EXACT + 1);
            places += point;
        }
    }
    if (digits && i < size && (text[i] == 'e' || text[i] == 'E')) {
        exponent = true;
        i++;
        if (i < size && (text[i] == '+' || text[i] == '-'))
            i++;
        while (i < size && is_digit(text[i]))
            i++;
    }
    float s;
    // both sides exact floats: one division rounds as strtof does, at a tenth of its cost
    if (digits && !exponent && whole <= FLOAT_WHOLE_EXACT && places < sizeof(TENS) / sizeof(TENS[0]))
        s = (negative ? -(float)whole : (float)whole) / TENS[places];
    else if (!run_as_float(text + start, i - start, &s))
        return false;
    if (std::isinf(s) || !scale_is_usable(s))
        return false;
    *scale = s;
    return true;
}

bool parse_scale(const char* text, float* scale) { return extract_scale(text, strlen(text), scale); }

float read_scale(float last_good) {
    // plain calls into a buffer of the limit's size: a stream costs more than the rules of a frame
    char  text[SCALE_FILE_MAX_BYTES];
    long  size = platform_read_small_file("scale.txt", text, sizeof(text));
    float scale = last_good;
    if (size >= 0)
        extract_scale(text, (size_t)size, &scale);
    return scale;
}
