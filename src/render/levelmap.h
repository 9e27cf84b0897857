// The level map: a level picture's pixel block, looked up as tiles.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

enum tile_kind_t { TILE_GAP, TILE_FLOOR, TILE_FINISH, TILE_WALL, TILE_STAR, TILE_HEART };

struct level_map_t {
    uint8_t  info_header[40];
    uint8_t* pixels;
    uint32_t pixels_size;    // bytes in the block, the header's image size
    int16_t  width;
    int16_t  height;
    int32_t  line_length;
};
extern level_map_t level;

// Reads a level picture from an open file and closes it. Returns the pixel block
// (malloc'd, image-size bytes) or nullptr with the reason in *why.
uint8_t* read_level_image(FILE* f, uint8_t info_header[40], uint32_t* size, std::string* why);

// Loads "../resources/levelone.bmp", sets the geometry and prints the size line.
// On failure prints the error line and ends the program with status 1.
bool load_first_level();

// Replaces the level pixels with the next level's picture; false with a reason
// when it is missing, malformed or of another size than level one.
bool load_next_level(const char* path, std::string* why);

void free_level();

int         tile_lookup(float x, float y, bool* outside);
tile_kind_t tile_kind_at(int offset);
bool        tile_carries_ship(int offset);
void        set_tile_floor(int offset);

// little-endian field of a byte block
int32_t read_le32(const uint8_t* p);
int16_t read_le16(const uint8_t* p);
