// A game played through: finish records, fly-off, level advance, game over.
#include "gameplay_support.h"

#include "app/devices.h"
#include "game/screen.h"
#include "game/timer.h"
#include "render/render.h"

// Finish from row 20, with a star on the ship's column at each listed row.
static std::string finish_at_row_20(const std::vector<int>& star_rows = {}) {
    std::vector<level_edit_t> rows = {{20, ".FFFFF."}};
    for (int r : star_rows)
        rows.push_back({r, ".#*###."});
    return plain_level(rows);
}

static bool finished() { return game.flow.on_finish == 1; }

// The five records as player.s must hold them.
static std::string expected_file() {
    std::string text;
    for (const level_record_t& r : game.results.records)
        text += std::to_string(r.level) + " " + std::to_string(r.stars) + " " + std::to_string(r.time) + " " +
                std::to_string(r.lives) + "\n";
    return text;
}

static std::string record(int i) { return lines_of(expected_file())[i]; }

// Runs frames until the current level changes; the clock as the new level
// started, after the pause between levels, or -1.
static int advance_to_next_level(int max_frames) {
    int level_before = game.flow.current_level;
    for (int i = 0; i < max_frames; i++) {
        int now = game.process.fake_now_ms, slept = game.process.waited_ms;
        if (!sim_frame(0))
            return -1;
        // the clock moved by the pause before the level started
        if (game.flow.current_level != level_before)
            return now + game.process.waited_ms - slept;
    }
    return -1;
}

using GameFlow = Gameplay;

TEST_F(GameFlow, FinishFillsTheRecordAndFreezesTheShownTime) {
    ASSERT_TRUE(start_play({plain_level({{5, ".#*###."}, {10, ".#*###."}, {15, ".#H###."}, {20, ".FFFFF."}})}));
    // the Enter frame started the level at fake time 0
    ASSERT_GT(run_until(finished, 300), 0);
    EXPECT_EQ(tile_kind_at(game.ship.tile_under_ship), TILE_FINISH);
    int32_t finish_ms = game.process.fake_now_ms - 16;
    EXPECT_EQ(record(0), "1 2 " + std::to_string(finish_ms) + " 6");
    EXPECT_EQ(game.flow.frozen_seconds, finish_ms / 1000);
    EXPECT_FALSE(file_exists("player.s"));
    // the fly-off does not count as level time
    run_frames(100);
    EXPECT_FALSE(game.timer.running);
    EXPECT_EQ(timer_elapsed_ms(), 0u);
    EXPECT_EQ(game.flow.frozen_seconds, finish_ms / 1000);
    EXPECT_EQ(game.results.records[0].time, finish_ms);
    EXPECT_EQ(game.flow.current_level, 1);
}

TEST_F(GameFlow, FlyOffGlidesClimbsSleepsOnceAndLoadsTheNextLevel) {
    ASSERT_TRUE(start_play({finish_at_row_20({5}), finish_at_row_20()}));
    ASSERT_GT(run_until(finished, 300), 0);
    const int finish_frame = sim_state().frame;
    float     y0 = game.ship.pos[1];
    float     z0 = game.ship.pos[2];
    run_frames(20);
    EXPECT_NEAR(game.ship.pos[1], y0 + 20 * (float)FLY_OFF_STEP, 1e-6);
    EXPECT_EQ(game.ship.pos[2], z0);
    // the glide ends FLY_OFF_GLIDE past where the finishing step began, then the climb starts
    float climb_from = -1;
    for (int i = 0; i < 100; i++) {
        float y = game.ship.pos[1];
        sim_frame(0);
        if (climb_from < 0 && game.ship.pos[2] > z0)
            climb_from = y;
    }
    EXPECT_NEAR(climb_from - (y0 - (float)FORWARD_STEP), FLY_OFF_GLIDE, FLY_OFF_STEP + 1e-7);
    EXPECT_GT(game.ship.pos[2], z0);
    EXPECT_EQ(game.process.level_waits, 0);
    float spin = 0;
    float top = 0;
    for (int i = 0; i < 400 && game.flow.current_level == 1; i++) {
        spin = game.flow.pickup_spin;
        top = game.ship.pos[2];
        sim_frame(0);
    }
    // the level is complete on the first climbing step above the fly-off height
    EXPECT_LE(top, FLY_OFF_HEIGHT);
    EXPECT_GT(top + (float)FLY_OFF_STEP, FLY_OFF_HEIGHT);
    EXPECT_EQ(game.process.level_waits, 1);
    EXPECT_EQ(game.process.waited_ms, LEVEL_CHANGE_PAUSE_MS);
    EXPECT_EQ(game.flow.current_level, 2);
    // every replay of a level's end takes these frames, from the finish to the next level
    EXPECT_EQ(sim_state().frame - finish_frame, 234);
    EXPECT_EQ(game.flow.on_finish, 0);
    EXPECT_EQ(game.flow.level_complete, 0);
    // back at the spawn point, then this frame's forward step
    EXPECT_EQ(game.ship.pos[0], SPAWN_POINT[0]);
    EXPECT_FLOAT_EQ(game.ship.pos[1], SPAWN_POINT[1] + (float)FORWARD_STEP);
    EXPECT_EQ(game.ship.pos[2], SPAWN_POINT[2]);
    // the level started this frame: the track was not drawn, the count and clock restarted
    EXPECT_EQ(game.flow.pickup_spin, spin);
    EXPECT_EQ(game.flow.level_start, 0);
    EXPECT_EQ(game.flow.stars_collected, 0);
    EXPECT_TRUE(game.timer.running);
    sim_frame(0);
    EXPECT_NE(game.flow.pickup_spin, spin);
    EXPECT_EQ(game.process.level_waits, 1);
}

