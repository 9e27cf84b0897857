#include "assets/picture.h"

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
