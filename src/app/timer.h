// The level stopwatch, in milliseconds of real time.
#pragma once
#include <cstdint>

struct level_timer_t {
    bool    reset;
    bool    running;
    int32_t start_tick;
    int32_t stop_tick;
};
extern level_timer_t level_timer;

void     timer_start();
void     timer_stop();
void     timer_reset();
uint32_t timer_elapsed_ms();
uint32_t timer_elapsed_seconds();
