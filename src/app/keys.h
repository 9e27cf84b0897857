// The keyboard callbacks: they keep the game's key table between frames.
#pragma once

void key_down(unsigned char key, int x, int y);
void key_up(unsigned char key, int x, int y);
