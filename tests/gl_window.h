// One GLUT window that drawing tests draw into and read back from.
#pragma once
#include <cstdint>
#include <vector>

// Opens the window once for the whole run: *width x *height, or the whole screen
// when both are 0 (then they are set to the screen's size); later calls give the
// size opened. False when there is no X display.
bool open_test_window(const char* title, int* width, int* height);

// The swaps the game asks of GLUT, taken by the test: the next one reads its back buffer
// into *pixels first (RGB, rows bottom up, the window's size), and hidden ones show nothing.
void read_back_at_next_swap(std::vector<uint8_t>* pixels);
// The back buffer as drawn so far, read the same way.
std::vector<uint8_t> read_back_now();
void                 hide_swaps(bool hidden);
