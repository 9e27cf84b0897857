#include <gtest/gtest.h>

#include "app/headless.h"
#include "app/platform.h"
#include "app/timer.h"

namespace {

struct Timer : testing::Test {
    void SetUp() override {
        reset_game_state();
        platform.fake_time = true;
        platform.fake_now_ms = 40000;
    }
    void TearDown() override { reset_game_state(); }
};

void advance(int32_t ms) { platform.fake_now_ms = (int32_t)((uint32_t)platform.fake_now_ms + (uint32_t)ms); }

}  // namespace

TEST_F(Timer, RepeatedOrIdleOperationsChangeNothing) {
    EXPECT_EQ(timer_elapsed_ms(), 0u);
    EXPECT_EQ(timer_elapsed_seconds(), 0u);
    advance(3000);
    timer_stop();
    timer_reset();
    EXPECT_FALSE(level_timer.running);
    EXPECT_EQ(timer_elapsed_ms(), 0u);
    // still reset: counting begins at the start, not at program start
    timer_start();
    advance(800);
    timer_start();
    advance(200);
    EXPECT_EQ(timer_elapsed_ms(), 1000u);
    timer_stop();
    advance(500);
    timer_stop();
    EXPECT_EQ(timer_elapsed_ms(), 1000u);
}

TEST_F(Timer, ResumeLeavesOutEveryPause) {
    timer_start();
    advance(5000);
    timer_stop();
    advance(3000);
    EXPECT_EQ(timer_elapsed_ms(), 5000u);
    timer_start();
    EXPECT_EQ(timer_elapsed_ms(), 5000u);
    advance(250);
    EXPECT_EQ(timer_elapsed_ms(), 5250u);
    timer_stop();
    advance(10000);
    timer_start();
    advance(750);
    EXPECT_EQ(timer_elapsed_ms(), 6000u);
}

TEST_F(Timer, ResetWhileRunningRestartsFromZeroAndKeepsCounting) {
    timer_start();
    advance(7000);
    timer_reset();
    EXPECT_TRUE(level_timer.running);
    EXPECT_EQ(timer_elapsed_ms(), 0u);
    advance(1500);
    EXPECT_EQ(timer_elapsed_ms(), 1500u);
}

TEST_F(Timer, ResetWhileStoppedStaysStoppedAndNextStartCountsFromThen) {
    timer_start();
    advance(4000);
    timer_stop();
    timer_reset();
    EXPECT_FALSE(level_timer.running);
    advance(9000);
    EXPECT_EQ(timer_elapsed_ms(), 0u);
    // the time since the stop is not counted after a reset
    timer_start();
    EXPECT_EQ(timer_elapsed_ms(), 0u);
    advance(300);
    EXPECT_EQ(timer_elapsed_ms(), 300u);
}

TEST_F(Timer, WholeSecondsRoundDownRunningOrStopped) {
    timer_start();
    advance(1999);
    EXPECT_EQ(timer_elapsed_seconds(), 1u);
    advance(1);
    EXPECT_EQ(timer_elapsed_seconds(), 2u);
    timer_reset();
    advance(1999);
    timer_stop();
    EXPECT_EQ(timer_elapsed_seconds(), 1u);
    timer_start();
    advance(1);
    timer_stop();
    EXPECT_EQ(timer_elapsed_ms(), 2000u);
    EXPECT_EQ(timer_elapsed_seconds(), 2u);
}

TEST_F(Timer, CountsAcrossTheWrapOfTheTickCounter) {
    platform.fake_now_ms = INT32_MAX - 400;
    timer_start();
    advance(1000);
    EXPECT_EQ(timer_elapsed_ms(), 1000u);
    timer_stop();
    advance(2000);
    timer_start();
    advance(500);
    EXPECT_EQ(timer_elapsed_ms(), 1500u);
}
