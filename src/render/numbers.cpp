#include "render/numbers.h"

#include <cstdio>

std::string format_int(int32_t value) {
    char text[64];
    snprintf(text, sizeof(text), "%d", value);
    return text;
}
