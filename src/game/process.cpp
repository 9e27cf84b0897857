#include "game/process.h"

#include <cstdio>

#include "game/state.h"
#include "platform/platform.h"

int32_t process_ticks_ms() {
    if (game.process.fake_time)
        return game.process.fake_now_ms;
    return platform_ticks_ms();
}

void process_sleep_ms(int32_t ms) {
    game.process.sleep_calls++;
    game.process.slept_ms += ms;
    if (!game.process.fake_time) {
        platform_sleep_ms(ms);
        return;
    }
    if (ms > 0)
        game.process.fake_now_ms = (int32_t)((uint32_t)game.process.fake_now_ms + (uint32_t)ms);
}

void process_exit(int status) {
    if (!game.process.keep_running)
        platform_exit(status);
    fflush(stdout);
    if (!game.process.exit_requested) {
        game.process.exit_requested = true;
        game.process.exit_status = status;
    }
}
