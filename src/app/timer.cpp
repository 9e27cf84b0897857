#include "app/timer.h"

#include "app/platform.h"

level_timer_t level_timer = {true, false, 0, 0};

// tick arithmetic wraps like the 32-bit clock it models
static int32_t tick_sub(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b); }
static int32_t tick_add(int32_t a, int32_t b) { return (int32_t)((uint32_t)a + (uint32_t)b); }

void timer_start() {
    if (level_timer.running)
        return;
    int32_t now = platform_ticks_ms();
    if (level_timer.reset)
        level_timer.start_tick = now;
    else
        level_timer.start_tick = tick_add(level_timer.start_tick, tick_sub(now, level_timer.stop_tick));
    level_timer.reset = false;
    level_timer.running = true;
}

void timer_stop() {
    if (!level_timer.running)
        return;
    level_timer.stop_tick = platform_ticks_ms();
    level_timer.running = false;
}

void timer_reset() {
    bool was_running = level_timer.running;
    if (was_running)
        timer_stop();
    level_timer.reset = true;
    level_timer.start_tick = 0;
    level_timer.stop_tick = 0;
    if (was_running) {
        level_timer.start_tick = platform_ticks_ms();
        level_timer.reset = false;
        level_timer.running = true;
    }
}

uint32_t timer_elapsed_ms() {
    int32_t end = level_timer.running ? platform_ticks_ms() : level_timer.stop_tick;
    return (uint32_t)end - (uint32_t)level_timer.start_tick;
}

uint32_t timer_elapsed_seconds() { return timer_elapsed_ms() / 1000; }
