// Throwaway play folders laid out as the game expects them: bin/ with scale.txt,
// resources/ beside it. Tests, replays and the solver all play in one of these.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A fresh folder for temporary files named after `prefix`, removed when the
// process exits; "" with the reason in *why when none can be made.
std::string make_temp_folder(const char* prefix, std::string* why);

// Makes a play folder whose five levels are the given level pictures (fewer than
// five repeat the last), with the models and picture sets copied from
// `resources_from`, or empty models when it is null, and scale.txt holding
// `scale`. Returns the bin folder, or "" with the reason in *why.
std::string build_play_folder(const std::vector<std::vector<uint8_t>>& level_bmps, const std::string& scale,
                              const char* resources_from, std::string* why);
