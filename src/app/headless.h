// The game without a window: the real frame function over the null driver, a fake
// clock that sleeps move on at once, keys scripted per frame, and a frame that stops
// where the program asks to end, as the real process does.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/devices.h"
#include "assets/recording.h"
#include "game/state.h"

// The buttons held for a frame, named by their keys: replays and tests write them so.
inline constexpr unsigned HOLD_A = button_bit(BUTTON_LEFT);
inline constexpr unsigned HOLD_D = button_bit(BUTTON_RIGHT);
inline constexpr unsigned HOLD_SPACE = button_bit(BUTTON_JUMP);
inline constexpr unsigned HOLD_W = button_bit(BUTTON_MENU_UP);
inline constexpr unsigned HOLD_S = button_bit(BUTTON_MENU_DOWN);
inline constexpr unsigned HOLD_ENTER = button_bit(BUTTON_CONFIRM);
inline constexpr unsigned HOLD_ESC = button_bit(BUTTON_BACK);
inline constexpr unsigned HOLD_P = button_bit(BUTTON_PAUSE);
inline constexpr unsigned HOLD_M = button_bit(BUTTON_MUTE);
inline constexpr unsigned HOLD_R = button_bit(BUTTON_RECORDS);
inline constexpr unsigned HOLD_L = button_bit(BUTTON_WORLDS);

struct sim_state_t {
    int     frame;
    float   x, y, z;
    int     level, lives, stars;
    int     tile;
    uint8_t on_ground, jump, jump_descending, falling, on_finish, level_start, game_over;
    float   on_wall;
};

// Puts the game back as at program start, moves into work_dir (a folder with
// ../resources beside it) and runs start-up for the menu. Frames then fill the
// same command the window does, their clock a fake one that moves frame_ms a frame.
// False when start-up ended the program (level one unusable).
bool sim_open(const char* work_dir, int screen_w = 1366, int screen_h = 768, int32_t frame_ms = FRAME_MS);
// One frame with exactly this command, its clock moving only as the command's does;
// false once the program has ended.
bool sim_command(const command_t& cmd);
// After sim_open: the recording's frames played in a game on the levels it was
// recorded on, ending on its last frame; false with the reason otherwise.
bool sim_play_recording(const recording_t& r, std::string* why);
// One frame with exactly the given buttons held; false once the program has ended.
bool sim_frame(unsigned held);
// Frames from now on take this speed scale without reading "scale.txt", for a search
// in a folder whose scale file nothing changes; 0 reads it every frame again, as the
// game does (sim_open starts so).
void sim_hold_scale(float speed_scale);
// Keys as the window reports them between frames: a character or a special
// key going down or up; the keyboard focus and the pads' controls as the next
// frames' commands find them.
void sim_key(unsigned char key, bool down);
void sim_special_key(int special, bool down);
void sim_focus(bool focused);
void sim_pads(unsigned controls);
// The game's own lines kept off standard output while quiet, as a tool's start-up wants.
void sim_keep_quiet(bool quiet);
// Frames run apart from a game under way, as a level made while one is played: undrawn,
// touching nothing the window shows, unrecorded, focused, the clock a frame a frame. The
// caller sets the game's state aside before and puts it back after.
void sim_aside(bool on);
// One frame with the keys as those reports left them.
bool sim_frame_as_typed();
// Enter on the menu: starts play. False if the program ended instead.
bool        sim_start_play();
sim_state_t sim_state();
bool        sim_ended();
int         sim_exit_status();
// Times "player.s" was written since sim_open.
int sim_results_writes();

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

// The action list as codes: each code is queued once, so a handful at most.
inline constexpr int SIM_ACTIONS_MAX = 32;

// What a frame of one level's play moves, for a search that branches on the keys
// millions of times: the state less the level's map, the next level and the requests,
// none of which such frames change (the map's pickups aside: the search keeps those),
// and the action list as codes, whose order a fall or a wall leaves behind. Restoring
// it drops the log's later events, as sim_restore does.
struct sim_moving_t {
    game_flow_t    flow;
    ship_t         ship;
    level_timer_t  timer;
    results_t      results;
    float          speed_scale;
    command_t      cmd;
    button_table_t buttons;
    frame_walk_t   walk;
    game_events_t  events;
    uint8_t        muted;
    process_t      process;
    int            actions[SIM_ACTIONS_MAX];
    int            action_count;
};
void sim_save_moving(sim_moving_t* moving);
void sim_restore_moving(const sim_moving_t& moving);

// Back to the folder sim_open started from.
void sim_close();

// The game's state and everything loaded as at program start.
void reset_game_state();
