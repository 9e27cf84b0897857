// The frame function, the game-flow state and the action handlers it owns.
#pragma once
#include <cstdint>

struct game_flow_t {
    int      current_level;     // 1 to 5
    int      lives;
    int      stars_collected;   // in the current level
    uint8_t  level_start;       // loaded, not yet started: track and ship hidden
    uint8_t  on_finish;
    uint8_t  level_complete;    // fly-off over
    uint8_t  game_over;         // totals made, summary showing
    uint8_t  game_started;      // play chosen on the menu
    uint8_t  ship_drawn;        // action 0 has run: Enter no longer acts on the menu
    uint8_t  menu_selection;    // 0 play, 1 exit
    int64_t  level_time;        // ms, taken at the finish or while no lives are left
    int64_t  frozen_seconds;    // shown by the HUD once the finish is reached
    float    text_anchor[3];
    float    pickup_spin;       // degrees, shared by every star and heart
};
extern game_flow_t       flow;
extern const game_flow_t flow_at_start;

extern const char* const level_files[5];

void run_frame();

// Action handlers that live here: level start and light, fly-off and advance.
void level_start_and_light();
void fly_off_and_advance();
void game_over_bookkeeping();
