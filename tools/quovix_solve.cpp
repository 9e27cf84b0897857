// quovix-solve: finds the keys that bring the ship from the start of a level to
// its finish, by playing the game's own frames (headless runner, null driver)
// for every choice of keys in every frame and merging ships that stand alike.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "app/headless.h"
#include "app/recorder.h"
#include "assets/bmp.h"
#include "assets/recording.h"
#include "assets/replay_text.h"
#include "game/events.h"
#include "game/levelmap.h"
#include "grade.h"
#include "platform/platform.h"
#include "replay.h"
#include "tool_main.h"

static const unsigned key_choices[6] = {0, HOLD_A, HOLD_D, HOLD_SPACE, HOLD_A | HOLD_SPACE, HOLD_D | HOLD_SPACE};

// The pickups a ship has taken, a chain back through the tiles it took them on:
// the map is set to a ship's chain before its frames run, instead of copied with it.
struct taken_tile_t {
    int     offset;   // into the level's pixels
    uint8_t bytes[3];
    int     before;   // the tile taken before it, -1 for none
};

struct taken_map_t {
    std::vector<taken_tile_t> tiles;
    std::vector<uint8_t>      at_start;
    int                       shown = -1;   // the chain the map shows now
};

static taken_map_t taken_map;

static void show_taken(int chain) {
    taken_map_t& t = taken_map;
    if (chain == t.shown)
        return;
    uint8_t* pixels = game.level.pixels.data();
    for (int i = t.shown; i >= 0; i = t.tiles[(size_t)i].before)
        memcpy(pixels + t.tiles[(size_t)i].offset, t.at_start.data() + t.tiles[(size_t)i].offset, 3);
    for (int i = chain; i >= 0; i = t.tiles[(size_t)i].before)
        memcpy(pixels + t.tiles[(size_t)i].offset, t.tiles[(size_t)i].bytes, 3);
    t.shown = chain;
}

static bool in_chain(int chain, int offset) {
    for (int i = chain; i >= 0; i = taken_map.tiles[(size_t)i].before)
        if (taken_map.tiles[(size_t)i].offset == offset)
            return true;
    return false;
}

// After a frame that took a pickup: the tiles it changed, added to the chain it started from.
static int note_taken(int chain) {
    taken_map_t&       t = taken_map;
    const level_map_t& l = game.level;
    const uint8_t*     pixels = l.pixels.data();
    for (int row = 0; row < l.height; row++) {
        for (int col = 0; col < l.width; col++) {
            int offset = row * l.line_length + col * 3;
            if (memcmp(pixels + offset, t.at_start.data() + offset, 3) == 0 || in_chain(chain, offset))
                continue;
            taken_tile_t tile = {offset, {pixels[offset], pixels[offset + 1], pixels[offset + 2]}, chain};
            t.tiles.push_back(tile);
            chain = (int)t.tiles.size() - 1;
        }
    }
    t.shown = chain;
    return chain;
}

struct node_t {
    // made in place by the search, which fills every field: nothing to clear first
    node_t() {}
    sim_moving_t state;
    int          taken_chain;
    int          parent;    // index in the previous layer
    unsigned     keys;      // held in the frame that made this node
    int          falls;     // lives lost on the way, the one under way counted
    int          taken;     // stars and hearts collected
    int          changes;   // key changes on the way: fewer reads better as a replay
    uint64_t     key;
};

struct link_t {
    int      parent;
    unsigned keys;
};

struct solve_options_t {
    int beam = 2500;   // ships kept per frame
    int max_frames = 9000;
};

static int64_t bucket(float v, double unit) { return (int64_t)std::floor(v / unit + 0.5); }

