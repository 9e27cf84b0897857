#include "app/frame.h"

#include <cstdio>
#include <string>
#include <vector>

#include "assets/bmp.h"
#include "assets/scale.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/flow.h"
#include "game/input.h"
#include "game/levelmap.h"
#include "game/motion.h"
#include "game/process.h"
#include "game/state.h"
#include "render/render.h"

static bool fail_first_level(const char* path, const std::string& why) {
    printf("ERROR: cannot open input file with the scene data\n");
    fprintf(stderr, "%s: %s\n", path, why.c_str());
    process_exit(1);
    return false;
}

bool load_first_level() {
    const char* path = level_files[0];
    game.level.pixels = {};
    std::string why;
    level_map_t picture;
    if (!open_level_picture(path, &picture, &why))
        return fail_first_level(path, why);
    game.level = std::move(picture);
    const level_map_t& l = game.level;
    printf("Bitmap size: %d,%d (line length:%d, size:%d (%d))\n", l.width, l.height, l.line_length,
           (int)l.pixels.size(), l.width * l.height * 3);
    return true;
}

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

void read_next_level(const char* path) {
    next_level_t& next = game.next_level;
    next.read = true;
    next.usable = open_level_picture(path, &next.picture, &next.why);
}

// Read as soon as the finish is reached: the fly-off swaps it in inside the
// forward action, where the rules read no files.
static void read_next_level_once_finished() {
    const game_flow_t& flow = game.flow;
    if (flow.on_finish && flow.current_level < LEVEL_COUNT && !game.next_level.read)
        read_next_level(level_files[flow.current_level]);
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
    int  code;
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
        run_action(code);
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
    read_next_level_once_finished();
    run_actions();
    render_end_frame();
}
