#include "game/timer.h"

#include "game/state.h"

int32_t tick_sub(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b); }
int32_t tick_add(int32_t a, int32_t b) { return (int32_t)((uint32_t)a + (uint32_t)b); }

void timer_start() {
    if (game.timer.running)
        return;
    int32_t now = game.cmd.now_ms;
    if (game.timer.reset)
        game.timer.start_tick = now;
    else
        game.timer.start_tick = tick_add(game.timer.start_tick, tick_sub(now, game.timer.stop_tick));
    game.timer.reset = false;
    game.timer.running = true;
}

void timer_stop() {
    if (!game.timer.running)
        return;
    game.timer.stop_tick = game.cmd.now_ms;
    game.timer.running = false;
}

void timer_reset() {
    bool was_running = game.timer.running;
    if (was_running)
        timer_stop();
    game.timer.reset = true;
    game.timer.start_tick = 0;
    game.timer.stop_tick = 0;
    if (was_running) {
        game.timer.start_tick = game.cmd.now_ms;
        game.timer.reset = false;
        game.timer.running = true;
    }
}

uint32_t timer_elapsed_ms() {
    int32_t end = game.timer.running ? game.cmd.now_ms : game.timer.stop_tick;
    return (uint32_t)end - (uint32_t)game.timer.start_tick;
}

uint32_t timer_elapsed_seconds() { return timer_elapsed_ms() / 1000; }
