// Stars and hearts: taken low, left high, gone for good once taken.
#include "gameplay_support.h"

#include <cmath>

static bool is_floor(int row, int col) { return tile_kind_at(tile_offset(row, col)) == TILE_FLOOR; }

using Pickups = Gameplay;

TEST_F(Pickups, StarAtGroundHeightIsTakenOnceAndBecomesFloor) {
    ASSERT_TRUE(start_play({plain_level({{10, ".#*###."}})}));
    int star = tile_offset(10, 2);
    ASSERT_EQ(tile_kind_at(star), TILE_STAR);
    int frames_on_star = 0;
    while (ship_row() <= 11 && sim_state().frame < 200) {
        sim_frame(0);
        if (game.ship.tile_under_ship == star) {
            frames_on_star++;
            // taken on the first frame over it, at ground height
            EXPECT_LT(game.ship.pos[2], (float)GROUND_BAND);
            EXPECT_EQ(game.flow.stars_collected, 1);
        }
    }
    EXPECT_GT(frames_on_star, 1);
    EXPECT_EQ(game.flow.stars_collected, 1);
    EXPECT_TRUE(is_floor(10, 2));
}

TEST_F(Pickups, HeartJumpedOverNearTheApexStays) {
    ASSERT_TRUE(start_play({plain_level({{14, ".#H###."}})}));
    int heart = tile_offset(14, 2);
    ASSERT_GT(run_until([] { return ship_row() >= 11; }, 200), 0);
    int frames_over_heart = 0;
    for (int i = 0; i < 60; i++) {
        sim_frame(i == 0 ? HOLD_SPACE : 0);
        if (game.ship.tile_under_ship == heart) {
            frames_over_heart++;
            EXPECT_GT(game.ship.pos[2], (float)PICKUP_REACH);
        }
    }
    EXPECT_GT(frames_over_heart, 0);
    EXPECT_EQ(game.flow.lives, START_LIVES);
    EXPECT_EQ(tile_kind_at(heart), TILE_HEART);
}

TEST_F(Pickups, HeartsAddLivesWithoutACap) {
    ASSERT_TRUE(start_play({plain_level({{10, ".#H###."}, {20, ".#H###."}})}));
    ASSERT_GT(run_until([] { return ship_row() > 10; }, 200), 0);
    EXPECT_EQ(game.flow.lives, START_LIVES + 1);
    EXPECT_TRUE(is_floor(10, 2));
    ASSERT_GT(run_until([] { return ship_row() > 20; }, 200), 0);
    EXPECT_EQ(game.flow.lives, START_LIVES + 2);
}

TEST_F(Pickups, StarsAndTakenTilesSurviveALostLife) {
    ASSERT_TRUE(start_play({plain_level({{5, ".#*###."}, {10, ".#*###."}, {30, "......."}})}));
    ASSERT_GT(run_until([] { return game.flow.lives == START_LIVES - 1; }, 600), 0);
    EXPECT_EQ(game.flow.stars_collected, 2);
    EXPECT_TRUE(is_floor(5, 2));
    EXPECT_TRUE(is_floor(10, 2));
    // the second run over the same rows finds floor only
    ASSERT_GT(run_until([] { return ship_row() > 12; }, 200), 0);
    EXPECT_EQ(game.flow.stars_collected, 2);
}

TEST_F(Pickups, StarOnTheFirstPixelIsTakenBesideTheMap) {
    ASSERT_TRUE(start_play({wide_level('*')}));
    while (game.ship.pos[0] >= 0 && sim_state().frame < 300)
        sim_frame(HOLD_A);
    EXPECT_EQ(game.flow.stars_collected, 0);
    run_frames(3);
    EXPECT_EQ(game.ship.tile_under_ship, 0);
    EXPECT_EQ(game.flow.stars_collected, 1);
    // the taken star is floor now, so the ship flies on beside the track
    EXPECT_TRUE(is_floor(0, 0));
    run_frames(30);
    EXPECT_EQ(game.flow.stars_collected, 1);
    EXPECT_EQ(game.ship.falling, 0);
}

// The stars and hearts turn a step a frame and come round to where they started
// once a full turn is made, with no jump where the turn wraps.
TEST_F(Pickups, SpinTurnsAStepAFrameAndWrapsAtAWholeTurn) {
    const float WHOLE_TURN_DEGREES = 360.0f;
    ASSERT_TRUE(start_play({plain_level()}));
    float before = game.flow.pickup_spin;
    int   wraps = 0;
    for (int i = 0; i < 200; i++) {
        sim_frame(0);
        float turned = std::fmod(game.flow.pickup_spin - before + WHOLE_TURN_DEGREES, WHOLE_TURN_DEGREES);
        // the frame that wraps shows the same angle again: a whole turn and none look alike
        if (turned == 0)
            wraps++;
        else
            EXPECT_EQ(turned, PICKUP_SPIN_STEP) << before << " to " << game.flow.pickup_spin;
        before = game.flow.pickup_spin;
    }
    // from the whole turn the game starts at, then every 73 frames
    EXPECT_EQ(wraps, 3);
}
