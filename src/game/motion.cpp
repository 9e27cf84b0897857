#include "game/motion.h"

#include "game/actions.h"
#include "game/events.h"
#include "game/flow.h"
#include "game/levelmap.h"
#include "game/pickups.h"
#include "game/state.h"
#include "game/tuning.h"

void compute_steps(float scale) {
    game.ship.forward_step = (float)(FORWARD_STEP / scale);
    game.ship.side_step = (float)(SIDE_STEP / scale);
    game.ship.fall_step = (float)(FALL_STEP / scale);
    game.ship.rise_step = (float)(RISE_STEP / scale);
}

// One landing a jump or drop: a ship in the air that finds support again.
static void note_contact(bool supported) {
    ship_t& ship = game.ship;
    if (supported) {
        if (ship.contact == CONTACT_AIRBORNE)
            raise_event(EV_LAND);
        ship.contact = CONTACT_RESTING;
    } else if (ship.contact == CONTACT_RESTING) {
        ship.contact = CONTACT_AIRBORNE;
    }
}

// Gravity and support over a tile that carries the ship.
static void settle_on_tile() {
    float& z = game.ship.pos[2];
    if (game.ship.fall_factor < FALL_FACTOR_FULL)
        game.ship.fall_factor += FACTOR_STEP;
    if ((z > GROUND_REST && game.ship.wall_below == 0.0f) || z > WALL_REST)
        z = z - game.ship.fall_factor * game.ship.fall_step;
    // the top of each band is the only test: a landing that overshoots a band's
    // floor still rests on that surface, so the ship can always jump again
    if (z < WALL_BAND && game.ship.wall_below == 1.0f) {
        game.ship.on_wall = 1.0f;
        game.ship.fall_factor = FALL_FACTOR_LANDED;
    } else {
        game.ship.on_wall = 0.0f;
        game.ship.jump_descending = 0;
    }
    if (z < GROUND_BAND) {
        game.ship.on_ground = 1;
        game.ship.fall_factor = FALL_FACTOR_LANDED;
    } else {
        game.ship.on_ground = 0;
        game.ship.jump_descending = 0;
    }
    note_contact(game.ship.on_ground || game.ship.on_wall == 1.0f);
}

static void sink_over_gap() {
    float& z = game.ship.pos[2];
    note_contact(false);
    z = z - game.ship.fall_step;
    if (z < FALLING_HEIGHT)
        game.ship.falling = 1;
    if (z < LIFE_LOST_HEIGHT) {
        game.flow.lives--;
        place_on_spawn(&game.ship);
        game.ship.falling = 0;
        raise_event(EV_LIFE_LOST);
    }
}

void vertical_motion() {
    game.ship.tile_under_ship = tile_lookup(game.ship.pos[0], game.ship.pos[1], nullptr);
    bool on_wall_tile = tile_kind_at(game.ship.tile_under_ship) == TILE_WALL;
    game.ship.wall_below = (on_wall_tile && game.ship.pos[2] > WALL_BELOW_HEIGHT) ? 1.0f : 0.0f;
    if (!game.ship.jump) {
        if (!game.flow.on_finish && actions_has(ACT_ON_TRACK)) {
            if (tile_carries_ship(game.ship.tile_under_ship))
                settle_on_tile();
            else
                sink_over_gap();
        }
        if (!game.ship.jump && !game.ship.jump_descending)
            game.ship.jump_apex = JUMP_APEX;
    }
    actions_remove(ACT_VERTICAL);
}

// The top of a jump: the ship starts down and the next jump rises at full speed.
static void end_rise() {
    game.ship.jump = 0;
    game.ship.jump_descending = 1;
    game.ship.rise_factor = RISE_FACTOR_FULL;
}

void rise() {
    if (!game.ship.falling && !game.flow.on_finish) {
        float& z = game.ship.pos[2];
        if (z < game.ship.jump_apex) {
            if (z > game.ship.jump_apex - APEX_SLOWDOWN && game.ship.rise_factor > RISE_FACTOR_FLOOR)
                game.ship.rise_factor -= FACTOR_STEP;
            z = z + game.ship.rise_factor * game.ship.rise_step;
        } else {
            end_rise();
        }
    }
    actions_remove(ACT_RISE);
}

// A wall tile just ahead stops a ship that flies too low to clear it.
static void stop_at_wall() {
    bool outside = false;
    int  ahead = tile_lookup(game.ship.pos[0], game.ship.pos[1] + WALL_LOOKAHEAD, &outside);
    if ((game.ship.pos[2] < WALL_CLEARANCE || outside) && tile_kind_at(ahead) == TILE_WALL)
        game.ship.pos[1] = game.ship.prev_pos[1];
}

// The pickups, then a step along the track with the finish and the wall ahead.
static void step_forward() {
    // a next level that cannot load ended the program: nothing after the exit runs
    if (game.requests.exit)
        return;
    if (actions_has(ACT_ON_TRACK))
        take_pickups();
    // a rise that lands exactly on the apex ends here, before rise() sees it
    if (game.ship.pos[2] == game.ship.jump_apex)
        end_rise();
    if (game.ship.falling || game.flow.on_finish)
        return;
    game.ship.prev_pos[1] = game.ship.pos[1];
    game.ship.pos[1] = game.ship.pos[1] + game.ship.forward_step;
    if (actions_has(ACT_ON_TRACK)) {
        finish_test();
        stop_at_wall();
    }
    actions_remove(ACT_FORWARD);
}

void forward_motion() {
    if (game.flow.on_finish) {
        fly_off();
        // the frame holds here; forward_motion_after_wait goes on from this point
        if (game.flow.level_change_waiting)
            return;
        advance_when_complete();
    }
    step_forward();
}

void forward_motion_after_wait() {
    advance_when_complete();
    step_forward();
}

void steer_left() {
    if (!game.ship.falling && !game.flow.on_finish)
        game.ship.pos[0] = game.ship.pos[0] - game.ship.left_rate * game.ship.side_step;
    actions_remove(ACT_STEER_LEFT);
}

void steer_right() {
    if (!game.ship.falling && !game.flow.on_finish)
        game.ship.pos[0] = game.ship.pos[0] + game.ship.right_rate * game.ship.side_step;
    actions_remove(ACT_STEER_RIGHT);
}