// Ships whose keys match stand alike closely enough that one can stand for all.
static uint64_t state_key(const sim_moving_t& g, int level_height) {
    const ship_t& s = g.ship;
    double        tile = 1.0 / level_height;
    uint64_t      h = 1469598103934665603ull;
    auto          mix = [&h](int64_t v) {
        h ^= (uint64_t)v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
        h *= 1099511628211ull;
    };
    mix(bucket(s.pos[0], tile / 24));
    mix(bucket(s.pos[1], 0.0002));
    mix(bucket(s.pos[2], 0.00003));
    mix(bucket(s.left_rate, 0.05));
    mix(bucket(s.right_rate, 0.05));
    mix(bucket(s.fall_factor, 0.05));
    mix(bucket(s.rise_factor, 0.05));
    mix(bucket(s.jump_apex, 0.0001));
    mix(s.jump | s.jump_descending << 1 | s.on_ground << 2 | (s.on_wall != 0) << 3 | s.falling << 4);
    mix(g.flow.on_finish);
    return h;
}

// Fewer falls first, then more pickups, then steadier hands.
static bool better(const node_t& a, const node_t& b) {
    if (a.falls != b.falls)
        return a.falls < b.falls;
    if (a.taken != b.taken)
        return a.taken > b.taken;
    return a.changes < b.changes;
}

static uint64_t spread(uint64_t k) {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdull;
    k ^= k >> 33;
    return k;
}

static int row_of(const node_t& n) { return (int)(n.state.ship.pos[1] * game.level.height); }

// A ship's place in the order the beam keeps: sorted in place of the ships themselves,
// which are twenty times larger.
struct rank_t {
    int      falls, row, taken;
    uint64_t spread_key;
    size_t   index;
};

static bool ranks_before(const rank_t& a, const rank_t& b) {
    if (a.falls != b.falls)
        return a.falls < b.falls;
    if (a.row != b.row)
        return a.row > b.row;
    if (a.taken != b.taken)
        return a.taken > b.taken;
    return a.spread_key < b.spread_key;
}

// When too many ships stand apart, keep those with fewest falls, furthest along
// and with most pickups: half taken in turn from every quarter tile across the
// track, so the search never crowds into one line, half the best of the rest.
static void trim_layer(std::vector<node_t>* layer, int beam) {
    if ((int)layer->size() <= beam)
        return;
    std::vector<rank_t> order(layer->size());
    for (size_t i = 0; i < layer->size(); i++) {
        const node_t& n = (*layer)[i];
        order[i] = {n.falls, row_of(n), n.taken, spread(n.key), i};
    }
    std::sort(order.begin(), order.end(), ranks_before);
    std::map<int64_t, std::vector<size_t>> lines;
    for (size_t i = 0; i < order.size(); i++)
        lines[bucket((*layer)[order[i].index].state.ship.pos[0], 1.0 / game.level.height / 4)].push_back(i);
    std::vector<size_t> keep;
    std::vector<bool>   taken(order.size(), false);
    for (size_t round = 0; (int)keep.size() < beam / 2; round++) {
        for (auto& line : lines) {
            if (round < line.second.size() && (int)keep.size() < beam / 2) {
                keep.push_back(line.second[round]);
                taken[line.second[round]] = true;
            }
        }
    }
    for (size_t i = 0; i < order.size() && (int)keep.size() < beam; i++)
        if (!taken[i])
            keep.push_back(i);
    std::sort(keep.begin(), keep.end());
    std::vector<node_t> kept;
    kept.reserve(keep.size());
    for (size_t i : keep)
        kept.push_back(std::move((*layer)[order[i].index]));
    *layer = std::move(kept);
}

static std::vector<unsigned> path_to(const std::vector<std::vector<link_t>>& links, int index) {
    std::vector<unsigned> frames(links.size());
    for (size_t layer = links.size(); layer-- > 0;) {
        frames[layer] = links[layer][(size_t)index].keys;
        index = links[layer][(size_t)index].parent;
    }
    return frames;
}

struct solve_result_t {
    bool                  found;
    int                   falls;
    std::vector<unsigned> frames;
    int                   taken;
    long                  frames_simulated;
};

// The ships of the layer being made, found by their keys: open addressing, emptied each frame.
struct seen_table_t {
    std::vector<uint64_t> keys;
    std::vector<int>      at;   // the ship's index in the layer, -1 for an empty slot
    size_t                mask = 0;
};

