#include "assets/picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <zlib.h>

static void swap_blue_and_red(std::vector<uint8_t>* pixels) {
    std::vector<uint8_t>& p = *pixels;
    for (size_t i = 0; i + 2 < p.size(); i += 3)
        std::swap(p[i], p[i + 2]);
}

std::vector<uint8_t> read_picture(FILE* f, int width, int height) {
    size_t               pixels = (width > 0 && height > 0) ? (size_t)width * (size_t)height : 0;
    std::vector<uint8_t> rgb(pixels * 3, 0);
    if (pixels)
        (void)!fread(rgb.data(), 1, rgb.size(), f);
    fclose(f);
    swap_blue_and_red(&rgb);
    return rgb;
}

static size_t picture_bytes(int width, int height) { return (size_t)width * (size_t)height * 3; }

uint64_t packed_picture_max_bytes(int width, int height) {
    // a stored block adds 5 bytes to every 65535, the gzip wrapper a few dozen
    return picture_bytes(width, height) + picture_bytes(width, height) / 4096 + 4096;
}

bool unpack_picture(const std::string& packed, int width, int height, std::string* file, std::string* why) {
    size_t    size = picture_bytes(width, height);
    z_stream  z = {};
    const int GZIP_ONLY = 16 + MAX_WBITS;
    if (packed.size() > packed_picture_max_bytes(width, height) || inflateInit2(&z, GZIP_ONLY) != Z_OK) {
        *why = "cannot be unpacked";
        return false;
    }
    // one byte more than the picture's, to tell a longer picture from one that fits
    file->assign(size + 1, '\0');
    z.next_in = (Bytef*)packed.data();
    z.avail_in = (uInt)packed.size();
    z.next_out = (Bytef*)&(*file)[0];
    z.avail_out = (uInt)file->size();
    int    status = inflate(&z, Z_FINISH);
    size_t unpacked = file->size() - z.avail_out;
    bool   trailing = status == Z_STREAM_END && z.avail_in != 0;
    inflateEnd(&z);
    file->resize(std::min(unpacked, size));
    if (unpacked > size || (status == Z_STREAM_END && unpacked < size)) {
        *why = "does not unpack to a " + std::to_string(width) + "x" + std::to_string(height) + " picture (" +
               std::to_string(size) + " bytes)";
        return false;
    }
    if (status != Z_STREAM_END || trailing) {
        *why = status == Z_DATA_ERROR ? "is not a gzip file, or is damaged"
               : trailing             ? "has bytes after its end"
                                      : "is cut short";
        return false;
    }
    return true;
}

std::vector<uint8_t> picture_rgb(const std::string& file) {
    std::vector<uint8_t> rgb(file.begin(), file.end());
    swap_blue_and_red(&rgb);
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
