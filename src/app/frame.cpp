#include "app/frame.h"

#include <cstdio>
#include <vector>

#include "app/levels.h"
#include "assets/scale.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/events.h"
#include "game/flow.h"
#include "game/input.h"
#include "game/keytable.h"
#include "game/motion.h"
#include "game/pause.h"
#include "game/state.h"
#include "render/render.h"

void load_game() {
    load_assets();
    render_setup_view();
    printf("OpenGL version: %s\n", render_gl_version());
    if (load_first_level())
        fflush(stdout);
}

void run_startup() {
    load_game();
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
    summary_action();
    draw_summary();
}

// Each code with an action and what it runs; ACT_ON_TRACK has none: it marks play, read by the others.
static const struct {
    int code;
    void (*run)();
} action_table[] = {
    {ACT_SHIP, act_ship},
    {ACT_VERTICAL, vertical_motion},
    {ACT_STEER_LEFT, steer_left},
    {ACT_STEER_RIGHT, steer_right},
    {ACT_FORWARD, forward_motion},
    {ACT_TRACK, act_track},
    {ACT_LEVEL_START, act_level_start},
    {ACT_SUMMARY, act_summary},
    {ACT_HUD, draw_hud},
    {ACT_RISE, rise},
    {ACT_BACKGROUND, draw_background},
    {ACT_MENU, draw_menu},
    {ACT_PAUSED, draw_paused},
};

static void run_action(int code) {
    for (const auto& action : action_table) {
        if (action.code == code) {
            action.run();
            return;
        }
    }
}

static void run_actions() {
    std::vector<int> walk(game.actions.begin(), game.actions.end());
    for (int code : walk) {
        if (game.process.exit_requested)
            return;
        if (!action_stands_still(code))
            run_action(code);
    }
}

// Play again: everything as at program start but the process itself, which
// keeps its clock, and the sound's mute; what start-up loaded is kept and used again.
static void fresh_game() {
    process_t process = game.process;
    uint8_t   muted = game.muted;
    game = game_at_start;
    game.process = process;
    game.muted = muted;
}

void run_frame() {
    clear_events();
    keys_frame_begin();
    read_scale();
    compute_steps(game.speed_scale);
    if (game.flow.lives == 0)
        game_over_bookkeeping();
    input_request_t request = input_step();
    if (request == INPUT_NEW_GAME)
        fresh_game();
    if (request != INPUT_GO_ON)
        run_startup();
    if (game.process.exit_requested)
        return;
    // after the input step, so the clear sees the actions this frame runs
    render_clear(actions_has(ACT_BACKGROUND));
    render_begin_scene();
    for (int i = 0; i < 3; i++)
        game.flow.text_anchor[i] = game.ship.pos[i];
    read_next_level_when_due();
    run_actions();
    // the real process is gone by now: the runner ends its frame where the exit came
    if (game.process.exit_requested)
        return;
    keys_frame_end();
    render_end_frame();
}