TEST_F(GameFlow, SecondLevelRecordHoldsOnlyItsOwnStarsAndTime) {
    ASSERT_TRUE(start_play({finish_at_row_20({5, 10}), finish_at_row_20({4, 8, 12})}));
    int start_ms = advance_to_next_level(800);
    ASSERT_GE(start_ms, 0);
    game.flow.lives = 4;
    ASSERT_GT(run_until(finished, 300), 0);
    EXPECT_EQ(record(1), "2 3 " + std::to_string(game.process.fake_now_ms - 16 - start_ms) + " 4");
    EXPECT_EQ(game.results.records[0].stars, 2);
}

TEST_F(GameFlow, FinishOrHeartOnTheFirstPixelOfTheNextLevelActsInTheAdvanceFrame) {
    ASSERT_TRUE(start_play({finish_at_row_20(), plain_level({{0, "F#####."}}), plain_level({{0, "H#####."}})}));
    ASSERT_GE(advance_to_next_level(800), 0);
    EXPECT_EQ(game.flow.current_level, 2);
    EXPECT_EQ(game.flow.on_finish, 1);
    EXPECT_EQ(game.results.records[1].level, 2);
    EXPECT_EQ(game.results.records[1].lives, START_LIVES);
    ASSERT_GE(advance_to_next_level(800), 0);
    EXPECT_EQ(game.process.level_waits, 2);
    // the ship starts high enough to take it before any lookup at the spawn point
    EXPECT_EQ(game.flow.lives, START_LIVES + 1);
    EXPECT_EQ(tile_kind_at(0), TILE_FLOOR);
}

TEST_F(GameFlow, FinishingLevelFiveWritesTheFileAndEndsTheGame) {
    ASSERT_TRUE(start_play({finish_at_row_20({5}), finish_at_row_20({5, 10}), finish_at_row_20(),
                            finish_at_row_20({10}), finish_at_row_20({5, 10, 15})}));
    for (int level = 1; level < LEVEL_COUNT; level++) {
        ASSERT_GT(run_until(finished, 300), 0) << "level " << level;
        EXPECT_FALSE(file_exists("player.s")) << "level " << level;
        ASSERT_GE(advance_to_next_level(800), 0) << "level " << level;
    }
    ASSERT_GT(run_until(finished, 300), 0);
    EXPECT_EQ(read_text_file("player.s"), expected_file());
    for (int i = 0; i < LEVEL_COUNT; i++) {
        EXPECT_EQ(game.results.records[i].level, i + 1);
        EXPECT_EQ(game.results.records[i].lives, START_LIVES);
    }
    EXPECT_EQ(game.results.records[4].stars, 3);
    EXPECT_EQ(game.process.level_waits, 4);
    ASSERT_GT(run_until([] { return game.flow.game_over == 1; }, 400), 0);
    EXPECT_EQ(game.process.level_waits, 5);
    EXPECT_EQ(game.results.total_stars, 1 + 2 + 0 + 1 + 3);
    int32_t total_time = 0;
    for (const level_record_t& r : game.results.records)
        total_time += r.time;
    EXPECT_EQ(game.results.total_time, total_time);
    EXPECT_FALSE(actions_has(ACT_ON_TRACK));
    EXPECT_FALSE(actions_has(ACT_TRACK));
    // the summary stays: nothing is summed, written or slept again
    std::string written = read_text_file("player.s");
    run_frames(300);
    EXPECT_EQ(game.flow.current_level, LEVEL_COUNT);
    EXPECT_EQ(game.process.level_waits, 5);
    EXPECT_EQ(game.results.total_stars, 7);
    EXPECT_EQ(game.results.total_time, total_time);
    EXPECT_EQ(read_text_file("player.s"), written);
    EXPECT_FALSE(sim_ended());
}

