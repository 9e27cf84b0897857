#include "app/keys.h"

#include <cstring>

uint8_t key_table[256];
int     screen_width;
int     screen_height;

void key_down(unsigned char key, int, int) { key_table[key] = 1; }
void key_up(unsigned char key, int, int) { key_table[key] = 0; }
void clear_keys() { memset(key_table, 0, sizeof(key_table)); }
