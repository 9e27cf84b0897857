#include "levelgen/random_world.h"

#include <string>
#include <vector>

#include "app/headless.h"
#include "assets/bmp.h"
#include "game/flow.h"
#include "game/levelmap.h"
#include "game/state.h"
#include "platform/platform.h"

static const char RANDOM_WORLD_TITLE[] = "RANDOM WORLD";

// The one seed's levels made so far; a new seed starts them afresh.
static struct {
    uint64_t             seed;
    bool                 made[LEVEL_COUNT];
    levelgen_t           levels[LEVEL_COUNT];
    std::vector<uint8_t> bmp[LEVEL_COUNT];
    bool                 making;   // a level's flights run frames, whose ends must not make another
} kept;

random_level_t random_world_level(uint64_t seed, int level) { return {seed + (uint64_t)(level - 1), 2 * level}; }

uint64_t random_world_new_seed() {
    // splitmix64's finish: nearby clock readings give unrelated seeds
    uint64_t z = (uint64_t)platform_now_ns() + 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

void random_world_forget() { kept = {}; }

const levelgen_t* random_world_made(uint64_t seed, int level) {
    if (kept.seed != seed || level < 1 || level > LEVEL_COUNT || !kept.made[level - 1])
        return nullptr;
    return &kept.levels[level - 1];
}

// Play just started on a plain road of the designed size, its first frame run as Enter's frame
// runs it: where the generator's drafts fly from, so a level's flight plays it from a game's start.
static void start_play_aside() {
    process_t process = game.process;
    game = game_at_start;
    game.process = process;
    level_grid_t road;
    road.width = LEVEL_WIDTH;
    road.height = LEVEL_HEIGHT;
    road.bgr.resize((size_t)road.width * road.height * 3);
    for (size_t tile = 0; tile < (size_t)road.width * road.height; tile++)
        tile_colour('#', &road.bgr[tile * 3]);
    std::vector<uint8_t> bmp = level_to_bmp(road);
    std::string          why;
    parse_level_picture(bmp.data(), bmp.size(), &game.level, &why);
    game.flow.game_started = 1;
    start_play();
    // the speed the levels are proven at, never the player's scale file
    sim_hold_scale(1.0f);
    sim_frame(0);
}

// Between frames only: the rules read no files and make no levels.
static void make_level(uint64_t seed, int level) {
    if (kept.seed != seed) {
        random_world_forget();
        kept.seed = seed;
    }
    random_level_t asked = random_world_level(seed, level);
    kept.making = true;
    sim_snapshot_t own;
    sim_save(&own);
    sim_aside(true);
    start_play_aside();
    levelgen_make(asked.seed, asked.difficulty, LEVEL_WIDTH, LEVEL_HEIGHT, IDEA_MIXED, &kept.levels[level - 1]);
    sim_aside(false);
    // the game's own state back as one copy, the log's events of the flights dropped
    sim_restore(own);
    kept.bmp[level - 1] = level_to_bmp(kept.levels[level - 1].grid);
    kept.made[level - 1] = true;
    kept.making = false;
}

static bool level_bmp(uint64_t seed, int level, std::vector<uint8_t>* bmp, std::string* why) {
    if (!random_world_made(seed, level) && !kept.making)
        make_level(seed, level);
    if (!random_world_made(seed, level)) {
        *why = "level " + std::to_string(level) + " is not made yet";
        return false;
    }
    *bmp = kept.bmp[level - 1];
    return true;
}

// The level after the one being played, made while it is played; none during a level change,
// whose held frame is the window's.
static void make_next(uint64_t seed) {
    const game_flow_t& flow = game.flow;
    if (kept.making || !flow.game_started || flow.game_over || flow.level_change_waiting ||
        flow.current_level >= LEVEL_COUNT)
        return;
    if (!random_world_made(seed, flow.current_level + 1))
        make_level(seed, flow.current_level + 1);
}

world_t random_world(uint64_t seed) {
    world_info_t info = {RANDOM_WORLD_TITLE, "",
                         "Five levels from this seed; share it: quovix --seed " + std::to_string(seed)};
    return world_seeded("random-" + std::to_string(seed), info, level_bmp, make_next, seed);
}

static world_t random_world_listed() { return random_world(random_world_new_seed()); }

void random_world_plug_in() { worlds_list_also(random_world_listed); }
