// Everything a frame reads or writes, in one global struct: reset, save and
// restore are one copy each. The GL side (display lists, textures) lives in render/.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "game/command.h"
#include "game/events.h"
#include "results/results.h"

// What holds a button down: it stays held while any of them still holds it.
enum {
    SOURCE_KEYS = 1,           // the keyboard's characters
    SOURCE_SPECIAL_KEYS = 2,   // the arrow keys
    SOURCE_PADS = 4,           // every game controller plugged in
};

// The table's rows padded to whole 16 buttons, the slots past BUTTON_COUNT always empty: a
// frame's pass over a row stays a vector step or two however many buttons there are.
inline constexpr int BUTTON_SLOTS = (BUTTON_COUNT + 15) / 16 * 16;

// The buttons as the devices left them between frames; a frame's command is read from it.
struct button_table_t {
    uint8_t held[BUTTON_SLOTS];            // the sources holding each button
    uint8_t pressed_since[BUTTON_SLOTS];   // sources pressed since the last frame's command
    uint8_t release_after[BUTTON_SLOTS];   // sources let go of before any frame saw them
    uint8_t was_held[BUTTON_SLOTS];        // as the last frame saw them
    bool    focus_lost;                    // the window had no keyboard at the last command
};

struct game_flow_t {
    int     current_level;   // 1 to 5
    int     lives;
    int     stars_collected;   // in the current level
    uint8_t level_start;       // loaded, not yet started: track and ship hidden
    uint8_t on_finish;
    uint8_t level_complete;         // fly-off over
    uint8_t game_over;              // totals made, summary showing
    uint8_t game_started;           // play chosen on the menu
    uint8_t ship_drawn;             // ACT_SHIP has run: Enter no longer acts on the menu
    uint8_t menu_selection;         // 0 play, 1 exit
    uint8_t records_open;           // the records screen stands over the menu
    int16_t records_selection;      // the line Enter watches
    int16_t records_lines;          // lines the app listed on it
    uint8_t settings_open;          // the settings stand over the menu or the pause screen
    int16_t settings_selection;     // the row Enter and the steering keys change
    int16_t settings_rows;          // rows the app listed on it
    uint8_t worlds_open;            // the world picker stands over the menu
    int16_t worlds_selection;       // the world Enter plays
    int16_t worlds_lines;           // worlds the app listed on it
    uint8_t world_ready;            // the app has the chosen world ready: play starts on it
    uint8_t paused;                 // play stands still, the scene is drawn under "PAUSED"
    uint8_t focus_lost;             // the last command came without the keyboard
    uint8_t focus_pause_due;        // the keyboard went while play could not pause: it pauses when it can
    uint8_t level_change_waiting;   // the fly-off is over: the frame holds until the change's end
    int32_t level_change_end_ms;
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
    std::string path;   // where it was read from, for the message that it cannot be played
};

struct level_timer_t {
    bool    reset;
    bool    running;
    int32_t start_tick;
    int32_t stop_tick;
};

// The frame being walked: a level change holds it at the fly-off's end, and it goes on
// from the next code once the wait is over.
struct frame_walk_t {
    int codes[32];
    int count;
    int next;
};

// What the frame asks of the app, carried out once the rules are done: the rules do no I/O.
struct requests_t {
    bool        exit;   // the program ends with exit_status; nothing of the frame runs after it
    int         exit_status;
    std::string exit_line;          // said on standard output as the program ends
    bool        write_results;      // "player.s" to be written with results_to_write
    bool        results_asked;      // some results were asked for this game: results_to_write holds the last
    results_t   results_to_write;   // kept, so the same results are not written again
    bool        release_buttons;    // start-up lets go of every button held
    bool        list_records;       // the records screen opened: its lines are to be listed
    bool        watch_asked;        // Enter on a records line: that game is to be watched
    int16_t     watch_line;
    bool        list_settings;   // the settings opened: their rows are to be listed
    bool        setting_asked;   // a settings row is to be changed: setting_change says how
    int16_t     setting_row;
    int8_t      setting_change;   // -1 down, +1 up, 0 Enter's change
    bool        list_worlds;      // the world picker opened: its worlds are to be listed
    bool        world_asked;      // Enter on a world: it is to be readied for play, or refused
    int16_t     world_line;
};

// The frames as they are run: counted by the frame function, and the window-free
// runner's clock, which a level change's wait moves at once.
struct process_t {
    int     frames_run;
    int32_t fake_now_ms;
    int     level_waits;   // level changes waited out by the runner
    int32_t waited_ms;
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
    command_t      cmd;       // this frame's: all the rules read of the devices, the clock and "scale.txt"
    button_table_t buttons;   // filled by the devices between frames, read into each command
    frame_walk_t   walk;
    game_events_t  events;   // what happened this frame, one bit a game_event_t
    uint8_t        muted;    // no sound: m toggles it, --mute starts with it, play again keeps it
    requests_t     requests;
    process_t      process;
};

// The one way onto the spawn point: at start, a new level and after a fall.
void place_on_spawn(ship_t* ship);

extern game_state_t       game;
extern const game_state_t game_at_start;
