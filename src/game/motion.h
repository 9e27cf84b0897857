// The ship: position, steps, rates and the flags of its motion.
#pragma once
#include <cstdint>

struct ship_t {
    float   pos[3];
    float   prev_pos[3];        // only y is used: y before the last forward step
    float   spawn[3];
    float   heading;            // degrees about z, always 90
    float   forward_step, side_step, fall_step, rise_step;
    float   left_rate, right_rate;
    float   fall_factor;
    float   rise_factor;
    float   jump_apex;
    uint8_t jump;
    uint8_t jump_descending;
    uint8_t on_ground;
    float   on_wall;            // 0.0 or 1.0
    float   wall_below;         // 0.0 or 1.0
    uint8_t falling;
    int     tile_under_ship;    // byte offset into the level pixels
};
extern ship_t       ship;
extern const ship_t ship_at_start;

extern const float spawn_point[3];

void compute_steps(float scale);
void vertical_motion();   // action 1
void rise();              // action 13
void forward_step();      // action 4
void steer_left();        // action 2
void steer_right();       // action 3
