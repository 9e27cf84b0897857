// A whole game as text: the game and levels it was played on, the screen, the
// records it ended with, then every frame's command from the one that started
// play, as the runs of a replay (assets/replay_text.h) with what else changed.
#pragma once
#include <string>
#include <vector>

#include "game/command.h"
#include "results/results.h"

inline constexpr int RECORDING_VERSION = 1;

struct recorded_level_t {
    std::string name;   // the picture's file name, without its folder
    std::string hash;   // content_hash of its bytes, "-" when it could not be read
};

struct recording_t {
    std::string            game_version;
    recorded_level_t       levels[LEVEL_COUNT];
    int                    screen_w, screen_h;
    std::vector<command_t> frames;   // from the frame that started play to the one that ended the game
    results_t              end;      // the records as the game left them after its last frame
    int                    points;   // the summary's total
};

// FNV-1a, 64 bits, as 16 lowercase hex digits.
std::string content_hash(const std::string& bytes);
std::string recording_to_text(const recording_t& r);
// False with "line N: what is wrong" in *why.
bool recording_from_text(const std::string& text, recording_t* r, std::string* why);
// Whether the text starts with a recording's first line, of any version.
bool text_is_recording(const std::string& text);
