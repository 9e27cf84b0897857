// The random world: five levels made from one seed, rising in difficulty, at the designed
// size. Level one is made when it is chosen, each next one between frames while the one
// before is played, the game's own state set aside and put back as one copy.
#pragma once
#include <cstdint>

#include "app/worlds.h"
#include "levelgen/levelgen.h"

// What the generator is asked for level N (1 to LEVEL_COUNT) of the world from a seed.
struct random_level_t {
    uint64_t seed;
    int      difficulty;
};
// Fixed, so a seed makes the same five everywhere: level N is the generator's seed plus N - 1
// (past 2^64-1 it wraps to 0), at difficulty 2N (2, 4, 6, 8, 10), ideas mixed.
random_level_t random_world_level(uint64_t seed, int level);
// A seed no player can tell beforehand: the clock's nanoseconds, mixed.
uint64_t random_world_new_seed();
// The world a seed makes, as the picker and --seed play it.
world_t random_world(uint64_t seed);
// The picker lists it after every other world, with a new seed each time it opens.
void random_world_plug_in();
// Level N of the seed's world as made so far: nullptr until it is.
const levelgen_t* random_world_made(uint64_t seed, int level);
// The levels made so far dropped, so the next are made afresh.
void random_world_forget();
