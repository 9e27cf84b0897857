// Full-screen pictures: raw blue-green-red from byte 0, bottom row first, in a
// folder named for the size they were painted for.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A picture's side, in pixels: a set is painted for every size a window may take.
const int PICTURE_SIDE_MIN = 64;
const int PICTURE_SIDE_MAX = 8192;

// A picture set's size, the size of the screen it was painted for.
struct picture_size_t {
    int width, height;
};
// The sets that ship, in the order a screen's size is looked for among them; each is taken
// as its screen's own set, there or not. cmake/resources.cmake reads this table for the
// sets the build paints, installs and zips.
inline constexpr picture_size_t shipped_picture_sets[] = {{1366, 768}, {2560, 1080}, {1920, 1200}, {1920, 1080}};

// Reads width x height pixels from an open file, closes it, and returns them as
// tightly packed red-green-blue; bytes past a short file stay zero.
std::vector<uint8_t> read_picture(FILE* f, int width, int height);

// A picture packed for the zip: its file gzipped, under the file's name with this after it.
const char* const PACKED_PICTURE_SUFFIX = ".gz";
// The most bytes a packed picture of this size is read from: a gzip stores what it cannot shrink.
uint64_t packed_picture_max_bytes(int width, int height);
// Unpacks a packed picture of width x height into exactly its file's bytes; false with
// the reason when it is no gzip, is cut short or unpacks to another size.
bool unpack_picture(const std::string& packed, int width, int height, std::string* file, std::string* why);
// A picture file's bytes, blue-green-red, as tightly packed red-green-blue.
std::vector<uint8_t> picture_rgb(const std::string& file);

// WIDTHxHEIGHT, digits only with no leading zero, each side from PICTURE_SIDE_MIN
// to PICTURE_SIDE_MAX; false for anything else.
bool parse_picture_size(const char* text, int* width, int* height);

// The name among folder names whose set looks nearest to a screen of this size when
// stretched over it: the closest aspect ratio, then the closest size, a larger set
// before a smaller one; -1 when no name is a size.
int nearest_picture_set(int width, int height, const std::vector<std::string>& names);
