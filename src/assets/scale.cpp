#include "assets/scale.h"

#include <cmath>
#include <fstream>
#include <sstream>

float speed_scale = 1.0f;

// Usable when every step it divides stays a finite float.
static bool scale_is_usable(float s) {
    return std::isfinite(s) && s > 0 && std::isfinite((float)(0.0008 / s)) && std::isfinite(5 / s);
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

void read_scale() {
    std::ifstream in("scale.txt");
    extract_scale(in, &speed_scale);
}
