// The speed scale from "scale.txt", read every frame.
#pragma once

// Reads "scale.txt"; a missing file or a value that is not a positive finite
// number keeps the last good scale (1 before the first).
void read_scale();

// Parses the text of a scale file; false when it holds no usable scale.
bool parse_scale(const char* text, float* scale);
