// The keyboard callbacks: they keep the game's key table between frames.
#pragma once

void key_down(unsigned char key, int x, int y);
void key_up(unsigned char key, int x, int y);
// The window library's special keys: only the arrows act.
void special_down(int special, int x, int y);
void special_up(int special, int x, int y);
// Before each frame: a window that has lost the keyboard lets go of every key,
// and pauses play; the releases would never reach it.
void keys_follow_focus(bool focused);
