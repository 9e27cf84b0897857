#include "render/numbers.h"

#include <cstdio>

std::string format_int(int32_t value) {
    char text[64];
    snprintf(text, sizeof(text), "%d", value);
    return text;
}

std::string format_real(double value) {
    char text[64];
    snprintf(text, sizeof(text), "%g", value);
    return text;
}
