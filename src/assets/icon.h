// The window's icon, kept as the desktop's icon property wants it: for each size
// its width, its height, then its ARGB pixels row by row, every number 32 bits little-endian.
#pragma once
#include <cstdint>
#include <vector>

#include "game/paths.h"

inline constexpr char ICON_PATH[] = RESOURCE_FOLDER "icon.argb";
// Room for a few sizes up to 256 by 256.
const uint64_t ICON_FILE_MAX_BYTES = 1 << 20;
const uint32_t ICON_SIDE_MAX = 1024;

// The icon's numbers, ready for the property; empty when the file is missing or not an icon.
std::vector<uint32_t> read_icon(const char* path);
// The same check on numbers already read: every size whole, nothing after the last.
bool is_icon(const std::vector<uint32_t>& numbers);
