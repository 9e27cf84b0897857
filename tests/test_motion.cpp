// Ship motion: dropping, resting, jumps, gaps, walls, the map's edge and steering.
#include "gameplay_support.h"

#include <cmath>

#include "game/motion.h"
#include "game/state.h"

// Two long walls across the track with floor between them.
static std::string two_walls_level() {
    std::vector<level_edit_t> rows = rows_of(20, 27, ".WWWWW.");
    for (const level_edit_t& e : rows_of(60, 67, ".WWWWW."))
        rows.push_back(e);
    return plain_level(rows);
}

static bool on_ground() { return game.ship.on_ground == 1; }
static bool on_wall_top() { return game.ship.on_wall == 1.0f; }

// How far an edge case sits from the edge it tries, in steps of this.
constexpr double NUDGE = 0.00001;
// The apex of a jump from a wall top.
const float HIGH_APEX = (float)(JUMP_APEX * WALL_JUMP_APEX_FACTOR);

using Motion = Gameplay;

TEST_F(Motion, DropFromSpawnEntersGroundBandOnFrameEightAndRests) {
    ASSERT_TRUE(start_play({plain_level()}));
    // the Enter frame that started play is frame 1 and already dropped the ship
    ASSERT_EQ(sim_state().frame, 1);
    run_frames(6);
    EXPECT_EQ(game.ship.on_ground, 0);
    sim_frame(0);
    EXPECT_EQ(game.ship.on_ground, 1);
    EXPECT_NEAR(game.ship.pos[2], 0.002664f, 1e-6);
    run_frames(2);
    EXPECT_NEAR(game.ship.pos[2], 0.002544f, 1e-6);
    float rest = game.ship.pos[2];
    for (int i = 0; i < 20; i++) {
        sim_frame(0);
        EXPECT_EQ(game.ship.pos[2], rest);
        EXPECT_EQ(game.ship.on_ground, 1);
        // raised by FACTOR_STEP for the drop test, back to FALL_FACTOR_LANDED by the landing
        EXPECT_EQ(game.ship.fall_factor, FALL_FACTOR_LANDED);
    }
}

TEST_F(Motion, NormalJumpReachesApexAndLandsWhereItCanJumpAgain) {
    ASSERT_TRUE(start_play({plain_level()}));
    run_frames(10);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    float top = 0;
    while (game.ship.jump && sim_state().frame < 100) {
        sim_frame(0);
        top = std::max(top, game.ship.pos[2]);
    }
    EXPECT_EQ(game.ship.jump_descending, 1);
    // the rise stops at the apex, still under the height where even a wall top lets the ship down
    EXPECT_GE(top, JUMP_APEX);
    EXPECT_LT(top, (float)WALL_REST);
    ASSERT_GT(run_until(on_ground, 60), 0);
    run_frames(5);
    EXPECT_NEAR(game.ship.pos[2], 0.002568f, 1e-6);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
}

TEST_F(Motion, QuarterScaleRestsLowerAndCanStillJump) {
    ASSERT_TRUE(start_play({plain_level()}, "0.25"));
    run_frames(15);
    EXPECT_NEAR(game.ship.pos[2], 0.002376f, 1e-6);
    EXPECT_EQ(game.ship.on_ground, 1);
    float before = game.ship.pos[2];
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    EXPECT_GT(game.ship.pos[2], before);
}

TEST_F(Motion, SpaceInMidAirOrWhileDescendingDoesNotStartAJump) {
    ASSERT_TRUE(start_play({plain_level()}));
    // still dropping from the spawn point, touching neither floor nor wall
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.on_ground, 0);
    EXPECT_EQ(game.ship.jump, 0);
    run_frames(9);
    game.ship.jump_descending = 1;
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 0);
    // the landing test cleared the flag, so the next press jumps
    EXPECT_EQ(game.ship.jump_descending, 0);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
}

