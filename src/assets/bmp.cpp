#include "assets/bmp.h"

#include <cstring>

#include "game/levelmap.h"
#include "platform/bytes.h"
#include "platform/platform.h"

static bool refuse(std::string* why, const std::string& text) {
    if (why)
        *why = text;
    return false;
}

uint64_t bmp_row_bytes(uint64_t width, int bits) { return (width * (uint64_t)bits + 31) / 32 * 4; }

// Checks a header against the file it came from, so nothing past the block is
// read; every product is 64-bit, so no field's value can overflow it.
static bool header_is_sound(const uint8_t* file, size_t file_size, std::string* why) {
    int32_t  width = read_le32(file + BMP_WIDTH_AT);
    int32_t  height = read_le32(file + BMP_HEIGHT_AT);
    int16_t  bits = read_le16(file + BMP_BITS_AT);
    int32_t  compression = read_le32(file + BMP_COMPRESSION_AT);
    uint32_t image_size = (uint32_t)read_le32(file + BMP_IMAGE_SIZE_AT);
    uint32_t data_offset = (uint32_t)read_le32(file + BMP_DATA_OFFSET_AT);

    if (width <= 0 || width > 32767)
        return refuse(why, "width " + std::to_string(width) + " is not between 1 and 32767");
    if (height <= 0 || height > 32767)
        return refuse(why, "height " + std::to_string(height) + " is not between 1 and 32767");
    uint64_t tiles = (uint64_t)width * (uint64_t)height;
    if (tiles > LEVEL_MAX_TILES)
        return refuse(why, std::to_string(width) + "x" + std::to_string(height) + " is " + std::to_string(tiles) +
                               " tiles, more than the " + std::to_string(LEVEL_MAX_TILES) + " a level may have");
    if (bits != 24)
        return refuse(why, std::to_string(bits) + " bits per pixel, not 24");
    if (compression != 0)
        return refuse(why, "compressed pixels (method " + std::to_string(compression) + ")");
    uint64_t block = bmp_row_bytes((uint64_t)width, 24) * (uint64_t)height;
    if (image_size == 0 || image_size < block)
        return refuse(why, "image size " + std::to_string(image_size) + " is smaller than " + std::to_string(block) +
                               " bytes of pixels");
    if (data_offset < BMP_HEADERS_SIZE)
        return refuse(why, "pixel data offset " + std::to_string(data_offset) + " lies inside the " +
                               std::to_string(BMP_HEADERS_SIZE) + " bytes of headers");
    if ((uint64_t)data_offset > (uint64_t)file_size)
        return refuse(why, "pixel data offset " + std::to_string(data_offset) + " lies outside the file");
    if ((uint64_t)data_offset + image_size > (uint64_t)file_size)
        return refuse(why, "file ends before its " + std::to_string(image_size) + " bytes of pixels");
    return true;
}

bool parse_level_picture(const uint8_t* file, size_t size, level_map_t* picture, std::string* why) {
    if (size < BMP_HEADERS_SIZE)
        return refuse(why, "file ends inside its headers");
    // a PNG or anything else saved under a level's name is named, not read as numbers
    if (file[0] != 'B' || file[1] != 'M')
        return refuse(why, "not a BMP picture");
    if (!header_is_sound(file, size, why))
        return false;
    picture->width = (int16_t)read_le32(file + BMP_WIDTH_AT);
    picture->height = (int16_t)read_le32(file + BMP_HEIGHT_AT);
    // rows are stepped by the width's padded row, whatever the image-size field adds past them
    picture->line_length = (int32_t)bmp_row_bytes((uint64_t)picture->width, 24);
    size_t         block = (size_t)picture->line_length * (size_t)picture->height;
    const uint8_t* pixels = file + (uint32_t)read_le32(file + BMP_DATA_OFFSET_AT);
    memcpy(picture->info_header, file + BMP_INFO_AT, BMP_INFO_SIZE);
    picture->pixels.assign(pixels, pixels + block);
    return true;
}

bool read_level_picture(FILE* f, level_map_t* picture, std::string* why) {
    std::string file;
    if (!platform_read_all(f, LEVEL_FILE_MAX_BYTES, &file, why))
        return false;
    return parse_level_picture((const uint8_t*)file.data(), file.size(), picture, why);
}

bool open_level_picture(const char* path, level_map_t* picture, std::string* why) {
    FILE* f = platform_open_regular(path, LEVEL_FILE_MAX_BYTES, why);
    return f && read_level_picture(f, picture, why);
}

std::vector<uint8_t> level_to_bmp(const level_grid_t& grid) {
    uint32_t             line = (uint32_t)bmp_row_bytes((uint32_t)grid.width, 24);
    uint32_t             image_size = line * (uint32_t)grid.height;
    std::vector<uint8_t> b(BMP_HEADERS_SIZE + image_size, 0);
    b[0] = 'B';
    b[1] = 'M';
    write_le32(&b[BMP_FILE_SIZE_AT], BMP_HEADERS_SIZE + image_size);
    write_le32(&b[BMP_DATA_OFFSET_AT], BMP_HEADERS_SIZE);
    write_le32(&b[BMP_INFO_AT], BMP_INFO_SIZE);
    write_le32(&b[BMP_WIDTH_AT], (uint32_t)grid.width);
    write_le32(&b[BMP_HEIGHT_AT], (uint32_t)grid.height);
    b[BMP_PLANES_AT] = 1;
    b[BMP_BITS_AT] = 24;
    write_le32(&b[BMP_IMAGE_SIZE_AT], image_size);
    write_le32(&b[BMP_X_PIXELS_PER_METRE_AT], 2835);   // 72 dpi, as paint programs write it
    write_le32(&b[BMP_Y_PIXELS_PER_METRE_AT], 2835);
    for (int row = 0; row < grid.height; row++)
        memcpy(&b[BMP_HEADERS_SIZE + (size_t)row * line], &grid.bgr[(size_t)row * grid.width * 3],
               (size_t)grid.width * 3);
    return b;
}

bool level_from_bmp(const std::vector<uint8_t>& f, level_grid_t* grid, std::string* why) {
    level_map_t picture;
    if (!parse_level_picture(f.data(), f.size(), &picture, why))
        return false;
    // rows stepped as the game steps them, so the grid holds the tiles the game plays
    int w = picture.width, h = picture.height;
    grid->width = w;
    grid->height = h;
    grid->bgr.resize((size_t)w * h * 3);
    for (int row = 0; row < h; row++)
        memcpy(&grid->bgr[(size_t)row * w * 3], &picture.pixels[(size_t)row * picture.line_length], (size_t)w * 3);
    return true;
}
