#include "app/headless.h"

#include "app/bindings.h"
#include "app/devices.h"
#include "app/frame.h"
#include "app/recorder.h"
#include "assets/startup.h"
#include "game/buttons.h"
#include "game/requests.h"
#include "game/timer.h"
#include "platform/platform.h"
#include "render/render.h"

static int32_t     frame_ms;
static std::string start_dir;
static bool        focused;
static unsigned    pad_controls;
static int         results_writes;
static float       held_scale;
// a level made while a game plays: its frames are run apart from that game (sim_aside)
static struct {
    bool     on;
    int32_t  frame_ms;
    bool     focused;
    unsigned pad_controls;
} aside;
// outside the game state: a search copies the state on every branch, and the log grows
static std::vector<sim_event_t> event_log;

void reset_game_state() {
    game = game_at_start;
    render_assets = render_assets_t{};
    forget_loaded_assets();
}

bool sim_open(const char* work_dir, int screen_w, int screen_h, int32_t ms) {
    reset_game_state();
    // a fresh game holds nothing: what the pads held in the last one is let go of
    hold_pad_controls(0);
    view_width = screen_w;
    view_height = screen_h;
    frame_ms = ms;
    focused = true;
    pad_controls = 0;
    results_writes = 0;
    held_scale = 0;
    event_log.clear();
    start_dir = platform_working_folder();
    if (!platform_enter_folder(work_dir)) {
        request_exit(1);
        return false;
    }
    start_program();
    recorder_forget();
    results_writes += frame_done();
    return !game.requests.exit;
}

static void log_events() {
    // most frames raise nothing: no event to look for one by one
    if (!game.events)
        return;
    for (int e = 0; e < EV_COUNT; e++) {
        if (event_raised((game_event_t)e))
            event_log.push_back({game.process.frames_run, (game_event_t)e});
    }
}

// A level change's wait passes at once on the runner's clock, as a sleep would:
// the frame it held goes on within the same frame of the runner.
static void wait_out_level_change(command_t cmd) {
    game_events_t before_wait = game.events;
    process_t&    process = game.process;
    process.level_waits++;
    process.waited_ms += tick_sub(game.flow.level_change_end_ms, process.fake_now_ms);
    process.fake_now_ms = cmd.now_ms = game.flow.level_change_end_ms;
    run_frame(cmd, !aside.on);
    if (!aside.on)
        recorder_frame(cmd);
    game.events |= before_wait;
}

static bool frame_as_typed() {
    if (game.requests.exit)
        return false;
    int32_t   now = game.process.fake_now_ms;
    command_t cmd = held_scale > 0 ? build_command_at_scale(focused, pad_controls, now, held_scale)
                                   : build_command(focused, pad_controls, now);
    run_frame(cmd, !aside.on);
    if (!aside.on)
        recorder_frame(cmd);
    if (game.flow.level_change_waiting && !game.requests.exit)
        wait_out_level_change(cmd);
    results_writes += frame_done();
    game.process.fake_now_ms = tick_add(game.process.fake_now_ms, frame_ms);
    log_events();
    return !game.requests.exit;
}

bool sim_command(const command_t& cmd) {
    if (game.requests.exit)
        return false;
    run_frame(cmd);
    recorder_frame(cmd);
    results_writes += frame_done();
    log_events();
    return !game.requests.exit;
}

static bool levels_as_recorded(const recording_t& r, std::string* why) {
    for (int i = 0; i < LEVEL_COUNT; i++) {
        recorded_level_t        found = level_as_found(i + 1);
        const recorded_level_t& level = r.levels[i];
        if (level.name != found.name || level.hash != found.hash) {
            *why = "level " + std::to_string(i + 1) + " (" + level.name + ") is not the one it was recorded on";
            return false;
        }
    }
    return true;
}

bool sim_play_recording(const recording_t& r, std::string* why) {
    if (r.frames.empty()) {
        *why = "no frames";
        return false;
    }
    if (!levels_as_recorded(r, why))
        return false;
    for (size_t i = 0; i < r.frames.size(); i++) {
        sim_command(r.frames[i]);
        bool ended = recorder_game_ended();
        if ((ended || sim_ended()) && i + 1 < r.frames.size()) {
            *why = "the game ended at frame " + std::to_string(i + 1) + " of " + std::to_string(r.frames.size());
            return false;
        }
        if (!ended && i + 1 == r.frames.size()) {
            *why = "the game goes on after the last frame, " + std::to_string(r.frames.size());
            return false;
        }
    }
    return true;
}

bool sim_frame(unsigned held) {
    buttons_hold_exactly(held);
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

void sim_focus(bool focused_now) { focused = focused_now; }

void sim_aside(bool on) {
    if (on == aside.on)
        return;
    aside.on = on;
    run_frames_aside(on);
    if (on) {
        aside.frame_ms = frame_ms, aside.focused = focused, aside.pad_controls = pad_controls;
        frame_ms = FRAME_MS, focused = true, pad_controls = 0;
    } else {
        frame_ms = aside.frame_ms, focused = aside.focused, pad_controls = aside.pad_controls;
    }
}
void sim_hold_scale(float speed_scale) { held_scale = speed_scale; }
void sim_pads(unsigned controls) { pad_controls = controls; }
void sim_keep_quiet(bool quiet) { platform_keep_quiet(quiet); }
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

static void forget_events_after_now() {
    while (!event_log.empty() && event_log.back().frame > game.process.frames_run)
        event_log.pop_back();
}

void sim_restore(const sim_snapshot_t& snap) {
    game = snap;
    forget_events_after_now();
}

void sim_save_moving(sim_moving_t* m) {
    m->flow = game.flow;
    m->ship = game.ship;
    m->timer = game.timer;
    m->results = game.results;
    m->speed_scale = game.speed_scale;
    m->cmd = game.cmd;
    m->buttons = game.buttons;
    m->walk = game.walk;
    m->events = game.events;
    m->muted = game.muted;
    m->process = game.process;
    m->action_count = 0;
    for (int code : game.actions)
        if (m->action_count < SIM_ACTIONS_MAX)
            m->actions[m->action_count++] = code;
}

static bool actions_are(const sim_moving_t& m) {
    int i = 0;
    for (int code : game.actions)
        if (i >= m.action_count || m.actions[i++] != code)
            return false;
    return i == m.action_count;
}

void sim_restore_moving(const sim_moving_t& m) {
    // most frames leave the list as they found it: made again only when it differs
    if (!actions_are(m))
        game.actions.assign(m.actions, m.actions + m.action_count);
    game.flow = m.flow;
    game.ship = m.ship;
    game.timer = m.timer;
    game.results = m.results;
    game.speed_scale = m.speed_scale;
    game.cmd = m.cmd;
    game.buttons = m.buttons;
    game.walk = m.walk;
    game.events = m.events;
    game.muted = m.muted;
    game.process = m.process;
    forget_events_after_now();
}

bool sim_ended() { return game.requests.exit; }
int  sim_exit_status() { return game.requests.exit_status; }
int  sim_results_writes() { return results_writes; }

void sim_close() {
    if (!start_dir.empty() && !platform_enter_folder(start_dir.c_str()))
        start_dir.clear();
}
