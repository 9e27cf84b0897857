#include "results/results.h"

#include <string>

#include "platform/platform.h"

const char* const results_file = "player.s";

void fill_record(results_t* results, int level, int stars, int64_t level_time, int lives) {
    if (level < 1 || level > LEVEL_COUNT)
        return;
    results->records[level - 1] = {level, stars, (int32_t)(uint32_t)level_time, lives};
}

// A failed write stays silent: the game plays on and the next write tries again.
bool write_results(const results_t& results, const char* path) {
    std::string text;
    for (const level_record_t& r : results.records)
        text += std::to_string(r.level) + " " + std::to_string(r.stars) + " " + std::to_string(r.time) + " " +
                std::to_string(r.lives) + "\n";
    std::string why;
    return platform_write_file(path, text.data(), text.size(), &why);
}

void sum_results(results_t* results) {
    for (const level_record_t& r : results->records) {
        // sums wrap like the 32-bit fields rather than overflow
        results->total_stars = (int32_t)((uint32_t)results->total_stars + (uint32_t)r.stars);
        results->total_time = (int32_t)((uint32_t)results->total_time + (uint32_t)r.time);
    }
}
