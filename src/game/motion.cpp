#include "game/motion.h"

#include "game/actions.h"
#include "game/flow.h"
#include "game/levelmap.h"
#include "game/pickups.h"
#include "game/state.h"
#include "game/tuning.h"

static ship_t& ship = game.ship;

void compute_steps(float scale) {
    ship.forward_step = (float)(FORWARD_STEP / scale);
    ship.side_step = (float)(SIDE_STEP / scale);
    ship.fall_step = (float)(FALL_STEP / scale);
    ship.rise_step = (float)(RISE_STEP / scale);
}

// Gravity and support over a tile that carries the ship.
static void settle_on_tile() {
    float& z = ship.pos[2];
    if (ship.fall_factor < FALL_FACTOR_FULL)
        ship.fall_factor += FACTOR_STEP;
    if ((z > GROUND_REST && ship.wall_below == 0.0f) || z > WALL_REST)
        z = z - ship.fall_factor * ship.fall_step;
    // the top of each band is the only test: a landing that overshoots a band's
    // floor still rests on that surface, so the ship can always jump again
    if (z < WALL_BAND && ship.wall_below == 1.0f) {
        ship.on_wall = 1.0f;
        ship.fall_factor = FALL_FACTOR_LANDED;
    } else {
        ship.on_wall = 0.0f;
        ship.jump_descending = 0;
    }
    if (z < GROUND_BAND) {
        ship.on_ground = 1;
        ship.fall_factor = FALL_FACTOR_LANDED;
    } else {
        ship.on_ground = 0;
        ship.jump_descending = 0;
    }
}

static void sink_over_gap() {
    float& z = ship.pos[2];
    z = z - ship.fall_step;
    if (z < FALLING_HEIGHT)
        ship.falling = 1;
    if (z < LIFE_LOST_HEIGHT) {
        game.flow.lives--;
        for (int i = 0; i < 3; i++)
            ship.pos[i] = ship.spawn[i];
        ship.falling = 0;
    }
}

void vertical_motion() {
    ship.tile_under_ship = tile_lookup(ship.pos[0], ship.pos[1], nullptr);
    bool on_wall_tile = tile_kind_at(ship.tile_under_ship) == TILE_WALL;
    ship.wall_below = (on_wall_tile && ship.pos[2] > WALL_BELOW_HEIGHT) ? 1.0f : 0.0f;
    if (!ship.jump) {
        if (!game.flow.on_finish && actions_has(ACT_ON_TRACK)) {
            if (tile_carries_ship(ship.tile_under_ship))
                settle_on_tile();
            else
                sink_over_gap();
        }
        if (!ship.jump && !ship.jump_descending)
            ship.jump_apex = JUMP_APEX;
    }
    actions_remove(ACT_VERTICAL);
}

void rise() {
    if (!ship.falling && !game.flow.on_finish) {
        float& z = ship.pos[2];
        if (z < ship.jump_apex) {
            if (z > ship.jump_apex - APEX_SLOWDOWN && ship.rise_factor > RISE_FACTOR_FLOOR)
                ship.rise_factor -= FACTOR_STEP;
            z = z + ship.rise_factor * ship.rise_step;
        } else {
            ship.jump = 0;
            ship.jump_descending = 1;
            ship.rise_factor = RISE_FACTOR_FULL;
        }
    }
    actions_remove(ACT_RISE);
}

// A wall tile just ahead stops a ship that flies too low to clear it.
static void stop_at_wall() {
    bool outside = false;
    int ahead = tile_lookup(ship.pos[0], ship.pos[1] + WALL_LOOKAHEAD, &outside);
    if ((ship.pos[2] < WALL_CLEARANCE || outside) && tile_kind_at(ahead) == TILE_WALL)
        ship.pos[1] = ship.prev_pos[1];
}

void forward_motion() {
    if (game.flow.on_finish)
        fly_off_and_advance();
    if (actions_has(ACT_ON_TRACK))
        take_pickups();
    if (ship.pos[2] == ship.jump_apex)
        ship.jump = 0;
    if (ship.falling || game.flow.on_finish)
        return;
    ship.prev_pos[1] = ship.pos[1];
    ship.pos[1] = ship.pos[1] + ship.forward_step;
    if (actions_has(ACT_ON_TRACK)) {
        finish_test();
        stop_at_wall();
    }
    actions_remove(ACT_FORWARD);
}

void steer_left() {
    if (!ship.falling && !game.flow.on_finish)
        ship.pos[0] = ship.pos[0] - ship.left_rate * ship.side_step;
    actions_remove(ACT_STEER_LEFT);
}

void steer_right() {
    if (!ship.falling && !game.flow.on_finish)
        ship.pos[0] = ship.pos[0] + ship.right_rate * ship.side_step;
    actions_remove(ACT_STEER_RIGHT);
}
