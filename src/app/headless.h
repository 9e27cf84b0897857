// The game without a window: the real frame function over the null driver, a fake
// clock that sleeps move on at once, keys scripted per frame, and a frame that stops
// where the program asks to end, as the real process does.
#pragma once
#include <cstdint>
#include <vector>

#include "game/state.h"

enum {
    HOLD_A = 1,
    HOLD_D = 2,
    HOLD_SPACE = 4,
    HOLD_W = 8,
    HOLD_S = 16,
    HOLD_ENTER = 32,
    HOLD_ESC = 64,
    HOLD_P = 128,
};

struct sim_state_t {
    int     frame;
    float   x, y, z;
    int     level, lives, stars;
    int     tile;
    uint8_t on_ground, jump, jump_descending, falling, on_finish, level_start, game_over;
    float   on_wall;
};

// Puts the game back as at program start, moves into work_dir (a folder with
// ../resources beside it) and runs start-up for the menu.
// False when start-up ended the program (level one unusable).
bool sim_open(const char* work_dir, int screen_w = 1366, int screen_h = 768, int frame_ms = 16);
// One frame with the given keys held; false once the program has ended.
bool sim_frame(unsigned held);
// Keys as the window reports them between frames: a character or a special
// key going down or up, and the keyboard focus looked at before a frame.
void sim_key(unsigned char key, bool down);
void sim_special_key(int special, bool down);
void sim_focus(bool focused);
// One frame with the keys as those reports left them.
bool sim_frame_as_typed();
// Enter on the menu: starts play. False if the program ended instead.
bool        sim_start_play();
sim_state_t sim_state();
bool        sim_ended();
int         sim_exit_status();

// What the rules raised: the last frame's events, and each event with the frame
// it happened on (sim_state().frame after it) since sim_open, oldest first.
struct sim_event_t {
    int          frame;
    game_event_t event;
};
game_events_t                   sim_events();
const std::vector<sim_event_t>& sim_event_log();

// Everything a frame reads or writes, so a search can branch on the keys.
// Restoring drops the log's events after the restored frame: a rewound run reads as run.
typedef game_state_t sim_snapshot_t;
void                 sim_save(sim_snapshot_t* snap);
void                 sim_restore(const sim_snapshot_t& snap);

// Back to the folder sim_open started from.
void sim_close();

// The game's state and everything loaded as at program start.
void reset_game_state();
