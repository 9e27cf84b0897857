#include "grade.h"

#include <cstdio>

#include "game/events.h"
#include "game/state.h"

// Frames a moved press is played on for, from the way's own press, to see it land.
static const int landing_frames = 150;
// Presses moved this many frames either way at most.
static const int furthest_move = 40;

// The frames at which the way leaves the ground or a wall top, and the state before each frame.
static std::vector<int> takeoffs(const sim_snapshot_t& start, const std::vector<unsigned>& way,
                                 std::vector<sim_snapshot_t>* before) {
    std::vector<int> at;
    sim_restore(start);
    before->resize(way.size());
    for (size_t f = 0; f < way.size() && !sim_ended(); f++) {
        sim_save(&(*before)[f]);
        sim_frame(way[f]);
        if (event_raised(EV_JUMP) || event_raised(EV_HIGH_JUMP))
            at.push_back((int)f);
    }
    return at;
}

// Plays the way with its press at `takeoff` moved to `press` (none when negative) from
// the earlier of the two; true when no life is lost before the moved press has landed.
static bool keeps_lives(const std::vector<unsigned>& way, const std::vector<sim_snapshot_t>& before, int takeoff,
                        int press) {
    int from = press >= 0 && press < takeoff ? press : takeoff;
    int until = std::min((int)way.size(), takeoff + landing_frames);
    int held_to = takeoff;
    while (held_to < (int)way.size() && (way[(size_t)held_to] & HOLD_SPACE))
        held_to++;
    sim_restore(before[(size_t)from]);
    int lives = game.flow.lives;
    for (int f = from; f < until && !sim_ended(); f++) {
        unsigned keys = way[(size_t)f];
        // the way's own press, however long held, is lifted: only the moved press jumps
        if (f < held_to)
            keys &= ~HOLD_SPACE;
        if (f == press)
            keys |= HOLD_SPACE;
        sim_frame(keys);
        if (game.flow.lives < lives || game.ship.falling)
            return false;
        if (game.flow.on_finish)
            return true;
    }
    return true;
}

grade_t grade_way(const sim_snapshot_t& start, const std::vector<unsigned>& way) {
    grade_t                     g = {0, 0, 0.0, (int)way.size()};
    std::vector<sim_snapshot_t> before;
    std::vector<int>            jumps = takeoffs(start, way, &before);
    for (int t : jumps) {
        if (keeps_lives(way, before, t, -1))
            continue;
        int window = 1;
        for (int k = 1; k <= furthest_move && t - k >= 0 && keeps_lives(way, before, t, t - k); k++)
            window++;
        for (int k = 1; k <= furthest_move && t + k < (int)way.size() && keeps_lives(way, before, t, t + k); k++)
            window++;
        g.needed_jumps++;
        g.figure += 10.0 / window;
        if (!g.narrowest_window || window < g.narrowest_window)
            g.narrowest_window = window;
    }
    sim_restore(start);
    return g;
}

std::string grade_line(const std::string& level, const grade_t& g) {
    char line[256];
    snprintf(line, sizeof(line), "%s: grade %.1f (%d jumps needed, narrowest window %d frames, %d frames)",
             level.c_str(), g.figure, g.needed_jumps, g.narrowest_window, g.frames);
    return line;
}
