// Levels made from a seed: a draft laid out from segments the difficulty chooses,
// flown by a pilot through the real frame function, and kept only when that
// flight finishes with every life; its keys are the level's replay.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/levelsource.h"
#include "game/command.h"

// What a draft is mostly made of; a seed alone makes a mix.
enum levelgen_idea_t {
    IDEA_MIXED,
    IDEA_LONG_JUMPS,
    IDEA_WALL_STAIRS,
    IDEA_NARROW_LINES,
    IDEA_STAR_TRAILS,
    IDEA_HEART_REWARDS,
    IDEA_COUNT
};
extern const char* const levelgen_idea_names[IDEA_COUNT];

inline constexpr int LEVELGEN_DIFFICULTY_MIN = 1;
inline constexpr int LEVELGEN_DIFFICULTY_MAX = 10;
// Drafts flown before the level falls back to a plain road, which always finishes.
inline constexpr int LEVELGEN_DRAFTS = 12;

struct levelgen_t {
    level_grid_t           grid;
    std::vector<buttons_t> frames;   // the proving flight, from the first frame of play
    int                    drafts;   // drafts flown, the kept one included
    int                    lives_taken;
    bool                   proven;   // the flight finished with every life
};

// Whether a level of this size can be made and played: within the game's tile
// limit, and with the spawn point on it past the first column.
bool levelgen_size_fits(int width, int height, std::string* why);
// The idea named, false for none.
bool levelgen_idea_named(const char* name, levelgen_idea_t* idea);

// Makes a level of a size levelgen_size_fits takes, the difficulty held to 1 to 10, the
// same for the same arguments on every machine. The window-free runner must be open with
// play just started (on any level): drafts are swapped in and flown from there, and the
// runner is left as it was found.
void levelgen_make(uint64_t seed, int difficulty, int width, int height, levelgen_idea_t idea, levelgen_t* out);
// The proving flight as a replay file's text.
std::string levelgen_replay_text(const levelgen_t& level, const std::string& name, uint64_t seed, int difficulty);
