// The speed scale: its text, the steps it gives, scale.txt read on every frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "app/headless.h"
#include "assets/scale.h"
#include "game/flow.h"
#include "game/motion.h"
#include "game/tuning.h"
#include "support.h"

TEST(ScaleText, FirstTokenIsTheScaleAndTheRestIsIgnored) {
    float s = 0;
    ASSERT_TRUE(parse_scale(" 1.0 and more words", &s));
    EXPECT_EQ(s, 1.0f);
    ASSERT_TRUE(parse_scale("\n\t+2.5e0\nignored", &s));
    EXPECT_EQ(s, 2.5f);
}

TEST(ScaleSteps, DividedInDoublePrecisionThenStoredAsFloats) {
    // 0.7 gives quotients that differ between float and double division
    for (float s : {2.0f, 0.7f}) {
        compute_steps(s);
        // the stars and hearts turn by the same division
        game.speed_scale = s;
        game.flow.pickup_spin = 0;
        game.flow.level_start = 0;
        ASSERT_TRUE(track_action());
        EXPECT_EQ(game.flow.pickup_spin, PICKUP_SPIN_STEP / s);
        EXPECT_EQ(game.ship.forward_step, (float)(FORWARD_STEP / (double)s));
        EXPECT_EQ(game.ship.side_step, (float)(SIDE_STEP / (double)s));
        EXPECT_EQ(game.ship.fall_step, (float)(FALL_STEP / (double)s));
        EXPECT_EQ(game.ship.rise_step, (float)(RISE_STEP / (double)s));
    }
    reset_game_state();
}

using ScaleFile = InFreshFolder;

TEST_F(ScaleFile, MissingOrUnusableKeepsOneAtFirstAndTheLastGoodValueLater) {
    EXPECT_EQ(read_scale(1.0f), 1.0f);
    write_text_file("scale.txt", "3");
    ASSERT_EQ(read_scale(1.0f), 3.0f);
    // 1e-44 is positive, but the steps divided by it are no finite float
    for (const char* text : std::initializer_list<const char*>{"0", "-3", "abc", "nan", "inf", "-inf", "1e400", "1e-44",
                                                               "", "  \n", nullptr}) {
        if (text)
            write_text_file("scale.txt", text);
        else
            remove("scale.txt");
        EXPECT_EQ(read_scale(3.0f), 3.0f) << (text ? text : "missing");
        float s = 3.0f;
        EXPECT_TRUE(!text || !parse_scale(text, &s)) << text;
    }
}

TEST(ScaleInPlay, EveryFrameReadsTheFileBeforeMovingAndKeepsTheLastGoodSteps) {
    ASSERT_TRUE(sim_open(make_play_folder({plain_level()}, "2").c_str()));
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(game.ship.forward_step, (float)(FORWARD_STEP / 2));
    sim_frame(0);
    for (const char* text : {"4\n", "nan\n", "0\n"}) {
        write_text_file("scale.txt", text);
        float y0 = sim_state().y;
        sim_frame(0);
        // the new scale already rules the frame that read it; a bad one changes nothing
        EXPECT_EQ(game.ship.forward_step, (float)(FORWARD_STEP / 4)) << text;
        EXPECT_NEAR(sim_state().y - y0, FORWARD_STEP / 4, 1e-7) << text;
    }
    // a search holds a scale and reads no file until it lets go
    sim_hold_scale(2);
    write_text_file("scale.txt", "8\n");
    sim_frame(0);
    EXPECT_EQ(game.ship.forward_step, (float)(FORWARD_STEP / 2));
    sim_hold_scale(0);
    sim_frame(0);
    EXPECT_EQ(game.ship.forward_step, (float)(FORWARD_STEP / 8));
    sim_close();
    reset_game_state();
}

// The scale is read as a stream's extraction reads a float, without the stream:
// every text of a few characters from the ones that matter gives the same answer.
TEST(ScaleText, ReadAsAStreamReadsAFloat) {
    auto by_stream = [](const std::string& text, float* s) {
        std::istringstream in(text);
        float              v = 0;
        if (!(in >> v) || !std::isfinite(v) || v <= 0 || !std::isfinite((float)(FORWARD_STEP / v)) ||
            !std::isfinite(PICKUP_SPIN_STEP / v))
            return false;
        *s = v;
        return true;
    };
    std::vector<std::string> texts = {"1", "0.5", ".5", "5.", ".", "+.5", "-1", "1e", "1e+", "1e-2", "1.e2", ".e2",
                                      "e2", "1e2.5", "1.2.3", "0x10", "inf", "nan", "1e39", "3e38", "1e-44", "1e-50",
                                      "00012", "+-1", "\v2", "\f3", " \t\r\n4", "1E3", "2 3", "7abc", "",
                                      // both sides of where one float division stops being exact
                                      "16777216", "16777217", "16777218.5", "1677721.7", "0.1", "0.3", "3.14159265",
                                      "0.0000000001", "0.00000000001", "1.0000000000", "123456789", "-0.5", "-0",
                                      "0.000000000000000000000000000000000000000000000001"};
    const char               alphabet[] = " +-.eE019x\n";
    uint32_t                 seed = 12345;
    for (int n = 0; n < 20000; n++) {
        std::string text;
        for (int len = 0; len < 6; len++) {
            seed = seed * 1664525u + 1013904223u;
            text += alphabet[(seed >> 16) % (sizeof(alphabet) - 1)];
        }
        texts.push_back(text);
    }
    // and decimals of every digit up to ten places, which one float division reads
    const char decimal[] = "0123456789.";
    for (int n = 0; n < 20000; n++) {
        std::string text;
        for (int len = 0; len <= n % 12; len++) {
            seed = seed * 1664525u + 1013904223u;
            text += decimal[(seed >> 16) % (sizeof(decimal) - 1)];
        }
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        float want = 9, got = 9;
        bool  wanted = by_stream(text, &want);
        EXPECT_EQ(parse_scale(text.c_str(), &got), wanted) << "\"" << text << "\"";
        EXPECT_EQ(got, want) << "\"" << text << "\"";
    }
}
