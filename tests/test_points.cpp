// The summary's points and the number text, without a window.
#include <gtest/gtest.h>

#include "render/numbers.h"

TEST(Points, WonGameWithThreeLives) {
    summary_points_t p = summary_points(5, 3, 40, 250000);
    EXPECT_EQ(p.levels_completed, 5);
    EXPECT_EQ(p.level_points, 5000);
    EXPECT_DOUBLE_EQ(p.time_points, 500.0);
    EXPECT_EQ(p.time_points_shown, 500);
    EXPECT_EQ(p.live_points, 60);
    EXPECT_EQ(p.total_points, 5600);
}

TEST(Points, LostInLevelThreeCountsTheTwoBefore) {
    summary_points_t p = summary_points(3, 0, 12, 100000);
    EXPECT_EQ(p.levels_completed, 2);
    EXPECT_EQ(p.level_points, 2000);
    EXPECT_EQ(p.time_points_shown, 800);
    EXPECT_EQ(p.live_points, 0);
    EXPECT_EQ(p.total_points, 2812);
}

TEST(Points, LostInLevelFiveCountsAllFive) {
    summary_points_t p = summary_points(5, 0, 0, 0);
    EXPECT_EQ(p.levels_completed, 5);
    EXPECT_EQ(p.level_points, 5000);
    EXPECT_EQ(p.total_points, 6000);
    EXPECT_EQ(summary_points(1, 0, 0, 0).levels_completed, 0);
}

TEST(Points, TimeIsTruncatedForShowAndSummedUnrounded) {
    // 975.31 is shown as 975, but the total adds the fraction before truncating
    summary_points_t p = summary_points(5, 3, 10, 12345);
    EXPECT_NEAR(p.time_points, 975.31, 1e-9);
    EXPECT_EQ(p.time_points_shown, 975);
    EXPECT_EQ(p.total_points, 6045);

    // -0.5 shows as 0 and pulls the total one below the sum of what is shown
    p = summary_points(3, 0, 5, 500250);
    EXPECT_EQ(p.level_points, 2000);
    EXPECT_DOUBLE_EQ(p.time_points, -0.5);
    EXPECT_EQ(p.time_points_shown, 0);
    EXPECT_EQ(p.total_points, 2004);
}

TEST(Points, LongGamesLosePointsBelowZero) {
    summary_points_t p = summary_points(5, 3, 40, 600000);
    EXPECT_EQ(p.time_points_shown, -200);
    EXPECT_EQ(p.total_points, 5000 - 200 + 40 + 60);
}

TEST(Numbers, FormatIntAsPercentD) {
    EXPECT_EQ(format_int(0), "0");
    EXPECT_EQ(format_int(-200), "-200");
    EXPECT_EQ(format_int(5600), "5600");
    EXPECT_EQ(format_int(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(format_int(2147483647), "2147483647");
}
