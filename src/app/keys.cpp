#include "app/keys.h"

#include "game/state.h"

void key_down(unsigned char key, int, int) { game.keys[key] = 1; }
void key_up(unsigned char key, int, int) { game.keys[key] = 0; }
