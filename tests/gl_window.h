// One GLUT window that drawing tests draw into and read back from.
#pragma once

// Opens the window once for the whole run: *width x *height, or the whole screen
// when both are 0 (then they are set to the screen's size); later calls give the
// size opened. False when there is no X display.
bool open_test_window(const char* title, int* width, int* height);