// A later level that cannot load ends the program inside the fly-off: the runner
// stops that frame there as the real exit does, so no record is filled for the
// level that never loaded and player.s is written once, with the levels played.
TEST_F(GameFlow, ALevelThatCannotLoadEndsTheFrameWithTheResultsSoFar) {
    for (int missing : {2, LEVEL_COUNT}) {
        SCOPED_TRACE(missing);
        // a long finish: the ship is still over it when the next level fails to load
        ASSERT_TRUE(start_play(std::vector<std::string>(LEVEL_COUNT, plain_level(rows_of(20, 120, ".FFFFF.")))));
        ASSERT_EQ(remove(level_files[missing - 1]), 0);
        int frames = 0;
        while (sim_frame(0) && frames < 5000)
            frames++;
        ASSERT_TRUE(sim_ended());
        EXPECT_EQ(sim_exit_status(), 1);
        std::string expected;
        for (int level = 1; level <= LEVEL_COUNT; level++) {
            const level_record_t& r = game.results.records[level - 1];
            EXPECT_EQ(r.level, level < missing ? level : 0) << "level " << level;
            expected += std::to_string(r.level) + " " + std::to_string(r.stars) + " " + std::to_string(r.time) + " " +
                        std::to_string(r.lives) + "\n";
        }
        EXPECT_EQ(read_text_file("player.s"), expected);
        EXPECT_EQ(game.flow.current_level, missing);
        sim_close();
    }
}

// A level whose first pixel is a finish is done on the frame it loads, so its
// timer runs on through its fly-off and the pause into the next level: the
// runner's clock must move by that pause as the real one does.
TEST_F(GameFlow, PauseAfterALevelDoneOnArrivalCountsInTheNextLevelsTime) {
    std::vector<level_edit_t> done_on_arrival = rows_of(0, 239, "FFFFFFF");
    ASSERT_TRUE(start_play({finish_at_row_20(), plain_level(done_on_arrival), finish_at_row_20()}));
    int level_two_ms = advance_to_next_level(800);
    ASSERT_GE(level_two_ms, 0);
    EXPECT_EQ(game.flow.on_finish, 1);
    EXPECT_EQ(record(1), "2 0 0 5");
    ASSERT_GE(advance_to_next_level(800), 0);
    ASSERT_GT(run_until(finished, 300), 0);
    int32_t finish_ms = game.process.fake_now_ms - 16;
    EXPECT_EQ(game.process.waited_ms, 2 * LEVEL_CHANGE_PAUSE_MS);
    EXPECT_EQ(game.results.records[2].time, finish_ms - level_two_ms);
    EXPECT_GT(game.results.records[2].time, LEVEL_CHANGE_PAUSE_MS);
}

TEST_F(GameFlow, LosingTheLastLifeInLevelThreeRecordsItAndWritesItOnce) {
    ASSERT_TRUE(
        start_play({finish_at_row_20({5}), finish_at_row_20({5, 10}), plain_level({{4, ".#*###."}, {12, "......."}})}));
    ASSERT_GE(advance_to_next_level(800), 0);
    int start_ms = advance_to_next_level(800);
    ASSERT_GE(start_ms, 0);
    ASSERT_GT(run_until([] { return game.flow.lives == 0; }, 2000), 0);
    EXPECT_FALSE(file_exists("player.s"));
    // the bookkeeping of the next frame reads the clock as it begins
    int32_t lost_ms = game.process.fake_now_ms;
    sim_frame(0);
    EXPECT_EQ(record(2), "3 1 " + std::to_string(lost_ms - start_ms) + " 0");
    std::string written = read_text_file("player.s");
    EXPECT_EQ(written, expected_file());
    EXPECT_EQ(written.substr(written.size() - 16), "0 0 0 0\n0 0 0 0\n");
    EXPECT_EQ(game.flow.game_over, 1);
    EXPECT_EQ(game.results.total_stars, 1 + 2 + 1);
    EXPECT_EQ(game.results.total_time,
              game.results.records[0].time + game.results.records[1].time + game.results.records[2].time);
    // the frames of the summary after a lost game keep the results as they are: nothing
    // is summed or written again
    int32_t totals[2] = {game.results.total_stars, game.results.total_time};
    int     writes = sim_results_writes();
    EXPECT_EQ(writes, 1);
    run_frames(300);
    EXPECT_EQ(sim_results_writes(), writes);
    EXPECT_EQ(read_text_file("player.s"), written);
    EXPECT_EQ(game.results.total_stars, totals[0]);
    EXPECT_EQ(game.results.total_time, totals[1]);
    EXPECT_EQ(game.flow.current_level, 3);
    EXPECT_FALSE(actions_has(ACT_ON_TRACK));
}

