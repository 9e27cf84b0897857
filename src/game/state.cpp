#include "game/state.h"

#include "game/tuning.h"

static game_state_t start_value() {
    game_state_t g{};
    g.flow.current_level = 1;
    g.flow.lives = START_LIVES;
    g.flow.level_start = 1;
    g.flow.pickup_spin = PICKUP_SPIN_TURN;   // so the first spin step starts from 0
    for (int i = 0; i < 3; i++)
        g.ship.pos[i] = g.ship.prev_pos[i] = g.ship.spawn[i] = SPAWN_POINT[i];
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
