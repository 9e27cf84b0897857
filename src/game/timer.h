// The level stopwatch, in milliseconds of the clock each frame's command reads.
#pragma once
#include <cstdint>

void     timer_start();
void     timer_stop();
void     timer_reset();
uint32_t timer_elapsed_ms();
uint32_t timer_elapsed_seconds();
