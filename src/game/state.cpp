#include "game/state.h"

#include "game/tuning.h"

void place_on_spawn(ship_t* ship) {
    for (int i = 0; i < 3; i++)
        ship->spawn[i] = ship->pos[i] = ship->prev_pos[i] = SPAWN_POINT[i];
    // put down, not landed: its first touch of the track is no landing
    ship->contact = CONTACT_SPAWNED;
}

static game_state_t start_value() {
    game_state_t g{};
    g.flow.current_level = 1;
    g.flow.lives = START_LIVES;
    g.flow.level_start = 1;
    g.flow.pickup_spin = PICKUP_SPIN_TURN;   // so the first spin step starts from 0
    place_on_spawn(&g.ship);
    g.ship.heading = SHIP_HEADING;
    g.ship.left_rate = g.ship.right_rate = STEER_RATE_IDLE;
    g.ship.fall_factor = FALL_FACTOR_LANDED;
    g.ship.rise_factor = RISE_FACTOR_FULL;
    g.ship.jump_apex = JUMP_APEX;
    g.ship.on_ground = 1;
    g.timer.reset = true;
    g.speed_scale = 1.0f;   // until "scale.txt" gives a usable one
    return g;
}

const game_state_t game_at_start = start_value();
game_state_t       game = game_at_start;
