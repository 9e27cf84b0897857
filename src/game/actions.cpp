#include "game/actions.h"

#include <algorithm>

#include "game/state.h"

const int play_codes[6] = {ACT_HUD, ACT_BACKGROUND, ACT_TRACK, ACT_SHIP, ACT_LEVEL_START, ACT_ON_TRACK};

bool actions_has(int code) { return std::find(game.actions.begin(), game.actions.end(), code) != game.actions.end(); }

void actions_add_front(int code) { game.actions.push_front(code); }
void actions_add_back(int code) { game.actions.push_back(code); }
void actions_remove(int code) { game.actions.remove(code); }
