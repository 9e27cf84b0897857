#include "app/frame.h"

#include <cstdio>
#include <vector>

#include "app/keys.h"
#include "app/platform.h"
#include "app/timer.h"
#include "assets/scale.h"
#include "game/actions.h"
#include "game/input.h"
#include "game/motion.h"
#include "render/levelmap.h"
#include "render/render.h"
#include "results/results.h"

const game_flow_t flow_at_start = {
    1, 5, 0,
    1, 0, 0, 0, 0, 0, 0,
    0, 0,
    {0, 0, 0},
    360.0f,   // not below 360, so the first spin step starts from 0
};
game_flow_t flow = flow_at_start;

const char* const level_files[5] = {
    "../resources/levelone.bmp",  "../resources/leveltwo.bmp",  "../resources/levelthree.bmp",
    "../resources/levelfour.bmp", "../resources/levelfive.bmp",
};

void level_start_and_light() {
    if (flow.level_start) {
        flow.level_start = 0;
        timer_start();
        flow.stars_collected = 0;
    }
    render_light_on_ship();
}

// A next level that cannot be played ends the game with what it has so far.
static void abandon_at_level(const char* path, const std::string& why) {
    printf("ERROR: cannot load level %d from \"%s\": %s\n", flow.current_level, path, why.c_str());
    write_results();
    platform_exit(1);
}

static void advance_level() {
    flow.current_level++;
    flow.level_complete = 0;
    flow.on_finish = 0;
    ship.jump = 0;
    const char* path = level_files[flow.current_level - 1];
    std::string why;
    if (!load_next_level(path, &why)) {
        abandon_at_level(path, why);
        return;
    }
    for (int i = 0; i < 3; i++)
        ship.pos[i] = spawn_point[i];
    flow.level_start = 1;
    // no lookup has been made at the new position yet
    ship.tile_under_ship = 0;
}

void fly_off_and_advance() {
    if (ship.prev_pos[1] + 0.005 > ship.pos[1])
        ship.pos[1] += 0.00005;
    else
        ship.pos[2] += 0.00005;
    if (ship.pos[2] > 0.01 && !flow.game_over) {
        flow.level_complete = 1;
        platform_sleep_ms(2500);
    }
    if (flow.level_complete && flow.current_level < 5)
        advance_level();
}

void game_over_bookkeeping() {
    flow.level_time = timer_elapsed_ms();
    if (level_timer.running)
        timer_stop();
    fill_record(flow.current_level, flow.stars_collected, flow.level_time, 0);
    write_results();
}

static void spin_pickups() {
    if (flow.pickup_spin < 360)
        flow.pickup_spin += 5 / speed_scale;
    else
        flow.pickup_spin = 0;
}

static void act_ship() {
    if (!flow.level_start)
        draw_ship();
    flow.ship_drawn = 1;
}

static void act_track() {
    if (flow.level_start)
        return;
    spin_pickups();
    draw_track();
}

static void act_summary() {
    if (key_table[KEY_ESC]) {
        platform_exit(0);
        return;
    }
    draw_summary();
    actions_remove(ACT_SUMMARY);
}

static void act_nothing() {}

typedef void (*action_fn)();
static const action_fn action_table[16] = {
    act_ship,            // 0
    vertical_motion,     // 1
    steer_left,          // 2
    steer_right,         // 3
    forward_step,        // 4
    act_track,           // 5
    level_start_and_light, // 6
    act_nothing,         // 7
    act_nothing,         // 8
    act_nothing,         // 9: marks play, read by the others
    act_summary,         // 10
    act_nothing,         // 11
    draw_hud,            // 12
    rise,                // 13
    draw_background,     // 14
    draw_menu,           // 15
};

static void run_actions() {
    std::vector<int> walk(action_list.begin(), action_list.end());
    for (int code : walk) {
        if (platform.exit_requested)
            return;
        if (code >= 0 && code < 16)
            action_table[code]();
    }
}

void run_frame() {
    read_scale();
    compute_steps(speed_scale);
    if (flow.lives == 0)
        game_over_bookkeeping();
    render_clear();
    input_step();
    if (platform.exit_requested)
        return;
    render_begin_scene();
    for (int i = 0; i < 3; i++)
        flow.text_anchor[i] = ship.pos[i];
    run_actions();
    render_end_frame();
}
