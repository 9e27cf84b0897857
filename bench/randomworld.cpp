// The random world: from the picker's Enter to level one ready (Enter's frame), and each next
// level's making in the frame that makes it while the one before is played, over a run of seeds. The world is
// chosen on the picker and flown by its levels' own flights through the window-free runner.
// Prints "randomworld SEED first_ms level2_ms level3_ms level4_ms level5_ms plain_ms" a line, the
// last the median frame that made nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/headless.h"
#include "app/world_picker.h"
#include "assets/bmp.h"
#include "assets/levelsource.h"
#include "game/levelmap.h"
#include "levelgen/random_world.h"
#include "replay.h"

static double ms_since(std::chrono::steady_clock::time_point began) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
}

// One frame, timed.
static double timed_frame(unsigned held) {
    auto began = std::chrono::steady_clock::now();
    sim_frame(held);
    return ms_since(began);
}

// The menu of a designed game, the picker opened and its last line, the random world, chosen.
static bool on_random_line(const std::string& bin) {
    if (!sim_open(bin.c_str()))
        return false;
    sim_frame(HOLD_L);
    sim_frame(0);
    for (size_t i = 1; i < picker_worlds().size(); i++) {
        sim_frame(HOLD_S);
        sim_frame(0);
    }
    return !picker_worlds().empty() && picker_worlds().back().kind == WORLD_SEEDED;
}

static int levels_made(uint64_t seed) {
    int made = 0;
    for (int level = 1; level <= LEVEL_COUNT; level++)
        made += random_world_made(seed, level) != nullptr;
    return made;
}

// The frames that made no level, for the making frames to be read against.
static std::vector<double> plain_frames;

// One frame; its time noted when it made a level.
static void frame_noting(uint64_t seed, unsigned held, std::vector<double>* ms) {
    int    before = levels_made(seed);
    double took = timed_frame(held);
    if (levels_made(seed) > before)
        ms->push_back(took);
    else
        plain_frames.push_back(took);
}

static bool one_world(const std::string& bin) {
    if (!on_random_line(bin))
        return false;
    uint64_t seed = picker_worlds().back().seed;
    // Enter's frame asks, its end readies the world: level one is made there; play starts the
    // frame after, whose end makes level two
    std::vector<double> ms;
    frame_noting(seed, HOLD_ENTER, &ms);
    frame_noting(seed, 0, &ms);
    for (int level = 1; level <= LEVEL_COUNT && !game.flow.game_over; level++) {
        const levelgen_t* made = random_world_made(seed, level);
        if (!made)
            return false;
        std::vector<buttons_t> flight = made->frames;
        for (buttons_t keys : flight)
            frame_noting(seed, keys, &ms);
        for (int i = 0; i < 2000 && game.flow.current_level == level && !game.flow.game_over; i++)
            frame_noting(seed, 0, &ms);
    }
    printf("randomworld %llu", (unsigned long long)seed);
    for (double m : ms)
        printf(" %.2f", m);
    std::sort(plain_frames.begin(), plain_frames.end());
    printf(" %.4f\n", plain_frames.empty() ? 0.0 : plain_frames[plain_frames.size() / 2]);
    plain_frames.clear();
    sim_close();
    return ms.size() == (size_t)LEVEL_COUNT && game.flow.game_over;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s WORLDS\n", argv[0]);
        return 2;
    }
    level_grid_t road;
    road.width = LEVEL_WIDTH;
    road.height = LEVEL_HEIGHT;
    road.bgr.resize((size_t)road.width * road.height * 3);
    for (int row = 0; row < road.height; row++)
        for (int col = 0; col < road.width; col++)
            tile_colour(row + 8 < road.height ? '#' : 'F', &road.bgr[((size_t)row * road.width + col) * 3]);
    std::string why, bin = replay_play_folder(level_to_bmp(road), &why);
    if (bin.empty()) {
        fprintf(stderr, "%s\n", why.c_str());
        return 2;
    }
    random_world_plug_in();
    // the game's start-up lines kept off the figures' lines
    sim_keep_quiet(true);
    for (int w = 0; w < atoi(argv[1]); w++) {
        random_world_forget();
        if (!one_world(bin)) {
            fprintf(stderr, "world %d did not play through\n", w);
            return 1;
        }
    }
    return 0;
}