// The ship is drawn once on every frame of play.
TEST_F(GameFlow, ShipIsDrawnOnceOnEveryFrameOfPlay) {
    ASSERT_TRUE(start_play({finish_at_row_20(), finish_at_row_20()}));
    for (int i = 0; i < 5; i++) {
        int drawn = ship_draw_count;
        sim_frame(0);
        EXPECT_EQ(ship_draw_count - drawn, 1) << i;
    }
}

// A next level gone by the time it is due ends the game, but the levels played are kept.
TEST_F(GameFlow, NextLevelThatCannotLoadStillWritesTheResults) {
    ASSERT_TRUE(start_play({finish_at_row_20({5}), finish_at_row_20()}));
    ASSERT_EQ(remove(level_files[1]), 0);
    ASSERT_GT(run_until(finished, 300), 0);
    testing::internal::CaptureStdout();
    advance_to_next_level(800);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(sim_ended());
    EXPECT_EQ(sim_exit_status(), 1);
    EXPECT_NE(out.find("ERROR: cannot load level 2"), std::string::npos) << out;
    EXPECT_TRUE(level_one_record_only(read_text_file("player.s"), 1, START_LIVES)) << read_text_file("player.s");
}

// Frames as the window runs them, its clock its own: the level change's wait takes
// its frames here, where the runner waits it out at once. `focused` says for each frame.
static void window_frames(int n, bool (*focused)()) {
    for (int i = 0; i < n && !sim_ended(); i++) {
        run_frame(build_command(focused(), 0, game.process.fake_now_ms));
        frame_done();
        game.process.fake_now_ms += FRAME_MS;
    }
}

// A focus loss in any phase between two levels pauses the first frame of play after
// it, unless the keyboard came back first; the next level's time does not run unseen.
TEST_F(GameFlow, FocusLostBetweenLevelsPausesTheFirstFrameOfPlayThatFollows) {
    static int lost_at, back_at, frame;
    const struct {
        const char* phase;
        int         lost_at, back_at;   // frames after the finish; back_at 0 for never
        bool        paused;
    } rows[] = {
        {"the fly-off", 5, 0, true},
        {"the wait", 60, 0, true},
        {"the wait, back before its end", 60, 120, false},
        {"the last frame of the wait", 30 + LEVEL_CHANGE_PAUSE_MS / FRAME_MS, 0, true},
    };
    for (const auto& r : rows) {
        ASSERT_TRUE(start_play({finish_at_row_20(), wide_level('#')})) << r.phase;
        ASSERT_GT(run_until(finished, 300), 0);
        lost_at = r.lost_at, back_at = r.back_at, frame = 0;
        auto focused = [] {
            frame++;
            return frame < lost_at || (back_at && frame >= back_at);
        };
        while (game.flow.current_level == 1 || game.flow.level_change_waiting)
            window_frames(1, focused);
        ASSERT_LT(frame, 1000) << r.phase;
        window_frames(3, focused);
        EXPECT_EQ(game.flow.paused, r.paused) << r.phase;
        EXPECT_EQ(timer_elapsed_ms() < 2u * FRAME_MS, r.paused) << r.phase;
        sim_close();
    }
}