TEST_F(Motion, GapSinksShipStopsItAndCostsALifeBackAtSpawn) {
    ASSERT_TRUE(start_play({plain_level(rows_of(30, 35, "......."))}));
    // high over the gap the ship still flies on while it sinks
    game.ship.pos[1] = row_y(30);
    game.ship.pos[2] = 0.004f;
    float y = game.ship.pos[1];
    sim_frame(0);
    EXPECT_FLOAT_EQ(game.ship.pos[2], 0.004f - game.ship.fall_step);
    EXPECT_GT(game.ship.pos[1], y);
    EXPECT_EQ(game.ship.falling, 0);
    while (game.ship.pos[2] >= (float)FALLING_HEIGHT)
        sim_frame(0);
    EXPECT_EQ(game.ship.falling, 1);
    float x = game.ship.pos[0];
    y = game.ship.pos[1];
    for (int frames = 0; game.flow.lives == START_LIVES && frames < 200; frames++) {
        float z = game.ship.pos[2];
        sim_frame(HOLD_A);
        if (game.flow.lives == START_LIVES) {
            EXPECT_EQ(game.ship.pos[0], x);
            EXPECT_EQ(game.ship.pos[1], y);
            EXPECT_FLOAT_EQ(game.ship.pos[2], z - game.ship.fall_step);
        }
    }
    EXPECT_EQ(game.flow.lives, START_LIVES - 1);
    EXPECT_EQ(game.ship.falling, 0);
    // back at the spawn point, then moved on by this frame's forward step and steering
    EXPECT_FLOAT_EQ(game.ship.pos[0], SPAWN_POINT[0] - game.ship.left_rate * game.ship.side_step);
    EXPECT_FLOAT_EQ(game.ship.pos[1], SPAWN_POINT[1] + game.ship.forward_step);
    EXPECT_EQ(game.ship.pos[2], SPAWN_POINT[2]);
}

TEST_F(Motion, RestingShipRunningIntoAGapFallsAtOnce) {
    ASSERT_TRUE(start_play({plain_level({{30, "......."}})}));
    ASSERT_GT(run_until([] { return game.ship.falling == 1; }, 400), 0);
    EXPECT_EQ(ship_row(), 30);
    EXPECT_LT(game.ship.pos[2], (float)FALLING_HEIGHT);
}

TEST_F(Motion, ShipMidRiseCrossesAGap) {
    ASSERT_TRUE(start_play({plain_level({{29, "......."}})}));
    ASSERT_GT(run_until([] { return ship_row() >= 28; }, 400), 0);
    bool rose_over_gap = false;
    for (int i = 0; i < 60; i++) {
        float z = game.ship.pos[2];
        sim_frame(i == 0 ? HOLD_SPACE : 0);
        if (tile_kind_at(game.ship.tile_under_ship) == TILE_GAP) {
            EXPECT_EQ(game.ship.jump, 1);
            EXPECT_GT(game.ship.pos[2], z);
            rose_over_gap = true;
        }
    }
    EXPECT_TRUE(rose_over_gap);
    EXPECT_EQ(game.ship.falling, 0);
    EXPECT_EQ(game.flow.lives, START_LIVES);
    EXPECT_GT(ship_row(), 30);
}

TEST_F(Motion, LowShipIsHeldBeforeAWallUntilItJumpsOntoTheTop) {
    ASSERT_TRUE(start_play({two_walls_level()}));
    ASSERT_GT(run_until([] { return game.ship.pos[1] + 0.0018f > 20.0f / LEVEL_HEIGHT; }, 400), 0);
    run_frames(2);
    float held_at = game.ship.pos[1];
    EXPECT_LT(held_at, 20.0f / LEVEL_HEIGHT);
    for (int i = 0; i < 30; i++) {
        sim_frame(0);
        EXPECT_EQ(game.ship.pos[1], held_at);
    }
    sim_frame(HOLD_SPACE);
    ASSERT_GT(run_until(on_wall_top, 60), 0);
    EXPECT_GE(ship_row(), 20);
    EXPECT_LT(game.ship.pos[2], (float)WALL_BAND);
    EXPECT_GT(game.ship.pos[2], (float)WALL_BELOW_HEIGHT);
}

