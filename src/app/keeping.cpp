#include "app/keeping.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/ghost.h"
#include "app/recorder.h"
#include "assets/recording.h"
#include "game/events.h"
#include "game/levelmap.h"
#include "game/paths.h"
#include "game/points.h"
#include "game/screen.h"
#include "game/state.h"
#include "platform/platform.h"
#include "records/records.h"
#include "render/render.h"

// The last games kept whatever they did; a game that set a best is kept as long as its best stands.
static const size_t REPLAYS_KEPT = 50;
static const char   REPLAY_ENDING[] = ".replay";
// "2026-12-08-201503": the time a game started, as its replay is named.
static const size_t TIME_NAME_LENGTH = 17;

static records_t records;
// The game being played: its recording's name, its levels, what it beat and what stood before.
static struct {
    bool         started;
    bool         summed;   // the summary's points taken
    std::string  name;
    std::string  hashes[LEVEL_COUNT];
    bool         finished[LEVEL_COUNT];
    level_news_t news[LEVEL_COUNT];
    level_best_t before[LEVEL_COUNT];
} playing;
static bool                     replays_refused;   // the folder cannot hold replays: said once, never tried again
static std::vector<std::string> line_replays;

void keeping_start() {
    records = records_load(RECORDS_FILE);
    playing = {};
    replays_refused = false;
}

std::string level_hash(int level) {
    std::string hash = level_as_found(level).hash;
    return hash == "-" ? "" : hash;
}

static std::string game_hashes() {
    std::string joined;
    for (const std::string& hash : playing.hashes)
        joined += hash;
    return joined;
}

static void save_records() {
    std::string why;
    if (!records_save(RECORDS_FILE, records, &why))
        fprintf(stderr, "quovix: %s: %s\n", RECORDS_FILE, why.c_str());
}

static void refuse_replays(const std::string& why) {
    fprintf(stderr, "quovix: cannot keep replays in %s: %s\n", REPLAYS_FOLDER, why.c_str());
    replays_refused = true;
}

static bool replays_folder_usable() {
    std::string why;
    if (replays_refused)
        return false;
    if (platform_make_folder(REPLAYS_FOLDER, &why))
        return true;
    refuse_replays(why);
    return false;
}

// Named by the time it started; a second game within the same second gets a number.
static std::string new_replay_name() {
    std::string              stem = platform_local_time_name();
    std::vector<std::string> names = platform_files_in(REPLAYS_FOLDER);
    std::string              name = stem + REPLAY_ENDING;
    for (int n = 2; std::find(names.begin(), names.end(), name) != names.end(); n++)
        name = stem + "-" + std::to_string(n) + REPLAY_ENDING;
    return name;
}

static void start_keeping_game() {
    playing = {};
    playing.started = true;
    for (int level = 1; level <= LEVEL_COUNT; level++)
        playing.hashes[level - 1] = level_hash(level);
    if (replays_folder_usable())
        playing.name = new_replay_name();
}

static bool is_replay(const std::string& name) {
    size_t n = sizeof(REPLAY_ENDING) - 1;
    return name.size() > n && name.compare(name.size() - n, n, REPLAY_ENDING) == 0;
}

// A replay's name as the time it started and its number within that second: "stem-N".
static std::pair<std::string, long> time_and_number(const std::string& name) {
    std::string stem = name.substr(0, name.size() - (sizeof(REPLAY_ENDING) - 1));
    size_t      dash = stem.rfind('-');
    char*       end = nullptr;
    long n = dash != std::string::npos && dash >= TIME_NAME_LENGTH ? strtol(stem.c_str() + dash + 1, &end, 10) : 0;
    if (n > 1 && end && *end == '\0')
        return {stem.substr(0, dash), n};
    return {stem, 1};
}

// The replays newest first: their names start with the time they were played.
static std::vector<std::string> replays_newest_first() {
    std::vector<std::string> names;
    for (const std::string& name : platform_files_in(REPLAYS_FOLDER))
        if (is_replay(name))
            names.push_back(name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return time_and_number(a) > time_and_number(b); });
    return names;
}

static bool holds_a_best(const std::string& name) {
    for (const level_best_t& l : records.levels)
        if (l.time_replay == name || l.stars_replay == name || l.lives_replay == name)
            return true;
    for (const game_best_t& g : records.games)
        if (g.points_replay == name)
            return true;
    return false;
}

static void forget_old_replays() {
    std::vector<std::string> names = replays_newest_first();
    for (size_t i = REPLAYS_KEPT; i < names.size(); i++)
        if (!holds_a_best(names[i]))
            platform_remove_file((REPLAYS_FOLDER + names[i]).c_str());
}

static void write_recording() {
    if (playing.name.empty() || !replays_folder_usable())
        return;
    std::string text = recording_to_text(recorder_last()), why;
    std::string path = REPLAYS_FOLDER + playing.name;
    if (!platform_write_file(path.c_str(), text.data(), text.size(), &why)) {
        refuse_replays(why);
        return;
    }
    forget_old_replays();
}

