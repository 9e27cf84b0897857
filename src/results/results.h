// Level result records, their totals and the results file "player.s".
#pragma once
#include <cstdint>

// The levels a game plays through, in turn: one record each.
inline constexpr int LEVEL_COUNT = 5;

struct level_record_t {
    int32_t level;
    int32_t stars;
    int32_t time;   // ms
    int32_t lives;
};

struct results_t {
    level_record_t records[LEVEL_COUNT];
    int32_t        total_stars;
    int32_t        total_time;
};

extern const char* const results_file;

void fill_record(results_t* results, int level, int stars, int64_t level_time, int lives);
// The records as "player.s" holds them, into path; false when the file could not be written.
bool write_results(const results_t& results, const char* path = results_file);
void sum_results(results_t* results);
