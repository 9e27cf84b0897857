// Pause in play, and play again from the summary, without a window.
#include "game/timer.h"
#include "gameplay_support.h"

using Pause = Gameplay;

static bool paused() { return game.flow.paused == 1; }
static bool game_over() { return game.flow.game_over == 1; }

TEST_F(Pause, PStandsPlayStillUntilPressedAgainAndEscStillLeaves) {
    ASSERT_TRUE(start_play({wide_level('#')}));
    run_frames(10, HOLD_D);
    sim_frame(HOLD_P | HOLD_D);
    ASSERT_TRUE(paused());
    EXPECT_EQ(queued_actions().back(), ACT_PAUSED);
    sim_snapshot_t before;
    sim_save(&before);
    uint32_t shown = timer_elapsed_ms();
    // a held p does not flicker; steering and jumping do nothing
    run_frames(30, HOLD_P | HOLD_D | HOLD_SPACE);
    run_frames(30, HOLD_A);
    EXPECT_TRUE(paused());
    EXPECT_EQ(timer_elapsed_ms(), shown);
    EXPECT_EQ(std::vector<float>(game.ship.pos, game.ship.pos + 3),
              std::vector<float>(before.ship.pos, before.ship.pos + 3));
    EXPECT_EQ(game.ship.right_rate, before.ship.right_rate);
    EXPECT_EQ(game.ship.jump, 0);
    EXPECT_EQ(game.flow.pickup_spin, before.flow.pickup_spin);
    EXPECT_EQ(queued_actions(), std::vector<int>(before.actions.begin(), before.actions.end()));
    sim_frame(HOLD_P);
    EXPECT_FALSE(paused());
    EXPECT_FALSE(actions_has(ACT_PAUSED));
    EXPECT_GT(game.ship.pos[1], before.ship.pos[1]);
    run_frames(5, HOLD_P);
    EXPECT_FALSE(paused());
    sim_frame(HOLD_P);
    sim_frame(HOLD_ESC);
    EXPECT_TRUE(sim_ended());
}

TEST_F(Pause, PDoesNothingOnTheMenuAtLevelStartOrOnTheSummary) {
    ASSERT_TRUE(sim_open(make_play_folder({wide_level('#')}).c_str()));
    sim_frame(HOLD_P);
    EXPECT_FALSE(paused()) << "menu";
    sim_frame(0);
    ASSERT_TRUE(sim_frame(HOLD_ENTER | HOLD_P));
    EXPECT_FALSE(paused()) << "the frame play starts";
    ASSERT_TRUE(start_play({plain_level({{2, "......."}})}));
    ASSERT_GT(run_until(game_over, 3000), 0);
    sim_frame(0);
    sim_frame(HOLD_P);
    EXPECT_FALSE(paused()) << "summary";
    // the fly-off: its frames are no level's time, nothing to pause
    ASSERT_TRUE(start_play({plain_level({{2, ".FFFFF."}}), wide_level('#')}));
    ASSERT_GT(run_until([] { return game.flow.on_finish == 1; }, 300), 0);
    sim_frame(0);
    sim_frame(HOLD_P);
    EXPECT_FALSE(paused()) << "fly-off";
}

// Enter held from the frame the game ends starts nothing: the summary is shown first.
TEST_F(Pause, EnterOnTheFrameTheGameEndsDoesNotStartAgain) {
    ASSERT_TRUE(start_play({plain_level({{2, "......."}})}));
    ASSERT_GT(run_until([] { return game.flow.lives == 0; }, 3000), 0);
    sim_frame(HOLD_ENTER);
    EXPECT_TRUE(game_over());
    sim_frame(HOLD_ENTER);
    EXPECT_TRUE(game_over()) << "held on from that frame";
}

// The game's records and where it ended, to compare two runs.
static std::string outcome() {
    std::string s = read_text_file("player.s") + std::to_string(game.flow.current_level);
    for (float v : game.ship.pos)
        s += " " + std::to_string(v);
    return s;
}

TEST_F(Pause, PausedGameFinishesOnTheSameUnpausedFrameWithTheSameRecords) {
    // a lost game over a short level: every record and total written each frame of the summary
    std::vector<unsigned> keys;
    for (int i = 0; i < 1600; i++)
        keys.push_back(i % 90 < 20 ? HOLD_D : i % 90 < 50 ? HOLD_A | HOLD_SPACE : 0);
    std::vector<level_edit_t> rows = rows_of(30, 239, ".......");
    rows.push_back({8, ".#*#*#."});
    std::string level = plain_level(rows);
    int         frames[2] = {0, 0};
    std::string ends[2];
    for (int pausing = 0; pausing < 2; pausing++) {
        ASSERT_TRUE(start_play({level}));
        for (size_t i = 0; i < keys.size() && !game_over(); i++) {
            if (pausing && i % 100 == 7) {
                sim_frame(keys[i] | HOLD_P);
                run_frames(50, keys[i]);
                sim_frame(keys[i] | HOLD_P);
            } else {
                sim_frame(keys[i]);
            }
            frames[pausing]++;
        }
        sim_frame(0);
        ends[pausing] = outcome();
        sim_close();
    }
    EXPECT_EQ(frames[1], frames[0]);
    EXPECT_LT(frames[0], (int)keys.size());
    EXPECT_EQ(ends[1], ends[0]);
}

TEST_F(Pause, EnterOnTheSummaryGivesAFreshGameTwiceAndKeepsTheFile) {
    ASSERT_TRUE(start_play({plain_level({{4, ".#*###."}, {12, "......."}})}));
    for (int round = 0; round < 2; round++) {
        ASSERT_GT(run_until(game_over, 3000, HOLD_ENTER), 0) << round;
        // Enter held from play on does not leave the summary
        run_frames(3, HOLD_ENTER);
        ASSERT_TRUE(game_over()) << round;
        std::string written = read_text_file("player.s");
        ASSERT_TRUE(level_one_record_only(written, 1, 0)) << written;
        sim_frame(0);
        testing::internal::CaptureStdout();
        sim_key('\r', true);
        ASSERT_TRUE(sim_frame_as_typed()) << round;
        std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(said.find("Bitmap size:") != std::string::npos, true) << said;
        EXPECT_EQ(game.flow.game_started, 0);
        EXPECT_EQ(game.flow.game_over, 0);
        EXPECT_EQ(game.flow.lives, START_LIVES);
        EXPECT_EQ(game.flow.current_level, 1);
        EXPECT_EQ(game.results.total_time, 0);
        EXPECT_TRUE(game.timer.reset);
        EXPECT_EQ(queued_actions(), std::vector<int>({ACT_MENU}));
        // the Enter still held starts nothing until pressed again
        sim_frame_as_typed();
        EXPECT_EQ(game.flow.game_started, 0);
        EXPECT_EQ(read_text_file("player.s"), written);
        sim_key('\r', false);
        ASSERT_TRUE(sim_start_play());
        EXPECT_EQ(game.flow.stars_collected, 0);
    }
}
