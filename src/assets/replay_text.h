// Replays as text: the buttons held in each frame, one run a line, "count keys", keys
// being "-" for none or a, d and space joined by '+' ("12 d+space"); lines starting
// with '#' are notes. Read and written by the tools, the tests and the benchmark alike.
// A game's recording (assets/recording.h) writes its frames as the same runs.
#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "game/command.h"

// A replay file is a line a run of keys; the largest kept is far past any level's.
const uint64_t replay_file_max_bytes = 1 << 20;
// The most frames a replay may hold: a day of play, so memory stays bounded.
const size_t replay_max_frames = 3000000;
// The buttons a level replay holds: the ship's own.
inline constexpr buttons_t replay_buttons =
    button_bit(BUTTON_LEFT) | button_bit(BUTTON_RIGHT) | button_bit(BUTTON_JUMP);

// The keys of a frame as a line names them: "-", or "a", "d", "space" joined by '+'.
std::string replay_keys_name(buttons_t held);
// The notes, then the frames as runs; only the buttons a replay holds are written.
std::string replay_to_text(const std::vector<buttons_t>& frames, const std::string& notes);
// The frames of a replay's text; false with the line and what is wrong with it in *why.
bool replay_from_text(const std::string& text, std::vector<buttons_t>* frames, std::string* why);

// Any of the buttons named, the menu's and the pads' too: "-" or names joined by '+'.
std::string keys_name(buttons_t held);
// Names as keys_name writes them, of the buttons in `readable`; false for any other name.
bool keys_from_name(const std::string& name, buttons_t readable, buttons_t* held);
// The next line that is neither blank nor a note, without its '\r'; *number counts every line.
bool next_run_line(const std::string& text, size_t* at, int* number, std::string* line);
// A run line's first two fields, the count and the keys, of the buttons in `readable`.
bool run_from_fields(std::istream& fields, buttons_t readable, long* count, buttons_t* held);