TEST_F(GameFlow, EscLeavesDuringTheLevelChangesWait) {
    ASSERT_TRUE(start_play({finish_at_row_20(), wide_level('#')}));
    ASSERT_GT(run_until(finished, 300), 0);
    static int frame;
    frame = 0;
    while (!game.flow.level_change_waiting && frame++ < 300)
        window_frames(1, [] { return true; });
    ASSERT_TRUE(game.flow.level_change_waiting);
    window_frames(10, [] { return true; });
    key_down(27, 0, 0);
    window_frames(1, [] { return true; });
    EXPECT_TRUE(sim_ended());
    EXPECT_EQ(sim_exit_status(), 0);
    EXPECT_EQ(game.flow.current_level, 1);
}

// Written once a change, a write that failed is tried again on the next frame that asks.
TEST_F(GameFlow, AResultsWriteThatFailsIsTriedAgainUntilItGoesThrough) {
    ASSERT_TRUE(start_play({plain_level({{4, ".#*###."}, {12, "......."}})}));
    ASSERT_EQ(mkdir("player.s", 0700), 0);
    ASSERT_GT(run_until([] { return game.flow.game_over == 1; }, 3000), 0);
    int writes = sim_results_writes();
    run_frames(3);
    EXPECT_EQ(sim_results_writes(), writes + 3) << "a folder in the way: tried each frame";
    ASSERT_EQ(rmdir("player.s"), 0);
    run_frames(3);
    EXPECT_EQ(sim_results_writes(), writes + 4);
    EXPECT_EQ(read_text_file("player.s"), expected_file());
}

// One function says which screen is up; the sound hums the engine on the screens of flight.
TEST_F(GameFlow, EachScreenIsNamedInTurnAndTheEngineHumsOnlyInFlight) {
    ASSERT_TRUE(sim_open(make_play_folder({finish_at_row_20(), plain_level({{2, "......."}})}).c_str()));
    std::vector<std::pair<screen_t, bool>> seen;
    auto                                   note = [&] {
        std::pair<screen_t, bool> now = {game_screen(), engine_heard()};
        if (seen.empty() || seen.back() != now)
            seen.push_back(now);
    };
    note();
    ASSERT_TRUE(sim_start_play());
    note();
    run_frames(5);
    sim_frame(HOLD_P);
    note();
    sim_frame(0);
    sim_frame(HOLD_P);
    for (int i = 0; i < 3000 && !game.flow.game_over; i++) {
        note();
        sim_frame(0);
    }
    note();
    const std::vector<std::pair<screen_t, bool>> want = {
        {SCREEN_MENU, false},        {SCREEN_PLAY, true}, {SCREEN_PAUSED, false},  {SCREEN_PLAY, true},
        {SCREEN_LEVEL_CHANGE, true}, {SCREEN_PLAY, true}, {SCREEN_SUMMARY, false},
    };
    EXPECT_EQ(seen, want);
}

// The records screen stands over the menu: r opens it and asks for its lines, the menu
// buttons choose one within them, Enter asks to watch it, Esc goes back without leaving,
// and the designed menu keys act as before once it is closed.
TEST_F(GameFlow, TheRecordsScreenChoosesALineAndEscGoesBackToTheMenu) {
    ASSERT_TRUE(sim_open(make_play_folder({finish_at_row_20()}).c_str()));
    ASSERT_TRUE(sim_frame(HOLD_R));
    EXPECT_EQ(game_screen(), SCREEN_RECORDS);
    EXPECT_TRUE(game.requests.list_records);
    game.requests.list_records = false;
    game.flow.records_lines = 3;   // as the app lists them
    const struct {
        unsigned held;
        int      selection;
    } steps[] = {{HOLD_W, 0}, {HOLD_S, 1}, {HOLD_S, 2}, {HOLD_S, 2}, {HOLD_W, 1}};
    for (const auto& step : steps) {
        sim_frame(step.held);
        sim_frame(0);
        EXPECT_EQ(game.flow.records_selection, step.selection);
    }
    EXPECT_FALSE(game.requests.watch_asked);
    sim_frame(HOLD_ENTER);
    EXPECT_TRUE(game.requests.watch_asked);
    EXPECT_EQ(game.requests.watch_line, 1);
    EXPECT_FALSE(game.flow.game_started) << "Enter on the records screen is no menu choice";
    ASSERT_TRUE(sim_frame(HOLD_ESC));
    ASSERT_TRUE(sim_frame(0)) << "Esc on the records screen went back, not out";
    EXPECT_EQ(game_screen(), SCREEN_MENU);
    ASSERT_TRUE(sim_start_play());
    sim_frame(HOLD_R);
    EXPECT_NE(game_screen(), SCREEN_RECORDS) << "r in play opens nothing";
}
