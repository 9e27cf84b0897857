// Level pictures: the reader, then tile lookups at points taken from the input.
// Whatever the file holds, the reader refuses it with a reason or hands back a
// block that every lookup on the map stays inside.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "fuzz_support.h"
#include "render/levelmap.h"

// The geometry load_first_level takes from a header it accepted.
static void use_as_level(const uint8_t header[40], uint8_t* block, uint32_t size) {
    free_level();
    memcpy(level.info_header, header, 40);
    level.pixels = block;
    level.pixels_size = size;
    level.height = (int16_t)read_le32(header + 8);
    level.width = (int16_t)read_le32(header + 4);
    level.line_length = (int32_t)(size / (uint32_t)(int32_t)level.height);
}

static void look_up(float x, float y) {
    bool outside = true;
    int offset = tile_lookup(x, y, &outside);
    if (outside) {
        FUZZ_CHECK(offset == 0);
    } else {
        // an inside point names a whole tile of the block, in its row and column
        FUZZ_CHECK(offset >= 0 && (uint32_t)offset + 3 <= level.pixels_size);
        FUZZ_CHECK(x >= 0 && y >= 0);
        int row = offset / level.line_length, col = (offset % level.line_length) / 3;
        FUZZ_CHECK(row < level.height && col < level.width && (offset % level.line_length) % 3 == 0);
    }
    tile_kind_t kind = tile_kind_at(offset);
    FUZZ_CHECK(kind >= TILE_GAP && kind <= TILE_HEART);
    (void)tile_carries_ship(offset);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy;
    FILE* f = open_bytes(&copy, data, size);
    if (!f)
        return 0;
    uint8_t header[40];
    memset(header, 0xAA, sizeof(header));
    uint32_t block_size = 0;
    std::string why;
    uint8_t* block = read_level_image(f, header, &block_size, &why);
    if (!block) {
        FUZZ_CHECK(!why.empty());
        return 0;
    }
    // what was accepted is a picture the map can use
    int32_t w = read_le32(header + 4), h = read_le32(header + 8);
    FUZZ_CHECK(w > 0 && w <= 32767 && h > 0 && h <= 32767);
    FUZZ_CHECK(block_size == (uint32_t)read_le32(header + 20));
    FUZZ_CHECK((uint64_t)block_size >= (((uint64_t)w * 3 + 3) & ~(uint64_t)3) * (uint64_t)h);
    FUZZ_CHECK(block_size <= size);
    // the block holds the file's bytes from the data offset on
    uint32_t data_offset = (uint32_t)read_le32(data + 10);
    FUZZ_CHECK(memcmp(block, data + data_offset, block_size) == 0);
    FUZZ_CHECK(memcmp(header, data + 14, 40) == 0);

    use_as_level(header, block, block_size);
    // every tile as the track draws it
    for (int r = 0; r < level.height; r++)
        for (int c = 0; c < level.width; c++) {
            int offset = r * level.line_length + c * 3;
            FUZZ_CHECK((uint32_t)offset + 3 <= level.pixels_size);
            (void)tile_kind_at(offset);
        }
    // the edges of the map and points no ship should reach
    float H = (float)level.height, W = (float)level.width;
    const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    const float probes[][2] = {
        {0, 0},          {-0.001f, 0},   {0, -0.001f},      {W / H, 0},      {0, 1},
        {-0.0f, -0.0f},  {nan, 0},       {0, nan},          {inf, 0},        {-inf, 0},
        {1e30f, 1e30f},  {-1e30f, 0.5f}, {(W - 0.5f) / H, (H - 0.5f) / H},   {std::nextafter(W / H, 0.0f), std::nextafter(1.0f, 0.0f)},
        {3e-45f, 3e-45f}, {0.01175f, 0.00175f},
    };
    for (const auto& p : probes)
        look_up(p[0], p[1]);
    // and points taken from the input itself, four bytes a float
    for (size_t at = 0; at + 8 <= size && at < 512; at += 8) {
        float x, y;
        memcpy(&x, data + at, 4);
        memcpy(&y, data + at + 4, 4);
        look_up(x, y);
        look_up(x / 1e30f, y / 1e30f);   // small numbers land on the map
    }
    // a collected pickup writes floor over its tile, only inside the block
    bool outside;
    int offset = tile_lookup((W - 0.5f) / H, (H - 0.5f) / H, &outside);
    set_tile_floor(offset);
    FUZZ_CHECK(outside || tile_kind_at(offset) == TILE_FLOOR);
    set_tile_floor(-1);
    set_tile_floor((int)level.pixels_size);
    free_level();
    return 0;
}
