// A level's difficulty, measured on a way to its finish: each jump the way cannot do
// without, and in how many frames around its press that jump can be pressed and
// still keep every life.
#pragma once
#include <string>
#include <vector>

#include "app/headless.h"

struct grade_t {
    int    needed_jumps;       // jumps without which a life is lost
    int    narrowest_window;   // fewest frames one of them can be pressed in; 0 for none needed
    double figure;             // the sum over needed jumps of 10 / window: more and tighter is harder
    int    frames;             // the way's length
};

// Grades `way` (a replay's frames) from `start`, the first frame of play; the runner is
// left at the start.
grade_t grade_way(const sim_snapshot_t& start, const std::vector<unsigned>& way);
// The one line quovix-solve --grade prints.
std::string grade_line(const std::string& level, const grade_t& g);
