// Keys as the window reports them, pause, and play again from the summary, without a window.
#include <GL/freeglut_std.h>

#include "game/timer.h"
#include "gameplay_support.h"

using Keys = Gameplay;

// A key event between frames: a character, or one of the window library's special keys.
struct key_event_t {
    int  code;
    bool special;
    bool down;
};

static void send(const key_event_t& e) {
    if (e.special)
        sim_special_key(e.code, e.down);
    else
        sim_key((unsigned char)e.code, e.down);
}

TEST_F(Keys, ShiftArrowsAndSourcesHoldAndReleaseTheKeyTheRulesRead) {
    const struct {
        const char*              name;
        std::vector<key_event_t> events;   // a frame runs after each
        button_t                 button;
        bool                     held;
    } rows[] = {
        {"d, then released under Shift", {{'d', false, true}, {'D', false, false}}, BUTTON_RIGHT, false},
        {"D under Caps Lock, released without", {{'D', false, true}, {'d', false, false}}, BUTTON_RIGHT, false},
        {"D held", {{'D', false, true}}, BUTTON_RIGHT, true},
        {"right arrow held", {{GLUT_KEY_RIGHT, true, true}}, BUTTON_RIGHT, true},
        {"left arrow held past a released a",
         {{'a', false, true}, {GLUT_KEY_LEFT, true, true}, {'a', false, false}},
         BUTTON_LEFT,
         true},
        {"left arrow released", {{GLUT_KEY_LEFT, true, true}, {GLUT_KEY_LEFT, true, false}}, BUTTON_LEFT, false},
        {"up arrow", {{GLUT_KEY_UP, true, true}}, BUTTON_MENU_UP, true},
        {"down arrow", {{GLUT_KEY_DOWN, true, true}}, BUTTON_MENU_DOWN, true},
        {"P", {{'P', false, true}}, BUTTON_PAUSE, true},
        {"d held past a tapped right arrow",
         {{'d', false, true}, {GLUT_KEY_RIGHT, true, true}, {GLUT_KEY_RIGHT, true, false}},
         BUTTON_RIGHT,
         true},
        {"q, bound to nothing", {{'q', false, true}}, BUTTON_COUNT, false},
    };
    for (const auto& r : rows) {
        ASSERT_TRUE(start_play({wide_level('#')})) << r.name;
        for (const key_event_t& e : r.events) {
            send(e);
            sim_frame_as_typed();
        }
        for (int b = 0; b < BUTTON_COUNT; b++)
            EXPECT_EQ(game.buttons.held[b] != 0, b == r.button && r.held) << r.name << ", button " << b;
    }
}

TEST_F(Keys, ReleasedUnderShiftTheShipStopsSteering) {
    ASSERT_TRUE(start_play({wide_level('#')}));
    sim_key('d', true);
    run_frames(5);
    sim_key('D', false);
    run_frames(30);
    float x = game.ship.pos[0];
    sim_frame_as_typed();
    EXPECT_EQ(game.ship.pos[0], x);
}

TEST_F(Keys, TapBetweenFramesHoldsForOneFrame) {
    ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
    sim_key('\r', true);
    sim_key('\r', false);
    ASSERT_TRUE(sim_frame_as_typed());
    EXPECT_EQ(game.flow.game_started, 1) << "a tap of Enter on the menu";
    ASSERT_GT(run_until([] { return game.ship.on_ground == 1; }, 60), 0);
    sim_key(' ', true);
    sim_key(' ', false);
    sim_frame_as_typed();
    EXPECT_EQ(game.ship.jump, 1) << "a tap of space";
    EXPECT_EQ(game.buttons.held[BUTTON_JUMP], 0);
    float rate = game.ship.right_rate;
    sim_key('d', true);
    sim_key('d', false);
    sim_frame_as_typed();
    EXPECT_FLOAT_EQ(game.ship.right_rate, rate + (float)STEER_RATE_STEP);
    sim_frame_as_typed();
    EXPECT_FLOAT_EQ(game.ship.right_rate, rate) << "held for one frame only";
    // the window library's special keys are held back the same way
    sim_special_key(GLUT_KEY_RIGHT, true);
    sim_special_key(GLUT_KEY_RIGHT, false);
    sim_frame_as_typed();
    EXPECT_FLOAT_EQ(game.ship.right_rate, rate + (float)STEER_RATE_STEP) << "a tap of the right arrow";
    sim_key('p', true);
    sim_key('p', false);
    sim_frame_as_typed();
    EXPECT_EQ(game.flow.paused, 1) << "a tap of p";
    // pressed, let go of and pressed again between two frames: held on past the frame
    sim_key('d', true);
    sim_key('d', false);
    sim_key('d', true);
    sim_frame_as_typed();
    sim_frame_as_typed();
    EXPECT_EQ(game.buttons.held[BUTTON_RIGHT], SOURCE_KEYS);
}

// Start-up lets go of every key: one held into play and tapped again right after is a press.
TEST_F(Keys, AKeyHeldIntoPlayAndTappedAgainIsANewPress) {
    ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
    sim_key('m', true);
    sim_key('\r', true);
    ASSERT_TRUE(sim_frame_as_typed());
    ASSERT_TRUE(game.flow.game_started && game.muted);
    sim_key('m', false);
    sim_key('m', true);
    sim_frame_as_typed();
    EXPECT_FALSE(game.muted);
}

TEST_F(Keys, FocusLossReleasesEveryKeyAndPausesOnlyPlay) {
    ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
    sim_key('s', true);
    sim_focus(false);
    sim_frame_as_typed();
    EXPECT_EQ(game.buttons.held[BUTTON_MENU_DOWN], 0);
    EXPECT_EQ(game.flow.paused, 0) << "the menu does not pause";
    sim_focus(true);
    ASSERT_TRUE(sim_start_play());
    run_frames(3);
    sim_key('d', true);
    sim_special_key(GLUT_KEY_RIGHT, true);
    sim_key(' ', true);
    sim_key(' ', false);
    sim_focus(false);
    sim_frame_as_typed();
    EXPECT_EQ(std::vector<int>(game.buttons.held, game.buttons.held + BUTTON_COUNT), std::vector<int>(BUTTON_COUNT, 0));
    EXPECT_EQ(game.flow.paused, 1);
    EXPECT_EQ(game.ship.jump, 0) << "the tap held back is released too";
    // back in focus play stays paused until p
    sim_focus(true);
    sim_frame(0);
    EXPECT_EQ(game.flow.paused, 1);
    sim_frame(HOLD_P);
    EXPECT_EQ(game.flow.paused, 0);
}
