// Ship motion: dropping, resting, jumps, gaps, walls, the map's edge and steering.
#include "gameplay_support.h"

#include "game/state.h"

// Two long walls across the track with floor between them.
static std::string two_walls_level() {
    std::vector<level_edit> rows = rows_of(20, 27, ".WWWWW.");
    for (const level_edit& e : rows_of(60, 67, ".WWWWW."))
        rows.push_back(e);
    return plain_level(rows);
}

static bool on_ground() { return game.ship.on_ground == 1; }
static bool on_wall_top() { return game.ship.on_wall == 1.0f; }

using Motion = Gameplay;

TEST_F(Motion, DropFromSpawnEntersGroundBandOnFrameEightAndRests) {
    ASSERT_TRUE(start_game({plain_level()}));
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
        // raised to 0.25 for the drop test, back to 0.2 by the landing
        EXPECT_EQ(game.ship.fall_factor, 0.2f);
    }
}

TEST_F(Motion, NormalJumpReachesApexAndLandsWhereItCanJumpAgain) {
    ASSERT_TRUE(start_game({plain_level()}));
    run_frames(10);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    float top = 0;
    while (game.ship.jump && sim_state().frame < 100) {
        sim_frame(0);
        top = std::max(top, game.ship.pos[2]);
    }
    EXPECT_EQ(game.ship.jump_descending, 1);
    EXPECT_GE(top, 0.0058f);
    EXPECT_LT(top, 0.0059f);
    ASSERT_GT(run_until(on_ground, 60), 0);
    run_frames(5);
    EXPECT_NEAR(game.ship.pos[2], 0.002568f, 1e-6);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
}

TEST_F(Motion, QuarterScaleRestsLowerAndCanStillJump) {
    ASSERT_TRUE(start_game({plain_level()}, "0.25"));
    run_frames(15);
    EXPECT_NEAR(game.ship.pos[2], 0.002376f, 1e-6);
    EXPECT_EQ(game.ship.on_ground, 1);
    float before = game.ship.pos[2];
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    EXPECT_GT(game.ship.pos[2], before);
}

TEST_F(Motion, SpaceWhileDescendingDoesNotStartAJump) {
    ASSERT_TRUE(start_game({plain_level()}));
    run_frames(10);
    game.ship.jump_descending = 1;
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 0);
    // the landing test cleared the flag, so the next press jumps
    EXPECT_EQ(game.ship.jump_descending, 0);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
}

TEST_F(Motion, GapSinksShipStopsItAndCostsALifeBackAtSpawn) {
    ASSERT_TRUE(start_game({plain_level(rows_of(30, 35, "......."))}));
    // high over the gap the ship still flies on while it sinks
    game.ship.pos[1] = row_y(30);
    game.ship.pos[2] = 0.004f;
    float y = game.ship.pos[1];
    sim_frame(0);
    EXPECT_FLOAT_EQ(game.ship.pos[2], 0.004f - game.ship.fall_step);
    EXPECT_GT(game.ship.pos[1], y);
    EXPECT_EQ(game.ship.falling, 0);
    while (game.ship.pos[2] >= 0.0026f)
        sim_frame(0);
    EXPECT_EQ(game.ship.falling, 1);
    float x = game.ship.pos[0];
    y = game.ship.pos[1];
    for (int frames = 0; game.flow.lives == 5 && frames < 200; frames++) {
        float z = game.ship.pos[2];
        sim_frame(HOLD_A);
        if (game.flow.lives == 5) {
            EXPECT_EQ(game.ship.pos[0], x);
            EXPECT_EQ(game.ship.pos[1], y);
            EXPECT_FLOAT_EQ(game.ship.pos[2], z - game.ship.fall_step);
        }
    }
    EXPECT_EQ(game.flow.lives, 4);
    EXPECT_EQ(game.ship.falling, 0);
    // back at the spawn point, then moved on by this frame's forward step and steering
    EXPECT_FLOAT_EQ(game.ship.pos[0], 0.01175f - game.ship.left_rate * game.ship.side_step);
    EXPECT_FLOAT_EQ(game.ship.pos[1], 0.00175f + game.ship.forward_step);
    EXPECT_EQ(game.ship.pos[2], 0.00348f);
}

TEST_F(Motion, RestingShipRunningIntoAGapFallsAtOnce) {
    ASSERT_TRUE(start_game({plain_level({{30, "......."}})}));
    ASSERT_GT(run_until([] { return game.ship.falling == 1; }, 400), 0);
    EXPECT_EQ(ship_row(), 30);
    EXPECT_LT(game.ship.pos[2], 0.0026f);
}

TEST_F(Motion, ShipMidRiseCrossesAGap) {
    ASSERT_TRUE(start_game({plain_level({{29, "......."}})}));
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
    EXPECT_EQ(game.flow.lives, 5);
    EXPECT_GT(ship_row(), 30);
}

