// The summary's points, from the level reached, the lives and the totals.
#pragma once
#include <cstdint>

struct summary_points_t {
    int32_t levels_completed;
    int32_t level_points;
    double  time_points;        // not rounded, not clamped
    int32_t time_points_shown;  // truncated toward zero
    int32_t live_points;
    int32_t total_points;       // the sum, truncated toward zero
};

summary_points_t summary_points(int current_level, int lives, int32_t total_stars, int32_t total_time_ms);
