// Every height, band and per-frame amount of the ship's motion, named once.
// Doubles where the motion compares or adds in double precision, floats where it
// stores a float: the arithmetic stays exactly as the levels were tuned with it.
#pragma once

// Where the ship starts every level and every life: column 2, row 0, above the floor.
inline constexpr float SPAWN_POINT[3] = {0.01175f, 0.00175f, 0.00348f};
inline constexpr float SHIP_HEADING = 90.0f;   // degrees about z: always up the track

// Per-frame steps at speed scale 1; the scale divides them.
inline constexpr double FORWARD_STEP = 0.0008;
inline constexpr double SIDE_STEP = 0.00015;
inline constexpr double FALL_STEP = 0.00024;
inline constexpr double RISE_STEP = 0.00024;
inline constexpr float  PICKUP_SPIN_STEP = 5.0f;   // degrees a frame, in single precision
inline constexpr float  PICKUP_SPIN_TURN = 360.0f;

// Heights over a tile that carries the ship.
inline constexpr double GROUND_BAND = 0.0027;         // below it the ship stands on the ground
inline constexpr double GROUND_REST = 0.0026;         // above it, a ship not over a wall comes down
inline constexpr double WALL_BAND = 0.006;            // below it, over a wall, the ship stands on its top
inline constexpr double WALL_REST = 0.0059;           // above it the ship comes down even over a wall
inline constexpr double WALL_BELOW_HEIGHT = 0.0055;   // over a wall tile and above this, the wall is below
inline constexpr double WALL_CLEARANCE = 0.0056;      // below it, a wall just ahead stops the ship
inline constexpr double WALL_LOOKAHEAD = 0.001;       // how far ahead a wall is looked for

// Over a gap.
inline constexpr double FALLING_HEIGHT = 0.0026;     // below it the ship is falling: no control
inline constexpr double LIFE_LOST_HEIGHT = -0.025;   // below it a life is lost

// Stars and hearts are taken by a ship lower than this.
inline constexpr double PICKUP_REACH = 0.0045;

// Jumps.
inline constexpr float  JUMP_APEX = 0.0058f;
inline constexpr double WALL_JUMP_APEX_FACTOR = 1.5;   // a jump from a wall top goes this much higher
inline constexpr double APEX_SLOWDOWN = 0.0014;        // the lift eases off this close to the apex
inline constexpr double RISE_FACTOR_FLOOR = 0.1;
inline constexpr float  RISE_FACTOR_FULL = 1.0f;
inline constexpr double FALL_FACTOR_FULL = 1.0;
inline constexpr float  FALL_FACTOR_LANDED = 0.2f;
inline constexpr double FACTOR_STEP = 0.05;   // fall and rise factors change this much a frame

// Steering rates: they climb while a key is held and fall back after.
inline constexpr float  STEER_RATE_IDLE = 0.1f;
inline constexpr float  STEER_RATE_MAX = 1.0f;
inline constexpr double STEER_RATE_STEP = 0.05;

// The fly-off at the end of a level.
inline constexpr double FLY_OFF_GLIDE = 0.005;    // glides forward this far past the finish
inline constexpr double FLY_OFF_STEP = 0.00005;   // then climbs by this a frame
inline constexpr double FLY_OFF_HEIGHT = 0.01;    // and the level is complete above this
inline constexpr int    LEVEL_CHANGE_PAUSE_MS = 2500;

inline constexpr int START_LIVES = 5;
