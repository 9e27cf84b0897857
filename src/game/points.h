// The summary's points, from the level reached, the lives and the totals.
#pragma once
#include <cstdint>

// What each thing counts, for the arithmetic and for the summary's labels that show it.
inline constexpr int32_t POINTS_PER_LEVEL = 1000;      // each level completed
inline constexpr int32_t TIME_POINTS_START = 1000;     // the time's points before the first millisecond
inline constexpr double  TIME_POINTS_PER_MS = 0.002;   // lost for each millisecond played
inline constexpr int32_t POINTS_PER_STAR = 1;
inline constexpr int32_t POINTS_PER_LIFE = 20;   // each life left

struct summary_points_t {
    int32_t levels_completed;
    int32_t level_points;
    double  time_points;         // not rounded, not clamped
    int32_t time_points_shown;   // truncated toward zero
    int32_t star_points;
    int32_t live_points;
    int32_t total_points;   // the sum, truncated toward zero
};

summary_points_t summary_points(int current_level, int lives, int32_t total_stars, int32_t total_time_ms);
