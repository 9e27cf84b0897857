#include "app/recorder.h"

#include "app/options.h"
#include "app/worlds.h"
#include "assets/bmp.h"
#include "assets/replay_text.h"
#include "game/events.h"
#include "game/levelmap.h"
#include "game/points.h"
#include "game/state.h"
#include "platform/platform.h"

#include <vector>

static bool        recorder_on = true;
static bool        recording;     // a game is going on and being kept
static bool        was_started;   // play had started after the last frame
static bool        just_ended;
static recording_t going, last;

// The menu's frames count too: the ship steers and flies on under the menu, and play
// starts from where that left it. Kept from the menu's start; it reads no clock, so its
// frames keep the reading play starts at and pack into runs.
static std::vector<command_t> menu_frames;
static bool                   menu_too_long;   // past what a recording may hold: its game is not kept

void recorder_menu_began() {
    menu_frames.clear();
    menu_too_long = false;
}

static void menu_frame(const command_t& cmd) {
    if (menu_frames.size() < replay_max_frames)
        menu_frames.push_back(cmd);
    else
        menu_too_long = true;
}

recorded_level_t level_as_found(int level) { return world_level_found(level); }

static void start_recording() {
    going = recording_t{};
    going.game_version = game_version();
    for (int i = 0; i < LEVEL_COUNT; i++)
        going.levels[i] = level_as_found(i + 1);
    going.screen_w = view_width;
    going.screen_h = view_height;
    going.frames = std::move(menu_frames);
    menu_frames.clear();
    recording = true;
}

static bool game_ended() {
    const game_flow_t& flow = game.flow;
    bool               left = game.requests.exit && flow.game_started && !flow.game_over;
    return event_raised(EV_GAME_WON) || event_raised(EV_GAME_LOST) || left;
}

static void end_recording() {
    const game_flow_t& flow = game.flow;
    going.end = game.results;
    going.points =
        summary_points(flow.current_level, flow.lives, game.results.total_stars, game.results.total_time).total_points;
    last = std::move(going);
    going = recording_t{};
    recording = false;
    just_ended = true;
}

void recorder_frame(const command_t& cmd) {
    bool started = game.flow.game_started;
    bool played_again = was_started && !started;
    if (recorder_on && !started && !played_again)
        menu_frame(cmd);
    if (played_again)
        recorder_menu_began();
    if (recorder_on && started && !was_started && !menu_too_long) {
        start_recording();
        for (command_t& menu : going.frames)
            menu.now_ms = cmd.now_ms;
    }
    was_started = started;
    if (!recording)
        return;
    // past what a recording may hold, the game is let go of unkept
    if (going.frames.size() >= replay_max_frames) {
        recording = false;
        going = recording_t{};
        return;
    }
    going.frames.push_back(cmd);
    if (game_ended())
        end_recording();
}

bool recorder_game_ended() {
    bool ended = just_ended;
    just_ended = false;
    return ended;
}

const recording_t& recorder_last() { return last; }

void recorder_forget() {
    recording = was_started = just_ended = false;
    going = last = recording_t{};
    recorder_menu_began();
}

void recorder_set_on(bool on) {
    recorder_on = on;
    if (!on)
        recording = false;
}
