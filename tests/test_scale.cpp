#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/headless.h"
#include "assets/scale.h"
#include "game/motion.h"
#include "support.h"

namespace {

// Each case reads "scale.txt" from a fresh folder of its own.
struct ScaleFile : testing::Test {
    char home[4096] = {};
    void SetUp() override {
        reset_game_state();
        ASSERT_TRUE(getcwd(home, sizeof(home)));
        ASSERT_EQ(chdir(temp_folder().c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(home), 0);
        reset_game_state();
    }
};

}  // namespace

TEST(ScaleText, FirstTokenIsTheScaleAndTheRestIsIgnored) {
    float s = 0;
    ASSERT_TRUE(parse_scale(" 1.0 and more words", &s));
    EXPECT_EQ(s, 1.0f);
    ASSERT_TRUE(parse_scale("\n\t+2.5e0\nignored", &s));
    EXPECT_EQ(s, 2.5f);
}

TEST(ScaleSteps, DividedInDoublePrecisionThenStoredAsFloats) {
    compute_steps(2.0f);
    EXPECT_EQ(ship.forward_step, (float)0.0004);
    EXPECT_EQ(ship.side_step, (float)0.000075);
    EXPECT_EQ(ship.rise_step, (float)0.00012);
    EXPECT_EQ(ship.fall_step, (float)0.00012);
    // a scale whose quotients differ between float and double division
    float s = 0.7f;
    compute_steps(s);
    EXPECT_EQ(ship.forward_step, (float)(0.0008 / (double)s));
    EXPECT_EQ(ship.side_step, (float)(0.00015 / (double)s));
    EXPECT_EQ(ship.fall_step, (float)(0.00024 / (double)s));
    EXPECT_EQ(ship.rise_step, (float)(0.00024 / (double)s));
    reset_game_state();
}

TEST_F(ScaleFile, MissingFileKeepsOneAtFirstAndTheLastValueLater) {
    read_scale();
    EXPECT_EQ(speed_scale, 1.0f);
    write_text_file("scale.txt", "2.5\n");
    read_scale();
    EXPECT_EQ(speed_scale, 2.5f);
    ASSERT_EQ(remove("scale.txt"), 0);
    read_scale();
    EXPECT_EQ(speed_scale, 2.5f);
}

TEST_F(ScaleFile, UnusableContentKeepsTheLastGoodValue) {
    write_text_file("scale.txt", "3");
    read_scale();
    ASSERT_EQ(speed_scale, 3.0f);
    // 1e-44 is positive, but the steps divided by it are no finite float
    for (const char* text : {"0", "-1", "abc", "nan", "inf", "-inf", "1e400", "1e-44", "", "  \n"}) {
        write_text_file("scale.txt", text);
        read_scale();
        EXPECT_EQ(speed_scale, 3.0f) << "\"" << text << "\"";
        float s = 3.0f;
        EXPECT_FALSE(parse_scale(text, &s)) << "\"" << text << "\"";
    }
}

TEST(ScaleInPlay, EveryFrameReadsTheFileBeforeMoving) {
    ASSERT_TRUE(sim_open(make_play_folder({plain_level()}, "2").c_str()));
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(ship.forward_step, (float)0.0004);
    sim_frame(0);
    write_text_file("scale.txt", "4\n");
    float y0 = sim_state().y;
    sim_frame(0);
    // the new scale already rules the frame that read it
    EXPECT_EQ(ship.forward_step, (float)0.0002);
    EXPECT_NEAR(sim_state().y - y0, 0.0002, 1e-7);
    sim_close();
    reset_game_state();
}
