// Full-screen pictures: raw blue-green-red from byte 0, bottom row first.
#pragma once
#include <cstdint>
#include <cstdio>
#include <vector>

// Reads width x height pixels from an open file, closes it, and returns them as
// tightly packed red-green-blue; bytes past a short file stay zero.
std::vector<uint8_t> read_picture(FILE* f, int width, int height);
