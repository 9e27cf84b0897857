#include "render/levelmap.h"

#include <cstdlib>
#include <cstring>

#include "app/platform.h"

level_map_t level;

int32_t read_le32(const uint8_t* p) {
    return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24);
}
int16_t read_le16(const uint8_t* p) { return (int16_t)(p[0] | p[1] << 8); }

static bool refuse(std::string* why, const std::string& text) {
    if (why)
        *why = text;
    return false;
}

// Checks a header against the file it came from, so nothing past the block is read.
static bool header_is_sound(const uint8_t file_header[14], const uint8_t info[40], long file_size,
                            std::string* why) {
    int32_t width = read_le32(info + 4);
    int32_t height = read_le32(info + 8);
    int16_t bits = read_le16(info + 14);
    int32_t compression = read_le32(info + 16);
    uint32_t image_size = (uint32_t)read_le32(info + 20);
    uint32_t data_offset = (uint32_t)read_le32(file_header + 10);

    if (width <= 0 || width > 32767)
        return refuse(why, "width " + std::to_string(width) + " is not between 1 and 32767");
    if (height <= 0 || height > 32767)
        return refuse(why, "height " + std::to_string(height) + " is not between 1 and 32767");
    if (bits != 24)
        return refuse(why, std::to_string(bits) + " bits per pixel, not 24");
    if (compression != 0)
        return refuse(why, "compressed pixels (method " + std::to_string(compression) + ")");
    uint64_t row_bytes = ((uint64_t)width * 3 + 3) & ~(uint64_t)3;
    if (image_size == 0 || image_size < row_bytes * (uint64_t)height)
        return refuse(why, "image size " + std::to_string(image_size) + " is smaller than " +
                               std::to_string(row_bytes * height) + " bytes of pixels");
    if (data_offset < 54 || (uint64_t)data_offset > (uint64_t)file_size)
        return refuse(why, "pixel data offset " + std::to_string(data_offset) + " lies outside the file");
    if ((uint64_t)data_offset + image_size > (uint64_t)file_size)
        return refuse(why, "file ends before its " + std::to_string(image_size) + " bytes of pixels");
    return true;
}

uint8_t* read_level_image(FILE* f, uint8_t info_header[40], uint32_t* size, std::string* why) {
    uint8_t file_header[14];
    uint8_t* block = nullptr;
    long file_size = -1;
    if (fseek(f, 0, SEEK_END) == 0)
        file_size = ftell(f);
    rewind(f);
    if (fread(file_header, 1, 14, f) != 14 || fread(info_header, 1, 40, f) != 40) {
        refuse(why, "file ends inside its headers");
    } else if (header_is_sound(file_header, info_header, file_size, why)) {
        uint32_t image_size = (uint32_t)read_le32(info_header + 20);
        block = (uint8_t*)malloc(image_size);
        if (!block) {
            refuse(why, "out of memory for " + std::to_string(image_size) + " bytes of pixels");
        } else if (fseek(f, read_le32(file_header + 10), SEEK_SET) != 0 ||
                   fread(block, 1, image_size, f) != image_size) {
            refuse(why, "file ends inside its pixels");
            free(block);
            block = nullptr;
        } else {
            *size = image_size;
        }
    }
    fclose(f);
    return block;
}

void free_level() {
    free(level.pixels);
    level.pixels = nullptr;
    level.pixels_size = 0;
}

static bool fail_first_level(const char* path, const std::string& why) {
    printf("ERROR: cannot open input file with the scene data\n");
    fprintf(stderr, "%s: %s\n", path, why.c_str());
    platform_exit(1);
    return false;
}

bool load_first_level() {
    const char* path = "../resources/levelone.bmp";
    free_level();
    FILE* f = fopen(path, "rb");
    if (!f)
        return fail_first_level(path, "cannot open the file");
    std::string why;
    uint32_t size = 0;
    uint8_t* block = read_level_image(f, level.info_header, &size, &why);
    if (!block)
        return fail_first_level(path, why);
    level.pixels = block;
    level.pixels_size = size;
    level.height = (int16_t)read_le32(level.info_header + 8);
    level.width = (int16_t)read_le32(level.info_header + 4);
    level.line_length = (int32_t)(size / (uint32_t)(int32_t)level.height);
    printf("Bitmap size: %d,%d (line length:%d, size:%d (%d))\n", level.width, level.height,
           level.line_length, (int)size, level.width * level.height * 3);
    return true;
}

bool load_next_level(const char* path, std::string* why) {
    FILE* f = fopen(path, "rb");
    if (!f)
        return refuse(why, "cannot open the file");
    uint8_t header[40];
    uint32_t size = 0;
    uint8_t* block = read_level_image(f, header, &size, why);
    if (!block)
        return false;
    // lookups and drawing use level one's geometry, so every level must share it
    if (read_le32(header + 4) != level.width || read_le32(header + 8) != level.height ||
        size / (uint32_t)read_le32(header + 8) != (uint32_t)level.line_length) {
        free(block);
        return refuse(why, "is " + std::to_string(read_le32(header + 4)) + "x" +
                               std::to_string(read_le32(header + 8)) + ", not the size of level one (" +
                               std::to_string(level.width) + "x" + std::to_string(level.height) + ")");
    }
    free_level();
    memcpy(level.info_header, header, 40);
    level.pixels = block;
    level.pixels_size = size;
    return true;
}

int tile_lookup(float x, float y, bool* outside) {
    float h = (float)level.height;
    float col_f = x * h;
    float row_f = y * h;
    bool out = x < 0 || y < 0 || !(col_f < (float)level.width) || !(row_f < (float)level.height);
    // the range test comes first so the truncation never overflows
    int col = out ? 0 : (int)col_f;
    int row = out ? 0 : (int)row_f;
    if (col < 0 || row < 0 || col >= level.width || row >= level.height)
        out = true;
    if (outside)
        *outside = out;
    return out ? 0 : row * level.line_length + col * 3;
}

static bool tile_is(int offset, uint8_t b, uint8_t g, uint8_t r) {
    if (!level.pixels || offset < 0 || (uint32_t)offset + 3 > level.pixels_size)
        return false;
    const uint8_t* p = level.pixels + offset;
    return p[0] == b && p[1] == g && p[2] == r;
}

tile_kind_t tile_kind_at(int offset) {
    if (tile_is(offset, 0xFF, 0x00, 0x00)) return TILE_FLOOR;
    if (tile_is(offset, 0x00, 0xFF, 0x00)) return TILE_FINISH;
    if (tile_is(offset, 0x80, 0x00, 0x00)) return TILE_WALL;
    if (tile_is(offset, 0x00, 0xFF, 0xFF)) return TILE_STAR;
    if (tile_is(offset, 0x00, 0x00, 0xFF)) return TILE_HEART;
    return TILE_GAP;
}

bool tile_carries_ship(int offset) { return tile_kind_at(offset) != TILE_GAP; }

void set_tile_floor(int offset) {
    if (!level.pixels || offset < 0 || (uint32_t)offset + 3 > level.pixels_size)
        return;
    level.pixels[offset] = 0xFF;
    level.pixels[offset + 1] = 0x00;
    level.pixels[offset + 2] = 0x00;
}
