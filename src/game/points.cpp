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
    p.level_points = p.levels_completed * POINTS_PER_LEVEL;
    p.time_points = TIME_POINTS_START - (total_time_ms * TIME_POINTS_PER_MS);
    p.time_points_shown = to_int32(p.time_points);
    p.star_points = total_stars * POINTS_PER_STAR;
    p.live_points = to_int32((double)lives * POINTS_PER_LIFE);
    double level_points = p.levels_completed * (double)POINTS_PER_LEVEL;
    p.total_points = to_int32(((p.time_points + level_points) + p.star_points) + ((double)lives * POINTS_PER_LIFE));
    return p;
}
