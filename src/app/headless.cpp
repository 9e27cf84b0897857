#include "app/headless.h"

#include "app/frame.h"
#include "app/keys.h"
#include "assets/startup.h"
#include "game/keytable.h"
#include "platform/platform.h"
#include "render/render.h"

static int         frame_ms;
static std::string start_dir;
// outside the game state: a search copies the state on every branch, and the log grows
static std::vector<sim_event_t> event_log;

void reset_game_state() {
    game = game_at_start;
    render_assets = render_assets_t{};
    forget_loaded_assets();
}

bool sim_open(const char* work_dir, int screen_w, int screen_h, int ms) {
    reset_game_state();
    game.process.fake_time = true;
    game.process.keep_running = true;
    screen_width = screen_w;
    screen_height = screen_h;
    frame_ms = ms;
    event_log.clear();
    start_dir = platform_working_folder();
    if (!platform_enter_folder(work_dir)) {
        game.process.exit_requested = true;
        game.process.exit_status = 1;
        return false;
    }
    run_startup();
    return !game.process.exit_requested;
}

static const struct {
    unsigned hold;
    int      key;
} held_keys[] = {
    {HOLD_A, KEY_A}, {HOLD_D, KEY_D},         {HOLD_SPACE, KEY_SPACE}, {HOLD_W, KEY_W},
    {HOLD_S, KEY_S}, {HOLD_ENTER, KEY_ENTER}, {HOLD_ESC, KEY_ESC},     {HOLD_P, KEY_P},
};

static void log_events() {
    for (int e = 0; e < EV_COUNT; e++) {
        if (event_raised((game_event_t)e))
            event_log.push_back({game.process.frames_run, (game_event_t)e});
    }
}

static bool frame_as_typed() {
    if (game.process.exit_requested)
        return false;
    run_frame();
    game.process.frames_run++;
    game.process.fake_now_ms += frame_ms;
    log_events();
    return !game.process.exit_requested;
}

bool sim_frame(unsigned held) {
    keys_release_all();
    for (const auto& h : held_keys)
        game.keys[h.key] = (held & h.hold) != 0;
    return frame_as_typed();
}

void sim_key(unsigned char key, bool down) {
    if (down)
        key_down(key, 0, 0);
    else
        key_up(key, 0, 0);
}

void sim_special_key(int special, bool down) {
    if (down)
        special_down(special, 0, 0);
    else
        special_up(special, 0, 0);
}

void sim_focus(bool focused) { keys_follow_focus(focused); }
bool sim_frame_as_typed() { return frame_as_typed(); }

bool sim_start_play() { return sim_frame(HOLD_ENTER) && game.flow.game_started; }

sim_state_t sim_state() {
    const ship_t&      ship = game.ship;
    const game_flow_t& flow = game.flow;
    sim_state_t        s;
    s.frame = game.process.frames_run;
    s.x = ship.pos[0];
    s.y = ship.pos[1];
    s.z = ship.pos[2];
    s.level = flow.current_level;
    s.lives = flow.lives;
    s.stars = flow.stars_collected;
    s.tile = ship.tile_under_ship;
    s.on_ground = ship.on_ground;
    s.jump = ship.jump;
    s.jump_descending = ship.jump_descending;
    s.falling = ship.falling;
    s.on_finish = flow.on_finish;
    s.level_start = flow.level_start;
    s.game_over = flow.game_over;
    s.on_wall = ship.on_wall;
    return s;
}

game_events_t                   sim_events() { return game.events; }
const std::vector<sim_event_t>& sim_event_log() { return event_log; }

void sim_save(sim_snapshot_t* snap) { *snap = game; }

void sim_restore(const sim_snapshot_t& snap) {
    game = snap;
    while (!event_log.empty() && event_log.back().frame > game.process.frames_run)
        event_log.pop_back();
}

bool sim_ended() { return game.process.exit_requested; }
int  sim_exit_status() { return game.process.exit_status; }

void sim_close() {
    if (!start_dir.empty() && !platform_enter_folder(start_dir.c_str()))
        start_dir.clear();
}
