// Keys held down and the screen size, both kept for the whole run.
#pragma once
#include <cstdint>

enum {
    KEY_ENTER = 13,
    KEY_ESC = 27,
    KEY_SPACE = 32,
    KEY_A = 97,
    KEY_D = 100,
    KEY_S = 115,
    KEY_W = 119,
};

extern uint8_t key_table[256];
extern int     screen_width;
extern int     screen_height;

void key_down(unsigned char key, int x, int y);
void key_up(unsigned char key, int x, int y);
void clear_keys();
