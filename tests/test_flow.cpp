#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frame.h"
#include "app/headless.h"
#include "app/keys.h"
#include "game/actions.h"
#include "game/input.h"
#include "support.h"

namespace {

std::vector<int> listed() { return std::vector<int>(action_list.begin(), action_list.end()); }

const std::vector<int> play_codes = {12, 14, 5, 0, 6, 9};

struct Flow : testing::Test {
    void SetUp() override { ASSERT_TRUE(sim_open(make_play_folder({plain_level()}).c_str())); }
    void TearDown() override {
        sim_close();
        reset_game_state();
    }
    // Starts play and lets the ship settle on the floor.
    void play_a_while() {
        ASSERT_TRUE(sim_start_play());
        for (int i = 0; i < 30; i++)
            ASSERT_TRUE(sim_frame(0));
        ASSERT_EQ(sim_state().on_ground, 1);
    }
};

}  // namespace

TEST(ActionList, RemoveTakesEveryOccurrence) {
    action_list.clear();
    for (int c : {1, 2, 1, 3, 1})
        actions_add_back(c);
    actions_add_front(7);
    EXPECT_EQ(listed(), (std::vector<int>{7, 1, 2, 1, 3, 1}));
    actions_remove(1);
    EXPECT_EQ(listed(), (std::vector<int>{7, 2, 3}));
    EXPECT_FALSE(actions_has(1));
    action_list.clear();
}

TEST_F(Flow, MenuHoldsOnlyTheMenuCodeAndPlayReplacesIt) {
    EXPECT_EQ(listed(), std::vector<int>{15});
    ASSERT_TRUE(sim_frame(0));
    // in the menu the motion handlers take their own codes out again
    EXPECT_EQ(listed(), std::vector<int>{15});
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(listed(), play_codes);
    // the first frame of play started the level after the track and the ship
    EXPECT_EQ(flow.level_start, 0);
    EXPECT_EQ(flow.ship_drawn, 1);
}

TEST_F(Flow, InputStepQueuesMotionCodesInFrontOfThePlayCodes) {
    play_a_while();
    input_step();
    EXPECT_EQ(listed(), (std::vector<int>{1, 4, 12, 14, 5, 0, 6, 9}));
    ASSERT_TRUE(sim_frame(0));
    EXPECT_EQ(listed(), play_codes);

    key_table[KEY_D] = 1;
    key_table[KEY_SPACE] = 1;
    input_step();
    EXPECT_EQ(listed(), (std::vector<int>{1, 13, 4, 3, 12, 14, 5, 0, 6, 9}));
    ASSERT_TRUE(sim_frame(HOLD_D | HOLD_SPACE));
    EXPECT_EQ(sim_state().jump, 1);
    EXPECT_EQ(listed(), play_codes);

    clear_keys();
    key_table[KEY_A] = 1;
    input_step();
    EXPECT_EQ(listed(), (std::vector<int>{1, 13, 4, 2, 12, 14, 5, 0, 6, 9}));
    ASSERT_TRUE(sim_frame(HOLD_A));
    EXPECT_EQ(listed(), play_codes);
}

TEST_F(Flow, EscEndsWithStatusZeroInEveryPhase) {
    EXPECT_FALSE(sim_frame(HOLD_ESC | HOLD_ENTER | HOLD_W));
    EXPECT_EQ(sim_exit_status(), 0);
    EXPECT_EQ(flow.game_started, 0);
    EXPECT_FALSE(sim_frame(0));
    for (int phase = 0; phase < 2; phase++) {
        sim_close();
        ASSERT_TRUE(sim_open(make_play_folder({plain_level()}).c_str()));
        play_a_while();
        if (phase == 1) {
            flow.lives = 0;
            for (int i = 0; i < 5; i++)
                ASSERT_TRUE(sim_frame(0));
            for (int code : {0, 5, 6, 9, 12, 14})
                EXPECT_FALSE(actions_has(code)) << code;
            // 10 is queued every frame and taken out by its handler, so nothing piles up
            EXPECT_LE(action_list.size(), 1u);
        }
        EXPECT_FALSE(sim_frame(HOLD_ESC)) << phase;
        EXPECT_EQ(sim_exit_status(), 0) << phase;
    }
}

TEST_F(Flow, ExitChosenOnTheMenuEndsWithStatusZero) {
    ASSERT_TRUE(sim_frame(HOLD_S));
    EXPECT_FALSE(sim_frame(HOLD_ENTER));
    EXPECT_EQ(sim_exit_status(), 0);
    // held together, s wins
    sim_close();
    ASSERT_TRUE(sim_open(make_play_folder({plain_level()}).c_str()));
    EXPECT_FALSE(sim_frame(HOLD_W | HOLD_S | HOLD_ENTER));
    EXPECT_EQ(sim_exit_status(), 0);
    EXPECT_EQ(flow.game_started, 0);
}

TEST_F(Flow, PlayChosenAfterExitStartsPlay) {
    ASSERT_TRUE(sim_frame(HOLD_S));
    ASSERT_TRUE(sim_frame(HOLD_W));
    ASSERT_TRUE(sim_frame(HOLD_ENTER));
    EXPECT_EQ(flow.game_started, 1);
    EXPECT_FALSE(actions_has(ACT_MENU));
}

TEST_F(Flow, MenuKeysDoNothingOnceTheShipHasBeenDrawn) {
    play_a_while();
    ASSERT_TRUE(sim_frame(HOLD_S));
    EXPECT_TRUE(sim_frame(HOLD_ENTER));
    ASSERT_TRUE(sim_frame(HOLD_W));
    float y = sim_state().y;
    EXPECT_TRUE(sim_frame(HOLD_ENTER));
    // Enter did not run start-up again: the ship went on from where it was
    EXPECT_GT(sim_state().y, y);
    EXPECT_EQ(listed(), play_codes);
}
