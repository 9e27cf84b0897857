// Level sources: text with one character per tile, turned into level pictures.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// '.' gap, '#' floor, 'F' finish, 'W' wall, '*' star, 'H' heart.
// The top line of the text is the far end of the track, as a paint program shows it.
struct level_grid_t {
    int                  width = 0;
    int                  height = 0;
    std::vector<uint8_t> bgr;   // row 0 first (the near end), 3 bytes a tile, no padding
};

bool        level_from_text(const std::string& text, level_grid_t* grid, std::string* why);
std::string level_to_text(const level_grid_t& grid);

bool tile_colour(char c, uint8_t bgr[3]);
char tile_char(const uint8_t bgr[3]);   // '?' for a colour that is no tile kind

// A level seed as typed, for the level tool and the game alike: a whole number from 0 to
// 2^64-1, digits only.
bool parse_level_seed(const char* text, uint64_t* seed);
