#include "game/flow.h"

#include <string>

#include "game/actions.h"
#include "game/events.h"
#include "game/levelmap.h"
#include "game/requests.h"
#include "game/state.h"
#include "game/timer.h"
#include "game/tuning.h"
#include "results/results.h"

static void start_after_loading() {
    game.flow.stars_collected = 0;
    request_buttons_afresh();
    game.ship.bank = BANK_NONE;
    game.ship.heading = SHIP_HEADING;
    place_on_spawn(&game.ship);
}

void start_menu() {
    start_after_loading();
    actions_add_back(ACT_MENU);
}

void start_play() {
    start_after_loading();
    for (int code : play_codes)
        actions_add_back(code);
}

void level_start() {
    if (!game.flow.level_start)
        return;
    game.flow.level_start = 0;
    timer_start();
    game.flow.stars_collected = 0;
}

// A next level that cannot be played ends the game with what it has so far.
static void abandon_at_level(const char* path, const std::string& why) {
    request_results_written();
    request_exit(1);
    game.requests.exit_line =
        "ERROR: cannot load level " + std::to_string(game.flow.current_level) + " from \"" + path + "\": " + why;
}

static void advance_level() {
    game_flow_t& flow = game.flow;
    flow.current_level++;
    flow.level_complete = 0;
    flow.on_finish = 0;
    game.ship.jump = 0;
    std::string path = game.next_level.path, why;
    if (!swap_in_next_level(&why)) {
        abandon_at_level(path.c_str(), why);
        return;
    }
    place_on_spawn(&game.ship);
    flow.level_start = 1;
    // no lookup has been made at the new position yet
    game.ship.tile_under_ship = 0;
}

void fly_off() {
    ship_t& ship = game.ship;
    if (ship.prev_pos[1] + FLY_OFF_GLIDE > ship.pos[1])
        ship.pos[1] += FLY_OFF_STEP;
    else
        ship.pos[2] += FLY_OFF_STEP;
    if (ship.pos[2] > FLY_OFF_HEIGHT && !game.flow.game_over) {
        game.flow.level_complete = 1;
        game.flow.level_change_waiting = 1;
        game.flow.level_change_end_ms = tick_add(game.cmd.now_ms, LEVEL_CHANGE_PAUSE_MS);
    }
}

bool level_change_over() { return tick_sub(game.cmd.now_ms, game.flow.level_change_end_ms) >= 0; }

void advance_when_complete() {
    game.flow.level_change_waiting = 0;
    if (game.flow.level_complete && game.flow.current_level < LEVEL_COUNT)
        advance_level();
}

void end_game_when_over() {
    game_flow_t& flow = game.flow;
    if (!(flow.lives == 0 || (flow.current_level == LEVEL_COUNT && flow.level_complete)))
        return;
    if (!flow.game_over) {
        sum_results(&game.results);
        raise_event(flow.lives == 0 ? EV_GAME_LOST : EV_GAME_WON);
    }
    flow.game_over = 1;
    for (int code : play_codes)
        actions_remove(code);
    actions_add_front(ACT_SUMMARY);
}

void game_over_bookkeeping() {
    game_flow_t& flow = game.flow;
    flow.level_time = timer_elapsed_ms();
    if (game.timer.running)
        timer_stop();
    fill_record(&game.results, flow.current_level, flow.stars_collected, flow.level_time, 0);
    request_results_written();
}

bool ship_action() {
    game.flow.ship_drawn = 1;
    return !game.flow.level_start;
}

bool track_action() {
    if (game.flow.level_start)
        return false;
    if (game.flow.paused)
        return true;
    if (game.flow.pickup_spin < PICKUP_SPIN_TURN)
        game.flow.pickup_spin += PICKUP_SPIN_STEP / game.speed_scale;
    else
        game.flow.pickup_spin = 0;
    return true;
}

void summary_action() { actions_remove(ACT_SUMMARY); }
