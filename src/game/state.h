// Everything a frame reads or writes, in one global struct: reset, save and
// restore are one copy each. The GL side (display lists, textures) lives in render/.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "game/events.h"
#include "results/results.h"

// Keys as GLUT reports them: indices into the key table.
enum {
    KEY_ENTER = 13,
    KEY_ESC = 27,
    KEY_SPACE = 32,
    KEY_A = 97,
    KEY_D = 100,
    KEY_M = 109,
    KEY_P = 112,
    KEY_S = 115,
    KEY_W = 119,
};

// What holds a key down: a key stays held while any of them still holds it.
enum {
    KEY_SOURCE_CHAR = 1,      // the keyboard's characters
    KEY_SOURCE_SPECIAL = 2,   // the arrow keys, standing in for w, a, s, d
    KEY_SOURCE_PAD = 4,       // every game controller plugged in
};

// Between frames the keys arrive one by one; a frame sees the table as a whole.
struct key_marks_t {
    uint8_t pressed[256];         // sources pressed since the frame began
    uint8_t release_after[256];   // sources let go of before any frame saw them
    uint8_t was_held[256];        // the table as the last frame saw it
    bool    focus_lost;           // the window had no keyboard focus at the last look
};

struct game_flow_t {
    int     current_level;   // 1 to 5
    int     lives;
    int     stars_collected;   // in the current level
    uint8_t level_start;       // loaded, not yet started: track and ship hidden
    uint8_t on_finish;
    uint8_t level_complete;   // fly-off over
    uint8_t game_over;        // totals made, summary showing
    uint8_t game_started;     // play chosen on the menu
    uint8_t ship_drawn;       // ACT_SHIP has run: Enter no longer acts on the menu
    uint8_t menu_selection;   // 0 play, 1 exit
    uint8_t paused;           // play stands still, the scene is drawn under "PAUSED"
    int64_t level_time;       // ms, taken at the finish or while no lives are left
    int64_t frozen_seconds;   // shown by the HUD once the finish is reached
    float   text_anchor[3];
    float   pickup_spin;   // degrees, shared by every star and heart
};

enum ship_bank_t : int8_t { BANK_NONE, BANK_LEFT, BANK_RIGHT };

// How the ship stands to the track. Put on the spawn point it has not touched
// down yet, and that first touch is no landing.
enum ship_contact_t : uint8_t { CONTACT_SPAWNED, CONTACT_RESTING, CONTACT_AIRBORNE };

struct ship_t {
    float       pos[3];
    float       prev_pos[3];   // only y is used: y before the last forward step
    float       spawn[3];
    float       heading;   // degrees about z
    float       forward_step, side_step, fall_step, rise_step;
    float       left_rate, right_rate;
    float       fall_factor;
    float       rise_factor;
    float       jump_apex;
    uint8_t     jump;
    uint8_t     jump_descending;
    uint8_t     on_ground;
    float       on_wall;      // 0.0 or 1.0
    float       wall_below;   // 0.0 or 1.0
    uint8_t     falling;
    uint8_t     contact;           // a ship_contact_t: so a landing is heard once a jump or drop
    int         tile_under_ship;   // byte offset into the level pixels
    ship_bank_t bank;              // the steering key held this frame, as the ship is drawn
};

// A level picture: its header and its pixel block, looked up as tiles.
struct level_map_t {
    uint8_t              info_header[40];
    std::vector<uint8_t> pixels;   // line_length * height bytes, bottom row first
    int16_t              width;
    int16_t              height;
    int32_t              line_length;   // bytes from one row to the next
};

// The next level's picture, read by the frame once the finish is reached and
// swapped in by the fly-off; `why` says why it cannot be played when not usable.
struct next_level_t {
    bool        read;
    bool        usable;
    level_map_t picture;
    std::string why;
};

struct level_timer_t {
    bool    reset;
    bool    running;
    int32_t start_tick;
    int32_t stop_tick;
};

// The process as the game sees it: its clock, its sleeps and its exit. A window-free
// run fakes the clock and records the exit instead of taking it.
struct process_t {
    bool    fake_time;
    int32_t fake_now_ms;
    int     sleep_calls;
    int32_t slept_ms;
    bool    keep_running;
    bool    exit_requested;
    int     exit_status;
    int     frames_run;
};

struct game_state_t {
    game_flow_t    flow;
    ship_t         ship;
    level_map_t    level;
    next_level_t   next_level;
    level_timer_t  timer;
    results_t      results;
    std::list<int> actions;   // the codes a frame runs, in order
    float          speed_scale;
    uint8_t        keys[256];   // the sources holding each key, by the 8-bit code GLUT reports
    key_marks_t    key_marks;
    game_events_t  events;         // what happened this frame, one bit a game_event_t
    game_events_t  events_ahead;   // raised between frames: the next frame's
    uint8_t        muted;          // no sound: m toggles it, --mute starts with it, play again keeps it
    process_t      process;
};

extern game_state_t       game;
extern const game_state_t game_at_start;
