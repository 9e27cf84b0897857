// Game controllers through SDL's virtual joystick, polled before the real frame function.
#include <SDL.h>

#include "gameplay_support.h"
#include "pad/pad.h"
#include "pad/pad_keys.h"
#include "replay.h"

TEST(PadStick, SideEngagesPastTheDeadZoneAndLetsGoUnderTheLowerMark) {
    const struct {
        int value, was, side;
    } rows[] = {
        {0, 0, 0},       {7999, 0, 0},   {8001, 0, 1},  {-8001, 0, -1}, {7000, 1, 1},   {6001, 1, 1},  {6000, 1, 0},
        {-7000, -1, -1}, {-5000, -1, 0}, {7000, -1, 0}, {9000, -1, 1},  {-9000, 1, -1}, {32767, 0, 1}, {-32768, 0, -1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(pad_stick_side(r.value, r.was), r.side) << r.value << " from " << r.was;
}

struct Pad : Gameplay {
    int           device = -1;
    SDL_Joystick* stick = nullptr;

    void SetUp() override { ASSERT_TRUE(pad_open()); }
    void TearDown() override {
        unplug();
        pad_close();
        Gameplay::TearDown();
    }
    // A controller with every standard button and axis, as SDL maps a virtual one.
    void plug_in() {
        device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(device, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(device));
        stick = SDL_JoystickOpen(device);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
    }
    void unplug() {
        if (!stick)
            return;
        SDL_JoystickClose(stick);
        SDL_JoystickDetachVirtual(device);
        stick = nullptr;
    }
    void button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(stick, b, down); }
    void axis(SDL_GameControllerAxis a, int value) { SDL_JoystickSetVirtualAxis(stick, a, (Sint16)value); }
    // One frame as the window runs it: the pads polled, then the frame with the keys they left.
    bool frame() {
        pad_poll();
        return sim_frame_as_typed();
    }
    void frames(int n) {
        for (int i = 0; i < n; i++)
            frame();
    }
    // Opens a game with a pad plugged in and starts play with Start.
    void start_with_start(const std::string& level) {
        ASSERT_TRUE(sim_open(make_play_folder({level}).c_str()));
        plug_in();
        frame();
        ASSERT_EQ(pad_count(), 1);
        button(SDL_CONTROLLER_BUTTON_START, true);
        ASSERT_TRUE(frame());
        ASSERT_TRUE(game.flow.game_started);
        button(SDL_CONTROLLER_BUTTON_START, false);
    }
};

static bool held_by_pad(int key) { return (game.keys[key] & KEY_SOURCE_PAD) != 0; }

TEST_F(Pad, DPadAndStickPastTheDeadZoneSteerAsADDo) {
    start_with_start(wide_level('#'));
    frames(60);
    float x = game.ship.pos[0];
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    frames(10);
    EXPECT_TRUE(held_by_pad(KEY_D));
    EXPECT_EQ(game.ship.bank, BANK_RIGHT);
    EXPECT_GT(game.ship.pos[0], x);
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    frames(30);
    EXPECT_EQ(game.keys[KEY_D], 0);
    // inside the dead zone the stick does nothing
    axis(SDL_CONTROLLER_AXIS_LEFTX, -7000);
    frames(5);
    EXPECT_EQ(game.keys[KEY_A], 0);
    x = game.ship.pos[0];
    axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    frames(10);
    EXPECT_TRUE(held_by_pad(KEY_A));
    EXPECT_EQ(game.ship.bank, BANK_LEFT);
    EXPECT_LT(game.ship.pos[0], x);
    // back toward the centre, above the lower mark, it still steers
    axis(SDL_CONTROLLER_AXIS_LEFTX, -7000);
    frame();
    EXPECT_TRUE(held_by_pad(KEY_A));
    axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    frame();
    EXPECT_EQ(game.keys[KEY_A], 0);
}

TEST_F(Pad, SouthButtonJumpsAndBackLeaves) {
    start_with_start(wide_level('#'));
    frames(60);
    ASSERT_EQ(game.ship.jump, 0);
    button(SDL_CONTROLLER_BUTTON_A, true);
    frame();
    EXPECT_EQ(game.ship.jump, 1);
    EXPECT_FALSE(game.flow.game_over);
    button(SDL_CONTROLLER_BUTTON_A, false);
    frames(5);
    button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(frame());
    EXPECT_TRUE(sim_ended());
    EXPECT_EQ(sim_exit_status(), 0);
}

TEST_F(Pad, StartPausesPlayAndPressedAgainGoesOn) {
    start_with_start(wide_level('#'));
    frames(60);
    for (int round = 0; round < 2; round++) {
        button(SDL_CONTROLLER_BUTTON_START, true);
        frame();
        EXPECT_EQ(game.flow.paused, round == 0);
        // held, it does not flicker
        frames(10);
        EXPECT_EQ(game.flow.paused, round == 0);
        button(SDL_CONTROLLER_BUTTON_START, false);
        frame();
    }
    EXPECT_FALSE(sim_ended());
}

TEST_F(Pad, MenuChoosesWithStickOrDPadAndTheSouthButtonConfirms) {
    const struct {
        bool stick;
        bool exit_chosen;
    } rows[] = {{false, true}, {true, true}, {false, false}};
    for (const auto& r : rows) {
        ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
        plug_in();
        frame();
        if (r.exit_chosen) {
            if (r.stick)
                axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
            else
                button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
            frame();
            EXPECT_EQ(game.flow.menu_selection, 1);
            axis(SDL_CONTROLLER_AXIS_LEFTY, -30000);
            button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
            frame();
            EXPECT_EQ(game.flow.menu_selection, 0);
            axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
            button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
            frame();
            button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
        }
        button(SDL_CONTROLLER_BUTTON_A, true);
        EXPECT_EQ(frame(), !r.exit_chosen);
        EXPECT_EQ(sim_ended(), r.exit_chosen);
        if (r.exit_chosen)
            EXPECT_EQ(sim_exit_status(), 0);
        else
            EXPECT_TRUE(game.flow.game_started);
        unplug();
        frame();
        sim_close();
    }
}

TEST_F(Pad, AKeyboardKeyLetGoOfWhileThePadHoldsItStaysHeldAndTheOtherWayRound) {
    start_with_start(wide_level('#'));
    frames(60);
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    sim_key('d', true);
    frame();
    sim_key('d', false);
    frames(3);
    EXPECT_TRUE(held_by_pad(KEY_D));
    EXPECT_EQ(game.ship.bank, BANK_RIGHT);
    sim_key('d', true);
    frame();
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    frames(3);
    EXPECT_EQ(game.keys[KEY_D], KEY_SOURCE_CHAR);
    EXPECT_EQ(game.ship.bank, BANK_RIGHT);
    sim_key('d', false);
    frame();
    EXPECT_EQ(game.keys[KEY_D], 0);
}

TEST_F(Pad, UnpluggedMidGameItsKeysAreLetGoAndAnotherIsTakenWithoutAPause) {
    start_with_start(wide_level('#'));
    frames(60);
    button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    button(SDL_CONTROLLER_BUTTON_A, true);
    frames(3);
    ASSERT_TRUE(held_by_pad(KEY_A));
    unplug();
    frame();
    EXPECT_EQ(pad_count(), 0);
    EXPECT_EQ(game.keys[KEY_A], 0);
    EXPECT_EQ(game.keys[KEY_SPACE], 0);
    EXPECT_EQ(game.flow.paused, 0);
    plug_in();
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    frame();
    EXPECT_EQ(pad_count(), 1);
    EXPECT_TRUE(held_by_pad(KEY_D));
    EXPECT_EQ(game.flow.paused, 0);
    EXPECT_FALSE(sim_ended());
}

TEST_F(Pad, AWindowWithoutTheKeyboardTakesNothingFromThePadUntilItHasItAgain) {
    start_with_start(wide_level('#'));
    frames(60);
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    frame();
    ASSERT_TRUE(held_by_pad(KEY_D));
    sim_focus(false);
    frame();
    EXPECT_EQ(game.keys[KEY_D], 0);
    ASSERT_TRUE(game.flow.paused);
    button(SDL_CONTROLLER_BUTTON_START, true);
    frames(3);
    EXPECT_TRUE(game.flow.paused);
    button(SDL_CONTROLLER_BUTTON_START, false);
    sim_focus(true);
    frame();
    EXPECT_TRUE(held_by_pad(KEY_D));
    button(SDL_CONTROLLER_BUTTON_START, true);
    frame();
    EXPECT_FALSE(game.flow.paused);
}

TEST_F(Pad, SouthButtonOnTheSummaryGoesBackToTheMenuOnlyWhenPressedThere) {
    start_with_start(plain_level(rows_of(2, 239, ".......")));
    // held from play on, it does not leave the summary
    button(SDL_CONTROLLER_BUTTON_A, true);
    for (int i = 0; i < 3000 && !game.flow.game_over; i++)
        ASSERT_TRUE(frame());
    ASSERT_TRUE(game.flow.game_over);
    frames(3);
    ASSERT_TRUE(game.flow.game_over);
    button(SDL_CONTROLLER_BUTTON_A, false);
    frame();
    button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(frame());
    EXPECT_FALSE(game.flow.game_over);
    EXPECT_FALSE(game.flow.game_started);
    EXPECT_EQ(game.flow.lives, START_LIVES);
    EXPECT_EQ(queued_actions(), std::vector<int>({ACT_MENU}));
    // still held, it starts nothing until pressed again on the menu
    frames(3);
    EXPECT_FALSE(game.flow.game_started);
    button(SDL_CONTROLLER_BUTTON_A, false);
    frame();
    button(SDL_CONTROLLER_BUTTON_A, true);
    frame();
    EXPECT_TRUE(game.flow.game_started);
}

// Level one's replay, its keys pressed on the pad's D-pad and south button, play started with
// Start or with the south button, whose space does nothing on the menu.
TEST_F(Pad, PlaysLevelOneToItsFinishOnTheSameFrameAsItsReplay) {
    std::string           level = read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/levelone.txt");
    std::vector<unsigned> keys;
    std::string           why;
    ASSERT_TRUE(
        replay_from_text(read_text_file(std::string(QUOVIX_SOURCE_DIR) + "/data/levels/levelone.replay"), &keys, &why))
        << why;
    ASSERT_TRUE(start_play({level}));
    replay_outcome_t typed = replay_play(keys);
    sim_close();
    ASSERT_TRUE(typed.finished);

    for (SDL_GameControllerButton start : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_A}) {
        ASSERT_TRUE(sim_open(make_play_folder({level}).c_str()));
        plug_in();
        button(start, true);
        ASSERT_TRUE(frame());
        ASSERT_TRUE(game.flow.game_started);
        button(start, false);
        int finish = -1;
        for (size_t i = 0; i < keys.size() && finish < 0; i++) {
            button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, keys[i] & HOLD_A);
            button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, keys[i] & HOLD_D);
            button(SDL_CONTROLLER_BUTTON_A, keys[i] & HOLD_SPACE);
            ASSERT_TRUE(frame());
            if (game.flow.on_finish)
                finish = (int)i + 1;
        }
        EXPECT_EQ(finish, typed.finish_frame) << start;
        EXPECT_EQ(game.flow.lives, typed.lives_at_end) << start;
        EXPECT_EQ(game.flow.stars_collected, typed.stars) << start;
        unplug();
        frame();
        sim_close();
    }
}
