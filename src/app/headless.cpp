#include "app/headless.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "app/frame.h"
#include "app/keys.h"
#include "app/platform.h"
#include "app/timer.h"
#include "assets/scale.h"
#include "assets/startup.h"
#include "game/actions.h"
#include "game/motion.h"
#include "render/levelmap.h"

static int  frame_ms;
static int  frames_run;
static char start_dir[4096];

void reset_game_state() {
    flow = flow_at_start;
    ship = ship_at_start;
    level_timer = {true, false, 0, 0};
    results = results_t{};
    action_list.clear();
    clear_keys();
    free_level();
    level = level_map_t{};
    speed_scale = 1.0f;
    assets = assets_t{};
    forget_loaded_assets();
    platform = platform_t{};
}

bool sim_open(const char* work_dir, int screen_w, int screen_h, int ms) {
    reset_game_state();
    platform.fake_time = true;
    platform.keep_running = true;
    screen_width = screen_w;
    screen_height = screen_h;
    frame_ms = ms;
    frames_run = 0;
    if (!getcwd(start_dir, sizeof(start_dir)))
        start_dir[0] = 0;
    if (chdir(work_dir) != 0) {
        platform.exit_requested = true;
        platform.exit_status = 1;
        return false;
    }
    startup();
    return !platform.exit_requested;
}

bool sim_frame(unsigned held) {
    if (platform.exit_requested)
        return false;
    clear_keys();
    key_table[KEY_A] = (held & HOLD_A) != 0;
    key_table[KEY_D] = (held & HOLD_D) != 0;
    key_table[KEY_SPACE] = (held & HOLD_SPACE) != 0;
    key_table[KEY_W] = (held & HOLD_W) != 0;
    key_table[KEY_S] = (held & HOLD_S) != 0;
    key_table[KEY_ENTER] = (held & HOLD_ENTER) != 0;
    key_table[KEY_ESC] = (held & HOLD_ESC) != 0;
    run_frame();
    frames_run++;
    platform.fake_now_ms += frame_ms;
    return !platform.exit_requested;
}

bool sim_start_play() { return sim_frame(HOLD_ENTER) && flow.game_started; }

sim_state_t sim_state() {
    sim_state_t s;
    s.frame = frames_run;
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

void sim_save(sim_snapshot_t* snap) {
    snap->flow = flow;
    snap->ship = ship;
    snap->level_timer = level_timer;
    snap->results = results;
    snap->actions.assign(action_list.begin(), action_list.end());
    snap->level = level;
    snap->level.pixels = nullptr;
    snap->pixels.assign(level.pixels, level.pixels + (level.pixels ? level.pixels_size : 0));
    snap->platform = platform;
    snap->speed_scale = speed_scale;
    snap->frames_run = frames_run;
}

// The block is reused when it has the saved size, so a search does not churn the heap.
static void restore_pixels(const std::vector<uint8_t>& bytes) {
    if (!level.pixels || level.pixels_size != bytes.size()) {
        free_level();
        if (bytes.empty())
            return;
        level.pixels = (uint8_t*)malloc(bytes.size());
        if (!level.pixels)
            abort();
    }
    memcpy(level.pixels, bytes.data(), bytes.size());
}

void sim_restore(const sim_snapshot_t& snap) {
    flow = snap.flow;
    ship = snap.ship;
    level_timer = snap.level_timer;
    results = snap.results;
    action_list.assign(snap.actions.begin(), snap.actions.end());
    restore_pixels(snap.pixels);
    uint8_t* pixels = level.pixels;
    level = snap.level;
    level.pixels = pixels;
    level.pixels_size = (uint32_t)snap.pixels.size();
    platform = snap.platform;
    speed_scale = snap.speed_scale;
    frames_run = snap.frames_run;
}

bool sim_ended() { return platform.exit_requested; }
int  sim_exit_status() { return platform.exit_status; }

void sim_close() {
    if (start_dir[0] && chdir(start_dir) != 0)
        start_dir[0] = 0;
}