TEST_F(Motion, LowShipIsHeldBeforeAWallUntilItJumpsOntoTheTop) {
    ASSERT_TRUE(start_game({two_walls_level()}));
    ASSERT_GT(run_until([] { return game.ship.pos[1] + 0.0018f > 20.0f / LEVEL_ROWS; }, 400), 0);
    run_frames(2);
    float held_at = game.ship.pos[1];
    EXPECT_LT(held_at, 20.0f / LEVEL_ROWS);
    for (int i = 0; i < 30; i++) {
        sim_frame(0);
        EXPECT_EQ(game.ship.pos[1], held_at);
    }
    sim_frame(HOLD_SPACE);
    ASSERT_GT(run_until(on_wall_top, 60), 0);
    EXPECT_GE(ship_row(), 20);
    EXPECT_LT(game.ship.pos[2], 0.006f);
    EXPECT_GT(game.ship.pos[2], 0.0055f);
}

TEST_F(Motion, HighJumpFromWallTopThenNormalJumpAtNextWall) {
    ASSERT_TRUE(start_game({two_walls_level()}));
    ASSERT_TRUE(jump_walls_until_past(19, 400));
    ASSERT_GT(run_until(on_wall_top, 60), 0);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    EXPECT_FLOAT_EQ(game.ship.jump_apex, 0.0087f);
    // space kept down on the wall top: a second high jump from where the first came down
    float top = 0;
    for (int i = 0; i < 120 && (game.ship.jump || !game.ship.on_ground); i++) {
        sim_frame(game.ship.on_wall == 1.0f ? HOLD_SPACE : 0);
        top = std::max(top, game.ship.pos[2]);
    }
    EXPECT_GE(top, 0.0087f);
    EXPECT_LT(top, 0.0089f);
    EXPECT_GT(ship_row(), 27);
    // wherever the high jump came down, the ship must still get over the next wall
    ASSERT_TRUE(jump_walls_until_past(45, 400));
    EXPECT_EQ(game.ship.on_ground, 1);
    EXPECT_EQ(game.ship.jump_apex, 0.0058f);
    ASSERT_TRUE(jump_walls_until_past(59, 400));
    float next_top = 0;
    for (int i = 0; i < 40; i++) {
        sim_frame(0);
        next_top = std::max(next_top, game.ship.pos[2]);
    }
    EXPECT_LT(next_top, 0.006f);
    EXPECT_TRUE(jump_walls_until_past(70, 400));
}

TEST_F(Motion, SteppingDownFromAWallAtDoubleSpeedLeavesTheShipAbleToJump) {
    // at this speed the step down ends lower than a drop from the spawn height
    ASSERT_TRUE(start_game({two_walls_level()}, "0.5"));
    ASSERT_TRUE(jump_walls_until_past(28, 600));
    ASSERT_GT(run_until(on_ground, 60), 0);
    run_frames(10);
    EXPECT_EQ(game.ship.on_ground, 1);
    EXPECT_LT(game.ship.pos[2], 0.0027f);
    EXPECT_TRUE(jump_walls_until_past(70, 600));
}

TEST_F(Motion, HoldingSpaceOrQuarterScaleGetsOverBothWalls) {
    for (const char* scale : {"1", "0.25"}) {
        SCOPED_TRACE(scale);
        ASSERT_TRUE(start_game({two_walls_level()}, scale));
        if (scale[0] == '1')
            for (int frames = 0; ship_row() <= 70 && frames < 1000; frames++)
                sim_frame(HOLD_SPACE);
        else
            jump_walls_until_past(70, 400);
        EXPECT_GT(ship_row(), 70);
        EXPECT_EQ(game.flow.lives, 5);
        sim_close();
    }
}

TEST_F(Motion, QuarterScaleRestsOnAWallTopAndHighJumpsFromIt) {
    ASSERT_TRUE(start_game({plain_level(rows_of(20, 59, ".WWWWW."))}, "0.25"));
    ASSERT_TRUE(jump_walls_until_past(19, 400));
    ASSERT_GT(run_until(on_wall_top, 30), 0);
    run_frames(3);
    // the last drop step carries it lower than at normal speed; still a wall top
    EXPECT_LT(game.ship.pos[2], 0.0058f);
    EXPECT_GT(game.ship.pos[2], 0.0056f);
    EXPECT_EQ(game.ship.on_wall, 1.0f);
    sim_frame(HOLD_SPACE);
    EXPECT_EQ(game.ship.jump, 1);
    EXPECT_FLOAT_EQ(game.ship.jump_apex, 0.0087f);
}

