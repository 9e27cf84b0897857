// The action list: the codes a frame runs, in order.
#pragma once

enum {
    ACT_SHIP = 0,
    ACT_VERTICAL = 1,
    ACT_STEER_LEFT = 2,
    ACT_STEER_RIGHT = 3,
    ACT_FORWARD = 4,
    ACT_TRACK = 5,
    ACT_LEVEL_START = 6,
    ACT_ON_TRACK = 9,
    ACT_SUMMARY = 10,
    ACT_HUD = 12,
    ACT_RISE = 13,
    ACT_BACKGROUND = 14,
    ACT_MENU = 15,
    ACT_PAUSED = 16,   // queued last while paused: drawn over the scene
};

// The codes of play, in the order start-up queues them.
extern const int play_codes[6];

bool actions_has(int code);
void actions_add_front(int code);
void actions_add_back(int code);
void actions_remove(int code);
