// Game controllers through SDL's virtual joystick, polled before the real frame function.
#include <SDL.h>

#include "assets/replay_text.h"
#include "gameplay_support.h"
#include "pad/pad.h"
#include "replay.h"

typedef SDL_GameControllerButton pad_button_t;

struct Pad : Gameplay {
    int           device = -1;
    SDL_Joystick* stick = nullptr;

    void SetUp() override { ASSERT_TRUE(pad_open()); }
    void TearDown() override {
        unplug();
        pad_close();
        Gameplay::TearDown();
    }
    // A controller with every standard button and axis, which SDL maps as a game controller.
    void plug_in() {
        device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_TRUE(device >= 0 && SDL_IsGameController(device)) << SDL_GetError();
        stick = SDL_JoystickOpen(device);
    }
    void unplug() {
        if (stick)
            SDL_JoystickClose(stick), SDL_JoystickDetachVirtual(device);
        stick = nullptr;
    }
    void hold(pad_button_t b, bool down = true) { SDL_JoystickSetVirtualButton(stick, b, down); }
    void tilt(SDL_GameControllerAxis a, int value) { SDL_JoystickSetVirtualAxis(stick, a, (Sint16)value); }
    // One frame as the window runs it: the pads polled, then the frame with the keys they left.
    bool frames(int n = 1) {
        for (int i = 0; i < n; i++) {
            sim_pads(pad_poll());
            if (!sim_frame_as_typed())
                return false;
        }
        return true;
    }
    // Opens a game with a pad plugged in; `start` pressed on the menu starts play.
    void open_with_pad(const std::string& level, int start = -1) {
        ASSERT_TRUE(sim_open(make_play_folder({level}).c_str()));
        plug_in();
        if (start < 0)
            return;
        hold((pad_button_t)start);
        ASSERT_TRUE(frames());
        ASSERT_TRUE(game.flow.game_started);
        hold((pad_button_t)start, false);
    }
};

static bool by_pad(button_t button) { return (game.buttons.held[button] & SOURCE_PADS) != 0; }

TEST_F(Pad, DPadAndStickPastTheDeadZoneSteerTheSouthButtonJumpsStartPausesBackLeaves) {
    open_with_pad(wide_level('#'), SDL_CONTROLLER_BUTTON_START);
    frames(60);
    float x = game.ship.pos[0];
    hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    frames(10);
    EXPECT_TRUE(by_pad(BUTTON_RIGHT) && game.ship.bank == BANK_RIGHT && game.ship.pos[0] > x);
    hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    // inside the dead zone the stick does nothing; once past it, it lets go only near the centre
    // flung across the centre in a frame, it engages on the far side only past the dead zone
    const struct {
        int value;
        int left_held, right_held;
    } stick_rows[] = {{-7000, 0, 0},         {-9000, SOURCE_PADS, 0}, {-7000, SOURCE_PADS, 0},
                      {-5000, 0, 0},         {-9000, SOURCE_PADS, 0}, {7000, 0, 0},
                      {9000, 0, SOURCE_PADS}};
    for (const auto& r : stick_rows) {
        tilt(SDL_CONTROLLER_AXIS_LEFTX, r.value);
        frames();
        EXPECT_EQ(game.buttons.held[BUTTON_LEFT], r.left_held) << r.value;
        EXPECT_EQ(game.buttons.held[BUTTON_RIGHT], r.right_held) << r.value;
    }
    EXPECT_EQ(game.ship.bank, BANK_RIGHT);
    tilt(SDL_CONTROLLER_AXIS_LEFTX, 0);
    frames(30);
    hold(SDL_CONTROLLER_BUTTON_A);
    frames();
    EXPECT_EQ(game.ship.jump, 1);
    hold(SDL_CONTROLLER_BUTTON_A, false);
    // Start held pauses once; pressed again, play goes on
    for (int paused : {1, 0}) {
        hold(SDL_CONTROLLER_BUTTON_START, false);
        frames();
        hold(SDL_CONTROLLER_BUTTON_START);
        frames(3);
        EXPECT_EQ(game.flow.paused, paused);
    }
    // X jumps as A does
    frames(30);
    hold(SDL_CONTROLLER_BUTTON_X);
    frames();
    EXPECT_EQ(game.ship.jump, 1);
    hold(SDL_CONTROLLER_BUTTON_X, false);
    // Back pauses play rather than end the run; B goes on; Back on the pause screen leaves
    const struct {
        pad_button_t button;
        int          paused;   // after the press, held over a few frames
        bool         ended;
    } back_rows[] = {{SDL_CONTROLLER_BUTTON_BACK, 1, false},
                     {SDL_CONTROLLER_BUTTON_B, 0, false},
                     {SDL_CONTROLLER_BUTTON_B, 0, false},
                     {SDL_CONTROLLER_BUTTON_BACK, 1, false},
                     {SDL_CONTROLLER_BUTTON_BACK, 1, true}};
    for (const auto& r : back_rows) {
        hold(r.button);
        bool running = frames(3);
        hold(r.button, false);
        EXPECT_EQ(!running, r.ended) << r.button;
        if (running)
            frames();
        EXPECT_EQ(game.flow.paused, r.paused) << r.button;
    }
    EXPECT_EQ(sim_exit_status(), 0);
}

