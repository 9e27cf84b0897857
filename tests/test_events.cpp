// What the rules raise, read from the window-free runner's record: each event
// on the frame it happens, once.
#include "gameplay_support.h"

using Events = Gameplay;

typedef std::vector<std::pair<int, std::string>> event_rows_t;

// The runner's record since sim_open as (frame, event name).
static event_rows_t logged() {
    event_rows_t rows;
    for (const sim_event_t& e : sim_event_log())
        rows.push_back({e.frame, event_name(e.event)});
    return rows;
}

static bool logged_once(game_event_t event) {
    for (const sim_event_t& e : sim_event_log())
        if (e.event == event)
            return true;
    return false;
}

// A star, a heart and a one-row gap on the ship's column, then a wall across the track.
static std::string star_heart_gap_wall() {
    std::vector<level_edit_t> rows = {{4, ".#*###."}, {8, ".#H###."}, {12, ".#.###."}};
    for (int r = 24; r < 30; r++)
        rows.push_back({r, ".WWWWW."});
    return plain_level(rows);
}

// Falls into the gap once and jumps it after; climbs the wall, and jumps high
// from its top once or rolls off its end.
static unsigned keys_for_the_level(bool held_back, bool high_jump) {
    if (held_back)
        return HOLD_SPACE;
    if (high_jump && game.ship.on_wall == 1.0f && !logged_once(EV_HIGH_JUMP))
        return HOLD_SPACE;
    if (logged_once(EV_LIFE_LOST) && ship_row() == 10)
        return HOLD_SPACE;
    return 0;
}

static void play_to_the_finish(bool high_jump) {
    bool held_back = false;
    for (int i = 0; i < 2000 && !game.flow.on_finish; i++) {
        float y = game.ship.pos[1];
        ASSERT_TRUE(sim_frame(keys_for_the_level(held_back, high_jump)));
        held_back = game.ship.pos[1] == y && !game.ship.jump && !game.ship.falling;
    }
}

TEST_F(Events, ALevelPlayedRaisesEachOnTheFrameItHappensAndARestoreRewindsTheRecord) {
    const event_rows_t start = {{1, "menu confirmed"}, {20, "star"},  {41, "heart"}, {176, "life lost"},
                                {226, "jump"},         {260, "land"}, {298, "jump"}, {314, "land"}};
    event_rows_t       rolled_off = start, jumped_high = start;
    rolled_off.insert(rolled_off.end(), {{364, "land"}, {1376, "level finished"}});
    jumped_high.insert(jumped_high.end(), {{315, "high jump"}, {361, "land"}, {1376, "level finished"}});

    ASSERT_TRUE(start_play({star_heart_gap_wall()}));
    sim_snapshot_t at_start;
    sim_save(&at_start);
    play_to_the_finish(false);
    EXPECT_EQ(logged(), rolled_off);
    EXPECT_EQ(sim_events(), 1u << EV_LEVEL_FINISHED) << "the last frame's events";
    sim_restore(at_start);
    EXPECT_EQ(logged(), event_rows_t({{1, "menu confirmed"}}));
    play_to_the_finish(true);
    EXPECT_EQ(logged(), jumped_high);
}

// Drives a game from sim_open; the record it leaves is the row's expectation.
struct event_scene_t {
    const char* name;
    void (*play)();
    event_rows_t expected;
};

static void menu_moved_then_play() {
    ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
    for (unsigned keys : std::vector<unsigned>{HOLD_S, HOLD_S, 0, HOLD_W, HOLD_W | HOLD_ENTER})
        sim_frame(keys);
    // in play the menu keys move nothing a player hears
    run_frames(3, HOLD_S);
    run_frames(3, HOLD_W | HOLD_ENTER);
}

static void menu_exit() {
    ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
    sim_frame(HOLD_S);
    sim_frame(HOLD_S | HOLD_ENTER);
    EXPECT_TRUE(sim_ended());
}

static void menu_moved_and_exit_in_one_frame() {
    ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
    sim_frame(HOLD_S | HOLD_ENTER);
    EXPECT_TRUE(sim_ended());
}

static void pause_by_key_and_focus() {
    ASSERT_TRUE(start_play({wide_level('#')}));
    run_frames(3);
    run_frames(3, HOLD_P);   // held: one press
    sim_frame(0);
    sim_frame(HOLD_P);
    sim_frame(0);
    // the focus comes with the next frame's command, which holds the pause
    sim_focus(false);
    sim_frame_as_typed();
    sim_focus(true);
    sim_frame_as_typed();
    sim_focus(false);   // already paused: nothing more
    sim_frame_as_typed();
    sim_focus(true);
    sim_frame(HOLD_P);
}

static void game_lost() {
    ASSERT_TRUE(start_play({plain_level({{3, ".#.###."}})}));
    run_until([] { return game.flow.game_over == 1; }, 3000);
    run_frames(100);
}

static void game_won() {
    std::string finish_at_row_2 = plain_level({{2, ".FFFFF."}});
    ASSERT_TRUE(start_play({finish_at_row_2}));
    run_until([] { return game.flow.game_over == 1; }, 3000);
    run_frames(100);
}

static const event_scene_t event_scenes[] = {
    {"MenuMovedThenPlay", menu_moved_then_play, {{1, "menu moved"}, {4, "menu moved"}, {5, "menu confirmed"}}},
    {"MenuExit", menu_exit, {{1, "menu moved"}, {2, "menu confirmed"}}},
    {"MenuMovedAndExitInOneFrame", menu_moved_and_exit_in_one_frame, {{1, "menu moved"}, {1, "menu confirmed"}}},
    {"PauseByKeyAndFocus",
     pause_by_key_and_focus,
     {{1, "menu confirmed"}, {5, "pause"}, {9, "resume"}, {11, "pause"}, {14, "resume"}}},
    {"GameLost",
     game_lost,
     {{1, "menu confirmed"},
      {129, "life lost"},
      {257, "life lost"},
      {385, "life lost"},
      {513, "life lost"},
      {641, "life lost"},
      {642, "game lost"}}},
    {"GameWon",
     game_won,
     {{1, "menu confirmed"},
      {10, "level finished"},
      {254, "level finished"},
      {496, "level finished"},
      {738, "level finished"},
      {980, "level finished"},
      {1214, "game won"}}},
};

using EventScene = testing::TestWithParam<event_scene_t>;

TEST_P(EventScene, RaisesEachEventOnceOnItsFrame) {
    GetParam().play();
    EXPECT_EQ(logged(), GetParam().expected);
    sim_close();
}

INSTANTIATE_TEST_SUITE_P(Events, EventScene, testing::ValuesIn(event_scenes),
                         [](const testing::TestParamInfo<event_scene_t>& info) { return info.param.name; });
