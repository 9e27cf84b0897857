// The summary's points and the number text, without a window.
#include <gtest/gtest.h>

#include "game/points.h"
#include "render/numbers.h"

TEST(Points, TableOfGames) {
    struct {
        int    level, lives, stars, ms;
        int    completed, level_points, time_shown, live_points, total;
        double time_points;
    } games[] = {
        {5, 3, 40, 250000, 5, 5000, 500, 60, 5600, 500.0},   // won with three lives
        {3, 0, 12, 100000, 2, 2000, 800, 0, 2812, 800.0},    // lost in level three: the two before count
        {5, 0, 0, 0, 5, 5000, 1000, 0, 6000, 1000.0},        // lost in level five: all five count
        {1, 0, 0, 0, 0, 0, 1000, 0, 1000, 1000.0},
        // shown truncated, summed unrounded: 975.31 shows 975 but adds its fraction
        {5, 3, 10, 12345, 5, 5000, 975, 60, 6045, 975.31},
        // -0.5 shows as 0 and pulls the total one below the sum of what is shown
        {3, 0, 5, 500250, 2, 2000, 0, 0, 2004, -0.5},
        {5, 3, 40, 600000, 5, 5000, -200, 60, 4900, -200.0},   // long games lose points below zero
        // totals beyond 32 bits stop at the ends of the range, just inside them they do not
        {1, 0, 2147482646, 0, 0, 0, 1000, 0, 2147483646, 1000.0},
        {1, 0, 2147482647, 0, 0, 0, 1000, 0, 2147483647, 1000.0},
        {1, 0, 2147482648, 0, 0, 0, 1000, 0, 2147483647, 1000.0},
        {5, 3, 2147483647, 0, 5, 5000, 1000, 60, 2147483647, 1000.0},
        {1, 0, -2147483647 - 1, 499500, 0, 0, 1, 0, -2147483647, 1.0},
        {1, 0, -2147483647 - 1, 500000, 0, 0, 0, 0, -2147483647 - 1, 0.0},
        {1, 0, -2147483647 - 1, 500500, 0, 0, -1, 0, -2147483647 - 1, -1.0},
        {1, 0, -2147483647 - 1, 1000000, 0, 0, -1000, 0, -2147483647 - 1, -1000.0},
        {1, 2147483647, 0, 0, 0, 0, 1000, 2147483647, 2147483647, 1000.0},
        {1, -2147483647 - 1, 0, 0, 0, 0, 1000, -2147483647 - 1, -2147483647 - 1, 1000.0},
    };
    for (const auto& g : games) {
        summary_points_t p = summary_points(g.level, g.lives, g.stars, g.ms);
        SCOPED_TRACE(std::to_string(g.level) + " " + std::to_string(g.ms));
        EXPECT_EQ(p.levels_completed, g.completed);
        EXPECT_EQ(p.level_points, g.level_points);
        EXPECT_NEAR(p.time_points, g.time_points, 1e-9);
        EXPECT_EQ(p.time_points_shown, g.time_shown);
        EXPECT_EQ(p.live_points, g.live_points);
        EXPECT_EQ(p.total_points, g.total);
    }
}

TEST(Numbers, FormatIntAsPercentD) {
    for (int n : {0, -200, 5600, -2147483647 - 1, 2147483647})
        EXPECT_EQ(format_int(n), std::to_string(n));
}