TEST_F(Pad, StickOrDPadChoosesOnTheMenuAndTheSouthButtonConfirmsExit) {
    open_with_pad(wide_level('#'));
    tilt(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    frames();
    EXPECT_EQ(game.flow.menu_selection, 1);
    tilt(SDL_CONTROLLER_AXIS_LEFTY, -30000);
    frames();
    EXPECT_EQ(game.flow.menu_selection, 0);
    tilt(SDL_CONTROLLER_AXIS_LEFTY, 0);
    hold(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    frames();
    hold(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(frames());
    EXPECT_EQ(sim_exit_status(), 0);
}

TEST_F(Pad, AKeyLetGoOfOnTheKeyboardStaysHeldByThePadAndUnpluggingLetsGoWithoutAPause) {
    open_with_pad(wide_level('#'), SDL_CONTROLLER_BUTTON_START);
    frames(60);
    hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    sim_key('d', true);
    frames();
    sim_key('d', false);
    frames(3);
    EXPECT_TRUE(by_pad(BUTTON_RIGHT) && game.ship.bank == BANK_RIGHT);
    sim_key('d', true);
    hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    frames(3);
    EXPECT_EQ(game.buttons.held[BUTTON_RIGHT], SOURCE_KEYS);
    sim_key('d', false);
    hold(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    frames();
    unplug();
    frames();
    EXPECT_EQ(pad_count(), 0);
    EXPECT_EQ(game.buttons.held[BUTTON_LEFT], 0);
    plug_in();
    hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    frames();
    EXPECT_TRUE(pad_count() == 1 && by_pad(BUTTON_RIGHT));
    EXPECT_FALSE(game.flow.paused);
    // a window without the keyboard takes nothing from the pad until it has it back
    sim_focus(false);
    frames();
    EXPECT_TRUE(game.buttons.held[BUTTON_RIGHT] == 0 && game.flow.paused);
    sim_focus(true);
    frames();
    EXPECT_TRUE(by_pad(BUTTON_RIGHT));
}

TEST_F(Pad, UnpluggingOneOfTwoPadsKeepsWhatTheOtherHolds) {
    open_with_pad(wide_level('#'), SDL_CONTROLLER_BUTTON_START);
    int second = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(second, 0) << SDL_GetError();
    SDL_Joystick* other = SDL_JoystickOpen(second);
    frames();
    EXPECT_EQ(pad_count(), 2);
    SDL_JoystickSetVirtualButton(other, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    frames(2);
    EXPECT_TRUE(by_pad(BUTTON_RIGHT));
    unplug();
    frames(2);
    EXPECT_EQ(pad_count(), 1);
    EXPECT_TRUE(by_pad(BUTTON_RIGHT)) << "held by the pad still plugged in";
    SDL_JoystickClose(other);
    SDL_JoystickDetachVirtual(second);
    frames();
}

// Back leaves from the menu and the summary as Esc does.
TEST_F(Pad, BackLeavesFromTheMenuAndTheSummary) {
    open_with_pad(wide_level('#'));
    hold(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_FALSE(frames());
    sim_close();
    unplug();
    open_with_pad(plain_level(rows_of(2, 239, ".......")), SDL_CONTROLLER_BUTTON_START);
    for (int i = 0; i < 3000 && !game.flow.game_over; i++)
        frames();
    ASSERT_TRUE(game.flow.game_over);
    hold(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_FALSE(frames());
    EXPECT_EQ(sim_exit_status(), 0);
}

TEST_F(Pad, SouthButtonOnTheSummaryGoesBackToTheMenuOnlyWhenPressedThere) {
    open_with_pad(plain_level(rows_of(2, 239, ".......")), SDL_CONTROLLER_BUTTON_START);
    hold(SDL_CONTROLLER_BUTTON_A);
    for (int i = 0; i < 3000 && !game.flow.game_over; i++)
        frames();
    frames(3);
    ASSERT_TRUE(game.flow.game_over) << "held from play on, it does not leave the summary";
    hold(SDL_CONTROLLER_BUTTON_A, false);
    frames();
    hold(SDL_CONTROLLER_BUTTON_A);
    frames(3);
    EXPECT_EQ(queued_actions(), std::vector<int>({ACT_MENU}));
    EXPECT_FALSE(game.flow.game_started) << "still held, it starts nothing on the menu";
}

// Level one's replay on the D-pad and the south button, play started with Start or with the
// south button, whose space does nothing on the menu: both finish as the keyboard does.
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
    for (pad_button_t start : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_A}) {
        open_with_pad(level, start);
        int finish = -1;
        for (size_t i = 0; i < keys.size() && finish < 0; i++) {
            hold(SDL_CONTROLLER_BUTTON_DPAD_LEFT, keys[i] & HOLD_A);
            hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, keys[i] & HOLD_D);
            hold(SDL_CONTROLLER_BUTTON_A, keys[i] & HOLD_SPACE);
            ASSERT_TRUE(frames());
            finish = game.flow.on_finish ? (int)i + 1 : -1;
        }
        EXPECT_EQ(finish, typed.finish_frame) << start;
        EXPECT_EQ(game.flow.lives, typed.lives_at_end) << start;
        EXPECT_EQ(game.flow.stars_collected, typed.stars) << start;
        unplug();
        sim_close();
    }
}
