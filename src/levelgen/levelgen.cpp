#include "levelgen/levelgen.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/headless.h"
#include "assets/bmp.h"
#include "assets/replay_text.h"
#include "game/levelmap.h"
#include "game/state.h"
#include "game/tuning.h"

const char* const levelgen_idea_names[IDEA_COUNT] = {"mixed",        "long-jumps",  "wall-stairs",
                                                     "narrow-lines", "star-trails", "heart-rewards"};

bool levelgen_size_fits(int width, int height, std::string* why) {
    int spawn_column = (int)(SPAWN_POINT[0] * height);
    // a ship off the map looks at the first tile, which must be a gap: the start lies past it
    int min_height = (int)std::ceil(1.0 / SPAWN_POINT[0]);
    if (spawn_column < 1)
        *why = "a level needs at least " + std::to_string(min_height) + " rows, to start the ship past column 0";
    else if ((uint64_t)width * (uint64_t)height > LEVEL_MAX_TILES)
        *why = std::to_string(width) + "x" + std::to_string(height) + " is more than the " +
               std::to_string(LEVEL_MAX_TILES) + " tiles a level may have";
    else if (spawn_column + 2 >= width)
        *why = "at " + std::to_string(height) + " rows the ship starts in column " + std::to_string(spawn_column) +
               ", so a level needs more than " + std::to_string(spawn_column + 2) + " columns";
    else
        return true;
    return false;
}

bool levelgen_idea_named(const char* name, levelgen_idea_t* idea) {
    for (int i = 0; i < IDEA_COUNT; i++)
        if (strcmp(name, levelgen_idea_names[i]) == 0) {
            *idea = (levelgen_idea_t)i;
            return true;
        }
    return false;
}

// --- numbers from a seed: splitmix64, integers only, the same on every machine ---

struct rng_t {
    uint64_t state;
};

