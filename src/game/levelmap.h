// The level map: a level picture's pixel block, read once and looked up as tiles.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "game/state.h"

enum tile_kind_t { TILE_GAP, TILE_FLOOR, TILE_FINISH, TILE_WALL, TILE_STAR, TILE_HEART };

// One row per tile kind: the exact pixel that makes it, and its letter in a text level.
struct tile_colour_t {
    tile_kind_t kind;
    char        symbol;
    uint8_t     bgr[3];
};
extern const tile_colour_t tile_colours[6];

// The row for a pixel's colour, nullptr for a colour that is no tile kind.
const tile_colour_t* tile_colour_of(const uint8_t bgr[3]);
const tile_colour_t* tile_colour_of_kind(tile_kind_t kind);
// The row for a text level's letter, nullptr for an unknown letter.
const tile_colour_t* tile_colour_for(char symbol);

// The five levels, played in turn.
extern const char* const level_files[LEVEL_COUNT];
// A resource's name without the folder, as it lies in resources/.
const char* resource_name(const char* path);

// The most tiles a level may have: the track draws only what is in view, but a
// level is still read, kept and rebuilt whole when a pickup changes it; 128 x 256.
const uint64_t LEVEL_MAX_TILES = 32768;
// The most bytes a level file may hold: the largest pixel block with room to spare.
const uint64_t LEVEL_FILE_MAX_BYTES = 1 << 20;

// Bytes from one row of a level picture to the next: three a pixel, padded to four.
uint64_t level_row_bytes(int32_t width);

// The one reader of level pictures: a 24-bit uncompressed bottom-up BMP that holds
// all its pixels. False with the reason in *why otherwise. An image-size field
// larger than the rows need is tolerated; the bytes past them are not kept.
bool parse_level_picture(const uint8_t* file, size_t size, level_map_t* picture, std::string* why);
// The same from an open file, which it closes.
bool read_level_picture(FILE* f, level_map_t* picture, std::string* why);
// The same from a path, which must name a regular file of at most LEVEL_FILE_MAX_BYTES.
bool open_level_picture(const char* path, level_map_t* picture, std::string* why);

// Replaces the level pixels with the next level the frame read (game.next_level),
// using it up; false with a reason when it was missing, malformed or of another
// size than level one.
bool swap_in_next_level(std::string* why);

int         tile_lookup(float x, float y, bool* outside);
tile_kind_t tile_kind_at(int offset);
bool        tile_carries_ship(int offset);
void        set_tile_floor(int offset);