static void level_finished() {
    int level = game.flow.current_level;
    if (level < 1 || level > LEVEL_COUNT || playing.hashes[level - 1].empty())
        return;
    const level_record_t& r = game.results.records[level - 1];
    const std::string&    hash = playing.hashes[level - 1];
    const level_best_t*   best = records_level(records, hash);
    playing.before[level - 1] = best ? *best : level_best_t{hash, -1, "", -1, "", -1, ""};
    playing.finished[level - 1] = true;
    playing.news[level - 1] = records_level_finished(&records, hash, r.time, r.stars, r.lives, playing.name);
    if (playing.news[level - 1].time)
        ghost_keep_best(hash);
    save_records();
}

static std::string seconds_text(int32_t ms) {
    char text[32];
    snprintf(text, sizeof(text), "%d.%03d S", ms / 1000, ms % 1000);
    return text;
}

static std::string figures_text(int32_t time, int32_t stars, int32_t lives) {
    if (time < 0)
        return "-";
    return seconds_text(time) + "  " + std::to_string(stars) + " STARS  " + std::to_string(lives) + " LIVES";
}

static std::string level_line(int i) {
    const level_record_t& r = game.results.records[i];
    const level_best_t&   b = playing.before[i];
    const level_news_t&   n = playing.news[i];
    std::string line = "LEVEL " + std::to_string(i + 1) + "   " + figures_text(r.time, r.stars, r.lives) + "    BEST " +
                       figures_text(b.time_ms, b.stars, b.lives);
    if (n.time || n.stars || n.lives)
        line += "    NEW BEST";
    return line;
}

// This game's figures beside the bests that stood before it, on the summary.
static void summary_lines(int32_t points, int32_t points_before, bool new_best) {
    std::vector<std::string>& lines = records_view.summary_lines;
    lines.clear();
    for (int i = 0; i < LEVEL_COUNT; i++)
        if (playing.finished[i])
            lines.push_back(level_line(i));
    std::string total = "TOTAL POINTS " + std::to_string(points) + "    BEST ";
    total += points_before < 0 ? "-" : std::to_string(points_before);
    lines.push_back(total + (new_best ? "    NEW BEST" : ""));
}

static const game_best_t* game_best(const std::string& hashes) {
    for (const game_best_t& g : records.games)
        if (g.hashes == hashes)
            return &g;
    return nullptr;
}

bool kept_world_finished(const std::string& hashes) { return records_world_done(records, hashes); }

int32_t kept_best_points(const std::string& hashes) {
    const game_best_t* best = game_best(hashes);
    return best ? best->points : -1;
}

// The summary's points, as it shows them, once its totals are made; a game won opens the next world.
static void summary_shown() {
    const game_flow_t& flow = game.flow;
    const results_t&   results = game.results;
    int32_t            points =
        summary_points(flow.current_level, flow.lives, results.total_stars, results.total_time).total_points;
    const game_best_t* best = game_best(game_hashes());
    int32_t            before = best ? best->points : -1;
    bool               new_best = records_game_finished(&records, game_hashes(), points, playing.name);
    if (flow.lives > 0)
        records_world_finished(&records, game_hashes());
    summary_lines(points, before, new_best);
    save_records();
}

void keep_frame() {
    bool was_started = playing.started;
    if (game.flow.game_started && !was_started)
        start_keeping_game();
    if (!playing.started)
        return;
    if (event_raised(EV_LEVEL_FINISHED))
        level_finished();
    if (game.flow.game_over && !playing.summed) {
        playing.summed = true;
        summary_shown();
    }
    if (recorder_game_ended())
        write_recording();
    // play again, the menu by any way, or the program's end: the next game is a new one
    if (!game.flow.game_started || game.requests.exit) {
        playing.started = false;
        records_view.summary_lines.clear();
    }
}

static void add_line(const std::string& text, const std::string& replay) {
    records_view.lines.push_back(text);
    line_replays.push_back(replay.empty() ? "" : REPLAYS_FOLDER + replay);
}

// "2026-12-08-201503.replay" as "GAME OF 2026-12-08 20:15:03".
static std::string game_line(const std::string& name) {
    if (name.size() < TIME_NAME_LENGTH)
        return "GAME " + name;
    return "GAME OF " + name.substr(0, 10) + " " + name.substr(11, 2) + ":" + name.substr(13, 2) + ":" +
           name.substr(15, 2);
}

void list_records_when_asked() {
    if (!game.requests.list_records)
        return;
    game.requests.list_records = false;
    records_view.lines.clear();
    records_view.note.clear();
    line_replays.clear();
    std::string hashes;
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        std::string         hash = level_hash(level);
        const level_best_t* best = records_level(records, hash);
        hashes += hash;
        add_line(
            "LEVEL " + std::to_string(level) + "   " +
                (best && best->time_ms >= 0 ? figures_text(best->time_ms, best->stars, best->lives) : "NO BEST YET"),
            best ? best->time_replay : "");
    }
    const game_best_t* best = game_best(hashes);
    add_line(best ? "FIVE LEVELS   BEST " + std::to_string(best->points) + " POINTS" : "FIVE LEVELS   NO BEST YET",
             best ? best->points_replay : "");
    for (const std::string& name : replays_newest_first())
        add_line(game_line(name), name);
    game.flow.records_lines = (int16_t)records_view.lines.size();
}

std::string records_line_replay(int line) {
    return line >= 0 && line < (int)line_replays.size() ? line_replays[line] : "";
}