static void empty_seen(seen_table_t* t, size_t ships) {
    size_t size = 16;
    while (size < ships * 2)
        size *= 2;
    t->keys.resize(size);
    t->at.assign(size, -1);
    t->mask = size - 1;
}

// Where the key is, or the empty slot it goes in.
static size_t seen_slot(const seen_table_t& t, uint64_t key) {
    size_t i = spread(key) & t.mask;
    while (t.at[i] >= 0 && t.keys[i] != key)
        i = (i + 1) & t.mask;
    return i;
}

static void expand(const node_t& from, int from_index, std::vector<node_t>* next, seen_table_t* seen, long* simulated) {
    const game_flow_t& was = from.state.flow;
    const ship_t&      ship = from.state.ship;
    // a falling ship goes where it goes, and space does nothing while rising
    int choices = ship.falling ? 1 : ship.jump ? 3 : 6;
    for (int c = 0; c < choices; c++) {
        sim_restore_moving(from.state);
        show_taken(from.taken_chain);
        sim_frame(key_choices[c]);
        (*simulated)++;
        // made in its place in the layer, and taken back when a ship there stands alike
        node_t& n = next->emplace_back();
        sim_save_moving(&n.state);
        const game_flow_t& now = n.state.flow;
        bool               took = event_raised(EV_STAR) || event_raised(EV_HEART);
        n.taken_chain = took ? note_taken(from.taken_chain) : from.taken_chain;
        n.parent = from_index;
        n.keys = key_choices[c];
        n.falls = from.falls + (now.lives < was.lives ? was.lives - now.lives : 0);
        if (n.state.ship.falling && !ship.falling)
            n.falls++;   // counted as soon as it cannot be helped
        if (!n.state.ship.falling && ship.falling && now.lives < was.lives)
            n.falls--;   // already counted when it began
        n.taken = from.taken + (now.stars_collected - was.stars_collected) + std::max(0, now.lives - was.lives);
        n.changes = from.changes + (from.parent >= 0 && from.keys != n.keys);
        n.key = state_key(n.state, game.level.height);
        size_t slot = seen_slot(*seen, n.key);
        if (seen->at[slot] < 0) {
            seen->keys[slot] = n.key;
            seen->at[slot] = (int)next->size() - 1;
            continue;
        }
        node_t& alike = (*next)[(size_t)seen->at[slot]];
        if (better(n, alike))
            alike = n;
        next->pop_back();
    }
}

// A finished ship, or one with no lives left, has no frames to search.
static bool is_over(const node_t& n) { return n.state.flow.on_finish || n.state.flow.lives <= 0; }

static solve_result_t solve(const solve_options_t& opt) {
    solve_result_t      result = {false, 0, {}, 0, 0};
    std::vector<node_t> layer(1);
    node_t&             start = layer[0];
    sim_save_moving(&start.state);
    start.taken_chain = start.parent = -1;
    start.keys = 0;
    start.falls = start.taken = start.changes = 0;
    start.key = 0;
    taken_map = taken_map_t{};
    taken_map.at_start = game.level.pixels;
    std::vector<std::vector<link_t>> links;
    seen_table_t                     seen;
    for (int frame = 0; frame < opt.max_frames; frame++) {
        std::vector<node_t> next;
        // room for every choice of every ship: the ship being made never moves
        next.reserve(layer.size() * 6);
        empty_seen(&seen, layer.size() * 6);
        for (size_t i = 0; i < layer.size(); i++)
            if (!is_over(layer[i]))
                expand(layer[i], (int)i, &next, &seen, &result.frames_simulated);
        if (next.empty())
            break;
        trim_layer(&next, opt.beam);
        std::vector<link_t> row(next.size());
        int                 fewest_open = 1 << 30;
        for (size_t i = 0; i < next.size(); i++) {
            row[i] = {next[i].parent, next[i].keys};
            if (!is_over(next[i]))
                fewest_open = std::min(fewest_open, next[i].falls);
        }
        links.push_back(std::move(row));
        for (size_t i = 0; i < next.size(); i++) {
            const node_t& n = next[i];
            if (!n.state.flow.on_finish)
                continue;
            bool first = !result.found;
            if (first || n.falls < result.falls || (n.falls == result.falls && n.taken > result.taken)) {
                result.found = true;
                result.falls = n.falls;
                result.taken = n.taken;
                result.frames = path_to(links, (int)i);
            }
        }
        // nothing still open can finish with fewer falls
        if (result.found && fewest_open >= result.falls)
            break;
        layer = std::move(next);
        if (frame % 100 == 99) {
            int most = 0;
            for (const node_t& n : layer)
                most = std::max(most, n.falls == layer[0].falls ? n.taken : 0);
            fprintf(stderr, "  frame %d: %zu ships, furthest row %d, fewest falls %d, most pickups %d\n", frame + 1,
                    layer.size(), row_of(layer[0]), layer[0].falls, most);
        }
    }
    return result;
}

