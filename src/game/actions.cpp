#include "game/actions.h"

#include <algorithm>

std::list<int> action_list;

bool actions_has(int code) {
    return std::find(action_list.begin(), action_list.end(), code) != action_list.end();
}

void actions_add_front(int code) { action_list.push_front(code); }
void actions_add_back(int code) { action_list.push_back(code); }
void actions_remove(int code) { action_list.remove(code); }
