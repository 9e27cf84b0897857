// The level map: a level picture's pixel block looked up as tiles, and the tiles' rules.
#pragma once
#include <cstdint>
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

// The size every level is made at: level one sets the geometry the others must
// share, so the level tool holds pictures to it and the tests build levels of it.
const int LEVEL_WIDTH = 7;
const int LEVEL_HEIGHT = 240;

// The most tiles a level may have: the track draws only what is in view, but a
// level is still read, kept and rebuilt whole when a pickup changes it; 128 x 256.
const uint64_t LEVEL_MAX_TILES = 32768;

// Replaces the level pixels with the next level the frame read (game.next_level),
// using it up; false with a reason when it was missing, malformed or of another
// size than level one.
bool swap_in_next_level(std::string* why);

int         tile_lookup(float x, float y, bool* outside);
tile_kind_t tile_kind_at(int offset);
bool        tile_carries_ship(int offset);
void        set_tile_floor(int offset);