TEST_F(Motion, HighJumpFromWallTopThenNormalJumpAtNextWall) {
    ASSERT_TRUE(start_play({two_walls_level()}));
    ASSERT_TRUE(jump_walls_until_past(19, 400));
    ASSERT_GT(run_until(on_wall_top, 60), 0);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    EXPECT_FLOAT_EQ(game.ship.jump_apex, HIGH_APEX);
    // space kept down on the wall top: a second high jump from where the first came down
    float top = 0;
    for (int i = 0; i < 120 && (game.ship.jump || !game.ship.on_ground); i++) {
        sim_frame(game.ship.on_wall == 1.0f ? HOLD_SPACE : 0);
        top = std::max(top, game.ship.pos[2]);
    }
    EXPECT_GE(top, HIGH_APEX);
    EXPECT_LT(top, (float)(HIGH_APEX + 20 * NUDGE));
    EXPECT_GT(ship_row(), 27);
    // wherever the high jump came down, the ship must still get over the next wall
    ASSERT_TRUE(jump_walls_until_past(45, 400));
    EXPECT_EQ(game.ship.on_ground, 1);
    EXPECT_EQ(game.ship.jump_apex, JUMP_APEX);
    ASSERT_TRUE(jump_walls_until_past(59, 400));
    float next_top = 0;
    for (int i = 0; i < 40; i++) {
        sim_frame(0);
        next_top = std::max(next_top, game.ship.pos[2]);
    }
    EXPECT_LT(next_top, (float)WALL_BAND);
    EXPECT_TRUE(jump_walls_until_past(70, 400));
}

TEST_F(Motion, SteppingDownFromAWallAtDoubleSpeedLeavesTheShipAbleToJump) {
    // at this speed the step down ends lower than a drop from the spawn height
    ASSERT_TRUE(start_play({two_walls_level()}, "0.5"));
    ASSERT_TRUE(jump_walls_until_past(28, 600));
    ASSERT_GT(run_until(on_ground, 60), 0);
    run_frames(10);
    EXPECT_EQ(game.ship.on_ground, 1);
    EXPECT_LT(game.ship.pos[2], (float)GROUND_BAND);
    EXPECT_TRUE(jump_walls_until_past(70, 600));
}

TEST_F(Motion, HoldingSpaceOrQuarterScaleGetsOverBothWalls) {
    for (const char* scale : {"1", "0.25"}) {
        SCOPED_TRACE(scale);
        ASSERT_TRUE(start_play({two_walls_level()}, scale));
        if (scale[0] == '1')
            for (int frames = 0; ship_row() <= 70 && frames < 1000; frames++)
                sim_frame(HOLD_SPACE);
        else
            jump_walls_until_past(70, 400);
        EXPECT_GT(ship_row(), 70);
        EXPECT_EQ(game.flow.lives, START_LIVES);
        sim_close();
    }
}

TEST_F(Motion, QuarterScaleRestsOnAWallTopAndHighJumpsFromIt) {
    ASSERT_TRUE(start_play({plain_level(rows_of(20, 59, ".WWWWW."))}, "0.25"));
    ASSERT_TRUE(jump_walls_until_past(19, 400));
    ASSERT_GT(run_until(on_wall_top, 30), 0);
    run_frames(3);
    // the last drop step carries it lower than at normal speed; still a wall top
    EXPECT_LT(game.ship.pos[2], (float)(WALL_REST - 10 * NUDGE));
    EXPECT_GT(game.ship.pos[2], (float)WALL_CLEARANCE);
    EXPECT_EQ(game.ship.on_wall, 1.0f);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    EXPECT_FLOAT_EQ(game.ship.jump_apex, HIGH_APEX);
}

TEST_F(Motion, SteeredSidewaysOntoAWallStaysAtFloorHeightAndHeld) {
    ASSERT_TRUE(start_play({plain_level(rows_of(0, 99, ".##W##."))}));
    while (game.ship.pos[0] < 3.0f / LEVEL_HEIGHT + 0.0001f)
        sim_frame(HOLD_D);
    run_frames(25);
    ASSERT_EQ(tile_kind_at(game.ship.tile_under_ship), TILE_WALL);
    float y = game.ship.pos[1];
    for (int i = 0; i < 20; i++) {
        sim_frame(0);
        EXPECT_EQ(game.ship.pos[1], y);
        EXPECT_LT(game.ship.pos[2], (float)GROUND_BAND);
        EXPECT_EQ(game.ship.on_wall, 0.0f);
        EXPECT_EQ(game.ship.wall_below, 0.0f);
        EXPECT_EQ(game.ship.on_ground, 1);
    }
}

