// A world's card, "world.txt": lines of "key: value" naming the world on the picker.
//   title: Five Short Roads      (required)
//   maker: Quovix                (required)
//   note: Learn the high jump.   (optional, one line)
// Blank lines and lines starting with '#' are passed over; any other line is refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct world_info_t {
    std::string title, maker, note;
};

// Larger than any card written by hand; a title of thousands of letters still reads, cut.
inline constexpr uint64_t WORLD_TEXT_MAX_BYTES = 64 << 10;
// What the picker's line has room for: longer values are cut and end in "...".
inline constexpr size_t WORLD_TITLE_MAX = 32;
inline constexpr size_t WORLD_MAKER_MAX = 24;
inline constexpr size_t WORLD_NOTE_MAX = 72;

// The card's values, each cleaned for the screen; false with "line N: " and what is wrong in *why.
bool        world_info_from_text(const std::string& text, world_info_t* info, std::string* why);
std::string world_info_to_text(const world_info_t& info);
// Text the screen's font can draw: a control character or a letter outside ASCII becomes
// '?', spaces at the ends go, and what is longer than max is cut to end in "...".
std::string clean_shown_text(const std::string& raw, size_t max);
