#include "app/frame.h"

#include <vector>

#include "assets/scale.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/flow.h"
#include "game/input.h"
#include "game/motion.h"
#include "game/state.h"
#include "render/render.h"

void run_startup() {
    startup();
    if (!game.process.exit_requested)
        start_menu_or_play();
}

static void act_ship() {
    if (ship_action())
        draw_ship();
}

static void act_track() {
    if (track_action())
        draw_track();
}

static void act_level_start() {
    level_start();
    render_light_on_ship();
}

static void act_summary() {
    if (summary_action())
        draw_summary();
}

static void act_nothing() {}

typedef void (*action_fn)();
static const action_fn action_table[ACT_COUNT] = {
    act_ship,          // ACT_SHIP
    vertical_motion,   // ACT_VERTICAL
    steer_left,        // ACT_STEER_LEFT
    steer_right,       // ACT_STEER_RIGHT
    forward_step,      // ACT_FORWARD
    act_track,         // ACT_TRACK
    act_level_start,   // ACT_LEVEL_START
    act_nothing,       // 7
    act_nothing,       // 8
    act_nothing,       // ACT_ON_TRACK: marks play, read by the others
    act_summary,       // ACT_SUMMARY
    act_nothing,       // 11
    draw_hud,          // ACT_HUD
    rise,              // ACT_RISE
    draw_background,   // ACT_BACKGROUND
    draw_menu,         // ACT_MENU
};

static void run_actions() {
    std::vector<int> walk(game.actions.begin(), game.actions.end());
    for (int code : walk) {
        if (game.process.exit_requested)
            return;
        if (code >= 0 && code < ACT_COUNT)
            action_table[code]();
    }
}

void run_frame() {
    read_scale();
    compute_steps(game.speed_scale);
    if (game.flow.lives == 0)
        game_over_bookkeeping();
    if (input_step())
        run_startup();
    if (game.process.exit_requested)
        return;
    // after the input step, so the clear sees the actions this frame runs
    render_clear(actions_has(ACT_BACKGROUND));
    render_begin_scene();
    for (int i = 0; i < 3; i++)
        game.flow.text_anchor[i] = game.ship.pos[i];
    run_actions();
    render_end_frame();
}
