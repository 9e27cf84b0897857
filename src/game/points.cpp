#include "game/points.h"

#include <climits>
#include <cmath>

#include "game/tuning.h"
#include "results/results.h"

// Truncates toward zero, saturating where a hand-edited game could overflow.
static int32_t to_int32(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return (int32_t)v;
}

summary_points_t summary_points(int current_level, int lives, int32_t total_stars, int32_t total_time_ms) {
    summary_points_t p;
    p.levels_completed = current_level == LEVEL_COUNT ? LEVEL_COUNT : current_level - 1;
    p.level_points = p.levels_completed * 1000;
    p.time_points = 1000.0 - (total_time_ms * 0.002);
    p.time_points_shown = to_int32(p.time_points);
    p.live_points = to_int32((double)lives * 20);
    double level_points = p.levels_completed * 1000.0;
    p.total_points = to_int32(((p.time_points + level_points) + total_stars) + ((double)lives * 20));
    return p;
}