static int usage(FILE* to, int status) {
    solve_options_t given;
    fprintf(to,
            "usage: quovix-solve LEVEL.(txt|bmp) OUT.replay [--beam N] [--frames N]\n"
            "       quovix-solve --play LEVEL.(txt|bmp) REPLAY [--events]\n"
            "       quovix-solve --play-game BIN_FOLDER RECORDING   (--play takes it too)\n"
            "       quovix-solve --grade LEVEL.(txt|bmp) [REPLAY] [--beam N] [--frames N]\n"
            "Finds the keys that bring the ship from the start of LEVEL to its finish and\n"
            "writes them to OUT.replay.\n"
            "  --beam N     ships kept each frame (%d): more find harder ways, slower\n"
            "  --frames N   give up after N frames of play (%d)\n"
            "  --play       play a replay and tell how it ends\n"
            "  --events     with --play, first list what happened, frame by frame\n"
            "  --grade      print the level's difficulty on one line, on the way the replay\n"
            "               holds or else the search finds: each jump the way cannot do\n"
            "               without adds 10 / the frames it can be pressed in; the\n"
            "               narrowest of those windows is given too\n"
            "  --play-game  play a game's recording in the game folder BIN_FOLDER, tell how it\n"
            "               ends and whether its records are the ones recorded\n"
            "  --help, -h   print this and leave\n",
            given.beam, given.max_frames);
    return status;
}

static bool read_text(const char* path, std::string* text, std::string* why) {
    FILE* f = platform_open_regular(path, replay_file_max_bytes, why);
    return f && platform_read_all(f, replay_file_max_bytes, text, why);
}

static bool is_recording(const char* path) {
    std::string text, why;
    return read_text(path, &text, &why) && text_is_recording(text);
}

