// Level pictures: the reader, then tile lookups at points taken from the input.
// Whatever the file holds, the reader refuses it with a reason or hands back a
// block that every lookup on the map stays inside.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "assets/bmp.h"
#include "fuzz_support.h"
#include "game/levelmap.h"
#include "game/tuning.h"
#include "platform/bytes.h"

static void look_up(float x, float y) {
    const level_map_t& level = game.level;
    bool               outside = true;
    int                offset = tile_lookup(x, y, &outside);
    if (outside) {
        FUZZ_CHECK(offset == 0);
    } else {
        // an inside point names a whole tile of the block, in its row and column
        FUZZ_CHECK(offset >= 0 && (size_t)offset + 3 <= level.pixels.size());
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
    FILE*                f = open_bytes(&copy, data, size);
    if (!f)
        return 0;
    level_map_t picture;
    std::string why;
    if (!read_level_picture(f, &picture, &why)) {
        FUZZ_CHECK(!why.empty());
        return 0;
    }
    // what was accepted is a picture the map can use
    const uint8_t* header = data + BMP_INFO_AT;
    int32_t        w = read_le32(data + BMP_WIDTH_AT), h = read_le32(data + BMP_HEIGHT_AT);
    FUZZ_CHECK(w > 0 && w <= 32767 && h > 0 && h <= 32767);
    FUZZ_CHECK(picture.width == w && picture.height == h);
    // rows at the width's padded stride, whatever more the image-size field claims
    uint64_t row = ((uint64_t)w * 3 + 3) & ~(uint64_t)3;
    FUZZ_CHECK(picture.line_length == (int32_t)row);
    FUZZ_CHECK(picture.pixels.size() == row * (uint64_t)h);
    FUZZ_CHECK((uint64_t)w * (uint64_t)h <= LEVEL_MAX_TILES);
    FUZZ_CHECK((uint32_t)read_le32(data + BMP_IMAGE_SIZE_AT) >= picture.pixels.size());
    FUZZ_CHECK(picture.pixels.size() <= size);
    // the block holds the file's bytes from the data offset on
    uint32_t data_offset = (uint32_t)read_le32(data + BMP_DATA_OFFSET_AT);
    FUZZ_CHECK(memcmp(picture.pixels.data(), data + data_offset, picture.pixels.size()) == 0);
    FUZZ_CHECK(memcmp(picture.info_header, header, BMP_INFO_SIZE) == 0);

    game.level = std::move(picture);
    const level_map_t& level = game.level;
    // every tile as the track draws it
    for (int r = 0; r < level.height; r++)
        for (int c = 0; c < level.width; c++) {
            int offset = r * level.line_length + c * 3;
            FUZZ_CHECK((size_t)offset + 3 <= level.pixels.size());
            (void)tile_kind_at(offset);
        }
    // the edges of the map and points no ship should reach
    float       H = (float)level.height, W = (float)level.width;
    const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    const float probes[][2] = {
        {0, 0},
        {-0.001f, 0},
        {0, -0.001f},
        {W / H, 0},
        {0, 1},
        {-0.0f, -0.0f},
        {nan, 0},
        {0, nan},
        {inf, 0},
        {-inf, 0},
        {1e30f, 1e30f},
        {-1e30f, 0.5f},
        {(W - 0.5f) / H, (H - 0.5f) / H},
        {std::nextafter(W / H, 0.0f), std::nextafter(1.0f, 0.0f)},
        {3e-45f, 3e-45f},
        {SPAWN_POINT[0], SPAWN_POINT[1]},
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
    int  offset = tile_lookup((W - 0.5f) / H, (H - 0.5f) / H, &outside);
    set_tile_floor(offset);
    FUZZ_CHECK(outside || tile_kind_at(offset) == TILE_FLOOR);
    set_tile_floor(-1);
    set_tile_floor((int)level.pixels.size());
    game.level = level_map_t{};
    return 0;
}
