#include "app/watch.h"

#include <cstdio>
#include <cstring>

#include "app/devices.h"
#include "app/frame.h"
#include "app/ghost.h"
#include "app/keeping.h"
#include "app/recorder.h"
#include "app/worlds.h"
#include "assets/recording.h"
#include "assets/replay_text.h"
#include "game/events.h"
#include "game/state.h"
#include "platform/platform.h"
#include "render/render.h"

// Frames run for each one drawn when played fast.
static const int FAST_FRAMES = 4;

static struct {
    bool        on;
    std::string path;
    recording_t recording;
    size_t      next;   // the next frame of the recording to run
    bool        paused;
    bool        fast;           // f's choice; the right arrow plays fast while held
    bool        from_records;   // Esc goes back to the records screen rather than the menu
    bool        over;           // the game's end reached: its last picture stays until Esc
} watch;

// The first of the world playing's levels that is not the recording's; 0 when all five are.
static int level_not_recorded(const recording_t& recording) {
    for (int level = 1; level <= LEVEL_COUNT; level++)
        if (level_hash(level) != recording.levels[level - 1].hash)
            return level;
    return 0;
}

static std::string not_played_on(const recording_t& recording, int level) {
    return "level " + std::to_string(level) + " (" + recording.levels[level - 1].name +
           ") is not the one it was played on";
}

// A game of another world is watched when that world is still there: its menu frames choose it again.
static bool world_there(const recording_t& recording) {
    std::string hashes;
    for (const recorded_level_t& level : recording.levels)
        hashes += level.hash;
    for (const world_t& w : worlds_list())
        if (w.hashes == hashes)
            return true;
    return false;
}

static bool read_recording(const std::string& path, recording_t* recording, std::string* why) {
    std::string text;
    FILE*       f = platform_open_regular(path.c_str(), replay_file_max_bytes, why);
    if (!f || !platform_read_all(f, replay_file_max_bytes, &text, why))
        return false;
    if (!recording_from_text(text, recording, why))
        return false;
    int level = level_not_recorded(*recording);
    if (level && !world_there(*recording)) {
        *why = not_played_on(*recording, level);
        return false;
    }
    return true;
}

static bool run_recorded(bool drawn);
static void back_from_watching();

// The menu's frames run at once, undrawn: the watching starts where play did.
static void skip_the_menu() {
    const std::vector<command_t>& frames = watch.recording.frames;
    while (watch.next + 1 < frames.size() && !game.flow.game_started)
        run_recorded(false);
}

bool watch_start(const std::string& path, std::string* why) {
    recording_t recording;
    if (!read_recording(path, &recording, why))
        return false;
    watch = {};
    watch.on = true;
    watch.path = path;
    watch.recording = std::move(recording);
    watch.from_records = game.flow.records_open;
    ghost_hide();
    // the designed lines are the played game's: a watched one says them no more
    platform_keep_quiet(true);
    start_afresh();
    skip_the_menu();
    // the picker lists other worlds now: the menu's frames chose one the game was not played on
    int level = level_not_recorded(watch.recording);
    if (level) {
        *why = not_played_on(watch.recording, level);
        back_from_watching();
        return false;
    }
    return true;
}

bool watching() { return watch.on; }

static bool same_records(const results_t& a, const results_t& b) {
    return memcmp(a.records, b.records, sizeof(a.records)) == 0;
}

// The end reached: checked against the records it was played to, and said when it was not.
static void game_over_watched() {
    watch.over = true;
    if (watch.next < watch.recording.frames.size())
        fprintf(stderr, "quovix: %s: frames past the game's end: watched to its end only\n", watch.path.c_str());
    else if (!same_records(game.results, watch.recording.end))
        fprintf(stderr, "quovix: %s: watched, it did not end with the records it was played to\n", watch.path.c_str());
    else
        fprintf(stderr, "quovix: %s: watched to its end, with the records it was played to\n", watch.path.c_str());
}

// Back where it was started from, the records screen or the menu, and the next recording from there.
static void back_from_watching() {
    bool back_to_records = watch.from_records;
    watch = {};
    records_view.watch_line.clear();
    game.requests = requests_t{};
    start_afresh();
    recorder_menu_began();
    platform_keep_quiet(false);
    if (back_to_records) {
        game.flow.records_open = 1;
        game.requests.list_records = true;
        list_records_when_asked();
    }
}

static void watch_end() {
    back_from_watching();
    render_hold_frame();
}

static void show_keys() {
    const char* what = watch.over     ? "WATCHED"
                       : watch.paused ? "WATCHING, PAUSED"
                       : watch.fast   ? "WATCHING AT 4X"
                                      : "WATCHING";
    records_view.watch_line = std::string(what) + "    P PAUSE    F FAST    ESC BACK";
}

// A recorded frame run as it was; what it asked of the machine is dropped, as a watched
// game writes nothing. False once the game has ended.
static bool run_recorded(bool drawn) {
    const command_t& cmd = watch.recording.frames[watch.next++];
    run_frame(cmd, drawn);
    game.requests.write_results = false;
    game.requests.exit_line.clear();
    bool ended = game.requests.exit || event_raised(EV_GAME_WON) || event_raised(EV_GAME_LOST) ||
                 watch.next >= watch.recording.frames.size();
    game.requests.exit = false;
    frame_done();
    return !ended;
}

uint32_t watch_frame(const command_t& keys) {
    if (presses(keys, BUTTON_BACK) || presses(keys, BUTTON_PAUSE_OR_LEAVE)) {
        watch_end();
        return 0;
    }
    if (presses(keys, BUTTON_PAUSE))
        watch.paused = !watch.paused;
    if (presses(keys, BUTTON_FAST))
        watch.fast = !watch.fast;
    show_keys();
    if (watch.paused || watch.over) {
        render_hold_frame();
        return 0;
    }
    int      frames = watch.fast || holds(keys, BUTTON_RIGHT) ? FAST_FRAMES : 1;
    uint32_t events = 0;
    for (int i = 0; i < frames && !watch.over; i++) {
        // the last frame of a fast run, or the game's last, is the one drawn
        bool last = i == frames - 1 || watch.next + 1 >= watch.recording.frames.size();
        if (!run_recorded(last))
            game_over_watched();
        events |= game.events;
    }
    if (watch.over)
        render_hold_frame();
    return events;
}