// A PNG or a palette picture is the level tool's to convert: the game reads neither.
static bool game_reads_level(const char* path, const std::vector<unsigned char>& bmp, std::string* why) {
    level_map_t picture;
    if (parse_level_picture(bmp.data(), bmp.size(), &picture, why))
        return true;
    bool png = bmp.size() >= 8 && memcmp(bmp.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
    bool palette = bmp.size() >= BMP_HEADERS_SIZE && bmp[0] == 'B' && bmp[1] == 'M' && bmp[BMP_BITS_AT] <= 8;
    if (png || palette)
        *why += "; convert it first with: quovix-level bmp " + std::string(path) + " OUT.bmp";
    return false;
}

static bool open_level(const char* path) {
    std::vector<unsigned char> bmp;
    std::string                why;
    std::string                bin;
    if (!replay_level_bmp(path, &bmp, &why) || !game_reads_level(path, bmp, &why) ||
        (bin = replay_play_folder(bmp, &why)).empty() || !replay_start(bin, &why)) {
        fprintf(stderr, "%s: %s\n", path, why.c_str());
        return false;
    }
    return true;
}

// The replay's events, its first frame being frame 1 as the outcome counts them.
static void print_events(int start_frame) {
    for (const sim_event_t& e : sim_event_log())
        if (e.frame > start_frame)
            printf("frame %d: %s\n", e.frame - start_frame, event_name(e.event));
}

static int play(const char* level_path, const char* replay_path, bool events) {
    std::string           text, why;
    std::vector<unsigned> frames;
    if (!read_text(replay_path, &text, &why) || !replay_from_text(text, &frames, &why)) {
        fprintf(stderr, "%s: %s\n", replay_path, why.c_str());
        return 1;
    }
    if (!open_level(level_path))
        return 1;
    int              start_frame = sim_state().frame;
    replay_outcome_t out = replay_play(frames);
    if (events)
        print_events(start_frame);
    sim_close();
    if (out.finished)
        printf("%s: finished in frame %d with %d stars, %d lives lost\n", replay_path, out.finish_frame, out.stars,
               out.lives_lost);
    else
        printf("%s: did not finish (%d lives lost)\n", replay_path, out.lives_lost);
    return out.finished && out.lives_lost == 0 ? 0 : 1;
}

static const char* ending_now() {
    sim_state_t s = sim_state();
    if (!s.game_over)
        return "left during play";
    return s.lives > 0 ? "won" : "lost";
}

// A whole game's recording, played in a folder laid out as the game's: its records
// and points compared with those it was recorded with.
static int play_game(const char* bin, const char* recording_path) {
    std::string text, why;
    recording_t r;
    if (!read_text(recording_path, &text, &why) || !recording_from_text(text, &r, &why)) {
        fprintf(stderr, "%s: %s\n", recording_path, why.c_str());
        return 1;
    }
    // the game's start-up lines, at open and again as play starts, are not the tool's
    sim_keep_quiet(true);
    bool opened = sim_open(bin);
    bool played = opened && sim_play_recording(r, &why);
    sim_keep_quiet(false);
    sim_close();
    if (!opened) {
        fprintf(stderr, "%s: the game did not start in %s\n", recording_path, bin);
        return 1;
    }
    if (!played) {
        fprintf(stderr, "%s: %s\n", recording_path, why.c_str());
        return 1;
    }
    const recording_t& now = recorder_last();
    bool               same = memcmp(&now.end, &r.end, sizeof(r.end)) == 0 && now.points == r.points;
    printf("%s: %s in frame %zu with %d stars and %d points; the records %s the recorded ones\n", recording_path,
           ending_now(), now.frames.size(), now.end.total_stars, now.points, same ? "match" : "differ from");
    return same ? 0 : 1;
}

static int solve_level(const char* level_path, const char* out_path, const solve_options_t& opt) {
    // the search rewinds its frames by the million: none is a game to keep
    recorder_set_on(false);
    if (!open_level(level_path))
        return 1;
    std::clock_t   began = std::clock();
    sim_snapshot_t at_start;
    sim_save(&at_start);
    // the folder's scale file is the solver's own: read once, not in every frame searched
    sim_hold_scale(game.speed_scale);
    solve_result_t r = solve(opt);
    // the way found is played again from the start, each frame whole, as a replay is
    sim_hold_scale(0);
    sim_restore(at_start);
    replay_outcome_t again = r.found ? replay_play(r.frames) : replay_outcome_t{};
    sim_close();
    fprintf(stderr, "%s: %ld frames searched in %.2f s\n", level_path, r.frames_simulated,
            (double)(std::clock() - began) / CLOCKS_PER_SEC);
    if (!r.found) {
        printf("%s: no way to the finish within %d frames\n", level_path, opt.max_frames);
        return 1;
    }
    if (!again.finished || again.finish_frame != (int)r.frames.size() || again.lives_lost != r.falls) {
        fprintf(stderr, "%s: the way found plays otherwise from the start; no replay written\n", level_path);
        return 1;
    }
    std::string name = level_path;
    name = name.substr(name.find_last_of('/') + 1);
    std::string notes = "# quovix replay of " + name + ": " + std::to_string(r.frames.size()) + " frames, " +
                        std::to_string(r.falls) + " lives lost, " + std::to_string(r.taken) +
                        " stars and hearts taken\n"
                        "# from the first frame of play, the level played as level one, speed scale 1\n"
                        "# each line: frames, keys held (- none; a, d, space joined by +)\n";
    std::string text = replay_to_text(r.frames, notes);
    std::string why;
    if (!platform_write_file(out_path, text.data(), text.size(), &why)) {
        fprintf(stderr, "%s: %s\n", out_path, why.c_str());
        return 1;
    }
    printf("%s: finish in %zu frames, %d lives lost, %d stars and hearts taken (%ld frames searched)\n", level_path,
           r.frames.size(), r.falls, r.taken, r.frames_simulated);
    return r.falls == 0 ? 0 : 3;
}

// The level's difficulty on a way to its finish: the replay given, or the way the search finds.
static int grade_level(const char* level_path, const char* replay_path, const solve_options_t& opt) {
    recorder_set_on(false);
    std::vector<unsigned> way;
    std::string           text, why;
    if (replay_path && (!read_text(replay_path, &text, &why) || !replay_from_text(text, &way, &why))) {
        fprintf(stderr, "%s: %s\n", replay_path, why.c_str());
        return 1;
    }
    if (!open_level(level_path))
        return 1;
    sim_snapshot_t at_start;
    sim_save(&at_start);
    sim_hold_scale(game.speed_scale);
    if (!replay_path) {
        solve_result_t r = solve(opt);
        if (!r.found || r.falls > 0) {
            sim_close();
            printf("%s: no way to the finish with every life within %d frames\n", level_path, opt.max_frames);
            return 1;
        }
        way = r.frames;
    }
    sim_restore(at_start);
    replay_outcome_t out = replay_play(way);
    if (!out.finished || out.lives_lost > 0) {
        sim_close();
        printf("%s: the way graded does not finish with every life\n", replay_path ? replay_path : level_path);
        return 1;
    }
    // frames held past the finish are no part of the way
    way.resize((size_t)out.finish_frame);
    grade_t g = grade_way(at_start, way);
    sim_hold_scale(0);
    sim_close();
    printf("%s\n", grade_line(resource_name(level_path), g).c_str());
    return 0;
}

// A count given to an option: a whole number from 1, nothing after it.
static bool parse_count(const char* option, const char* text, int* count) {
    char* end = nullptr;
    errno = 0;
    long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || value < 1 || value > INT_MAX) {
        fprintf(stderr, "quovix-solve: %s takes a whole number from 1, not \"%s\"\n", option, text);
        return false;
    }
    *count = (int)value;
    return true;
}