TEST_F(Motion, SteeredSidewaysOntoAWallStaysAtFloorHeightAndHeld) {
    ASSERT_TRUE(start_game({plain_level(rows_of(0, 99, ".##W##."))}));
    while (game.ship.pos[0] < 3.0f / LEVEL_ROWS + 0.0001f)
        sim_frame(HOLD_D);
    run_frames(25);
    ASSERT_EQ(tile_kind_at(game.ship.tile_under_ship), TILE_WALL);
    float y = game.ship.pos[1];
    for (int i = 0; i < 20; i++) {
        sim_frame(0);
        EXPECT_EQ(game.ship.pos[1], y);
        EXPECT_LT(game.ship.pos[2], 0.0027f);
        EXPECT_EQ(game.ship.on_wall, 0.0f);
        EXPECT_EQ(game.ship.wall_below, 0.0f);
        EXPECT_EQ(game.ship.on_ground, 1);
    }
}

TEST_F(Motion, OffTheMapAGapOnTheFirstPixelSinksTheShip) {
    ASSERT_TRUE(start_game({wide_level('.')}));
    while (game.ship.pos[0] >= 0 && sim_state().frame < 300) {
        sim_frame(HOLD_A);
        // column 0 carries the ship while it is still on the map
        EXPECT_TRUE(game.ship.pos[0] < 0 || game.ship.falling == 0);
    }
    sim_frame(HOLD_A);
    EXPECT_EQ(game.ship.tile_under_ship, 0);
    EXPECT_EQ(game.ship.falling, 1);
    ASSERT_GT(run_until([] { return game.flow.lives == 4; }, 200), 0);
}

TEST_F(Motion, OffTheMapAFloorOnTheFirstPixelCarriesTheShip) {
    ASSERT_TRUE(start_game({wide_level('#')}));
    while (game.ship.pos[0] >= -0.002f && sim_state().frame < 300)
        sim_frame(HOLD_A);
    float y = game.ship.pos[1];
    run_frames(40);
    EXPECT_EQ(game.ship.tile_under_ship, 0);
    EXPECT_EQ(game.ship.falling, 0);
    EXPECT_EQ(game.ship.on_ground, 1);
    EXPECT_LT(game.ship.pos[2], 0.0027f);
    EXPECT_GT(game.ship.pos[1], y + 0.03f);
}

TEST_F(Motion, IdleOrUpperCaseAKeepsTheLineAndRates) {
    ASSERT_TRUE(start_game({plain_level()}));
    for (int i = 0; i < 40; i++) {
        key_down('A', 0, 0);
        run_frame();
    }
    EXPECT_EQ(game.ship.pos[0], 0.01175f);
    EXPECT_EQ(game.ship.left_rate, 0.1f);
    EXPECT_EQ(game.ship.right_rate, 0.1f);
}

TEST_F(Motion, SteerLeftRateClimbsThenDriftsForEighteenFrames) {
    ASSERT_TRUE(start_game({plain_level()}));
    float rate = game.ship.left_rate;
    for (int i = 1; i <= 20; i++) {
        float x = game.ship.pos[0];
        sim_frame(HOLD_A);
        EXPECT_LT(game.ship.pos[0], x);
        EXPECT_FLOAT_EQ(game.ship.left_rate, i <= 18 ? rate + 0.05f : rate) << "frame " << i;
        rate = game.ship.left_rate;
    }
    EXPECT_GT(game.ship.left_rate, 1.0f);
    EXPECT_LT(game.ship.left_rate, 1.01f);
    for (int i = 1; i <= 18; i++) {
        float x = game.ship.pos[0];
        sim_frame(0);
        EXPECT_FLOAT_EQ(game.ship.pos[0], x - game.ship.left_rate * game.ship.side_step) << "frame " << i;
    }
    EXPECT_LT(game.ship.left_rate, 0.1f);
    float x = game.ship.pos[0];
    run_frames(10);
    EXPECT_EQ(game.ship.pos[0], x);
}

TEST_F(Motion, BothSteerKeysSteerRightAtFifteenHundredths) {
    ASSERT_TRUE(start_game({plain_level()}));
    for (int i = 0; i < 10; i++) {
        float x = game.ship.pos[0];
        sim_frame(HOLD_A | HOLD_D);
        EXPECT_FLOAT_EQ(game.ship.right_rate, 0.15f);
        EXPECT_EQ(game.ship.left_rate, 0.1f);
        EXPECT_FLOAT_EQ(game.ship.pos[0], x + 0.15f * game.ship.side_step);
    }
}

TEST_F(Motion, SteeringAndForwardStopWhileFinished) {
    ASSERT_TRUE(start_game({plain_level({{20, ".FFFFF."}})}));
    ASSERT_GT(run_until([] { return game.flow.on_finish == 1; }, 400), 0);
    float x = game.ship.pos[0];
    float y = game.ship.pos[1];
    sim_frame(HOLD_A | HOLD_SPACE);
    EXPECT_EQ(game.ship.pos[0], x);
    // only the glide moves the finished ship
    EXPECT_FLOAT_EQ(game.ship.pos[1], y + 0.00005f);
    EXPECT_LT(game.ship.pos[2], 0.0027f);
}
