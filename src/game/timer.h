// The level stopwatch, in milliseconds of the clock each frame's command reads.
#pragma once
#include <cstdint>

// Tick arithmetic wraps like the 32-bit clock it models.
int32_t tick_sub(int32_t a, int32_t b);
int32_t tick_add(int32_t a, int32_t b);

void     timer_start();
void     timer_stop();
void     timer_reset();
uint32_t timer_elapsed_ms();
uint32_t timer_elapsed_seconds();