static int run(int argc, char** argv) {
    if (argc == 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0))
        return usage(stdout, 0);
    bool events = argc == 5 && strcmp(argv[4], "--events") == 0;
    // one reader for both: a game's recording given to --play is played as a game
    if (argc == 4 && strcmp(argv[1], "--play") == 0 && is_recording(argv[3]))
        return play_game(argv[2], argv[3]);
    if ((argc == 4 || events) && strcmp(argv[1], "--play") == 0)
        return play(argv[2], argv[3], events);
    if (argc == 4 && strcmp(argv[1], "--play-game") == 0)
        return play_game(argv[2], argv[3]);
    bool grading = argc >= 3 && strcmp(argv[1], "--grade") == 0;
    if (grading) {
        argv++;
        argc--;
    }
    // an option where the level goes is a call given wrong, not a file to look for
    if (argc < (grading ? 2 : 3) || argv[1][0] == '-')
        return usage(stderr, 2);
    const char*     graded_replay = grading && argc >= 3 && argv[2][0] != '-' ? argv[2] : nullptr;
    solve_options_t opt;
    for (int i = grading && !graded_replay ? 2 : 3; i < argc; i++) {
        bool beam = strcmp(argv[i], "--beam") == 0, frames = strcmp(argv[i], "--frames") == 0;
        if (i + 1 >= argc || (!beam && !frames))
            return usage(stderr, 2);
        if (!parse_count(argv[i], argv[i + 1], beam ? &opt.beam : &opt.max_frames))
            return 2;
        i++;
    }
    return grading ? grade_level(argv[1], graded_replay, opt) : solve_level(argv[1], argv[2], opt);
}

int main(int argc, char** argv) { return run_tool_main("quovix-solve", run, argc, argv); }