TEST_F(Motion, OffTheMapAGapOnTheFirstPixelSinksTheShip) {
    ASSERT_TRUE(start_play({wide_level('.')}));
    while (game.ship.pos[0] >= 0 && sim_state().frame < 300) {
        sim_frame(HOLD_A);
        // column 0 carries the ship while it is still on the map
        EXPECT_TRUE(game.ship.pos[0] < 0 || game.ship.falling == 0);
    }
    sim_frame(HOLD_A);
    EXPECT_EQ(game.ship.tile_under_ship, 0);
    EXPECT_EQ(game.ship.falling, 1);
    ASSERT_GT(run_until([] { return game.flow.lives == START_LIVES - 1; }, 200), 0);
}

TEST_F(Motion, OffTheMapAFloorOnTheFirstPixelCarriesTheShip) {
    ASSERT_TRUE(start_play({wide_level('#')}));
    while (game.ship.pos[0] >= -0.002f && sim_state().frame < 300)
        sim_frame(HOLD_A);
    float y = game.ship.pos[1];
    run_frames(40);
    EXPECT_EQ(game.ship.tile_under_ship, 0);
    EXPECT_EQ(game.ship.falling, 0);
    EXPECT_EQ(game.ship.on_ground, 1);
    EXPECT_LT(game.ship.pos[2], (float)GROUND_BAND);
    EXPECT_GT(game.ship.pos[1], y + 0.03f);
}

TEST_F(Motion, IdleKeepsTheLineAndRates) {
    ASSERT_TRUE(start_play({plain_level()}));
    for (int i = 0; i < 40; i++)
        sim_frame_as_typed();
    EXPECT_EQ(game.ship.pos[0], SPAWN_POINT[0]);
    EXPECT_EQ(game.ship.left_rate, STEER_RATE_IDLE);
    EXPECT_EQ(game.ship.right_rate, STEER_RATE_IDLE);
}

TEST_F(Motion, SteerLeftRateClimbsThenDriftsForEighteenFrames) {
    ASSERT_TRUE(start_play({plain_level()}));
    float rate = game.ship.left_rate;
    for (int i = 1; i <= 20; i++) {
        float x = game.ship.pos[0];
        sim_frame(HOLD_A);
        EXPECT_LT(game.ship.pos[0], x);
        EXPECT_FLOAT_EQ(game.ship.left_rate, i <= 18 ? rate + (float)STEER_RATE_STEP : rate) << "frame " << i;
        rate = game.ship.left_rate;
    }
    EXPECT_GT(game.ship.left_rate, STEER_RATE_MAX);
    EXPECT_LT(game.ship.left_rate, (float)(STEER_RATE_MAX + 1000 * NUDGE));
    for (int i = 1; i <= 18; i++) {
        float x = game.ship.pos[0];
        sim_frame(0);
        EXPECT_FLOAT_EQ(game.ship.pos[0], x - game.ship.left_rate * game.ship.side_step) << "frame " << i;
    }
    EXPECT_LT(game.ship.left_rate, STEER_RATE_IDLE);
    float x = game.ship.pos[0];
    run_frames(10);
    EXPECT_EQ(game.ship.pos[0], x);
}

TEST_F(Motion, BothSteerKeysSteerRightAtFifteenHundredths) {
    ASSERT_TRUE(start_play({plain_level()}));
    // each frame A sets the right rate back to idle, then D adds one step to it
    const float both_keys_rate = STEER_RATE_IDLE + (float)STEER_RATE_STEP;
    for (int i = 0; i < 10; i++) {
        float x = game.ship.pos[0];
        sim_frame(HOLD_A | HOLD_D);
        EXPECT_FLOAT_EQ(game.ship.right_rate, both_keys_rate);
        EXPECT_EQ(game.ship.left_rate, STEER_RATE_IDLE);
        EXPECT_FLOAT_EQ(game.ship.pos[0], x + both_keys_rate * game.ship.side_step);
    }
}

TEST_F(Motion, SteeringAndForwardStopWhileFinished) {
    ASSERT_TRUE(start_play({plain_level({{20, ".FFFFF."}})}));
    ASSERT_GT(run_until([] { return game.flow.on_finish == 1; }, 400), 0);
    float x = game.ship.pos[0];
    float y = game.ship.pos[1];
    sim_frame(HOLD_A | HOLD_SPACE);
    EXPECT_EQ(game.ship.pos[0], x);
    // only the glide moves the finished ship
    EXPECT_FLOAT_EQ(game.ship.pos[1], y + (float)FLY_OFF_STEP);
    EXPECT_LT(game.ship.pos[2], (float)GROUND_BAND);
}

