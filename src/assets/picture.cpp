#include "assets/picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

std::vector<uint8_t> read_picture(FILE* f, int width, int height) {
    size_t               pixels = (width > 0 && height > 0) ? (size_t)width * (size_t)height : 0;
    std::vector<uint8_t> rgb(pixels * 3, 0);
    if (pixels)
        (void)!fread(rgb.data(), 1, rgb.size(), f);
    fclose(f);
    for (size_t i = 0; i < pixels; i++) {
        uint8_t blue = rgb[i * 3];
        rgb[i * 3] = rgb[i * 3 + 2];
        rgb[i * 3 + 2] = blue;
    }
    return rgb;
}

static bool read_side(const char* text, char** end, int* side) {
    if (*text < '1' || *text > '9')
        return false;
    long value = strtol(text, end, 10);
    *side = value > PICTURE_SIDE_MAX ? PICTURE_SIDE_MAX + 1 : (int)value;
    return *side >= PICTURE_SIDE_MIN && *side <= PICTURE_SIDE_MAX;
}

bool parse_picture_size(const char* text, int* width, int* height) {
    char* end = nullptr;
    int   w = 0, h = 0;
    if (!text || !read_side(text, &end, &w) || *end != 'x' || !read_side(end + 1, &end, &h) || *end)
        return false;
    *width = w;
    *height = h;
    return true;
}

// A stretch of up to 1% in one direction is not seen: the 16:9 sets differ by less.
static const double UNSEEN_STRETCH = 0.01;
// Enlarging blurs where shrinking does not: a set enlarged by k counts as one shrunk by k squared.
static const double ENLARGING_WEIGHT = 2;

// How a set of this size looks on the screen, smaller first: the stretch seen, the
// enlarging or shrinking, then the larger and the wider set.
static std::tuple<double, double, double, int> set_cost(int width, int height, int set_width, int set_height) {
    // logs of the same two products either way round, so mirrored stretches weigh the same
    double stretch = fabs(log((double)set_width * height) - log((double)width * set_height));
    double area = (double)set_width * set_height;
    double enlarging = 0.5 * (log((double)width * height) - log(area));
    double size = enlarging > 0 ? enlarging * ENLARGING_WEIGHT : -enlarging;
    return {std::max(0.0, stretch - UNSEEN_STRETCH), size, -area, -set_width};
}

int nearest_picture_set(int width, int height, const std::vector<std::string>& names) {
    int                                     best = -1;
    std::tuple<double, double, double, int> best_cost;
    for (size_t i = 0; i < names.size(); i++) {
        int w, h;
        if (!parse_picture_size(names[i].c_str(), &w, &h))
            continue;
        auto cost = set_cost(width, height, w, h);
        if (best < 0 || cost < best_cost) {
            best = (int)i;
            best_cost = cost;
        }
    }
    return best;
}
