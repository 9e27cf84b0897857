#include "assets/scale.h"

#include <cmath>
#include <sstream>

#include "game/tuning.h"
#include "platform/platform.h"

// Usable when every step it divides stays a finite float.
static bool scale_is_usable(float s) {
    return std::isfinite(s) && s > 0 && std::isfinite((float)(FORWARD_STEP / s)) && std::isfinite(PICKUP_SPIN_STEP / s);
}

static bool extract_scale(std::istream& in, float* scale) {
    float s = 0;
    if (!(in >> s) || !scale_is_usable(s))
        return false;
    *scale = s;
    return true;
}

bool parse_scale(const char* text, float* scale) {
    std::istringstream in(text);
    return extract_scale(in, scale);
}

float read_scale(float last_good) {
    // read whole and parsed as the stream would, so a file that is no regular one never blocks a frame
    std::string why, text;
    FILE*       f = platform_open_regular("scale.txt", SCALE_FILE_MAX_BYTES, &why);
    if (!f || !platform_read_all(f, SCALE_FILE_MAX_BYTES, &text, &why))
        return last_good;
    std::istringstream in(text);
    float              scale = last_good;
    extract_scale(in, &scale);
    return scale;
}
