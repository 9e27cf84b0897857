// Best records kept across games: each level's fastest time, most stars and most
// lives, and each set of levels' most points, with the replays that set them.
// The file is text: "quovix records 1", then a line a level and a line a game:
//   level HASH time MS REPLAY stars N REPLAY lives N REPLAY
//   game HASHES points N REPLAY
// and, once a world has been finished with a life left, "quovix records 2" and a line each:
//   world HASHES finished
// where a value is -1 and its replay "-" when there is no best yet.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One level's bests, keyed by the level picture's content hash (16 hex digits) so a changed level starts fresh.
// -1 (or an empty replay name) where there is no best yet.
struct level_best_t {
    std::string hash;
    int32_t     time_ms;
    std::string time_replay;
    int32_t     stars;
    std::string stars_replay;
    int32_t     lives;
    std::string lives_replay;
};

// hashes: the game's levels' hashes joined with nothing between, so a game on other levels starts fresh.
struct game_best_t {
    std::string hashes;
    int32_t     points;
    std::string points_replay;
};

struct records_t {
    std::vector<level_best_t> levels;
    std::vector<game_best_t>  games;
    std::vector<std::string>  worlds_finished;   // the five levels' hashes joined, as a game's
};

// A file without worlds finished is written as version 1, which games before worlds read too.
inline constexpr int      RECORDS_VERSION = 2;
inline constexpr uint64_t RECORDS_FILE_MAX_BYTES = 1 << 20;

std::string records_to_text(const records_t& records);
// False with "line N: " and what is wrong in *why; replay names must be plain file names.
bool records_from_text(const std::string& text, records_t* records, std::string* why);

// What a finished level beat: each flag true when strictly better than the kept best
// (lower time, more stars, more lives; a tie is not a new best). The best is updated
// and names the replay; a replay name the file cannot hold is kept as none, and a
// hash that is not 16 hex digits records nothing.
struct level_news_t {
    bool time, stars, lives;
};
level_news_t records_level_finished(records_t* records, const std::string& hash, int32_t time_ms, int32_t stars,
                                    int32_t lives, const std::string& replay);
// True when the points are a new best for these levels, as a level's are.
bool records_game_finished(records_t* records, const std::string& hashes, int32_t points, const std::string& replay);
// A world finished with a life left, kept for good; a key that is not five hashes is none.
void records_world_finished(records_t* records, const std::string& hashes);
bool records_world_done(const records_t& records, const std::string& hashes);
// nullptr when the level has no bests.
const level_best_t* records_level(const records_t& records, const std::string& hash);

// Reads path: a missing file gives empty records silently; a damaged, too large or
// future-version file is set aside (path.damaged, path.damaged-2, ...), with one line
// on standard error naming the file and what is wrong, and empty records are given.
records_t records_load(const char* path);
// False with the reason in *why; records that would not read back are not written.
bool records_save(const char* path, const records_t& records, std::string* why);