static uint64_t next_random(rng_t* r) {
    uint64_t z = (r->state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

static int  below(rng_t* r, int n) { return n <= 1 ? 0 : (int)(next_random(r) % (uint64_t)n); }
static int  between(rng_t* r, int lo, int hi) { return lo + below(r, hi - lo + 1); }
static bool chance(rng_t* r, int percent) { return below(r, 100) < percent; }

// --- what the ship can do, measured by flying it ---

// Frame counts of a jump, the same at every level size: only the rows they cover scale.
struct reach_t {
    int clear_from;     // after a press on the ground, frames until it clears a wall
    int jump;           // after a press on the ground, frames until falling over a gap
    int high;           // after a press on a wall top, frames until falling over a gap
    int high_to_wall;   // after a press on a wall top, frames until too low to meet a wall
};

// A draft's rows and its pilot's plan.
struct draft_t {
    level_grid_t        grid;
    std::vector<int>    lane;       // the column the pilot steers for, a row
    std::vector<double> press_at;   // rows at which the pilot presses jump, in order
    double              rows_per_frame;
    int                 clear_from;   // frames from a press until the ship clears a wall
    int                 band;         // columns each side of the lane
};

static void put(level_grid_t* g, int row, int col, char symbol) {
    if (row >= 0 && row < g->height && col >= 0 && col < g->width)
        tile_colour(symbol, &g->bgr[((size_t)row * g->width + col) * 3]);
}

static char symbol_at(const level_grid_t& g, int row, int col) {
    if (row < 0 || row >= g.height || col < 0 || col >= g.width)
        return '.';
    return tile_char(&g.bgr[((size_t)row * g.width + col) * 3]);
}

// Plays a grid where the ship stands at the start of play: the level's pixels swapped in.
static void install(const level_grid_t& g) {
    std::vector<uint8_t> bmp = level_to_bmp(g);
    std::string          why;
    parse_level_picture(bmp.data(), bmp.size(), &game.level, &why);
}

// Flies up the spawn lane of `g`, onto a wall ahead when there is one, and presses
// jump once past `press_row` standing on the ground or, `from_wall`, on a wall top;
// counts the frames from that press.
static reach_t probe(const sim_snapshot_t& start, const level_grid_t& g, double press_row, bool from_wall) {
    sim_restore(start);
    install(g);
    reach_t r = {0, 0, 0, 0};
    int     pressed = -1;
    for (int frame = 0; frame < 2000 && !sim_ended(); frame++) {
        const ship_t& s = game.ship;
        double        row = s.pos[1] * g.height;
        bool          on_top = s.on_wall == 1.0f && !s.on_ground;
        bool          ready = !s.jump && !s.falling && (from_wall ? on_top : s.on_ground == 1);
        bool          press = pressed < 0 && row >= press_row && ready;
        bool          climb = from_wall && pressed < 0 && s.on_ground == 1 && !s.jump;
        sim_frame(press || climb ? HOLD_SPACE : 0);
        if (press && game.ship.jump)
            pressed = frame;
        if (pressed < 0)
            continue;
        int   after = frame - pressed;
        float z = game.ship.pos[2];
        if (z >= WALL_CLEARANCE && !r.clear_from)
            r.clear_from = after;
        if (!game.ship.jump && z < WALL_CLEARANCE && r.clear_from && !r.high_to_wall)
            r.high_to_wall = after;
        if (game.ship.falling) {
            r.jump = r.high = after;
            break;
        }
    }
    return r;
}

static level_grid_t blank_grid(int w, int h) {
    level_grid_t g;
    g.width = w;
    g.height = h;
    g.bgr.assign((size_t)w * h * 3, 0);
    return g;
}

static reach_t measure(const sim_snapshot_t& start, int w, int h) {
    double       v = FORWARD_STEP * h;
    int          floor_to = (int)std::ceil(40 * v);
    level_grid_t flat = blank_grid(w, h);
    for (int row = 0; row < h; row++)
        for (int col = 0; col < w; col++)
            put(&flat, row, col, row < floor_to ? '#' : '.');
    reach_t ground = probe(start, flat, floor_to - 1.5 * v, false);
    // a wall top to stand on, then the gap
    level_grid_t wall = flat;
    int          wall_to = floor_to + (int)std::ceil(50 * v);
    for (int row = floor_to; row < h; row++)
        for (int col = 0; col < w; col++)
            put(&wall, row, col, row < wall_to ? 'W' : '.');
    reach_t high = probe(start, wall, wall_to - 1.5 * v, true);
    reach_t r = ground;
    r.high = high.high;
    r.high_to_wall = high.high_to_wall;
    return r;
}

// --- the draft: segments laid up the track ---

struct plan_t {
    rng_t*          rng;
    draft_t*        d;
    const reach_t*  reach;
    levelgen_idea_t idea;
    int             difficulty;   // 0 to 9
    int             row;          // the next row to lay
    int             lane;
    int             end_row;   // where the finish starts
};

static int frames_rows(const plan_t& p, double frames) { return (int)std::ceil(frames * p.d->rows_per_frame); }

static void band_rows(plan_t* p, int from, int to, int lo, int hi, char symbol) {
    for (int row = from; row < to; row++)
        for (int col = lo; col <= hi; col++)
            put(&p->d->grid, row, col, symbol);
}

static void set_lane(plan_t* p, int from, int to, int col) {
    for (int row = std::max(0, from); row < to && row < (int)p->d->lane.size(); row++)
        p->d->lane[(size_t)row] = col;
}

// A straight stretch; stars down its middle now and then.
static void lay_run(plan_t* p, int rows, int stars_percent) {
    int from = p->row, to = std::min(p->end_row, p->row + rows);
    band_rows(p, from, to, p->lane - p->d->band, p->lane + p->d->band, '#');
    set_lane(p, from, to, p->lane);
    if (chance(p->rng, stars_percent))
        for (int row = from + 2; row < to - 1; row += 3)
            put(&p->d->grid, row, p->lane, '*');
    p->row = to;
}

// The rows a run needs after a landing before the next obstacle.
static void lay_breather(plan_t* p) {
    int frames = 40 - 3 * p->difficulty;
    lay_run(p, frames_rows(*p, between(p->rng, frames, frames * 2)), p->idea == IDEA_STAR_TRAILS ? 60 : 25);
}

// A heart near the end of the run a landing came down on: the next stretch lays floor over what lies ahead.
static void reward(plan_t* p) {
    int percent = p->idea == IDEA_HEART_REWARDS ? 85 : 15 + 2 * p->difficulty;
    if (chance(p->rng, percent))
        put(&p->d->grid, p->row - 2, p->lane, 'H');
}

// The gap a jump of `frames` to falling leaves `window` frames to press in, and the
// press in the window's middle.
static int gap_rows(const plan_t& p, int frames, int window, double* press_before) {
    double v = p.d->rows_per_frame;
    int    rows = std::max(1, (int)std::floor((frames - 1 - window) * v));
    double left = frames - 1 - rows / v;
    *press_before = 0.5 * left * v;
    return rows;
}

static int jump_window(const plan_t& p) {
    int window = 22 - 2 * p.difficulty;
    return p.idea == IDEA_LONG_JUMPS ? std::max(3, window - 4) : window;
}

static void lay_gap(plan_t* p) {
    double before = 0;
    int    rows = gap_rows(*p, p->reach->jump, jump_window(*p) + below(p->rng, 4), &before);
    if (p->row + rows + frames_rows(*p, 60) >= p->end_row)
        return;
    p->d->press_at.push_back(p->row - before);
    set_lane(p, p->row, p->row + rows, p->lane);
    // stars in the gap's middle: low enough to take only by a ship that dares to drop
    if (p->idea == IDEA_STAR_TRAILS && rows >= 4)
        put(&p->d->grid, p->row + rows / 2, p->lane, '*');
    p->row += rows;
    lay_run(p, frames_rows(*p, p->reach->jump + 4), 0);
    reward(p);
}

// Walls to jump onto, and from their tops high jumps over gaps to the next.
static void lay_walls(plan_t* p, int steps) {
    int wall_rows = frames_rows(*p, 30 + below(p->rng, 20));
    int lo = p->lane - p->d->band, hi = p->lane + p->d->band;
    if (p->row + (steps + 1) * (wall_rows + frames_rows(*p, p->reach->high)) >= p->end_row)
        return;
    for (int step = 0; step < steps; step++) {
        band_rows(p, p->row, p->row + wall_rows, lo, hi, 'W');
        set_lane(p, p->row, p->row + wall_rows, p->lane);
        p->row += wall_rows;
        if (step + 1 == steps)
            break;
        double before = 0;
        int    rows = gap_rows(*p, p->reach->high_to_wall, jump_window(*p) + below(p->rng, 4), &before);
        p->d->press_at.push_back(p->row - before);
        set_lane(p, p->row, p->row + rows, p->lane);
        p->row += rows;
    }
    // down off the last wall, over a gap now and then
    if (steps > 1 && chance(p->rng, 50)) {
        double before = 0;
        int    rows = gap_rows(*p, p->reach->high, jump_window(*p) + below(p->rng, 4), &before);
        p->d->press_at.push_back(p->row - before);
        set_lane(p, p->row, p->row + rows, p->lane);
        p->row += rows;
    }
    lay_run(p, frames_rows(*p, p->reach->high + 4), 0);
    reward(p);
}

// Columns a lane moves at most: a third of a 7x240 level's length at full steer.
static const int max_shift = 8;

// The lane moves sideways; the track under the move is as wide as both lanes.
static void lay_shift(plan_t* p) {
    int w = p->d->grid.width, band = p->d->band;
    int to = between(p->rng, band, w - 1 - band);
    // on a wide map a lane far over would take the rest of the level to reach
    to = std::max(p->lane - max_shift, std::min(p->lane + max_shift, to));
    if (to == p->lane)
        to = p->lane + (p->lane + 1 <= w - 1 - band ? 1 : -1);
    int    cols = std::abs(to - p->lane);
    double frames = 18 + cols / (SIDE_STEP * p->d->grid.height) + 6;
    double slack = 1.7 - 0.06 * p->difficulty;
    int    rows = frames_rows(*p, frames * slack);
    band_rows(p, p->row, std::min(p->end_row, p->row + rows), std::min(to, p->lane) - band,
              std::max(to, p->lane) + band, '#');
    set_lane(p, p->row, p->row + rows, to);
    p->row = std::min(p->end_row, p->row + rows);
    p->lane = to;
}

// A line of stars two columns off the road, over a gap column: a side trip with risk.
static void lay_star_trail(plan_t* p) {
    int w = p->d->grid.width, band = p->d->band;
    int side = chance(p->rng, 50) ? -1 : 1;
    int col = p->lane + side * (band + 2);
    if (col < 0 || col >= w)
        col = p->lane - side * (band + 2);
    if (col < 0 || col >= w) {
        lay_run(p, frames_rows(*p, 40), 100);
        return;
    }
    int rows = frames_rows(*p, 60 + below(p->rng, 60));
    if (p->row + rows + 4 >= p->end_row)
        return;
    lay_run(p, rows, 0);
    for (int row = p->row - rows + 2; row < p->row - 1; row++)
        put(&p->d->grid, row, col, row % 2 ? '*' : '#');
    // a way across at each end, for a ship that steers over to it
    int cross = frames_rows(*p, 30);
    band_rows(p, p->row - rows - cross, p->row - rows + 2, std::min(col, p->lane), std::max(col, p->lane), '#');
    band_rows(p, p->row - 1, p->row + cross, std::min(col, p->lane), std::max(col, p->lane), '#');
    set_lane(p, p->row, p->row + cross, p->lane);
    p->row += cross;
}

struct weights_t {
    int gap, walls, stairs, shift, trail;
};

static const weights_t idea_weights[IDEA_COUNT] = {
    {3, 2, 1, 3, 1},   // mixed
    {7, 0, 0, 2, 0},   // long jumps
    {1, 2, 6, 1, 0},   // wall stairs
    {2, 0, 0, 7, 0},   // narrow lines
    {2, 1, 0, 2, 5},   // star trails
    {4, 2, 2, 2, 0},   // heart rewards
};

static void lay_feature(plan_t* p) {
    const weights_t& wt = idea_weights[p->idea];
    int              pick = below(p->rng, wt.gap + wt.walls + wt.stairs + wt.shift + wt.trail);
    if ((pick -= wt.gap) < 0)
        lay_gap(p);
    else if ((pick -= wt.walls) < 0)
        lay_walls(p, 1);
    else if ((pick -= wt.stairs) < 0)
        lay_walls(p, between(p->rng, 2, 2 + p->difficulty / 3));
    else if ((pick -= wt.shift) < 0)
        lay_shift(p);
    else
        lay_star_trail(p);
}

static int band_for(levelgen_idea_t idea, int difficulty, int width) {
    int band = idea == IDEA_NARROW_LINES ? 0 : difficulty < 3 ? 2 : difficulty < 7 ? 1 : 0;
    // wide levels keep room to steer
    return std::min(band + (width >= 11 ? 1 : 0), (width - 1) / 2);
}

static void lay_draft(rng_t* rng, const reach_t& reach, int w, int h, levelgen_idea_t idea, int difficulty,
                      draft_t* d) {
    d->grid = blank_grid(w, h);
    d->lane.assign((size_t)h, 0);
    d->press_at.clear();
    d->rows_per_frame = FORWARD_STEP * h;
    d->band = band_for(idea, difficulty, w);
    d->clear_from = reach.clear_from;
    plan_t p = {rng, d, &reach, idea, difficulty, 0, (int)(SPAWN_POINT[0] * h), 0};
    int    finish_rows = std::max(4, frames_rows(p, 60));
    p.end_row = h - finish_rows;
    lay_run(&p, frames_rows(p, 45), 0);
    while (p.row < p.end_row - frames_rows(p, 40)) {
        int was = p.row;
        lay_feature(&p);
        if (p.row == was)
            break;
        lay_breather(&p);
    }
    lay_run(&p, p.end_row - p.row, 0);
    band_rows(&p, p.end_row, h, std::max(0, p.lane - d->band - 1), std::min(w - 1, p.lane + d->band + 1), 'F');
    set_lane(&p, p.end_row, h, p.lane);
    // a ship off the map looks at the first tile: it must be a gap
    put(&d->grid, 0, 0, '.');
}

// A plain road up from the spawn point to the finish, which every ship finishes.
static void lay_plain(int w, int h, draft_t* d) {
    d->grid = blank_grid(w, h);
    d->lane.assign((size_t)h, (int)(SPAWN_POINT[0] * h));
    d->press_at.clear();
    d->rows_per_frame = FORWARD_STEP * h;
    d->band = 1;
    d->clear_from = 0;
    int lane = d->lane[0];
    for (int row = 0; row < h; row++)
        for (int col = lane - 1; col <= lane + 1; col++)
            put(&d->grid, row, col, row >= h - 8 ? 'F' : '#');
    put(&d->grid, 0, 0, '.');
}

// --- the pilot: steers for the lane, jumps where the plan says and onto walls ahead ---

static unsigned pilot_keys(const draft_t& d, size_t* next_press) {
    const ship_t& s = game.ship;
    int           h = d.grid.height;
    double        x = s.pos[0] * h, y = s.pos[1] * h;
    int           row = std::max(0, std::min(h - 1, (int)y));
    unsigned      keys = 0;
    double        off = d.lane[(size_t)row] + 0.5 - x;
    if (off > 0.12)
        keys |= HOLD_D;
    else if (off < -0.12)
        keys |= HOLD_A;
    bool standing = (s.on_ground == 1 || s.on_wall == 1.0f) && !s.jump && !s.falling;
    if (*next_press < d.press_at.size() && y >= d.press_at[*next_press] && standing) {
        (*next_press)++;
        return keys | HOLD_SPACE;
    }
    // a wall just ahead: up onto it, pressed so the ship clears it as it gets there
    double ahead = WALL_LOOKAHEAD * h + d.clear_from * d.rows_per_frame;
    for (int r = row + 1; r <= (int)(y + ahead) && r < h && s.on_ground == 1 && standing; r++)
        if (symbol_at(d.grid, r, (int)x) == 'W')
            return keys | HOLD_SPACE;
    return keys;
}

// Flies a draft from the start of play; true when it finishes with every life.
static bool fly(const sim_snapshot_t& start, const draft_t& d, levelgen_t* out) {
    sim_restore(start);
    install(d.grid);
    out->frames.clear();
    int    lives = game.flow.lives, taken = 0;
    size_t next_press = 0;
    int    most = (int)(3 * d.grid.height / d.rows_per_frame) + 600;
    for (int frame = 0; frame < most && !sim_ended(); frame++) {
        unsigned keys = pilot_keys(d, &next_press);
        sim_frame(keys);
        out->frames.push_back(keys);
        if (game.flow.lives < lives)
            return false;
        taken += game.flow.lives - lives;
        lives = game.flow.lives;
        if (game.flow.on_finish) {
            out->lives_taken = taken;
            return true;
        }
    }
    return false;
}

void levelgen_make(uint64_t seed, int difficulty, int width, int height, levelgen_idea_t idea, levelgen_t* out) {
    sim_snapshot_t start;
    sim_save(&start);
    sim_hold_scale(1.0f);
    difficulty = std::max(LEVELGEN_DIFFICULTY_MIN, std::min(LEVELGEN_DIFFICULTY_MAX, difficulty));
    reach_t reach = measure(start, width, height);
    draft_t draft;
    bool    proven = false;
    out->drafts = 0;
    for (int attempt = 0; attempt < LEVELGEN_DRAFTS && !proven; attempt++) {
        // each draft its own stream, so a draft never depends on how the last one flew
        rng_t rng = {seed ^ (0x5851f42d4c957f2dull * (uint64_t)(attempt + 1)) ^ ((uint64_t)difficulty << 56)};
        next_random(&rng);
        lay_draft(&rng, reach, width, height, idea, difficulty - 1, &draft);
        out->drafts++;
        proven = fly(start, draft, out);
    }
    if (!proven) {
        lay_plain(width, height, &draft);
        out->drafts++;
        proven = fly(start, draft, out);
    }
    out->proven = proven;
    out->grid = draft.grid;
    sim_hold_scale(0);
    sim_restore(start);
}

std::string levelgen_replay_text(const levelgen_t& level, const std::string& name, uint64_t seed, int difficulty) {
    std::string notes = "# quovix replay of " + name + ": " + std::to_string(level.frames.size()) +
                        " frames, 0 lives lost, made with the level from seed " + std::to_string(seed) +
                        ", difficulty " + std::to_string(difficulty) +
                        "\n"
                        "# from the first frame of play, the level played as level one, speed scale 1\n"
                        "# each line: frames, keys held (- none; a, d, space joined by +)\n";
    return replay_to_text(level.frames, notes);
}
