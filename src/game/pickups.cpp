#include "game/pickups.h"

#include "app/frame.h"
#include "app/timer.h"
#include "game/motion.h"
#include "render/levelmap.h"
#include "results/results.h"

void take_pickups() {
    int tile = ship.tile_under_ship;
    tile_kind_t kind = tile_kind_at(tile);
    if (kind == TILE_STAR && ship.pos[2] < 0.0045) {
        flow.stars_collected++;
        set_tile_floor(tile);
    } else if (kind == TILE_HEART && ship.pos[2] < 0.0045) {
        flow.lives++;
        set_tile_floor(tile);
    }
}

void finish_test() {
    if (ship.falling || flow.on_finish)
        return;
    if (tile_kind_at(ship.tile_under_ship) != TILE_FINISH)
        return;
    flow.on_finish = 1;
    flow.level_time = timer_elapsed_ms();
    flow.frozen_seconds = timer_elapsed_seconds();
    fill_record(flow.current_level, flow.stars_collected, flow.level_time, flow.lives);
    timer_reset();
    if (flow.current_level == 5)
        write_results();
    if (level_timer.running)
        timer_stop();
}