// One vertical and one forward step from a set height, with a tiny fall step so
// each band is tried just inside and just outside its edge.
TEST_F(Motion, EachHeightBandHoldsJustInsideItsEdgeAndNotJustOutside) {
    // row 10: floor, wall, star, heart, gap on columns 1 to 5; a wall across row 20
    ASSERT_TRUE(start_play({plain_level({{10, ".#W*H.."}, {20, ".WWWWW."}})}));
    run_frames(10);
    sim_snapshot_t start;
    sim_save(&start);
    const float drop = (float)NUDGE;
    struct {
        int   col;
        float row, z;
        float wall_below, on_wall;
        int   on_ground, falling, dropped, moved, lives, stars;
    } rows[] = {
        // floor: comes down above its rest height, stands below its band
        {1, 10.5f, GROUND_REST - 5 * NUDGE, 0, 0, 1, 0, 0, 1, START_LIVES, 0},
        {1, 10.5f, GROUND_REST + 2 * NUDGE, 0, 0, 1, 0, 1, 1, START_LIVES, 0},
        {1, 10.5f, GROUND_BAND, 0, 0, 1, 0, 1, 1, START_LIVES, 0},
        {1, 10.5f, GROUND_BAND + 2 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES, 0},
        // wall: below the ship above its height, stands on its top under its band, held by it under its clearance
        {2, 10.5f, WALL_BELOW_HEIGHT - 20 * NUDGE, 0, 0, 0, 0, 1, 0, START_LIVES, 0},
        {2, 10.5f, WALL_BELOW_HEIGHT - 2 * NUDGE, 0, 0, 0, 0, 1, 0, START_LIVES, 0},
        {2, 10.5f, WALL_BELOW_HEIGHT + 2 * NUDGE, 1, 1, 0, 0, 0, 0, START_LIVES, 0},
        {2, 10.5f, WALL_REST - NUDGE, 1, 1, 0, 0, 0, 1, START_LIVES, 0},
        {2, 10.5f, WALL_BAND, 1, 1, 0, 0, 1, 1, START_LIVES, 0},
        {2, 10.5f, WALL_BAND + 2 * NUDGE, 1, 0, 0, 0, 1, 1, START_LIVES, 0},
        {2, 10.5f, WALL_BAND + 20 * NUDGE, 1, 0, 0, 0, 1, 1, START_LIVES, 0},
        // floor just before a wall: held below the clearance, flies on above it
        {1, 19.9f, WALL_CLEARANCE - 5 * NUDGE, 0, 0, 0, 0, 1, 0, START_LIVES, 0},
        {1, 19.9f, WALL_CLEARANCE + 5 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES, 0},
        // a wall is looked for just past this frame's step: held once the look reaches row 20
        {1, 19.58f, WALL_CLEARANCE - 5 * NUDGE, 0, 0, 0, 0, 1, 0, START_LIVES, 0},
        {1, 19.556f, WALL_CLEARANCE - 5 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES, 0},
        // stars and hearts: taken below their reach
        {3, 10.5f, PICKUP_REACH - 10 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES, 1},
        {3, 10.5f, PICKUP_REACH + 10 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES, 0},
        {3, 10.5f, PICKUP_REACH + 30 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES, 0},
        {4, 10.5f, PICKUP_REACH - 2 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES + 1, 0},
        {4, 10.5f, PICKUP_REACH + 2 * NUDGE, 0, 0, 0, 0, 1, 1, START_LIVES, 0},
        // gap: falling below its height, a life lost below the lowest (back at the spawn point, flying on);
        // the ground flag keeps what the floor before it left
        {5, 10.5f, FALLING_HEIGHT + 2 * NUDGE, 0, 0, 1, 0, 1, 1, START_LIVES, 0},
        {5, 10.5f, FALLING_HEIGHT, 0, 0, 1, 1, 1, 0, START_LIVES, 0},
        {5, 10.5f, LIFE_LOST_HEIGHT + 52 * NUDGE, 0, 0, 1, 1, 1, 0, START_LIVES, 0},
        {5, 10.5f, LIFE_LOST_HEIGHT, 0, 0, 1, 0, 0, 1, START_LIVES - 1, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("column " + std::to_string(r.col) + " row " + std::to_string(r.row) + " z " + std::to_string(r.z));
        sim_restore(start);
        ship_t& ship = game.ship;
        ship.pos[0] = (r.col + 0.5f) / LEVEL_HEIGHT;
        ship.pos[1] = r.row / LEVEL_HEIGHT;
        ship.pos[2] = r.z;
        ship.fall_step = drop;
        ship.fall_factor = FALL_FACTOR_FULL;
        float y = ship.pos[1];
        vertical_motion();
        EXPECT_EQ(ship.wall_below, r.wall_below);
        EXPECT_EQ(ship.on_wall, r.on_wall);
        EXPECT_EQ(ship.on_ground, r.on_ground);
        EXPECT_EQ(ship.falling, r.falling);
        if (r.lives == game_at_start.flow.lives) {
            EXPECT_EQ(ship.pos[2], r.dropped ? r.z - drop : r.z);
        }
        forward_motion();
        EXPECT_EQ(ship.pos[1] != y, r.moved == 1);
        EXPECT_EQ(game.flow.lives, r.lives);
        EXPECT_EQ(game.flow.stars_collected, r.stars);
    }
}

TEST_F(Motion, RiseStopsOnTheFrameTheApexIsReached) {
    ASSERT_TRUE(start_play({plain_level()}));
    run_frames(10);
    sim_snapshot_t start;
    sim_save(&start);
    const float apex = game.ship.jump_apex;
    struct {
        float z;
        int   still_rising;
    } rows[] = {{apex - 0.0001f, 1}, {std::nextafter(apex, 0.0f), 1}, {apex, 0}, {apex + 0.0001f, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.z);
        sim_restore(start);
        game.ship.jump = 1;
        game.ship.pos[2] = r.z;
        rise();
        EXPECT_EQ(game.ship.jump, r.still_rising);
        EXPECT_EQ(game.ship.jump_descending, 1 - r.still_rising);
        EXPECT_EQ(game.ship.pos[2] > r.z, r.still_rising == 1);
    }
}

// Near the apex the lift eases off a step a frame down to its floor; only the slower
// scales spend long enough there to reach it.
TEST_F(Motion, JumpEasesOffNearTheApexDownToItsFloorAtSlowScales) {
    struct {
        const char* scale;
        int         frames;        // from the press until the rise stops
        int         eased_steps;   // FACTOR_STEPs below full at the lowest
    } rows[] = {{"0.5", 9, 4}, {"1", 16, 7}, {"2", 48, 18}, {"4", 187, 18}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.scale);
        ASSERT_TRUE(start_play({plain_level()}, r.scale));
        ASSERT_GT(run_until(on_ground, 200), 0);
        run_frames(2);
        sim_frame(HOLD_SPACE);
        ASSERT_EQ(game.ship.jump, 1);
        int   frames = 1;
        float lowest = game.ship.rise_factor;
        while (game.ship.jump && frames < 1000) {
            sim_frame(0);
            frames++;
            lowest = std::min(lowest, game.ship.rise_factor);
        }
        EXPECT_EQ(frames, r.frames);
        EXPECT_NEAR(lowest, RISE_FACTOR_FULL - r.eased_steps * FACTOR_STEP, FACTOR_STEP / 4);
        EXPECT_GE(game.ship.pos[2], JUMP_APEX);
        sim_close();
    }
}

TEST_F(Motion, KeyCallbacksHoldAKeyUntilItIsReleased) {
    ASSERT_TRUE(start_play({plain_level()}));
    key_down('d', 0, 0);
    EXPECT_EQ(game.buttons.held[BUTTON_RIGHT], SOURCE_KEYS);
    float x = game.ship.pos[0];
    sim_frame_as_typed();
    EXPECT_GT(game.ship.pos[0], x);
    key_up('d', 0, 0);
    EXPECT_EQ(game.buttons.held[BUTTON_RIGHT], 0);
    // once the drift has died away a released key moves the ship no more
    for (int i = 0; i < 40; i++)
        sim_frame_as_typed();
    x = game.ship.pos[0];
    sim_frame_as_typed();
    EXPECT_EQ(game.ship.pos[0], x);
}
