// Level pictures as paint programs save them (PNG, BMP with a palette), read
// into the same grid as the level sources.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/levelsource.h"

bool is_png(const std::vector<uint8_t>& file);
// A BMP of 1, 4 or 8 bits a pixel, its colours in a palette; the game reads none of them.
bool is_palette_bmp(const std::vector<uint8_t>& file);
int  bmp_bits(const std::vector<uint8_t>& file);

// Any PNG: palette, grey or colour, 8 or 16 bits a channel. A see-through pixel is
// a gap; a partly see-through one is refused.
bool level_from_png(const std::vector<uint8_t>& file, level_grid_t* grid, std::string* why);
// An uncompressed palette BMP, stored bottom-up or top-down.
bool level_from_palette_bmp(const std::vector<uint8_t>& file, level_grid_t* grid, std::string* why);
