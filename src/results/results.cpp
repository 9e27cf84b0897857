#include "results/results.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/platform.h"

const char* const results_file = "player.s";

// Lives from before main to exit, opened for each write.
static std::ofstream results_stream;

void fill_record(results_t* results, int level, int stars, int64_t level_time, int lives) {
    if (level < 1 || level > 5)
        return;
    results->records[level - 1] = {level, stars, (int32_t)(uint32_t)level_time, lives};
}

// The file is written beside itself and renamed over, so a kill mid-write
// leaves the old five lines or the new ones, never a torn file.
void write_results(const results_t& results) {
    const std::string temp = std::string(results_file) + ".tmp";
    results_stream.open(temp, std::ios::out | std::ios::trunc);
    if (!results_stream.is_open()) {
        results_stream.clear();
        return;
    }
    results_stream.clear();
    for (const level_record_t& r : results.records)
        results_stream << r.level << " " << r.stars << " " << r.time << " " << r.lives << std::endl;
    bool written = results_stream.good();
    results_stream.close();
    written = written && !results_stream.fail();
    results_stream.clear();
    if (!written || !platform_replace_file(temp.c_str(), results_file))
        remove(temp.c_str());
}

void sum_results(results_t* results) {
    for (const level_record_t& r : results->records) {
        // sums wrap like the 32-bit fields rather than overflow
        results->total_stars = (int32_t)((uint32_t)results->total_stars + (uint32_t)r.stars);
        results->total_time = (int32_t)((uint32_t)results->total_time + (uint32_t)r.time);
    }
}
