#include "app/frame.h"

#include <cstdio>

#include "app/levels.h"
#include "app/worlds.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/events.h"
#include "game/flow.h"
#include "game/input.h"
#include "game/motion.h"
#include "game/pause.h"
#include "game/requests.h"
#include "game/state.h"
#include "platform/platform.h"
#include "render/render.h"

void load_game() {
    load_assets();
    render_setup_view();
    platform_say("OpenGL version: %s\n", render_gl_version());
    if (load_first_level())
        fflush(stdout);
}

// The menu's PLAY GAME plays the designed levels, whatever world was played before.
void start_program() {
    world_play_designed();
    load_game();
    if (!game.requests.exit)
        start_menu();
}

void start_game() {
    load_game();
    if (!game.requests.exit)
        start_play();
}

// Off for the frames a fast watched game runs between two it draws.
static bool frame_drawn = true;
// Frames run apart from the game the window shows (a level being made) leave its light alone.
static bool frames_aside = false;
// The scene's camera is set and the picture not yet shown: a held frame leaves it so.
static bool scene_open = false;

static void draw(void (*drawing)()) {
    if (frame_drawn)
        drawing();
}

static void act_ship() {
    if (ship_action())
        draw(draw_ship);
}

static void act_track() {
    if (track_action())
        draw(draw_track);
}

static void start_level_and_place_light() {
    level_start();
    if (!frames_aside)
        render_light_on_ship();
}

void run_frames_aside(bool on) { frames_aside = on; }

static void act_summary() {
    summary_action();
    draw(draw_summary);
}

static void act_hud() { draw(draw_hud); }
static void act_background() { draw(draw_background); }
static void act_menu() { draw(draw_menu); }
static void act_paused() { draw(draw_paused); }

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
    {ACT_LEVEL_START, start_level_and_place_light},
    {ACT_SUMMARY, act_summary},
    {ACT_HUD, act_hud},
    {ACT_RISE, rise},
    {ACT_BACKGROUND, act_background},
    {ACT_MENU, act_menu},
    {ACT_PAUSED, act_paused},
};

static void run_action(int code) {
    for (const auto& action : action_table) {
        if (action.code == code) {
            action.run();
            return;
        }
    }
}

// Walks the frame's copy of the action list from walk.next; a level change holds
// the walk at the code that began it.
static void walk_actions() {
    frame_walk_t& walk = game.walk;
    for (; walk.next < walk.count; walk.next++) {
        int code = walk.codes[walk.next];
        if (game.requests.exit)
            return;
        if (!action_stands_still(code))
            run_action(code);
        if (game.flow.level_change_waiting)
            return;
    }
}

static void copy_actions_to_walk() {
    frame_walk_t& walk = game.walk;
    walk.count = walk.next = 0;
    for (int code : game.actions)
        if (walk.count < (int)(sizeof(walk.codes) / sizeof(walk.codes[0])))
            walk.codes[walk.count++] = code;
}

// Play again: everything as at program start but the process itself, which
// keeps its clock, the frame's command and requests, and the sound's mute; what
// start-up loaded is kept and used again.
static void fresh_game() {
    process_t  process = game.process;
    requests_t requests = game.requests;
    command_t  cmd = game.cmd;
    uint8_t    muted = game.muted;
    game = game_at_start;
    game.process = process;
    game.requests = requests;
    // a new game writes its results even where they match the last game's
    game.requests.results_asked = false;
    game.cmd = cmd;
    game.muted = muted;
}

void start_afresh() {
    fresh_game();
    start_program();
}

static void end_frame() {
    if (game.requests.exit || !scene_open)
        return;
    scene_open = false;
    render_end_frame();
}

// A frame the level change holds: said to an observer before its swap, so a frame's
// time can be told from the wait's.
static void hold_frame() {
    platform_frame_held();
    render_hold_frame();
}

// The frames of a level change: the last picture held, Esc still leaving, until
// the wait is over and the frame that began it goes on.
static void wait_for_level_change() {
    if (holds(game.cmd, BUTTON_BACK)) {
        request_exit(0);
        return;
    }
    if (!level_change_over()) {
        if (frame_drawn)
            hold_frame();
        return;
    }
    // the wait's frames drew into the frame under way: it starts again from its clear
    if (scene_open)
        render_clear(actions_has(ACT_BACKGROUND));
    forward_motion_after_wait();
    game.walk.next++;
    walk_actions();
    end_frame();
}

void run_frame(const command_t& cmd, bool drawn) {
    frame_drawn = drawn;
    game.cmd = cmd;
    clear_events();
    if (game.flow.level_change_waiting) {
        wait_for_level_change();
        return;
    }
    game.process.frames_run++;
    game.speed_scale = cmd.speed_scale;
    compute_steps(game.speed_scale);
    if (game.flow.lives == 0)
        game_over_bookkeeping();
    input_request_t request = input_step();
    if (request == INPUT_NEW_GAME) {
        fresh_game();
        start_program();
    } else if (request == INPUT_STARTUP) {
        start_game();
    }
    if (game.requests.exit)
        return;
    // after the input step, so the clear sees the actions this frame runs
    if (drawn && !scene_open) {
        render_clear(actions_has(ACT_BACKGROUND));
        render_begin_scene();
        scene_open = true;
    }
    for (int i = 0; i < 3; i++)
        game.flow.text_anchor[i] = game.ship.pos[i];
    read_next_level_when_due();
    copy_actions_to_walk();
    walk_actions();
    if (!game.flow.level_change_waiting)
        end_frame();
    else if (drawn)
        hold_frame();
}
