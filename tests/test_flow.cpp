// The action list and the menu, without a window.
#include <gtest/gtest.h>

#include <cstring>

#include "app/headless.h"
#include "game/actions.h"
#include "game/input.h"
#include "game/state.h"
#include "gameplay_support.h"

namespace {

// The drawing codes of a list, in its order.
std::vector<int> drawing_codes(const std::vector<int>& codes) {
    std::vector<int> drawing;
    for (int c : codes)
        if (c == ACT_HUD || c == ACT_BACKGROUND || c == ACT_TRACK || c == ACT_SHIP)
            drawing.push_back(c);
    return drawing;
}

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

}   // namespace

TEST(ActionList, RemoveTakesEveryOccurrence) {
    game.actions.clear();
    for (int c : {ACT_VERTICAL, ACT_STEER_LEFT, ACT_VERTICAL, ACT_STEER_RIGHT, ACT_VERTICAL})
        actions_add_back(c);
    actions_add_front(ACT_HUD);
    EXPECT_EQ(queued_actions(),
              (std::vector<int>{ACT_HUD, ACT_VERTICAL, ACT_STEER_LEFT, ACT_VERTICAL, ACT_STEER_RIGHT, ACT_VERTICAL}));
    actions_remove(ACT_VERTICAL);
    EXPECT_EQ(queued_actions(), (std::vector<int>{ACT_HUD, ACT_STEER_LEFT, ACT_STEER_RIGHT}));
    EXPECT_FALSE(actions_has(ACT_VERTICAL));
    game.actions.clear();
}

TEST_F(Flow, MenuHoldsOnlyTheMenuCodeAndPlayReplacesIt) {
    EXPECT_EQ(queued_actions(), std::vector<int>{ACT_MENU});
    ASSERT_TRUE(sim_frame(0));
    // in the menu the motion handlers take their own codes out again
    EXPECT_EQ(queued_actions(), std::vector<int>{ACT_MENU});
    ASSERT_TRUE(sim_start_play());
    EXPECT_EQ(queued_actions(), play_list());
    // the background's copy puts back the head-up text held before it; the track and the ship go over both
    EXPECT_EQ(drawing_codes(queued_actions()), (std::vector<int>{ACT_HUD, ACT_BACKGROUND, ACT_TRACK, ACT_SHIP}));
    // the first frame of play started the level after the track and the ship
    EXPECT_EQ(game.flow.level_start, 0);
    EXPECT_EQ(game.flow.ship_drawn, 1);
}

TEST_F(Flow, InputStepQueuesMotionCodesInFrontOfThePlayCodes) {
    play_a_while();
    struct {
        unsigned         held;
        std::vector<int> queued;
    } steps[] = {{0, {ACT_VERTICAL, ACT_FORWARD}},
                 {HOLD_D | HOLD_SPACE, {ACT_VERTICAL, ACT_RISE, ACT_FORWARD, ACT_STEER_RIGHT}},
                 {HOLD_A, {ACT_VERTICAL, ACT_RISE, ACT_FORWARD, ACT_STEER_LEFT}}};
    for (const auto& s : steps) {
        game.cmd.held = s.held;
        input_step();
        std::vector<int> want = s.queued;
        want.insert(want.end(), std::begin(play_codes), std::end(play_codes));
        EXPECT_EQ(queued_actions(), want) << s.held;
        ASSERT_TRUE(sim_frame(s.held));
        EXPECT_EQ(queued_actions(), play_list()) << s.held;
        EXPECT_TRUE(!(s.held & HOLD_SPACE) || sim_state().jump == 1);
    }
}

// Menu keys frame by frame, held together where or-ed: Esc wins over all, s over w.
TEST_F(Flow, MenuKeysEndOrStartAsChosen) {
    struct {
        std::vector<unsigned> frames;
        bool                  ends;
    } cases[] = {{{HOLD_ESC | HOLD_ENTER | HOLD_W}, true},
                 {{HOLD_S, HOLD_ENTER}, true},
                 {{HOLD_W | HOLD_S | HOLD_ENTER}, true},
                 {{HOLD_S, HOLD_W, HOLD_ENTER}, false}};
    for (const auto& c : cases) {
        sim_close();
        ASSERT_TRUE(sim_open(make_play_folder({plain_level()}).c_str()));
        bool running = true;
        for (unsigned held : c.frames)
            running = sim_frame(held);
        SCOPED_TRACE(c.frames.back());
        EXPECT_EQ(running, !c.ends);
        EXPECT_EQ(game.flow.game_started, !c.ends);
        if (c.ends) {
            EXPECT_EQ(sim_exit_status(), 0);
            EXPECT_FALSE(sim_frame(0));
        } else {
            EXPECT_FALSE(actions_has(ACT_MENU));
        }
    }
}

TEST_F(Flow, LostGameLeavesOnlyTheSummaryQueuedAndEscEndsIt) {
    play_a_while();
    game.flow.lives = 0;
    for (int i = 0; i < 5; i++)
        ASSERT_TRUE(sim_frame(0));
    for (int code : play_codes)
        EXPECT_FALSE(actions_has(code)) << code;
    // the summary is queued every frame and taken out by its handler, so nothing piles up
    EXPECT_LE(game.actions.size(), 1u);
    input_step();
    EXPECT_TRUE(actions_has(ACT_SUMMARY));
    EXPECT_FALSE(sim_frame(HOLD_ESC));
    EXPECT_EQ(sim_exit_status(), 0);
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
    EXPECT_EQ(queued_actions(), play_list());
}
