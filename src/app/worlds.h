// Worlds of five levels, played in turn to the summary as the designed game is: the designed
// game first, then the campaign's worlds in their folders' order, then the player's own.
// The app reads a world's pictures for the rules, which read no files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/recording.h"
#include "assets/world_text.h"
#include "game/state.h"

// WORLD_SEEDED: made from a seed as it is played, level one when chosen, each next one
// while the one before is played (world_make_ahead).
enum world_kind_t { WORLD_DESIGNED, WORLD_CAMPAIGN, WORLD_OWN, WORLD_MADE, WORLD_SEEDED };

// Level N (1 to LEVEL_COUNT) of a world made in memory, as the bytes of the BMP the game
// reads; false with the reason: world_made checks all five at once, world_seeded as they are played.
typedef bool (*world_maker_t)(uint64_t seed, int level, std::vector<uint8_t>* bmp, std::string* why);
// Between frames, while a seeded world plays: makes its next level when one is due.
typedef void (*world_ahead_t)(uint64_t seed);

struct world_t {
    world_kind_t  kind;
    std::string   folder;   // with its slash; "" for a world made in memory
    std::string   name;     // the folder's own name, or a made world's
    world_info_t  info;
    std::string   hashes;   // the five pictures' content hashes joined: the world's key in the records
    std::string   why;      // what keeps it from playing, "" when it plays
    world_maker_t make;
    world_ahead_t ahead;
    uint64_t      seed;
};

// More of the player's own worlds than any picker shows; the rest are said once and left out.
inline constexpr size_t OWN_WORLDS_MAX = 1000;

// Every world, each read and checked, in the picker's order.
std::vector<world_t> worlds_list();
// Level N's picture file in a world's folder: its designed name as a BMP, or else as a PNG.
std::string world_picture_path(const std::string& folder, int level);
// A world's picture as the BMP the game reads: a PNG or a palette BMP made into one, through the
// level tool's reader; any other bytes are left as they are, for the game's reader to judge.
bool world_picture_bmp(std::vector<uint8_t>* bytes, std::string* why);
// A world's folder read: its card and its five pictures, each of level one's size.
world_t world_read(world_kind_t kind, const std::string& folder, const std::string& name);
// A world made in memory, checked as a folder's is.
world_t world_made(const std::string& name, const world_info_t& info, world_maker_t make, uint64_t seed);

// A world made from a seed as it is played: nothing is made until it is chosen. Its levels
// are known to the records by its name and number, the same seed making the same ones.
world_t world_seeded(const std::string& name, const world_info_t& info, world_maker_t make, world_ahead_t ahead,
                     uint64_t seed);
// A seeded world chosen: its level one made now, false with the reason in world->why.
bool world_seeded_ready(world_t* world);
// A world listed after the folders' each time the picker lists them (the random world, a new
// seed each time); nullptr for none.
void worlds_list_also(world_t (*source)());
// Between frames: the world playing makes its next level when one is due.
void world_make_ahead();

// The world the next game plays: the designed one unless the picker chose another.
void           world_play(const world_t& world);
void           world_play_designed();
const world_t& world_playing();
// Level N's picture in the world playing, read as the game plays it; *path names where it
// came from, for the messages.
bool world_level_picture(int level, level_map_t* picture, std::string* path, std::string* why);
// Level N's name and content hash in the world playing, "-" for a hash it cannot read.
recorded_level_t world_level_found(int level);
// The results as the world playing keeps them: "player.s" for the designed game, the
// world's own file for any other; false when it could not be written.
bool world_write_results(const results_t& results);
