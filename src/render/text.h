// White bitmap text placed in the 3-D scene.
#pragma once
#include <cstdint>

void draw_labelled_value(int32_t value, float dx, float dz, const char* label, const char* unit = "");
void draw_labelled_pair(int32_t a, int32_t b, float x, float y, float z, const char* label_a, const char* label_b);
void draw_text(const char* text);
// How wide draw_text draws it, in pixels: the designed font's, or large text's.
int text_width(const char* text);
