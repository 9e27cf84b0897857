#include "game/pickups.h"

#include "game/events.h"
#include "game/levelmap.h"
#include "game/requests.h"
#include "game/state.h"
#include "game/timer.h"
#include "game/tuning.h"
#include "results/results.h"

void take_pickups() {
    int         tile = game.ship.tile_under_ship;
    tile_kind_t kind = tile_kind_at(tile);
    bool        in_reach = game.ship.pos[2] < PICKUP_REACH;
    if (kind == TILE_STAR && in_reach) {
        game.flow.stars_collected++;
        set_tile_floor(tile);
        raise_event(EV_STAR);
    } else if (kind == TILE_HEART && in_reach) {
        game.flow.lives++;
        set_tile_floor(tile);
        raise_event(EV_HEART);
    }
}

void finish_test() {
    game_flow_t& flow = game.flow;
    if (game.ship.falling || flow.on_finish)
        return;
    if (tile_kind_at(game.ship.tile_under_ship) != TILE_FINISH)
        return;
    flow.on_finish = 1;
    raise_event(EV_LEVEL_FINISHED);
    flow.level_time = timer_elapsed_ms();
    flow.frozen_seconds = timer_elapsed_seconds();
    fill_record(&game.results, flow.current_level, flow.stars_collected, flow.level_time, flow.lives);
    timer_reset();
    if (flow.current_level == LEVEL_COUNT)
        request_results_written();
    if (game.timer.running)
        timer_stop();
}
