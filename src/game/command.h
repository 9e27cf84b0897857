// One frame's command: everything the rules read of the world outside the game.
// The app fills it before the rules run, from the keyboard through the binding
// table, from the pads and from the focus check; the window-free runner, the
// solver and the replays fill the same one.
#pragma once
#include <cstdint>

// What a player can ask for. The order is the runner's and the replays' bit order: keep it.
enum button_t {
    BUTTON_LEFT,
    BUTTON_RIGHT,
    BUTTON_JUMP,
    BUTTON_MENU_UP,
    BUTTON_MENU_DOWN,
    BUTTON_CONFIRM,
    BUTTON_BACK,
    BUTTON_PAUSE,
    BUTTON_MUTE,
    BUTTON_PAUSE_OR_LEAVE,   // a controller's Back: pauses play, leaves the menu, the pause and the summary
    BUTTON_CANCEL,           // a step back: from the pause screen to play
    BUTTON_RECORDS,          // the records and replays, from the menu
    BUTTON_GHOST,            // the best run's ghost hidden or shown
    BUTTON_FAST,             // a watched game at four times its speed
    BUTTON_WINDOW,           // full screen or a window, at any time
    BUTTON_SETTINGS,         // the settings, from the menu and the pause screen
    BUTTON_WORLDS,           // the world picker, from the menu
    BUTTON_COUNT,
};

// One bit a button_t.
typedef uint32_t buttons_t;

inline constexpr buttons_t button_bit(button_t button) { return (buttons_t)1 << button; }

struct command_t {
    buttons_t held;          // held this frame, a tap between frames included
    buttons_t pressed;       // held this frame and not the last
    bool      focused;       // the window has the keyboard
    int32_t   now_ms;        // the clock the level timer reads, once a frame
    float     speed_scale;   // as read from "scale.txt" for this frame
};

inline bool holds(const command_t& cmd, button_t button) { return (cmd.held & button_bit(button)) != 0; }
inline bool presses(const command_t& cmd, button_t button) { return (cmd.pressed & button_bit(button)) != 0; }
