#include "game/levelmap.h"

#include <cstring>
#include <vector>

#include "platform/bytes.h"
#include "platform/platform.h"

const tile_colour_t tile_colours[6] = {
    {TILE_FLOOR, '#', {0xFF, 0x00, 0x00}},  {TILE_FINISH, 'F', {0x00, 0xFF, 0x00}},
    {TILE_WALL, 'W', {0x80, 0x00, 0x00}},   {TILE_STAR, '*', {0x00, 0xFF, 0xFF}},
    {TILE_HEART, 'H', {0x00, 0x00, 0xFF}},  {TILE_GAP, '.', {0x00, 0x00, 0x00}},
};

const char* const level_files[LEVEL_COUNT] = {
    "../resources/levelone.bmp",  "../resources/leveltwo.bmp",  "../resources/levelthree.bmp",
    "../resources/levelfour.bmp", "../resources/levelfive.bmp",
};

const char* resource_name(const char* path) {
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

const tile_colour_t* tile_colour_of(const uint8_t bgr[3]) {
    for (const tile_colour_t& t : tile_colours) {
        if (t.bgr[0] == bgr[0] && t.bgr[1] == bgr[1] && t.bgr[2] == bgr[2])
            return &t;
    }
    return nullptr;
}

const tile_colour_t* tile_colour_of_kind(tile_kind_t kind) {
    for (const tile_colour_t& t : tile_colours) {
        if (t.kind == kind)
            return &t;
    }
    return nullptr;
}

const tile_colour_t* tile_colour_for(char symbol) {
    for (const tile_colour_t& t : tile_colours) {
        if (t.symbol == symbol)
            return &t;
    }
    return nullptr;
}

static bool refuse(std::string* why, const std::string& text) {
    if (why)
        *why = text;
    return false;
}

uint64_t level_row_bytes(int32_t width) { return ((uint64_t)(uint32_t)width * 3 + 3) & ~(uint64_t)3; }

// Checks a header against the file it came from, so nothing past the block is
// read; every product is 64-bit, so no field's value can overflow it.
static bool header_is_sound(const uint8_t* file, size_t file_size, std::string* why) {
    const uint8_t* info = file + 14;
    int32_t width = read_le32(info + 4);
    int32_t height = read_le32(info + 8);
    int16_t bits = read_le16(info + 14);
    int32_t compression = read_le32(info + 16);
    uint32_t image_size = (uint32_t)read_le32(info + 20);
    uint32_t data_offset = (uint32_t)read_le32(file + 10);

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
    uint64_t block = level_row_bytes(width) * (uint64_t)height;
    if (image_size == 0 || image_size < block)
        return refuse(why, "image size " + std::to_string(image_size) + " is smaller than " +
                               std::to_string(block) + " bytes of pixels");
    if (data_offset < 54 || (uint64_t)data_offset > (uint64_t)file_size)
        return refuse(why, "pixel data offset " + std::to_string(data_offset) + " lies outside the file");
    if ((uint64_t)data_offset + image_size > (uint64_t)file_size)
        return refuse(why, "file ends before its " + std::to_string(image_size) + " bytes of pixels");
    return true;
}

bool parse_level_picture(const uint8_t* file, size_t size, level_map_t* picture, std::string* why) {
    if (size < 54)
        return refuse(why, "file ends inside its headers");
    if (!header_is_sound(file, size, why))
        return false;
    const uint8_t* info = file + 14;
    picture->width = (int16_t)read_le32(info + 4);
    picture->height = (int16_t)read_le32(info + 8);
    // rows are stepped by the width's padded row, whatever the image-size field adds past them
    picture->line_length = (int32_t)level_row_bytes(picture->width);
    size_t block = (size_t)picture->line_length * (size_t)picture->height;
    const uint8_t* pixels = file + (uint32_t)read_le32(file + 10);
    memcpy(picture->info_header, info, 40);
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

bool swap_in_next_level(std::string* why) {
    next_level_t next = std::move(game.next_level);
    game.next_level = next_level_t{};
    if (!next.usable)
        return refuse(why, next.why);
    // lookups and drawing use level one's geometry, so every level must share it
    level_map_t& l = game.level;
    const level_map_t& n = next.picture;
    if (n.width != l.width || n.height != l.height || n.line_length != l.line_length)
        return refuse(why, "is " + std::to_string(n.width) + "x" + std::to_string(n.height) +
                               ", not the size of level one (" + std::to_string(l.width) + "x" +
                               std::to_string(l.height) + ")");
    memcpy(l.info_header, n.info_header, 40);
    l.pixels = std::move(next.picture.pixels);
    return true;
}

int tile_lookup(float x, float y, bool* outside) {
    const level_map_t& l = game.level;
    float h = (float)l.height;
    float col_f = x * h;
    float row_f = y * h;
    bool out = x < 0 || y < 0 || !(col_f < (float)l.width) || !(row_f < (float)l.height);
    // the range test comes first so the truncation never overflows
    int col = out ? 0 : (int)col_f;
    int row = out ? 0 : (int)row_f;
    if (col < 0 || row < 0 || col >= l.width || row >= l.height)
        out = true;
    if (outside)
        *outside = out;
    return out ? 0 : row * l.line_length + col * 3;
}

// The three bytes of a tile, or nullptr for an offset outside the block.
static uint8_t* tile_pixel(int offset) {
    std::vector<uint8_t>& pixels = game.level.pixels;
    if (offset < 0 || (size_t)offset + 3 > pixels.size())
        return nullptr;
    return pixels.data() + offset;
}

tile_kind_t tile_kind_at(int offset) {
    const uint8_t* p = tile_pixel(offset);
    const tile_colour_t* t = p ? tile_colour_of(p) : nullptr;
    return t ? t->kind : TILE_GAP;
}

bool tile_carries_ship(int offset) { return tile_kind_at(offset) != TILE_GAP; }

void set_tile_floor(int offset) {
    uint8_t* p = tile_pixel(offset);
    if (p)
        memcpy(p, tile_colour_of_kind(TILE_FLOOR)->bgr, 3);
}
