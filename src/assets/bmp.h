// Level pictures as files: the 24-bit BMP the game reads and the level tool
// writes, each header field named by where it lies.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/levelsource.h"
#include "game/state.h"

// Byte offsets from the start of the file: the file header, then the info header.
const size_t BMP_FILE_SIZE_AT = 2;
const size_t BMP_DATA_OFFSET_AT = 10;
const size_t BMP_INFO_AT = 14;
const size_t BMP_WIDTH_AT = 18;
const size_t BMP_HEIGHT_AT = 22;
const size_t BMP_PLANES_AT = 26;
const size_t BMP_BITS_AT = 28;
const size_t BMP_COMPRESSION_AT = 30;
const size_t BMP_IMAGE_SIZE_AT = 34;
const size_t BMP_X_PIXELS_PER_METRE_AT = 38;
const size_t BMP_Y_PIXELS_PER_METRE_AT = 42;
const size_t BMP_COLOURS_AT = 46;
const size_t BMP_INFO_SIZE = 40;
const size_t BMP_HEADERS_SIZE = BMP_INFO_AT + BMP_INFO_SIZE;   // where a 24-bit picture's pixels may start

// The most bytes a level file may hold: the largest pixel block with room to spare.
const uint64_t LEVEL_FILE_MAX_BYTES = 1 << 20;

// Bytes from one row of a picture to the next: `bits` a pixel, padded to four bytes.
uint64_t bmp_row_bytes(uint64_t width, int bits);

// The one reader of level pictures: a 24-bit uncompressed bottom-up BMP that holds
// all its pixels. False with the reason in *why otherwise. An image-size field
// larger than the rows need is tolerated; the bytes past them are not kept.
bool parse_level_picture(const uint8_t* file, size_t size, level_map_t* picture, std::string* why);
// The same from an open file, which it closes.
bool read_level_picture(FILE* f, level_map_t* picture, std::string* why);
// The same from a path, which must name a regular file of at most LEVEL_FILE_MAX_BYTES.
bool open_level_picture(const char* path, level_map_t* picture, std::string* why);

// A 24-bit bottom-up BMP with its rows padded to four bytes.
std::vector<uint8_t> level_to_bmp(const level_grid_t& grid);
// A level picture as the game reads it; false with the reason otherwise.
bool level_from_bmp(const std::vector<uint8_t>& file, level_grid_t* grid, std::string* why);
