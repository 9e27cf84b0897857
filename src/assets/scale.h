// The speed scale from "scale.txt", read every frame.
#pragma once

#include <cstdint>

// A scale file is one number: anything longer is not one and is not read.
const uint64_t SCALE_FILE_MAX_BYTES = 4096;

// Reads "scale.txt"; a missing file, one that is not a regular file or is larger
// than SCALE_FILE_MAX_BYTES, or a value that is not a positive finite number
// gives back last_good.
float read_scale(float last_good);

// Parses the text of a scale file; false when it holds no usable scale.
bool parse_scale(const char* text, float* scale);
